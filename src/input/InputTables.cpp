#include "input/InputTables.h"

#include <algorithm>
#include <iterator>
#include <optional>

#include "input/ModelCommit.h"
#include "model/CellReading.h"

namespace tavrin {

const InputTableLayout* FindInputTableLayout(int kind)
{
    if (kind >= 0 && kind < static_cast<int>(std::size(kInputTableLayouts)))
        return &kInputTableLayouts[kind];
    const int supplementary = kind - kSettlementTable;
    if (supplementary >= 0 && supplementary < static_cast<int>(std::size(kSettlementTemperatureLayouts)))
        return &kSettlementTemperatureLayouts[supplementary];
    return nullptr;
}

bool SelectInputTable(int listIndex, StructureModel& model, TextGrid& grid, InputFormState& form)
{
    grid.SetRow(1);
    grid.SetCol(0);
    const InputTableLayout* layout = FindInputTableLayout(listIndex);
    if (!layout)
        return false;
    form.panelCaption = std::string(layout->panelCaption);
    form.panelVisible = true;
    ClearGrid(grid);
    LayoutInputTable(*layout, model, grid, form);
    TypeRows(grid, CommittedRows(model, layout->kind));
    return true;
}

namespace {

// One cell as the committed table shows it and as the grid holds it say the
// same when their texts are equal, or, in a row the commit reads, when a
// typed column (each holds numbers) reads the same number from both: "0"
// where the student left a blank, "25000" for "2.5e4". Where a blank means
// "not given", a blank and a number differ (a triangle is no uniform load).
bool SameCell(const InputColumn& column, bool rowRead, std::string_view shown, std::string_view typed)
{
    if (shown == typed)
        return true;
    if (!rowRead || column.editorKind != kTypedColumn)
        return false;
    if (column.blankIsAbsent && IsBlankText(shown) != IsBlankText(typed))
        return false;
    const std::optional<double> a = CellNumber(shown);
    const std::optional<double> b = CellNumber(typed);
    return a && b && *a == *b;
}

}  // namespace

bool InputTableModified(const StructureModel& model, const TextGrid& grid)
{
    const InputTableLayout* layout = FindInputTableLayout(model.InputTableKind);
    if (!layout)
        return false;
    MemoryGrid committed(grid.Rows(), grid.Cols());
    TypeRows(committed, CommittedRows(model, layout->kind));
    const int cols = std::min(grid.Cols(), static_cast<int>(layout->columns.size()));
    for (int r = 1; r < grid.Rows(); ++r) {
        const bool rowRead = !grid.Text(r, 0).empty();
        for (int c = 0; c < cols; ++c)
            if (!SameCell(layout->columns[static_cast<std::size_t>(c)], rowRead && c > 0, committed.Text(r, c),
                          grid.Text(r, c)))
                return true;
    }
    return false;
}

bool LeaveInputTable(const InputFormState& form, StructureModel& model, TextGrid& grid, Canvas& canvas,
                     MessageSink& messages, const std::function<UncommittedAnswer()>& ask)
{
    if (!form.panelVisible || !InputTableModified(model, grid))
        return true;
    switch (ask()) {
        case UncommittedAnswer::Commit:
            return CommitInputTable(model, grid, canvas, messages);
        case UncommittedAnswer::Drop:
            TypeRows(grid, CommittedRows(model, model.InputTableKind));
            return true;
        case UncommittedAnswer::Stay:
            break;
    }
    return false;
}

void LayoutInputTable(const InputTableLayout& layout, StructureModel& model, TextGrid& grid, InputFormState& form)
{
    form.formShown = true;
    model.ColumnEditorKinds.clear();
    for (const InputColumn& column : layout.columns)
        model.ColumnEditorKinds.emplace_back(column.editorKind);
    form.formCaption = std::string(layout.formCaption);
    grid.SetCols(static_cast<int>(layout.columns.size()));
    for (int c = 0; c < grid.Cols(); ++c) {
        grid.SetColWidth(c, layout.columns[static_cast<std::size_t>(c)].widthTwips);
        grid.SetText(0, c, layout.columns[static_cast<std::size_t>(c)].header);
    }
    model.InputTableKind = layout.kind;
}

void LayoutNodeTable(StructureModel& model, TextGrid& grid, InputFormState& form)
{
    LayoutInputTable(kInputTableLayouts[kNodeTable], model, grid, form);
}

void LayoutElementTable(StructureModel& model, TextGrid& grid, InputFormState& form)
{
    LayoutInputTable(kInputTableLayouts[kElementTable], model, grid, form);
}

void LayoutSupportTable(StructureModel& model, TextGrid& grid, InputFormState& form)
{
    LayoutInputTable(kInputTableLayouts[kSupportTable], model, grid, form);
}

void LayoutLoadTable(StructureModel& model, TextGrid& grid, InputFormState& form)
{
    LayoutInputTable(kInputTableLayouts[kLoadTable], model, grid, form);
}

}  // namespace tavrin
