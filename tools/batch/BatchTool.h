#pragma once

#include <filesystem>
#include <optional>
#include <ostream>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "drawing/Canvas.h"
#include "drawing/PictureFiles.h"
#include "report/Report.h"

namespace tavrin::batch {

inline constexpr int kExitCompleted = 0;  // the last item was calculated
inline constexpr int kExitStopped = 1;    // a message stopped the calculation
inline constexpr int kExitInvalid = 2;    // unreadable or invalid case, bad options, unwritable output

// Turns recorded operations into a picture file; the Qt side implements it,
// so that the case run itself needs no toolkit.
class PictureWriter {
public:
    virtual ~PictureWriter() = default;
    // The picture of a client area of width x height picture units. False,
    // with `error` set, when the file cannot be written.
    virtual bool Write(const std::filesystem::path& file, PictureFormat format, const std::vector<CanvasOp>& ops,
                       double width, double height, std::string& error) = 0;
};

// Writes the report as PDF or HTML; the Qt side implements it.
class ReportWriter {
public:
    virtual ~ReportWriter() = default;
    // False, with `error` set, when the file cannot be written.
    virtual bool Write(const std::filesystem::path& file, ReportFormat format, const Report& report,
                       std::string& error) = 0;
};

// The picture window's designed client area, and the largest one the tool
// draws (a larger one only makes huge files).
inline constexpr double kDefaultPictureUnits = 267.0;
inline constexpr double kMaxPictureUnits = 4000.0;

struct BatchOptions {
    bool json = false;
    std::optional<std::filesystem::path> pngDir;
    std::optional<std::filesystem::path> svgDir;
    std::optional<std::filesystem::path> traceFile;
    double width = kDefaultPictureUnits;
    double height = kDefaultPictureUnits;
    // The calculation written out ("计算书"), PDF or HTML by its extension.
    std::optional<std::filesystem::path> reportFile;
    // Needed for pngDir and svgDir, and for reportFile; not owned.
    PictureWriter* pictures = nullptr;
    ReportWriter* reports = nullptr;
};

// Plays one case given as JSON text and writes the result to `out` (text,
// or JSON with options.json), the pictures and the trace to their files,
// and what went wrong to `err`. Returns the exit status. Never throws,
// whatever the text holds.
int RunCaseText(std::string_view json, const BatchOptions& options, std::ostream& out, std::ostream& err) noexcept;

// The same for a case file; "-" reads standard input.
int RunCaseFile(const std::filesystem::path& file, const BatchOptions& options, std::ostream& out,
                std::ostream& err) noexcept;

struct CommandLine {
    BatchOptions options;
    std::string caseFile;
    bool help = false;
    std::string error;  // empty when the arguments were understood
};

// The arguments after the program name.
CommandLine ParseCommandLine(std::span<const std::string_view> args);

std::string_view UsageText();

}  // namespace tavrin::batch
