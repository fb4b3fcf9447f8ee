#include <array>
#include <stdexcept>
#include <string>

#include "analysis/Arrangements.h"
#include "analysis/PartRows.h"
#include "analysis/Statics.h"
#include "analysis/StaticsTexts.h"
#include "model/NumberText.h"
#include "model/Vocabulary.h"

namespace tavrin {

namespace {

// The part hangs on its moment hinge O, which takes both forces, and its
// second node Q, which carries it vertically when level with O and
// horizontally when plumb to it: O is the pin P of the solution, Q its R.
std::string_view SolvePart(const Node& o, const Node& q, const LoadResultants& s, PinAndAxisReactions& out)
{
    if (q.Y == o.Y && q.X == o.X)
        return kAttachedSecondNodeCoincides;
    if (q.Y == o.Y) {
        out = SolvePinAndAxisReaction(s, ReactionAxis::Vertical, q.X - o.X);
        return {};
    }
    if (q.X == o.X) {
        out = SolvePinAndAxisReaction(s, ReactionAxis::Horizontal, q.Y - o.Y);
        return {};
    }
    return kAttachedSecondNodeSkew;
}

std::array<std::string, 4> NodeRow(const StructureModel& model, std::int16_t node, float fy, float fx)
{
    return {std::to_string(node), std::string(SupportStandsAt(model, node) ? kRollerSupport : kHingeNodeKind),
            FormatForce(fy), FormatForce(fx)};
}

// One row of the table: part `row` writes grid rows 2row-1 and 2row. Nothing
// is written or stored unless the part is solved.
std::string_view CalculateAttachedPart(StructureModel& model, const TextGrid& partRows, int row, TextGrid& resultGrid)
{
    const auto numbers = ReadPartRow(partRows, row, 1);
    if (!numbers)
        return kCellNotANumber;
    if (numbers->size() < 3)
        return kAttachedRowIncomplete;
    const std::int16_t o = (*numbers)[0];
    const std::int16_t q = (*numbers)[1];
    const std::span<const std::int16_t> elements(numbers->data() + 2, numbers->size() - 2);

    PinAndAxisReactions reactions;
    std::vector<std::int16_t> nodes;
    try {
        nodes = NodesOfElements(model, elements);
        LoadResultants s = SumLoadResultants(model, elements, o, &model.LoadsCountedByAttachedParts);
        AddTransmittedForces(model, nodes, o, s);
        const std::string_view reason = SolvePart(model.Nodes.at(o), model.Nodes.at(q), s, reactions);
        if (!reason.empty())
            return reason;
    } catch (const std::out_of_range&) {
        return kNumberOutsideTable;
    }

    const auto hingeRow = NodeRow(model, o, reactions.Py, reactions.Px);
    const auto secondRow = NodeRow(model, q, reactions.Ry, reactions.Rx);
    WriteResultRow(resultGrid, 2 * row - 1, hingeRow);
    WriteResultRow(resultGrid, 2 * row, secondRow);
    for (Support& s : model.Supports) {
        if (s.NodeNo == o) {
            s.Fx = reactions.Px;
            s.Fy = reactions.Py;
        } else if (s.NodeNo == q) {
            s.Fx = reactions.Rx;
            s.Fy = reactions.Ry;
        }
    }
    model.TransmittedForces.push_back({o, -reactions.Px, -reactions.Py});
    model.TransmittedForces.push_back({q, -reactions.Rx, -reactions.Ry});
    MarkNodalLoadsCounted(model, nodes, model.LoadsCountedByAttachedParts);
    return {};
}

}  // namespace

bool ComputeAttachedPartReactions(StructureModel& model, const TextGrid& partRows, TextGrid& resultGrid,
                                  MessageSink& messages)
{
    model.TransmittedForces.clear();
    model.LoadsCountedByAttachedParts.assign(static_cast<std::size_t>(model.LoadCount()), false);
    return CalculatePartRows(partRows, kAttachedPartName, messages,
                             [&](int row) { return CalculateAttachedPart(model, partRows, row, resultGrid); });
}

}  // namespace tavrin
