#include "analysis/PartRows.h"

#include <algorithm>

#include "analysis/ModelType.h"
#include "analysis/StaticsTexts.h"
#include "model/CellReading.h"
#include "model/ModelTexts.h"
#include "model/NumberText.h"
#include "model/Vocabulary.h"

namespace tavrin {

bool IsBlankCell(const TextGrid& grid, int row, int col)
{
    return IsBlankText(grid.Text(row, col));
}

std::optional<std::vector<std::int16_t>> ReadPartRow(const TextGrid& grid, int row, int firstCol)
{
    std::vector<std::int16_t> numbers;
    for (int col = firstCol; col < grid.Cols() && !IsBlankCell(grid, row, col); ++col) {
        const std::optional<std::int16_t> n = ReadIntegerCell(grid.Text(row, col));
        if (!n)
            return std::nullopt;
        numbers.push_back(*n);
    }
    return numbers;
}

std::optional<PartCellFault> FirstUnreadablePartCell(const TextGrid& grid, int firstCol)
{
    for (int row = 1; row < grid.Rows() && !IsBlankCell(grid, row, 1); ++row)
        for (int col = firstCol; col < grid.Cols() && !IsBlankCell(grid, row, col); ++col)
            if (std::string reason = IntegerCellFault(grid.Text(row, col)); !reason.empty())
                return PartCellFault{row, col, std::move(reason)};
    return std::nullopt;
}

bool Contains(std::span<const std::int16_t> numbers, std::int16_t n)
{
    return std::find(numbers.begin(), numbers.end(), n) != numbers.end();
}

namespace {

// Why the part of `elements` cannot hang on node n by a force alone; empty
// when it can, or when n is no node. The part is held at n by the members
// outside it and by a support there; a moment passes unless n is a hinge or
// what holds it is a pin or a roller alone.
std::string UnpinnedNodeReason(const StructureModel& model, std::span<const std::int16_t> elements, std::int16_t n)
{
    const Node* node = model.Nodes.Find(n);
    if (!node)
        return {};
    bool onPart = false;
    bool outsideMember = false;
    for (const std::int16_t e : ElementsMeetingAt(model, n))
        (Contains(elements, e) ? onPart : outsideMember) = true;
    bool support = false;
    bool fixedSupport = false;
    for (const Support& s : model.Supports)
        if (s.NodeNo == n) {
            support = true;
            fixedSupport = fixedSupport || s.SupportType == kFixedSupport;
        }
    if (!onPart)
        return NodeOffThePartText(n);
    if (!outsideMember && !support)
        return NodeHoldsNothingText(n);
    if (node->JointType != kHingedJoint && (outsideMember || fixedSupport))
        return MomentPassesAtNodeText(n, node->JointType);
    return {};
}

}  // namespace

std::optional<PartCellFault> FirstUnpinnedPartNode(const StructureModel& model, const TextGrid& grid)
{
    for (int row = 1; row < grid.Rows() && !IsBlankCell(grid, row, 1); ++row) {
        const auto numbers = ReadPartRow(grid, row, 1);
        if (!numbers || numbers->size() < 3)
            continue;
        const std::span<const std::int16_t> elements(numbers->data() + 2, numbers->size() - 2);
        for (const int col : {1, 2})
            if (std::string reason = UnpinnedNodeReason(model, elements, (*numbers)[static_cast<std::size_t>(col - 1)]);
                !reason.empty())
                return PartCellFault{row, col, std::move(reason)};
    }
    return std::nullopt;
}

std::vector<std::int16_t> NodesOfElements(const StructureModel& model, std::span<const std::int16_t> elements)
{
    std::vector<std::int16_t> nodes;
    for (const std::int16_t e : elements) {
        const Element& element = model.Elements.at(e);
        for (const std::int16_t n : {element.INode, element.JNode}) {
            static_cast<void>(model.Nodes.at(n));  // an end node outside the table throws
            if (!Contains(nodes, n))
                nodes.push_back(n);
        }
    }
    return nodes;
}

void MarkNodalLoadsCounted(const StructureModel& model, std::span<const std::int16_t> nodes, std::vector<bool>& counted)
{
    counted.resize(static_cast<std::size_t>(model.LoadCount()), false);
    for (std::int16_t l = 1; l <= model.LoadCount(); ++l) {
        const Load& load = model.Loads.at(l);
        const bool nodal = load.LoadType == kConcentratedLoad || (load.LoadType == kCouple && load.ElementNo == 0);
        if (nodal && Contains(nodes, load.NodeNo))
            counted[static_cast<std::size_t>(l - 1)] = true;
    }
}

// Moment clockwise positive, as in SumLoadResultants:
//   M += (yP - yO) Fx - (xP - xO) Fy
void AddTransmittedForces(const StructureModel& model, std::span<const std::int16_t> nodes, std::int16_t o,
                          LoadResultants& r)
{
    const Node& origin = model.Nodes.at(o);
    for (const TransmittedForce& t : model.TransmittedForces) {
        if (!Contains(nodes, t.Node))
            continue;
        const Node& p = model.Nodes.at(t.Node);
        r.Fx += t.Fx;
        r.Fy += t.Fy;
        r.Moment += (p.Y - origin.Y) * t.Fx - (p.X - origin.X) * t.Fy;
    }
}

std::array<std::string, 5> SupportRowCells(const Support& support)
{
    return {std::to_string(support.NodeNo), support.SupportType, FormatForce(support.Fx), FormatForce(support.Fy),
            FormatForce(support.Fm)};
}

void WriteResultRow(TextGrid& grid, int row, std::span<const std::string> cells)
{
    if (grid.Rows() <= row)
        grid.SetRows(row + 1);
    if (grid.Cols() < static_cast<int>(cells.size()))
        grid.SetCols(static_cast<int>(cells.size()));
    for (std::size_t c = 0; c < cells.size(); ++c)
        grid.SetText(row, static_cast<int>(c), cells[c]);
}

bool CalculatePartRows(const TextGrid& partRows, std::string_view partName, MessageSink& messages,
                       const std::function<std::string_view(int row)>& calculate)
{
    for (int row = 1; row < partRows.Rows() && !IsBlankCell(partRows, row, 1); ++row) {
        const std::string_view reason = calculate(row);
        if (!reason.empty()) {
            messages.Show(kCalculationError);
            messages.Show(std::string(partName) + RowPlace(row) + std::string(reason));
            return false;
        }
    }
    return true;
}

}  // namespace tavrin
