#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "analysis/Statics.h"

namespace tavrin {

// The attached-part and basic-part input tables: one part per row; a row's
// numbers run from `firstCol` to its first blank cell, and the table ends at
// the first row whose column 1 is blank. A blank cell holds nothing but
// blanks.
bool IsBlankCell(const TextGrid& grid, int row, int col);

// The row's numbers, each rounded to an integer; std::nullopt when a cell is
// no 16-bit integer.
std::optional<std::vector<std::int16_t>> ReadPartRow(const TextGrid& grid, int row, int firstCol);

// The first cell that ReadPartRow cannot read, in the rows of a part table:
// its row and column as in the grid, and why ("“x4”不是数字").
struct PartCellFault {
    int row = 0;
    int col = 0;
    std::string reason;
};
std::optional<PartCellFault> FirstUnreadablePartCell(const TextGrid& grid, int firstCol);

// The first node of an attached-part row (moment hinge O in column 1, second
// node Q in column 2) on which the part cannot hang by forces alone, as the
// calculation takes it to: a node that none of the part's members reaches,
// one where neither a support nor a member outside the part holds it, or one
// through which a moment reaches the part, because the node is no hinge
// ("铰接") and a member outside the part or a fixed support meets it there. Rows from 1 to the first blank cell in
// column 1; a row that ReadPartRow cannot read, that lists no element, or whose node is outside the table is left to
// the calculation's own refusals.
std::optional<PartCellFault> FirstUnpinnedPartNode(const StructureModel& model, const TextGrid& grid);

// End nodes of the elements, each once, in order of first appearance. Throws
// std::out_of_range for an element or end node outside its table.
std::vector<std::int16_t> NodesOfElements(const StructureModel& model, std::span<const std::int16_t> elements);

bool Contains(std::span<const std::int16_t> numbers, std::int16_t n);

// Forces and node couples are counted by the first part whose elements reach
// their node; marks those at `nodes` in `counted` (entry = load number - 1).
void MarkNodalLoadsCounted(const StructureModel& model, std::span<const std::int16_t> nodes,
                           std::vector<bool>& counted);

// The forces earlier attached parts exert at any of `nodes`, added as loads
// to `r` taken about node O (each transmitted force once).
void AddTransmittedForces(const StructureModel& model, std::span<const std::int16_t> nodes, std::int16_t o,
                          LoadResultants& r);

// A support's row in a reaction table: node, type, Fx, Fy, Fm.
std::array<std::string, 5> SupportRowCells(const Support& support);

// Writes `cells` into data row `row`, growing the grid to hold it.
void WriteResultRow(TextGrid& grid, int row, std::span<const std::string> cells);

// Calculates the parts row by row until the first blank row. `calculate`
// returns the reason of a fault, empty when the part is solved; a fault
// stops the table with "计算错误!" and "<part>第<row>行：<reason>".
bool CalculatePartRows(const TextGrid& partRows, std::string_view partName, MessageSink& messages,
                       const std::function<std::string_view(int row)>& calculate);

}  // namespace tavrin
