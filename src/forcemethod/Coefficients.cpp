#include <cmath>
#include <string>
#include <vector>

#include "analysis/Statics.h"
#include "forcemethod/ForceMethod.h"
#include "forcemethod/ForceMethodTexts.h"
#include "model/ModelTexts.h"

namespace tavrin {

namespace {

// One member's end moments in one load case: m1 at end i, m2 at end j.
struct EndMoments {
    double m1 = 0.0;
    double m2 = 0.0;
};

EndMoments MomentsOf(const StructureModel& model, int caseNo, int e)
{
    return {model.CaseMoments.at(caseNo, e, 1), model.CaseMoments.at(caseNo, e, 2)};
}

// Product integral of two linear moment diagrams over a member:
//   L / (6 EI) (2 a1 b1 + 2 a2 b2 + a1 b2 + a2 b1)
// evaluated in double, rounded once to float.
float MemberProduct(const Element& element, EndMoments a, EndMoments b)
{
    const double factor = static_cast<double>(element.Length) / (6.0 * static_cast<double>(element.EI));
    return static_cast<float>(factor * (2.0 * a.m1 * b.m1 + 2.0 * a.m2 * b.m2 + a.m1 * b.m2 + a.m2 * b.m1));
}

// Intensity across the member of the distributed loads on it (per unit
// length, positive toward the member's left normal):
//   q = qv C|C| - qh S|S|,  qh and qv the sums of the horizontal and vertical loads.
float TransverseIntensity(const Element& element, const DistributedIntensity& loads)
{
    const float S = element.SinA;
    const float C = element.CosA;
    return loads.qv * C * std::abs(C) - loads.qh * S * std::abs(S);
}

// Delta_jp contribution of a member: the linear case-0 diagram plus the
// parabola of its uniform load (mid-span height q L^2 / 8) times case j:
//   L / (6 EI) (2 p1 j1 + 2 p2 j2 + p1 j2 + p2 j1 + q L^2 (j1 + j2) / 4)
float MemberFreeTerm(const Element& element, EndMoments p, EndMoments j, float q)
{
    const double L = element.Length;
    const double factor = L / (6.0 * static_cast<double>(element.EI));
    return static_cast<float>(factor * (2.0 * p.m1 * j.m1 + 2.0 * p.m2 * j.m2 + p.m1 * j.m2 + p.m2 * j.m1 +
                                        static_cast<double>(q) * L * L * (j.m1 + j.m2) / 4.0));
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

}  // namespace

bool FormCoefficients(StructureModel& model, MessageSink& messages)
{
    const int n = model.IndeterminacyDegree < 0 ? 0 : model.IndeterminacyDegree;
    const std::int16_t count = model.ElementCount();
    const std::vector<std::int16_t> zero = ElementsWithoutStiffness(model);
    if (!zero.empty()) {
        messages.Show(ZeroStiffnessText(ElementListText(zero)));
        return false;
    }
    if (model.CaseMoments.CaseCount() < n + 1 || model.CaseMoments.ElementCount() != count) {
        messages.Show(kCaseMomentsUnsized);
        return false;
    }

    // Every case's end moments and every member's intensity read once: the
    // sums below visit each member once per pair of cases.
    const auto members = static_cast<std::size_t>(count);
    std::vector<EndMoments> moments(static_cast<std::size_t>(n + 1) * members);
    for (int c = 0; c <= n; ++c)
        for (std::int16_t e = 1; e <= count; ++e)
            moments[static_cast<std::size_t>(c) * members + static_cast<std::size_t>(e - 1)] = MomentsOf(model, c, e);
    const auto M = [&](int c, std::int16_t e) {
        return moments[static_cast<std::size_t>(c) * members + static_cast<std::size_t>(e - 1)];
    };
    const OneBasedTable<DistributedIntensity> loads = SumDistributedLoads(model.Loads, count);
    std::vector<float> q(members + 1, 0.0f);
    for (std::int16_t e = 1; e <= count; ++e)
        q[static_cast<std::size_t>(e)] = TransverseIntensity(model.Elements.at(e), loads.at(e));

    model.FlexibilityMatrix.Recreate(n);
    model.FreeTerms.Recreate(static_cast<std::size_t>(n));
    for (int i = 1; i <= n; ++i) {
        for (int j = i; j <= n; ++j) {
            float s = 0.0f;
            for (std::int16_t e = 1; e <= count; ++e)
                s += MemberProduct(model.Elements.at(e), M(i, e), M(j, e));
            model.FlexibilityMatrix.at(i, j) = s;
            model.FlexibilityMatrix.at(j, i) = s;
        }
    }
    for (int j = 1; j <= n; ++j) {
        float s = 0.0f;
        for (std::int16_t e = 1; e <= count; ++e)
            s += MemberFreeTerm(model.Elements.at(e), M(0, e), M(j, e), q[static_cast<std::size_t>(e)]);
        model.FreeTerms.at(j) = s;
    }
    return true;
}

}  // namespace tavrin
