// tavrin-render-sample OUTPUT.png [WIDTH HEIGHT]
// Draws the sample frame on a picture of WIDTH x HEIGHT pixels (default
// 1220 x 1000, about 640 x 480 picture units at 96 dpi) and saves it.

#include <clocale>
#include <cstdio>

#include <QGuiApplication>
#include <QString>
#include <QStringList>

#include "drawing/QtCanvas.h"
#include "drawing/SampleFrame.h"

int main(int argc, char** argv)
{
    QGuiApplication app(argc, argv);
    // Number texts are built with the C library; keep its decimal point.
    std::setlocale(LC_NUMERIC, "C");
    const QStringList args = app.arguments();
    if (args.size() != 2 && args.size() != 4) {
        std::fprintf(stderr, "usage: tavrin-render-sample OUTPUT.png [WIDTH HEIGHT]\n");
        return 2;
    }
    QSize size(1220, 1000);
    if (args.size() == 4) {
        bool widthOk = false;
        bool heightOk = false;
        size = QSize(args[2].toInt(&widthOk), args[3].toInt(&heightOk));
        if (!widthOk || !heightOk || size.width() < 1 || size.height() < 1 || size.width() > 20000 ||
            size.height() > 20000) {
            std::fprintf(stderr, "WIDTH and HEIGHT must be whole numbers of pixels from 1 to 20000\n");
            return 2;
        }
    }
    tavrin::StructureModel model;
    tavrin::BuildSampleFrame(model);
    tavrin::QtCanvas canvas(size);
    tavrin::DrawCommittedLayers(model, canvas);
    if (!canvas.Image().save(args[1], "PNG")) {
        std::fprintf(stderr, "cannot write %s\n", args[1].toLocal8Bit().constData());
        return 1;
    }
    return 0;
}
