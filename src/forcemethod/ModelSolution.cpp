#include "forcemethod/ModelSolution.h"

#include <algorithm>
#include <cmath>

#include "forcemethod/ForceMethodTexts.h"
#include "model/Vocabulary.h"

namespace tavrin {

namespace {

bool SupportHolds(const Support& s, SettlementKind kind)
{
    if (s.SupportType == kFixedSupport)
        return true;
    if (s.SupportType == kPinSupport)
        return kind != SettlementKind::Rotation;
    if (s.SupportType == kRollerSupport)
        return kind == (IsVerticalSupportSide(s.Direction) ? SettlementKind::Vertical : SettlementKind::Horizontal) &&
               (IsVerticalSupportSide(s.Direction) || IsHorizontalSupportSide(s.Direction));
    return false;
}

// The sense (+1, -1) in which a unit force of one force or couple at `node`
// acts along `kind`; 0 when it is no such force.
double UnitSense(const OneBasedTable<Load>& unit, std::int16_t node, SettlementKind kind)
{
    if (unit.Count() != 1 || unit.at(1).NodeNo != node)
        return 0.0;
    const Load& l = unit.at(1);
    const bool fits =
        (l.LoadType == kConcentratedLoad && kind == SettlementKind::Horizontal && IsHorizontalDirection(l.Direction)) ||
        (l.LoadType == kConcentratedLoad && kind == SettlementKind::Vertical && IsVerticalDirection(l.Direction)) ||
        (l.LoadType == kCouple && kind == SettlementKind::Rotation && IsCoupleDirection(l.Direction));
    return fits ? (l.Magnitude < 0.0f ? -1.0 : 1.0) : 0.0;
}

}  // namespace

std::optional<ImposedDeformation> ImposedOf(const StructureModel& model,
                                            const std::vector<OneBasedTable<Load>>& unitLoads, std::string& why)
{
    ImposedDeformation imposed;
    imposed.alongX.assign(unitLoads.size(), 0.0);
    for (std::int16_t r = 1; r <= model.Settlements.Count(); ++r) {
        const SupportSettlement& row = model.Settlements.at(r);
        const auto kindAt = std::find(SettlementKindList.begin(), SettlementKindList.end(), row.Kind);
        const auto kind = static_cast<SettlementKind>(kindAt - SettlementKindList.begin());
        bool placed = false;
        for (std::size_t k = 0; k < unitLoads.size() && !placed && kindAt != SettlementKindList.end(); ++k)
            if (const double sense = UnitSense(unitLoads[k], row.NodeNo, kind); sense != 0.0) {
                imposed.alongX[k] += sense * static_cast<double>(row.Value);
                placed = true;
            }
        for (const Support& s : model.Supports)
            if (!placed && kindAt != SettlementKindList.end() && s.NodeNo == row.NodeNo && SupportHolds(s, kind)) {
                imposed.settlements.push_back({row.NodeNo, kind, row.Value});
                placed = true;
            }
        if (!placed) {
            why = SettlementUnheldText(r, row.NodeNo, row.Kind);
            return std::nullopt;
        }
    }
    for (const TemperatureChangeRow& t : model.Temperatures)
        imposed.temperatures.push_back({t.ElementNo, t.TLeft, t.TRight, t.Alpha, t.H});
    return imposed;
}

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
    const std::optional<ImposedDeformation> imposed =
        ImposedOf(model, std::vector<OneBasedTable<Load>>(loads.begin() + 1, loads.end()), why);
    if (!imposed)
        return std::nullopt;
    return SolveForceMethod(model, loads, *imposed, why, solveUnknowns);
}

std::optional<ForceMethodSolution> SolutionOfModel(const StructureModel& model, MessageSink& messages)
{
    std::string why;
    std::optional<ForceMethodSolution> solution = SolutionOfModel(model, why);
    if (!solution)
        messages.Show(why);
    return solution;
}

bool ImposedTerms::Any() const
{
    for (const std::vector<double>* v : {&Dc, &Dt, &c})
        for (const double x : *v)
            if (x != 0.0)
                return true;
    return false;
}

ImposedTerms ImposedTermsOf(const StructureModel& model)
{
    if (model.Settlements.Empty() && model.Temperatures.Empty())
        return {};
    std::string why;
    const std::optional<ForceMethodSolution> s = SolutionOfModel(model, why, false);
    if (!s)
        return {};
    return {s->Dc, s->Dt, s->c};
}

std::vector<PiecewiseCurve> MemberDeflections(const StructureModel& model, const ForceMethodSolution& solution)
{
    std::vector<PiecewiseCurve> w;
    for (std::int16_t e = 1; e <= model.ElementCount(); ++e) {
        const double EI = model.Elements.at(e).EI;
        const PiecewiseCurve& M = solution.total.members[static_cast<std::size_t>(e - 1)].M;
        // A heated member bends as under a moment EI kappa besides M.
        double heat = 0.0;
        for (const TemperatureChange& t : solution.imposed.temperatures)
            if (t.element == e)
                heat += EI * t.Kappa();
        w.push_back(EI > 0.0 ? DeflectionOf(Sum(M, SinglePiece(M.Length(), {{heat}})), EI) : PiecewiseCurve{});
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
