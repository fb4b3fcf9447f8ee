#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace tavrin {

struct Rgb {
    std::uint8_t r = 0, g = 0, b = 0;
    bool operator==(const Rgb&) const = default;
};

inline constexpr Rgb kBlack{0, 0, 0};
inline constexpr Rgb kRed{255, 0, 0};
inline constexpr Rgb kBlue{0, 0, 255};
inline constexpr Rgb kMagenta{255, 0, 255};
inline constexpr Rgb kCyan{0, 255, 255};
inline constexpr Rgb kLightGrey{224, 224, 224};  // the picture's background

inline constexpr int kFillSolid = 0;
inline constexpr int kFillTransparent = 1;

struct CanvasOp;

// The structure picture as the drawing passes see it. Coordinates are picture
// units: origin at the top-left corner, x to the right, y downward. The
// drawing state (colours, width, fill, text position) persists from one call
// to the next and from one pass to the next; nothing resets it except that
// Cls() puts the text position back to the top-left corner. A Line leaves the
// text position at its end point and a Circle at its centre, so a label
// printed right after a line starts at the line's end. An operation at a
// point, radius or angle that is not a finite number is not drawn, so that
// no surface or picture file ever holds one; the state moves on as if it had
// been.
class Canvas {
public:
    virtual ~Canvas() = default;

    virtual double ScaleWidth() const = 0;
    virtual double ScaleHeight() const = 0;

    void Cls();
    // In the foreground colour and the current width.
    void Line(double x1, double y1, double x2, double y2);
    // In the given colour; the foreground colour is unchanged.
    void Line(double x1, double y1, double x2, double y2, Rgb color);
    // Full circle of radius r (horizontal picture units).
    void Circle(double x, double y, double r);
    // Arc drawn counter-clockwise on screen from `start` to `end` (radians,
    // 0 to the right, pi/2 up). A negative angle means its absolute value and
    // also draws the radius from the centre to that end of the arc.
    void Circle(double x, double y, double r, double start, double end);
    // Text with its top-left corner at (CurrentX, CurrentY).
    void Print(std::string_view text);
    // What the picture shows, for the caption of the window that holds it.
    void SetCaption(std::string_view caption) { DoSetCaption(caption); }

    Rgb ForeColor() const { return m_state.foreColor; }
    void SetForeColor(Rgb c) { m_state.foreColor = c; }
    int DrawWidth() const { return m_state.drawWidth; }
    void SetDrawWidth(int pixels) { m_state.drawWidth = pixels; }
    int FillStyle() const { return m_state.fillStyle; }
    void SetFillStyle(int style) { m_state.fillStyle = style; }
    Rgb FillColor() const { return m_state.fillColor; }
    void SetFillColor(Rgb c) { m_state.fillColor = c; }
    double CurrentX() const { return m_state.currentX; }
    double CurrentY() const { return m_state.currentY; }
    void SetCurrentX(double x) { m_state.currentX = x; }
    void SetCurrentY(double y) { m_state.currentY = y; }
    void SetCurrent(double x, double y)
    {
        m_state.currentX = x;
        m_state.currentY = y;
    }

    // A drawing pass over the whole picture, drawn again to redraw the
    // picture at another size.
    using Layer = std::function<void(Canvas&)>;
    // Remembers `layer` as the next layer of the picture, with the drawing
    // state in force now. A pass calls this before it draws (after its Cls,
    // if it clears); Cls forgets every layer.
    void AddLayer(Layer layer);
    bool HasLayers() const { return !m_layers.empty(); }
    // Clears the picture and draws its layers again in their order, each
    // from the drawing state it started with, at the size the canvas has
    // now. Nothing when no layer was drawn since the last Cls.
    void DrawLayersAgain();

protected:
    // The operation about to be drawn with the state in force folded in, for
    // surfaces that keep or replay operations.
    CanvasOp ClsOp() const;
    CanvasOp LineOp(double x1, double y1, double x2, double y2, Rgb color) const;
    CanvasOp CircleOp(double x, double y, double r, std::optional<double> start, std::optional<double> end) const;
    CanvasOp PrintOp(double x, double y, std::string_view text) const;

    // The state in force is read through the accessors above.
    virtual void DoCls() = 0;
    virtual void DoLine(double x1, double y1, double x2, double y2, Rgb color) = 0;
    // start/end absent for a full circle; otherwise as given to Circle().
    virtual void DoCircle(double x, double y, double r, std::optional<double> start, std::optional<double> end) = 0;
    virtual void DoPrint(double x, double y, std::string_view text) = 0;
    // A surface without a window has no caption to set.
    virtual void DoSetCaption(std::string_view /*caption*/) {}

private:
    struct DrawingState {
        Rgb foreColor = kBlack;
        int drawWidth = 1;
        int fillStyle = kFillTransparent;
        Rgb fillColor = kBlack;
        double currentX = 0.0;
        double currentY = 0.0;
    };
    struct StartedLayer {
        DrawingState state;
        Layer draw;
    };

    DrawingState m_state;
    std::vector<StartedLayer> m_layers;
};

// One drawing operation with the state in force folded in.
struct CanvasOp {
    enum class Kind { Cls, Line, Circle, Print };
    Kind kind = Kind::Cls;
    double x1 = 0, y1 = 0, x2 = 0, y2 = 0;  // Line; Circle centre in x1, y1; Print position in x1, y1
    double r = 0;
    std::optional<double> start, end;  // arcs only
    Rgb color;                         // line, outline or text colour
    int width = 1;
    int fillStyle = kFillTransparent;
    Rgb fillColor;
    std::string text;
    bool operator==(const CanvasOp&) const = default;
};

// Keeps every operation, for tests and the batch tool's trace.
class RecordingCanvas : public Canvas {
public:
    explicit RecordingCanvas(double scaleWidth = 267.0, double scaleHeight = 267.0)
        : m_width(scaleWidth), m_height(scaleHeight)
    {
    }
    double ScaleWidth() const override { return m_width; }
    double ScaleHeight() const override { return m_height; }
    void SetScaleSize(double w, double h)
    {
        m_width = w;
        m_height = h;
    }

    std::vector<CanvasOp> ops;
    // The caption last set; not an operation of the picture.
    std::string caption;

    // Convenience filters for tests.
    std::vector<CanvasOp> Lines() const { return OfKind(CanvasOp::Kind::Line); }
    std::vector<CanvasOp> Circles() const { return OfKind(CanvasOp::Kind::Circle); }
    std::vector<CanvasOp> Prints() const { return OfKind(CanvasOp::Kind::Print); }
    std::vector<CanvasOp> OfKind(CanvasOp::Kind kind) const;

protected:
    void DoCls() override;
    void DoLine(double x1, double y1, double x2, double y2, Rgb color) override;
    void DoCircle(double x, double y, double r, std::optional<double> start, std::optional<double> end) override;
    void DoPrint(double x, double y, std::string_view text) override;
    void DoSetCaption(std::string_view text) override { caption = text; }

private:
    double m_width;
    double m_height;
};

}  // namespace tavrin
