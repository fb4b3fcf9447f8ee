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

// On a painter prepared by PreparePicturePainter.
void PaintOps(QPainter& painter, const RecordedPicture& picture)
{
    painter.fillRect(painter.window(), ToQColor(kLightGrey));
    for (const CanvasOp& op : picture.ops)
        PaintCanvasOp(painter, op, picture.units);
}

bool PaintPng(QIODevice& out, const RecordedPicture& picture)
{
    QImage image(PixelsOf(picture), QImage::Format_RGB32);
    // Text is sized for the screen the units were measured on.
    image.setDotsPerMeterX(static_cast<int>(std::lround(picture.units.dpiX * kInchesPerMeter)));
    image.setDotsPerMeterY(static_cast<int>(std::lround(picture.units.dpiY * kInchesPerMeter)));
    QPainter painter(&image);
    PreparePicturePainter(painter);
    PaintOps(painter, picture);
    painter.end();
    return image.save(&out, "PNG");
}

}  // namespace

bool PaintPictureSvg(QIODevice& out, const QString& title, const RecordedPicture& picture)
{
    const QSize pixels = PixelsOf(picture);
    QSvgGenerator generator;
    generator.setOutputDevice(&out);
    generator.setSize(pixels);
    generator.setViewBox(QRect(QPoint(0, 0), pixels));
    generator.setResolution(static_cast<int>(std::lround(picture.units.dpiX)));
    generator.setTitle(title);
    QPainter painter;
    if (!painter.begin(&generator))
        return false;
    PreparePicturePainter(painter);
    PaintOps(painter, picture);
    return painter.end();
}

namespace {

// One page the size of the picture, at the resolution of its units, so that
// one device pixel of the page is one pixel of the picture window.
bool PaintPdf(QIODevice& out, const QString& title, const RecordedPicture& picture)
{
    const QSize pixels = PixelsOf(picture);
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
    PaintOps(painter, picture);
    return painter.end();
}

}  // namespace

bool WritePictureFile(const QString& file, PictureFormat format, const RecordedPicture& picture, QString& cause)
{
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    const QString title = QFileInfo(file).completeBaseName();
    bool painted = false;
    switch (format) {
        case PictureFormat::Png:
            painted = PaintPng(buffer, picture);
            break;
        case PictureFormat::Svg:
            painted = PaintPictureSvg(buffer, title, picture);
            break;
        case PictureFormat::Pdf:
            painted = PaintPdf(buffer, title, picture);
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
    // The application's font, as the picture window draws with.
    painter.setFont(QFont());
    PreparePicturePainter(painter);
    SizePictureFont(painter, picture.units);
    PaintOps(painter, picture);
    painter.restore();
}

bool PrintPicture(QPrinter& printer, const RecordedPicture& picture)
{
    QPainter painter;
    if (!painter.begin(&printer))
        return false;
    const QSize pixels = PixelsOf(picture);
    const QRect page = painter.viewport();
    painter.setViewport(QRect(page.topLeft(), pixels.scaled(page.size(), Qt::KeepAspectRatio)));
    painter.setWindow(QRect(QPoint(0, 0), pixels));
    PreparePicturePainter(painter);
    SizePictureFont(painter, picture.units);
    PaintOps(painter, picture);
    return painter.end();
}

}  // namespace tavrin
