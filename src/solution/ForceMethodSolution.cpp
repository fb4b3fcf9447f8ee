#include "solution/ForceMethodSolution.h"

#include "solution/DenseLu.h"
#include "solution/SolutionTexts.h"

namespace tavrin {

double MemberProduct(const StructureModel& model, const CaseForces& a, const CaseForces& b, int e)
{
    const auto k = static_cast<std::size_t>(e - 1);
    return IntegralOfProduct(a.members[k].M, b.members[k].M) / static_cast<double>(model.Elements.at(e).EI);
}

namespace {

double SumOfProducts(const StructureModel& model, const CaseForces& a, const CaseForces& b)
{
    double sum = 0.0;
    for (int e = 1; e <= model.ElementCount(); ++e)
        sum += MemberProduct(model, a, b, e);
    return sum;
}

}  // namespace

std::optional<ForceMethodSolution> SolveForceMethod(const StructureModel& model,
                                                    const std::vector<OneBasedTable<Load>>& caseLoads, std::string& why,
                                                    bool solveUnknowns)
{
    return SolveForceMethod(model, caseLoads, ImposedDeformation{}, why, solveUnknowns);
}

std::optional<ForceMethodSolution> SolveForceMethod(const StructureModel& model,
                                                    const std::vector<OneBasedTable<Load>>& caseLoads,
                                                    const ImposedDeformation& imposed, std::string& why,
                                                    bool solveUnknowns)
{
    ForceMethodSolution s;
    s.imposed = imposed;
    s.degree = caseLoads.empty() ? 0 : static_cast<int>(caseLoads.size()) - 1;
    for (const OneBasedTable<Load>& table : caseLoads) {
        std::optional<CaseLoads> loads = ReadCaseLoads(model, table, why);
        if (!loads)
            return std::nullopt;
        std::optional<CaseForces> forces = SolveStatics(model, *loads, why);
        if (!forces)
            return std::nullopt;
        s.loads.push_back(std::move(*loads));
        s.cases.push_back(std::move(*forces));
    }
    if (s.cases.empty()) {
        why = kStaticsNotSquare;
        return std::nullopt;
    }
    const auto n = static_cast<std::size_t>(s.degree);
    if (n > 0) {
        for (const Element& element : model.Elements)
            if (!(element.EI > 0.0f) || element.Length == 0.0f) {
                why = kNoStiffness;
                return std::nullopt;
            }
        s.delta.assign(n, std::vector<double>(n, 0.0));
        s.Delta.assign(n, 0.0);
        s.Dc.assign(n, 0.0);
        s.Dt.assign(n, 0.0);
        s.c.assign(n, 0.0);
        for (std::size_t i = 0; i < n; ++i) {
            for (std::size_t j = i; j < n; ++j)
                s.delta[i][j] = s.delta[j][i] = SumOfProducts(model, s.cases[i + 1], s.cases[j + 1]);
            s.Delta[i] = SumOfProducts(model, s.cases[0], s.cases[i + 1]);
            s.Dc[i] = SettlementTerm(model, s.cases[i + 1], imposed.settlements);
            s.Dt[i] = TemperatureTerm(model, s.cases[i + 1], s.loads[i + 1].members, imposed.temperatures);
            s.c[i] = i < imposed.alongX.size() ? imposed.alongX[i] : 0.0;
        }
        if (!solveUnknowns) {
            s.total = s.cases.front();
            return s;
        }
        const std::optional<DenseLu> lu = DenseLu::Factor(s.delta, 1e-13);
        if (!lu) {
            why = kCanonicalSingular;
            return std::nullopt;
        }
        std::vector<double> rhs(n, 0.0);
        for (std::size_t i = 0; i < n; ++i)
            rhs[i] = s.c[i] - s.Delta[i] - s.Dc[i] - s.Dt[i];
        s.X = lu->Solve(rhs);
    }
    s.total = Superpose(s.cases, s.X);
    return s;
}

}  // namespace tavrin
