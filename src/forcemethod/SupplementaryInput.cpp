#include "forcemethod/SupplementaryInput.h"

#include <algorithm>
#include <map>
#include <tuple>
#include <utility>
#include <vector>

#include "analysis/GeometricStability.h"
#include "analysis/ModelType.h"
#include "analysis/PartRows.h"
#include "forcemethod/ForceMethodTexts.h"
#include "model/CellReading.h"
#include "model/ModelTexts.h"
#include "model/Vocabulary.h"

namespace tavrin {

namespace {

// The refusals of a unit-force row name the column of the cell refused.
constexpr std::string_view kUnitForceNodeColumn = UnitForceInputTable.leading[1].header;
constexpr std::string_view kUnitForceElementColumn = UnitForceInputTable.leading[2].header;
constexpr std::string_view kUnitForceDirectionColumn = UnitForceInputTable.leading[3].header;

MemoryGrid Snapshot(const TextGrid& grid)
{
    MemoryGrid copy;
    CopyGrid(grid, copy);
    return copy;
}

// The data rows (row 1 on) of `from` written back into `to`, which grows to
// hold the rows the student added below the table.
void RestoreDataRows(const TextGrid& from, TextGrid& to)
{
    if (from.Rows() > to.Rows())
        to.SetRows(from.Rows());
    for (int r = 1; r < from.Rows(); ++r)
        for (int c = 0; c < std::min(from.Cols(), to.Cols()); ++c)
            to.SetText(r, c, from.Text(r, c));
}

void ShowInputTable(CalculationContext& ctx, SupplementaryTable table, const SupplementaryTableLayout& layout,
                    const TextGrid* remembered, const CellRows* offered)
{
    CalculationFormState& form = ctx.form;
    form.inputFrameCaption = std::string(layout.frameCaption);
    ShowInputFrame(form);
    form.inputTable = table;

    TextGrid& grid = ctx.MSFlexGrid1;
    grid.SetCol(0);
    grid.SetRow(1);
    ClearGrid(grid);
    grid.SetRows(layout.rows);
    grid.SetCols(layout.cols);
    form.editorKinds.clear();
    for (int c = 0; c < layout.cols; ++c) {
        if (c < layout.leadingCount) {
            const InputColumn& column = layout.leading[static_cast<std::size_t>(c)];
            grid.SetColWidth(c, column.widthTwips);
            grid.SetText(0, c, column.header);
            form.editorKinds.emplace_back(column.editorKind);
        } else {
            grid.SetColWidth(c, layout.elementWidth);
            grid.SetText(0, c, "单元" + std::to_string(c - layout.leadingCount + 1));
            form.editorKinds.emplace_back(kTypedColumn);
        }
    }
    // What the student confirmed or applied for this item comes back, so that
    // selecting the item again shows the rows the calculation uses; before
    // that, the rows offered for it.
    if (remembered)
        RestoreDataRows(*remembered, grid);
    else if (offered && !offered->empty())
        TypeRows(grid, *offered);
}

// A unit force re-applied makes the results of its case, and everything
// formed from them, out of date.
void ForgetResultsOfCase(CalculationState& calc, int caseNo)
{
    calc.progress.Void(Product::Reactions, caseNo);
    calc.progress.Void(Product::EndForces, caseNo);
}

// Attached-part or basic-part rows confirmed anew, other than those the
// calculation used, make the results of every case out of date: each was
// calculated through the parts as they were.
void KeepPartRows(CalculationState& calc, MemoryGrid& kept, bool& confirmed, MemoryGrid rows)
{
    if (confirmed && GridCells(rows) != GridCells(kept))
        for (int c = 0; c <= calc.progress.Degree(); ++c)
            ForgetResultsOfCase(calc, c);
    kept = std::move(rows);
    confirmed = true;
    calc.progress.Void(Product::Reactions);
}

// The attached-part and basic-part rows are confirmed only when every
// number the calculation will read is one, and an attached part only where
// it hangs on its two nodes by forces alone.
std::optional<std::string> RefusedPartCell(SupplementaryTable table, const TextGrid& grid, const StructureModel& model)
{
    if (table != SupplementaryTable::AttachedParts && table != SupplementaryTable::BasicParts)
        return std::nullopt;
    std::optional<PartCellFault> fault = FirstUnreadablePartCell(grid, 1);
    if (!fault && table == SupplementaryTable::AttachedParts)
        fault = FirstUnpinnedPartNode(model, grid);
    if (!fault)
        return std::nullopt;
    return CellPlace(fault->row, grid.Text(0, fault->col)) + fault->reason + std::string(kCorrectAndConfirm);
}

bool DirectionSuits(std::string_view loadType, std::string_view direction)
{
    if (loadType == kCouple)
        return IsCoupleDirection(direction);
    return IsHorizontalDirection(direction) || IsVerticalDirection(direction);
}

}  // namespace

void SelectCalculationItem(CalculationContext& ctx, int index)
{
    CalculationFormState& form = ctx.form;
    CalculationState& calc = ctx.calc;
    form.selectedItem = index;
    // The numbers typed for another item stay in sight, but no longer as
    // its answer sheet.
    if (index != form.answers.item)
        form.answers = AnswerSheet{};
    if (!calc.analysed || index < 0 || index >= static_cast<int>(form.items.size()))
        return;

    const CalculationItem& item = form.items[static_cast<std::size_t>(index)];
    switch (item.needs) {
        case SupplementaryTable::None:
            form.calEnabled = true;
            form.inputFrameVisible = false;
            form.inputTable = SupplementaryTable::None;
            form.unitForceCase = 0;
            break;
        case SupplementaryTable::AttachedParts:
        case SupplementaryTable::BasicParts: {
            const bool attached = item.needs == SupplementaryTable::AttachedParts;
            const bool confirmed = attached ? calc.attachedPartsConfirmed : calc.basicPartsConfirmed;
            form.applyVisible = false;
            form.unitForceCase = 0;
            ShowInputTable(ctx, item.needs, attached ? AttachedPartInputTable : BasicPartInputTable,
                           !confirmed ? nullptr
                           : attached ? &calc.attachedPartRows
                                      : &calc.basicPartRows,
                           attached ? &calc.offered.attachedParts : &calc.offered.basicParts);
            break;
        }
        case SupplementaryTable::UnitForces: {
            const auto k = static_cast<std::size_t>(item.step.caseNo);
            form.applyVisible = true;
            form.unitForceCase = item.step.caseNo;
            const bool applied = k < calc.unitForces.size() && calc.unitForces[k].has_value();
            const CellRows* offered =
                k >= 1 && k <= calc.offered.unitForces.size() ? &calc.offered.unitForces[k - 1] : nullptr;
            ShowInputTable(ctx, item.needs, UnitForceInputTable, applied ? &calc.unitForceRows[k] : nullptr, offered);
            if (applied && ctx.model.UnitForcesInLoads && ctx.model.Loads == *calc.unitForces[k])
                DrawUnitForces(ctx.model, ctx.canvas);
            else
                DrawStructureWithoutLoads(ctx.model, ctx.canvas);
            break;
        }
    }
}

std::optional<OneBasedTable<Load>> ReadUnitForceRows(const TextGrid& grid, const StructureModel& model,
                                                     MessageSink& messages)
{
    OneBasedTable<Load> loads;
    for (int r = 1; r < grid.Rows(); ++r) {
        const std::string type = grid.Text(r, 0);
        if (type.empty())
            break;
        const std::string nodeText = grid.Text(r, 1);
        const std::string elementText = grid.Text(r, 2);
        const std::string direction = grid.Text(r, 3);
        if (type != kConcentratedLoad && type != kCouple) {
            messages.Show(RowPlace(r) + UnitForceKindFault(type));
            return std::nullopt;
        }
        for (const auto& [name, text] :
             {std::pair{kUnitForceNodeColumn, nodeText}, std::pair{kUnitForceElementColumn, elementText}})
            if (!CellNumber(text)) {
                messages.Show(RowPlace(r) + NamedCellFaultText(name, NotANumberReason(text)));
                return std::nullopt;
            }
        const std::optional<std::int16_t> node = ReadIntegerCell(nodeText);
        if (!node || !model.Nodes.Has(*node)) {
            messages.Show(RowPlace(r) + NamedCellMissingText(kUnitForceNodeColumn, nodeText));
            return std::nullopt;
        }
        // The statics reads a nodal load only at the ends of the members: at
        // a node no member touches the unit force would act on nothing.
        if (ElementsAtNode(model, *node) == 0) {
            messages.Show(RowPlace(r) + NodeOffTheMembersText(kUnitForceNodeColumn, nodeText));
            return std::nullopt;
        }
        const std::optional<std::int16_t> element = ReadIntegerCell(elementText);
        // A concentrated force acts at its node alone; only a couple names an
        // element (the one whose end at a hinge carries it).
        if (!element || (type == kCouple && *element != 0 && !model.Elements.Has(*element))) {
            messages.Show(RowPlace(r) + NamedCellMissingText(kUnitForceElementColumn, elementText));
            return std::nullopt;
        }
        if (!DirectionSuits(type, direction)) {
            messages.Show(RowPlace(r) + DirectionUnfitText(kUnitForceDirectionColumn, direction, type));
            return std::nullopt;
        }
        // A couple on a member's end at a hinge of several members keeps its
        // arrow, so that a pair of opposite couples there stands for the
        // continuity of the rotation; every other row acts +1.
        const bool atHinge =
            *element != 0 && model.Nodes.at(*node).JointType == kHingedJoint && ElementsAtNode(model, *node) >= 2;
        const float sense = type == kCouple && atHinge && direction == kClockwise ? -1.0f : 1.0f;
        const Load load{type, sense, direction, *node, *element};
        if (const std::string reason = CoupleElementUnnamedReason(model, load); !reason.empty()) {
            messages.Show(RowPlace(r) + UnitForceRowFaultText(reason));
            return std::nullopt;
        }
        loads.Append(load);
    }
    if (loads.Empty()) {
        messages.Show(kNoUnitForceRows);
        return std::nullopt;
    }
    return loads;
}

namespace {

// A unit force as the actions it puts on the structure: a force along x or
// y at a node, or a couple at a node (on the end of the element it names).
// Each row acts +1 along its axis or counter-clockwise, whatever arrow it
// names (a couple on a member's end at a hinge in the sense it names), as
// the statics reads it.
using UnitAction = std::tuple<std::int16_t, int, std::int16_t>;  // node, 0 x / 1 y / 2 couple, element
using ActionVector = std::map<UnitAction, double>;

ActionVector ActionsOf(const OneBasedTable<Load>& unit)
{
    ActionVector actions;
    for (const Load& load : unit) {
        if (load.LoadType == kCouple)
            actions[{load.NodeNo, 2, load.ElementNo}] += load.Magnitude;
        else
            actions[{load.NodeNo, IsHorizontalDirection(load.Direction) ? 0 : 1, 0}] += load.Magnitude;
    }
    return actions;
}

int RankOfActions(const std::vector<ActionVector>& vectors)
{
    std::map<UnitAction, std::size_t> column;
    for (const ActionVector& v : vectors)
        for (const auto& entry : v)
            column.emplace(entry.first, column.size());
    std::vector<std::vector<double>> rows;
    for (const ActionVector& v : vectors) {
        std::vector<double>& row = rows.emplace_back(column.size(), 0.0);
        for (const auto& [action, value] : v)
            row[column.at(action)] = value;
    }
    return RankOfRows(rows, 1e-9);
}

// Unit force k whose actions repeat another unit force applied, or combine
// several, gives the canonical equations a row that repeats others: they
// have no solution. The message names the unit forces.
std::optional<std::string> DependentUnitForceText(const CalculationState& calc, std::size_t k,
                                                  const OneBasedTable<Load>& unit)
{
    std::vector<ActionVector> others;
    std::vector<int> names;
    for (std::size_t j = 1; j < calc.unitForces.size(); ++j)
        if (j != k && calc.unitForces[j]) {
            others.push_back(ActionsOf(*calc.unitForces[j]));
            names.push_back(static_cast<int>(j));
        }
    const ActionVector xk = ActionsOf(unit);
    std::vector<ActionVector> all = others;
    all.push_back(xk);
    if (RankOfActions(all) > RankOfActions(others))
        return std::nullopt;
    for (std::size_t j = 0; j < others.size(); ++j)
        if (RankOfActions({others[j], xk}) == 1)
            return DependentUnitForcesText(static_cast<int>(k), {names[j]});
    return DependentUnitForcesText(static_cast<int>(k), names);
}

bool ApplyTypedUnitForces(CalculationContext& ctx)
{
    CalculationState& calc = ctx.calc;
    const auto k = static_cast<std::size_t>(ctx.form.unitForceCase);
    if (ctx.form.inputTable != SupplementaryTable::UnitForces || k < 1 || k >= calc.unitForces.size())
        return false;
    std::optional<OneBasedTable<Load>> unit = ReadUnitForceRows(ctx.MSFlexGrid1, ctx.model, ctx.messages);
    if (!unit)
        return false;
    if (const std::optional<std::string> dependent = DependentUnitForceText(calc, k, *unit)) {
        ctx.messages.Show(*dependent);
        return false;
    }
    PutUnitForcesInPlace(ctx, *unit);
    calc.unitForces[k] = std::move(unit);
    calc.unitForceRows[k] = Snapshot(ctx.MSFlexGrid1);
    ForgetResultsOfCase(calc, ctx.form.unitForceCase);

    // Redrawn from the unloaded structure, so that a corrected table does not
    // leave the arrows of the one before it.
    DrawUnitForces(ctx.model, ctx.canvas);
    return true;
}

bool ConfirmShownRows(CalculationContext& ctx)
{
    CalculationFormState& form = ctx.form;
    CalculationState& calc = ctx.calc;
    if (const std::optional<std::string> fault = RefusedPartCell(form.inputTable, ctx.MSFlexGrid1, ctx.model)) {
        ctx.messages.Show(*fault);
        return false;
    }
    form.inputFrameVisible = false;
    form.calEnabled = true;
    switch (form.inputTable) {
        case SupplementaryTable::AttachedParts:
            KeepPartRows(calc, calc.attachedPartRows, calc.attachedPartsConfirmed, Snapshot(ctx.MSFlexGrid1));
            break;
        case SupplementaryTable::BasicParts:
            KeepPartRows(calc, calc.basicPartRows, calc.basicPartsConfirmed, Snapshot(ctx.MSFlexGrid1));
            break;
        case SupplementaryTable::UnitForces:
        case SupplementaryTable::None:
            break;
    }
    return true;
}

}  // namespace

StepOutcome ApplyUnitForces(CalculationContext& ctx)
{
    return OutcomeOf(ctx, ApplyTypedUnitForces);
}

StepOutcome ConfirmSupplementaryInput(CalculationContext& ctx)
{
    return OutcomeOf(ctx, ConfirmShownRows);
}

StepOutcome SupplyShownInput(CalculationContext& ctx)
{
    if (!ctx.form.inputFrameVisible || ctx.form.inputTable == SupplementaryTable::None)
        return {};
    if (ctx.form.inputTable == SupplementaryTable::UnitForces)
        if (StepOutcome applied = ApplyUnitForces(ctx); applied.end == StepEnd::Refused)
            return applied;
    return ConfirmSupplementaryInput(ctx);
}

void CloseResultFrame(CalculationFormState& form)
{
    form.resultFrameVisible = false;
}

void CloseCalculationForm(CalculationContext& ctx)
{
    RestoreUserLoads(ctx);
    ctx.form.visible = false;
}

}  // namespace tavrin
