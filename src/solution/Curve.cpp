#include "solution/Curve.h"

#include <algorithm>
#include <cmath>

namespace tavrin {

double Polynomial::operator()(double x) const
{
    double v = 0.0;
    for (auto k = c.rbegin(); k != c.rend(); ++k)
        v = v * x + *k;
    return v;
}

Polynomial& Polynomial::operator+=(const Polynomial& other)
{
    if (c.size() < other.c.size())
        c.resize(other.c.size(), 0.0);
    for (std::size_t k = 0; k < other.c.size(); ++k)
        c[k] += other.c[k];
    return *this;
}

Polynomial Polynomial::Antiderivative() const
{
    Polynomial a{std::vector<double>(c.size() + 1, 0.0)};
    for (std::size_t k = 0; k < c.size(); ++k)
        a.c[k + 1] = c[k] / static_cast<double>(k + 1);
    return a;
}

Polynomial operator*(const Polynomial& a, const Polynomial& b)
{
    if (a.c.empty() || b.c.empty())
        return {};
    Polynomial p{std::vector<double>(a.c.size() + b.c.size() - 1, 0.0)};
    for (std::size_t i = 0; i < a.c.size(); ++i)
        for (std::size_t j = 0; j < b.c.size(); ++j)
            p.c[i + j] += a.c[i] * b.c[j];
    return p;
}

Polynomial operator*(double k, const Polynomial& a)
{
    Polynomial p = a;
    for (double& v : p.c)
        v *= k;
    return p;
}

Polynomial operator+(Polynomial a, const Polynomial& b)
{
    a += b;
    return a;
}

namespace {

// The piece that holds on [x0, x1], found by the middle of that interval.
const Polynomial& PieceOver(const PiecewiseCurve& f, double x0, double x1)
{
    const double mid = 0.5 * (x0 + x1);
    std::size_t k = 0;
    while (k + 1 < f.pieces.size() && f.breaks[k + 1] <= mid)
        ++k;
    return f.pieces[k];
}

std::vector<double> UnionOfBreaks(const PiecewiseCurve& f, const PiecewiseCurve& g)
{
    std::vector<double> breaks = f.breaks;
    breaks.insert(breaks.end(), g.breaks.begin(), g.breaks.end());
    std::sort(breaks.begin(), breaks.end());
    breaks.erase(std::unique(breaks.begin(), breaks.end()), breaks.end());
    return breaks;
}

template <class Combine>
PiecewiseCurve Combined(const PiecewiseCurve& f, const PiecewiseCurve& g, Combine combine)
{
    PiecewiseCurve r;
    r.breaks = UnionOfBreaks(f, g);
    for (std::size_t k = 0; k + 1 < r.breaks.size(); ++k)
        r.pieces.push_back(
            combine(PieceOver(f, r.breaks[k], r.breaks[k + 1]), PieceOver(g, r.breaks[k], r.breaks[k + 1])));
    return r;
}

}  // namespace

double PiecewiseCurve::At(double x) const
{
    if (pieces.empty())
        return 0.0;
    std::size_t k = 0;
    while (k + 1 < pieces.size() && breaks[k + 1] <= x)
        ++k;
    return pieces[k](x);
}

PiecewiseCurve::Extreme PiecewiseCurve::LargestMagnitude() const
{
    Extreme best;
    const auto consider = [&best](double x, double v) {
        if (std::abs(v) > std::abs(best.value))
            best = {x, v};
    };
    for (std::size_t k = 0; k < pieces.size(); ++k) {
        const double x0 = breaks[k];
        const double x1 = breaks[k + 1];
        consider(x0, pieces[k](x0));
        consider(x1, pieces[k](x1));
        // Stationary points of a quadratic piece; higher pieces are sampled.
        const std::vector<double>& c = pieces[k].c;
        if (c.size() == 3 && c[2] != 0.0) {
            const double x = -c[1] / (2.0 * c[2]);
            if (x > x0 && x < x1)
                consider(x, pieces[k](x));
        } else if (c.size() > 3) {
            for (int s = 1; s < 64; ++s) {
                const double x = x0 + (x1 - x0) * s / 64.0;
                consider(x, pieces[k](x));
            }
        }
    }
    return best;
}

PiecewiseCurve SinglePiece(double L, Polynomial p)
{
    return {{0.0, L}, {std::move(p)}};
}

PiecewiseCurve LinearCurve(double L, double a, double b)
{
    return SinglePiece(L, {{a, L == 0.0 ? 0.0 : (b - a) / L}});
}

PiecewiseCurve Sum(const PiecewiseCurve& f, const PiecewiseCurve& g)
{
    return Combined(f, g, [](const Polynomial& a, const Polynomial& b) { return a + b; });
}

PiecewiseCurve Scaled(double k, const PiecewiseCurve& f)
{
    PiecewiseCurve r = f;
    for (Polynomial& p : r.pieces)
        p = k * p;
    return r;
}

double IntegralOfProduct(const PiecewiseCurve& f, const PiecewiseCurve& g)
{
    if (f.pieces.empty() || g.pieces.empty())
        return 0.0;
    const PiecewiseCurve product = Combined(f, g, [](const Polynomial& a, const Polynomial& b) { return a * b; });
    double sum = 0.0;
    for (std::size_t k = 0; k < product.pieces.size(); ++k) {
        const Polynomial F = product.pieces[k].Antiderivative();
        sum += F(product.breaks[k + 1]) - F(product.breaks[k]);
    }
    return sum;
}

}  // namespace tavrin
