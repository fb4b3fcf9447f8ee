#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include <QColor>
#include <QImage>
#include <QSize>

#include "drawing/Canvas.h"
#include "qtforms/QtTwips.h"

class QPainter;

namespace tavrin {

// The size of one picture unit on a device. The unit was laid out in twips
// (1/1440 inch) at the screen's logical resolution: 28.547 across and 31.2
// down, so a unit is about 9 % taller than wide.
struct PictureUnits {
    static constexpr double kTwipsAcross = 28.547;
    static constexpr double kTwipsDown = 31.2;
    static constexpr double kDefaultDpi = 96.0;

    double dpiX = kDefaultDpi;
    double dpiY = kDefaultDpi;

    double PixelsPerUnitX() const { return kTwipsAcross / kTwipsPerInch * dpiX; }
    double PixelsPerUnitY() const { return kTwipsDown / kTwipsPerInch * dpiY; }
    // Device pixels that hold `units` picture units, rounded up.
    QSize PixelsFor(double widthUnits, double heightUnits) const;
};

inline QColor ToQColor(Rgb c)
{
    return QColor(c.r, c.g, c.b);
}

// Whether a picture's positions are snapped to whole pixels, as on a screen,
// or left where they fall, as on paper.
enum class PixelGrid : std::uint8_t { Snapped, Free };

// Paints one operation onto any painter whose device is laid out in pixels
// of `units`, positions snapped to whole pixels as on a screen unless `grid`
// is Free: lines and
// outlines in their colour and width (device pixels),
// circles as true circles with the radius in horizontal units, arcs
// counter-clockwise from start to end with the radius drawn to a negated
// end, text with its top-left corner at the position in the painter's font.
// Cls fills the painter's whole window with `background`, and so does a
// fill in the window's own background colour (kLightGrey: the hinge circles
// that hide the lines under them), so that a picture painted on white paper
// is white throughout.
void PaintCanvasOp(QPainter& painter, const CanvasOp& op, const PictureUnits& units,
                   const QColor& background = ToQColor(kLightGrey), PixelGrid grid = PixelGrid::Snapped);

// Render settings of the picture: smoothed lines and arcs, unsmoothed text
// (labels printed repeatedly at one place must not thicken). Apply to every
// painter that paints canvas operations so that all outputs look alike.
void PreparePicturePainter(QPainter& painter);

// The picture window's surface: a persistent image the drawing passes paint
// into, shown by the window and kept while the window is covered, and the
// operations of the picture showing, to save or print it. The image only
// grows: enlarging the client area keeps what was drawn.
class QtCanvas : public Canvas {
public:
    // The client area the picture window was designed with, picture units.
    static constexpr double kDesignedClientUnits = 267.0;

    // Without a size, the designed client area.
    explicit QtCanvas(QSize clientPixels = QSize(), PictureUnits units = {});
    ~QtCanvas() override;

    double ScaleWidth() const override;
    double ScaleHeight() const override;

    // The client area in device pixels; grows the image when it is larger.
    void SetClientSize(QSize pixels);
    QSize ClientSize() const { return m_client; }

    // The picture as drawn so far.
    const QImage& Image() const
    {
        EndPainting();
        return m_image;
    }
    const PictureUnits& Units() const { return m_units; }
    // The operations of the picture showing: from its last Cls on, in order.
    const std::vector<CanvasOp>& ShownOps() const { return m_shown; }
    // The caption the drawing gave the picture last ("弯矩图", ...).
    const std::string& Caption() const { return m_caption; }

    // Called after every change of the image, e.g. to schedule a repaint.
    void SetChangedCallback(std::function<void()> callback) { m_changed = std::move(callback); }
    // Called with each caption the drawing gives the picture.
    void SetCaptionCallback(std::function<void(std::string_view)> callback) { m_captioned = std::move(callback); }

protected:
    void DoCls() override;
    void DoLine(double x1, double y1, double x2, double y2, Rgb color) override;
    void DoCircle(double x, double y, double r, std::optional<double> start, std::optional<double> end) override;
    void DoPrint(double x, double y, std::string_view text) override;
    void DoSetCaption(std::string_view caption) override
    {
        m_caption = std::string(caption);
        if (m_captioned)
            m_captioned(caption);
    }

private:
    void Paint(const CanvasOp& op);
    void EndPainting() const;
    QImage BlankImage(QSize pixels) const;

    PictureUnits m_units;
    QSize m_client;
    QImage m_image;
    std::vector<CanvasOp> m_shown;
    std::string m_caption;
    std::function<void()> m_changed;
    std::function<void(std::string_view)> m_captioned;
    // One painter draws operation after operation, as long as no one reads
    // the image: opening a painter costs more than most operations.
    mutable std::unique_ptr<QPainter> m_painter;
};

}  // namespace tavrin
