#pragma once

#include "input/InputTables.h"

namespace tavrin {

// Where the shell opens its forms, in twips from the top-left corner of the
// main window's inner area: beside the picture window, a little below the
// top so the menu bar stays visible.
//   model type dialog: left = picture width,      top = 0.07 * inner height
//   input form:        left = picture width + 50, top = 0.07 * inner height
//   calculation form:  left = picture left + picture width + 50, same top
TwipsPoint ModelDialogPosition(double pictureWidthTwips, double mainInnerHeightTwips);
TwipsPoint InputFormOpeningPosition(double pictureWidthTwips, double mainInnerHeightTwips);
TwipsPoint CalculationFormPosition(double pictureLeftTwips, double pictureWidthTwips, double mainInnerHeightTwips);

}  // namespace tavrin
