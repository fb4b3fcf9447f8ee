#include "qtforms/QtTwips.h"

#include <cmath>

#include <QWidget>

namespace tavrin {

int TwipsToPixelsX(double twips, const QWidget& widget)
{
    return static_cast<int>(std::lround(twips * widget.logicalDpiX() / kTwipsPerInch));
}

int TwipsToPixelsY(double twips, const QWidget& widget)
{
    return static_cast<int>(std::lround(twips * widget.logicalDpiY() / kTwipsPerInch));
}

double PixelsToTwipsX(int pixels, const QWidget& widget)
{
    return pixels * kTwipsPerInch / widget.logicalDpiX();
}

double PixelsToTwipsY(int pixels, const QWidget& widget)
{
    return pixels * kTwipsPerInch / widget.logicalDpiY();
}

QRect ToPixels(const TwipsRect& rect, const QWidget& widget)
{
    return {TwipsToPixelsX(rect.left, widget), TwipsToPixelsY(rect.top, widget), TwipsToPixelsX(rect.width, widget),
            TwipsToPixelsY(rect.height, widget)};
}

}  // namespace tavrin
