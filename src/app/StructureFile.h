#pragma once

#include <filesystem>
#include <functional>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "app/CaseFile.h"
#include "drawing/Canvas.h"
#include "forcemethod/CalculationSession.h"
#include "input/InputTables.h"
#include "model/Messages.h"
#include "model/StructureModel.h"
#include "report/Report.h"

namespace tavrin {

// The case that "保存" writes: the committed tables (the user's loads, also
// while unit forces stand in Loads), the declared degree (absent for a
// determinate structure) and the supplementary rows given so far.
StructureCase CaseOfModel(const StructureModel& model, const SupplementaryRows& rows);

// The case a front end saves: CaseOfModel with what the opened file held
// beside the tables (its description, diagram scale, the student's answers
// and the report's cover) and the displacements it asked for followed by
// those "位移计算" worked out since (`shown`).
StructureCase CaseToSave(const StructureModel& model, const SupplementaryRows& rows, const StructureCase& opened,
                         const CellRows& shown);

// What the report of `model` and its calculation is written from: the
// description, scale, displacements and cover of the file opened, dated
// today; `stopMessage` the message that stopped the calculation, if known.
ReportSource ReportSourceOf(const StructureModel& model, const CalculationState* calculation,
                            const StructureCase& opened, std::string stopMessage = {});

SupplementaryRows SupplementaryRowsOf(const StructureCase& structureCase);

// Plays the case in as the student would: each input table typed into the
// input grid and committed with "交互检查" in order (nodes, elements,
// supports, loads, then settlements and temperature changes where the case
// has them), then the model type dialog answered with the degree.
// Stops at the first refusal, whose message has gone to `messages`;
// `model` and `canvas` then hold what was done up to it.
struct CaseCommit {
    bool committed = false;
    // The input table refused; nullptr when all went in or the degree was
    // refused.
    const InputTableLayout* refusedTable = nullptr;
};
CaseCommit CommitCase(const StructureCase& structureCase, StructureModel& model, Canvas& canvas, MessageSink& messages);

// Replaces `model` by the case played into a new model (CommitCase) and
// draws it on `picture`; the input table the input form shows stays chosen.
// Empty on success. Otherwise the refusal, prefixed with the table it came
// from, and `model` and `picture` are untouched.
std::string OpenCase(const StructureCase& structureCase, StructureModel& model, Canvas& picture);
// "新建": an empty model in place of `model`, the picture cleared; the input
// table the input form shows stays chosen.
void NewStructure(StructureModel& model, Canvas& picture);

// Reads a structure file; the message names the file and what is wrong.
CaseReading ReadStructureFile(const std::filesystem::path& file);

// Writes the case over `file` (ReplaceFile) after checking that it reads
// back. Empty on success, otherwise the message, `file` unchanged.
std::string SaveStructureFile(const std::filesystem::path& file, const StructureCase& structureCase);

// The question before the structure is let go of (the program ends, another
// file or an example replaces it) while it differs from the last one saved
// or opened.
inline constexpr std::string_view kUnsavedQuestion = "是否保存对结构的修改？";
inline constexpr std::string_view kSaveAnswer = "保存";
inline constexpr std::string_view kDiscardAnswer = "不保存";
inline constexpr std::string_view kCancelAnswer = "取消";
enum class UnsavedAnswer { Save, Discard, Cancel };
enum class LeaveStep { Proceed, SaveFirst, Stay };

// Asks (through `ask`) only when `now` differs from `kept`.
LeaveStep StepBeforeLeaving(const StructureCase& now, const StructureCase& kept,
                            const std::function<UnsavedAnswer()>& ask);

// A shipped example: its file and a short title for the menu.
struct ExampleFile {
    std::filesystem::path file;
    std::string title;
};

// The example files (*.json) of `dir` by file name, titled by their
// description up to its first "：" (the kind of structure), or by the file
// name where the description says nothing.
std::vector<ExampleFile> ListExamples(const std::filesystem::path& dir);

// The first of `candidates` that is a folder.
std::optional<std::filesystem::path> FirstFolder(std::span<const std::filesystem::path> candidates);

// "Tavrin - 名字.json": the main window's caption with the file worked on.
std::string MainWindowTitle(std::string_view fileName);

}  // namespace tavrin
