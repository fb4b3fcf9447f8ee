#pragma once

#include <functional>

#include <QString>

#include "report/Report.h"

namespace tavrin {

// Writes the report: PDF on A4 with the page number under every page, the
// fonts embedded, the pictures as vectors painted by the picture window's
// own painter, tables kept whole on a page where they fit and otherwise
// continued with their header rows repeated; or one HTML page with every
// picture as inline SVG. The file is replaced whole or not at all; false,
// with the cause in `cause`, when it cannot be written. Needs a
// QGuiApplication. `progress`, if given, is told how far the PDF has got
// (done of total) after each piece laid out and each page painted.
using ReportProgress = std::function<void(int done, int total)>;
bool WriteReportFile(const QString& file, ReportFormat format, const Report& report, QString& cause,
                     const ReportProgress& progress = {});

}  // namespace tavrin
