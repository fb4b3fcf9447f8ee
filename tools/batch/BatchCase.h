#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace tavrin::batch {

// Rows of cell texts, exactly as a user types them into a grid, from row 1 on.
using Rows = std::vector<std::vector<std::string>>;

// One calculation as a case file states it: the four input tables, the
// model type, the supplementary tables and the diagram scale.
struct BatchCase {
    Rows nodes;
    Rows elements;
    Rows supports;
    Rows loads;
    // The text typed as "超静定次数：" after choosing "超静定结构"; absent
    // for "静定结构".
    std::optional<std::string> degree;
    Rows attachedParts;
    Rows basicParts;
    // Entry k - 1: the unit-force table of Xk.
    std::vector<Rows> unitForces;
    // The answer to the scale prompt; absent for the automatic scale.
    std::optional<std::string> scale;
};

// The largest degree the batch tool calculates. The program itself accepts
// any 16-bit degree, but every redundant costs a unit-force case and a row
// and column of the coefficient matrix, and no frame of at most 100 members
// with rigid joints of two members has more redundants than this.
inline constexpr int kMaxBatchDegree = 100;

// Either the case or one message naming the line and column of a syntax
// error, or the key whose value does not fit (array indexes from 0).
struct CaseReading {
    std::optional<BatchCase> value;
    std::string error;
};

// Reads a UTF-8 JSON case file. Never throws.
CaseReading ReadCase(std::string_view text);

// Line and column (both from 1, the column counted in characters) of the
// character at byte offset `offset` of `text`; an offset past the end names
// the position just after the last character.
struct TextPosition {
    int line = 1;
    int column = 1;
};
TextPosition PositionOfOffset(std::string_view text, std::size_t offset);

}  // namespace tavrin::batch
