#include "app/ShellPlacement.h"

namespace tavrin {

namespace {

constexpr double kTopFraction = 0.07;
constexpr double kGapTwips = 50.0;

}  // namespace

TwipsPoint ModelDialogPosition(double pictureWidthTwips, double mainInnerHeightTwips)
{
    return {pictureWidthTwips, kTopFraction * mainInnerHeightTwips};
}

TwipsPoint InputFormOpeningPosition(double pictureWidthTwips, double mainInnerHeightTwips)
{
    return {pictureWidthTwips + kGapTwips, kTopFraction * mainInnerHeightTwips};
}

TwipsPoint CalculationFormPosition(double pictureLeftTwips, double pictureWidthTwips, double mainInnerHeightTwips)
{
    return {pictureLeftTwips + pictureWidthTwips + kGapTwips, kTopFraction * mainInnerHeightTwips};
}

}  // namespace tavrin
