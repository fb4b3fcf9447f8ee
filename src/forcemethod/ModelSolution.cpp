#include "forcemethod/ModelSolution.h"

#include "forcemethod/ForceMethodTexts.h"

namespace tavrin {

std::optional<ForceMethodSolution> SolutionOfModel(const StructureModel& model, std::string& why)
{
    const int n = model.IndeterminacyDegree < 0 ? 0 : model.IndeterminacyDegree;
    std::vector<OneBasedTable<Load>> loads{model.UserLoads()};
    for (int k = 1; k <= n; ++k) {
        const auto c = static_cast<std::size_t>(k);
        if (c >= model.CaseReactions.size() || !model.CaseReactions[c]) {
            why = EndForcesMissingText(k);
            return std::nullopt;
        }
        loads.push_back(model.CaseReactions[c]->loads);
    }
    return SolveForceMethod(model, loads, why);
}

std::vector<PiecewiseCurve> MemberDeflections(const StructureModel& model, const ForceMethodSolution& solution)
{
    std::vector<PiecewiseCurve> w;
    for (std::int16_t e = 1; e <= model.ElementCount(); ++e) {
        const double EI = model.Elements.at(e).EI;
        const PiecewiseCurve& M = solution.total.members[static_cast<std::size_t>(e - 1)].M;
        w.push_back(EI > 0.0 ? DeflectionOf(M, EI) : PiecewiseCurve{});
    }
    return w;
}

}  // namespace tavrin
