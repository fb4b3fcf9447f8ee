#include "forcemethod/BasicSystemChoice.h"

#include <algorithm>
#include <cmath>
#include <map>

#include "analysis/GeometricStability.h"
#include "analysis/ModelType.h"
#include "analysis/StaticsTexts.h"
#include "drawing/DrawingPasses.h"
#include "forcemethod/CalculationSession.h"
#include "forcemethod/CoefficientLedger.h"
#include "forcemethod/ForceMethodTexts.h"
#include "forcemethod/ModelSolution.h"
#include "forcemethod/SupplementaryInput.h"
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

// Support restraints first, by node and then horizontal, vertical,
// rotation; then the continuities by node: the same list however the
// original was given.
void Order(std::vector<Restraint>& list)
{
    std::sort(list.begin(), list.end(), [](const Restraint& a, const Restraint& b) {
        const bool supportA = IsSupportRestraint(a), supportB = IsSupportRestraint(b);
        if (supportA != supportB)
            return supportA;
        return a.node != b.node ? a.node < b.node : a.kind < b.kind;
    });
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

// The frame held by the original's restraints less `released`: supports
// and joint types as they then stand. std::nullopt, with `why`, where a
// node keeps a restraint set the support table has no kind for.
std::optional<StructureModel> ModelWithout(const OriginalStructure& original, const std::vector<Restraint>& released,
                                           std::string& why)
{
    const auto isReleased = [&](const Restraint& r) {
        return std::find(released.begin(), released.end(), r) != released.end();
    };

    StructureModel model = original.frame;
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
    model.ClearResults();
    return model;
}

}  // namespace

std::optional<StructureModel> OriginalModel(const OriginalStructure& original, std::string& why)
{
    return ModelWithout(original, {}, why);
}

std::optional<PartTables> PartTablesOf(const StructureModel& model)
{
    const int members = model.ElementCount();
    // Bodies: members joined at nodes that are no hinge, or that a fixed
    // support clamps.
    std::vector<int> body(static_cast<std::size_t>(members) + 1);
    for (int e = 0; e <= members; ++e)
        body[static_cast<std::size_t>(e)] = e;
    const auto find = [&](int e) {
        while (body[static_cast<std::size_t>(e)] != e)
            e = body[static_cast<std::size_t>(e)] = body[static_cast<std::size_t>(body[static_cast<std::size_t>(e)])];
        return e;
    };
    for (std::int16_t n = 1; n <= model.NodeCount(); ++n) {
        if (model.Nodes.at(n).JointType == kHingedJoint && !ClampedByFixedSupport(model, n))
            continue;
        const std::vector<std::int16_t> at = MembersAt(model, n);
        for (std::size_t k = 1; k < at.size(); ++k)
            body[static_cast<std::size_t>(find(at[k]))] = find(at[0]);
    }
    std::map<int, std::vector<std::int16_t>> elements;  // body -> its members
    for (std::int16_t e = 1; e <= members; ++e)
        elements[find(e)].push_back(e);
    const auto nodesOf = [&](int b) {
        std::vector<std::int16_t> nodes;
        for (const std::int16_t e : elements[b])
            for (const std::int16_t n : {model.Elements.at(e).INode, model.Elements.at(e).JNode})
                if (std::find(nodes.begin(), nodes.end(), n) == nodes.end())
                    nodes.push_back(n);
        return nodes;
    };
    const auto restraintsAt = [&](std::int16_t n) {
        int count = 0;
        for (const Support& s : model.Supports)
            count += s.NodeNo == n ? RestraintCount(s.SupportType) : 0;
        return count;
    };
    const auto cells = [](std::vector<std::string> row, const std::vector<std::int16_t>& memberNos) {
        for (const std::int16_t e : memberNos)
            row.push_back(std::to_string(e));
        return row;
    };

    PartTables tables;
    std::vector<int> placed;
    std::vector<CellRows::value_type> attached;  // in the order placed
    for (const auto& [b, list] : elements) {
        int own = 0;
        for (const std::int16_t n : nodesOf(b))
            own += restraintsAt(n);
        if (own >= 3) {
            placed.push_back(b);
            tables.basicParts.push_back(cells({std::to_string(tables.basicParts.size() + 1)}, list));
        }
    }
    if (placed.empty())
        return std::nullopt;
    for (bool progress = true; progress && placed.size() < elements.size();) {
        progress = false;
        for (const auto& [b, list] : elements) {
            if (std::find(placed.begin(), placed.end(), b) != placed.end())
                continue;
            // Its hinges on parts placed, its pins, and its rollers.
            std::vector<std::int16_t> hinges, rollers;
            for (const std::int16_t n : nodesOf(b)) {
                bool shared = false;
                for (const int p : placed) {
                    const std::vector<std::int16_t> other = nodesOf(p);
                    shared = shared || std::find(other.begin(), other.end(), n) != other.end();
                }
                const int held = restraintsAt(n);
                if (shared || held == 2)
                    hinges.push_back(n);
                else if (held == 1)
                    rollers.push_back(n);
            }
            if (hinges.size() != 1 || rollers.size() != 1)
                continue;
            attached.push_back(cells({"", std::to_string(hinges[0]), std::to_string(rollers[0])}, list));
            placed.push_back(b);
            progress = true;
        }
    }
    if (placed.size() != elements.size())
        return std::nullopt;
    for (auto row = attached.rbegin(); row != attached.rend(); ++row) {
        (*row)[0] = std::to_string(tables.attachedParts.size() + 1);
        tables.attachedParts.push_back(*row);
    }
    return tables;
}

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
    Order(original.restraints);
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
    std::optional<StructureModel> held = ModelWithout(original, released, why);
    if (!held)
        return std::nullopt;
    BasicSystem basic{released, std::move(*held), {}, {}, {}, {}, {}, {}};
    StructureModel& model = basic.model;
    model.IndeterminacyDegree = static_cast<std::int16_t>(degree);

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
        const std::optional<PartTables> parts = PartTablesOf(model);
        if (!parts) {
            why = "去掉这些约束后的基本体系有附属部分，程序不能划分它的附属部分和基本部分，请另选";
            return std::nullopt;
        }
        basic.attachedParts = parts->attachedParts;
        basic.basicParts = parts->basicParts;
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

