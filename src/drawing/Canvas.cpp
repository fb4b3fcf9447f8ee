#include "drawing/Canvas.h"

namespace tavrin {

void Canvas::Cls()
{
    m_currentX = 0.0;
    m_currentY = 0.0;
    DoCls();
}

void Canvas::Line(double x1, double y1, double x2, double y2)
{
    Line(x1, y1, x2, y2, m_foreColor);
}

void Canvas::Line(double x1, double y1, double x2, double y2, Rgb color)
{
    DoLine(x1, y1, x2, y2, color);
    m_currentX = x2;
    m_currentY = y2;
}

void Canvas::Circle(double x, double y, double r)
{
    DoCircle(x, y, r, std::nullopt, std::nullopt);
    m_currentX = x;
    m_currentY = y;
}

void Canvas::Circle(double x, double y, double r, double start, double end)
{
    DoCircle(x, y, r, start, end);
    m_currentX = x;
    m_currentY = y;
}

void Canvas::Print(std::string_view text)
{
    DoPrint(m_currentX, m_currentY, text);
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
    op.width = m_drawWidth;
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
    op.color = m_foreColor;
    op.width = m_drawWidth;
    op.fillStyle = m_fillStyle;
    op.fillColor = m_fillColor;
    return op;
}

CanvasOp Canvas::PrintOp(double x, double y, std::string_view text) const
{
    CanvasOp op;
    op.kind = CanvasOp::Kind::Print;
    op.x1 = x;
    op.y1 = y;
    op.color = m_foreColor;
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
