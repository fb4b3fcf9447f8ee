#pragma once

#include <optional>
#include <string_view>
#include <vector>

#include "diagrams/InternalForceDiagrams.h"
#include "drawing/Canvas.h"
#include "forcemethod/CalculationSession.h"
#include "model/Messages.h"
#include "model/StructureModel.h"
#include "solution/Curve.h"

namespace tavrin {

inline constexpr std::string_view kDeflectedShapeCaption = "位移图";
inline constexpr std::string_view kDeflectionScalePrompt = "输入位移放大比例（图上长度/位移）：";

// A node's displacement by the unit-load method: dx rightward, dy upward,
// theta counter-clockwise; no theta where a hinge joins several members.
struct NodeDisplacement {
    double dx = 0.0;
    double dy = 0.0;
    std::optional<double> theta;
};

// Entry n - 1 for node n. False with a message when the displacements
// cannot be formed (see ComputeDisplacement).
bool ComputeNodeDisplacements(const StructureModel& model, const CalculationState& calc,
                              std::vector<NodeDisplacement>& nodes, MessageSink& messages);

// The displacement (x, y) of the point at t (0 at end i, 1 at end j) of
// member e: the chord's, from its end displacements (no axial strain), plus
// across the member its deflection w (MemberDeflections: w'' = -M / EI,
// w = 0 at both ends), along the member's left normal (M positive stretches
// that side).
struct Displacement2D {
    double x = 0.0;
    double y = 0.0;
};
Displacement2D MemberPointDisplacement(const StructureModel& model, const std::vector<NodeDisplacement>& nodes,
                                       const PiecewiseCurve& w, int e, double t);

// The deflected shape over the structure: the members in blue, each
// member's deflected axis in red at the scale asked from `host` (picture
// units per unit of displacement; no number: the largest node displacement
// at a tenth of the picture width), the largest node displacement labelled.
// Returns the scale used.
double DrawDeflectedShape(const StructureModel& model, const std::vector<NodeDisplacement>& nodes, Canvas& canvas,
                          DiagramHost& host);

}  // namespace tavrin
