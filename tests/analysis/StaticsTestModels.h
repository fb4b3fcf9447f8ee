#pragma once

#include <cmath>
#include <cstdint>
#include <string>
#include <string_view>

#include "analysis/Arrangements.h"
#include "model/StructureModel.h"
#include "model/Vocabulary.h"

namespace tavrin::testing {

// The 32-bit statics agree with the hand numbers to this.
inline constexpr float kTol = 1e-4f;

// Builds a model the way the input tables would leave it: element geometry
// from the nodes, signed load magnitudes, restraint count of the supports.
class ModelBuilder {
public:
    ModelBuilder& Node(float x, float y, std::string_view joint = kRigidJoint)
    {
        m.Nodes.Append({static_cast<std::int16_t>(m.NodeCount() + 1), std::string(joint), x, y});
        return *this;
    }
    ModelBuilder& Member(std::int16_t i, std::int16_t j, float EI = 1.0f)
    {
        Element e;
        e.Code = static_cast<std::int16_t>(m.ElementCount() + 1);
        e.EI = EI;
        e.INode = i;
        e.JNode = j;
        const tavrin::Node& a = m.Nodes.at(i);
        const tavrin::Node& b = m.Nodes.at(j);
        e.Length = std::sqrt((b.X - a.X) * (b.X - a.X) + (b.Y - a.Y) * (b.Y - a.Y));
        e.SinA = (b.Y - a.Y) / e.Length;
        e.CosA = (b.X - a.X) / e.Length;
        m.Elements.Append(e);
        return *this;
    }
    ModelBuilder& Support(std::int16_t node, std::string_view type, std::string_view side = kBelowNode)
    {
        m.Supports.Append({node, std::string(type), std::string(side), 0.0f, 0.0f, 0.0f});
        m.SupportConstraintCount = static_cast<std::int16_t>(m.SupportConstraintCount + RestraintCount(type));
        return *this;
    }
    // `value` as typed; the direction gives the sign.
    ModelBuilder& Force(std::int16_t node, std::string_view direction, float value)
    {
        return Add(kConcentratedLoad, direction, value, node, 0);
    }
    ModelBuilder& Distributed(std::int16_t element, std::string_view direction, float value)
    {
        return Add(kDistributedLoad, direction, value, 0, element);
    }
    ModelBuilder& Couple(std::int16_t node, std::string_view direction, float value, std::int16_t element = 0)
    {
        return Add(kCouple, direction, value, node, element);
    }
    ModelBuilder& Degree(std::int16_t n)
    {
        m.IndeterminacyDegree = n;
        return *this;
    }
    StructureModel Build()
    {
        m.SizeCaseTables();
        return m;
    }

private:
    ModelBuilder& Add(std::string_view type, std::string_view direction, float value, std::int16_t node,
                      std::int16_t element)
    {
        const bool positive = direction == kUpward || direction == kRightward || direction == kCounterClockwise;
        m.Loads.Append({std::string(type), positive ? value : -value, std::string(direction), node, element});
        return *this;
    }
    StructureModel m;
};

// Pin at node 1 (0,0), roller below node 2 (6,0), node 3 (2,0) between;
// elements 1->3 and 3->2.
inline ModelBuilder SimpleBeam()
{
    ModelBuilder b;
    b.Node(0, 0).Node(6, 0).Node(2, 0).Member(1, 3).Member(3, 2);
    b.Support(1, kPinSupport).Support(2, kRollerSupport, kBelowNode);
    return b;
}

// Fixed support at node 1 (0,0), hinge at node 2 (4,0), node 3 (8,0) on a
// support of type `endSupport`; elements 1-2 and 2-3.
inline ModelBuilder HingedBeam(std::string_view endSupport)
{
    ModelBuilder b;
    b.Node(0, 0).Node(4, 0, kHingedJoint).Node(8, 0).Member(1, 2).Member(2, 3);
    b.Support(1, kFixedSupport).Support(3, endSupport);
    return b;
}

// Pins A (node 1, (0,0)) and B (node 5, (8,0)), crown hinge C at node 3
// (4,4) between the rigid corners 2 (0,4) and 4 (8,4).
inline ModelBuilder ThreeHingedNodes()
{
    ModelBuilder b;
    b.Node(0, 0).Node(0, 4).Node(4, 4, kHingedJoint).Node(8, 4).Node(8, 0);
    return b;
}

// The three-hinged frame on those nodes, members chained from A to B
// (1-2, 2-3, 3-4, 4-5), pins at A and B.
inline ModelBuilder ThreeHingedFrame()
{
    ModelBuilder b = ThreeHingedNodes();
    b.Member(1, 2).Member(2, 3).Member(3, 4).Member(4, 5).Support(1, kPinSupport).Support(5, kPinSupport);
    return b;
}

// Two spans of 4 (EI 1), nodes at x = 0, 4, 8, elements 1-2 and 2-3; no
// supports yet.
inline ModelBuilder TwoSpans()
{
    ModelBuilder b;
    b.Node(0, 0).Node(4, 0).Node(8, 0).Member(1, 2).Member(2, 3);
    return b;
}

// A portal of height 4 and span 6, nodes 1..4 from the left foot, elements
// 1-2, 2-3, 3-4, its columns EI 3 and its beam EI 2; no supports yet.
inline ModelBuilder PortalFrame()
{
    ModelBuilder b;
    b.Node(0, 0).Node(0, 4).Node(6, 4).Node(6, 0).Member(1, 2, 3.0f).Member(2, 3, 2.0f).Member(3, 4, 3.0f);
    return b;
}

// Fixed support at node 1 (0,0), free end at node 2 (4,0).
inline ModelBuilder Cantilever()
{
    ModelBuilder b;
    b.Node(0, 0).Node(4, 0, kFreeEnd).Member(1, 2).Support(1, kFixedSupport);
    return b;
}

// Resultant acting on a free body, counter-clockwise moment about the origin.
struct Balance {
    double fx = 0.0;
    double fy = 0.0;
    double m = 0.0;
};

inline void AddForce(Balance& b, const tavrin::Node& at, double fx, double fy)
{
    b.fx += fx;
    b.fy += fy;
    b.m += static_cast<double>(at.X) * fy - static_cast<double>(at.Y) * fx;
}

// The user's loads and the support reactions on the whole structure; zero in
// every component when the reactions are right. Written independently of the
// routines under test: couples counter-clockwise, reactions' Fm clockwise.
inline Balance WholeStructureBalance(const StructureModel& model)
{
    Balance b;
    for (const Support& s : model.Supports) {
        AddForce(b, model.Nodes.at(s.NodeNo), s.Fx, s.Fy);
        b.m -= s.Fm;
    }
    for (const Load& l : model.Loads) {
        const bool horizontal = IsHorizontalDirection(l.Direction);
        if (l.LoadType == kConcentratedLoad)
            AddForce(b, model.Nodes.at(l.NodeNo), horizontal ? l.Magnitude : 0.0, horizontal ? 0.0 : l.Magnitude);
        if (l.LoadType == kCouple)
            b.m += l.Magnitude;
        if (l.LoadType == kDistributedLoad) {
            const Element& e = model.Elements.at(l.ElementNo);
            const tavrin::Node& a = model.Nodes.at(e.INode);
            const tavrin::Node& c = model.Nodes.at(e.JNode);
            tavrin::Node mid;
            mid.X = (a.X + c.X) / 2;
            mid.Y = (a.Y + c.Y) / 2;
            const double total = l.Magnitude * (horizontal ? std::abs(c.Y - a.Y) : std::abs(c.X - a.X));
            AddForce(b, mid, horizontal ? total : 0.0, horizontal ? 0.0 : total);
        }
    }
    return b;
}

// What acts on node n: the first support there, the forces and couples at n,
// and the member ends at n (read from the elements' end forces, turned back
// to x, y). Zero in every component when the end forces are right. Moments
// about n, counter-clockwise.
inline Balance NodeBalance(const StructureModel& model, std::int16_t n, bool withSupport = true)
{
    Balance b;
    for (const Support& s : model.Supports) {
        if (withSupport && s.NodeNo == n) {
            b.fx += s.Fx;
            b.fy += s.Fy;
            b.m -= s.Fm;
            break;
        }
    }
    for (const Load& l : model.Loads) {
        if (l.NodeNo != n)
            continue;
        if (l.LoadType == kConcentratedLoad && IsHorizontalDirection(l.Direction))
            b.fx += l.Magnitude;
        if (l.LoadType == kConcentratedLoad && IsVerticalDirection(l.Direction))
            b.fy += l.Magnitude;
        if (l.LoadType == kCouple)
            b.m += l.Magnitude;
    }
    // End i of a member takes (-N C - V S, -N S + V C) and the counter-
    // clockwise moment M from the node; end j takes the opposite of the force
    // its N, V describe and the counter-clockwise moment -M.
    for (const Element& e : model.Elements) {
        const double C = e.CosA;
        const double S = e.SinA;
        if (e.INode == n) {
            b.fx -= -e.Ni * C - e.Vi * S;
            b.fy -= -e.Ni * S + e.Vi * C;
            b.m -= e.Mi;
        }
        if (e.JNode == n) {
            b.fx -= e.Nj * C + e.Vj * S;
            b.fy -= e.Nj * S - e.Vj * C;
            b.m += e.Mj;
        }
    }
    return b;
}

}  // namespace tavrin::testing
