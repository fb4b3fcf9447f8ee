// Tavrin starts at its welcome form, or with a structure file named on the
// command line straight in the main window; the menus of the main window
// drive the rest, and "退出" or closing the main window ends the run, after
// asking about unsaved work.

#include <clocale>

#include <QApplication>

#include "app/QtApplicationShell.h"

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Tavrin"));
    // Number texts are built with the C library; keep its decimal point.
    std::setlocale(LC_NUMERIC, "C");

    tavrin::QtApplicationShell shell;
    QObject::connect(&shell, &tavrin::QtApplicationShell::endRequested, &app, [] { QCoreApplication::exit(0); });
    const QStringList arguments = QCoreApplication::arguments();
    if (arguments.size() > 1)
        shell.StartWith(arguments.at(1));
    else
        shell.Start();
    return app.exec();
}
