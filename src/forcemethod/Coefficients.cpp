#include <string>
#include <vector>

#include "forcemethod/CoefficientLedger.h"
#include "forcemethod/ForceMethod.h"
#include "forcemethod/ForceMethodTexts.h"
#include "model/ModelTexts.h"

namespace tavrin {

// Each coefficient is the float sum, in element order, of its members' terms
// in the ledger, each rounded to float: the ledger shows the same terms.
bool FormCoefficients(StructureModel& model, MessageSink& messages)
{
    const int n = model.IndeterminacyDegree < 0 ? 0 : model.IndeterminacyDegree;
    const std::vector<std::int16_t> zero = ElementsWithoutStiffness(model);
    if (!zero.empty()) {
        messages.Show(ZeroStiffnessText(ElementListText(zero)));
        return false;
    }
    if (model.CaseMoments.CaseCount() < n + 1 || model.CaseMoments.ElementCount() != model.ElementCount()) {
        messages.Show(kCaseMomentsUnsized);
        return false;
    }

    const std::vector<LedgerEntry> ledger = FormCoefficientLedger(model, n);
    model.FlexibilityMatrix.Recreate(n);
    model.FreeTerms.Recreate(static_cast<std::size_t>(n));
    for (const LedgerEntry& entry : ledger) {
        if (entry.j == 0) {
            model.FreeTerms.at(entry.i) = entry.stored;
        } else {
            model.FlexibilityMatrix.at(entry.i, entry.j) = entry.stored;
            model.FlexibilityMatrix.at(entry.j, entry.i) = entry.stored;
        }
    }
    return true;
}

}  // namespace tavrin
