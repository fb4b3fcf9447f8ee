#pragma once

#include <cmath>
#include <vector>

#include "solution/Curve.h"

namespace tavrin {

// Section forces at a point of a member, as every member-force table shows
// them: N tension positive; V along the member's left normal (-S, C) looking
// from end i to end j; M the counter-clockwise couple that the part toward end
// i exerts on the part toward end j, so that M > 0 stretches the left side
// (a sagging beam drawn from left to right has M < 0).
template <class T>
struct SectionForces {
    T N{};
    T V{};
    T M{};
};

// The force (Fx0, Fy0) that acts on the member at end i (rightward, upward)
// when its section forces there are `atI`:
//   Fx0 = -N C - V S,   Fy0 = -N S + V C.
template <class T>
void ForceAtEndI(const SectionForces<T>& atI, T S, T C, T& Fx0, T& Fy0)
{
    Fx0 = -atI.N * C - atI.V * S;
    Fy0 = -atI.N * S + atI.V * C;
}

// Section forces at end j of a member (L, S = sin, C = cos) under uniform
// loads over its whole length, qh horizontal per unit of vertical projection
// L|S| and qv vertical per unit of horizontal projection L|C| (rightward and
// upward positive), from the force (Fx0, Fy0) at end i and the section forces
// there:
//   N2 = N1 - qh L|S| C - qv L|C| S
//   V2 = V1 - qh L|S| S + qv L|C| C
//   M2 = M1 + Fx0 L S - Fy0 L C + qh L^2 S|S|/2 - qv L^2 C|C|/2
// One formula for both precisions: in float it is the member-force tables' own
// arithmetic, term by term in this order (the moment summed in double), in
// double the solution's.
template <class T>
SectionForces<T> UniformLoadEndJ(T L, T S, T C, T Fx0, T Fy0, const SectionForces<T>& atI, T qh, T qv)
{
    const T absS = std::abs(S);
    const T absC = std::abs(C);
    const T half = static_cast<T>(0.5);
    SectionForces<T> j;
    j.N = atI.N - qh * L * absS * C - qv * L * absC * S;
    j.V = atI.V - qh * L * S * absS + qv * L * C * absC;
    const double beforeVertical =
        static_cast<double>(half * qh * L * L * S * absS) +
        (static_cast<double>(Fx0 * L * S) + static_cast<double>(atI.M) - static_cast<double>(Fy0 * L * C));
    j.M = static_cast<T>(beforeVertical - static_cast<double>(half * qv * L * L * C * absC));
    return j;
}

// The transverse intensity of those loads per unit of member length, toward
// the left normal: q = qv C|C| - qh S|S|.
template <class T>
T TransverseIntensity(T S, T C, T qh, T qv)
{
    return qv * C * std::abs(C) - qh * S * std::abs(S);
}

// The moment of those loads beyond the chord of the end moments at t (0 at
// end i, 1 at end j), as the diagrams draw it:
//   m(t) = (qh/2) |S| S L^2 t (t - 1) - (qv/2) |C| C L^2 t (t - 1)
// = q L^2 t (1 - t) / 2; a downward load on a horizontal member gives
// m(0.5) = -q L^2 / 8. Formed in double so that a large load on a long member
// stays finite.
inline double UniformLoadMomentBeyondChord(double L, double S, double C, double qh, double qv, double t)
{
    const double shape = L * L * t * (t - 1.0);
    return (qh / 2.0) * std::fabs(S) * S * shape - (qv / 2.0) * std::fabs(C) * C * shape;
}

// The resultant of those loads on a member whose ends are dx and dy apart:
// Fx = qh |dy| (rightward), Fy = qv |dx| (upward), at the member's middle.
template <class T>
void UniformLoadResultant(T dx, T dy, T qh, T qv, T& Fx, T& Fy)
{
    Fx = qh * std::abs(dy);
    Fy = qv * std::abs(dx);
}

// The loads that act on one member between its ends, in double: the one
// place that knows what such a load does to the member. The distributed
// loads over the whole length are kept as stored (summed per direction, the
// form the member-force tables' formula reads); the loads between the nodes
// are kept in the member's axes: along it (p per unit length, P) and across
// it toward the left normal (q, Q), and couples counter-clockwise.
class MemberLoad {
public:
    MemberLoad() = default;
    MemberLoad(double L, double S, double C, double qh, double qv);

