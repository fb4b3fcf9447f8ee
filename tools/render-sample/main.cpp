// tavrin-render-sample OUTPUT.png [WIDTH HEIGHT [DPI]]
// Draws the sample frame on a picture of WIDTH x HEIGHT pixels (default
// 1220 x 1000, about 640 x 480 picture units at 96 dpi) and saves it. A
// larger DPI enlarges the picture units, and so every symbol, for close
// inspection; line widths stay in pixels.

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
    if (args.size() < 2 || args.size() == 3 || args.size() > 5) {
        std::fprintf(stderr, "usage: tavrin-render-sample OUTPUT.png [WIDTH HEIGHT [DPI]]\n");
        return 2;
    }
    QSize size(1220, 1000);
    tavrin::PictureUnits units;
    if (args.size() >= 4) {
        bool widthOk = false;
        bool heightOk = false;
        size = QSize(args[2].toInt(&widthOk), args[3].toInt(&heightOk));
        if (!widthOk || !heightOk || size.width() < 1 || size.height() < 1 || size.width() > 20000 ||
            size.height() > 20000) {
            std::fprintf(stderr, "WIDTH and HEIGHT must be whole numbers of pixels from 1 to 20000\n");
            return 2;
        }
    }
    if (args.size() == 5) {
        bool dpiOk = false;
        const double dpi = args[4].toDouble(&dpiOk);
        if (!dpiOk || !(dpi >= 24.0 && dpi <= 2400.0)) {
            std::fprintf(stderr, "DPI must be a number from 24 to 2400\n");
            return 2;
        }
        units = {dpi, dpi};
    }
    tavrin::StructureModel model;
    tavrin::BuildSampleFrame(model);
    tavrin::QtCanvas canvas(size, units);
    tavrin::DrawCommittedLayers(model, canvas);
    if (!canvas.Image().save(args[1], "PNG")) {
        std::fprintf(stderr, "cannot write %s\n", args[1].toLocal8Bit().constData());
        return 1;
    }
    return 0;
}
