#include "app/ShellPlacement.h"

#include <algorithm>

#include "forcemethod/CalculationSession.h"

namespace tavrin {

namespace {

constexpr double kTopFraction = 0.07;
constexpr double kGapTwips = 50.0;
// Title bar and borders the window system adds around a form's client area.
constexpr TwipsSize kWindowFrame{120.0, 480.0};
// Window sizes are whole pixels: a form that fits to within two of them fits.
constexpr double kPixelRoundingTwips = 30.0;

TwipsSize WithFrame(TwipsSize client)
{
    return {client.width + kWindowFrame.width, client.height + kWindowFrame.height};
}

// The calculation form fits below the input form when both stand in the
// inner height from the forms' top.
bool FormsFitInOneColumn(double innerHeight)
{
    const double top = kTopFraction * innerHeight;
    return top + InputFormFrameSize().height + kGapTwips + CalculationFormFrameSize().height <= innerHeight;
}

}  // namespace

TwipsSize InputFormFrameSize()
{
    return WithFrame(kInputFormTwips);
}

TwipsSize CalculationFormFrameSize()
{
    return WithFrame(kCalculationFormTwips);
}

TwipsSize PictureStartSize(TwipsSize inner)
{
    const double input = InputFormFrameSize().width;
    const double calculation = CalculationFormFrameSize().width;
    const double forms =
        FormsFitInOneColumn(inner.height) ? std::max(input, calculation) : input + kGapTwips + calculation;
    const double width = std::max(inner.width - kGapTwips - forms, inner.width / 4.0);
    return {width, inner.height};
}

TwipsPoint ModelDialogPosition(double pictureWidthTwips, double mainInnerHeightTwips)
{
    return {pictureWidthTwips, kTopFraction * mainInnerHeightTwips};
}

TwipsPoint InputFormOpeningPosition(double pictureRightTwips, double mainInnerHeightTwips)
{
    return {pictureRightTwips + kGapTwips, kTopFraction * mainInnerHeightTwips};
}

TwipsPoint CalculationFormPosition(double pictureRightTwips, TwipsSize inner)
{
    const TwipsPoint input = InputFormOpeningPosition(pictureRightTwips, inner.height);
    const TwipsSize inputSize = InputFormFrameSize();
    const double width = CalculationFormFrameSize().width;
    const TwipsPoint below{input.left, input.top + inputSize.height + kGapTwips};
    if (FormsFitInOneColumn(inner.height))
        return below;
    const double right = input.left + inputSize.width + kGapTwips;
    if (right + width <= inner.width + kPixelRoundingTwips)
        return {right, input.top};
    const double left = input.left - kGapTwips - width;
    if (left >= 0.0)
        return {left, input.top};
    return below;
}

}  // namespace tavrin
