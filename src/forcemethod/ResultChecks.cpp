#include "forcemethod/ResultChecks.h"

#include <algorithm>
#include <initializer_list>

#include "analysis/Statics.h"
#include "forcemethod/CoefficientLedger.h"
#include "forcemethod/FinalReactions.h"
#include "forcemethod/ModelSolution.h"
#include "model/LoadSpan.h"
#include "model/Vocabulary.h"
#include "solution/FrameStatics.h"
#include "solution/StiffnessSolution.h"

namespace tavrin {

namespace {

// Forces and moment acting on a body: x rightward, y upward, moment
// counter-clockwise positive.
struct Resultant {
    double Fx = 0.0, Fy = 0.0, M = 0.0;
};

// The largest force and the largest moment that enter the sums; the final
// values and each part Xk * (case k) of the superposition count, since a
// rounding is as large as the part it happened in.
struct Scale {
    double force = 0.0;
    double moment = 0.0;
    void Force(std::initializer_list<double> values)
    {
        for (const double v : values)
            force = std::max(force, std::abs(v));
    }
    void Moment(std::initializer_list<double> values)
    {
        for (const double v : values)
            moment = std::max(moment, std::abs(v));
    }
};

double Redundant(const StructureModel& model, int c)
{
    return c == 0 ? 1.0 : model.RedundantForces.at(c);
}

Scale ScaleOf(const StructureModel& model, const std::vector<FinalReaction>& reactions)
{
    Scale scale;
    for (const FinalReaction& r : reactions) {
        scale.Force({r.Fx, r.Fy});
        scale.Moment({r.Fm});
    }
    for (const Element& e : model.Elements) {
        scale.Force({e.Ni, e.Vi, e.Nj, e.Vj});
        scale.Moment({e.Mi, e.Mj});
    }
    const int n = model.IndeterminacyDegree;
    for (int c = 0; c <= n; ++c) {
        const double X = std::abs(Redundant(model, c));
        for (const Support& s : model.CaseReactions[static_cast<std::size_t>(c)]->supports) {
            scale.Force({X * s.Fx, X * s.Fy});
            scale.Moment({X * s.Fm});
        }
        for (int e = 1; e <= model.ElementCount(); ++e)
            for (int end = 1; end <= 2; ++end) {
                scale.Force({X * model.CaseAxialForces.at(c, e, end), X * model.CaseShearForces.at(c, e, end)});
                scale.Moment({X * model.CaseMoments.at(c, e, end)});
            }
    }
    for (const Load& load : model.UserLoads()) {
        if (load.LoadType == kCouple)
            scale.Moment({load.Magnitude});
        else if (load.LoadType == kConcentratedLoad)
            scale.Force({load.Magnitude});
    }
    // A moment of the walk or about node 1 is a force times an arm up to the
    // size of the structure.
    if (!model.Nodes.Empty()) {
        double minX = model.Nodes.at(1).X, maxX = minX, minY = model.Nodes.at(1).Y, maxY = minY;
        for (const Node& p : model.Nodes) {
            minX = std::min<double>(minX, p.X);
            maxX = std::max<double>(maxX, p.X);
            minY = std::min<double>(minY, p.Y);
            maxY = std::max<double>(maxY, p.Y);
        }
        double loads = 0.0;
        const OneBasedTable<DistributedIntensity> q = SumDistributedLoads(model.UserLoads(), model.ElementCount());
        for (std::int16_t e = 1; e <= model.ElementCount(); ++e)
            loads =
                std::max<double>(loads, (std::abs(q.at(e).qh) + std::abs(q.at(e).qv)) * model.Elements.at(e).Length);
        scale.Force({loads});
        scale.Moment({scale.force * std::hypot(maxX - minX, maxY - minY)});
    }
    return scale;
}

// Concentrated loads and couples at their nodes, distributed loads as their
// resultants at the member's mid-point (intensity per unit of projected
// length), as the reaction routines take them. `node` 0: all of them.
void AddLoads(const StructureModel& model, std::int16_t node, const Node& o, Resultant& sum)
{
    for (const Load& load : model.UserLoads()) {
        const Node* p = model.Nodes.Find(load.NodeNo);
        if (load.LoadType == kCouple && IsCoupleDirection(load.Direction) && (node == 0 || load.NodeNo == node)) {
            sum.M += load.Magnitude;
        } else if (load.LoadType == kConcentratedLoad && p && (node == 0 || load.NodeNo == node)) {
            const double fx = IsHorizontalDirection(load.Direction) ? load.Magnitude : 0.0;
            const double fy = IsVerticalDirection(load.Direction) ? load.Magnitude : 0.0;
            sum.Fx += fx;
            sum.Fy += fy;
            sum.M += (p->X - o.X) * fy - (p->Y - o.Y) * fx;
        }
    }
    if (node != 0)
        return;
    const OneBasedTable<DistributedIntensity> q = SumDistributedLoads(model.UserLoads(), model.ElementCount());
    for (std::int16_t e = 1; e <= model.ElementCount(); ++e) {
        const Node* i = model.Nodes.Find(model.Elements.at(e).INode);
        const Node* j = model.Nodes.Find(model.Elements.at(e).JNode);
        if (!i || !j)
            continue;
        const double fx = static_cast<double>(q.at(e).qh) * std::abs(static_cast<double>(j->Y) - i->Y);
        const double fy = static_cast<double>(q.at(e).qv) * std::abs(static_cast<double>(j->X) - i->X);
        const double xm = (static_cast<double>(i->X) + j->X) / 2.0;
        const double ym = (static_cast<double>(i->Y) + j->Y) / 2.0;
        sum.Fx += fx;
        sum.Fy += fy;
        sum.M += (xm - o.X) * fy - (ym - o.Y) * fx;
    }
    // The forces between the nodes (their couples are counted above): the
    // resultant and its moment about end i, turned to O.
    for (const Load& load : model.UserLoads()) {
        if (!ActsBetweenNodes(load) || load.LoadType == kCouple || !model.Elements.Has(load.ElementNo))
            continue;
        const MemberLoad::Resultant r = BetweenNodesLoad(model, load).ResultantForce();
        const Node* i = model.Nodes.Find(model.Elements.at(load.ElementNo).INode);
        if (!i)
            continue;
        sum.Fx += r.Fx;
        sum.Fy += r.Fy;
        sum.M += r.Mi + (i->X - o.X) * r.Fy - (i->Y - o.Y) * r.Fx;
    }
}

// Final reactions at `node` (0: all), hinges between parts left out: they
// are inside the structure.
void AddReactions(const StructureModel& model, const std::vector<FinalReaction>& reactions, std::int16_t node,
                  const Node& o, Resultant& sum)
{
    for (const FinalReaction& r : reactions) {
        const Node* p = model.Nodes.Find(r.node);
        if (r.kind == FinalReaction::Kind::Hinge || !p || (node != 0 && r.node != node))
            continue;
        sum.Fx += r.Fx;
        sum.Fy += r.Fy;
        sum.M += (p->X - o.X) * r.Fy - (p->Y - o.Y) * r.Fx - r.Fm;
    }
}

// What the members exert on their end nodes. The end forces act on the
// member: at end i -N along the axis (C, S), V along the left normal
// (-S, C) and the counter-clockwise moment Mi; at end j +N, -V and -Mj.
// The node receives the opposite.
void AddMemberEnds(const StructureModel& model, std::int16_t node, Resultant& sum)
{
    for (const Element& e : model.Elements) {
        const double C = e.CosA;
        const double S = e.SinA;
        if (e.INode == node) {
            sum.Fx += e.Ni * C + e.Vi * S;
            sum.Fy += e.Ni * S - e.Vi * C;
            sum.M -= e.Mi;
        }
        if (e.JNode == node) {
            sum.Fx -= e.Nj * C + e.Vj * S;
            sum.Fy -= e.Nj * S - e.Vj * C;
            sum.M += e.Mj;
        }
    }
}

void AddEquilibrium(std::vector<ResultCheck>& checks, std::string_view what, const std::string& where,
                    const Resultant& sum, const Scale& scale)
{
    const double forceTolerance = kCheckRelativeTolerance * scale.force;
    const double momentTolerance = kCheckRelativeTolerance * scale.moment;
    checks.push_back({std::string(what) + " ΣFx", where, sum.Fx, forceTolerance});
    checks.push_back({std::string(what) + " ΣFy", where, sum.Fy, forceTolerance});
    checks.push_back({std::string(what) + " ΣM", where, sum.M, momentTolerance});
}

// int M M̄i / EI ds over the structure with the final moments M (the linear
// part from the end moments, the parabola of the loads), and the sum of
// the magnitudes of its parts, MP M̄i and Xk M̄k M̄i, for its tolerance.
void AddCompatibility(const StructureModel& model, int i, const std::vector<float>& q,
                      const std::vector<MemberLoad>& between, const ImposedTerms& imposed,
                      std::vector<ResultCheck>& checks)
{
    const CaseForceTable& M = model.CaseMoments;
    double value = 0.0;
    double parts = 0.0;
    for (int e = 1; e <= model.ElementCount(); ++e) {
        const Element& element = model.Elements.at(e);
        const double i1 = M.at(i, e, 1);
        const double i2 = M.at(i, e, 2);
        const float qe = q[static_cast<std::size_t>(e)];
        const MemberLoad& load = between[static_cast<std::size_t>(e - 1)];
        const double beyond = load.AnyBetweenNodes() ? load.IntegralBeyondChord(i1, i2) / element.EI : 0.0;
        value += MemberProduct(element, e, element.Mi, element.Mj, i1, i2, qe).term + beyond;
        parts += std::abs(beyond);
        for (int c = 0; c <= model.IndeterminacyDegree; ++c) {
            const LedgerTerm part = MemberProduct(element, e, M.at(c, e, 1), M.at(c, e, 2), i1, i2, c == 0 ? qe : 0.0f);
            parts += std::abs(Redundant(model, c) * part.term);
        }
    }
    // Settlements and heat: the gap along Xi is c_i - Delta_ic - Delta_it.
    if (imposed.Any()) {
        const auto k = static_cast<std::size_t>(i - 1);
        const double rest = imposed.Dc[k] + imposed.Dt[k] - imposed.c[k];
        value += rest;
        parts += std::abs(imposed.Dc[k]) + std::abs(imposed.Dt[k]) + std::abs(imposed.c[k]);
    }
    checks.push_back({"变形协调", "X" + std::to_string(i), value, kCheckRelativeTolerance * parts});
}

// The tables against a second, independent solution: the basic system's
// displacements by the stiffness method give every delta_ij (the
// displacement along Xi under unit Xj) and Delta_ip; the original structure
// by the stiffness method (the basic system plus the restraint each unit
// force stands for) gives X, every final end force and every support's
// reaction. Each row: the table's value minus the stiffness method's.
void AddStiffnessChecks(const StructureModel& model, const std::vector<FinalReaction>& reactions, const Scale& scale,
                        std::vector<ResultCheck>& checks)
{
    std::string why;
    const std::optional<ForceMethodSolution> solution = SolutionOfModel(model, why);
    if (!solution)
        return;
    const int n = solution->degree;
    const std::vector<CaseLoads> restraints(solution->loads.begin() + 1, solution->loads.end());
    if (n > 0) {
        const std::optional<StiffnessSolution> basic = StiffnessSolution::Build(model, {}, why);
        if (!basic)
            return;
        std::vector<StiffnessSolution::Result> unit;
        for (int j = 0; j <= n; ++j)
            unit.push_back(basic->Solve(solution->loads[static_cast<std::size_t>(j)]));
        double largest = 0.0;
        for (int i = 1; i <= n; ++i)
            largest = std::max(largest, std::abs(static_cast<double>(model.FlexibilityMatrix.at(i, i))));
        const auto name = [](std::string_view symbol, int i, int j) {
            return std::string(symbol) + std::to_string(i) + (j == 0 ? std::string("p") : std::to_string(j));
        };
        for (int i = 1; i <= n; ++i) {
            const CaseLoads& along = restraints[static_cast<std::size_t>(i - 1)];
            for (int j = 1; j <= n; ++j) {
                const double d = basic->Conjugate(unit[static_cast<std::size_t>(j)], along);
                const double tolerance = kTableTolerance * std::max(std::abs(d), kCoefficientFloor * largest);
                checks.push_back({std::string(i == j ? kMainCoefficientCheck : kReciprocityCheck), name("δ", i, j),
                                  model.FlexibilityMatrix.at(i, j) - d, tolerance});
            }
            const double D = basic->Conjugate(unit[0], along);
            const double Dtable = model.FreeTerms.at(i);
            checks.push_back({std::string(kFreeTermCheck), name("Δ", i, 0), Dtable - D,
                              kTableTolerance * std::max(std::abs(D), kCoefficientFloor * std::abs(Dtable))});
        }
    }
    const std::optional<StiffnessSolution> original = StiffnessSolution::Build(model, restraints, why);
    if (!original)
        return;
    const StiffnessSolution::Result r = original->Solve(solution->loads[0], solution->imposed);
    const std::string what(kStiffnessCheck);
    const double forceTolerance = kCheckRelativeTolerance * scale.force;
    const double momentTolerance = kCheckRelativeTolerance * scale.moment;
    for (int k = 1; k <= n; ++k) {
        const double X = r.X[static_cast<std::size_t>(k - 1)];
        checks.push_back({what + " X", "X" + std::to_string(k), model.RedundantForces.at(k) - X,
                          kCheckRelativeTolerance * std::max(std::abs(X), 1e-9 * scale.force)});
    }
    for (std::int16_t e = 1; e <= model.ElementCount(); ++e) {
        const Element& table = model.Elements.at(e);
        const MemberForces& m = r.forces.members[static_cast<std::size_t>(e - 1)];
        const std::string where = "杆件" + std::to_string(e);
        checks.push_back({what + " Ni", where, table.Ni - m.i.N, forceTolerance});
        checks.push_back({what + " Vi", where, table.Vi - m.i.V, forceTolerance});
        checks.push_back({what + " Mi", where, table.Mi - m.i.M, momentTolerance});
        checks.push_back({what + " Nj", where, table.Nj - m.j.N, forceTolerance});
        checks.push_back({what + " Vj", where, table.Vj - m.j.V, forceTolerance});
        checks.push_back({what + " Mj", where, table.Mj - m.j.M, momentTolerance});
    }
    std::size_t s = 0;
    for (const FinalReaction& row : reactions) {
        if (row.kind != FinalReaction::Kind::Support || s >= r.forces.supports.size())
            continue;
        const ReactionForces& f = r.forces.supports[s++];
        const std::string where = "支座结点" + std::to_string(row.node);
        if (RestraintCount(row.type) == 0)
            continue;
        checks.push_back({what + " Fx", where, row.Fx - f.Fx, forceTolerance});
        checks.push_back({what + " Fy", where, row.Fy - f.Fy, forceTolerance});
        if (row.type == kFixedSupport)
            checks.push_back({what + " Fm", where, row.Fm - f.Fm, momentTolerance});
    }
}

}  // namespace

std::optional<std::vector<ResultCheck>> CheckFinalResults(const StructureModel& model)
{
    const int n = model.IndeterminacyDegree;
    const std::optional<std::vector<FinalReaction>> reactions = FormFinalReactions(model);
    const auto sized = [&](const CaseForceTable& t) {
        return t.CaseCount() == n + 1 && t.ElementCount() == model.ElementCount();
    };
    if (!reactions || model.FlexibilityMatrix.Size() != n || !sized(model.CaseAxialForces) ||
        !sized(model.CaseShearForces) || !sized(model.CaseMoments) || model.Nodes.Empty())
        return std::nullopt;
    const std::vector<float> q = TransverseIntensities(model);
    const Scale scale = ScaleOf(model, *reactions);

    std::vector<ResultCheck> checks;
    for (std::int16_t node = 1; node <= model.NodeCount(); ++node) {
        const Node& o = model.Nodes.at(node);
        Resultant sum;
        AddMemberEnds(model, node, sum);
        AddLoads(model, node, o, sum);
        AddReactions(model, *reactions, node, o, sum);
        AddEquilibrium(checks, "结点平衡", "结点" + std::to_string(node), sum, scale);
    }
    Resultant whole;
    AddLoads(model, 0, model.Nodes.at(1), whole);
    AddReactions(model, *reactions, 0, model.Nodes.at(1), whole);
    AddEquilibrium(checks, "整体平衡", "整体", whole, scale);

    const std::vector<MemberLoad> between = BetweenNodesLoads(model, model.UserLoads());
    const ImposedTerms imposed = ImposedTermsOf(model);
    for (int i = 1; i <= n; ++i)
        AddCompatibility(model, i, q, between, imposed, checks);
    AddStiffnessChecks(model, *reactions, scale, checks);
    return checks;
}

}  // namespace tavrin
