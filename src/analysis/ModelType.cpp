#include "analysis/ModelType.h"

#include <algorithm>
#include <array>
#include <optional>
#include <span>

#include "analysis/GeometricStability.h"
#include "analysis/StaticsTexts.h"
#include "model/CellReading.h"
#include "model/NumberText.h"
#include "model/RowReferences.h"
#include "model/Vocabulary.h"

namespace tavrin {

namespace {

constexpr std::array<std::string_view, 4> kCaptions{
    "无附属部分的静定结构计算",
    "有附属部分的静定结构计算",
    "无附属部分的超静定结构计算",
    "基本体系有附属部分的超静定结构计算",
};

// The load cases a row of an item list stands for: once (the user's loads,
// or no case), or each unit force Xk, k = 1..n, its text then reading
// `text`, k with its leading blank, `suffix`.
enum class RowCases { Once, EachUnitForce };

// One row of an item list. Rows for each unit force that follow one another
// are listed together for X1, then together for X2, and so on.
struct ItemRow {
    std::string_view text;
    StepKind step;
    SupplementaryTable needs = SupplementaryTable::None;
    RowCases cases = RowCases::Once;
    std::string_view suffix = {};
};

constexpr ItemRow kDeterminateNoAttachedItems[] = {
    {"支座反力", StepKind::SupportReactions},
    {"各构件内力", StepKind::MemberForces},
};
constexpr ItemRow kDeterminateWithAttachedItems[] = {
    {"附属部分支座反力", StepKind::AttachedParts, SupplementaryTable::AttachedParts},
    {"基本部分支座反力", StepKind::BasicParts, SupplementaryTable::BasicParts},
    {"各构件内力", StepKind::MemberForces},
};
constexpr ItemRow kIndeterminateNoAttachedItems[] = {
    {"外荷载作用下支座反力", StepKind::SupportReactions},
    {"外荷载作用下各构件内力", StepKind::CaseEndForces},
    {"单位力X", StepKind::SupportReactions, SupplementaryTable::UnitForces, RowCases::EachUnitForce, "作用下支座反力"},
    {"单位力X", StepKind::CaseEndForces, SupplementaryTable::None, RowCases::EachUnitForce, "作用下各构件内力"},
    {"自由项系数", StepKind::Coefficients},
    {"未知力求解", StepKind::Unknowns},
    {"构件总内力", StepKind::Superposition},
};
// The attached-part item is listed once: the rows confirmed there serve the
// basic part of every case.
constexpr ItemRow kIndeterminateWithAttachedItems[] = {
    {"外荷载作用下附属部分支座反力", StepKind::AttachedParts, SupplementaryTable::AttachedParts},
    {"外荷载作用下基本部分支座反力", StepKind::BasicParts, SupplementaryTable::BasicParts},
    {"外荷载作用下各构件内力", StepKind::CaseEndForces},
    {"单位力未知力X", StepKind::BasicParts, SupplementaryTable::UnitForces, RowCases::EachUnitForce,
     "作用下基本部分支座反力"},
    {"单位力未知力X", StepKind::CaseEndForces, SupplementaryTable::None, RowCases::EachUnitForce,
     "作用下基本部分各构件内力"},
    {"自由项系数", StepKind::Coefficients},
    {"未知力求解", StepKind::Unknowns},
    {"构件总内力", StepKind::Superposition},
};

// Indexed by CalculationModel.
constexpr std::array<std::span<const ItemRow>, 4> kItemLists{
    kDeterminateNoAttachedItems,
    kDeterminateWithAttachedItems,
    kIndeterminateNoAttachedItems,
    kIndeterminateWithAttachedItems,
};

bool IsTwoPins(const StructureModel& model)
{
    if (model.SupportCount() != 2)
        return false;
    for (const Support& s : model.Supports)
        if (s.SupportType != kPinSupport)
            return false;
    return true;
}

// First rigid node where more than two elements meet; none when every rigid
// joint can be carried through by the chain walk.
std::optional<int> FirstOverloadedRigidJoint(const StructureModel& model)
{
    for (int n = 1; n <= model.NodeCount(); ++n)
        if (model.Nodes.at(n).JointType == kRigidJoint && ElementsAtNode(model, n) > 2)
            return n;
    return std::nullopt;
}

struct UnfitRow {
    std::string_view table;
    int row = 0;
    std::string reason;
};

std::string ElementFault(const StructureModel& model, const Element& e)
{
    for (const std::int16_t n : {e.INode, e.JNode})
        if (std::string reason = MissingNodeReason(model, n); !reason.empty())
            return reason;
    return std::string(MemberLengthFault(model.Nodes.at(e.INode), model.Nodes.at(e.JNode)));
}

std::string LoadFault(const StructureModel& model, const Load& load)
{
    std::string reason = LoadNamesNode(load) ? MissingNodeReason(model, load.NodeNo) : std::string();
    if (reason.empty() && LoadNamesElement(load))
        reason = MissingElementReason(model, load.ElementNo);
    if (reason.empty())
        reason = CoupleElementUnnamedReason(model, load);
    // A member committed again shorter may leave a load's point beyond its end.
    if (reason.empty())
        if (const std::optional<LoadValueFault> fault = MemberPlaceFault(model, load))
            reason = fault->reason;
    return reason;
}

// Row by row, the first for which `fault` gives a reason.
template <class Record, class Fault>
std::optional<UnfitRow> FirstFault(std::string_view table, const OneBasedTable<Record>& rows, Fault fault)
{
    int row = 0;
    for (const Record& record : rows) {
        ++row;
        if (std::string reason = fault(record); !reason.empty())
            return UnfitRow{table, row, std::move(reason)};
    }
    return std::nullopt;
}

// The first stored row that a later commit left without what it names: an
// element whose end node is gone or whose ends now coincide, a support at a
// node that is gone, a load at a node or on an element that is gone, a couple
// at a node that has become a hinge of several members without naming one of
// them, a load whose point or span no longer lies on its member. The
// student's loads are checked, also while unit forces stand in Loads.
std::optional<UnfitRow> FirstUnfitRow(const StructureModel& model)
{
    const auto element = [&](const Element& e) { return ElementFault(model, e); };
    const auto support = [&](const Support& s) { return MissingNodeReason(model, s.NodeNo); };
    const auto load = [&](const Load& l) { return LoadFault(model, l); };
    if (auto unfit = FirstFault(kElementTableName, model.Elements, element))
        return unfit;
    if (auto unfit = FirstFault(kSupportTableName, model.Supports, support))
        return unfit;
    return FirstFault(kLoadTableName, model.UserLoads(), load);
}

// The refusal of a structure that cannot be calculated as typed: one that
// can move, or one that holds more restraints than its statics can solve.
// None for a usable structure.
std::optional<std::string> UnusableStructureText(const StructureModel& model)
{
    const StabilityFinding finding = CheckGeometricStability(model);
    constexpr std::array<std::string_view, 3> kMotions{kMovesHorizontally, kMovesVertically, kTurns};
    switch (finding.verdict) {
        case StabilityVerdict::TooFewRestraints:
        case StabilityVerdict::BadlyArranged:
            return UnstableStructureText(
                finding.verdict == StabilityVerdict::TooFewRestraints ? kTooFewRestraints : kRestraintsBadlyArranged,
                finding.node, kMotions[static_cast<std::size_t>(finding.motion)]);
        case StabilityVerdict::Redundant:
            return RedundantRestraintsText(finding.redundant, model.IndeterminacyDegree != 0);
        case StabilityVerdict::Usable:
        case StabilityVerdict::NotChecked:
            break;
    }
    return std::nullopt;
}

}  // namespace

bool AcceptModelType(StructureModel& model, const ModelTypeChoice& choice, MessageSink& messages)
{
    if (!choice.indeterminate) {
        model.IndeterminacyDegree = 0;
        return true;
    }
    const std::optional<double> typed = CellNumber(choice.degreeText);
    if (!typed) {
        messages.Show(std::string(kDegreeName) + NotANumberReason(choice.degreeText) + std::string(kRetypeDegree));
        return false;
    }
    const std::optional<std::int16_t> degree = RoundToInt16(*typed);
    if (!degree) {
        messages.Show(kDegreeOutOfRange);
        return false;
    }
    if (*degree < 0) {
        messages.Show(kNegativeDegree);
        return false;
    }
    model.IndeterminacyDegree = *degree;
    const auto withoutEI = [](const Element& element) { return !(element.EI > 0.0f); };
    if (*degree > 0 && std::any_of(model.Elements.begin(), model.Elements.end(), withoutEI))
        messages.Show(kElementsNeedStiffness, kWarningTitle);
    return true;
}

std::vector<std::int16_t> ElementsMeetingAt(const StructureModel& model, int node)
{
    std::vector<std::int16_t> elements;
    for (std::int16_t e = 1; e <= model.ElementCount(); ++e) {
        const Element& element = model.Elements.at(e);
        if (element.INode == node || element.JNode == node)
            elements.push_back(e);
    }
    return elements;
}

int ElementsAtNode(const StructureModel& model, int node)
{
    return static_cast<int>(ElementsMeetingAt(model, node).size());
}

// A couple with ElementNo 0 acts on its node. At a hinge the members' ends
// turn apart and the couple loads one of them; unnamed, the statics would
// pick the member by the order of the tables, and the moments about the
// hinge would change with that order.
std::string CoupleElementUnnamedReason(const StructureModel& model, const Load& load)
{
    if (load.LoadType != kCouple || load.ElementNo != 0)
        return {};
    const Node* node = model.Nodes.Find(load.NodeNo);
    if (!node || node->JointType != kHingedJoint)
        return {};
    const std::vector<std::int16_t> members = ElementsMeetingAt(model, load.NodeNo);
    if (members.size() < 2)
        return {};
    return CoupleElementUnnamedText(load.NodeNo, ElementListText(members));
}

bool HasAttachedParts(const StructureModel& model)
{
    // Four restraints are a single body only as the three-hinged arrangement;
    // a fixed support with a roller carries a part hinged onto a cantilever.
    const int restraints = model.SupportConstraintCount;
    if (restraints > 4)
        return true;
    return restraints == 4 && !IsTwoPins(model);
}

CalculationModel ClassifyStructure(const StructureModel& model)
{
    const bool attached = HasAttachedParts(model);
    const bool indeterminate = model.IndeterminacyDegree != 0;
    if (attached)
        return indeterminate ? CalculationModel::IndeterminateWithAttached : CalculationModel::DeterminateWithAttached;
    return indeterminate ? CalculationModel::IndeterminateNoAttached : CalculationModel::DeterminateNoAttached;
}

std::string_view CalculationModelCaption(CalculationModel kind)
{
    const auto i = static_cast<std::size_t>(kind);
    return i < kCaptions.size() ? kCaptions[i] : std::string_view{};
}

std::vector<CalculationItem> CalculationItems(CalculationModel kind, int degree)
{
    std::vector<CalculationItem> items;
    const auto i = static_cast<std::size_t>(kind);
    if (i >= kItemLists.size())
        return items;
    const std::span<const ItemRow> rows = kItemLists[i];
    for (auto row = rows.begin(); row != rows.end();) {
        if (row->cases == RowCases::Once) {
            items.push_back({std::string(row->text), {row->step, 0}, row->needs});
            ++row;
            continue;
        }
        const auto group = std::find_if(row, rows.end(), [](const ItemRow& r) { return r.cases == RowCases::Once; });
        for (int k = 1; k <= degree; ++k)
            for (auto r = row; r != group; ++r)
                items.push_back(
                    {std::string(r->text) + SignedNumberText(k) + std::string(r->suffix), {r->step, k}, r->needs});
        row = group;
    }
    return items;
}

CalculationStep StepOfItem(const std::vector<CalculationItem>& items, int index)
{
    if (index < 0 || index >= static_cast<int>(items.size()))
        return {};
    return items[static_cast<std::size_t>(index)].step;
}

std::vector<std::string> ItemTexts(const std::vector<CalculationItem>& items)
{
    std::vector<std::string> texts;
    for (const CalculationItem& item : items)
        texts.push_back(item.text);
    return texts;
}

ModelTypeAnalysis AnalyseModelType(StructureModel& model, MessageSink& messages)
{
    ModelTypeAnalysis analysis;
    if (model.IndeterminacyDegree < 0) {
        messages.Show(kNegativeDegree);
        return analysis;
    }
    // The checks come before anything is written, so that a refused
    // structure leaves the model exactly as the student typed it.
    if (const std::optional<UnfitRow> unfit = FirstUnfitRow(model)) {
        messages.Show(UnfitRowText(unfit->table, unfit->row, unfit->reason));
        return analysis;
    }
    if (const std::optional<int> node = FirstOverloadedRigidJoint(model)) {
        messages.Show(RigidJointText(*node));
        return analysis;
    }
    if (const std::optional<std::string> unusable = UnusableStructureText(model)) {
        messages.Show(*unusable);
        return analysis;
    }
    model.SizeCaseTables();
    model.CalcModel = ClassifyStructure(model);
    analysis.accepted = true;
    analysis.kind = model.CalcModel;
    analysis.degree = model.IndeterminacyDegree;
    analysis.caption = std::string(CalculationModelCaption(analysis.kind));
    analysis.items = CalculationItems(analysis.kind, analysis.degree);
    return analysis;
}

}  // namespace tavrin
