#include <cmath>

#include <QDir>
#include <QFile>
#include <QImage>
#include <QPrinter>
#include <QProcess>
#include <QStandardPaths>
#include <QtTest>

#include "drawing/DrawingPasses.h"
#include "drawing/QtPictureFiles.h"
#include "drawing/SampleFrame.h"

using namespace tavrin;

namespace {

// Every symbol of the structure picture, and a Chinese label as the
// pictures' captions would print one.
const std::vector<CanvasOp>& SampleOps()
{
    static const std::vector<CanvasOp> ops = [] {
        StructureModel model;
        BuildSampleFrame(model);
        RecordingCanvas canvas(267.0, 200.0);
        DrawCommittedLayers(model, canvas);
        canvas.SetCurrent(10, 185);
        canvas.Print("基本体系");
        return canvas.ops;
    }();
    return ops;
}

RecordedPicture Sample()
{
    return {SampleOps(), 267.0, 200.0, PictureUnits{}, QString::fromUtf8("结构图")};
}

QString OutputDir()
{
    // Blanks and Chinese characters in the path, as a student's folders have.
    const QString dir = QStringLiteral(TAVRIN_TEST_OUTPUT_DIR) + QString::fromUtf8("/导出 图形");
    QDir().mkpath(dir);
    return dir;
}

QByteArray ReadAll(const QString& file)
{
    QFile in(file);
    return in.open(QIODevice::ReadOnly) ? in.readAll() : QByteArray();
}

// The text of a PDF where poppler's pdftotext is installed; the file's own
// bytes otherwise, which at least name the embedded font.
void ExpectPdfWithLabels(const QString& file)
{
    const QByteArray bytes = ReadAll(file);
    QVERIFY(bytes.startsWith("%PDF-"));
    QVERIFY2(bytes.contains("/FontFile"), "the labels' font is embedded");
    const QString pdftotext = QStandardPaths::findExecutable(QStringLiteral("pdftotext"));
    if (pdftotext.isEmpty())
        return;
    QProcess process;
    process.start(pdftotext, {file, QStringLiteral("-")});
    QVERIFY(process.waitForFinished());
    // pdftotext keeps some of the labels' blanks and drops others.
    const QString text = QString::fromUtf8(process.readAllStandardOutput()).remove(QLatin1Char(' '));
    QVERIFY2(text.contains(QString::fromUtf8("基本体系")), qPrintable(text));
    QVERIFY2(text.contains(QString::fromUtf8("结构图")), qPrintable(text));
    QVERIFY2(text.contains(QStringLiteral("(1)")), qPrintable(text));
}

}  // namespace

class QtPictureFilesQtTest : public QObject {
    Q_OBJECT

private slots:
    void eachFormatHoldsThePictureWithItsLabels_data()
    {
        QTest::addColumn<int>("format");
        QTest::addColumn<QString>("name");
        QTest::newRow("png") << static_cast<int>(PictureFormat::Png) << QString::fromUtf8("结构 图.png");
        QTest::newRow("svg") << static_cast<int>(PictureFormat::Svg) << QString::fromUtf8("结构 图.svg");
        QTest::newRow("pdf") << static_cast<int>(PictureFormat::Pdf) << QString::fromUtf8("结构 图.pdf");
    }

    void eachFormatHoldsThePictureWithItsLabels()
    {
        QFETCH(int, format);
        QFETCH(QString, name);
        const QString file = OutputDir() + QLatin1Char('/') + name;
        QFile::remove(file);
        QString cause;
        QVERIFY2(WritePictureFile(file, static_cast<PictureFormat>(format), Sample(), cause), qPrintable(cause));
        // On white, the title in a band of 14 picture units above the picture.
        const PictureUnits units;
        const int band = static_cast<int>(std::ceil(14.0 * units.PixelsPerUnitY()));
        const QSize pixels = units.PixelsFor(267.0, 200.0) + QSize(0, band);
        switch (static_cast<PictureFormat>(format)) {
            case PictureFormat::Png: {
                const QImage image(file);
                QCOMPARE(image.size(), pixels);
                QCOMPARE(image.pixelColor(1, 1), QColor(Qt::white));
                int titleInk = 0;
                for (int y = 0; y < band; ++y)
                    for (int x = 0; x < pixels.width(); ++x)
                        titleInk += image.pixelColor(x, y) == QColor(Qt::black) ? 1 : 0;
                QVERIFY(titleInk > 20);
                QVERIFY(image.convertToFormat(QImage::Format_Indexed8).colorCount() > 3);
                break;
            }
            case PictureFormat::Svg: {
                const QString svg = QString::fromUtf8(ReadAll(file));
                QVERIFY(svg.contains(QStringLiteral("viewBox=\"0 0 %1 %2\"").arg(pixels.width()).arg(pixels.height())));
                QVERIFY(svg.contains(QString::fromUtf8("<title>结构图</title>")));
                QVERIFY(svg.contains(QString::fromUtf8(">结构图</text>")));
                QVERIFY(svg.contains(QString::fromUtf8(">基本体系</text>")));
                QVERIFY(svg.contains(QStringLiteral(">( 1 )</text>")));
                // White throughout: the hinge circles too, which hide the
                // lines under them in the window's grey on the screen.
                QVERIFY(!svg.contains(QStringLiteral("#e0e0e0")));
                break;
            }
            case PictureFormat::Pdf:
                ExpectPdfWithLabels(file);
                break;
        }
    }

    void aFileThatCannotBeWrittenSaysWhyAndLeavesTheOldOne()
    {
        QString cause;
        QVERIFY(!WritePictureFile(OutputDir() + QStringLiteral("/no such folder/a.png"), PictureFormat::Png, Sample(),
                                  cause));
        QVERIFY(!cause.isEmpty());

        // A folder where the file would be: nothing replaces it.
        const QString folder = OutputDir() + QStringLiteral("/folder.svg");
        QVERIFY(QDir().mkpath(folder));
        cause.clear();
        QVERIFY(!WritePictureFile(folder, PictureFormat::Svg, Sample(), cause));
        QVERIFY(!cause.isEmpty());
        QVERIFY(QFileInfo(folder).isDir());
    }

    void printedOnOnePageFittedToIt()
    {
        const QString file = OutputDir() + QString::fromUtf8("/打印.pdf");
        QFile::remove(file);
        QPrinter printer;
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(file);
        QVERIFY(PrintPicture(printer, Sample()));
        ExpectPdfWithLabels(file);
        QCOMPARE(ReadAll(file).count("/Type /Page\n") + ReadAll(file).count("/Type /Page>"), 1);
    }
};

QTEST_MAIN(QtPictureFilesQtTest)
#include "QtPictureFilesQtTest.moc"
