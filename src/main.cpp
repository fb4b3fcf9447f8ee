// Tavrin starts at its welcome form; the menus of the main window drive the
// rest, and "退出" or closing the main window ends the run without saving.

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
    shell.Start();
    return app.exec();
}
