#include "forcemethod/BasicSystemChoice.h"

#include <algorithm>
#include <cmath>
#include <map>

#include "analysis/GeometricStability.h"
#include "analysis/ModelType.h"
#include "analysis/StaticsTexts.h"
#include "forcemethod/CoefficientLedger.h"
#include "forcemethod/ForceMethodTexts.h"
#include "forcemethod/ModelSolution.h"
#include "input/InputTables.h"
#include "input/ModelCommit.h"
#include "model/CellReading.h"
#include "model/NumberText.h"
#include "model/Vocabulary.h"
#include "solution/DenseLu.h"

namespace tavrin {

namespace {

constexpr std::array<std::string_view, 4> kRestraintNames{"水平", "竖向", "转角", "弯矩连续"};
constexpr std::array<std::string_view, 4> kRestraintTexts{"水平约束", "竖向约束", "转动约束", "弯矩连续"};

struct Held {
    bool h = false, v = false, r = false;
};

bool IsSupportRestraint(const Restraint& r)
{
    return r.kind != RestraintKind::Continuity;
}

// The restraints of one support as the table types it.
std::vector<RestraintKind> RestraintsOfSupport(const Support& s)
{
    if (s.SupportType == kFixedSupport)
        return {RestraintKind::Horizontal, RestraintKind::Vertical, RestraintKind::Rotation};
    if (s.SupportType == kPinSupport)
        return {RestraintKind::Horizontal, RestraintKind::Vertical};
    if (s.SupportType == kRollerSupport && IsVerticalSupportSide(s.Direction))
        return {RestraintKind::Vertical};
    if (s.SupportType == kRollerSupport && IsHorizontalSupportSide(s.Direction))
        return {RestraintKind::Horizontal};
    return {};
}

bool ClampedByFixedSupport(const StructureModel& model, std::int16_t node)
{
    return std::any_of(model.Supports.begin(), model.Supports.end(),
                       [&](const Support& s) { return s.NodeNo == node && s.SupportType == kFixedSupport; });
}

void AddOnce(std::vector<Restraint>& list, const Restraint& r)
{
    if (std::find(list.begin(), list.end(), r) == list.end())
        list.push_back(r);
}

// Support restraints first, in the order they came; then the continuities
// in node order.
void Order(std::vector<Restraint>& list)
{
    std::stable_partition(list.begin(), list.end(), IsSupportRestraint);
    const auto continuities = std::find_if_not(list.begin(), list.end(), IsSupportRestraint);
    std::sort(continuities, list.end(), [](const Restraint& a, const Restraint& b) { return a.node < b.node; });
}

StructureModel FrameOf(const StructureModel& model)
{
    StructureModel frame = model;
    frame.Loads = model.UserLoads();
    frame.SavedLoads = {};
    frame.UnitForcesInLoads = false;
    frame.ClearResults();
    return frame;
}

std::string SupportKindMissingText(std::int16_t node)
{
    return "结点" + std::to_string(node) +
           "去掉这些约束后只剩转动约束或转动加一个方向的移动约束，需要定向支座，"
           "支座表中没有这种支座，请另选";
}

// The support standing at `node` in the original, for the side a new
// support keeps.
const Support* OriginalSupportAt(const StructureModel& frame, std::int16_t node)
{
    for (const Support& s : frame.Supports)
        if (s.NodeNo == node)
            return &s;
    return nullptr;
}

std::string SideFor(const Support* was, bool vertical)
{
    if (was && vertical && IsVerticalSupportSide(was->Direction))
        return was->Direction;
    if (was && !vertical && IsHorizontalSupportSide(was->Direction))
        return was->Direction;
    return std::string(vertical ? kBelowNode : kLeftOfNode);
}

std::vector<std::int16_t> MembersAt(const StructureModel& model, std::int16_t node)
{
    return ElementsMeetingAt(model, node);
}

Load UnitLoad(std::string_view type, std::string_view direction, std::int16_t node, std::int16_t element)
{
    Load l;
    l.LoadType = std::string(type);
    l.Direction = std::string(direction);
    l.Magnitude = LoadMagnitude(type, direction, 1.0f);
    l.NodeNo = node;
    l.ElementNo = element;
    return l;
}

std::vector<Load> UnitForceOf(const StructureModel& model, const Restraint& r)
{
    switch (r.kind) {
        case RestraintKind::Horizontal:
            return {UnitLoad(kConcentratedLoad, kRightward, r.node, 0)};
        case RestraintKind::Vertical:
            return {UnitLoad(kConcentratedLoad, kUpward, r.node, 0)};
        case RestraintKind::Rotation:
            return {UnitLoad(kCouple, kCounterClockwise, r.node, 0)};
        case RestraintKind::Continuity: {
            const std::vector<std::int16_t> members = MembersAt(model, r.node);
            if (members.size() != 2)
                return {};
            return {UnitLoad(kCouple, kCounterClockwise, r.node, members[0]),
                    UnitLoad(kCouple, kClockwise, r.node, members[1])};
        }
    }
    return {};
}

CellRows RowsOf(const std::vector<Load>& loads)
{
    CellRows rows;
    for (const Load& l : loads)
        rows.push_back(
            {l.LoadType, std::to_string(l.NodeNo), l.ElementNo == 0 ? "" : std::to_string(l.ElementNo), l.Direction});
    return rows;
}

// The restraint a unit force of these rows stands for.
std::optional<Restraint> RestraintOfUnitForce(const StructureModel& basic, const OneBasedTable<Load>& unit)
{
    if (unit.Count() == 1) {
        const Load& l = unit.at(1);
        if (l.ElementNo != 0 || l.StartA || l.EndB)
            return std::nullopt;
        if (l.LoadType == kConcentratedLoad && IsHorizontalDirection(l.Direction))
            return Restraint{l.NodeNo, RestraintKind::Horizontal};
        if (l.LoadType == kConcentratedLoad && IsVerticalDirection(l.Direction))
            return Restraint{l.NodeNo, RestraintKind::Vertical};
        if (l.LoadType == kCouple && IsCoupleDirection(l.Direction))
            return Restraint{l.NodeNo, RestraintKind::Rotation};
        return std::nullopt;
    }
    if (unit.Count() == 2) {
        const Load& a = unit.at(1);
        const Load& b = unit.at(2);
        const bool pair = a.LoadType == kCouple && b.LoadType == kCouple && a.NodeNo == b.NodeNo && a.ElementNo != 0 &&
                          b.ElementNo != 0 && a.ElementNo != b.ElementNo && a.Magnitude * b.Magnitude < 0.0f &&
                          MembersAt(basic, a.NodeNo).size() == 2;
        if (pair)
            return Restraint{a.NodeNo, RestraintKind::Continuity};
    }
    return std::nullopt;
}

std::string ReleasedText(const std::vector<Restraint>& released)
{
    std::string text;
    for (const Restraint& r : released)
        text += (text.empty() ? "" : "、") + RestraintText(r);
    return text;
}

// ||A||_1 ||A^-1||_1; infinite for a singular matrix.
double ConditionNumber(const std::vector<std::vector<double>>& a)
{
    const std::size_t n = a.size();
    const auto norm1 = [n](const auto& column) {
        double largest = 0.0;
        for (std::size_t j = 0; j < n; ++j) {
            double sum = 0.0;
            for (std::size_t i = 0; i < n; ++i)
                sum += std::abs(column(i, j));
            largest = std::max(largest, sum);
        }
        return largest;
    };
    const std::optional<DenseLu> lu = DenseLu::Factor(a, 1e-13);
    if (!lu)
        return INFINITY;
    std::vector<std::vector<double>> inverse(n);
    for (std::size_t j = 0; j < n; ++j) {
        std::vector<double> e(n, 0.0);
        e[j] = 1.0;
        inverse[j] = lu->Solve(e);  // column j
    }
    return norm1([&](std::size_t i, std::size_t j) { return a[i][j]; }) *
           norm1([&](std::size_t i, std::size_t j) { return inverse[j][i]; });
}

}  // namespace

std::string RestraintText(const Restraint& r)
{
    return "结点" + std::to_string(r.node) + std::string(kRestraintTexts[static_cast<std::size_t>(r.kind)]);
}

OriginalStructure OriginalOfTyped(const StructureModel& model)
{
    OriginalStructure original{FrameOf(model), {}};
    for (const Support& s : model.Supports)
        for (const RestraintKind kind : RestraintsOfSupport(s))
            AddOnce(original.restraints, {s.NodeNo, kind});
    for (std::int16_t n = 1; n <= model.NodeCount(); ++n)
        if (model.Nodes.at(n).JointType == kRigidJoint && MembersAt(model, n).size() == 2 &&
            !ClampedByFixedSupport(model, n))
            original.restraints.push_back({n, RestraintKind::Continuity});
    return original;
}

std::optional<OriginalStructure> OriginalOfBasicSystem(const StructureModel& basic,
                                                       const std::vector<OneBasedTable<Load>>& unitLoads,
                                                       std::string& why)
{
    OriginalStructure original = OriginalOfTyped(basic);
    for (std::size_t k = 0; k < unitLoads.size(); ++k) {
        const std::optional<Restraint> r = RestraintOfUnitForce(basic, unitLoads[k]);
        if (!r) {
            why = "未知力X" + std::to_string(k + 1) + "不是一个支座约束力或铰两侧的一对力偶，无法确定原结构";
            return std::nullopt;
        }
        if (r->kind == RestraintKind::Continuity)
            original.frame.Nodes.at(r->node).JointType = std::string(kRigidJoint);
        AddOnce(original.restraints, *r);
    }
    Order(original.restraints);
    return original;
}

std::optional<BasicSystem> FormBasicSystem(const OriginalStructure& original, const std::vector<Restraint>& released,
                                           int degree, std::string& why)
{
    if (static_cast<int>(released.size()) != degree) {
        why = "结构是" + std::to_string(degree) + "次超静定的，应去掉" + std::to_string(degree) + "个约束，现选了" +
              std::to_string(released.size()) + "个";
        return std::nullopt;
    }
    for (std::size_t i = 0; i < released.size(); ++i) {
        const bool known =
            std::find(original.restraints.begin(), original.restraints.end(), released[i]) != original.restraints.end();
        const bool twice = std::find(released.begin(), released.begin() + static_cast<std::ptrdiff_t>(i),
                                     released[i]) != released.begin() + static_cast<std::ptrdiff_t>(i);
        if (!known || twice) {
            why = RestraintText(released[i]) + (twice ? "选了两次" : "不是原结构的约束");
            return std::nullopt;
        }
    }
    const auto isReleased = [&](const Restraint& r) {
        return std::find(released.begin(), released.end(), r) != released.end();
    };

    BasicSystem basic{released, original.frame, {}, {}, {}, {}};
    StructureModel& model = basic.model;
    // The supports that remain, node by node in the order of the original's.
    std::vector<std::int16_t> nodes;
    std::map<std::int16_t, Held> held;
    for (const Restraint& r : original.restraints) {
        if (r.kind == RestraintKind::Continuity) {
            model.Nodes.at(r.node).JointType = std::string(isReleased(r) ? kHingedJoint : kRigidJoint);
            continue;
        }
        if (held.find(r.node) == held.end())
            nodes.push_back(r.node);
        Held& h = held[r.node];
        if (isReleased(r))
            continue;
        (r.kind == RestraintKind::Horizontal ? h.h : r.kind == RestraintKind::Vertical ? h.v : h.r) = true;
    }
    OneBasedTable<Support> supports;
    for (const std::int16_t node : nodes) {
        const Held& h = held[node];
        const Support* was = OriginalSupportAt(original.frame, node);
        if (h.r && !(h.h && h.v)) {
            why = SupportKindMissingText(node);
            return std::nullopt;
        }
        Support s;
        s.NodeNo = node;
        if (h.h && h.v) {
            s.SupportType = std::string(h.r ? kFixedSupport : kPinSupport);
            s.Direction = was ? was->Direction : std::string(kBelowNode);
        } else if (h.h || h.v) {
            s.SupportType = std::string(kRollerSupport);
            s.Direction = SideFor(was, h.v);
        } else {
            continue;
        }
        supports.Append(s);
    }
    model.Supports = supports;
    model.SupportConstraintCount = CountSupportConstraints(model.Supports);
    model.IndeterminacyDegree = static_cast<std::int16_t>(degree);
    model.ClearResults();

    const StabilityFinding finding = CheckGeometricStability(model);
    constexpr std::array<std::string_view, 3> kMotions{kMovesHorizontally, kMovesVertically, kTurns};
    if (finding.verdict == StabilityVerdict::TooFewRestraints || finding.verdict == StabilityVerdict::BadlyArranged) {
        why = "去掉这些约束后结构几何可变：结点" + std::to_string(finding.node) +
              std::string(kMotions[static_cast<std::size_t>(finding.motion)]);
        return std::nullopt;
    }
    if (finding.verdict == StabilityVerdict::Redundant) {
        why = "去掉这些约束后仍有多余约束" + std::to_string(finding.redundant) + "个";
        return std::nullopt;
    }
    if (HasAttachedParts(model)) {
        why = "去掉这些约束后的基本体系有附属部分，计算还要附属部分表，请另选";
        return std::nullopt;
    }

    basic.nodes = CommittedRows(model, kNodeTable);
    basic.supports = CommittedRows(model, kSupportTable);
    for (const Restraint& r : released) {
        const std::vector<Load> unit = UnitForceOf(model, r);
        basic.unitForces.push_back(RowsOf(unit));
        OneBasedTable<Load> table;
        for (const Load& l : unit)
            table.Append(l);
        basic.unitLoads.push_back(std::move(table));
    }
    return basic;
}

std::optional<BasicSystemSolution> SolveBasicSystem(BasicSystem system, std::string& why)
{
    const std::optional<ImposedDeformation> imposed = ImposedOf(system.model, system.unitLoads, why);
    if (!imposed)
        return std::nullopt;
    std::vector<OneBasedTable<Load>> loads{system.model.UserLoads()};
    loads.insert(loads.end(), system.unitLoads.begin(), system.unitLoads.end());
    std::optional<ForceMethodSolution> solution = SolveForceMethod(system.model, loads, *imposed, why);
    if (!solution)
        return std::nullopt;
    BasicSystemSolution out{std::move(system), std::move(*solution), 0, 0.0};
    double largest = 0.0;
    const std::vector<LedgerEntry> ledger = SolutionLedger(out.system.model, out.solution);
    for (const LedgerEntry& entry : ledger)
        for (const LedgerTerm& t : entry.terms)
            largest = std::max(largest, std::abs(t.term));
    for (const LedgerEntry& entry : ledger)
        for (const LedgerTerm& t : entry.terms)
            out.nonzeroTerms += std::abs(t.term) > 1e-12 * largest ? 1 : 0;
    out.condition = ConditionNumber(out.solution.delta);
    return out;
}

std::optional<BasicSystem> RecommendBasicSystem(const OriginalStructure& original, int degree, std::string& why)
{
    std::vector<Restraint> supports, continuities;
    for (const Restraint& r : original.restraints)
        (IsSupportRestraint(r) ? supports : continuities).push_back(r);
    int formed = 0;
    std::string firstWhy;
    std::optional<BasicSystemSolution> best;
    // Choices of `count` indices out of `size`, in lexicographic order.
    const auto choices = [](int size, int count, const auto& visit) {
        if (count > size || count < 0)
            return;
        std::vector<int> index(static_cast<std::size_t>(count));
        for (int i = 0; i < count; ++i)
            index[static_cast<std::size_t>(i)] = i;
        while (true) {
            if (!visit(index))
                return;
            int i = count - 1;
            while (i >= 0 && index[static_cast<std::size_t>(i)] == size - count + i)
                --i;
            if (i < 0)
                return;
            ++index[static_cast<std::size_t>(i)];
            for (int j = i + 1; j < count; ++j)
                index[static_cast<std::size_t>(j)] = index[static_cast<std::size_t>(j - 1)] + 1;
        }
    };
    for (int c = 0; c <= degree && !best && formed < kMostChoicesWeighed; ++c) {
        choices(static_cast<int>(continuities.size()), c, [&](const std::vector<int>& ci) {
            choices(static_cast<int>(supports.size()), degree - c, [&](const std::vector<int>& si) {
                if (++formed > kMostChoicesWeighed)
                    return false;
                std::vector<Restraint> released;
                for (const int i : si)
                    released.push_back(supports[static_cast<std::size_t>(i)]);
                for (const int i : ci)
                    released.push_back(continuities[static_cast<std::size_t>(i)]);
                std::string reason;
                std::optional<BasicSystem> system = FormBasicSystem(original, released, degree, reason);
                std::optional<BasicSystemSolution> solved =
                    system ? SolveBasicSystem(std::move(*system), reason) : std::nullopt;
                if (!solved) {
                    if (firstWhy.empty())
                        firstWhy = reason;
                    return true;
                }
                const bool better =
                    !best || solved->nonzeroTerms < best->nonzeroTerms ||
                    (solved->nonzeroTerms == best->nonzeroTerms && solved->condition < best->condition * (1.0 - 1e-9));
                if (better)
                    best = std::move(solved);
                return true;
            });
            return formed <= kMostChoicesWeighed;
        });
    }
    if (!best) {
        why = firstWhy.empty() ? "原结构没有" + std::to_string(degree) + "个可去掉的约束" : firstWhy;
        return std::nullopt;
    }
    return std::move(best->system);
}

CellRows CompareBasicSystems(const BasicSystemSolution& a, const BasicSystemSolution& b)
{
    CellRows rows{{"", "基本体系一", "基本体系二"},
                  {"去掉的约束", ReleasedText(a.system.released), ReleasedText(b.system.released)}};
    const auto n = static_cast<std::size_t>(std::max(a.solution.degree, b.solution.degree));
    const auto at = [](const std::vector<double>& v, std::size_t i) { return i < v.size() ? v[i] : 0.0; };
    for (std::size_t i = 0; i < n; ++i)
        for (std::size_t j = i; j < n; ++j)
            rows.push_back({"δ" + std::to_string(i + 1) + std::to_string(j + 1),
                            FormatCoefficient(at(a.solution.delta.at(i), j)),
                            FormatCoefficient(at(b.solution.delta.at(i), j))});
    for (std::size_t i = 0; i < n; ++i)
        rows.push_back({"Δ" + std::to_string(i + 1) + "P", FormatCoefficient(at(a.solution.Delta, i)),
                        FormatCoefficient(at(b.solution.Delta, i))});
    for (std::size_t i = 0; i < n; ++i)
        rows.push_back({"X" + std::to_string(i + 1), FormatCoefficient(at(a.solution.X, i)),
                        FormatCoefficient(at(b.solution.X, i))});
    const std::size_t members = std::min(a.solution.total.members.size(), b.solution.total.members.size());
    for (std::size_t e = 0; e < members; ++e) {
        const MemberForces& ma = a.solution.total.members[e];
        const MemberForces& mb = b.solution.total.members[e];
        rows.push_back({"杆件" + std::to_string(e + 1) + " Mi", FormatForce(ma.i.M), FormatForce(mb.i.M)});
        rows.push_back({"杆件" + std::to_string(e + 1) + " Mj", FormatForce(ma.j.M), FormatForce(mb.j.M)});
    }
    rows.push_back({"图乘非零项", std::to_string(a.nonzeroTerms), std::to_string(b.nonzeroTerms)});
    return rows;
}

std::optional<Restraint> RestraintOfCells(const std::vector<std::string>& row)
{
    if (row.size() != 2)
        return std::nullopt;
    const std::optional<double> node = CellNumber(row[0]);
    const auto kind = std::find(kRestraintNames.begin(), kRestraintNames.end(), row[1]);
    if (!node || *node != std::floor(*node) || *node < 1 || *node > 32767 || kind == kRestraintNames.end())
        return std::nullopt;
    return Restraint{static_cast<std::int16_t>(*node), static_cast<RestraintKind>(kind - kRestraintNames.begin())};
}

std::vector<std::string> CellsOfRestraint(const Restraint& r)
{
    return {std::to_string(r.node), std::string(kRestraintNames[static_cast<std::size_t>(r.kind)])};
}

}  // namespace tavrin
