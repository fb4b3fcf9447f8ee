#include "batch/QtPictureWriter.h"

#include <QString>

#include "app/Utf8Text.h"
#include "drawing/QtPictureFiles.h"
#include "report/QtReportFiles.h"

namespace tavrin::batch {

bool QtPictureWriter::Write(const std::filesystem::path& file, PictureFormat format, const std::vector<CanvasOp>& ops,
                            double width, double height, std::string& error)
{
    QString cause;
    if (WritePictureFile(QString::fromStdString(file.string()), format, {ops, width, height, PictureUnits{}}, cause))
        return true;
    error = "无法写入图片 " + QuotedInput(file.string()) + ": " + cause.toStdString();
    return false;
}

bool QtReportWriter::Write(const std::filesystem::path& file, ReportFormat format, const Report& report,
                           std::string& error)
{
    QString cause;
    if (WriteReportFile(QString::fromStdString(file.string()), format, report, cause))
        return true;
    error = ReportNotWrittenText(file.string(), cause.toStdString());
    return false;
}

}  // namespace tavrin::batch
