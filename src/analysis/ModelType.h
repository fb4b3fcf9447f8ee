#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "model/Messages.h"
#include "model/StructureModel.h"

namespace tavrin {

// What the model type dialog holds when "确定" is pressed.
struct ModelTypeChoice {
    bool indeterminate = false;  // Option2 "超静定结构" selected
    std::string degreeText;      // Text1, the degree as typed
};

// Sets IndeterminacyDegree from the dialog: the degree typed (a number cell:
// blank reads 0, halves to even) for an indeterminate structure, 0 for a
// determinate one. A text that is not wholly a number, a negative degree, or
// one too large for a 16-bit field is refused with a message: the model
// keeps its degree, the result is false and the dialog stays open. True when
// the dialog may close; a degree above 0 over members committed without a
// positive EI is kept with a warning to mend the element table.
bool AcceptModelType(StructureModel& model, const ModelTypeChoice& choice, MessageSink& messages);

// The elements that start or end at node n, each once, in table order.
std::vector<std::int16_t> ElementsMeetingAt(const StructureModel& model, int node);
// The number of elements that start or end at node n (an element counted once).
int ElementsAtNode(const StructureModel& model, int node);

// Why a couple row cannot be calculated as typed: it leaves "作用单元" blank
// at a hinge ("铰接") where several members meet, so nothing says which
// member end carries it. Empty for any other load.
std::string CoupleElementUnnamedReason(const StructureModel& model, const Load& load);

// True when the supports hold more than the three restraints of a single
// determinate body in an arrangement that the whole-structure reaction
// routine cannot solve: more than 4 restraints, or 4 restraints that are not
// exactly two pins (the three-hinged arrangement). A fixed support with a
// roller is such a structure: a hinged cantilever beam.
bool HasAttachedParts(const StructureModel& model);

CalculationModel ClassifyStructure(const StructureModel& model);

inline bool IsIndeterminate(CalculationModel kind)
{
    return kind == CalculationModel::IndeterminateNoAttached || kind == CalculationModel::IndeterminateWithAttached;
}

// Caption of the calculation form for a calculation model.
std::string_view CalculationModelCaption(CalculationModel kind);

// What "计算(&C)" runs for a calculation item.
enum class StepKind {
    None,
    SupportReactions,  // whole-structure reactions of a load case
    MemberForces,      // end forces of a determinate structure into the elements
    AttachedParts,     // attached-part reactions under the user's loads
    BasicParts,        // basic-part reactions of a load case
    CaseEndForces,     // end forces of a load case into the case tables
    Coefficients,
    Unknowns,
    Superposition,
};

struct CalculationStep {
    StepKind kind = StepKind::None;
    int caseNo = 0;  // load case: 0 the user's loads, k the unit force Xk
    bool operator==(const CalculationStep&) const = default;
};

// The supplementary input an item asks for before "计算(&C)" can run it: the
// table the calculation form then shows in its input grid. The unit-force
// table is the one of the item's load case.
enum class SupplementaryTable { None, AttachedParts, BasicParts, UnitForces };

// One entry of the calculation list: its text, the step it runs and the
// input it needs.
struct CalculationItem {
    std::string text;
    CalculationStep step;
    SupplementaryTable needs = SupplementaryTable::None;
    bool operator==(const CalculationItem&) const = default;
};

// The items of the calculation list, in list order, for a calculation model
// and degree n.
std::vector<CalculationItem> CalculationItems(CalculationModel kind, int degree);

// The step of list entry `index`; StepKind::None outside the list (-1: no
// entry selected).
CalculationStep StepOfItem(const std::vector<CalculationItem>& items, int index);

// The texts of the list, as it shows them.
std::vector<std::string> ItemTexts(const std::vector<CalculationItem>& items);

// Outcome of the analysis: `accepted` false when the structure was refused
// (nothing else in the model changed); otherwise the calculation model, the
// form caption and the item list that the calculation form shows.
struct ModelTypeAnalysis {
    bool accepted = false;
    CalculationModel kind = CalculationModel::DeterminateNoAttached;
    int degree = 0;
    std::string caption;
    std::vector<CalculationItem> items;
};

// Refuses, with one message and the model untouched, a structure with a
// stored row that a later commit left without what it names (an element
// whose end node is gone or whose ends coincide, a support or load at a node
// that is gone, a load on an element that is gone, a couple at a hinge of
// several members that names none of them, a load whose point or span lies
// beyond its member's end; the message names the table, the
// row and the cause), or with a rigid joint where more than two
// members meet (the message names the first such node), or that cannot be
// calculated as typed: geometrically unstable (the message names a node and
// direction it can move in) or, by the rank of its equilibrium equations,
// holding restraints too many (the message says how many; for n > 0 the
// structure typed is the basic system). Otherwise sizes the
// case tables for cases 0..IndeterminacyDegree, which clears them, and sets
// CalcModel.
ModelTypeAnalysis AnalyseModelType(StructureModel& model, MessageSink& messages);

}  // namespace tavrin
