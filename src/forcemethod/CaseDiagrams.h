#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "diagrams/InternalForceDiagrams.h"
#include "forcemethod/CalculationSession.h"

namespace tavrin {

// The moment diagrams of the load cases of the basic system (MP and M̄k),
// which the student compares with the hand-drawn ones before the
// coefficients are formed from them.

inline constexpr std::string_view kCaseDiagramCaption = "弯矩图";  // cmdCaseDiagram
inline constexpr std::string_view kCaseDiagramChoiceTitle = "基本结构弯矩图";
inline constexpr std::string_view kCaseDiagramChoicePrompt = "选择要画的弯矩图：";

// True when the moment diagram of load case c can be drawn: the calculation
// has calculated the member-end forces of the case, and the structure is
// still the one it was analysed for.
bool CaseDiagramReady(const StructureModel& model, const CalculationState& calc, int caseNo);

// The cases whose diagrams are ready, in order (0 first).
std::vector<int> ReadyCases(const StructureModel& model, const CalculationState& calc);

// The entries of the menu's choice, one per case: "MP图（外荷载）",
// "M̄2图（单位未知力X2）".
std::vector<std::string> CaseDiagramChoices(const std::vector<int>& cases);

// The load case whose member-end forces the selected item calculates (0
// also for the member forces of a determinate structure); std::nullopt for
// any other item or none.
std::optional<int> SelectedEndForceCase(const CalculationFormState& form);

// cmdCaseDiagram is enabled while the selected item's case is ready.
bool CaseDiagramEnabled(const StructureModel& model, const CalculationFormState& form, const CalculationState& calc);

// cmdCaseDiagram: draws the moment diagram of the selected item's case on
// the picture, asking `host` for the scale. Refused, with the message of the
// missing step, when the case is not ready; the picture stays as it was.
StepOutcome DrawSelectedCaseDiagram(CalculationContext& ctx, DiagramHost& host);

}  // namespace tavrin
