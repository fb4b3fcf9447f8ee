// tavrin-batch: one case file played through the program's own forms and
// routines, without a window.

#include <iostream>
#include <optional>
#include <string_view>
#include <vector>

#include <QGuiApplication>
#include <QtGlobal>

#include "batch/BatchTool.h"
#include "batch/QtPictureWriter.h"

int main(int argc, char** argv)
{
    using namespace tavrin::batch;
    const std::vector<std::string_view> args(argv + 1, argv + argc);
    CommandLine line = ParseCommandLine(args);
    if (line.help) {
        std::cout << UsageText();
        return kExitCompleted;
    }
    if (!line.error.empty()) {
        std::cerr << "tavrin-batch: " << line.error << "\n\n" << UsageText();
        return kExitInvalid;
    }

    // Pictures need the toolkit's fonts and painting, never a screen.
    int qtArgc = 1;
    char programName[] = "tavrin-batch";
    char* qtArgv[] = {programName, nullptr};
    std::optional<QGuiApplication> application;
    QtPictureWriter writer;
    QtReportWriter reports;
    if (line.options.pngDir || line.options.svgDir || line.options.reportFile) {
        if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
            qputenv("QT_QPA_PLATFORM", QByteArrayLiteral("offscreen"));
        application.emplace(qtArgc, qtArgv);
        line.options.pictures = &writer;
        line.options.reports = &reports;
    }
    return RunCaseFile(line.caseFile, line.options, std::cout, std::cerr);
}