    // Between the nodes: intensities varying linearly from (p1, q1) at a to
    // (p2, q2) at b; a force (P, Q) at a; a couple at a.
    struct Distributed {
        double a = 0.0, b = 0.0;
        double p1 = 0.0, p2 = 0.0, q1 = 0.0, q2 = 0.0;
    };
    struct Point {
        double a = 0.0;
        double P = 0.0, Q = 0.0;
    };
    struct Couple {
        double a = 0.0;
        double C = 0.0;
    };
    void Add(const Distributed& d) { m_distributed.push_back(d); }
    void Add(const Point& f) { m_points.push_back(f); }
    void Add(const Couple& c) { m_couples.push_back(c); }
    // A force or a distributed intensity given in x, y turned into the
    // member's axes: along = x C + y S, across = -x S + y C.
    double Along(double x, double y) const { return x * m_C + y * m_S; }
    double Across(double x, double y) const { return -x * m_S + y * m_C; }

    bool Any() const;
    // Loads other than the full-length uniform ones.
    bool AnyBetweenNodes() const { return !m_distributed.empty() || !m_points.empty() || !m_couples.empty(); }
    double L() const { return m_L; }
    // The full-length uniform loads per unit of member length: p along the
    // member from i to j, q across it toward the left normal.
    double p() const;
    double q() const;
    // Where the loads between the nodes act: every a and b, sorted.
    std::vector<double> LoadPoints() const;

    // Section forces at end j from those at end i: the full-length uniform
    // loads by the member-force tables' formula, then the loads between the
    // nodes: N2 -= their force along, V2 += their force across, M2 += their
    // part of LoadMoment() at L.
    SectionForces<double> EndJ(const SectionForces<double>& atI) const;
    // What the loads between the nodes add to the section forces at end j.
    SectionForces<double> BetweenNodesAtEndJ() const;
    // M(x) over the member: M1 - V1 x plus LoadMoment(); V(x) and N(x) the
    // same way (V jumps under a force across, N under a force along).
    PiecewiseCurve MomentCurve(const SectionForces<double>& atI) const;
    PiecewiseCurve ShearCurve(const SectionForces<double>& atI) const;
    PiecewiseCurve AxialCurve(const SectionForces<double>& atI) const;
    // The moment the loads make on a member with nothing at end i:
    //   uniform q:                 -q x^2 / 2
    //   q(s) on [a, b]:            -int_a^min(x,b) (x - s) q(s) ds
    //   force Q at a:              -Q (x - a) beyond a
    //   couple C at a:             +C beyond a
    PiecewiseCurve LoadMoment() const;
    // The moment beyond the chord of the end moments (a simply supported
    // member under the loads alone): LoadMoment(x) - x LoadMoment(L) / L.
    PiecewiseCurve MomentBeyondChord() const;
    // Integral over the member of MomentBeyondChord() times the line from b1
    // (end i) to b2 (end j): a uniform load's q L^3 (b1 + b2) / 24, the load's
    // term of a graph product.
    double IntegralBeyondChord(double b1, double b2) const;

    // The resultant (Fx rightward, Fy upward) and its moment about end i
    // (counter-clockwise, the couples included).
    struct Resultant {
        double Fx = 0.0;
        double Fy = 0.0;
        double Mi = 0.0;
    };
    Resultant ResultantForce() const;

    // The deflection across the member (along the left normal) of a simply
    // supported member of bending stiffness EI under the load alone:
    // w'' = -MomentBeyondChord() / EI, w(0) = w(L) = 0.
    PiecewiseCurve DeflectionBeyondChord(double EI) const;

    // What the member's ends take when both are held fixed, as forces on the
    // member: along it (Pi, Pj: half the loads along each), across it (Qi,
    // Qj, toward the left normal) and couples (Ci, Cj, counter-clockwise).
    // The end moments make the end rotations zero: int M dx = int x M dx = 0
    // with M = M1 - V1 x + LoadMoment(x), so with A = int LoadMoment and
    // B = int x LoadMoment:  M1 = -4A/L + 6B/L^2,  V1 = 12B/L^3 - 6A/L^2.
    struct FixedEndForces {
        double Pi = 0.0, Qi = 0.0, Ci = 0.0;
        double Pj = 0.0, Qj = 0.0, Cj = 0.0;
    };
    FixedEndForces FixedEnds() const;

private:
    // Totals of the loads between the nodes: along, across.
    double TotalBetweenNodes(double Distributed::*v1, double Distributed::*v2, double Point::*force) const;
    double AlongBetweenNodes() const;
    double AcrossBetweenNodes() const;

    double m_L = 0.0, m_S = 0.0, m_C = 0.0;
    double m_qh = 0.0, m_qv = 0.0;
    std::vector<Distributed> m_distributed;
    std::vector<Point> m_points;
    std::vector<Couple> m_couples;
};

// w with w'' = -M / EI and w(0) = w(L) = 0, piece by piece (w and w' are
// continuous across the breaks).
PiecewiseCurve DeflectionOf(const PiecewiseCurve& M, double EI);

}  // namespace tavrin
