#include <stdexcept>
#include <string>

#include "analysis/Arrangements.h"
#include "analysis/PartRows.h"
#include "analysis/Statics.h"
#include "analysis/StaticsTexts.h"
#include "model/Vocabulary.h"

namespace tavrin {

namespace {

// The supports standing at the part's nodes, in table order, and their
// restraints: the part is solved as a structure of its own.
SupportedBody BodyOfPart(const StructureModel& model, std::span<const std::int16_t> elements,
                         std::span<const std::int16_t> nodes)
{
    SupportedBody body;
    body.elements.assign(elements.begin(), elements.end());
    for (std::int16_t s = 1; s <= model.SupportCount(); ++s) {
        const Support& support = model.Supports.at(s);
        if (Contains(nodes, support.NodeNo)) {
            body.supports.push_back(s);
            body.constraintCount =
                static_cast<std::int16_t>(body.constraintCount + RestraintCount(support.SupportType));
        }
    }
    return body;
}

// Solves the part in row `row` and appends one grid row per support of the
// part from `gridRow` on. `counted` holds the nodal loads earlier parts have
// taken; the part's own are added once it is solved.
std::string_view CalculateBasicPart(StructureModel& model, const TextGrid& partRows, int row,
                                    std::vector<bool>& counted, TextGrid& resultGrid, int& gridRow)
{
    const auto elements = ReadPartRow(partRows, row, 1);
    if (!elements)
        return kCellNotANumber;

    SupportedBody body;
    std::vector<std::int16_t> nodes;
    OneBasedTable<Support> reactions = model.Supports;
    try {
        nodes = NodesOfElements(model, *elements);
        body = BodyOfPart(model, *elements, nodes);
        const ResultantsOf resultants = [&](std::span<const std::int16_t> subset, std::int16_t node) {
            LoadResultants r = SumLoadResultants(model, subset, node, &counted);
            AddTransmittedForces(model, NodesOfElements(model, subset), node, r);
            return r;
        };
        const ArrangementOutcome outcome = SolveArrangement(model, body, resultants, reactions);
        if (outcome.status != ArrangementStatus::Solved)
            return outcome.reason;
    } catch (const std::out_of_range&) {
        return kNumberOutsideTable;
    }

    model.Supports = std::move(reactions);
    for (const std::int16_t s : body.supports)
        WriteResultRow(resultGrid, gridRow++, SupportRowCells(model.Supports.at(s)));
    MarkNodalLoadsCounted(model, nodes, counted);
    return {};
}

}  // namespace

bool ComputeBasicPartReactions(StructureModel& model, const TextGrid& partRows, TextGrid& resultGrid,
                               MessageSink& messages)
{
    std::vector<bool> counted = model.LoadsCountedByAttachedParts;
    if (counted.size() != static_cast<std::size_t>(model.LoadCount()))
        counted.assign(static_cast<std::size_t>(model.LoadCount()), false);
    int gridRow = 1;
    return CalculatePartRows(partRows, kBasicPartName, messages, [&](int row) {
        return CalculateBasicPart(model, partRows, row, counted, resultGrid, gridRow);
    });
}

}  // namespace tavrin
