#include "drawing/QtCanvas.h"

#include <cmath>
#include <numbers>

#include <QFont>
#include <QFontMetricsF>
#include <QPainter>
#include <QPainterPath>
#include <QPen>
#include <QString>

namespace tavrin {

namespace {

constexpr double kInchesPerMeter = 1.0 / 0.0254;
constexpr double kDegreesPerRadian = 180.0 / std::numbers::pi;

int PenWidth(const CanvasOp& op)
{
    return op.width < 1 ? 1 : op.width;
}

QPen PenFor(const CanvasOp& op)
{
    return QPen(ToQColor(op.color), PenWidth(op), Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin);
}

// A picture point on the device's pixel grid, as a screen surface places it:
// whole pixels, and for a pen of odd width the pixel's centre, so that a
// horizontal or vertical stroke covers whole pixels and drawing it again
// (the load passes repeat load lines and labels) changes nothing.
// On paper (PixelGrid::Free) the point is where the picture puts it, so that
// a curve of short steps is smooth.
QPointF Snapped(const PictureUnits& units, double x, double y, int penWidth, PixelGrid grid)
{
    if (grid == PixelGrid::Free)
        return {x * units.PixelsPerUnitX(), y * units.PixelsPerUnitY()};
    const double centre = penWidth % 2 == 1 ? 0.5 : 0.0;
    return {std::round(x * units.PixelsPerUnitX()) + centre, std::round(y * units.PixelsPerUnitY()) + centre};
}

// Angles in radians, 0 to the right and pi/2 up on screen; the arc runs
// counter-clockwise from |start| to |end|, a negated angle adding the radius
// to that end. Equal ends give the whole circle.
void PaintArc(QPainter& painter, QPointF centre, double radius, double start, double end)
{
    const double from = std::fabs(start);
    const double to = std::fabs(end);
    if (!std::isfinite(from) || !std::isfinite(to))
        return;
    constexpr double kFullTurn = 2.0 * std::numbers::pi;
    double span = std::fmod(to - from, kFullTurn);
    if (span <= 0.0)
        span += kFullTurn;
    const QRectF box(centre.x() - radius, centre.y() - radius, 2.0 * radius, 2.0 * radius);
    QPainterPath path;
    if (start < 0.0) {
        path.moveTo(centre);
        path.lineTo(centre.x() + radius * std::cos(from), centre.y() - radius * std::sin(from));
    } else {
        path.arcMoveTo(box, from * kDegreesPerRadian);
    }
    path.arcTo(box, from * kDegreesPerRadian, span * kDegreesPerRadian);
    if (end < 0.0)
        path.lineTo(centre);
    painter.setBrush(Qt::NoBrush);
    painter.drawPath(path);
}

}  // namespace

QSize PictureUnits::PixelsFor(double widthUnits, double heightUnits) const
{
    return {static_cast<int>(std::ceil(widthUnits * PixelsPerUnitX())),
            static_cast<int>(std::ceil(heightUnits * PixelsPerUnitY()))};
}

void PaintCanvasOp(QPainter& painter, const CanvasOp& op, const PictureUnits& units, const QColor& background,
                   PixelGrid grid)
{
    switch (op.kind) {
        case CanvasOp::Kind::Cls:
            painter.fillRect(painter.window(), background);
            break;
        case CanvasOp::Kind::Line:
            painter.setPen(PenFor(op));
            painter.drawLine(Snapped(units, op.x1, op.y1, PenWidth(op), grid),
                             Snapped(units, op.x2, op.y2, PenWidth(op), grid));
            break;
        case CanvasOp::Kind::Circle: {
            painter.setPen(PenFor(op));
            const QPointF centre = Snapped(units, op.x1, op.y1, PenWidth(op), grid);
            const double radius = std::round(op.r * units.PixelsPerUnitX());
            if (op.start || op.end) {
                PaintArc(painter, centre, radius, op.start.value_or(0.0), op.end.value_or(2.0 * std::numbers::pi));
            } else {
                const QColor fill = op.fillColor == kLightGrey ? background : ToQColor(op.fillColor);
                painter.setBrush(op.fillStyle == kFillSolid ? QBrush(fill) : QBrush(Qt::NoBrush));
                painter.drawEllipse(centre, radius, radius);
            }
            break;
        }
        case CanvasOp::Kind::Print: {
            painter.setPen(ToQColor(op.color));
            const QFontMetricsF metrics(painter.font(), painter.device());
            const QPointF topLeft = Snapped(units, op.x1, op.y1, 0, grid);
            painter.drawText(QPointF(topLeft.x(), topLeft.y() + std::round(metrics.ascent())),
                             QString::fromUtf8(op.text));
            break;
        }
    }
}

void PreparePicturePainter(QPainter& painter)
{
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setRenderHint(QPainter::TextAntialiasing, false);
    QFont font = painter.font();
    font.setStyleStrategy(QFont::NoAntialias);
    painter.setFont(font);
}

QtCanvas::QtCanvas(QSize clientPixels, PictureUnits units)
    : m_units(units),
      m_client(clientPixels.isValid() ? clientPixels : units.PixelsFor(kDesignedClientUnits, kDesignedClientUnits)),
      m_image(BlankImage(m_client))
{
}

QtCanvas::~QtCanvas() = default;

double QtCanvas::ScaleWidth() const
{
    return m_client.width() / m_units.PixelsPerUnitX();
}

double QtCanvas::ScaleHeight() const
{
    return m_client.height() / m_units.PixelsPerUnitY();
}

void QtCanvas::SetClientSize(QSize pixels)
{
    EndPainting();
    m_client = pixels.expandedTo(QSize(0, 0));
    const QSize needed = m_image.size().expandedTo(m_client);
    if (needed == m_image.size())
        return;
    QImage grown = BlankImage(needed);
    QPainter painter(&grown);
    painter.drawImage(0, 0, m_image);
    painter.end();
    m_image = std::move(grown);
    if (m_changed)
        m_changed();
}

QImage QtCanvas::BlankImage(QSize pixels) const
{
    QImage image(pixels.expandedTo(QSize(1, 1)), QImage::Format_RGB32);
    // Text on the image is sized for the screen the units were measured on.
    image.setDotsPerMeterX(static_cast<int>(std::lround(m_units.dpiX * kInchesPerMeter)));
    image.setDotsPerMeterY(static_cast<int>(std::lround(m_units.dpiY * kInchesPerMeter)));
    image.fill(ToQColor(kLightGrey));
    return image;
}

// Each operation sets the pen, brush and font state it draws with, so the
// painter carries nothing from one operation to the next.
void QtCanvas::Paint(const CanvasOp& op)
{
    if (op.kind == CanvasOp::Kind::Cls)
        m_shown.clear();
    m_shown.push_back(op);
    if (!m_painter) {
        m_painter = std::make_unique<QPainter>(&m_image);
        PreparePicturePainter(*m_painter);
    }
    PaintCanvasOp(*m_painter, op, m_units);
    if (m_changed)
        m_changed();
}

void QtCanvas::EndPainting() const
{
    m_painter.reset();
}

void QtCanvas::DoCls()
{
    Paint(ClsOp());
}

void QtCanvas::DoLine(double x1, double y1, double x2, double y2, Rgb color)
{
    Paint(LineOp(x1, y1, x2, y2, color));
}

void QtCanvas::DoCircle(double x, double y, double r, std::optional<double> start, std::optional<double> end)
{
    Paint(CircleOp(x, y, r, start, end));
}

void QtCanvas::DoPrint(double x, double y, std::string_view text)
{
    Paint(PrintOp(x, y, text));
}

}  // namespace tavrin
