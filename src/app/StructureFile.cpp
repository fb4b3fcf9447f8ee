#include "app/StructureFile.h"

#include "forcemethod/Displacements.h"

#include <algorithm>
#include <utility>

#include "analysis/ModelType.h"
#include "app/ShellTexts.h"
#include "app/Utf8Text.h"
#include "forcemethod/Displacements.h"
#include "input/InputTables.h"
#include "input/ModelCommit.h"

namespace tavrin {

namespace {

// The structure in place of the model's, drawn; the input form keeps the
// table it shows.
void TakeStructure(StructureModel&& structure, StructureModel& model, Canvas& picture)
{
    structure.InputTableKind = model.InputTableKind;
    structure.ColumnEditorKinds = model.ColumnEditorKinds;
    model = std::move(structure);
    DrawStructureWithLoads(model, picture);
}

}  // namespace

StructureCase CaseOfModel(const StructureModel& model, const SupplementaryRows& rows)
{
    StructureCase structureCase;
    structureCase.nodes = CommittedRows(model, kNodeTable);
    structureCase.elements = CommittedRows(model, kElementTable);
    structureCase.supports = CommittedRows(model, kSupportTable);
    structureCase.loads = CommittedRows(model, kLoadTable);
    structureCase.settlements = CommittedRows(model, kSettlementTable);
    structureCase.temperatures = CommittedRows(model, kTemperatureTable);
    if (model.IndeterminacyDegree > 0)
        structureCase.degree = std::to_string(model.IndeterminacyDegree);
    structureCase.attachedParts = rows.attachedParts;
    structureCase.basicParts = rows.basicParts;
    structureCase.unitForces = rows.unitForces;
    return structureCase;
}

StructureCase CaseToSave(const StructureModel& model, const SupplementaryRows& rows, const StructureCase& opened,
                         const CellRows& shown)
{
    StructureCase now = CaseOfModel(model, rows);
    now.description = opened.description;
    now.scale = opened.scale;
    now.answers = opened.answers;
    now.student = opened.student;
    now.className = opened.className;
    now.displacements = AllDisplacementRequests(opened.displacements, shown);
    return now;
}

ReportSource ReportSourceOf(const StructureModel& model, const CalculationState* calculation,
                            const StructureCase& opened, std::string stopMessage)
{
    return ReportSource{
        .model = model,
        .calculation = calculation,
        .description = opened.description,
        .date = ReportDateToday(),
        .scale = opened.scale,
        .stopMessage = std::move(stopMessage),
        .displacements = opened.displacements,
        .student = opened.student,
        .className = opened.className,
    };
}

SupplementaryRows SupplementaryRowsOf(const StructureCase& structureCase)
{
    return {structureCase.attachedParts, structureCase.basicParts, structureCase.unitForces};
}

CaseCommit CommitCase(const StructureCase& structureCase, StructureModel& model, Canvas& canvas, MessageSink& messages)
{
    const std::pair<int, const CellRows*> tables[] = {{kNodeTable, &structureCase.nodes},
                                                      {kElementTable, &structureCase.elements},
                                                      {kSupportTable, &structureCase.supports},
                                                      {kLoadTable, &structureCase.loads}};
    for (const auto& [kind, rows] : tables)
        if (!CommitTableRows(model, canvas, messages, kind, *rows))
            return {false, FindInputTableLayout(kind)};
    // A case without settlements or temperature changes plays in as it
    // always did: their tables are not chosen at all.
    const std::pair<int, const CellRows*> causes[] = {{kSettlementTable, &structureCase.settlements},
                                                      {kTemperatureTable, &structureCase.temperatures}};
    for (const auto& [kind, rows] : causes)
        if (!rows->empty() && !CommitTableRows(model, canvas, messages, kind, *rows))
            return {false, FindInputTableLayout(kind)};
    return {AcceptModelType(model, {structureCase.degree.has_value(), structureCase.degree.value_or("")}, messages),
            nullptr};
}

std::string OpenCase(const StructureCase& structureCase, StructureModel& model, Canvas& picture)
{
    StructureModel opened;
    RecordingCanvas drawing(picture.ScaleWidth(), picture.ScaleHeight());
    RecordingMessages messages;
    const CaseCommit commit = CommitCase(structureCase, opened, drawing, messages);
    if (!commit.committed) {
        const std::string table = commit.refusedTable ? std::string(commit.refusedTable->panelCaption) : std::string();
        return table + (messages.shown.empty() ? std::string(kCaseNotPlayed) : messages.shown.front().text);
    }
    TakeStructure(std::move(opened), model, picture);
    return {};
}

void NewStructure(StructureModel& model, Canvas& picture)
{
    TakeStructure(StructureModel{}, model, picture);
}

CaseReading ReadStructureFile(const std::filesystem::path& file)
{
    CaseReading reading;
    const std::optional<std::string> text = ReadCaseFileText(file, reading.error);
    if (!text)
        return reading;
    reading = ReadCase(*text);
    if (!reading.value)
        reading.error = FileFault(kOpenFailed, file, reading.error);
    return reading;
}

std::string SaveStructureFile(const std::filesystem::path& file, const StructureCase& structureCase)
{
    const std::string text = WriteCase(structureCase);
    // A file the program could not open again is not written: a table
    // grown past the grid's 100 rows would be refused on reading.
    if (const CaseReading check = ReadCase(text); !check.value)
        return FileFault(kSaveFailed, file, check.error);
    std::string error;
    if (!ReplaceFile(file, text, error))
        return error;
    return {};
}

LeaveStep StepBeforeLeaving(const StructureCase& now, const StructureCase& kept,
                            const std::function<UnsavedAnswer()>& ask)
{
    if (now == kept)
        return LeaveStep::Proceed;
    switch (ask()) {
        case UnsavedAnswer::Save:
            return LeaveStep::SaveFirst;
        case UnsavedAnswer::Discard:
            return LeaveStep::Proceed;
        case UnsavedAnswer::Cancel:
            break;
    }
    return LeaveStep::Stay;
}

std::vector<ExampleFile> ListExamples(const std::filesystem::path& dir)
{
    std::vector<ExampleFile> examples;
    std::error_code ec;
    for (const auto& entry : std::filesystem::directory_iterator(dir, ec)) {
        if (entry.path().extension() != ".json" || !entry.is_regular_file(ec))
            continue;
        const CaseReading reading = ReadStructureFile(entry.path());
        std::string title = reading.value ? reading.value->description : std::string();
        title = title.substr(0, title.find(kTitleEnd));
        if (title.empty())
            title = entry.path().stem().string();
        examples.push_back({entry.path(), QuotedInput(title)});
    }
    std::sort(examples.begin(), examples.end(),
              [](const ExampleFile& a, const ExampleFile& b) { return a.file.filename() < b.file.filename(); });
    return examples;
}

std::optional<std::filesystem::path> FirstFolder(std::span<const std::filesystem::path> candidates)
{
    for (const std::filesystem::path& dir : candidates) {
        std::error_code ec;
        if (std::filesystem::is_directory(dir, ec))
            return dir;
    }
    return std::nullopt;
}

std::string MainWindowTitle(std::string_view fileName)
{
    if (fileName.empty())
        return std::string(kMainWindowCaption);
    return std::string(kMainWindowCaption) + " - " + std::string(fileName);
}

}  // namespace tavrin
