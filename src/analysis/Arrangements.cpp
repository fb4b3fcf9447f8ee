#include "analysis/Arrangements.h"

#include <algorithm>

#include "analysis/StaticsTexts.h"
#include "model/Vocabulary.h"

namespace tavrin {

namespace {

struct Point {
    float x = 0.0f;
    float y = 0.0f;
};

Point NodePoint(const StructureModel& model, std::int16_t node)
{
    const Node& n = model.Nodes.at(node);
    return {n.X, n.Y};
}

ArrangementOutcome Solved()
{
    return {ArrangementStatus::Solved, {}};
}
ArrangementOutcome Fault(std::string_view reason)
{
    return {ArrangementStatus::Fault, reason};
}
ArrangementOutcome Unmatched()
{
    return {ArrangementStatus::Unmatched, kArrangementUnmatched};
}

bool IsType(const StructureModel& model, std::int16_t support, std::string_view type)
{
    return model.Supports.at(support).SupportType == type;
}

// Pin P and roller R (the last of each kind): R acts along the axis its side
// of the node gives (below or above: vertical; right or left: horizontal).
ArrangementOutcome SolvePinAndRoller(const StructureModel& model, const SupportedBody& body,
                                     const ResultantsOf& resultants, OneBasedTable<Support>& reactions)
{
    std::int16_t p = 0;
    std::int16_t r = 0;
    for (const std::int16_t s : body.supports) {
        if (IsType(model, s, kRollerSupport))
            r = s;
        if (IsType(model, s, kPinSupport))
            p = s;
    }
    if (r == 0)
        return Unmatched();
    const Support& roller = model.Supports.at(r);
    const Support& pinRecord = model.Supports.at(p);
    const Point pinAt = NodePoint(model, pinRecord.NodeNo);
    const Point rollerAt = NodePoint(model, roller.NodeNo);
    Support& pin = reactions.at(p);
    Support& rollerOut = reactions.at(r);

    const bool vertical = IsVerticalSupportSide(roller.Direction);
    if (!vertical && !IsHorizontalSupportSide(roller.Direction))
        return Fault(kRollerDirectionUnknown);
    const float lever = vertical ? rollerAt.x - pinAt.x : rollerAt.y - pinAt.y;
    if (lever == 0.0f)
        return Fault(vertical ? kPinAndVerticalRollerPlumb : kPinAndHorizontalRollerLevel);
    const PinAndAxisReactions solved =
        SolvePinAndAxisReaction(resultants(body.elements, pinRecord.NodeNo),
                                vertical ? ReactionAxis::Vertical : ReactionAxis::Horizontal, lever);
    pin.Fx = solved.Px;
    pin.Fy = solved.Py;
    // Only the roller's component along its axis is written.
    if (vertical)
        rollerOut.Fy = solved.Ry;
    else
        rollerOut.Fx = solved.Rx;
    return Solved();
}

// Cantilever: the fixed support takes every force and the moment about it.
ArrangementOutcome SolveFixed(const StructureModel& model, const SupportedBody& body, const ResultantsOf& resultants,
                              OneBasedTable<Support>& reactions)
{
    const auto fixed = std::find_if(body.supports.begin(), body.supports.end(),
                                    [&](std::int16_t s) { return IsType(model, s, kFixedSupport); });
    const std::int16_t f = *fixed;
    const LoadResultants s = resultants(body.elements, model.Supports.at(f).NodeNo);
    Support& out = reactions.at(f);
    out.Fx = -s.Fx;
    out.Fy = -s.Fy;
    out.Fm = -s.Moment;
    return Solved();
}

// Three rollers: a parallel pair R1, R2 and a third R3 across them. R3 alone
// resists the forces across the pair, so it comes from the force sum first;
// its moment then enters the equation about R1:
//   vertical pair:    M + (y3 - y1) R3.Fx - (x2 - x1) R2.Fy = 0
//   horizontal pair:  M + (y2 - y1) R2.Fx - (x3 - x1) R3.Fy = 0
ArrangementOutcome SolveThreeRollers(const StructureModel& model, const SupportedBody& body,
                                     const ResultantsOf& resultants, OneBasedTable<Support>& reactions)
{
    for (const std::int16_t s : body.supports)
        if (!IsType(model, s, kRollerSupport))
            return Unmatched();

    std::int16_t r1 = 0;
    std::int16_t r2 = 0;
    bool verticalPair = false;
    const std::size_t count = body.supports.size();
    for (std::size_t a = 0; a + 1 < count; ++a) {
        for (std::size_t b = a + 1; b < count; ++b) {
            const std::string& da = model.Supports.at(body.supports[a]).Direction;
            const std::string& db = model.Supports.at(body.supports[b]).Direction;
            const bool bothVertical = IsVerticalSupportSide(da) && IsVerticalSupportSide(db);
            const bool bothHorizontal = IsHorizontalSupportSide(da) && IsHorizontalSupportSide(db);
            if (bothVertical || bothHorizontal) {
                r1 = body.supports[a];
                r2 = body.supports[b];
                verticalPair = bothVertical;
            }
        }
    }
    if (r1 == 0)
        return Fault(kRollerDirectionUnknown);

    const Support& first = model.Supports.at(r1);
    const Support& second = model.Supports.at(r2);
    std::int16_t r3 = 0;
    for (const std::int16_t s : body.supports) {
        const std::int16_t node = model.Supports.at(s).NodeNo;
        if (node != first.NodeNo && node != second.NodeNo)
            r3 = s;
    }
    const Support& third = model.Supports.at(r3);
    if (verticalPair ? IsVerticalSupportSide(third.Direction) : IsHorizontalSupportSide(third.Direction))
        return Fault(kRollersParallel);
    if (!IsVerticalSupportSide(third.Direction) && !IsHorizontalSupportSide(third.Direction))
        return Fault(kRollerDirectionUnknown);

    const Point p1 = NodePoint(model, first.NodeNo);
    const Point p2 = NodePoint(model, second.NodeNo);
    const Point p3 = NodePoint(model, third.NodeNo);
    Support& out1 = reactions.at(r1);
    Support& out2 = reactions.at(r2);
    Support& out3 = reactions.at(r3);
    if (verticalPair) {
        const float lever = p2.x - p1.x;
        if (lever == 0.0f)
            return Fault(kVerticalRollersPlumb);
        const LoadResultants s = resultants(body.elements, first.NodeNo);
        out3.Fx = -s.Fx;
        out2.Fy = (s.Moment + (p3.y - p1.y) * out3.Fx) / lever;
        out1.Fy = -s.Fy - out2.Fy;
    } else {
        const float lever = p2.y - p1.y;
        if (lever == 0.0f)
            return Fault(kHorizontalRollersLevel);
        const LoadResultants s = resultants(body.elements, first.NodeNo);
        out3.Fy = -s.Fy;
        out2.Fx = -(s.Moment - (p3.x - p1.x) * out3.Fy) / lever;
        out1.Fx = -s.Fx - out2.Fx;
    }
    return Solved();
}

// The elements reached from `start` without passing through `barrier`.
std::vector<std::int16_t> ConnectedElements(const StructureModel& model, std::span<const std::int16_t> elements,
                                            std::int16_t start, std::int16_t barrier)
{
    std::vector<std::int16_t> part;
    std::vector<std::int16_t> frontier{start};
    std::vector<std::int16_t> visited{start};
    while (!frontier.empty()) {
        const std::int16_t node = frontier.back();
        frontier.pop_back();
        for (const std::int16_t e : elements) {
            const Element& element = model.Elements.at(e);
            if (element.INode != node && element.JNode != node)
                continue;
            if (std::find(part.begin(), part.end(), e) == part.end())
                part.push_back(e);
            const std::int16_t other = element.INode == node ? element.JNode : element.INode;
            if (other == barrier || std::find(visited.begin(), visited.end(), other) != visited.end())
                continue;
            visited.push_back(other);
            frontier.push_back(other);
        }
    }
    std::sort(part.begin(), part.end());
    return part;
}

bool PartTouches(const StructureModel& model, std::span<const std::int16_t> part, std::int16_t node)
{
    return std::any_of(part.begin(), part.end(), [&](std::int16_t e) {
        const Element& element = model.Elements.at(e);
        return element.INode == node || element.JNode == node;
    });
}

// Three-hinged: pins A and B, crown hinge C. B's part is what B reaches
// without passing C, whichever side B stands on and however the members are
// numbered. With M, Fx, Fy the loads about A and Mr those of B's part about C:
//   about A, whole:     M + (yB - yA) RxB - (xB - xA) RyB = 0
//   about C, B's part:  Mr + (yB - yC) RxB - (xB - xC) RyB = 0
ArrangementOutcome SolveThreeHinged(const StructureModel& model, const SupportedBody& body,
                                    const ResultantsOf& resultants, OneBasedTable<Support>& reactions)
{
    std::int16_t a = 0;
    std::int16_t b = 0;
    for (std::size_t k = 0; k + 1 < body.supports.size() && a == 0; ++k)
        if (IsType(model, body.supports[k], kPinSupport))
            a = body.supports[k];
    if (a == 0)
        return Unmatched();
    const std::int16_t nodeA = model.Supports.at(a).NodeNo;
    const auto afterA = std::find(body.supports.begin(), body.supports.end(), a) + 1;
    for (auto it = afterA; it != body.supports.end() && b == 0; ++it)
        if (IsType(model, *it, kPinSupport) && model.Supports.at(*it).NodeNo != nodeA)
            b = *it;
    if (b == 0)
        return Unmatched();
    const std::int16_t nodeB = model.Supports.at(b).NodeNo;

    std::int16_t nodeC = 0;
    for (std::int16_t n = 1; n <= model.NodeCount(); ++n)
        if (n != nodeA && n != nodeB && model.Nodes.at(n).JointType == kHingedJoint &&
            PartTouches(model, body.elements, n))
            nodeC = n;
    if (nodeC == 0)
        return Fault(kNoCrownHinge);

    const std::vector<std::int16_t> partB = ConnectedElements(model, body.elements, nodeB, nodeC);
    if (!PartTouches(model, partB, nodeC) || PartTouches(model, partB, nodeA))
        return Fault(kCrownDoesNotSplit);

    const Point pa = NodePoint(model, nodeA);
    const Point pb = NodePoint(model, nodeB);
    const Point pc = NodePoint(model, nodeC);
    const float spanAB = pb.x - pa.x;
    if (spanAB == 0.0f)
        return Fault(kPinsPlumb);
    const float divisor = (pb.x - pc.x) * (pb.y - pa.y) / spanAB - (pb.y - pc.y);
    if (divisor == 0.0f)
        return Fault(kHingesInLine);

    const LoadResultants whole = resultants(body.elements, nodeA);
    const float mr = resultants(partB, nodeC).Moment;
    const float rxB = (mr - (pb.x - pc.x) * whole.Moment / spanAB) / divisor;
    const float ryB = (whole.Moment + (pb.y - pa.y) * rxB) / spanAB;
    Support& outB = reactions.at(b);
    outB.Fx = rxB;
    outB.Fy = ryB;
    Support& outA = reactions.at(a);
    outA.Fx = -whole.Fx - rxB;
    outA.Fy = -whole.Fy - ryB;
    return Solved();
}

bool NodesPairwiseDifferent(const StructureModel& model, const SupportedBody& body)
{
    for (std::size_t a = 0; a < body.supports.size(); ++a)
        for (std::size_t b = a + 1; b < body.supports.size(); ++b)
            if (model.Supports.at(body.supports[a]).NodeNo == model.Supports.at(body.supports[b]).NodeNo)
                return false;
    return true;
}

}  // namespace

PinAndAxisReactions SolvePinAndAxisReaction(const LoadResultants& s, ReactionAxis axis, float lever)
{
    PinAndAxisReactions r;
    if (axis == ReactionAxis::Vertical) {
        r.Ry = s.Moment / lever;
        r.Py = -s.Fy - r.Ry;
        r.Px = -s.Fx;
    } else {
        r.Rx = -s.Moment / lever;
        r.Px = -s.Fx - r.Rx;
        r.Py = -s.Fy;
    }
    return r;
}

bool SupportStandsAt(const StructureModel& model, std::int16_t node)
{
    return std::any_of(model.Supports.begin(), model.Supports.end(),
                       [node](const Support& s) { return s.NodeNo == node; });
}

ArrangementOutcome SolveArrangement(const StructureModel& model, const SupportedBody& body,
                                    const ResultantsOf& resultants, OneBasedTable<Support>& reactions)
{
    const std::int16_t restraints = body.constraintCount;
    const std::size_t count = body.supports.size();
    for (const std::int16_t s : body.supports) {
        const bool pin = IsType(model, s, kPinSupport);
        if (pin && restraints == 3)
            return SolvePinAndRoller(model, body, resultants, reactions);
        if (IsType(model, s, kFixedSupport) && restraints == 3)
            return SolveFixed(model, body, resultants, reactions);
        if (restraints == 3 && count == 3 && NodesPairwiseDifferent(model, body))
            return SolveThreeRollers(model, body, resultants, reactions);
        if (pin && restraints == 4 && count == 2)
            return SolveThreeHinged(model, body, resultants, reactions);
    }
    return Unmatched();
}

}  // namespace tavrin
