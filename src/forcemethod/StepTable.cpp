#include "forcemethod/StepTable.h"

#include <algorithm>

namespace tavrin {

namespace {

bool PerCase(Product p)
{
    return p == Product::Reactions || p == Product::EndForces;
}

}  // namespace

const StepRule* RuleOf(StepKind kind)
{
    const auto rule =
        std::find_if(kStepRules.begin(), kStepRules.end(), [kind](const StepRule& r) { return r.kind == kind; });
    return rule == kStepRules.end() ? nullptr : &*rule;
}

void CalculationProgress::Start(int degree)
{
    m_degree = degree < 0 ? 0 : degree;
    for (std::size_t p = 0; p < kProductCount; ++p)
        m_held[p].assign(PerCase(static_cast<Product>(p)) ? static_cast<std::size_t>(m_degree + 1) : 1u, false);
}

bool CalculationProgress::Holds(Product p, int caseNo) const
{
    const std::vector<bool>& flags = Flags(p);
    const auto c = static_cast<std::size_t>(PerCase(p) ? caseNo : 0);
    return caseNo >= 0 && c < flags.size() && flags[c];
}

int CalculationProgress::ReactionsCase() const
{
    const std::vector<bool>& flags = Flags(Product::Reactions);
    const auto held = std::find(flags.begin(), flags.end(), true);
    return held == flags.end() ? -1 : static_cast<int>(held - flags.begin());
}

void CalculationProgress::VoidReaders(Product source)
{
    for (const ProductSource& s : kProductSources)
        if (s.readsFrom == source)
            Void(s.product);
}

void CalculationProgress::Void(Product p, int caseNo)
{
    std::vector<bool>& flags = Flags(p);
    if (caseNo < 0 || !PerCase(p))
        std::fill(flags.begin(), flags.end(), false);
    else if (static_cast<std::size_t>(caseNo) < flags.size())
        flags[static_cast<std::size_t>(caseNo)] = false;
    VoidReaders(p);
}

void CalculationProgress::Started(CalculationStep step)
{
    if (const StepRule* rule = RuleOf(step.kind)) {
        if (rule->voidsOnStart)
            Void(*rule->voidsOnStart);
        // Forming a product anew voids what was formed from the old one.
        if (rule->produces && !PerCase(*rule->produces))
            Void(*rule->produces);
    }
}

void CalculationProgress::Produced(CalculationStep step)
{
    const StepRule* rule = RuleOf(step.kind);
    if (!rule || !rule->produces)
        return;
    const Product p = *rule->produces;
    std::vector<bool>& flags = Flags(p);
    const auto c = static_cast<std::size_t>(PerCase(p) ? step.caseNo : 0);
    if (p == Product::Reactions)
        std::fill(flags.begin(), flags.end(), false);
    VoidReaders(p);
    if (c < flags.size())
        flags[c] = true;
    if (rule->alsoMakes)
        Flags(*rule->alsoMakes).assign(Flags(*rule->alsoMakes).size(), true);
    if (rule->voidsWhenDone)
        Void(*rule->voidsWhenDone);
}

void CalculationProgress::Forget(CalculationStep step)
{
    if (const StepRule* rule = RuleOf(step.kind)) {
        if (rule->produces)
            Void(*rule->produces, step.caseNo);
        if (rule->voidsOnStart)
            Void(*rule->voidsOnStart);
    }
}

std::optional<CalculationProgress::Missing> CalculationProgress::MissingFor(CalculationStep step) const
{
    const StepRule* rule = RuleOf(step.kind);
    if (!rule || !rule->needs)
        return std::nullopt;
    if (!rule->needsEveryCase)
        return Holds(*rule->needs, step.caseNo) ? std::nullopt : std::optional<Missing>({*rule->needs, step.caseNo});
    for (int c = 0; c <= m_degree; ++c)
        if (!Holds(*rule->needs, c))
            return Missing{*rule->needs, c};
    return std::nullopt;
}

bool CalculationProgress::Stands(CalculationStep step) const
{
    const StepRule* rule = RuleOf(step.kind);
    if (!rule || !rule->produces)
        return false;
    // The reactions of a case stand in their table also once its end forces
    // are calculated (the walk clears them from Supports).
    if (*rule->produces == Product::Reactions)
        return Holds(Product::Reactions, step.caseNo) || Holds(Product::EndForces, step.caseNo);
    return Holds(*rule->produces, step.caseNo);
}

}  // namespace tavrin
