#include "solution/ImposedDeformation.h"

namespace tavrin {

bool ImposedDeformation::Any() const
{
    for (const double c : alongX)
        if (c != 0.0)
            return true;
    return !settlements.empty() || !temperatures.empty();
}

double ReactionAlong(const StructureModel& model, const CaseForces& forces, const Settlement& s)
{
    double R = 0.0;
    for (std::int16_t k = 1; k <= model.SupportCount() && static_cast<std::size_t>(k) <= forces.supports.size(); ++k) {
        if (model.Supports.at(k).NodeNo != s.node)
            continue;
        const ReactionForces& r = forces.supports[static_cast<std::size_t>(k - 1)];
        R += s.kind == SettlementKind::Horizontal ? r.Fx : s.kind == SettlementKind::Vertical ? r.Fy : -r.Fm;
    }
    return R;
}

std::vector<SettlementShare> SettlementShares(const StructureModel& model, const CaseForces& unit,
                                              const std::vector<Settlement>& settlements)
{
    std::vector<SettlementShare> shares;
    for (const Settlement& s : settlements) {
        const double R = ReactionAlong(model, unit, s);
        shares.push_back({s, R, -R * s.value});
    }
    return shares;
}

std::vector<TemperatureShare> TemperatureShares(const StructureModel& model, const CaseForces& unit,
                                                const std::vector<MemberLoad>& unitLoads,
                                                const std::vector<TemperatureChange>& temperatures)
{
    std::vector<TemperatureShare> shares;
    for (const TemperatureChange& t : temperatures) {
        if (!model.Elements.Has(t.element))
            continue;
        const auto e = static_cast<std::size_t>(t.element - 1);
        const MemberForces& m = unit.members[e];
        const double L = m.M.Length();
        const PiecewiseCurve one = SinglePiece(L, {{1.0}});
        const PiecewiseCurve N = e < unitLoads.size() ? unitLoads[e].AxialCurve(m.i) : LinearCurve(L, m.i.N, m.j.N);
        TemperatureShare share{t, IntegralOfProduct(N, one), IntegralOfProduct(m.M, one), 0.0};
        share.term = t.alpha * t.t0() * share.integralN + t.Kappa() * share.integralM;
        shares.push_back(share);
    }
    return shares;
}

double SettlementTerm(const StructureModel& model, const CaseForces& unit, const std::vector<Settlement>& settlements)
{
    double sum = 0.0;
    for (const SettlementShare& share : SettlementShares(model, unit, settlements))
        sum += share.term;
    return sum;
}

double TemperatureTerm(const StructureModel& model, const CaseForces& unit, const std::vector<MemberLoad>& unitLoads,
                       const std::vector<TemperatureChange>& temperatures)
{
    double sum = 0.0;
    for (const TemperatureShare& share : TemperatureShares(model, unit, unitLoads, temperatures))
        sum += share.term;
    return sum;
}

}  // namespace tavrin
