#pragma once

#include "batch/BatchTool.h"

namespace tavrin::batch {

// The program's own picture files (WritePictureFile), at the screen
// resolution the picture units were laid out for. Needs a QGuiApplication.
class QtPictureWriter : public PictureWriter {
public:
    bool Write(const std::filesystem::path& file, PictureFormat format, const std::vector<CanvasOp>& ops, double width,
               double height, std::string& error) override;
};

// The program's own report files (WriteReportFile). Needs a QGuiApplication.
class QtReportWriter : public ReportWriter {
public:
    bool Write(const std::filesystem::path& file, ReportFormat format, const Report& report,
               std::string& error) override;
};

}  // namespace tavrin::batch
