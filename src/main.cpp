// Until the application shell exists, the program shows the structure
// picture with the sample frame.

#include <clocale>

#include <QApplication>

#include "drawing/PicWindow.h"
#include "drawing/SampleFrame.h"

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    // Number texts are built with the C library; keep its decimal point.
    std::setlocale(LC_NUMERIC, "C");
    tavrin::StructureModel model;
    tavrin::BuildSampleFrame(model);
    tavrin::PicWindow window;
    window.resize(1220, 1000);
    window.show();
    tavrin::DrawCommittedLayers(model, window.canvas());
    return app.exec();
}
