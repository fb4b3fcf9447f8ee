#include "input/InputTables.h"

#include <iterator>

#include "input/ModelCommit.h"

namespace tavrin {

const InputTableLayout* FindInputTableLayout(int kind)
{
    if (kind < 0 || kind >= static_cast<int>(std::size(kInputTableLayouts)))
        return nullptr;
    return &kInputTableLayouts[kind];
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
