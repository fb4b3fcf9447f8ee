#pragma once

#include <array>
#include <optional>
#include <vector>

#include "analysis/ModelType.h"

namespace tavrin {

// The results a calculation holds in the model between its steps.
enum class Product {
    Reactions,     // the support reactions of one load case (Supports hold one case at a time)
    EndForces,     // the end forces of a load case (the case tables)
    Coefficients,  // delta_ij and Delta_ip
    Unknowns,      // X
    FinalForces,   // the final end forces in the elements
};
inline constexpr std::size_t kProductCount = 5;

// One row of the step table: what a step reads before it can run, what it
// writes, and what it takes away from the model on starting.
struct StepRule {
    StepKind kind;
    std::optional<Product> needs;  // of the step's load case; EndForces: of every case 0..n
    bool needsEveryCase;
    std::optional<Product> produces;       // of the step's load case
    std::optional<Product> alsoMakes;      // the end forces of a determinate structure are its final ones
    std::optional<Product> voidsOnStart;   // what the step overwrites in the model as it starts
    std::optional<Product> voidsWhenDone;  // what it clears from the model once done
};

constexpr auto kNone = std::nullopt;
inline constexpr std::array<StepRule, 8> kStepRules{{
    // kind                      needs           every  produces                alsoMakes  onStart  whenDone
    {StepKind::SupportReactions, kNone, false, Product::Reactions, kNone, kNone, kNone},
    // The attached parts write their hinges' reactions into Supports.
    {StepKind::AttachedParts, kNone, false, kNone, kNone, Product::Reactions, kNone},
    {StepKind::BasicParts, kNone, false, Product::Reactions, kNone, Product::Reactions, kNone},
    {StepKind::MemberForces, Product::Reactions, false, Product::EndForces, Product::FinalForces, kNone, kNone},
    // The walk of an indeterminate structure clears the reactions it read,
    // so that the next case starts from nothing.
    {StepKind::CaseEndForces, Product::Reactions, false, Product::EndForces, kNone, kNone, Product::Reactions},
    {StepKind::Coefficients, Product::EndForces, true, Product::Coefficients, kNone, kNone, kNone},
    {StepKind::Unknowns, Product::Coefficients, false, Product::Unknowns, kNone, kNone, kNone},
    {StepKind::Superposition, Product::Unknowns, false, Product::FinalForces, kNone, kNone, kNone},
}};

// What each product is formed from: a product formed anew, or voided, voids
// every product read from it, and those read from them.
struct ProductSource {
    Product product;
    Product readsFrom;
};
inline constexpr std::array<ProductSource, 3> kProductSources{{
    {Product::Coefficients, Product::EndForces},
    {Product::Unknowns, Product::Coefficients},
    {Product::FinalForces, Product::Unknowns},
}};

const StepRule* RuleOf(StepKind kind);

// Which products the model holds for one calculation of degree n: per load
// case 0..n for Reactions (one case at most) and EndForces, one flag for the
// others. "Done", what a new result voids, the form's buttons, the views and
// the report's completeness are all read from here.
class CalculationProgress {
public:
    void Start(int degree);
    int Degree() const { return m_degree; }

    bool Holds(Product p, int caseNo = 0) const;
    // The load case whose reactions Supports hold, -1 none.
    int ReactionsCase() const;

    // The step is about to run: what it overwrites is void.
    void Started(CalculationStep step);
    // The step produced its results: held, and everything formed from the
    // product before is void.
    void Produced(CalculationStep step);
    // The step's results were put back or refused: its product is void.
    void Forget(CalculationStep step);
    // Product p of load case c (every case for c < 0) is out of date, and
    // everything formed from it.
    void Void(Product p, int caseNo = -1);

    // The product the step needs and the calculation does not hold, with the
    // load case it is missing for (the first such case).
    struct Missing {
        Product product;
        int caseNo;
    };
    std::optional<Missing> MissingFor(CalculationStep step) const;
    // The step's product is still held: its table stands.
    bool Stands(CalculationStep step) const;

    bool operator==(const CalculationProgress&) const = default;

private:
    std::vector<bool>& Flags(Product p) { return m_held[static_cast<std::size_t>(p)]; }
    const std::vector<bool>& Flags(Product p) const { return m_held[static_cast<std::size_t>(p)]; }
    void VoidReaders(Product source);

    int m_degree = 0;
    std::array<std::vector<bool>, kProductCount> m_held;
};

}  // namespace tavrin
