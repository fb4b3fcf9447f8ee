#pragma once

#include <cstddef>
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

// The most rows a table of the case may have: the input form's grid holds
// 100 rows, and the tool types the supplementary tables into grids of as
// many. A longer table is refused rather than cut, so that no load is lost.
inline constexpr std::size_t kMaxTableRows = 100;

// The largest case file read. The four input tables full take some tens of
// kilobytes; a larger file is refused before it is parsed, since its tree
// takes many times its size in memory.
inline constexpr std::size_t kMaxCaseBytes = 1024 * 1024;
inline constexpr std::string_view kCaseTooLarge = "案例文件大于 1 MiB（1048576 字节），不予读取";

// Either the case or one message naming the line and column of a syntax
// error, or the key whose value does not fit (array indexes from 0).
struct CaseReading {
    std::optional<BatchCase> value;
    std::string error;
};

// Reads a UTF-8 JSON case file. Never throws. Every message is Chinese and
// quotes the text of the file only as QuotedInput does.
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
