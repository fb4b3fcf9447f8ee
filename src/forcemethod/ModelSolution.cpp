#include "forcemethod/ModelSolution.h"

#include <algorithm>
#include <cmath>

#include "forcemethod/ForceMethodTexts.h"

namespace tavrin {

std::optional<ForceMethodSolution> SolutionOfModel(const StructureModel& model, std::string& why, bool solveUnknowns)
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
    return SolveForceMethod(model, loads, why, solveUnknowns);
}

std::optional<ForceMethodSolution> SolutionOfModel(const StructureModel& model, MessageSink& messages)
{
    std::string why;
    std::optional<ForceMethodSolution> solution = SolutionOfModel(model, why);
    if (!solution)
        messages.Show(why);
    return solution;
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

TableDeviation FinalForceDeviation(const StructureModel& model, const ForceMethodSolution& solution)
{
    TableDeviation d;
    for (std::int16_t e = 1; e <= model.ElementCount(); ++e) {
        const Element& table = model.Elements.at(e);
        const MemberForces& m = solution.total.members[static_cast<std::size_t>(e - 1)];
        const std::pair<const char*, std::pair<double, double>> values[] = {
            {"Ni", {table.Ni, m.i.N}}, {"Vi", {table.Vi, m.i.V}}, {"Mi", {table.Mi, m.i.M}},
            {"Nj", {table.Nj, m.j.N}}, {"Vj", {table.Vj, m.j.V}}, {"Mj", {table.Mj, m.j.M}}};
        for (const auto& [name, v] : values) {
            d.scale = std::max(d.scale, std::abs(v.second));
            if (const double diff = std::abs(v.first - v.second); diff > d.largest) {
                d.largest = diff;
                d.member = e;
                d.quantity = name;
            }
        }
    }
    return d;
}

bool DeviationShows(const TableDeviation& d)
{
    return d.largest > 0.005 && d.largest > 1e-6 * d.scale;
}

}  // namespace tavrin
