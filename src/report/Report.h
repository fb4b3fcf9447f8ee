#pragma once

#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "drawing/Canvas.h"
#include "drawing/PictureFiles.h"
#include "forcemethod/CalculationSession.h"
#include "model/StructureModel.h"
#include "model/TextGrid.h"

namespace tavrin {

// The calculation written out as the worked solution a student hands in
// ("计算书"): built once from the model and the calculation, then written
// as PDF or HTML by the writers of the toolkit layer.

// Text in the course's notation: δ11 is "δ" followed by "11" lowered.
enum class Script { Normal, Sub, Sup };
struct TextRun {
    std::string text;
    Script script = Script::Normal;
    bool operator==(const TextRun&) const = default;
};
using RichText = std::vector<TextRun>;

// The plain text of runs, scripts flattened: "δ11X1 + Δ1P = 0".
std::string PlainText(const RichText& text);

struct ReportBlock {
    enum class Kind {
        Heading,     // a numbered section
        Subheading,  // an item of the calculation, a diagram group
        Paragraph,
        Equation,    // one line of a formula, set apart; a run of them is one system
        Derivation,  // a formula worked out with numbers, set apart by itself
        Table,       // `text` its caption, `table` its cells, header row first
        Picture,     // `text` its caption, `ops` drawn on `width` x `height` picture units
        Stop,        // where an unfinished calculation stopped, and why
    };
    Kind kind = Kind::Paragraph;
    RichText text;
    CellRows table;
    std::vector<CanvasOp> ops;
    double width = 0.0;
    double height = 0.0;
    // Set on the sentence that concludes the element before it (a
    // displacement's value after its working): the two share a page.
    bool keepWithPrevious = false;
};

struct Report {
    std::string title;
    std::vector<ReportBlock> blocks;
    // False when the calculation has not reached its last item.
    bool complete = false;
};

// The structure is drawn at one scale throughout the report: fitted into
// the middle 60 % of a client area of this many picture units (at most
// 192 x 156 for the nodes), every picture then cut to what it shows with
// kReportPictureMargin all round, so that a beam makes a low wide picture
// and a frame a high one.
inline constexpr double kReportPictureWidth = 320.0;
inline constexpr double kReportPictureHeight = 260.0;
inline constexpr double kReportPictureMargin = 6.0;

// What the report is written from.
struct ReportSource {
    // The structure as the calculation left it (unit forces may stand in
    // Loads: the user's loads are drawn).
    const StructureModel& model;
    // The calculation of the form; nullptr before the first analysis.
    const CalculationState* calculation = nullptr;
    std::string description;  // what the structure file says it holds
    std::string date;         // ReportDate
    // The answer to the diagrams' scale prompt; none for the automatic scale.
    std::optional<std::string> scale;
    // The last message of a calculation that a message stopped, if known.
    std::string stopMessage;
    // The displacements the structure file asks for (node and kind rows).
    CellRows displacements;
    // 姓名 and 班级 of the cover; blank lines to fill in by hand when empty.
    std::string student;
    std::string className;
};

// In order: the structure and its four input tables; the model type and,
// with redundants, the basic system and the degree; each item's reactions
// and member forces as the calculation form showed them; with redundants
// the MP and M̄k diagrams, the canonical equations in symbols and in
// numbers, the coefficient table and the graph-multiplication ledger, the
// unknowns; the superposition, the total member forces, the final
// reactions, the final M, V and N diagrams and the checks; when the source
// asks for displacements, each with its unit load's table and ledger and
// the sentence of its sense, then the deflected shape. An item counts
// only while its result still stands in the calculation (its step not
// undone by a later input); the report ends at the first item that does
// not, with a Stop block saying so. The model is only read.
Report BuildReport(const ReportSource& source);

// "2025年3月4日".
std::string ReportDate(int year, int month, int day);
// Today's date on this computer, as ReportDate writes it.
std::string ReportDateToday();

enum class ReportFormat { Pdf, Html };
struct ReportFileKind {
    ReportFormat format;
    std::string_view extension;  // with its dot, lower case
    std::string_view filter;     // the export dialog's line for it
};
inline constexpr ReportFileKind kReportFileKinds[] = {
    {ReportFormat::Pdf, ".pdf", "PDF 文档 (*.pdf)"},
    {ReportFormat::Html, ".html", "HTML 网页 (*.html *.htm)"},
};

// The format a file name's extension names (".htm" too), in any letter
// case; none for another extension.
std::optional<ReportFormat> ReportFormatOfName(std::string_view fileName);

using ReportFile = ChosenFile<ReportFormat>;
// A report extension decides the format; any other name is written in the
// format of the dialog's chosen filter, with its extension added.
ReportFile ChooseReportFile(std::string_view chosenName, ReportFormat filtered);

// The report as one self-contained UTF-8 XHTML page: tables as HTML
// tables, scripts as <sub>/<sup>, each picture as the inline SVG that
// `svgOf` makes of its operations (an <svg> element, no XML declaration).
std::string ReportHtml(const Report& report, const std::function<std::string(const ReportBlock&)>& svgOf);

// "无法写入计算书“/tmp/a.pdf”：Permission denied".
inline std::string ReportNotWrittenText(std::string_view fileName, std::string_view cause)
{
    return "无法写入计算书“" + std::string(fileName) + "”：" + std::string(cause);
}
inline constexpr std::string_view kReportNotPainted = "无法排版计算书";
inline constexpr std::string_view kNoStructureYet = "还没有输入结构，无法导出计算书。";

}  // namespace tavrin
