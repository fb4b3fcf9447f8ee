#include "web/WebSession.h"

#include <utility>

#include "analysis/ModelType.h"
#include "app/ShellMenus.h"
#include "app/ShellTexts.h"
#include "app/StructureFile.h"
#include "diagrams/InternalForceDiagrams.h"
#include "drawing/DrawingPasses.h"
#include "drawing/PictureFiles.h"
#include "drawing/PictureSvg.h"
#include "forcemethod/AnswerCheck.h"
#include "forcemethod/CalculationDriver.h"
#include "forcemethod/CaseDiagrams.h"
#include "forcemethod/DeflectedShape.h"
#include "forcemethod/Displacements.h"
#include "forcemethod/ForceMethodTexts.h"
#include "forcemethod/ResultViews.h"
#include "forcemethod/SupplementaryInput.h"
#include "input/InputTexts.h"
#include "input/ModelCommit.h"
#include "model/DecimalChars.h"
#include "report/Report.h"
#include "report/ReportTexts.h"
#include "web/WebRequest.h"

namespace tavrin {

namespace {

// A question the request cannot go on without: the page asks the student
// and sends the request again with the answer under `key`. Thrown by the
// hosts the core asks through, and caught where the request is handled;
// what the request did before it is done again with the answer.
struct Question {
    Json ask;
};

Json Choices(std::initializer_list<std::pair<std::string_view, std::string_view>> answers)
{
    Json choices = Json::array();
    for (const auto& [value, text] : answers)
        choices.push_back({{"value", value}, {"text", text}});
    return choices;
}

// The answer to a question of two or three buttons, asked when the request
// does not carry it yet.
std::string AnswerTo(const WebSession::Request& request, const char* key, std::string_view question, Json choices)
{
    if (!request.Has(key))
        throw Question{{{"key", key}, {"kind", "buttons"}, {"question", question}, {"choices", std::move(choices)}}};
    return request.Text(key);
}

// The diagrams' scale, asked as the desktop's input box asks it: a text, or
// null for a cancelled box (the automatic scale).
class PageDiagramHost : public DiagramHost {
public:
    explicit PageDiagramHost(const WebSession::Request& request) : m_request(request) {}
    void ShowPicture(std::string_view) override {}
    std::optional<std::string> AskScale(std::string_view prompt, std::string_view title) override
    {
        if (!m_request.Has("scale"))
            throw Question{{{"key", "scale"}, {"kind", "text"}, {"question", prompt}, {"title", title}}};
        if (!m_request.json["scale"].is_string())
            return std::nullopt;
        return m_request.Text("scale");
    }

private:
    const WebSession::Request& m_request;
};

std::string WithSuffix(std::string name)
{
    const std::string suffix = "." + std::string(kStructureFileSuffix);
    if (name.empty())
        name = "结构";
    if (name.size() < suffix.size() || name.compare(name.size() - suffix.size(), suffix.size(), suffix) != 0)
        name += suffix;
    return name;
}

std::string BaseName(const std::string& file)
{
    const std::size_t dot = file.rfind('.');
    return dot == std::string::npos ? file : file.substr(0, dot);
}

Json ShownFocus(std::string_view grid, const EditorActions& actions)
{
    if (actions.placeTextEditor)
        return std::string(grid) + "-text";
    if (actions.placeListEditor)
        return std::string(grid) + "-list";
    if (actions.focusGrid)
        return std::string(grid) + "-grid";
    return nullptr;
}

Json DownloadOf(std::string name, std::string text, std::string_view type)
{
    return {{"name", std::move(name)}, {"text", std::move(text)}, {"type", type}};
}

}  // namespace

// The page's controls and menu entries, by the name its requests give.
const WebSession::Operation WebSession::kOperations[] = {
    {"state", &WebSession::State},
    {"resize", &WebSession::Resize},
    {"leave", &WebSession::Leave},
    {"new", &WebSession::New},
    {"open", &WebSession::Open},
    {"examples", &WebSession::Examples},
    {"openExample", &WebSession::OpenExample},
    {"save", &WebSession::Save},
    {"report", &WebSession::ExportReport},
    {"exportPicture", &WebSession::ExportPicture},
    {"openInput", &WebSession::OpenInput},
    {"selectTable", &WebSession::SelectTable},
    {"commit", &WebSession::Commit},
    {"undo", &WebSession::Undo},
    {"hidePanel", &WebSession::HidePanel},
    {"closeInput", &WebSession::CloseInput},
    {"grid", &WebSession::Grid},
    {"openModelType", &WebSession::OpenModelType},
    {"acceptModelType", &WebSession::AcceptModelType},
    {"closeModelType", &WebSession::CloseModelType},
    {"analyse", &WebSession::Analyse},
    {"recommendBasicSystem", &WebSession::RecommendBasicSystem},
    {"acceptBasicSystem", &WebSession::AcceptBasicSystem},
    {"cancelBasicSystem", &WebSession::CancelBasicSystem},
    {"compareBasicSystems", &WebSession::CompareBasicSystems},
    {"originalStructure", &WebSession::OriginalStructure},
    {"selectItem", &WebSession::SelectItem},
    {"calculate", &WebSession::Calculate},
    {"check", &WebSession::Check},
    {"caseDiagram", &WebSession::CaseDiagram},
    {"displacement", &WebSession::Displacement},
    {"view", &WebSession::View},
    {"apply", &WebSession::Apply},
    {"confirm", &WebSession::Confirm},
    {"closeResult", &WebSession::CloseResult},
    {"closeCalculation", &WebSession::CloseCalculation},
    {"runAll", &WebSession::RunAll},
    {"diagram", &WebSession::Diagram},
    {"caseMomentDiagram", &WebSession::CaseMomentDiagram},
    {"deflection", &WebSession::Deflection},
    {"askDisplacement", &WebSession::AskDisplacement},
    {"help", &WebSession::Help},
    {"results", &WebSession::Results},
    {"menus", &WebSession::Menus},
};

namespace {

// The menu entries of the main window that the page has, by the request
// (or request:kind) each makes; the others (退出, 打印..., Web浏览器...) have
// no place in a browser.
constexpr std::pair<ShellCommand, std::string_view> kMenuRequests[] = {
    {ShellCommand::Separator, "-"},
    {ShellCommand::New, "new"},
    {ShellCommand::Open, "open"},
    {ShellCommand::Save, "save"},
    {ShellCommand::ExportPicture, "exportPicture"},
    {ShellCommand::ExportReport, "report"},
    {ShellCommand::ModelType, "openModelType"},
    {ShellCommand::InputFigure, "openInput"},
    {ShellCommand::AnalyseModelType, "analyse"},
    {ShellCommand::CompareBasicSystems, "compareBasicSystems"},
    {ShellCommand::MomentDiagram, "diagram:moment"},
    {ShellCommand::AxialDiagram, "diagram:axial"},
    {ShellCommand::ShearDiagram, "diagram:shear"},
    {ShellCommand::CaseMomentDiagram, "caseMomentDiagram"},
    {ShellCommand::Displacement, "askDisplacement"},
    {ShellCommand::DeflectedShape, "deflection"},
    {ShellCommand::OriginalStructure, "originalStructure"},
    {ShellCommand::HelpTopics, "help:topics"},
    {ShellCommand::About, "help:about"},
};

}  // namespace

WebSession::WebSession(std::filesystem::path examples)
    : m_examples(std::move(examples)),
      m_inputGrid(kInputGridRows, 2),
      m_inputEditor(m_inputGrid, m_model, m_model.ColumnEditorKinds, kInputFormEditorRules),
      m_unitEditor(m_grid1, m_model, m_form.editorKinds, kCalculationFormEditorRules),
      m_answerEditor(m_grid2, m_model, m_form.answers.editorKinds, kAnswerSheetEditorRules)
{
    m_title = MainWindowTitle({});
    m_kept = CaseNow();
}

WebSession::~WebSession() = default;

std::string WebSession::Handle(std::string_view text)
{
    Json parsed = Json::parse(text, nullptr, false);
    Answer answer;
    m_messages.shown.clear();
    if (!parsed.is_object() || !parsed.contains("op") || !parsed["op"].is_string()) {
        answer.json["error"] = "请求应是带有 op 的 JSON 对象";
        return answer.json.dump();
    }
    const Request request{parsed};
    const std::string op = request.Text("op");
    const Operation* operation = nullptr;
    for (const Operation& o : kOperations)
        if (o.name == op)
            operation = &o;
    if (operation == nullptr) {
        answer.json["error"] = "没有这个操作：" + op;
        return answer.json.dump();
    }
    // What the student typed into a floating editor and the page has not
    // handed on yet: the rules read it as they read the Qt editors.
    if (const auto editors = parsed.find("editors"); editors != parsed.end() && editors->is_object())
        for (const auto& [grid, typed] : editors->items()) {
            if (grid != "input" && grid != "units" && grid != "answers")
                continue;
            if (typed.contains("text") && typed["text"].is_string())
                EditorOf(grid).SetText(typed["text"].get<std::string>());
            if (typed.contains("list") && typed["list"].is_string())
                EditorOf(grid).SetListText(typed["list"].get<std::string>());
        }
    try {
        (this->*operation->handler)(request, answer);
    } catch (const Question& question) {
        answer.json["ask"] = question.ask;
    } catch (const std::exception& fault) {
        answer.json["error"] = fault.what();
    }
    Json messages = Json::array();
    for (const ShownMessage& m : m_messages.shown)
        messages.push_back({{"text", m.text}, {"title", m.title}});
    answer.json["messages"] = std::move(messages);
    answer.json["state"] = StateJson();
    return answer.json.dump();
}

CellEditor& WebSession::EditorOf(std::string_view grid)
{
    if (grid == "units")
        return m_unitEditor;
    if (grid == "answers")
        return m_answerEditor;
    return m_inputEditor;
}

CalculationContext WebSession::Context()
{
    return {m_model, m_grid1, m_grid2, m_form, m_calc, m_picture, m_messages};
}

// ---- the main window

void WebSession::Resize(const Request& request, Answer&)
{
    m_picture.SetScaleSize(request.Real("width", m_picture.ScaleWidth()),
                           request.Real("height", m_picture.ScaleHeight()));
    RedrawPicture(m_model, m_picture);
}

// Before the structure is let go of: the input table typed but not
// committed, then the work not saved ("保存" hands the file over first).
void WebSession::Leave(const Request& request, Answer& answer)
{
    answer.json["proceed"] = false;
    if (!LeaveTable(request))
        return;
    const LeaveStep step = StepBeforeLeaving(CaseNow(), m_kept, [&request] {
        const std::string chosen =
            AnswerTo(request, "unsaved", kUnsavedQuestion,
                     Choices({{"save", kSaveAnswer}, {"discard", kDiscardAnswer}, {"cancel", kCancelAnswer}}));
        return chosen == "save"      ? UnsavedAnswer::Save
               : chosen == "discard" ? UnsavedAnswer::Discard
                                     : UnsavedAnswer::Cancel;
    });
    if (step == LeaveStep::Stay)
        return;
    if (step == LeaveStep::SaveFirst) {
        Save(request, answer);
        if (!answer.json.contains("download"))
            return;
    }
    answer.json["proceed"] = true;
}

void WebSession::New(const Request&, Answer&)
{
    NewStructure(m_model, m_picture);
    FollowStructure(StructureCase{}, {});
}

void WebSession::Open(const Request& request, Answer&)
{
    const std::string name = request.Text("name");
    // A file the page could not fetch or read, with the cause in its words.
    if (request.Has("fault")) {
        m_messages.Show(FileFault(kOpenFailed, name, request.Text("fault")));
        return;
    }
    const CaseReading reading = ReadCase(request.Text("text"));
    if (!reading.value) {
        m_messages.Show(FileFault(kOpenFailed, name, reading.error));
        return;
    }
    if (Replace(*reading.value, name, name))
        m_fileName = name;
}

void WebSession::Examples(const Request&, Answer& answer)
{
    Json examples = Json::array();
    for (const ExampleFile& example : ListExamples(m_examples))
        examples.push_back({{"file", example.file.filename().string()}, {"title", example.title}});
    answer.json["examples"] = std::move(examples);
}

// An example is one of the folder's own files, named as Examples lists it.
void WebSession::OpenExample(const Request& request, Answer&)
{
    const std::string file = request.Text("file");
    for (const ExampleFile& example : ListExamples(m_examples)) {
        if (example.file.filename().string() != file)
            continue;
        const CaseReading reading = ReadStructureFile(example.file);
        if (!reading.value)
            m_messages.Show(reading.error);
        else
            Replace(*reading.value, example.file.filename().string(), example.title + std::string(kExampleMark));
        return;
    }
    m_messages.Show(FileFault(kOpenFailed, file, "没有这个示例"));
}

// "保存": the case handed over as a file under the name typed (".json"
// added), once it reads back.
void WebSession::Save(const Request& request, Answer& answer)
{
    const std::string name = WithSuffix(request.Has("name") ? request.Text("name") : m_fileName);
    const StructureCase now = CaseNow();
    const std::string text = WriteCase(now);
    if (const CaseReading check = ReadCase(text); !check.value) {
        m_messages.Show(FileFault(kSaveFailed, name, check.error));
        return;
    }
    m_kept = now;
    m_fileName = name;
    m_title = MainWindowTitle(name);
    answer.json["download"] = DownloadOf(name, text, "application/json");
}

void WebSession::ExportReport(const Request& request, Answer& answer)
{
    if (request.Has("student"))
        m_opened.student = request.Text("student");
    if (request.Has("className"))
        m_opened.className = request.Text("className");
    if (m_model.NodeCount() == 0) {
        m_messages.Show(kNoStructureYet);
        return;
    }
    const ReportSource source = ReportSourceOf(m_model, m_calc.analysed ? &m_calc : nullptr, m_opened);
    const Report report = BuildReport(source);
    // The report's pictures are on white, as on its PDF and HTML pages.
    const std::string html = ReportHtml(report, [](const ReportBlock& block) {
        return PictureSvg(block.ops, block.width, block.height, SvgSheet{.ground = Rgb{255, 255, 255}, .title = {}});
    });
    const std::string base = BaseName(m_fileName);
    answer.json["report"] = DownloadOf((base.empty() ? std::string(kReportName) : base) + ".html", html, "text/html");
}

// "导出图形...": the picture showing as an SVG file, white, its title above.
void WebSession::ExportPicture(const Request&, Answer& answer)
{
    bool blank = true;
    for (const CanvasOp& op : m_picture.ops)
        blank = blank && op.kind == CanvasOp::Kind::Cls;
    if (blank) {
        m_messages.Show(kNoPictureYet);
        return;
    }
    const std::string title = m_picture.caption;
    const std::string base = BaseName(m_fileName);
    const std::string name = (base.empty() ? title : base + std::string(kPictureNameJoint) + title) + ".svg";
    answer.json["download"] = DownloadOf(
        name, PictureSvg(m_picture.ops, m_picture.ScaleWidth(), m_picture.ScaleHeight(), {{255, 255, 255}, title}),
        "image/svg+xml");
}

bool WebSession::Replace(const StructureCase& opened, std::string_view file, std::string_view title)
{
    if (const std::string refusal = OpenCase(opened, m_model, m_picture); !refusal.empty()) {
        m_messages.Show(FileFault(kOpenFailed, std::string(file), refusal));
        return false;
    }
    FollowStructure(opened, title);
    return true;
}

// The forms follow the new structure: the input form shows its committed
// rows, the calculation form nothing until the next analysis, the dialogs
// go away.
void WebSession::FollowStructure(const StructureCase& opened, std::string_view title)
{
    m_opened = opened;
    m_offered = SupplementaryRowsOf(opened);
    ResetCalculation();
    if (m_inputForm.panelVisible) {
        SelectInputTable(m_model.InputTableKind, m_model, m_inputGrid, m_inputForm);
        m_inputEditor.Reset();
    }
    m_modelTypeShown = false;
    m_choice.reset();
    m_fileName.clear();
    m_kept = CaseNow();
    m_title = MainWindowTitle(title);
}

StructureCase WebSession::CaseNow() const
{
    return CaseToSave(m_model, KeptSupplementaryRows(m_calc), m_opened, m_calc.displacementsShown);
}

void WebSession::ResetCalculation()
{
    m_form = CalculationFormState{};
    m_calc = CalculationState{};
    m_calc.offered = m_offered;
    m_unitEditor.Reset();
    m_answerEditor.Reset();
}

// ---- the input form

bool WebSession::LeaveTable(const Request& request)
{
    m_inputEditor.FlushTextEditor();
    return LeaveInputTable(m_inputForm, m_model, m_inputGrid, m_picture, m_messages, [&request] {
        const std::string chosen =
            AnswerTo(request, "uncommitted", kUncommittedQuestion,
                     Choices({{"commit", kCommitAnswer}, {"drop", kDropAnswer}, {"stay", kStayAnswer}}));
        return chosen == "commit" ? UncommittedAnswer::Commit
               : chosen == "drop" ? UncommittedAnswer::Drop
                                  : UncommittedAnswer::Stay;
    });
}

void WebSession::OpenInput(const Request&, Answer&)
{
    m_inputForm.formShown = true;
}

void WebSession::SelectTable(const Request& request, Answer& answer)
{
    if (!LeaveTable(request))
        return;
    m_inputForm.formShown = true;
    const bool chosen = SelectInputTable(request.Number("index"), m_model, m_inputGrid, m_inputForm);
    m_inputEditor.Reset();
    if (chosen)
        answer.json["focus"] = "input-grid";
}

// "交互检查": what the student typed but has not confirmed is part of the table.
void WebSession::Commit(const Request&, Answer&)
{
    m_inputEditor.FlushTextEditor();
    CommitInputTable(m_model, m_inputGrid, m_picture, m_messages);
}

void WebSession::Undo(const Request&, Answer&)
{
    UndoTableDrawing(m_model, m_picture);
}

// "确定".
void WebSession::HidePanel(const Request& request, Answer&)
{
    if (LeaveTable(request))
        m_inputForm.panelVisible = false;
}

// "关闭窗口": next time the form opens as designed, with no table.
void WebSession::CloseInput(const Request& request, Answer&)
{
    if (!LeaveTable(request))
        return;
    ClearGrid(m_inputGrid);
    m_inputEditor.Reset();
    m_inputForm = InputFormState{};
}

// The events of a grid and its floating editors, as the Qt grid and
// QtCellEditor report them.
void WebSession::Grid(const Request& request, Answer& answer)
{
    const std::string grid = request.Text("grid");
    CellEditor& editor = EditorOf(grid);
    TextGrid& cells = grid == "units"     ? static_cast<TextGrid&>(m_grid1)
                      : grid == "answers" ? static_cast<TextGrid&>(m_grid2)
                                          : static_cast<TextGrid&>(m_inputGrid);
    const std::string action = request.Text("action");
    const int key = request.Number("key", 0);
    // A move of the current cell by the student: arrows, a click.
    const auto moveTo = [&](int row, int col) {
        if (row < 1 || row >= cells.Rows() || col < 0 || col >= cells.Cols())
            return;
        if (row == cells.Row() && col == cells.Col())
            return;
        editor.LeaveCell(cells.Row(), cells.Col());
        cells.SetRow(row);
        cells.SetCol(col);
        editor.EnterCell();
    };
    EditorActions actions;
    if (action == "key") {
        actions = editor.GridKeyPress(key, request.Text("text"));
    } else if (action == "move") {
        moveTo(request.Number("row"), request.Number("col"));
    } else if (action == "click" || action == "doubleClick") {
        editor.GridMouseDown();
        moveTo(request.Number("row"), request.Number("col"));
        actions = action == "click" ? editor.GridClick() : editor.GridDoubleClick();
    } else if (action == "textKey") {
        actions = editor.TextKeyPress(key);
    } else if (action == "listChoice") {
        actions = editor.ListChoice(request.Text("chosen"));
    } else if (action == "listKey") {
        actions = editor.ListKeyPress(key);
    } else if (action == "listFocusLost") {
        actions = editor.ListFocusLost();
    }
    answer.json["focus"] = ShownFocus(grid, actions);
}

// ---- the model type dialog

// Each opening starts from the determinate choice with the degree empty;
// the page keeps what the student chooses until "确定".
void WebSession::OpenModelType(const Request&, Answer&)
{
    m_modelTypeShown = true;
}

void WebSession::AcceptModelType(const Request& request, Answer&)
{
    if (tavrin::AcceptModelType(m_model, {request.Flag("indeterminate"), request.Text("degree")}, m_messages))
        m_modelTypeShown = false;
}

void WebSession::CloseModelType(const Request&, Answer&)
{
    m_modelTypeShown = false;
}

// ---- the calculation

// "计算类型分析": the calculation that goes on, or the choice of the basic
// system of a structure typed whole, or the analysis and a new calculation.
void WebSession::Analyse(const Request&, Answer&)
{
    StartAnalysis();
}

void WebSession::StartAnalysis()
{
    const bool goesOn = m_form.visible && StillAsAnalysed(m_model, m_calc);
    if (!goesOn && OffersBasicSystemChoice(m_model)) {
        ResetCalculation();
        BasicSystemChoice choice{OriginalOfTyped(m_model), m_model.IndeterminacyDegree, std::nullopt, {}, {}, {}};
        choice.ticked.assign(choice.original.restraints.size(), false);
        m_choice = std::move(choice);
        return;
    }
    CalculationContext ctx = Context();
    if (AnalyseAndOpenCalculation(ctx) && !goesOn) {
        m_unitEditor.Reset();
        m_answerEditor.Reset();
    }
}

void WebSession::RecommendBasicSystem(const Request&, Answer&)
{
    if (!m_choice)
        return;
    std::string why;
    const std::optional<BasicSystem> recommended =
        tavrin::RecommendBasicSystem(m_choice->original, m_choice->degree, why);
    if (!recommended) {
        m_choice->note = why;
        return;
    }
    for (std::size_t i = 0; i < m_choice->ticked.size(); ++i)
        m_choice->ticked[i] = std::find(recommended->released.begin(), recommended->released.end(),
                                        m_choice->original.restraints[i]) != recommended->released.end();
    m_choice->note = kRecommendationRule;
}

// "确定" of the choice: the basic system typed into the tables in place of
// the structure, its unit forces offered, and the analysis goes on; or,
// comparing, the two side by side.
void WebSession::AcceptBasicSystem(const Request& request, Answer&)
{
    if (!m_choice)
        return;
    if (const auto ticked = request.json.find("ticked"); ticked != request.json.end() && ticked->is_array())
        for (std::size_t i = 0; i < m_choice->ticked.size() && i < ticked->size(); ++i)
            m_choice->ticked[i] = (*ticked)[i].is_boolean() && (*ticked)[i].get<bool>();
    std::vector<Restraint> released;
    for (std::size_t i = 0; i < m_choice->ticked.size(); ++i)
        if (m_choice->ticked[i])
            released.push_back(m_choice->original.restraints[i]);
    std::string why;
    std::optional<BasicSystem> basic = FormBasicSystem(m_choice->original, released, m_choice->degree, why);
    if (!basic) {
        m_choice->note = why;
        return;
    }
    if (m_choice->compared) {
        const std::optional<BasicSystemSolution> a = SolveBasicSystem(*m_choice->compared, why);
        const std::optional<BasicSystemSolution> b = a ? SolveBasicSystem(*basic, why) : std::nullopt;
        m_choice->note = b ? std::string(kComparisonNote) : why;
        m_choice->comparison = b ? tavrin::CompareBasicSystems(*a, *b) : CellRows{};
        return;
    }
    m_choice.reset();
    if (!TakeBasicSystem(m_model, *basic, m_picture, m_messages))
        return;
    m_offered = {basic->attachedParts, basic->basicParts, basic->unitForces};
    m_calc.offered = m_offered;
    StartAnalysis();
}

void WebSession::CancelBasicSystem(const Request&, Answer&)
{
    m_choice.reset();
}

// "换一个基本体系...".
void WebSession::CompareBasicSystems(const Request&, Answer&)
{
    std::string why;
    std::optional<BasicSystem> current = BasicSystemOfCalculation(m_model, m_calc, why);
    std::optional<tavrin::OriginalStructure> original =
        current ? OriginalOfCalculation(m_model, m_calc, why) : std::nullopt;
    if (!original) {
        m_messages.Show(why);
        return;
    }
    BasicSystemChoice choice{std::move(*original), m_model.IndeterminacyDegree, std::move(current), {}, {}, {}};
    for (const Restraint& r : choice.original.restraints)
        choice.ticked.push_back(std::find(choice.compared->released.begin(), choice.compared->released.end(), r) !=
                                choice.compared->released.end());
    m_choice = std::move(choice);
}

// "原结构".
void WebSession::OriginalStructure(const Request&, Answer&)
{
    std::string why;
    const std::optional<tavrin::OriginalStructure> original = OriginalOfCalculation(m_model, m_calc, why);
    const std::optional<StructureModel> whole = original ? OriginalModel(*original, why) : std::nullopt;
    if (!whole) {
        m_messages.Show(why);
        return;
    }
    DrawStructureWithLoads(*whole, m_picture);
}

void WebSession::SelectItem(const Request& request, Answer& answer)
{
    m_answerEditor.FlushTextEditor();
    m_unitEditor.Reset();
    CalculationContext ctx = Context();
    SelectCalculationItem(ctx, request.Number("index"));
    m_answerEditor.Reset();
    if (m_form.inputFrameVisible)
        answer.json["focus"] = "units-grid";
}

void WebSession::Calculate(const Request&, Answer& answer)
{
    m_answerEditor.FlushTextEditor();
    CalculationContext ctx = Context();
    ShowOutcome(RunCalculationStep(ctx), answer);
}

// "核对": what the student typed but has not confirmed is part of the answer.
void WebSession::Check(const Request&, Answer& answer)
{
    m_answerEditor.FlushTextEditor();
    CalculationContext ctx = Context();
    ShowOutcome(CheckAnswers(ctx), answer);
    if (m_form.answers.item >= 0)
        answer.json["focus"] = "answers-grid";
}

void WebSession::CaseDiagram(const Request& request, Answer& answer)
{
    m_answerEditor.FlushTextEditor();
    CalculationContext ctx = Context();
    PageDiagramHost host(request);
    ShowOutcome(DrawSelectedCaseDiagram(ctx, host), answer);
}

void WebSession::Displacement(const Request& request, Answer& answer)
{
    m_answerEditor.FlushTextEditor();
    DisplacementRequest wanted;
    if (!ReadDisplacementRequest(request.Text("node"), request.Text("kind"), wanted, m_messages))
        return;
    CalculationContext ctx = Context();
    PageDiagramHost host(request);
    ShowOutcome(ShowDisplacement(ctx, wanted, host), answer);
}

void WebSession::View(const Request& request, Answer& answer)
{
    constexpr std::pair<std::string_view, ResultView> kViews[] = {
        {"ledger", ResultView::Ledger}, {"reactions", ResultView::FinalReactions}, {"checks", ResultView::Checks}};
    m_answerEditor.FlushTextEditor();
    for (const auto& [name, view] : kViews)
        if (request.Text("view") == name) {
            CalculationContext ctx = Context();
            ShowOutcome(ShowResultView(ctx, view), answer);
        }
}

// "交互检查" of the unit force: what the student typed belongs to the table.
void WebSession::Apply(const Request&, Answer& answer)
{
    m_unitEditor.FlushTextEditor();
    CalculationContext ctx = Context();
    ShowOutcome(ApplyUnitForces(ctx), answer);
}

void WebSession::Confirm(const Request&, Answer& answer)
{
    m_unitEditor.FlushTextEditor();
    CalculationContext ctx = Context();
    const StepOutcome outcome = ConfirmSupplementaryInput(ctx);
    m_unitEditor.Reset();
    ShowOutcome(outcome, answer);
}

void WebSession::CloseResult(const Request&, Answer&)
{
    CloseResultFrame(m_form);
}

// "关闭窗口(&X)": the model keeps every result.
void WebSession::CloseCalculation(const Request&, Answer&)
{
    CalculationContext ctx = Context();
    CloseCalculationForm(ctx);
    m_unitEditor.Reset();
    m_answerEditor.Reset();
}

// The table that a refusal's message asks for takes the keys.
void WebSession::ShowOutcome(const StepOutcome& outcome, Answer& answer)
{
    m_answerEditor.Reset();
    if (outcome.end == StepEnd::Refused && m_form.visible && m_form.inputFrameVisible)
        answer.json["focus"] = "units-grid";
}

// A link's "&run=all": the structure typed whole takes the basic system the
// case names (or the recommended one), then every item runs in order, the
// rows the case offers given where an item asks for them, up to the last
// item or the first refusal; the last table shows.
void WebSession::RunAll(const Request&, Answer&)
{
    const bool goesOn = m_form.visible && StillAsAnalysed(m_model, m_calc);
    if (!goesOn && OffersBasicSystemChoice(m_model)) {
        std::string why;
        const std::optional<BasicSystem> basic =
            RequestedBasicSystem(m_model, m_opened.basicSystem.empty(), m_opened.basicSystem, why);
        if (!basic) {
            m_messages.Show(why);
            return;
        }
        if (!TakeBasicSystem(m_model, *basic, m_picture, m_messages))
            return;
        m_offered = {basic->attachedParts, basic->basicParts, basic->unitForces};
        ResetCalculation();
    }
    m_choice.reset();
    StartAnalysis();
    if (!m_form.visible || !StillAsAnalysed(m_model, m_calc))
        return;
    CalculationContext ctx = Context();
    ItemRunObserver quiet;
    CalculateEveryItem(ctx, quiet);
    m_unitEditor.Reset();
    m_answerEditor.Reset();
}

// ---- the diagrams

void WebSession::Diagram(const Request& request, Answer&)
{
    using Draw = float (*)(const StructureModel&, Canvas&, DiagramHost&);
    constexpr std::pair<std::string_view, Draw> kDiagrams[] = {
        {"moment", &DrawMomentDiagram}, {"shear", &DrawShearDiagram}, {"axial", &DrawAxialDiagram}};
    PageDiagramHost host(request);
    for (const auto& [name, draw] : kDiagrams)
        if (request.Text("kind") == name)
            draw(m_model, m_picture, host);
}

// "基本结构弯矩图": MP or one M̄k, of the cases the calculation has calculated.
void WebSession::CaseMomentDiagram(const Request& request, Answer&)
{
    const std::vector<int> cases = ReadyCases(m_model, m_calc);
    if (cases.empty()) {
        m_messages.Show(kNoCaseDiagram);
        return;
    }
    if (!request.Has("choice")) {
        Json choices = Json::array();
        const std::vector<std::string> texts = CaseDiagramChoices(cases);
        for (std::size_t i = 0; i < texts.size(); ++i)
            choices.push_back({{"value", i}, {"text", texts[i]}});
        throw Question{{{"key", "choice"},
                        {"kind", "choice"},
                        {"question", kCaseDiagramChoicePrompt},
                        {"title", kCaseDiagramChoiceTitle},
                        {"choices", std::move(choices)}}};
    }
    const int chosen = request.Number("choice");
    if (chosen < 0 || chosen >= static_cast<int>(cases.size()))
        return;
    PageDiagramHost host(request);
    DrawCaseMomentDiagram(m_model, cases[static_cast<std::size_t>(chosen)], m_picture, host);
}

// "位移图".
void WebSession::Deflection(const Request& request, Answer&)
{
    std::vector<NodeDisplacement> nodes;
    if (!m_calc.analysed) {
        m_messages.Show(kRealMomentsMissing);
        return;
    }
    PageDiagramHost host(request);
    if (ComputeNodeDisplacements(m_model, m_calc, nodes, m_messages))
        DrawDeflectedShape(m_model, nodes, m_picture, host);
}

// "位移计算...": the calculation form's node field takes the keys.
void WebSession::AskDisplacement(const Request&, Answer& answer)
{
    if (!RealMomentsKnown(m_model, m_calc)) {
        m_messages.Show(kRealMomentsMissing);
        return;
    }
    m_form.visible = true;
    answer.json["focus"] = "displacement";
}

void WebSession::Help(const Request& request, Answer& answer)
{
    if (request.Text("topic") == "about") {
        answer.json["about"] = {{"caption", kAboutCaption},
                                {"title", kProgramTitle},
                                {"description", kAboutDescription},
                                {"disclaimer", kAboutDisclaimer}};
        return;
    }
    m_messages.Show(kHelpTopicsNotice);
}

// The menu bar with the desktop's captions ("&" before the access key); the
// examples as the last entry of the first menu, a submenu.
void WebSession::Menus(const Request&, Answer& answer)
{
    Json menus = Json::array();
    for (const MenuDefinition& menu : kMenuBar) {
        Json entries = Json::array();
        for (const MenuEntry& entry : menu.entries)
            for (const auto& [command, made] : kMenuRequests)
                if (entry.command == command)
                    entries.push_back({{"caption", entry.caption}, {"request", made}});
        // A separator that closes a menu separates nothing.
        while (!entries.empty() && entries.back()["request"] == "-")
            entries.erase(entries.size() - 1);
        if (menus.empty())
            entries.push_back({{"caption", kExamplesMenuCaption}, {"request", "examples"}});
        menus.push_back({{"caption", menu.caption}, {"entries", std::move(entries)}});
    }
    answer.json["menus"] = std::move(menus);
}

// The numbers of the calculation, as the batch tool's JSON has them: each
// item's table as it last showed, the unknowns and the final end forces.
void WebSession::Results(const Request&, Answer& answer)
{
    Json steps = Json::array();
    for (std::size_t m = 0; m < m_calc.itemResults.size() && m < m_form.items.size(); ++m)
        if (m_calc.itemResults[m])
            steps.push_back({{"item", m_form.items[m].text},
                             {"title", m_calc.itemResults[m]->title},
                             {"table", m_calc.itemResults[m]->table}});
    Json redundants = Json::array();
    for (const double x : m_model.RedundantForces)
        redundants.push_back(x);
    Json elements = Json::array();
    for (const Element& e : m_model.Elements)
        elements.push_back({{"Ni", ShortestDecimal(e.Ni)},
                            {"Vi", ShortestDecimal(e.Vi)},
                            {"Mi", ShortestDecimal(e.Mi)},
                            {"Nj", ShortestDecimal(e.Nj)},
                            {"Vj", ShortestDecimal(e.Vj)},
                            {"Mj", ShortestDecimal(e.Mj)}});
    const std::size_t last = m_form.items.size();
    answer.json["results"] = {
        {"items", ItemTexts(m_form.items)},
        {"completed",
         last > 0 && StillAsAnalysed(m_model, m_calc) && ItemStands(m_calc, last - 1, m_form.items[last - 1].step)},
        {"steps", std::move(steps)},
        {"redundants", std::move(redundants)},
        {"elements", std::move(elements)},
    };
}

}  // namespace tavrin
