#include "drawing/QtPictureFiles.h"

#include <cmath>

#include <QBuffer>
#include <QFileInfo>
#include <QImage>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>
#include <QPrinter>
#include <QSaveFile>
#include <QSvgGenerator>

#include "qtforms/QtControls.h"

namespace tavrin {

namespace {

constexpr double kInchesPerMeter = 1.0 / 0.0254;
constexpr double kPointsPerInch = 72.0;

QSize PixelsOf(const RecordedPicture& picture)
{
    return picture.units.PixelsFor(picture.width, picture.height).expandedTo(QSize(1, 1));
}

// What the picture is painted on: white paper, in files and prints with the
// title in a band of kTitleBandUnits above the picture, its letters
// kTitleLetterShare of the band high.
constexpr double kTitleBandUnits = 14.0;
constexpr double kTitleLetterShare = 0.6;
struct Sheet {
    QColor ground;
    int titleBand = 0;  // device pixels of the picture's units
};

// White paper without a title.
Sheet BlankPaper()
{
    return {QColor(Qt::white), 0};
}

Sheet PaperSheet(const RecordedPicture& picture)
{
    const int band =
        picture.title.isEmpty() ? 0 : static_cast<int>(std::ceil(kTitleBandUnits * picture.units.PixelsPerUnitY()));
    return {QColor(Qt::white), band};
}

QSize SheetPixels(const RecordedPicture& picture, const Sheet& sheet)
{
    return PixelsOf(picture) + QSize(0, sheet.titleBand);
}

// A printer's or a PDF's resolution would size the text in its own pixels;
// the picture's text is as many picture pixels high as on the screen.
void SizePictureFont(QPainter& painter, const PictureUnits& units)
{
    QFont font = painter.font();
    if (font.pointSizeF() > 0.0) {
        font.setPixelSize(static_cast<int>(std::lround(font.pointSizeF() * units.dpiY / kPointsPerInch)));
        painter.setFont(font);
    }
}

void PaintTitle(QPainter& painter, const RecordedPicture& picture, const Sheet& sheet)
{
    painter.save();
    QFont font = painter.font();
    font.setPixelSize(static_cast<int>(std::lround(sheet.titleBand * kTitleLetterShare)));
    font.setBold(true);
    painter.setFont(font);
    painter.setPen(Qt::black);
    painter.drawText(QRect(0, 0, PixelsOf(picture).width(), sheet.titleBand), Qt::AlignCenter, picture.title);
    painter.restore();
}

// On a painter prepared by PreparePicturePainter, laid out in the sheet's
// pixels: the ground, the title, and under it the picture, clipped to its
// own area.
void PaintOps(QPainter& painter, const RecordedPicture& picture, const Sheet& sheet)
{
    painter.save();
    painter.fillRect(painter.window(), sheet.ground);
    if (sheet.titleBand > 0) {
        PaintTitle(painter, picture, sheet);
        painter.translate(0, sheet.titleBand);
        painter.setClipRect(QRect(QPoint(0, 0), PixelsOf(picture)), Qt::IntersectClip);
    }
    for (const CanvasOp& op : picture.ops)
        PaintCanvasOp(painter, op, picture.units, sheet.ground, picture.grid);
    painter.restore();
}

bool PaintPng(QIODevice& out, const RecordedPicture& picture, const Sheet& sheet)
{
    QImage image(SheetPixels(picture, sheet), QImage::Format_RGB32);
    // Text is sized for the screen the units were measured on.
    image.setDotsPerMeterX(static_cast<int>(std::lround(picture.units.dpiX * kInchesPerMeter)));
    image.setDotsPerMeterY(static_cast<int>(std::lround(picture.units.dpiY * kInchesPerMeter)));
    QPainter painter(&image);
    PreparePicturePainter(painter);
    PaintOps(painter, picture, sheet);
    painter.end();
    return image.save(&out, "PNG");
}

bool PaintSvg(QIODevice& out, const QString& title, const RecordedPicture& picture, const Sheet& sheet)
{
    const QSize pixels = SheetPixels(picture, sheet);
    QSvgGenerator generator;
    generator.setOutputDevice(&out);
    generator.setSize(pixels);
    generator.setViewBox(QRect(QPoint(0, 0), pixels));
    generator.setResolution(static_cast<int>(std::lround(picture.units.dpiX)));
    generator.setTitle(title);
    QPainter painter;
    if (!painter.begin(&generator))
        return false;
    painter.setFont(picture.font);
    PreparePicturePainter(painter);
    PaintOps(painter, picture, sheet);
    return painter.end();
}

// One page the size of the sheet, at the resolution of its units, so that
// one device pixel of the page is one pixel of the picture window.
bool PaintPdf(QIODevice& out, const QString& title, const RecordedPicture& picture, const Sheet& sheet)
{
    const QSize pixels = SheetPixels(picture, sheet);
    QPdfWriter writer(&out);
    writer.setTitle(title);
    writer.setCreator(QStringLiteral("Tavrin"));
    writer.setResolution(static_cast<int>(std::lround(picture.units.dpiX)));
    const QSizeF points(pixels.width() * kPointsPerInch / picture.units.dpiX,
                        pixels.height() * kPointsPerInch / picture.units.dpiY);
    writer.setPageSize(QPageSize(points, QPageSize::Point, QString(), QPageSize::ExactMatch));
    writer.setPageMargins(QMarginsF());
    QPainter painter;
    if (!painter.begin(&writer))
        return false;
    painter.setWindow(QRect(QPoint(0, 0), pixels));
    PreparePicturePainter(painter);
    PaintOps(painter, picture, sheet);
    return painter.end();
}

}  // namespace

bool PaintPictureSvg(QIODevice& out, const QString& title, const RecordedPicture& picture)
{
    return PaintSvg(out, title, picture, BlankPaper());
}

bool WritePictureFile(const QString& file, PictureFormat format, const RecordedPicture& picture, QString& cause)
{
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    const QString title = picture.title.isEmpty() ? QFileInfo(file).completeBaseName() : picture.title;
    const Sheet paper = PaperSheet(picture);
    bool painted = false;
    switch (format) {
        case PictureFormat::Png:
            painted = PaintPng(buffer, picture, paper);
            break;
        case PictureFormat::Svg:
            painted = PaintSvg(buffer, title, picture, paper);
            break;
        case PictureFormat::Pdf:
            painted = PaintPdf(buffer, title, picture, paper);
            break;
    }
    buffer.close();
    if (!painted) {
        cause = FromUtf8(kPictureNotPainted);
        return false;
    }
    QSaveFile out(file);
    if (!out.open(QIODevice::WriteOnly) || out.write(bytes) != bytes.size() || !out.commit()) {
        cause = out.errorString();
        return false;
    }
    return true;
}

void PaintPictureInto(QPainter& painter, const QRectF& target, const RecordedPicture& picture)
{
    const QSize pixels = PixelsOf(picture);
    painter.save();
    painter.translate(target.topLeft());
    painter.scale(target.width() / pixels.width(), target.height() / pixels.height());
    painter.setClipRect(QRect(QPoint(0, 0), pixels), Qt::IntersectClip);
    painter.setFont(picture.font);
    PreparePicturePainter(painter);
    SizePictureFont(painter, picture.units);
    PaintOps(painter, picture, BlankPaper());
    painter.restore();
}

bool PrintPicture(QPrinter& printer, const RecordedPicture& picture)
{
    QPainter painter;
    if (!painter.begin(&printer))
        return false;
    const Sheet paper = PaperSheet(picture);
    const QSize pixels = SheetPixels(picture, paper);
    const QRect page = painter.viewport();
    painter.setViewport(QRect(page.topLeft(), pixels.scaled(page.size(), Qt::KeepAspectRatio)));
    painter.setWindow(QRect(QPoint(0, 0), pixels));
    PreparePicturePainter(painter);
    SizePictureFont(painter, picture.units);
    PaintOps(painter, picture, paper);
    return painter.end();
}

}  // namespace tavrin
