#include <numeric>
#include <stdexcept>
#include <string>

#include "analysis/Arrangements.h"
#include "analysis/Statics.h"
#include "analysis/StaticsTexts.h"

namespace tavrin {

bool ComputeSupportReactions(StructureModel& model, MessageSink& messages, UnmatchedArrangement unmatched)
{
    SupportedBody body;
    body.supports.resize(static_cast<std::size_t>(model.SupportCount()));
    std::iota(body.supports.begin(), body.supports.end(), std::int16_t{1});
    body.elements.resize(static_cast<std::size_t>(model.ElementCount()));
    std::iota(body.elements.begin(), body.elements.end(), std::int16_t{1});
    body.constraintCount = model.SupportConstraintCount;
    const ResultantsOf resultants = [&model](std::span<const std::int16_t> elements, std::int16_t node) {
        return SumLoadResultants(model, elements, node);
    };

    OneBasedTable<Support> reactions = model.Supports;
    ArrangementOutcome outcome;
    try {
        outcome = SolveArrangement(model, body, resultants, reactions);
    } catch (const std::out_of_range&) {
        outcome = {ArrangementStatus::Fault, kNumberOutsideTable};
    }
    if (outcome.status == ArrangementStatus::Solved) {
        model.Supports = std::move(reactions);
        return true;
    }
    if (outcome.status == ArrangementStatus::Unmatched && unmatched == UnmatchedArrangement::Silent)
        return false;
    messages.Show(std::string(kSupportReactionErrorPrefix) + std::string(outcome.reason));
    return false;
}

}  // namespace tavrin
