#include "drawing/SampleFrame.h"

#include <array>
#include <cmath>
#include <string_view>

#include "drawing/DrawingPasses.h"
#include "model/Vocabulary.h"

namespace tavrin {

namespace {

struct GalleryColumn {
    std::string_view direction;
    float x;
    float stubDx, stubDy;  // from the supported node to the free end of its stub member
};

struct GalleryRow {
    std::string_view type;
    float y;
    std::array<std::string_view, 4> joints;  // joint of the supported node, per column
};

// Each support stands at the end of a stub of 1.5 units that leaves the node on
// the side away from the support, as a member would.
constexpr std::array<GalleryColumn, 4> kGalleryColumns{{
    {kBelowNode, 0.0f, 0.0f, 1.5f},
    {kAboveNode, 3.5f, 0.0f, -1.5f},
    {kRightOfNode, 7.0f, -1.5f, 0.0f},
    {kLeftOfNode, 10.5f, 1.5f, 0.0f},
}};

// Rollers and pins alternate rigid and hinged nodes, so both placements of
// the node circle show.
constexpr std::array<GalleryRow, 3> kGalleryRows{{
    {kRollerSupport, 15.0f, {kRigidJoint, kHingedJoint, kRigidJoint, kHingedJoint}},
    {kFixedSupport, 12.0f, {kRigidJoint, kRigidJoint, kRigidJoint, kRigidJoint}},
    {kPinSupport, 9.0f, {kHingedJoint, kRigidJoint, kHingedJoint, kRigidJoint}},
}};

struct SampleNode {
    float x, y;
    std::string_view joint;
};

struct SampleMember {
    int i, j;  // indexes into the frame's node list, 0-based
};

struct SampleSupport {
    int node;
    std::string_view type, direction;
};

struct SampleLoad {
    std::string_view type;
    float magnitude;  // signed as committed: up, right, counter-clockwise positive
    std::string_view direction;
    int node;     // -1: none
    int element;  // index into the frame's member list; -1: none
};

// One structure of the sample, with nodes and members numbered locally.
template <std::size_t Nodes, std::size_t Members, std::size_t Supports, std::size_t Loads>
struct SampleStructure {
    std::array<SampleNode, Nodes> nodes;
    std::array<SampleMember, Members> members;
    std::array<SampleSupport, Supports> supports;
    std::array<SampleLoad, Loads> loads;
};

// Member-end couples at hinged ends: a beam running right (rows 1, 2), one
// running left (3, 4), a member running down the picture (5, 6) and one
// running up (7, 8); the two ends of each carry opposite senses.
constexpr SampleStructure<8, 4, 0, 8> kEndCouples{
    {{{14, 15, kHingedJoint},
      {18, 15, kHingedJoint},
      {18, 12, kHingedJoint},
      {14, 12, kHingedJoint},
      {20.5f, 15, kHingedJoint},
      {20.5f, 12, kHingedJoint},
      {23, 12, kHingedJoint},
      {23, 15, kHingedJoint}}},
    {{{0, 1}, {2, 3}, {4, 5}, {6, 7}}},
    {},
    {{{kCouple, -4, kClockwise, 0, 0},
      {kCouple, 4, kCounterClockwise, 1, 0},
      {kCouple, 5, kCounterClockwise, 2, 1},
      {kCouple, -5, kClockwise, 3, 1},
      {kCouple, -6, kClockwise, 4, 2},
      {kCouple, 6, kCounterClockwise, 5, 2},
      {kCouple, 7, kCounterClockwise, 6, 3},
      {kCouple, -7, kClockwise, 7, 3}}},
};

// Portal frame: column, beam and inclined member, each with a distributed
// load; fixed foot, pinned far end.
constexpr SampleStructure<4, 3, 2, 3> kPortal{
    {{{0, 0, kRigidJoint}, {0, 5, kRigidJoint}, {6, 5, kRigidJoint}, {9, 1, kHingedJoint}}},
    {{{0, 1}, {1, 2}, {2, 3}}},
    {{{0, kFixedSupport, kBelowNode}, {3, kPinSupport, kBelowNode}}},
    {{{kDistributedLoad, 2.5f, kRightward, -1, 0},
      {kDistributedLoad, -10, kDownward, -1, 1},
      {kDistributedLoad, 3.456f, kUpward, -1, 2}}},
};

// L-shaped cantilever: a column with a leftward distributed load and a beam
// with rigid joints carrying the four concentrated forces and both couples.
constexpr SampleStructure<5, 4, 1, 7> kCantilever{
    {{{14, 0, kRigidJoint}, {14, 5, kRigidJoint}, {17, 5, kRigidJoint}, {20, 5, kRigidJoint}, {23, 5, kFreeEnd}}},
    {{{0, 1}, {1, 2}, {2, 3}, {3, 4}}},
    {{{0, kFixedSupport, kAboveNode}}},
    {{{kDistributedLoad, -2, kLeftward, -1, 0},
      {kConcentratedLoad, 8, kRightward, 1, -1},
      {kConcentratedLoad, -12, kDownward, 3, -1},
      {kConcentratedLoad, 5, kUpward, 4, -1},
      {kConcentratedLoad, -6.5f, kLeftward, 4, -1},
      {kCouple, -20, kClockwise, 2, -1},
      {kCouple, 15, kCounterClockwise, 3, -1}}},
};

std::int16_t AddNode(StructureModel& model, float x, float y, std::string_view joint)
{
    const auto number = static_cast<std::int16_t>(model.NodeCount() + 1);
    model.Nodes.Append({number, std::string(joint), x, y});
    return number;
}

// Geometry as the element commit computes it from the nodes in force.
std::int16_t AddElement(StructureModel& model, std::int16_t i, std::int16_t j)
{
    Element element;
    element.Code = static_cast<std::int16_t>(model.ElementCount() + 1);
    element.EI = 1.0f;
    element.INode = i;
    element.JNode = j;
    const Node& a = model.Nodes.at(i);
    const Node& b = model.Nodes.at(j);
    const float dx = b.X - a.X;
    const float dy = b.Y - a.Y;
    element.Length = std::sqrt(dx * dx + dy * dy);
    element.SinA = dy / element.Length;
    element.CosA = dx / element.Length;
    model.Elements.Append(element);
    return element.Code;
}

void AddSupport(StructureModel& model, std::int16_t node, std::string_view type, std::string_view direction)
{
    model.Supports.Append({node, std::string(type), std::string(direction), 0.0f, 0.0f, 0.0f});
}

void AddSupportGallery(StructureModel& model)
{
    for (const GalleryRow& row : kGalleryRows)
        for (std::size_t c = 0; c < kGalleryColumns.size(); ++c) {
            const GalleryColumn& column = kGalleryColumns[c];
            const std::int16_t node = AddNode(model, column.x, row.y, row.joints[c]);
            const std::int16_t stub = AddNode(model, column.x + column.stubDx, row.y + column.stubDy, kFreeEnd);
            AddElement(model, node, stub);
            AddSupport(model, node, row.type, column.direction);
        }
}

template <std::size_t Nodes, std::size_t Members, std::size_t Supports, std::size_t Loads>
void AddStructure(StructureModel& model, const SampleStructure<Nodes, Members, Supports, Loads>& structure)
{
    std::array<std::int16_t, Nodes> nodeNo{};
    for (std::size_t n = 0; n < Nodes; ++n)
        nodeNo[n] = AddNode(model, structure.nodes[n].x, structure.nodes[n].y, structure.nodes[n].joint);
    std::array<std::int16_t, Members> elementNo{};
    for (std::size_t e = 0; e < Members; ++e)
        elementNo[e] = AddElement(model, nodeNo[static_cast<std::size_t>(structure.members[e].i)],
                                  nodeNo[static_cast<std::size_t>(structure.members[e].j)]);
    for (const SampleSupport& s : structure.supports)
        AddSupport(model, nodeNo[static_cast<std::size_t>(s.node)], s.type, s.direction);
    for (const SampleLoad& l : structure.loads) {
        Load load;
        load.LoadType = std::string(l.type);
        load.Magnitude = l.magnitude;
        load.Direction = std::string(l.direction);
        load.NodeNo = l.node < 0 ? std::int16_t{0} : nodeNo[static_cast<std::size_t>(l.node)];
        load.ElementNo = l.element < 0 ? std::int16_t{0} : elementNo[static_cast<std::size_t>(l.element)];
        model.Loads.Append(load);
    }
}

}  // namespace

void BuildSampleFrame(StructureModel& model)
{
    model = StructureModel{};
    AddSupportGallery(model);
    AddStructure(model, kEndCouples);
    AddStructure(model, kPortal);
    AddStructure(model, kCantilever);
}

void DrawCommittedLayers(StructureModel& model, Canvas& canvas)
{
    FitModelToPicture(model, canvas);
    DrawNodeNumbers(model, canvas);
    DrawMembers(model, canvas, MemberLabels::Shown);
    DrawSupports(model, canvas);
    DrawConcentratedLoads(model, canvas);
    DrawDistributedLoads(model, canvas);
    DrawCouples(model, canvas);
}

}  // namespace tavrin
