#pragma once

#include "input/InputTables.h"

namespace tavrin {

// Where the shell puts its windows, in twips from the top-left corner of the
// main window's inner area. The input form and the calculation form stand
// beside the picture window, a little below the top so the menu bar stays
// visible, and never over each other:
//   model type dialog: left = picture width,      top = 0.07 * inner height
//   input form:        left = picture right + 50, top = 0.07 * inner height
//   calculation form:  below the input form where the height allows, else to
//                      its right, else to its left over the picture, else
//                      below it all the same.

// A form's outer size: its client area as designed and a window frame.
TwipsSize InputFormFrameSize();
TwipsSize CalculationFormFrameSize();

// The picture window at start: the whole inner height, and the width the two
// forms leave beside it, laid out as CalculationFormPosition lays them out;
// at least a quarter of the inner width.
TwipsSize PictureStartSize(TwipsSize inner);

TwipsPoint ModelDialogPosition(double pictureWidthTwips, double mainInnerHeightTwips);
TwipsPoint InputFormOpeningPosition(double pictureRightTwips, double mainInnerHeightTwips);
TwipsPoint CalculationFormPosition(double pictureRightTwips, TwipsSize inner);

}  // namespace tavrin
