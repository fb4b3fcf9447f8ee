#include "analysis/ModelType.h"

#include <array>
#include <optional>

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

// One item per unit force k: prefix, k with its leading blank, suffix.
struct UnitForceItem {
    std::string_view prefix;
    std::string_view suffix;
};

// The items of one calculation model: those before the unit-force items,
// the unit-force items repeated for k = 1..n, and those after them.
struct ItemList {
    std::array<std::string_view, 3> before;
    int beforeCount;
    std::array<UnitForceItem, 2> perUnitForce;
    int perUnitForceCount;
    std::array<std::string_view, 3> after;
    int afterCount;
};

constexpr std::array<ItemList, 4> kItemLists{{
    {{"支座反力", "各构件内力", {}}, 2, {}, 0, {}, 0},
    {{"附属部分支座反力", "基本部分支座反力", "各构件内力"}, 3, {}, 0, {}, 0},
    {{"外荷载作用下支座反力", "外荷载作用下各构件内力", {}},
     2,
     {{{"单位力X", "作用下支座反力"}, {"单位力X", "作用下各构件内力"}}},
     2,
     {"自由项系数", "未知力求解", "构件总内力"},
     3},
    {{"外荷载作用下附属部分支座反力", "外荷载作用下基本部分支座反力", "外荷载作用下各构件内力"},
     3,
     {{{"单位力未知力X", "作用下基本部分支座反力"}, {"单位力未知力X", "作用下基本部分各构件内力"}}},
     2,
     {"自由项系数", "未知力求解", "构件总内力"},
     3},
}};

bool IsTwoPins(const StructureModel& model)
{
    if (model.SupportCount() != 2) return false;
    for (const Support& s : model.Supports)
        if (s.SupportType != kPinSupport) return false;
    return true;
}

// First rigid node where more than two elements meet; none when every rigid
// joint can be carried through by the chain walk.
std::optional<int> FirstOverloadedRigidJoint(const StructureModel& model)
{
    for (int n = 1; n <= model.NodeCount(); ++n)
        if (model.Nodes.at(n).JointType == kRigidJoint && ElementsAtNode(model, n) > 2) return n;
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
        if (std::string reason = MissingNodeReason(model, n); !reason.empty()) return reason;
    return std::string(MemberLengthFault(MemberGeometry(model.Nodes.at(e.INode), model.Nodes.at(e.JNode)).Length));
}

std::string LoadFault(const StructureModel& model, const Load& load)
{
    std::string reason = LoadNamesNode(load) ? MissingNodeReason(model, load.NodeNo) : std::string();
    if (reason.empty() && LoadNamesElement(load)) reason = MissingElementReason(model, load.ElementNo);
    return reason;
}

// Row by row, the first for which `fault` gives a reason.
template <class Record, class Fault>
std::optional<UnfitRow> FirstFault(std::string_view table, const OneBasedTable<Record>& rows, Fault fault)
{
    int row = 0;
    for (const Record& record : rows) {
        ++row;
        if (std::string reason = fault(record); !reason.empty()) return UnfitRow{table, row, std::move(reason)};
    }
    return std::nullopt;
}

// The first stored row that a later commit left without what it names: an
// element whose end node is gone or whose ends now coincide, a support at a
// node that is gone, a load at a node or on an element that is gone. The
// student's loads are checked, also while unit forces stand in Loads.
std::optional<UnfitRow> FirstUnfitRow(const StructureModel& model)
{
    const auto element = [&](const Element& e) { return ElementFault(model, e); };
    const auto support = [&](const Support& s) { return MissingNodeReason(model, s.NodeNo); };
    const auto load = [&](const Load& l) { return LoadFault(model, l); };
    if (auto unfit = FirstFault(kElementTableName, model.Elements, element)) return unfit;
    if (auto unfit = FirstFault(kSupportTableName, model.Supports, support)) return unfit;
    return FirstFault(kLoadTableName, model.UserLoads(), load);
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
    return true;
}

int ElementsAtNode(const StructureModel& model, int node)
{
    int count = 0;
    for (const Element& e : model.Elements)
        if (e.INode == node || e.JNode == node) ++count;
    return count;
}

bool HasAttachedParts(const StructureModel& model)
{
    // Four restraints are a single body only as the three-hinged arrangement;
    // a fixed support with a roller carries a part hinged onto a cantilever.
    const int restraints = model.SupportConstraintCount;
    if (restraints > 4) return true;
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

std::vector<std::string> CalculationItems(CalculationModel kind, int degree)
{
    std::vector<std::string> items;
    const auto i = static_cast<std::size_t>(kind);
    if (i >= kItemLists.size()) return items;
    const ItemList& list = kItemLists[i];
    for (int b = 0; b < list.beforeCount; ++b) items.emplace_back(list.before[static_cast<std::size_t>(b)]);
    if (list.perUnitForceCount > 0) {
        for (int k = 1; k <= degree; ++k)
            for (int u = 0; u < list.perUnitForceCount; ++u) {
                const UnitForceItem& item = list.perUnitForce[static_cast<std::size_t>(u)];
                items.push_back(std::string(item.prefix) + SignedNumberText(k) + std::string(item.suffix));
            }
    }
    for (int a = 0; a < list.afterCount; ++a) items.emplace_back(list.after[static_cast<std::size_t>(a)]);
    return items;
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
