#include "solution/StiffnessSolution.h"

#include <algorithm>
#include <cmath>

#include "model/Vocabulary.h"
#include "solution/SolutionTexts.h"

namespace tavrin {

namespace {

// Bending stiffness of a member in its own axes, (v, θ) at end i then end j,
// v along the left normal, θ counter-clockwise:
//   EI / L^3 [ 12  6L  -12  6L ; 6L 4L² -6L 2L² ; -12 -6L 12 -6L ; 6L 2L² -6L 4L² ]
std::array<std::array<double, 4>, 4> BendingStiffness(double EI, double L)
{
    const double k = EI / (L * L * L);
    return {{{12 * k, 6 * L * k, -12 * k, 6 * L * k},
             {6 * L * k, 4 * L * L * k, -6 * L * k, 2 * L * L * k},
             {-12 * k, -6 * L * k, 12 * k, -6 * L * k},
             {6 * L * k, 2 * L * L * k, -6 * L * k, 4 * L * L * k}}};
}

void AddAt(std::vector<double>& v, int dof, double value)
{
    if (dof >= 0)
        v[static_cast<std::size_t>(dof)] += value;
}

// Which rows are independent of the rows kept before them, by Gram-Schmidt:
// a row whose remainder is below 1e-9 of its length repeats the others.
std::vector<bool> IndependentRows(const std::vector<std::vector<double>>& rows)
{
    std::vector<std::vector<double>> basis;
    std::vector<bool> kept;
    for (const std::vector<double>& row : rows) {
        std::vector<double> r = row;
        double length = 0.0;
        for (const double v : r)
            length += v * v;
        length = std::sqrt(length);
        for (int pass = 0; pass < 2; ++pass)
            for (const std::vector<double>& b : basis) {
                double dot = 0.0;
                for (std::size_t k = 0; k < r.size(); ++k)
                    dot += r[k] * b[k];
                for (std::size_t k = 0; k < r.size(); ++k)
                    r[k] -= dot * b[k];
            }
        double rest = 0.0;
        for (const double v : r)
            rest += v * v;
        rest = std::sqrt(rest);
        const bool independent = length > 0.0 && rest > 1e-9 * length;
        kept.push_back(independent);
        if (independent) {
            for (double& v : r)
                v /= rest;
            basis.push_back(std::move(r));
        }
    }
    return kept;
}

}  // namespace

std::optional<StiffnessSolution> StiffnessSolution::Build(const StructureModel& model,
                                                          const std::vector<CaseLoads>& restraints, std::string& why)
{
    StiffnessSolution s;
    s.m_model = &model;
    const auto nodes = static_cast<std::size_t>(model.NodeCount());
    const auto members = static_cast<std::size_t>(model.ElementCount());
    s.m_nodeDof.assign(nodes, {-1, -1, -1});
    s.m_endRotation.assign(members, {-1, -1});
    try {
        for (std::int16_t e = 1; e <= model.ElementCount(); ++e) {
            const Element& element = model.Elements.at(e);
            s.m_axes.push_back(AxisOf(model, element));
            if (!(element.EI > 0.0f) || s.m_axes.back().L == 0.0) {
                why = kNoStiffness;
                return std::nullopt;
            }
            for (int end = 0; end < 2; ++end) {
                const std::int16_t n = end == 0 ? element.INode : element.JNode;
                std::array<int, 3>& d = s.m_nodeDof.at(static_cast<std::size_t>(n - 1));
                if (d[0] < 0) {
                    d[0] = s.m_dofs++;
                    d[1] = s.m_dofs++;
                    if (EndsHeldRigidly(model, n))
                        d[2] = s.m_dofs++;
                }
                s.m_endRotation[static_cast<std::size_t>(e - 1)][static_cast<std::size_t>(end)] =
                    d[2] >= 0 ? d[2] : s.m_dofs++;
            }
        }
    } catch (const std::out_of_range&) {
        why = kNumberOutside;
        return std::nullopt;
    }

    const auto dofs = static_cast<std::size_t>(s.m_dofs);
    std::vector<std::vector<double>> k(dofs, std::vector<double>(dofs, 0.0));
    for (std::size_t e = 0; e < members; ++e) {
        const Element& element = model.Elements.at(static_cast<long>(e + 1));
        const MemberAxis& a = s.m_axes[e];
        const auto& di = s.m_nodeDof[static_cast<std::size_t>(element.INode - 1)];
        const auto& dj = s.m_nodeDof[static_cast<std::size_t>(element.JNode - 1)];
        // Local (v_i, θ_i, v_j, θ_j) from the global degrees of freedom:
        // v = -S ux + C uy.
        const std::array<std::vector<std::pair<int, double>>, 4> local{{
            {{di[0], -a.S}, {di[1], a.C}},
            {{s.m_endRotation[e][0], 1.0}},
            {{dj[0], -a.S}, {dj[1], a.C}},
            {{s.m_endRotation[e][1], 1.0}},
        }};
        const auto kl = BendingStiffness(element.EI, a.L);
        for (std::size_t r = 0; r < 4; ++r)
            for (std::size_t c = 0; c < 4; ++c)
                for (const auto& [gr, tr] : local[r])
                    for (const auto& [gc, tc] : local[c])
                        k[static_cast<std::size_t>(gr)][static_cast<std::size_t>(gc)] += tr * kl[r][c] * tc;
    }
    double largest = 0.0;
    for (std::size_t d = 0; d < dofs; ++d)
        largest = std::max(largest, k[d][d]);
    s.m_scale = largest > 0.0 ? largest : 1.0;

    std::vector<std::vector<double>> rows;
    const auto newRow = [&]() -> std::vector<double>& { return rows.emplace_back(dofs, 0.0); };
    for (std::size_t e = 0; e < members; ++e) {
        const Element& element = model.Elements.at(static_cast<long>(e + 1));
        const MemberAxis& a = s.m_axes[e];
        const auto& di = s.m_nodeDof[static_cast<std::size_t>(element.INode - 1)];
        const auto& dj = s.m_nodeDof[static_cast<std::size_t>(element.JNode - 1)];
        s.m_memberRow.push_back(static_cast<int>(rows.size()));
        std::vector<double>& r = newRow();
        AddAt(r, di[0], -a.C);
        AddAt(r, di[1], -a.S);
        AddAt(r, dj[0], a.C);
        AddAt(r, dj[1], a.S);
    }
    for (const Support& support : model.Supports) {
        std::array<int, 3> at{-1, -1, -1};
        const bool known = support.NodeNo >= 1 && support.NodeNo <= model.NodeCount();
        const std::array<int, 3> d =
            known ? s.m_nodeDof[static_cast<std::size_t>(support.NodeNo - 1)] : std::array<int, 3>{-1, -1, -1};
        if (d[0] >= 0 && RestraintCount(support.SupportType) > 0) {
            const bool roller = support.SupportType == kRollerSupport;
            if (!roller || IsHorizontalSupportSide(support.Direction)) {
                at[0] = static_cast<int>(rows.size());
                AddAt(newRow(), d[0], 1.0);
            }
            if (!roller || IsVerticalSupportSide(support.Direction)) {
                at[1] = static_cast<int>(rows.size());
                AddAt(newRow(), d[1], 1.0);
            }
            if (support.SupportType == kFixedSupport && d[2] >= 0) {
                at[2] = static_cast<int>(rows.size());
                AddAt(newRow(), d[2], 1.0);
            }
        }
        s.m_supportRow.push_back(at);
    }
    s.m_restraintRow = static_cast<int>(rows.size());
    s.m_restraints = static_cast<int>(restraints.size());
    for (const CaseLoads& pattern : restraints)
        rows.push_back(s.LoadVector(pattern));

    // A restraint that repeats others (both ends of an inextensible member
    // held along it, say) leaves its force undetermined: it is dropped and
    // takes nothing.
    const std::vector<bool> kept = IndependentRows(rows);
    s.m_multiplierOf.assign(rows.size(), -1);
    std::vector<std::vector<double>> independent;
    for (std::size_t r = 0; r < rows.size(); ++r)
        if (kept[r]) {
            s.m_multiplierOf[r] = static_cast<int>(independent.size());
            independent.push_back(std::move(rows[r]));
        }
    rows = std::move(independent);

    // [ K  s Cᵀ ; s C  0 ]
    const std::size_t size = dofs + rows.size();
    std::vector<std::vector<double>> kkt(size, std::vector<double>(size, 0.0));
    for (std::size_t r = 0; r < dofs; ++r)
        std::copy(k[r].begin(), k[r].end(), kkt[r].begin());
    for (std::size_t c = 0; c < rows.size(); ++c)
        for (std::size_t d = 0; d < dofs; ++d) {
            kkt[dofs + c][d] = s.m_scale * rows[c][d];
            kkt[d][dofs + c] = s.m_scale * rows[c][d];
        }
    s.m_lu = DenseLu::Factor(std::move(kkt), 1e-13);
    if (!s.m_lu) {
        why = kStiffnessSingular;
        return std::nullopt;
    }
    return s;
}

// The nodal forces, couples and end couples as they are; a member's loads
// as the opposite of what its fixed ends take.
std::vector<double> StiffnessSolution::LoadVector(const CaseLoads& loads) const
{
    std::vector<double> f(static_cast<std::size_t>(m_dofs), 0.0);
    for (std::size_t n = 0; n < m_nodeDof.size() && n < loads.nodes.size(); ++n) {
        AddAt(f, m_nodeDof[n][0], loads.nodes[n].Fx);
        AddAt(f, m_nodeDof[n][1], loads.nodes[n].Fy);
        AddAt(f, m_nodeDof[n][2], loads.nodes[n].C);
    }
    for (std::size_t e = 0; e < m_axes.size(); ++e) {
        const Element& element = m_model->Elements.at(static_cast<long>(e + 1));
        const MemberAxis& a = m_axes[e];
        const auto& di = m_nodeDof[static_cast<std::size_t>(element.INode - 1)];
        const auto& dj = m_nodeDof[static_cast<std::size_t>(element.JNode - 1)];
        if (e < loads.endCouples.size()) {
            AddAt(f, m_endRotation[e][0], loads.endCouples[e][0]);
            AddAt(f, m_endRotation[e][1], loads.endCouples[e][1]);
        }
        if (e >= loads.members.size() || !loads.members[e].Any())
            continue;
        const MemberLoad::FixedEndForces fe = loads.members[e].FixedEnds();
        // Force P e + Q n on the member, e = (C, S), n = (-S, C).
        AddAt(f, di[0], -(fe.Pi * a.C - fe.Qi * a.S));
        AddAt(f, di[1], -(fe.Pi * a.S + fe.Qi * a.C));
        AddAt(f, m_endRotation[e][0], -fe.Ci);
        AddAt(f, dj[0], -(fe.Pj * a.C - fe.Qj * a.S));
        AddAt(f, dj[1], -(fe.Pj * a.S + fe.Qj * a.C));
        AddAt(f, m_endRotation[e][1], -fe.Cj);
    }
    return f;
}

StiffnessSolution::Result StiffnessSolution::Solve(const CaseLoads& loads) const
{
    return Solve(loads, ImposedDeformation{});
}

StiffnessSolution::Result StiffnessSolution::Solve(const CaseLoads& loads, const ImposedDeformation& imposed) const
{
    std::vector<double> rhs = LoadVector(loads);
    rhs.resize(m_lu->Size(), 0.0);
    const auto dofCount = static_cast<std::size_t>(m_dofs);
    // What a constraint row holds in place of 0.
    const auto hold = [&](int row, double value) {
        const int m = row >= 0 ? m_multiplierOf[static_cast<std::size_t>(row)] : -1;
        if (m >= 0)
            rhs[dofCount + static_cast<std::size_t>(m)] += m_scale * value;
    };
    for (const Settlement& s : imposed.settlements)
        for (std::size_t k = 0; k < m_supportRow.size(); ++k)
            if (m_model->Supports.at(static_cast<long>(k + 1)).NodeNo == s.node)
                hold(m_supportRow[k][static_cast<std::size_t>(s.kind)], s.value);
    for (std::size_t k = 0; k < imposed.alongX.size() && static_cast<int>(k) < m_restraints; ++k)
        hold(m_restraintRow + static_cast<int>(k), imposed.alongX[k]);
    std::vector<double> heatCouple(m_axes.size(), 0.0);  // EI kappa per member
    for (const TemperatureChange& t : imposed.temperatures) {
        if (!m_model->Elements.Has(t.element))
            continue;
        const auto e = static_cast<std::size_t>(t.element - 1);
        hold(m_memberRow[e], t.alpha * t.t0() * m_axes[e].L);
        heatCouple[e] += static_cast<double>(m_model->Elements.at(t.element).EI) * t.Kappa();
    }
    for (std::size_t e = 0; e < m_axes.size(); ++e) {
        AddAt(rhs, m_endRotation[e][0], heatCouple[e]);
        AddAt(rhs, m_endRotation[e][1], -heatCouple[e]);
    }
    const std::vector<double> z = m_lu->Solve(std::move(rhs));
    const auto dofs = static_cast<std::size_t>(m_dofs);
    Result r;
    r.u.assign(z.begin(), z.begin() + static_cast<std::ptrdiff_t>(dofs));
    // The multiplier of constraint row c; the constraint acts on the
    // structure with -λ times its row.
    const auto lambda = [&](int row) {
        const int m = row >= 0 ? m_multiplierOf[static_cast<std::size_t>(row)] : -1;
        return m >= 0 ? m_scale * z[dofs + static_cast<std::size_t>(m)] : 0.0;
    };
    const auto u = [&](int dof) { return dof >= 0 ? r.u[static_cast<std::size_t>(dof)] : 0.0; };
    for (std::size_t e = 0; e < m_axes.size(); ++e) {
        const Element& element = m_model->Elements.at(static_cast<long>(e + 1));
        const MemberAxis& a = m_axes[e];
        const auto& di = m_nodeDof[static_cast<std::size_t>(element.INode - 1)];
        const auto& dj = m_nodeDof[static_cast<std::size_t>(element.JNode - 1)];
        const std::array<double, 4> d{-a.S * u(di[0]) + a.C * u(di[1]), u(m_endRotation[e][0]),
                                      -a.S * u(dj[0]) + a.C * u(dj[1]), u(m_endRotation[e][1])};
        const auto kl = BendingStiffness(element.EI, a.L);
        std::array<double, 4> end{};
        for (std::size_t i = 0; i < 4; ++i)
            for (std::size_t j = 0; j < 4; ++j)
                end[i] += kl[i][j] * d[j];
        const MemberLoad& load = e < loads.members.size() ? loads.members[e] : MemberLoad{};
        const MemberLoad::FixedEndForces fe = load.FixedEnds();
        const double tension = lambda(m_memberRow[e]);
        MemberForces m;
        m.i = {tension - fe.Pi, end[0] + fe.Qi, end[1] + fe.Ci - heatCouple[e]};
        m.j = {tension + fe.Pj, -(end[2] + fe.Qj), -(end[3] + fe.Cj + heatCouple[e])};
        m.M = load.L() > 0.0 ? load.MomentCurve(m.i) : LinearCurve(a.L, m.i.M, m.j.M);
        r.forces.members.push_back(std::move(m));
    }
    for (const std::array<int, 3>& rows : m_supportRow)
        r.forces.supports.push_back({-lambda(rows[0]), -lambda(rows[1]), lambda(rows[2])});
    for (int k = 0; k < m_restraints; ++k)
        r.X.push_back(-lambda(m_restraintRow + k));
    return r;
}

double StiffnessSolution::Conjugate(const Result& r, const CaseLoads& pattern) const
{
    const std::vector<double> f = LoadVector(pattern);
    double w = 0.0;
    for (std::size_t d = 0; d < f.size(); ++d)
        w += f[d] * r.u[d];
    return w;
}

std::array<double, 3> StiffnessSolution::NodeDisplacement(const Result& r, int n) const
{
    const std::array<int, 3>& d = m_nodeDof.at(static_cast<std::size_t>(n - 1));
    const auto u = [&](int dof) { return dof >= 0 ? r.u[static_cast<std::size_t>(dof)] : 0.0; };
    return {u(d[0]), u(d[1]), u(d[2])};
}

}  // namespace tavrin
