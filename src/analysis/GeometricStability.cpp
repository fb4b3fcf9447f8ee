#include "analysis/GeometricStability.h"

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <optional>

#include "model/Vocabulary.h"
#include "solution/FrameStatics.h"

namespace tavrin {

namespace {

using Rows = std::vector<std::vector<double>>;

// Gaussian elimination column by column, each column's pivot the largest
// of its entries in the rows not yet used as pivot rows. A column whose
// entries there are all at most `tolerance` times the largest entry of `a`
// is free. Overwrites `a` with its row echelon form. The equilibrium
// matrices are sparse and nearly banded in node order, so a row is updated
// only where the column holds an entry.
struct Reduction {
    int rank = 0;
    std::vector<int> pivotRowOf;  // per column: its pivot row, -1 for a free column
};

Reduction Reduce(Rows& a, double tolerance)
{
    Reduction r;
    const std::size_t m = a.size();
    const std::size_t n = m == 0 ? 0 : a.front().size();
    r.pivotRowOf.assign(n, -1);
    double largest = 0.0;
    for (const std::vector<double>& row : a)
        for (const double v : row)
            largest = std::max(largest, std::abs(v));
    const double zero = tolerance * largest;
    std::vector<bool> used(m, false);
    for (std::size_t j = 0; j < n; ++j) {
        std::size_t p = m;
        double best = zero;
        for (std::size_t i = 0; i < m; ++i)
            if (!used[i] && std::abs(a[i][j]) > best) {
                best = std::abs(a[i][j]);
                p = i;
            }
        if (p == m)
            continue;
        used[p] = true;
        r.pivotRowOf[j] = static_cast<int>(p);
        ++r.rank;
        for (std::size_t i = 0; i < m; ++i) {
            if (used[i] || a[i][j] == 0.0)
                continue;
            const double f = a[i][j] / a[p][j];
            for (std::size_t c = j + 1; c < n; ++c)
                a[i][c] -= f * a[p][c];
            a[i][j] = 0.0;
        }
    }
    return r;
}

// A vector u with a u = 0 for the matrix that `reduced` and `r` came from,
// at least one column being free: the first free column at 1, the other
// free ones at 0, the pivot columns solved from their rows, last first.
std::vector<double> FirstNullVector(const Rows& reduced, const Reduction& r)
{
    const std::size_t n = r.pivotRowOf.size();
    std::vector<double> u(n, 0.0);
    std::size_t free = 0;
    while (r.pivotRowOf[free] >= 0)
        ++free;
    u[free] = 1.0;
    for (std::size_t j = n; j-- > 0;) {
        if (r.pivotRowOf[j] < 0)
            continue;
        const std::vector<double>& row = reduced[static_cast<std::size_t>(r.pivotRowOf[j])];
        double sum = free < j ? row[free] : 0.0;
        for (std::size_t c = j + 1; c < n; ++c)
            sum += row[c] * u[c];
        u[j] = -sum / row[j];
    }
    return u;
}

// Nodal degrees of freedom: x and y of every node a member touches, and the
// rotation of those where a member end is held rigidly. -1 where none.
struct NodeDofs {
    int x = -1;
    int y = -1;
    int rotation = -1;
};

struct Compatibility {
    Rows rows;  // one per unknown: the deformation or support motion it does work on
    OneBasedTable<NodeDofs> dofs;
    int dofCount = 0;
};

std::vector<double>& NewRow(Compatibility& c)
{
    return c.rows.emplace_back(static_cast<std::size_t>(c.dofCount), 0.0);
}

void Add(std::vector<double>& row, int dof, double value)
{
    if (dof >= 0)
        row[static_cast<std::size_t>(dof)] += value;
}

// The transpose of the equilibrium matrix. With Δ = uJ - uI, c and s the
// member's direction cosines, L its length and φ = θ Lc (rotations scaled by
// the longest member Lc, so that every column is a length):
//   axial force N:        c Δx + s Δy                    (elongation)
//   end moment at I / J:  (L/Lc) φ + s Δx - c Δy         (L times the end's
//                                                          rotation against the chord)
//   support reactions:    the node's x, y or φ they hold.
// Empty when a roller's side names no axis.
std::optional<Compatibility> CompatibilityRows(const StructureModel& model)
{
    Compatibility c;
    c.dofs.Recreate(static_cast<std::size_t>(model.NodeCount()));
    double longest = 0.0;
    for (const Element& e : model.Elements) {
        const Node& i = model.Nodes.at(e.INode);
        const Node& j = model.Nodes.at(e.JNode);
        longest = std::max(longest, std::hypot(double{j.X} - double{i.X}, double{j.Y} - double{i.Y}));
        for (const std::int16_t n : {e.INode, e.JNode}) {
            NodeDofs& d = c.dofs.at(n);
            if (d.x >= 0)
                continue;
            d.x = c.dofCount++;
            d.y = c.dofCount++;
            if (EndsHeldRigidly(model, n))
                d.rotation = c.dofCount++;
        }
    }
    for (const Element& e : model.Elements) {
        const Node& i = model.Nodes.at(e.INode);
        const Node& j = model.Nodes.at(e.JNode);
        const double dx = double{j.X} - double{i.X};
        const double dy = double{j.Y} - double{i.Y};
        const double L = std::hypot(dx, dy);
        const double cosA = dx / L;
        const double sinA = dy / L;
        const NodeDofs& di = c.dofs.at(e.INode);
        const NodeDofs& dj = c.dofs.at(e.JNode);
        std::vector<double>& axial = NewRow(c);
        Add(axial, di.x, -cosA);
        Add(axial, di.y, -sinA);
        Add(axial, dj.x, cosA);
        Add(axial, dj.y, sinA);
        for (const NodeDofs* end : {&di, &dj}) {
            if (end->rotation < 0)
                continue;
            std::vector<double>& bending = NewRow(c);
            Add(bending, end->rotation, L / longest);
            Add(bending, di.x, -sinA);
            Add(bending, di.y, cosA);
            Add(bending, dj.x, sinA);
            Add(bending, dj.y, -cosA);
        }
    }
    for (const Support& s : model.Supports) {
        const NodeDofs* d = c.dofs.Find(s.NodeNo);
        if (!d || d->x < 0)
            continue;
        const bool roller = s.SupportType == kRollerSupport;
        if (roller && !IsVerticalSupportSide(s.Direction) && !IsHorizontalSupportSide(s.Direction))
            return std::nullopt;
        if (!roller && s.SupportType != kPinSupport && s.SupportType != kFixedSupport)
            continue;
        if (!roller || IsHorizontalSupportSide(s.Direction))
            Add(NewRow(c), d->x, 1.0);
        if (!roller || IsVerticalSupportSide(s.Direction))
            Add(NewRow(c), d->y, 1.0);
        if (s.SupportType == kFixedSupport)
            Add(NewRow(c), d->rotation, 1.0);
    }
    return c;
}

bool AllFinite(const Rows& rows)
{
    return std::all_of(rows.begin(), rows.end(), [](const std::vector<double>& row) {
        return std::all_of(row.begin(), row.end(), [](double v) { return std::isfinite(v); });
    });
}

// Coordinates are typed as 32-bit floats: three hinges typed on one line
// may miss it by a rounding of the last digit, and are still in line.
constexpr double kRankTolerance = 1e-6;

// Names the node and direction with the largest translation of the motion
// `u`; a rotation only when no node translates.
void NameTheMotion(const Compatibility& c, const std::vector<double>& u, StabilityFinding& finding)
{
    double largest = 0.0;
    for (int n = 1; n <= static_cast<int>(c.dofs.Count()); ++n) {
        const NodeDofs& d = c.dofs.at(n);
        for (const auto& [dof, motion] : {std::pair{d.x, FreeMotion::Horizontal}, {d.y, FreeMotion::Vertical}})
            if (dof >= 0 && std::abs(u[static_cast<std::size_t>(dof)]) > largest * (1.0 + kRankTolerance)) {
                largest = std::abs(u[static_cast<std::size_t>(dof)]);
                finding.node = n;
                finding.motion = motion;
            }
    }
    if (largest > kRankTolerance)
        return;
    for (int n = 1; n <= static_cast<int>(c.dofs.Count()); ++n) {
        const int dof = c.dofs.at(n).rotation;
        if (dof >= 0 && std::abs(u[static_cast<std::size_t>(dof)]) > largest) {
            largest = std::abs(u[static_cast<std::size_t>(dof)]);
            finding.node = n;
            finding.motion = FreeMotion::Rotation;
        }
    }
}

}  // namespace

int RankOfRows(const std::vector<std::vector<double>>& rows, double tolerance)
{
    Rows a = rows;
    return Reduce(a, tolerance).rank;
}

StabilityFinding CheckGeometricStability(const StructureModel& model)
{
    StabilityFinding finding;
    std::optional<Compatibility> c = CompatibilityRows(model);
    if (!c || !AllFinite(c->rows)) {
        finding.verdict = StabilityVerdict::NotChecked;
        return finding;
    }
    finding.equations = c->dofCount;
    finding.unknowns = static_cast<int>(c->rows.size());
    Rows reduced = c->rows;
    const Reduction r = Reduce(reduced, kRankTolerance);
    finding.rank = r.rank;
    finding.redundant = finding.unknowns - finding.rank;
    if (finding.rank < finding.equations) {
        // A motion that strains no member and moves no support.
        const std::vector<double> u = FirstNullVector(reduced, r);
        NameTheMotion(*c, u, finding);
        finding.verdict =
            finding.unknowns < finding.equations ? StabilityVerdict::TooFewRestraints : StabilityVerdict::BadlyArranged;
    } else if (finding.redundant > 0) {
        finding.verdict = StabilityVerdict::Redundant;
    }
    return finding;
}

}  // namespace tavrin
