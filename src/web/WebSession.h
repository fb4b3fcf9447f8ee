#pragma once

#include <filesystem>
#include <nlohmann/json.hpp>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "app/CaseFile.h"
#include "drawing/Canvas.h"
#include "forcemethod/BasicSystemChoice.h"
#include "forcemethod/CalculationSession.h"
#include "input/CellEditor.h"
#include "input/InputTables.h"
#include "model/Messages.h"
#include "model/StructureModel.h"
#include "model/TextGrid.h"

namespace tavrin {

// The picture window of the web page: the operations drawn since the last
// Cls, which the page shows as SVG, and the caption the drawing gave it.
class ShownPicture : public RecordingCanvas {
public:
    using RecordingCanvas::RecordingCanvas;

protected:
    void DoCls() override
    {
        ops.clear();
        RecordingCanvas::DoCls();
    }
};

// The program behind the web page: one structure model with the forms of
// the desktop program as plain state (the input form, the model type
// dialog, the calculation form, the choice of the basic system), driven by
// requests in JSON and answering in JSON. Every rule is the core's; this
// class only carries the page's events to it, as the Qt forms carry theirs.
//
// A request is an object {"op": name, ...}; see the table of operations in
// WebSession.cpp. The answer holds "state" (what every form shows after
// the request, the picture as SVG), "messages" (shown during it, in order)
// and, where the request produced them, "ask" (a question to answer by
// sending the request again with the answer under "ask.key": the unsaved
// work, a table typed but not committed, a diagram's scale, a choice of
// case), "focus" (the control that takes the keys next), "download" (a file
// for the student: name, text, type), "report" (HTML), "examples",
// "results" (the numbers of the calculation) or "proceed".
class WebSession {
public:
    // `examples`: the folder of the shipped example files.
    explicit WebSession(std::filesystem::path examples);
    ~WebSession();
    WebSession(const WebSession&) = delete;
    WebSession& operator=(const WebSession&) = delete;

    // Never throws: a request that is no JSON object, or names no operation,
    // is answered with an "error".
    std::string Handle(std::string_view request);

    const StructureModel& Model() const { return m_model; }

    // A request as the handlers read it, and what they answer besides the
    // state and the messages (WebRequest.h).
    struct Request;
    struct Answer;

private:
    using Handler = void (WebSession::*)(const Request&, Answer&);
    struct Operation {
        std::string_view name;
        Handler handler;
    };
    static const Operation kOperations[];

    // The requests, each the handler of one control or menu entry.
    void State(const Request&, Answer&) {}
    void Resize(const Request& request, Answer& answer);
    void Leave(const Request& request, Answer& answer);
    void New(const Request& request, Answer& answer);
    void Open(const Request& request, Answer& answer);
    void Examples(const Request& request, Answer& answer);
    void OpenExample(const Request& request, Answer& answer);
    void Save(const Request& request, Answer& answer);
    void ExportReport(const Request& request, Answer& answer);
    void ExportPicture(const Request& request, Answer& answer);
    void OpenInput(const Request& request, Answer& answer);
    void SelectTable(const Request& request, Answer& answer);
    void Commit(const Request& request, Answer& answer);
    void Undo(const Request& request, Answer& answer);
    void HidePanel(const Request& request, Answer& answer);
    void CloseInput(const Request& request, Answer& answer);
    void Grid(const Request& request, Answer& answer);
    void OpenModelType(const Request& request, Answer& answer);
    void AcceptModelType(const Request& request, Answer& answer);
    void CloseModelType(const Request& request, Answer& answer);
    void Analyse(const Request& request, Answer& answer);
    void RecommendBasicSystem(const Request& request, Answer& answer);
    void AcceptBasicSystem(const Request& request, Answer& answer);
    void CancelBasicSystem(const Request& request, Answer& answer);
    void CompareBasicSystems(const Request& request, Answer& answer);
    void OriginalStructure(const Request& request, Answer& answer);
    void SelectItem(const Request& request, Answer& answer);
    void Calculate(const Request& request, Answer& answer);
    void Check(const Request& request, Answer& answer);
    void CaseDiagram(const Request& request, Answer& answer);
    void Displacement(const Request& request, Answer& answer);
    void View(const Request& request, Answer& answer);
    void Apply(const Request& request, Answer& answer);
    void Confirm(const Request& request, Answer& answer);
    void CloseResult(const Request& request, Answer& answer);
    void CloseCalculation(const Request& request, Answer& answer);
    void RunAll(const Request& request, Answer& answer);
    void Diagram(const Request& request, Answer& answer);
    void CaseMomentDiagram(const Request& request, Answer& answer);
    void Deflection(const Request& request, Answer& answer);
    void AskDisplacement(const Request& request, Answer& answer);
    void Help(const Request& request, Answer& answer);
    void Menus(const Request& request, Answer& answer);
    void Results(const Request& request, Answer& answer);

    // The shell's glue, as the desktop's application object has it.
    bool LeaveTable(const Request& request);
    bool Replace(const StructureCase& opened, std::string_view file, std::string_view title);
    void FollowStructure(const StructureCase& opened, std::string_view title);
    StructureCase CaseNow() const;
    void StartAnalysis();
    void ResetCalculation();
    CalculationContext Context();
    void ShowOutcome(const StepOutcome& outcome, Answer& answer);
    CellEditor& EditorOf(std::string_view grid);

    // What the page shows (WebView.cpp).
    nlohmann::ordered_json StateJson() const;

    std::filesystem::path m_examples;
    StructureModel m_model;
    ShownPicture m_picture;
    RecordingMessages m_messages;

    // The input form frmInputPara.
    MemoryGrid m_inputGrid;
    InputFormState m_inputForm;
    CellEditor m_inputEditor;

    // The model type dialog: shown or not, the degree as typed.
    bool m_modelTypeShown = false;

    // The calculation form frmOutput.
    MemoryGrid m_grid1;
    MemoryGrid m_grid2;
    CalculationFormState m_form;
    CalculationState m_calc;
    CellEditor m_unitEditor;
    CellEditor m_answerEditor;

    // "选择基本体系" or, with a system to compare, "换一个基本体系".
    struct BasicSystemChoice {
        tavrin::OriginalStructure original;
        int degree = 0;
        std::optional<BasicSystem> compared;
        std::vector<bool> ticked;
        std::string note;
        CellRows comparison;
    };
    std::optional<BasicSystemChoice> m_choice;

    // The file worked on (its name only: the page reads and hands over
    // files, it keeps none), the case as last saved or opened, and the
    // opened file's supplementary rows for the calculation form.
    std::string m_fileName;
    std::string m_title;
    StructureCase m_kept;
    StructureCase m_opened;
    SupplementaryRows m_offered;
};

}  // namespace tavrin
