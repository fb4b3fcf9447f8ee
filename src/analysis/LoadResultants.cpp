#include <algorithm>
#include <cmath>

#include "analysis/Statics.h"
#include "model/LoadSpan.h"
#include "model/Vocabulary.h"
#include "solution/FrameStatics.h"
#include "solution/MemberLoad.h"

namespace tavrin {

namespace {

bool TouchesNode(const Element& e, std::int16_t node)
{
    return e.INode == node || e.JNode == node;
}

}  // namespace

OneBasedTable<DistributedIntensity> SumDistributedLoads(const OneBasedTable<Load>& loads, std::int16_t elementCount)
{
    OneBasedTable<DistributedIntensity> intensities;
    intensities.Recreate(static_cast<std::size_t>(std::max<std::int16_t>(elementCount, 0)));
    for (const Load& load : loads) {
        // A load between the nodes is not one over the whole member.
        DistributedIntensity* q =
            load.LoadType == kDistributedLoad && !ActsBetweenNodes(load) ? intensities.Find(load.ElementNo) : nullptr;
        if (!q)
            continue;
        if (IsHorizontalDirection(load.Direction))
            q->qh += load.Magnitude;
        else if (IsVerticalDirection(load.Direction))
            q->qv += load.Magnitude;
    }
    return intensities;
}

// Each load is counted once, by the first listed element it belongs to:
//   concentrated force at an end node P:  M += (yP - yO) Ex - (xP - xO) Ey
//   distributed load on the element:       resultant at the midpoint, on the
//                                          projection across its direction
//   couple at an end node or on the element: M -= Magnitude
// Magnitude is counter-clockwise positive, the moment sum clockwise positive,
// hence the minus for couples. Node or element numbers outside their tables
// throw std::out_of_range from the checked accessors.
LoadResultants SumLoadResultants(const StructureModel& model, std::span<const std::int16_t> elementList,
                                 std::int16_t momentNode, const std::vector<bool>* skipLoads)
{
    const Node& o = model.Nodes.at(momentNode);
    float concentratedX = 0.0f, concentratedY = 0.0f, concentratedM = 0.0f;
    float distributedX = 0.0f, distributedY = 0.0f, distributedM = 0.0f;
    float nodeCouples = 0.0f, memberCouples = 0.0f;
    double betweenX = 0.0, betweenY = 0.0, betweenM = 0.0;

    for (std::int16_t l = 1; l <= model.LoadCount(); ++l) {
        const auto index = static_cast<std::size_t>(l - 1);
        if (skipLoads && index < skipLoads->size() && (*skipLoads)[index])
            continue;
        const Load& load = model.Loads.at(l);
        const float ex = IsHorizontalDirection(load.Direction) ? load.Magnitude : 0.0f;
        const float ey = IsVerticalDirection(load.Direction) ? load.Magnitude : 0.0f;
        const float c = IsCoupleDirection(load.Direction) ? load.Magnitude : 0.0f;

        if (ActsBetweenNodes(load) && load.LoadType != kCouple) {
            // Its resultant and the moment about end i, turned to O:
            //   clockwise about O = -(Mi + (xi - xO) Fy - (yi - yO) Fx)
            if (std::find(elementList.begin(), elementList.end(), load.ElementNo) == elementList.end())
                continue;
            const MemberLoad::Resultant r = BetweenNodesLoad(model, load).ResultantForce();
            const Node& i = model.Nodes.at(model.Elements.at(load.ElementNo).INode);
            betweenX += r.Fx;
            betweenY += r.Fy;
            betweenM -= r.Mi + (double{i.X} - o.X) * r.Fy - (double{i.Y} - o.Y) * r.Fx;
            continue;
        }
        for (const std::int16_t elementNo : elementList) {
            const Element& e = model.Elements.at(elementNo);
            if (load.LoadType == kConcentratedLoad && TouchesNode(e, load.NodeNo)) {
                const Node& p = model.Nodes.at(load.NodeNo);
                concentratedX += ex;
                concentratedY += ey;
                concentratedM += (p.Y - o.Y) * ex - (p.X - o.X) * ey;
                break;
            }
            if (load.LoadType == kDistributedLoad && load.ElementNo == elementNo) {
                const Node& i = model.Nodes.at(e.INode);
                const Node& j = model.Nodes.at(e.JNode);
                const float xm = (i.X + j.X) / 2.0f;
                const float ym = (i.Y + j.Y) / 2.0f;
                float Fx = 0.0f, Fy = 0.0f;
                UniformLoadResultant(j.X - i.X, j.Y - i.Y, ex, ey, Fx, Fy);
                distributedX += Fx;
                distributedY += Fy;
                distributedM += Fx * (ym - o.Y) - Fy * (xm - o.X);
                break;
            }
            if (load.LoadType == kCouple && load.ElementNo == 0 && TouchesNode(e, load.NodeNo)) {
                nodeCouples -= c;
                break;
            }
            if (load.LoadType == kCouple && load.ElementNo != 0 && load.ElementNo == elementNo) {
                memberCouples -= c;
                break;
            }
        }
    }

    LoadResultants r;
    r.Moment = distributedM + concentratedM + nodeCouples + memberCouples;
    r.Fx = distributedX + concentratedX;
    r.Fy = distributedY + concentratedY;
    if (betweenX != 0.0 || betweenY != 0.0 || betweenM != 0.0) {
        r.Moment += static_cast<float>(betweenM);
        r.Fx += static_cast<float>(betweenX);
        r.Fy += static_cast<float>(betweenY);
    }
    return r;
}

}  // namespace tavrin
