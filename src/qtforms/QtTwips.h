#pragma once

#include <QRect>

class QWidget;

namespace tavrin {

inline constexpr double kTwipsPerInch = 1440.0;

// The forms are laid out in twips (1/1440 inch); the screen's logical DPI
// turns them into pixels, so a form keeps its proportions on any screen.
int TwipsToPixelsX(double twips, const QWidget& widget);
int TwipsToPixelsY(double twips, const QWidget& widget);
double PixelsToTwipsX(int pixels, const QWidget& widget);
double PixelsToTwipsY(int pixels, const QWidget& widget);

// A control's rectangle given in twips within its parent.
struct TwipsRect {
    int left;
    int top;
    int width;
    int height;
};
QRect ToPixels(const TwipsRect& rect, const QWidget& widget);

}  // namespace tavrin
