#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "model/StructureModel.h"

namespace tavrin {

// Elements, supports and loads name nodes and elements by their position in
// Nodes and Elements. The input commit refuses a row whose names do not fit
// the tables committed before it; the model type analysis refuses a stored
// row that a later commit left without them. Both say why in these words.

// A concentrated force and a couple act at the node they name, unless they
// act between the nodes of their member (ActsBetweenNodes).
bool LoadNamesNode(const Load& load);
// A distributed load acts on the element it names; so does a couple that
// names one (the element whose end at a hinge carries it), and a force
// between the nodes of its member.
bool LoadNamesElement(const Load& load);

// The values of a load that place it along its member.
enum class LoadValue { StartA, EndB, EndMagnitude };
struct LoadValueFault {
    LoadValue value;
    std::string reason;
};
// The first of a, b and the intensity at b, in that order, that the load
// cannot have or that misses its member: a belongs to a load between the
// nodes of a member (ActsBetweenNodes), b and the intensity at b to a
// distributed load; a and b lie within 0..Length of the member, and a
// distributed load spans a < b (a blank b reads Length). A member that is
// gone is MissingElementReason's to say. None for a load that fits.
std::optional<LoadValueFault> MemberPlaceFault(const StructureModel& model, const Load& load);

// "结点号7不存在（现有结点1～3）"; empty when node n exists.
std::string MissingNodeReason(const StructureModel& model, int n);
// "单元号5不存在（现有单元1～2）"; empty when element e exists.
std::string MissingElementReason(const StructureModel& model, int e);

// Length and direction of a member from end i to end j, single precision:
//   Length = sqrt(dx^2 + dy^2), CosA = dx / Length, SinA = dy / Length,
// dx = xj - xi, dy = yj - yi (model axes, y upward).
struct ElementGeometry {
    float Length = 0.0f;
    float SinA = 0.0f;
    float CosA = 0.0f;
};
ElementGeometry MemberGeometry(const Node& i, const Node& j);

// Why a member between these nodes has no direction: its end nodes
// coincide, they lie so close that the square of their distance is no
// 32-bit number (1e-40 apart), or the length overflows. Empty for a usable
// length.
std::string_view MemberLengthFault(const Node& i, const Node& j);

}  // namespace tavrin
