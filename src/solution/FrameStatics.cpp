#include "solution/FrameStatics.h"

#include <algorithm>
#include <cmath>

#include "model/LoadSpan.h"
#include "model/ModelTexts.h"
#include "model/Vocabulary.h"
#include "solution/DenseLu.h"
#include "solution/SolutionTexts.h"

namespace tavrin {

MemberAxis AxisOf(const StructureModel& model, const Element& element)
{
    const Node& i = model.Nodes.at(element.INode);
    const Node& j = model.Nodes.at(element.JNode);
    const double dx = double{j.X} - double{i.X};
    const double dy = double{j.Y} - double{i.Y};
    const double L = std::hypot(dx, dy);
    if (L == 0.0)
        return {};
    return {L, dy / L, dx / L};
}

bool EndsHeldRigidly(const StructureModel& model, std::int16_t node)
{
    if (model.Nodes.at(node).JointType != kHingedJoint)
        return true;
    return std::any_of(model.Supports.begin(), model.Supports.end(),
                       [node](const Support& s) { return s.NodeNo == node && s.SupportType == kFixedSupport; });
}

namespace {

// The members that end at `node`.
std::vector<std::int16_t> MembersAt(const StructureModel& model, std::int16_t node)
{
    std::vector<std::int16_t> at;
    for (std::int16_t e = 1; e <= model.ElementCount(); ++e)
        if (model.Elements.at(e).INode == node || model.Elements.at(e).JNode == node)
            at.push_back(e);
    return at;
}

// A couple on a member's own end at a hinge: which end of member e is at the
// node (0 end i, 1 end j).
bool AddEndCouple(const StructureModel& model, CaseLoads& c, std::int16_t e, std::int16_t node, double couple)
{
    const Element& element = model.Elements.at(e);
    if (element.INode != node && element.JNode != node)
        return false;
    c.endCouples[static_cast<std::size_t>(e - 1)][element.INode == node ? 0 : 1] += couple;
    return true;
}

}  // namespace

namespace {

// A load between the nodes of member e, turned into the member's axes.
// Global intensities keep their rule: a vertical one per unit of horizontal
// projection (|C| per unit of member length), a horizontal one per unit of
// vertical projection (|S|).
void AddBetweenNodes(const Load& load, const MemberAxis& axis, MemberLoad& member)
{
    const bool horizontal = IsHorizontalDirection(load.Direction);
    const bool vertical = IsVerticalDirection(load.Direction);
    if (load.LoadType == kCouple) {
        if (IsCoupleDirection(load.Direction))
            member.Add(MemberLoad::Couple{SpanOf(load, axis.L).a, load.Magnitude});
        return;
    }
    if (!horizontal && !vertical)
        return;
    const double x = horizontal ? 1.0 : 0.0;
    const double y = vertical ? 1.0 : 0.0;
    const LoadSpan span = SpanOf(load, axis.L);
    if (load.LoadType == kConcentratedLoad) {
        const double f = load.Magnitude;
        member.Add(MemberLoad::Point{span.a, member.Along(x * f, y * f), member.Across(x * f, y * f)});
        return;
    }
    const double perLength = horizontal ? std::abs(axis.S) : std::abs(axis.C);
    const double w1 = StartIntensity(load) * perLength;
    const double w2 = EndIntensity(load) * perLength;
    member.Add(MemberLoad::Distributed{span.a, span.b, member.Along(x * w1, y * w1), member.Along(x * w2, y * w2),
                                       member.Across(x * w1, y * w1), member.Across(x * w2, y * w2)});
}

}  // namespace

MemberLoad BetweenNodesLoad(const StructureModel& model, const Load& load)
{
    const MemberAxis axis = AxisOf(model, model.Elements.at(load.ElementNo));
    MemberLoad member(axis.L, axis.S, axis.C, 0.0, 0.0);
    AddBetweenNodes(load, axis, member);
    return member;
}

std::vector<MemberLoad> BetweenNodesLoads(const StructureModel& model, const OneBasedTable<Load>& loads)
{
    OneBasedTable<Load> between;
    for (const Load& load : loads)
        if (ActsBetweenNodes(load))
            between.Append(load);
    return MemberLoadsOf(model, between);
}

std::vector<MemberLoad> MemberLoadsOf(const StructureModel& model, const OneBasedTable<Load>& loads)
{
    std::vector<std::array<double, 2>> q(static_cast<std::size_t>(model.ElementCount()), {0.0, 0.0});
    for (const Load& load : loads)
        if (load.LoadType == kDistributedLoad && !ActsBetweenNodes(load) && model.Elements.Has(load.ElementNo)) {
            auto& sums = q[static_cast<std::size_t>(load.ElementNo - 1)];
            if (IsHorizontalDirection(load.Direction))
                sums[0] += load.Magnitude;
            else if (IsVerticalDirection(load.Direction))
                sums[1] += load.Magnitude;
        }
    std::vector<MemberLoad> members;
    for (std::int16_t e = 1; e <= model.ElementCount(); ++e) {
        const Element& element = model.Elements.at(e);
        const bool ends = model.Nodes.Has(element.INode) && model.Nodes.Has(element.JNode);
        const MemberAxis axis = ends ? AxisOf(model, element) : MemberAxis{};
        const auto& sums = q[static_cast<std::size_t>(e - 1)];
        members.emplace_back(axis.L, axis.S, axis.C, sums[0], sums[1]);
    }
    for (const Load& load : loads)
        if (ActsBetweenNodes(load) && model.Elements.Has(load.ElementNo) &&
            members[static_cast<std::size_t>(load.ElementNo - 1)].L() > 0.0) {
            const MemberAxis axis = AxisOf(model, model.Elements.at(load.ElementNo));
            AddBetweenNodes(load, axis, members[static_cast<std::size_t>(load.ElementNo - 1)]);
        }
    return members;
}

std::optional<CaseLoads> ReadCaseLoads(const StructureModel& model, const OneBasedTable<Load>& loads, std::string& why)
{
    CaseLoads c;
    c.nodes.assign(static_cast<std::size_t>(model.NodeCount()), {});
    c.endCouples.assign(static_cast<std::size_t>(model.ElementCount()), {0.0, 0.0});
    try {
        for (std::int16_t l = 1; l <= loads.Count(); ++l) {
            const Load& load = loads.at(l);
            const double f = load.Magnitude;
            if (ActsBetweenNodes(load) || load.LoadType == kDistributedLoad) {
                // A load on a member: with the member's other loads, below.
                model.Elements.at(load.ElementNo);
            } else if (load.LoadType == kConcentratedLoad) {
                NodalAction& a = c.nodes.at(static_cast<std::size_t>(load.NodeNo - 1));
                if (IsHorizontalDirection(load.Direction))
                    a.Fx += f;
                else if (IsVerticalDirection(load.Direction))
                    a.Fy += f;
            } else if (load.LoadType == kCouple && IsCoupleDirection(load.Direction)) {
                // A couple typed on a member alone acts at its end i.
                const std::int16_t node = load.NodeNo != 0 ? load.NodeNo : model.Elements.at(load.ElementNo).INode;
                if (EndsHeldRigidly(model, node)) {
                    c.nodes.at(static_cast<std::size_t>(node - 1)).C += f;
                    continue;
                }
                const std::vector<std::int16_t> members = MembersAt(model, node);
                const std::int16_t e = load.ElementNo != 0 ? load.ElementNo : members.size() == 1 ? members.front() : 0;
                if (e == 0 || !AddEndCouple(model, c, e, node, f)) {
                    why = "第" + std::to_string(l) + "行：" + CoupleElementUnnamedText(node, ElementListText(members)) +
                          "！";
                    return std::nullopt;
                }
            }
        }
        // Every member's end nodes exist.
        for (const Element& element : model.Elements)
            AxisOf(model, element);
        c.members = MemberLoadsOf(model, loads);
    } catch (const std::out_of_range&) {
        why = kNumberOutside;
        return std::nullopt;
    }
    return c;
}

namespace {

// Where each unknown and equation of the statics sits.
struct StaticsLayout {
    int unknowns = 0;
    std::vector<std::array<int, 3>> support;  // per support: columns of Fx, Fy, Fm, -1 where none
    int equations = 0;
    std::vector<std::array<int, 3>> node;       // per node: rows x, y, moment, -1 where none
    std::vector<std::array<int, 2>> endMoment;  // per member: rows of M at end i, end j at a hinge
};

constexpr int MemberColumn(int e, int k)
{
    return 3 * (e - 1) + k;  // k: 0 N, 1 V, 2 M at end i
}

std::optional<StaticsLayout> LayOut(const StructureModel& model, std::string& why)
{
    StaticsLayout s;
    s.unknowns = 3 * model.ElementCount();
    s.node.assign(static_cast<std::size_t>(model.NodeCount()), {-1, -1, -1});
    s.endMoment.assign(static_cast<std::size_t>(model.ElementCount()), {-1, -1});
    for (std::int16_t e = 1; e <= model.ElementCount(); ++e) {
        const Element& element = model.Elements.at(e);
        for (int end = 0; end < 2; ++end) {
            const std::int16_t n = end == 0 ? element.INode : element.JNode;
            std::array<int, 3>& rows = s.node.at(static_cast<std::size_t>(n - 1));
            if (rows[0] < 0) {
                rows[0] = s.equations++;
                rows[1] = s.equations++;
                if (EndsHeldRigidly(model, n))
                    rows[2] = s.equations++;
            }
            if (rows[2] < 0)
                s.endMoment[static_cast<std::size_t>(e - 1)][static_cast<std::size_t>(end)] = s.equations++;
        }
    }
    for (const Support& support : model.Supports) {
        std::array<int, 3> cols{-1, -1, -1};
        const std::array<int, 3>* rows = support.NodeNo >= 1 && support.NodeNo <= model.NodeCount()
                                             ? &s.node[static_cast<std::size_t>(support.NodeNo - 1)]
                                             : nullptr;
        if (rows && (*rows)[0] >= 0) {
            const bool roller = support.SupportType == kRollerSupport;
            if (roller && !IsVerticalSupportSide(support.Direction) && !IsHorizontalSupportSide(support.Direction)) {
                why = kRollerSideUnknown;
                return std::nullopt;
            }
            if (RestraintCount(support.SupportType) > 0) {
                if (!roller || IsHorizontalSupportSide(support.Direction))
                    cols[0] = s.unknowns++;
                if (!roller || IsVerticalSupportSide(support.Direction))
                    cols[1] = s.unknowns++;
                if (support.SupportType == kFixedSupport && (*rows)[2] >= 0)
                    cols[2] = s.unknowns++;
            }
        }
        s.support.push_back(cols);
    }
    return s;
}

void AddTo(std::vector<double>& row, int col, double v)
{
    if (col >= 0)
        row[static_cast<std::size_t>(col)] += v;
}

}  // namespace

// Each node: the members' actions on it, its loads and its reactions sum to
// zero. A member acts on its node i with -P(0) and the couple -M1, on its
// node j with P(L) and +M2, where P = (-N C - V S, -N S + V C) is the force
// the part toward end i exerts across a section. End j is affine in end i:
// (N2, V2, M2) = A (N1, V1, M1) + b, read off MemberLoad::EndJ.
std::optional<CaseForces> SolveStatics(const StructureModel& model, const CaseLoads& loads, std::string& why)
{
    std::optional<StaticsLayout> layout;
    try {
        layout = LayOut(model, why);
    } catch (const std::out_of_range&) {
        why = kNumberOutside;
        return std::nullopt;
    }
    if (!layout)
        return std::nullopt;
    const StaticsLayout& s = *layout;
    if (s.equations != s.unknowns || s.unknowns == 0) {
        why = kStaticsNotSquare;
        return std::nullopt;
    }
    std::vector<std::vector<double>> a(static_cast<std::size_t>(s.equations),
                                       std::vector<double>(static_cast<std::size_t>(s.unknowns), 0.0));
    std::vector<double> rhs(static_cast<std::size_t>(s.equations), 0.0);
    const auto row = [&](int r) -> std::vector<double>& { return a[static_cast<std::size_t>(r)]; };
    const auto constant = [&](int r, double v) {
        if (r >= 0)
            rhs[static_cast<std::size_t>(r)] -= v;
    };

    for (std::int16_t e = 1; e <= model.ElementCount(); ++e) {
        const Element& element = model.Elements.at(e);
        const MemberAxis axis = AxisOf(model, element);
        const double C = axis.C, S = axis.S;
        const MemberLoad& load = loads.members[static_cast<std::size_t>(e - 1)];
        const auto& couples = loads.endCouples[static_cast<std::size_t>(e - 1)];
        const std::array<int, 3>& ni = s.node[static_cast<std::size_t>(element.INode - 1)];
        const std::array<int, 3>& nj = s.node[static_cast<std::size_t>(element.JNode - 1)];
        const std::array<int, 2>& hinge = s.endMoment[static_cast<std::size_t>(e - 1)];

        // End i.
        AddTo(row(ni[0]), MemberColumn(e, 0), C);
        AddTo(row(ni[0]), MemberColumn(e, 1), S);
        AddTo(row(ni[1]), MemberColumn(e, 0), S);
        AddTo(row(ni[1]), MemberColumn(e, 1), -C);
        if (ni[2] >= 0)
            AddTo(row(ni[2]), MemberColumn(e, 2), -1.0);
        if (hinge[0] >= 0) {
            AddTo(row(hinge[0]), MemberColumn(e, 2), 1.0);
            constant(hinge[0], -couples[0]);
        }

        // End j, through the member's own formula.
        const SectionForces<double> b = load.EndJ({});
        std::array<SectionForces<double>, 3> A;
        for (int k = 0; k < 3; ++k) {
            SectionForces<double> unit;
            (k == 0 ? unit.N : k == 1 ? unit.V : unit.M) = 1.0;
            const SectionForces<double> j = load.EndJ(unit);
            A[static_cast<std::size_t>(k)] = {j.N - b.N, j.V - b.V, j.M - b.M};
        }
        for (int k = 0; k < 3; ++k) {
            const SectionForces<double>& col = A[static_cast<std::size_t>(k)];
            AddTo(row(nj[0]), MemberColumn(e, k), -col.N * C - col.V * S);
            AddTo(row(nj[1]), MemberColumn(e, k), -col.N * S + col.V * C);
            if (nj[2] >= 0)
                AddTo(row(nj[2]), MemberColumn(e, k), col.M);
            if (hinge[1] >= 0)
                AddTo(row(hinge[1]), MemberColumn(e, k), col.M);
        }
        constant(nj[0], -b.N * C - b.V * S);
        constant(nj[1], -b.N * S + b.V * C);
        if (nj[2] >= 0)
            constant(nj[2], b.M);
        if (hinge[1] >= 0)
            constant(hinge[1], b.M + couples[1]);
    }
    for (std::int16_t n = 1; n <= model.NodeCount(); ++n) {
        const std::array<int, 3>& rows = s.node[static_cast<std::size_t>(n - 1)];
        const NodalAction& f = loads.nodes[static_cast<std::size_t>(n - 1)];
        if (rows[0] < 0)
            continue;
        constant(rows[0], f.Fx);
        constant(rows[1], f.Fy);
        constant(rows[2], f.C);
    }
    for (std::int16_t k = 1; k <= model.SupportCount(); ++k) {
        const std::array<int, 3>& cols = s.support[static_cast<std::size_t>(k - 1)];
        if (cols[0] < 0 && cols[1] < 0 && cols[2] < 0)
            continue;
        const std::array<int, 3>& rows = s.node[static_cast<std::size_t>(model.Supports.at(k).NodeNo - 1)];
        if (cols[0] >= 0)
            AddTo(row(rows[0]), cols[0], 1.0);
        if (cols[1] >= 0)
            AddTo(row(rows[1]), cols[1], 1.0);
        if (cols[2] >= 0)
            AddTo(row(rows[2]), cols[2], -1.0);
    }

    const std::optional<DenseLu> lu = DenseLu::Factor(std::move(a), 1e-11);
    if (!lu) {
        why = kStaticsSingular;
        return std::nullopt;
    }
    const std::vector<double> u = lu->Solve(rhs);
    const auto at = [&u](int col) { return col >= 0 ? u[static_cast<std::size_t>(col)] : 0.0; };
    CaseForces forces;
    for (std::int16_t e = 1; e <= model.ElementCount(); ++e) {
        const MemberLoad& load = loads.members[static_cast<std::size_t>(e - 1)];
        MemberForces m;
        m.i = {at(MemberColumn(e, 0)), at(MemberColumn(e, 1)), at(MemberColumn(e, 2))};
        m.j = load.EndJ(m.i);
        m.M = load.MomentCurve(m.i);
        forces.members.push_back(std::move(m));
    }
    for (const std::array<int, 3>& cols : s.support)
        forces.supports.push_back({at(cols[0]), at(cols[1]), at(cols[2])});
    return forces;
}

CaseForces Superpose(const std::vector<CaseForces>& cases, const std::vector<double>& x)
{
    CaseForces total = cases.front();
    const auto add = [](SectionForces<double>& to, const SectionForces<double>& f, double k) {
        to.N += k * f.N;
        to.V += k * f.V;
        to.M += k * f.M;
    };
    for (std::size_t k = 1; k < cases.size() && k <= x.size(); ++k) {
        const double xk = x[k - 1];
        for (std::size_t e = 0; e < total.members.size(); ++e) {
            MemberForces& m = total.members[e];
            const MemberForces& mk = cases[k].members[e];
            add(m.i, mk.i, xk);
            add(m.j, mk.j, xk);
            m.M = Sum(m.M, Scaled(xk, mk.M));
        }
        for (std::size_t r = 0; r < total.supports.size(); ++r) {
            total.supports[r].Fx += xk * cases[k].supports[r].Fx;
            total.supports[r].Fy += xk * cases[k].supports[r].Fy;
            total.supports[r].Fm += xk * cases[k].supports[r].Fm;
        }
    }
    return total;
}

}  // namespace tavrin
