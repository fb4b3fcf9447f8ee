#include "solution/MemberLoad.h"

#include <algorithm>

namespace tavrin {

namespace {

// A curve over [0, L] given from each start to the next (the last to L);
// pieces of no length are left out.
PiecewiseCurve Stepwise(double L, std::vector<double> starts, std::vector<Polynomial> pieces)
{
    PiecewiseCurve curve;
    for (std::size_t k = 0; k < starts.size(); ++k) {
        const double from = std::clamp(starts[k], 0.0, L);
        const double to = k + 1 < starts.size() ? std::clamp(starts[k + 1], 0.0, L) : L;
        if (!(to > from))
            continue;
        if (curve.breaks.empty())
            curve.breaks.push_back(from);
        curve.breaks.push_back(to);
        curve.pieces.push_back(std::move(pieces[k]));
    }
    if (curve.pieces.empty())
        return SinglePiece(L, {});
    return curve;
}

Polynomial Constant(double c)
{
    return {{c}};
}

// A linear intensity v(s) = alpha + beta s from v1 at a to v2 at b, and the
// polynomials in x of its integrals from a:
//   I(x) = int_a^x v ds                     = (-alpha a - beta a^2/2) + alpha x + beta x^2 / 2
//   J(x) = int_a^x (x - s) v ds             = alpha a^2/2 + beta a^3/3 + (-alpha a - beta a^2/2) x
//                                             + alpha x^2 / 2 + beta x^3 / 6
// and beyond b: I(b), and J = I(b) x - int_a^b s v ds.
struct LinearIntensity {
    double a, b, alpha, beta;
    LinearIntensity(double a_, double b_, double v1, double v2) : a(a_), b(b_)
    {
        beta = b > a ? (v2 - v1) / (b - a) : 0.0;
        alpha = v1 - beta * a;
    }
    Polynomial I() const { return {{-alpha * a - beta * a * a / 2.0, alpha, beta / 2.0}}; }
    Polynomial J() const
    {
        return {
            {alpha * a * a / 2.0 + beta * a * a * a / 3.0, -alpha * a - beta * a * a / 2.0, alpha / 2.0, beta / 6.0}};
    }
    double Total() const { return I()(b); }
    double FirstMoment() const { return alpha * (b * b - a * a) / 2.0 + beta * (b * b * b - a * a * a) / 3.0; }
    // The running integral over [0, L]: 0 before a, I(x) on [a, b], I(b) after.
    PiecewiseCurve Running(double L) const { return Stepwise(L, {0.0, a, b}, {{}, I(), Constant(Total())}); }
    // The running moment about x: 0 before a, J(x) on [a, b], I(b) x - int s v after.
    PiecewiseCurve RunningMoment(double L) const
    {
        return Stepwise(L, {0.0, a, b}, {{}, J(), Polynomial{{-FirstMoment(), Total()}}});
    }
};

// 0 before a, `after` beyond it.
PiecewiseCurve Beyond(double L, double a, Polynomial after)
{
    return Stepwise(L, {0.0, a}, {{}, std::move(after)});
}

}  // namespace

MemberLoad::MemberLoad(double L, double S, double C, double qh, double qv) : m_L(L), m_S(S), m_C(C), m_qh(qh), m_qv(qv)
{
}

bool MemberLoad::Any() const
{
    return m_qh != 0.0 || m_qv != 0.0 || AnyBetweenNodes();
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

std::vector<double> MemberLoad::LoadPoints() const
{
    std::vector<double> points;
    for (const Distributed& d : m_distributed) {
        points.push_back(d.a);
        points.push_back(d.b);
    }
    for (const Point& f : m_points)
        points.push_back(f.a);
    for (const Couple& c : m_couples)
        points.push_back(c.a);
    std::sort(points.begin(), points.end());
    points.erase(std::unique(points.begin(), points.end()), points.end());
    return points;
}

double MemberLoad::TotalBetweenNodes(double Distributed::*v1, double Distributed::*v2, double Point::*force) const
{
    double total = 0.0;
    for (const Distributed& d : m_distributed)
        total += LinearIntensity(d.a, d.b, d.*v1, d.*v2).Total();
    for (const Point& f : m_points)
        total += f.*force;
    return total;
}

double MemberLoad::AlongBetweenNodes() const
{
    return TotalBetweenNodes(&Distributed::p1, &Distributed::p2, &Point::P);
}

double MemberLoad::AcrossBetweenNodes() const
{
    return TotalBetweenNodes(&Distributed::q1, &Distributed::q2, &Point::Q);
}

SectionForces<double> MemberLoad::BetweenNodesAtEndJ() const
{
    double M = 0.0;
    for (const Distributed& d : m_distributed) {
        const LinearIntensity q(d.a, d.b, d.q1, d.q2);
        M -= q.Total() * m_L - q.FirstMoment();
    }
    for (const Point& f : m_points)
        M -= f.Q * (m_L - f.a);
    for (const Couple& c : m_couples)
        M += c.C;
    return {-AlongBetweenNodes(), AcrossBetweenNodes(), M};
}

SectionForces<double> MemberLoad::EndJ(const SectionForces<double>& atI) const
{
    double Fx0 = 0.0, Fy0 = 0.0;
    ForceAtEndI(atI, m_S, m_C, Fx0, Fy0);
    SectionForces<double> j = UniformLoadEndJ(m_L, m_S, m_C, Fx0, Fy0, atI, m_qh, m_qv);
    if (AnyBetweenNodes()) {
        const SectionForces<double> more = BetweenNodesAtEndJ();
        j.N += more.N;
        j.V += more.V;
        j.M += more.M;
    }
    return j;
}

PiecewiseCurve MemberLoad::LoadMoment() const
{
    PiecewiseCurve m = SinglePiece(m_L, {{0.0, 0.0, -q() / 2.0}});
    for (const Distributed& d : m_distributed)
        m = Sum(m, Scaled(-1.0, LinearIntensity(d.a, d.b, d.q1, d.q2).RunningMoment(m_L)));
    for (const Point& f : m_points)
        m = Sum(m, Beyond(m_L, f.a, {{f.Q * f.a, -f.Q}}));
    for (const Couple& c : m_couples)
        m = Sum(m, Beyond(m_L, c.a, Constant(c.C)));
    return m;
}

PiecewiseCurve MemberLoad::MomentCurve(const SectionForces<double>& atI) const
{
    return Sum(LinearCurve(m_L, atI.M, atI.M - atI.V * m_L), LoadMoment());
}

// V(x) = V1 + int_0^x q + the forces across before x.
PiecewiseCurve MemberLoad::ShearCurve(const SectionForces<double>& atI) const
{
    PiecewiseCurve v = SinglePiece(m_L, {{atI.V, q()}});
    for (const Distributed& d : m_distributed)
        v = Sum(v, LinearIntensity(d.a, d.b, d.q1, d.q2).Running(m_L));
    for (const Point& f : m_points)
        v = Sum(v, Beyond(m_L, f.a, Constant(f.Q)));
    return v;
}

// N(x) = N1 - int_0^x p - the forces along before x.
PiecewiseCurve MemberLoad::AxialCurve(const SectionForces<double>& atI) const
{
    PiecewiseCurve n = SinglePiece(m_L, {{atI.N, -p()}});
    for (const Distributed& d : m_distributed)
        n = Sum(n, Scaled(-1.0, LinearIntensity(d.a, d.b, d.p1, d.p2).Running(m_L)));
    for (const Point& f : m_points)
        n = Sum(n, Beyond(m_L, f.a, Constant(-f.P)));
    return n;
}

PiecewiseCurve MemberLoad::MomentBeyondChord() const
{
    const PiecewiseCurve m = LoadMoment();
    return Sum(m, LinearCurve(m_L, 0.0, -m.AtEndJ()));
}

double MemberLoad::IntegralBeyondChord(double b1, double b2) const
{
    return IntegralOfProduct(MomentBeyondChord(), LinearCurve(m_L, b1, b2));
}

MemberLoad::Resultant MemberLoad::ResultantForce() const
{
    Resultant r;
    UniformLoadResultant(m_L * m_C, m_L * m_S, m_qh, m_qv, r.Fx, r.Fy);
    r.Mi = q() * m_L * m_L / 2.0;
    const auto add = [&](double along, double across, double momentAboutI) {
        r.Fx += along * m_C - across * m_S;
        r.Fy += along * m_S + across * m_C;
        r.Mi += momentAboutI;
    };
    for (const Distributed& d : m_distributed) {
        const LinearIntensity q(d.a, d.b, d.q1, d.q2);
        add(LinearIntensity(d.a, d.b, d.p1, d.p2).Total(), q.Total(), q.FirstMoment());
    }
    for (const Point& f : m_points)
        add(f.P, f.Q, f.Q * f.a);
    for (const Couple& c : m_couples)
        r.Mi += c.C;
    return r;
}

PiecewiseCurve MemberLoad::DeflectionBeyondChord(double EI) const
{
    return DeflectionOf(MomentBeyondChord(), EI);
}

MemberLoad::FixedEndForces MemberLoad::FixedEnds() const
{
    const PiecewiseCurve m = LoadMoment();
    const double L = m_L;
    const double A = IntegralOfProduct(m, SinglePiece(L, Constant(1.0)));
    const double B = IntegralOfProduct(m, SinglePiece(L, {{0.0, 1.0}}));
    const double M1 = -4.0 * A / L + 6.0 * B / (L * L);
    const double V1 = 12.0 * B / (L * L * L) - 6.0 * A / (L * L);
    const double M2 = M1 - V1 * L + m.AtEndJ();
    const double V2 = V1 + q() * L + AcrossBetweenNodes();
    const double P = -(p() * L + AlongBetweenNodes()) / 2.0;
    return {P, V1, M1, P, -V2, -M2};
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
