#include "solution/MemberLoad.h"

namespace tavrin {

MemberLoad::MemberLoad(double L, double S, double C, double qh, double qv) : m_L(L), m_S(S), m_C(C), m_qh(qh), m_qv(qv)
{
}

// The loads per unit of member length: qh on L|S| and qv on L|C|, turned
// onto the member's axis (C, S) and its left normal (-S, C).
double MemberLoad::p() const
{
    return m_qh * std::abs(m_S) * m_C + m_qv * std::abs(m_C) * m_S;
}

double MemberLoad::q() const
{
    return TransverseIntensity(m_S, m_C, m_qh, m_qv);
}

SectionForces<double> MemberLoad::EndJ(const SectionForces<double>& atI) const
{
    double Fx0 = 0.0, Fy0 = 0.0;
    ForceAtEndI(atI, m_S, m_C, Fx0, Fy0);
    return UniformLoadEndJ(m_L, m_S, m_C, Fx0, Fy0, atI, m_qh, m_qv);
}

PiecewiseCurve MemberLoad::MomentCurve(const SectionForces<double>& atI) const
{
    return Sum(LinearCurve(m_L, atI.M, atI.M - atI.V * m_L), LoadMoment());
}

PiecewiseCurve MemberLoad::LoadMoment() const
{
    return SinglePiece(m_L, {{0.0, 0.0, -q() / 2.0}});
}

PiecewiseCurve MemberLoad::MomentBeyondChord() const
{
    return SinglePiece(m_L, {{0.0, q() * m_L / 2.0, -q() / 2.0}});
}

double MemberLoad::IntegralBeyondChord(double b1, double b2) const
{
    return IntegralOfProduct(MomentBeyondChord(), LinearCurve(m_L, b1, b2));
}

MemberLoad::Resultant MemberLoad::ResultantForce() const
{
    Resultant r;
    UniformLoadResultant(m_L * m_C, m_L * m_S, m_qh, m_qv, r.Fx, r.Fy);
    r.at = m_L / 2.0;
    return r;
}

PiecewiseCurve MemberLoad::DeflectionBeyondChord(double EI) const
{
    return DeflectionOf(MomentBeyondChord(), EI);
}

// Fixed at both ends under p and q per unit length:
//   along:  Pi = Pj = -p L / 2
//   across: Qi = Qj = -q L / 2,  Ci = -q L^2 / 12,  Cj = +q L^2 / 12
MemberLoad::FixedEndForces MemberLoad::FixedEnds() const
{
    const double P = -p() * m_L / 2.0;
    const double Q = -q() * m_L / 2.0;
    const double C = q() * m_L * m_L / 12.0;
    return {P, Q, -C, P, Q, C};
}

PiecewiseCurve DeflectionOf(const PiecewiseCurve& M, double EI)
{
    // w = -(1/EI) double antiderivative, continuous with its slope, then
    // the chord through w(0) = 0 and w(L) = 0 subtracted.
    PiecewiseCurve w;
    w.breaks = M.breaks;
    double slope = 0.0, value = 0.0;
    for (std::size_t k = 0; k < M.pieces.size(); ++k) {
        const double x0 = M.breaks[k];
        const double x1 = M.breaks[k + 1];
        const Polynomial first = (-1.0 / EI) * M.pieces[k].Antiderivative();
        Polynomial slopeHere = first + Polynomial{{slope - first(x0)}};
        const Polynomial second = slopeHere.Antiderivative();
        Polynomial valueHere = second + Polynomial{{value - second(x0)}};
        slope = slopeHere(x1);
        value = valueHere(x1);
        w.pieces.push_back(std::move(valueHere));
    }
    const double L = M.Length();
    return L == 0.0 ? w : Sum(w, LinearCurve(L, 0.0, -value));
}

}  // namespace tavrin