bool TakeBasicSystem(StructureModel& model, const BasicSystem& basic, Canvas& canvas, MessageSink& messages)
{
    if (basic.nodes != CommittedRows(model, kNodeTable) &&
        !CommitTableRows(model, canvas, messages, kNodeTable, basic.nodes))
        return false;
    if (!CommitTableRows(model, canvas, messages, kSupportTable, basic.supports))
        return false;
    // The support table's layer goes on the members; the loads come back.
    DrawStructureWithLoads(model, canvas);
    return true;
}

std::optional<BasicSystem> RequestedBasicSystem(const StructureModel& model, bool automatic, const CellRows& released,
                                                std::string& why)
{
    const OriginalStructure original = OriginalOfTyped(model);
    const int degree = model.IndeterminacyDegree;
    if (automatic)
        return RecommendBasicSystem(original, degree, why);
    std::vector<Restraint> restraints;
    for (const std::vector<std::string>& row : released)
        if (const std::optional<Restraint> r = RestraintOfCells(row))
            restraints.push_back(*r);
    return FormBasicSystem(original, restraints, degree, why);
}

bool OffersBasicSystemChoice(const StructureModel& model)
{
    if (model.IndeterminacyDegree <= 0 || model.ElementCount() == 0)
        return false;
    const StabilityFinding finding = CheckGeometricStability(model);
    return finding.verdict == StabilityVerdict::Redundant && finding.redundant == model.IndeterminacyDegree;
}

std::vector<OneBasedTable<Load>> UnitLoadsOf(const StructureModel& model, const CalculationState& calc)
{
    std::vector<OneBasedTable<Load>> loads;
    RecordingMessages quiet;
    for (int k = 1; k <= model.IndeterminacyDegree; ++k) {
        const auto i = static_cast<std::size_t>(k);
        if (i < calc.unitForces.size() && calc.unitForces[i]) {
            loads.push_back(*calc.unitForces[i]);
            continue;
        }
        if (i > calc.offered.unitForces.size())
            break;
        MemoryGrid grid(static_cast<int>(calc.offered.unitForces[i - 1].size()) + 2, UnitForceInputTable.cols);
        TypeRows(grid, calc.offered.unitForces[i - 1]);
        std::optional<OneBasedTable<Load>> unit = ReadUnitForceRows(grid, model, quiet);
        if (!unit)
            break;
        loads.push_back(std::move(*unit));
    }
    return loads;
}

std::optional<OriginalStructure> OriginalOfCalculation(const StructureModel& model, const CalculationState& calc,
                                                       std::string& why)
{
    if (model.IndeterminacyDegree <= 0 || OffersBasicSystemChoice(model))
        return OriginalOfTyped(model);
    const std::vector<OneBasedTable<Load>> unitLoads = UnitLoadsOf(model, calc);
    if (static_cast<int>(unitLoads.size()) < model.IndeterminacyDegree) {
        why = "未知力X" + std::to_string(unitLoads.size() + 1) + "还没有给出，原结构尚不能确定";
        return std::nullopt;
    }
    return OriginalOfBasicSystem(model, unitLoads, why);
}

std::optional<BasicSystem> BasicSystemOfCalculation(const StructureModel& model, const CalculationState& calc,
                                                    std::string& why)
{
    const std::vector<OneBasedTable<Load>> unitLoads = UnitLoadsOf(model, calc);
    if (model.IndeterminacyDegree <= 0 || OffersBasicSystemChoice(model) ||
        static_cast<int>(unitLoads.size()) < model.IndeterminacyDegree) {
        why = kNoBasicSystemToCompare;
        return std::nullopt;
    }
    const std::optional<OriginalStructure> original = OriginalOfBasicSystem(model, unitLoads, why);
    if (!original)
        return std::nullopt;
    std::vector<Restraint> released;
    for (const OneBasedTable<Load>& unit : unitLoads)
        released.push_back(*RestraintOfUnitForce(model, unit));
    return FormBasicSystem(*original, released, model.IndeterminacyDegree, why);
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
