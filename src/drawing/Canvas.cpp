#include "drawing/Canvas.h"

#include <algorithm>
#include <cmath>
#include <initializer_list>

namespace tavrin {

namespace {

// A point a surface can draw. Infinity times 0 (a scale that overflowed) is
// not a number, and would reach an SVG file as y="nan".
bool AllFinite(std::initializer_list<double> values)
{
    return std::all_of(values.begin(), values.end(), [](double v) { return std::isfinite(v); });
}

}  // namespace

void Canvas::Cls()
{
    SetCurrent(0.0, 0.0);
    m_layers.clear();
    DoCls();
}

void Canvas::AddLayer(Layer layer)
{
    m_layers.push_back({m_state, std::move(layer)});
}

// Each layer adds itself again as it draws, so the picture ends with the
// layers it had.
void Canvas::DrawLayersAgain()
{
    if (m_layers.empty())
        return;
    std::vector<StartedLayer> layers = std::move(m_layers);
    Cls();
    for (StartedLayer& layer : layers) {
        m_state = layer.state;
        layer.draw(*this);
    }
}

void Canvas::Line(double x1, double y1, double x2, double y2)
{
    Line(x1, y1, x2, y2, ForeColor());
}

void Canvas::Line(double x1, double y1, double x2, double y2, Rgb color)
{
    if (AllFinite({x1, y1, x2, y2}))
        DoLine(x1, y1, x2, y2, color);
    SetCurrent(x2, y2);
}

void Canvas::Circle(double x, double y, double r)
{
    if (AllFinite({x, y, r}))
        DoCircle(x, y, r, std::nullopt, std::nullopt);
    SetCurrent(x, y);
}

void Canvas::Circle(double x, double y, double r, double start, double end)
{
    if (AllFinite({x, y, r, start, end}))
        DoCircle(x, y, r, start, end);
    SetCurrent(x, y);
}

void Canvas::Print(std::string_view text)
{
    if (AllFinite({CurrentX(), CurrentY()}))
        DoPrint(CurrentX(), CurrentY(), text);
}

std::vector<CanvasOp> RecordingCanvas::OfKind(CanvasOp::Kind kind) const
{
    std::vector<CanvasOp> out;
    for (const auto& op : ops)
        if (op.kind == kind)
            out.push_back(op);
    return out;
}

CanvasOp Canvas::ClsOp() const
{
    CanvasOp op;
    op.kind = CanvasOp::Kind::Cls;
    return op;
}

CanvasOp Canvas::LineOp(double x1, double y1, double x2, double y2, Rgb color) const
{
    CanvasOp op;
    op.kind = CanvasOp::Kind::Line;
    op.x1 = x1;
    op.y1 = y1;
    op.x2 = x2;
    op.y2 = y2;
    op.color = color;
    op.width = DrawWidth();
    return op;
}

CanvasOp Canvas::CircleOp(double x, double y, double r, std::optional<double> start, std::optional<double> end) const
{
    CanvasOp op;
    op.kind = CanvasOp::Kind::Circle;
    op.x1 = x;
    op.y1 = y;
    op.r = r;
    op.start = start;
    op.end = end;
    op.color = ForeColor();
    op.width = DrawWidth();
    op.fillStyle = FillStyle();
    op.fillColor = FillColor();
    return op;
}

CanvasOp Canvas::PrintOp(double x, double y, std::string_view text) const
{
    CanvasOp op;
    op.kind = CanvasOp::Kind::Print;
    op.x1 = x;
    op.y1 = y;
    op.color = ForeColor();
    op.text = std::string(text);
    return op;
}

void RecordingCanvas::DoCls()
{
    ops.push_back(ClsOp());
}

void RecordingCanvas::DoLine(double x1, double y1, double x2, double y2, Rgb color)
{
    ops.push_back(LineOp(x1, y1, x2, y2, color));
}

void RecordingCanvas::DoCircle(double x, double y, double r, std::optional<double> start, std::optional<double> end)
{
    ops.push_back(CircleOp(x, y, r, start, end));
}

void RecordingCanvas::DoPrint(double x, double y, std::string_view text)
{
    ops.push_back(PrintOp(x, y, text));
}

}  // namespace tavrin
