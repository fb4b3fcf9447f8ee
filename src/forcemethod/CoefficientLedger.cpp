#include "forcemethod/CoefficientLedger.h"

#include "forcemethod/ModelSolution.h"

#include <cmath>

#include "analysis/Statics.h"
#include "solution/FrameStatics.h"
#include "solution/MemberLoad.h"

namespace tavrin {

namespace {

LedgerTerm CaseProduct(const StructureModel& model, int e, int a, int b, float q)
{
    const CaseForceTable& M = model.CaseMoments;
    return MemberProduct(model.Elements.at(e), e, M.at(a, e, 1), M.at(a, e, 2), M.at(b, e, 1), M.at(b, e, 2), q);
}

LedgerEntry Entry(const StructureModel& model, int i, int j, const std::vector<float>& q,
                  const std::vector<MemberLoad>& between)
{
    LedgerEntry entry{i, j, {}, 0.0, 0.0f};
    for (int e = 1; e <= model.ElementCount(); ++e) {
        // Delta_ip multiplies MP, with the parabola of the loads, by M̄i; the
        // loads between the nodes add their moment beyond the chord.
        entry.terms.push_back(j == 0 ? CaseProduct(model, e, 0, i, q[static_cast<std::size_t>(e)])
                                     : CaseProduct(model, e, i, j, 0.0f));
        if (const MemberLoad& load = between[static_cast<std::size_t>(e - 1)]; j == 0 && load.AnyBetweenNodes()) {
            LedgerTerm& t = entry.terms.back();
            const double more = load.IntegralBeyondChord(t.b1, t.b2) / t.EI;
            t.parabola += more;
            t.term += more;
        }
        entry.total += entry.terms.back().term;
        entry.stored += static_cast<float>(entry.terms.back().term);
    }
    return entry;
}

}  // namespace

// The product integral of the linear diagrams a and b over the member, plus
// the parabola of a uniform load q (mid-span height q L^2 / 8) times b:
//   L / (6 EI) (2 a1 b1 + 2 a2 b2 + a1 b2 + a2 b1 + q L^2 (b1 + b2) / 4)
// evaluated in this order, so that the float the coefficient step rounds it
// to is the one it always was.
LedgerTerm MemberProduct(const Element& element, int member, double a1, double a2, double b1, double b2, float q)
{
    LedgerTerm t{member, element.Length, element.EI, a1, a2, b1, b2, q};
    const double factor = t.L / (6.0 * t.EI);
    const double parabola = static_cast<double>(q) * t.L * t.L * (b1 + b2) / 4.0;
    t.parabola = factor * parabola;
    t.term = factor * (2.0 * a1 * b1 + 2.0 * a2 * b2 + a1 * b2 + a2 * b1 + parabola);
    return t;
}

// q = qv C|C| - qh S|S|, qh and qv the sums of the horizontal and vertical
// loads on the member.
std::vector<float> TransverseIntensities(const StructureModel& model)
{
    const std::int16_t count = model.ElementCount();
    const OneBasedTable<DistributedIntensity> loads = SumDistributedLoads(model.UserLoads(), count);
    std::vector<float> q(static_cast<std::size_t>(count < 0 ? 0 : count) + 1, 0.0f);
    for (std::int16_t e = 1; e <= count; ++e) {
        q[static_cast<std::size_t>(e)] =
            TransverseIntensity(model.Elements.at(e).SinA, model.Elements.at(e).CosA, loads.at(e).qh, loads.at(e).qv);
    }
    return q;
}

LedgerTerm LedgerTermOf(const StructureModel& model, int e, const MemberForces& a, const MemberLoad& loadOnA,
                        const MemberForces& b)
{
    const double EI = model.Elements.at(e).EI;
    LedgerTerm t{e, AxisOf(model, model.Elements.at(e)).L, EI, a.i.M, a.j.M, b.i.M, b.j.M, loadOnA.q()};
    t.parabola = loadOnA.IntegralBeyondChord(b.i.M, b.j.M) / EI;
    t.term = IntegralOfProduct(a.M, b.M) / EI;
    return t;
}

std::vector<LedgerEntry> SolutionLedger(const StructureModel& model, const ForceMethodSolution& solution)
{
    const auto entry = [&](int i, int j) {
        const int a = j == 0 ? 0 : i;
        const int b = j == 0 ? i : j;
        LedgerEntry out{i, j, {}, 0.0, 0.0f};
        for (int e = 1; e <= model.ElementCount(); ++e) {
            const auto k = static_cast<std::size_t>(e - 1);
            out.terms.push_back(LedgerTermOf(model, e, solution.cases[static_cast<std::size_t>(a)].members[k],
                                             solution.loads[static_cast<std::size_t>(a)].members[k],
                                             solution.cases[static_cast<std::size_t>(b)].members[k]));
            out.total += out.terms.back().term;
        }
        out.stored = static_cast<float>(out.total);
        return out;
    };
    std::vector<LedgerEntry> entries;
    for (int i = 1; i <= solution.degree; ++i)
        for (int j = i; j <= solution.degree; ++j)
            entries.push_back(entry(i, j));
    for (int i = 1; i <= solution.degree; ++i)
        entries.push_back(entry(i, 0));
    return entries;
}

std::vector<LedgerEntry> LedgerOfModel(const StructureModel& model)
{
    std::string why;
    const std::optional<ForceMethodSolution> solution = SolutionOfModel(model, why, false);
    return solution ? SolutionLedger(model, *solution) : std::vector<LedgerEntry>{};
}

std::vector<ImposedLedgerEntry> ImposedLedger(const StructureModel& model, const ForceMethodSolution& solution)
{
    std::vector<ImposedLedgerEntry> entries;
    const ImposedDeformation& imposed = solution.imposed;
    if (imposed.settlements.empty() && imposed.temperatures.empty())
        return entries;
    for (int i = 1; i <= solution.degree; ++i) {
        const auto k = static_cast<std::size_t>(i);
        entries.push_back({i, SettlementShares(model, solution.cases[k], imposed.settlements),
                           TemperatureShares(model, solution.cases[k], solution.loads[k].members, imposed.temperatures),
                           solution.Dc[k - 1], solution.Dt[k - 1]});
    }
    return entries;
}

std::vector<ImposedLedgerEntry> ImposedLedgerOfModel(const StructureModel& model)
{
    std::string why;
    const std::optional<ForceMethodSolution> solution = SolutionOfModel(model, why, false);
    return solution ? ImposedLedger(model, *solution) : std::vector<ImposedLedgerEntry>{};
}

std::vector<std::int16_t> ElementsWithoutStiffness(const StructureModel& model)
{
    std::vector<std::int16_t> zero;
    for (std::int16_t e = 1; e <= model.ElementCount(); ++e) {
        const Element& element = model.Elements.at(e);
        if (element.EI == 0.0f || element.Length == 0.0f)
            zero.push_back(e);
    }
    return zero;
}

std::vector<LedgerEntry> FormCoefficientLedger(const StructureModel& model, int degree)
{
    const int n = degree < 0 ? 0 : degree;
    if (model.CaseMoments.CaseCount() < n + 1 || model.CaseMoments.ElementCount() != model.ElementCount())
        return {};
    for (const Element& element : model.Elements)
        if (element.EI == 0.0f || element.Length == 0.0f)
            return {};
    const std::vector<float> q = TransverseIntensities(model);
    std::vector<MemberLoad> between;
    try {
        between = BetweenNodesLoads(model, model.UserLoads());
    } catch (const std::out_of_range&) {
        return {};
    }
    std::vector<LedgerEntry> entries;
    for (int i = 1; i <= n; ++i)
        for (int j = i; j <= n; ++j)
            entries.push_back(Entry(model, i, j, q, between));
    for (int i = 1; i <= n; ++i)
        entries.push_back(Entry(model, i, 0, q, between));
    return entries;
}

}  // namespace tavrin
