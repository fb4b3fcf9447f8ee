#include <clocale>
#include <cmath>
#include <functional>

#include <QDir>
#include <QImage>
#include <QPainter>
#include <QtTest>

#include "drawing/DrawingPasses.h"
#include "drawing/PicWindow.h"
#include "drawing/QtCanvas.h"
#include "drawing/SampleFrame.h"
#include "model/Vocabulary.h"

using namespace tavrin;

namespace {

bool IsRed(QRgb c)
{
    return qRed(c) > 200 && qGreen(c) < 80 && qBlue(c) < 80;
}
bool IsBlue(QRgb c)
{
    return qBlue(c) > 200 && qRed(c) < 80 && qGreen(c) < 80;
}
bool IsDark(QRgb c)
{
    return qRed(c) < 60 && qGreen(c) < 60 && qBlue(c) < 60;
}
bool IsBackground(QRgb c)
{
    return QColor(c) == QColor(224, 224, 224);
}

// True when a pixel within `reach` pixels of `at` satisfies `test`.
bool PixelNear(const QImage& image, QPointF at, int reach, const std::function<bool(QRgb)>& test)
{
    const int cx = static_cast<int>(std::lround(at.x()));
    const int cy = static_cast<int>(std::lround(at.y()));
    for (int y = cy - reach; y <= cy + reach; ++y)
        for (int x = cx - reach; x <= cx + reach; ++x)
            if (image.valid(x, y) && test(image.pixel(x, y)))
                return true;
    return false;
}

QPointF Pixels(const PictureUnits& units, double x, double y)
{
    return {x * units.PixelsPerUnitX(), y * units.PixelsPerUnitY()};
}

QPointF NodePixels(const StructureModel& model, const PictureUnits& units, long node)
{
    double x = 0, y = 0;
    model.NodePicturePoint(node, x, y);
    return Pixels(units, x, y);
}

}  // namespace

class QtCanvasQtTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() { std::setlocale(LC_NUMERIC, "C"); }

    void sampleFrameShowsEveryLayerInItsColour()
    {
        StructureModel model;
        BuildSampleFrame(model);
        QtCanvas canvas(QSize(1220, 1000));
        DrawCommittedLayers(model, canvas);
        const QImage& image = canvas.Image();
        QVERIFY(QDir().mkpath(QStringLiteral(TAVRIN_TEST_OUTPUT_DIR)));
        QVERIFY(image.save(QStringLiteral(TAVRIN_TEST_OUTPUT_DIR "/sample-frame.png")));
        const PictureUnits& units = canvas.Units();

        QVERIFY(IsBackground(image.pixel(2, 2)));

        // The base of the first fixed support runs 5 units either side of its node.
        const Support* fixed = nullptr;
        for (const Support& s : model.Supports)
            if (s.SupportType == kFixedSupport && s.Direction == kAboveNode && !fixed)
                fixed = &s;
        QVERIFY(fixed);
        const QPointF foot = NodePixels(model, units, fixed->NodeNo);
        QVERIFY(PixelNear(image, foot + Pixels(units, -4, 0), 1, IsRed));
        QVERIFY(!PixelNear(image, foot + Pixels(units, -4, -6), 2, IsRed));

        // A downward force's shaft stands 10 units above its node, 2 pixels wide.
        const Load* down = nullptr;
        for (const Load& l : model.Loads)
            if (l.LoadType == kConcentratedLoad && l.Direction == kDownward)
                down = &l;
        QVERIFY(down);
        const QPointF tip = NodePixels(model, units, down->NodeNo);
        QVERIFY(PixelNear(image, tip + Pixels(units, 0, -6), 1, IsBlue));
        QVERIFY(!PixelNear(image, tip + Pixels(units, -4, -8), 1, IsBlue));

        // A member a quarter along its length, away from labels and symbols.
        const Element& column = model.Elements.at(model.ElementCount());
        const QPointF i = NodePixels(model, units, column.INode);
        const QPointF j = NodePixels(model, units, column.JNode);
        QVERIFY(PixelNear(image, i + (j - i) * 0.25, 1, IsDark));
    }

    void arcsRunCounterClockwiseAndNegativeEndsAddTheRadius()
    {
        QtCanvas canvas(QSize(300, 300));
        const PictureUnits& units = canvas.Units();
        const QPointF centre = Pixels(units, 50, 50);
        const double r = 20 * units.PixelsPerUnitX();  // a true circle: horizontal units

        canvas.Circle(50, 50, 20, 0.0, 3.14);
        QVERIFY(PixelNear(canvas.Image(), centre + QPointF(0, -r), 1, IsDark));
        QVERIFY(!PixelNear(canvas.Image(), centre + QPointF(0, r), 2, IsDark));
        QVERIFY(!PixelNear(canvas.Image(), centre + QPointF(r / 2, 0), 2, IsDark));

        canvas.Cls();
        canvas.Circle(50, 50, 20, 4.71, -0.755);  // a clockwise couple's arc
        QVERIFY(PixelNear(canvas.Image(), centre + QPointF(r, 0), 1, IsDark));
        QVERIFY(PixelNear(canvas.Image(), centre + QPointF(0, r), 1, IsDark));
        QVERIFY(!PixelNear(canvas.Image(), centre + QPointF(-r, 0), 2, IsDark));
        const QPointF radiusMiddle = centre + QPointF(std::cos(0.755), -std::sin(0.755)) * (r / 2);
        QVERIFY(PixelNear(canvas.Image(), radiusMiddle, 1, IsDark));
        QVERIFY(!PixelNear(canvas.Image(), centre + QPointF(0, r / 2), 2, IsDark));
    }

    void circlesFillOnlyWhenSolidAndTextHangsFromItsTopLeft()
    {
        QtCanvas canvas(QSize(300, 300));
        const PictureUnits& units = canvas.Units();
        canvas.SetFillColor(kCyan);
        canvas.Circle(30, 30, 6);
        QVERIFY(IsBackground(canvas.Image().pixelColor(Pixels(units, 30, 30).toPoint()).rgb()));
        canvas.SetFillStyle(kFillSolid);
        canvas.Circle(30, 30, 6);
        QCOMPARE(canvas.Image().pixelColor(Pixels(units, 30, 30).toPoint()), QColor(0, 255, 255));

        canvas.SetCurrent(80, 80);
        canvas.Print("88");
        const QPointF corner = Pixels(units, 80, 80);
        bool inkBelowRight = false;
        bool inkAboveOrLeft = false;
        for (int y = static_cast<int>(corner.y()) - 30; y < static_cast<int>(corner.y()) + 30; ++y)
            for (int x = static_cast<int>(corner.x()) - 30; x < static_cast<int>(corner.x()) + 30; ++x) {
                if (!IsDark(canvas.Image().pixel(x, y)))
                    continue;
                if (x >= corner.x() && y >= corner.y())
                    inkBelowRight = true;
                else
                    inkAboveOrLeft = true;
            }
        QVERIFY(inkBelowRight);
        QVERIFY(!inkAboveOrLeft);
    }

    void pictureUnitIsTwipsAtTheScreenResolution()
    {
        const QtCanvas standard(QSize(1903, 2080));
        QCOMPARE(std::lround(standard.ScaleWidth()), 1000L);   // 28.547 twips at 96 dpi
        QCOMPARE(std::lround(standard.ScaleHeight()), 1000L);  // 31.2 twips
        const QtCanvas fine(QSize(1903, 2080), PictureUnits{192.0, 192.0});
        QCOMPARE(std::lround(fine.ScaleWidth()), 500L);
        QCOMPARE(std::lround(fine.ScaleHeight()), 500L);
    }

    void growingKeepsThePictureAndShrinkingKeepsTheImage()
    {
        QtCanvas canvas(QSize(100, 80));
        int changes = 0;
        canvas.SetChangedCallback([&changes] { ++changes; });
        canvas.SetForeColor(kBlue);
        canvas.SetDrawWidth(3);
        canvas.Line(5, 5, 30, 5);
        QCOMPARE(changes, 1);
        const QPoint onLine = Pixels(canvas.Units(), 15, 5).toPoint();
        QVERIFY(IsBlue(canvas.Image().pixel(onLine)));

        canvas.SetClientSize(QSize(400, 300));
        QCOMPARE(canvas.Image().size(), QSize(400, 300));
        QVERIFY(changes >= 2);
        QVERIFY(IsBlue(canvas.Image().pixel(onLine)));
        QVERIFY(IsBackground(canvas.Image().pixel(350, 250)));

        canvas.SetClientSize(QSize(50, 40));
        QCOMPARE(canvas.Image().size(), QSize(400, 300));
        QVERIFY(std::fabs(canvas.ScaleWidth() - 50 / canvas.Units().PixelsPerUnitX()) < 1e-9);
        QVERIFY(IsBlue(canvas.Image().pixel(onLine)));
    }

    // The canvas draws operation after operation with one painter; a picture
    // taken from it (the window's repaint, a saved file) is the picture as it
    // stood then, and later drawing goes on from it.
    void aPictureTakenBetweenDrawingsKeepsWhatItShowed()
    {
        QtCanvas canvas(QSize(200, 100));
        canvas.SetForeColor(kBlue);
        canvas.SetDrawWidth(3);
        canvas.Line(5, 5, 30, 5);
        const QImage taken = canvas.Image();
        canvas.Line(5, 30, 30, 30);
        const QPoint first = Pixels(canvas.Units(), 15, 5).toPoint();
        const QPoint second = Pixels(canvas.Units(), 15, 30).toPoint();
        QVERIFY(IsBlue(taken.pixel(first)));
        QVERIFY(IsBackground(taken.pixel(second)));
        QVERIFY(IsBlue(canvas.Image().pixel(first)));
        QVERIFY(IsBlue(canvas.Image().pixel(second)));
    }

    void recordedOperationsReplayToTheSamePicture()
    {
        StructureModel model;
        BuildSampleFrame(model);
        const QSize size(900, 700);
        QtCanvas live(size);
        DrawCommittedLayers(model, live);

        const PictureUnits units;
        RecordingCanvas recording(size.width() / units.PixelsPerUnitX(), size.height() / units.PixelsPerUnitY());
        DrawCommittedLayers(model, recording);
        QImage replay(size, QImage::Format_RGB32);
        replay.setDotsPerMeterX(live.Image().dotsPerMeterX());
        replay.setDotsPerMeterY(live.Image().dotsPerMeterY());
        replay.fill(QColor(224, 224, 224));
        QPainter painter(&replay);
        PreparePicturePainter(painter);
        for (const CanvasOp& op : recording.ops)
            PaintCanvasOp(painter, op, units);
        painter.end();
        QCOMPARE(replay, live.Image());
    }

    void pictureWindowShowsTheCanvasAndReportsItsClientSize()
    {
        PicWindow window;
        QCOMPARE(window.objectName(), QStringLiteral("frmPicWindow"));
        QCOMPARE(window.windowTitle(), QString::fromUtf8("结构图显示"));
        QCOMPARE(window.palette().color(QPalette::Window), QColor(224, 224, 224));
        const PictureUnits& units = window.qtCanvas().Units();
        QCOMPARE(std::lround(window.canvas().ScaleWidth()), 267L);
        QCOMPARE(std::lround(window.canvas().ScaleHeight()), 267L);

        window.canvas().SetForeColor(kRed);
        window.canvas().Line(10, 10, 100, 10);
        window.resize(900, 800);
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        QCOMPARE(window.canvas().ScaleWidth(), window.width() / units.PixelsPerUnitX());
        QCOMPARE(window.canvas().ScaleHeight(), window.height() / units.PixelsPerUnitY());
        QVERIFY(window.qtCanvas().Image().width() >= window.width());
        QVERIFY(window.qtCanvas().Image().height() >= window.height());

        const QImage shown = window.grab().toImage();
        QVERIFY(PixelNear(shown, Pixels(units, 50, 10), 1, IsRed));
        QVERIFY(IsBackground(shown.pixel(shown.width() - 3, shown.height() - 3)));
    }
};

QTEST_MAIN(QtCanvasQtTest)
#include "QtCanvasQtTest.moc"
