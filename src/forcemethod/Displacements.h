#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "diagrams/InternalForceDiagrams.h"
#include "forcemethod/CalculationSession.h"
#include "forcemethod/CoefficientLedger.h"
#include "forcemethod/ResultViews.h"
#include "model/Messages.h"
#include "model/StructureModel.h"
#include "model/TextGrid.h"
#include "solution/ForceMethodSolution.h"

namespace tavrin {

// What the student asks for at a node: its displacement along x or y, its
// rotation, or the relative rotation of the two sides of a hinge. The unit
// virtual load is +1 along the positive sense of the model (rightward,
// upward, counter-clockwise); for a hinge the pair of unit couples is
// counter-clockwise on the member that starts there and clockwise on the
// member that ends there.
enum class DisplacementKind { Horizontal, Vertical, Rotation, HingeRotation };

inline constexpr std::string_view kHorizontalDisplacement = "水平位移";
inline constexpr std::string_view kVerticalDisplacement = "竖向位移";
inline constexpr std::string_view kRotation = "转角";
inline constexpr std::string_view kHingeRotation = "铰两侧相对转角";
inline constexpr std::array<std::string_view, 4> DisplacementKindList{kHorizontalDisplacement, kVerticalDisplacement,
                                                                      kRotation, kHingeRotation};
std::optional<DisplacementKind> DisplacementKindOf(std::string_view text);
std::string_view DisplacementKindText(DisplacementKind kind);

inline constexpr std::string_view kDisplacementCaption = "位移计算";  // cmdDisplacement and the menu
inline constexpr std::string_view kBendingOnlyNote = "只计弯曲变形，忽略轴向和剪切变形";
inline constexpr std::string_view kSameSenseText = "与单位力方向相同";
inline constexpr std::string_view kOppositeSenseText = "与单位力方向相反";

struct DisplacementRequest {
    std::int16_t node = 0;
    DisplacementKind kind = DisplacementKind::Vertical;
    bool operator==(const DisplacementRequest&) const = default;
};

// The unit virtual load on the (basic) structure: the load itself, the
// reactions it meets, and its member end forces (Ni..Mj of `endForces`, the
// rest of each element as the model holds it).
struct VirtualLoadForces {
    OneBasedTable<Load> load;
    CaseForces forces;  // in double: what the displacement and its table read
    OneBasedTable<Support> reactions;
    std::vector<TransmittedForce> transmitted;
    OneBasedTable<Element> endForces;
};

// Delta = sum over the members of the integral of M M̄ / EI ds, by graph
// multiplication: one term per member in element order, a the real moments
// (the final end forces, with the parabola of the user's distributed loads),
// b the end moments M̄ of the unit load. Positive: in the sense of the unit
// load.
struct Displacement {
    DisplacementRequest request;
    VirtualLoadForces unit;
    std::vector<LedgerTerm> terms;
    double Delta = 0.0;
};

// The unit virtual load of a request; false with a message when the node is
// none of the structure's, or the request does not fit the joint (a
// rotation at a hinge joining several members, a hinge rotation at a rigid joint or where no member
// ends and another starts).
bool VirtualLoadOf(const StructureModel& model, DisplacementRequest request, OneBasedTable<Load>& load,
                   MessageSink& messages);

// The reactions and end forces of `load` on the structure as typed (the
// basic system), in double; nothing of the calculation changes. False with a
// message when the statics refuse the load.
bool ComputeVirtualLoadForces(const StructureModel& model, const OneBasedTable<Load>& load, VirtualLoadForces& forces,
                              MessageSink& messages);

// True once the final member forces of the calculation are known and the
// structure is still the one analysed: the real moments of every
// displacement.
bool RealMomentsKnown(const StructureModel& model, const CalculationState& calc);

// One displacement by the unit-load method (for an indeterminate structure
// the unit load acts on the basic system: reduction theorem). False, with a
// message, when the real moments are not known yet, a member has EI or
// length 0, or the unit load is refused; `result` then is left as it was.
bool ComputeDisplacement(const StructureModel& model, const CalculationState& calc, DisplacementRequest request,
                         Displacement& result, MessageSink& messages);
// The same on a solution already formed (many displacements of one state).
bool ComputeDisplacement(const StructureModel& model, const ForceMethodSolution& solution, DisplacementRequest request,
                         Displacement& result, MessageSink& messages);

// The result table of a displacement, in MSFlexGrid2: the reactions of the
// unit load, its member-end forces, the graph-multiplication ledger, Delta
// with its sense and the note that only bending counts.
inline constexpr ResultViewLayout DisplacementTable{"位移计算结果（单位荷载法）：",
                                                    {"内容", "编号", "", "", "", "", "", "", "", ""},
                                                    {1300, 650, 800, 800, 800, 700, 700, 700, 850, 850},
                                                    10};
TableRows DisplacementRows(const Displacement& d);
// Parts of that table under their own headers: the unit load's reactions
// (node, Fx, Fy, Fm) and its member-end forces (member, Ni, Vi, M̄i, Nj, Vj,
// M̄j).
inline constexpr std::string_view kUnitLoadReactionHeader[] = {"结点码", "Fx(向右为正)", "Fy(向上为正)",
                                                               "Fm(顺时针为正)"};
inline constexpr std::string_view kUnitLoadEndForceHeader[] = {"杆件号", "Ni", "Vi",      "M\u0304i",
                                                               "Nj",     "Vj", "M\u0304j"};
TableRows UnitLoadReactionRows(const Displacement& d);
TableRows UnitLoadEndForceRows(const Displacement& d);
// "结点2竖向位移".
std::string DisplacementName(DisplacementRequest request);
std::string_view SenseText(double Delta);

// "位移计算" of the calculation form: the displacement shown in MSFlexGrid2
// and the M̄ diagram of its unit load drawn on the picture (scale asked by
// `host`). Refused with a message, grid and picture as they were, when it
// cannot be formed.
StepOutcome ShowDisplacement(CalculationContext& ctx, DisplacementRequest request, DiagramHost& host);
// The request as typed beside the button: a node number and a kind of the
// list; false with a message when either is not one.
bool ReadDisplacementRequest(std::string_view nodeText, std::string_view kindText, DisplacementRequest& request,
                             MessageSink& messages);

// The displacements a structure file asks for, rows of the node and the
// kind as typed beside the button, each worked out as "位移计算" does; a row
// that cannot be is left out with its message.
std::vector<Displacement> ComputeRequestedDisplacements(const StructureModel& model, const CalculationState& calc,
                                                        const CellRows& requests, MessageSink& messages);
// The requests of a structure file followed by those "位移计算" worked out
// (CalculationState::displacementsShown) that it does not hold already.
CellRows AllDisplacementRequests(const CellRows& fromFile, const CellRows& shown);

// The messages.
inline constexpr std::string_view kRealMomentsMissing =
    "请先计算结构的最终内力（静定结构的构件内力或超静定结构的构件总内力）！";
inline constexpr std::string_view kDisplacementKindMissing =
    "请选择位移的方向：水平位移、竖向位移、转角或铰两侧相对转角！";
inline std::string DisplacementNodeMissingText(long node)
{
    return "结点" + std::to_string(node) + "不存在！";
}
inline std::string RotationAtHingeText(long node)
{
    return "结点" + std::to_string(node) + "是铰结点，两侧转角不同，请选“铰两侧相对转角”！";
}
inline std::string NoHingeText(long node)
{
    return "结点" + std::to_string(node) + "不是连接两根杆件的铰结点，不能求铰两侧相对转角！";
}

}  // namespace tavrin
