#pragma once

#include <vector>

namespace tavrin {

// c[0] + c[1] x + c[2] x^2 + ..., x the distance from end i along the member.
struct Polynomial {
    std::vector<double> c;

    double operator()(double x) const;
    Polynomial& operator+=(const Polynomial& other);
    Polynomial Antiderivative() const;  // zero at x = 0
};
Polynomial operator*(const Polynomial& a, const Polynomial& b);
Polynomial operator*(double k, const Polynomial& a);
Polynomial operator+(Polynomial a, const Polynomial& b);

// A function of x on [0, L] given piece by piece: pieces[k] holds on
// [breaks[k], breaks[k + 1]]. A load point or a couple on the member is a
// break, so that a kink or a jump falls between two pieces.
struct PiecewiseCurve {
    std::vector<double> breaks;  // 0 = breaks.front() < ... < breaks.back() = L
    std::vector<Polynomial> pieces;

    double Length() const { return breaks.empty() ? 0.0 : breaks.back(); }
    // The value just right of x (just left of it at L): at a jump, the side
    // toward end j.
    double At(double x) const;
    double AtEndI() const { return At(0.0); }
    double AtEndJ() const { return At(Length()); }
    // The largest |value| at the breaks and at every stationary point of a
    // piece, with where it occurs.
    struct Extreme {
        double x = 0.0;
        double value = 0.0;
    };
    Extreme LargestMagnitude() const;
};

// One piece over [0, L].
PiecewiseCurve SinglePiece(double L, Polynomial p);
// The straight line from a at end i to b at end j.
PiecewiseCurve LinearCurve(double L, double a, double b);
// f + g piece by piece over the union of their breaks (same length).
PiecewiseCurve Sum(const PiecewiseCurve& f, const PiecewiseCurve& g);
PiecewiseCurve Scaled(double k, const PiecewiseCurve& f);

// The exact integral of f g over [0, L], piece by piece over the union of the
// breaks.
double IntegralOfProduct(const PiecewiseCurve& f, const PiecewiseCurve& g);

}  // namespace tavrin
