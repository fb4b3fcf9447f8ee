#pragma once

#include <string_view>

#include "app/CaseFile.h"

namespace tavrin::batch {

using Rows = CellRows;
using BatchCase = StructureCase;

// The largest degree the batch tool calculates. The program itself accepts
// any 16-bit degree, but every redundant costs a unit-force case and a row
// and column of the coefficient matrix, and no frame of at most 100 members
// with rigid joints of two members has more redundants than this.
inline constexpr int kMaxBatchDegree = 100;

// Reads a case as the program does (tavrin::ReadCase), refusing besides a
// degree that the model type dialog would accept but the tool does not
// calculate. Never throws.
CaseReading ReadCase(std::string_view text);

}  // namespace tavrin::batch
