#include "drawing/DrawingPasses.h"
#include "drawing/PictureSvg.h"
#include "forcemethod/CaseDiagrams.h"
#include "forcemethod/Displacements.h"
#include "forcemethod/ForceMethodTexts.h"
#include "forcemethod/ResultTables.h"
#include "forcemethod/ResultViews.h"
#include "web/WebRequest.h"

namespace tavrin {

namespace {

// A grid as the page draws it: every cell (header row first), the column
// widths in twips, the current cell, the editor kind of each column and
// what its two floating editors show.
Json GridView(const TextGrid& grid, const std::vector<std::string>& kinds, const CellEditorState& editor)
{
    Json cells = Json::array();
    for (int r = 0; r < grid.Rows(); ++r) {
        Json row = Json::array();
        for (int c = 0; c < grid.Cols(); ++c)
            row.push_back(grid.Text(r, c));
        cells.push_back(std::move(row));
    }
    Json widths = Json::array();
    for (int c = 0; c < grid.Cols(); ++c)
        widths.push_back(grid.ColWidth(c));
    return {{"cells", std::move(cells)},
            {"widths", std::move(widths)},
            {"fixedCols", grid.FixedCols()},
            {"row", grid.Row()},
            {"col", grid.Col()},
            {"kinds", kinds},
            {"editor",
             {{"text", editor.text},
              {"textVisible", editor.textVisible},
              {"list", editor.listEntries},
              {"listText", editor.listText},
              {"listVisible", editor.listVisible}}}};
}

// "right", "wrong" or "" per cell of the answer sheet, [row][col] as the grid.
Json MarksView(const AnswerSheet& sheet)
{
    Json marks = Json::array();
    for (const std::vector<AnswerMark>& row : sheet.marks) {
        Json cells = Json::array();
        for (const AnswerMark mark : row)
            cells.push_back(mark == AnswerMark::Right ? "right" : mark == AnswerMark::Wrong ? "wrong" : "");
        marks.push_back(std::move(cells));
    }
    return marks;
}

}  // namespace

Json WebSession::StateJson() const
{
    bool blank = true;
    for (const CanvasOp& op : m_picture.ops)
        blank = blank && op.kind == CanvasOp::Kind::Cls;
    Json state;
    state["title"] = m_title;
    state["fileName"] = m_fileName;
    state["student"] = m_opened.student;
    state["className"] = m_opened.className;
    state["picture"] = {
        {"caption", m_picture.caption.empty() ? std::string(kStructurePictureCaption) : m_picture.caption},
        {"svg", PictureSvg(m_picture.ops, m_picture.ScaleWidth(), m_picture.ScaleHeight())},
        {"blank", blank},
        {"width", m_picture.ScaleWidth()},
        {"height", m_picture.ScaleHeight()},
        {"pixelsPerUnit", {kSvgPixelsPerUnitX, kSvgPixelsPerUnitY}}};

    Json choices = Json::array();
    for (const std::string_view choice : kInputTableChoices)
        choices.push_back(choice);
    state["input"] = {{"shown", m_inputForm.formShown},
                      {"caption", m_inputForm.formCaption},
                      {"panelVisible", m_inputForm.panelVisible},
                      {"panelCaption", m_inputForm.panelCaption},
                      {"table", m_inputForm.panelVisible ? m_model.InputTableKind : -1},
                      {"choices", std::move(choices)},
                      {"grid", GridView(m_inputGrid, m_model.ColumnEditorKinds, m_inputEditor.State())}};
    state["modelType"] = {{"shown", m_modelTypeShown}, {"degree", m_model.IndeterminacyDegree}};

    const bool current = StillAsAnalysed(m_model, m_calc);
    Json items = Json::array();
    for (std::size_t m = 0; m < m_form.items.size(); ++m)
        items.push_back(
            {{"text", m_form.items[m].text}, {"stands", current && ItemStands(m_calc, m, m_form.items[m].step)}});
    Json kinds = Json::array();
    for (const std::string_view kind : DisplacementKindList)
        kinds.push_back(kind);
    state["calculation"] = {{"shown", m_form.visible},
                            {"caption", m_form.caption},
                            {"items", std::move(items)},
                            {"selected", m_form.selectedItem},
                            {"calEnabled", m_form.calEnabled},
                            {"caseDiagramEnabled", CaseDiagramEnabled(m_model, m_form, m_calc)},
                            {"ledgerEnabled", ResultViewAvailable(m_calc, ResultView::Ledger)},
                            {"reactionsEnabled", ResultViewAvailable(m_calc, ResultView::FinalReactions)},
                            {"checksEnabled", ResultViewAvailable(m_calc, ResultView::Checks)},
                            {"displacementEnabled", RealMomentsKnown(m_model, m_calc)},
                            {"displacementKinds", std::move(kinds)},
                            {"result",
                             {{"visible", m_form.resultFrameVisible},
                              {"caption", m_form.resultFrameCaption},
                              {"signs", SignLegend(m_grid2)},
                              {"answering", m_form.answers.item >= 0},
                              {"marks", MarksView(m_form.answers)},
                              {"grid", GridView(m_grid2, m_form.answers.editorKinds, m_answerEditor.State())}}},
                            {"input",
                             {{"visible", m_form.inputFrameVisible},
                              {"caption", m_form.inputFrameCaption},
                              {"applyVisible", m_form.applyVisible},
                              {"grid", GridView(m_grid1, m_form.editorKinds, m_unitEditor.State())}}}};

    if (m_choice) {
        Json restraints = Json::array();
        for (std::size_t i = 0; i < m_choice->original.restraints.size(); ++i)
            restraints.push_back(
                {{"text", RestraintText(m_choice->original.restraints[i])}, {"ticked", bool(m_choice->ticked[i])}});
        state["choice"] = {{"title", m_choice->compared ? kCompareBasicSystemTitle : kChooseBasicSystemTitle},
                           {"lead", BasicSystemLead(m_choice->degree)},
                           {"restraints", std::move(restraints)},
                           {"note", m_choice->note},
                           {"comparison", m_choice->comparison}};
    } else {
        state["choice"] = nullptr;
    }
    return state;
}

}  // namespace tavrin
