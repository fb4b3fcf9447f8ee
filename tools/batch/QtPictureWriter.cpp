#include "batch/QtPictureWriter.h"

#include <cmath>

#include <QImage>
#include <QPainter>
#include <QString>
#include <QSvgGenerator>

#include "app/Utf8Text.h"
#include "drawing/QtCanvas.h"

namespace tavrin::batch {

namespace {

constexpr double kInchesPerMeter = 1.0 / 0.0254;

void PaintOps(QPainter& painter, const std::vector<CanvasOp>& ops, const PictureUnits& units)
{
    PreparePicturePainter(painter);
    painter.fillRect(painter.window(), ToQColor(kLightGrey));
    for (const CanvasOp& op : ops)
        PaintCanvasOp(painter, op, units);
}

bool WritePng(const QString& file, const std::vector<CanvasOp>& ops, const PictureUnits& units, QSize pixels)
{
    QImage image(pixels, QImage::Format_RGB32);
    // Text is sized for the screen the units were measured on.
    image.setDotsPerMeterX(static_cast<int>(std::lround(units.dpiX * kInchesPerMeter)));
    image.setDotsPerMeterY(static_cast<int>(std::lround(units.dpiY * kInchesPerMeter)));
    QPainter painter(&image);
    PaintOps(painter, ops, units);
    painter.end();
    return image.save(file, "PNG");
}

bool WriteSvg(const QString& file, const QString& title, const std::vector<CanvasOp>& ops, const PictureUnits& units,
              QSize pixels)
{
    QSvgGenerator generator;
    generator.setFileName(file);
    generator.setSize(pixels);
    generator.setViewBox(QRect(QPoint(0, 0), pixels));
    generator.setResolution(static_cast<int>(std::lround(units.dpiX)));
    generator.setTitle(title);
    QPainter painter;
    if (!painter.begin(&generator))
        return false;
    PaintOps(painter, ops, units);
    return painter.end();
}

}  // namespace

bool QtPictureWriter::Write(const std::filesystem::path& file, PictureFormat format, const std::vector<CanvasOp>& ops,
                            double width, double height, std::string& error)
{
    const PictureUnits units;
    const QSize pixels = units.PixelsFor(width, height).expandedTo(QSize(1, 1));
    const QString name = QString::fromStdString(file.string());
    const bool written = format == PictureFormat::Png
                             ? WritePng(name, ops, units, pixels)
                             : WriteSvg(name, QString::fromStdString(file.stem().string()), ops, units, pixels);
    if (!written)
        error = "无法写入图片 " + QuotedInput(file.string());
    return written;
}

}  // namespace tavrin::batch
