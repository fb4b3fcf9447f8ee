#include <algorithm>
#include <array>
#include <cmath>
#include <string>
#include <vector>

#include "analysis/Arrangements.h"
#include "analysis/Statics.h"
#include "analysis/StaticsTexts.h"
#include "model/ModelTexts.h"
#include "model/Vocabulary.h"
#include "solution/FrameStatics.h"
#include "solution/MemberLoad.h"

namespace tavrin {

namespace {

// The six end forces of an element and the case-table slot each comes from.
struct EndForceSlot {
    CaseForceTable StructureModel::*table;
    int end;
    float Element::*field;
};

constexpr std::array<EndForceSlot, 6> kEndForceSlots{{
    {&StructureModel::CaseAxialForces, 1, &Element::Ni},
    {&StructureModel::CaseShearForces, 1, &Element::Vi},
    {&StructureModel::CaseMoments, 1, &Element::Mi},
    {&StructureModel::CaseAxialForces, 2, &Element::Nj},
    {&StructureModel::CaseShearForces, 2, &Element::Vj},
    {&StructureModel::CaseMoments, 2, &Element::Mj},
}};

bool CaseTablesHold(const StructureModel& model, int caseNo)
{
    for (const EndForceSlot& slot : kEndForceSlots) {
        const CaseForceTable& table = model.*slot.table;
        if (caseNo < 0 || caseNo >= table.CaseCount() || table.ElementCount() != model.ElementCount())
            return false;
    }
    return true;
}

// The walk hands forces on only from member e-1 to member e. A member whose
// end i is at no support, at no free end and not at the end j of the member
// before it starts from the nodal loads alone; two members starting at one
// node both take its reaction and loads. Either way its forces are wrong.
std::vector<std::int16_t> MembersOffTheChain(const StructureModel& model)
{
    // Members starting at and touching each node (a member once), so that
    // each member's neighbours are counted, not searched for. Indexed by
    // node number from the lowest one the members name.
    struct NodeUse {
        int starts = 0;
        int touches = 0;
    };
    std::vector<std::int16_t> off;
    if (model.Elements.Empty())
        return off;
    int lowest = model.Elements.at(1).INode;
    int highest = lowest;
    for (const Element& element : model.Elements)
        for (const int n : {element.INode, element.JNode}) {
            lowest = std::min(lowest, n);
            highest = std::max(highest, n);
        }
    std::vector<NodeUse> use(static_cast<std::size_t>(highest - lowest + 1));
    const auto at = [&](int n) -> NodeUse& { return use[static_cast<std::size_t>(n - lowest)]; };
    for (const Element& element : model.Elements) {
        ++at(element.INode).starts;
        ++at(element.INode).touches;
        if (element.JNode != element.INode)
            ++at(element.JNode).touches;
    }
    const std::int16_t count = model.ElementCount();
    for (std::int16_t e = 1; e <= count; ++e) {
        const std::int16_t i = model.Elements.at(e).INode;
        const bool touchedByOther = at(i).touches > 1;
        const bool sharedStart = at(i).starts > 1;
        const bool handedOn = e >= 2 && model.Elements.at(e - 1).JNode == i;
        if (sharedStart || !(SupportStandsAt(model, i) || !touchedByOther || handedOn))
            off.push_back(e);
    }
    return off;
}

void WarnOffTheChain(const StructureModel& model, MessageSink& messages)
{
    const std::vector<std::int16_t> off = MembersOffTheChain(model);
    if (off.empty())
        return;
    messages.Show(MembersOffTheChainText(ElementListText(off)), kWarningTitle);
}

// What acts on a member at its end i, clockwise moment positive.
struct EndILoads {
    float Fx0 = 0.0f, Fy0 = 0.0f, M0 = 0.0f;
};

// A load with its texts read once per case: the walk visits every load for
// every member.
struct WalkLoad {
    bool force = false;   // a concentrated load
    bool couple = false;  // a couple with a couple direction
    bool horizontal = false;
    bool vertical = false;
    std::int16_t NodeNo = 0;
    std::int16_t ElementNo = 0;
    float Magnitude = 0.0f;
};

std::vector<WalkLoad> ReadLoadsForTheWalk(const StructureModel& model)
{
    std::vector<WalkLoad> loads;
    loads.reserve(static_cast<std::size_t>(model.LoadCount()));
    for (const Load& load : model.Loads)
        loads.push_back({load.LoadType == kConcentratedLoad,
                         load.LoadType == kCouple && IsCoupleDirection(load.Direction),
                         IsHorizontalDirection(load.Direction), IsVerticalDirection(load.Direction), load.NodeNo,
                         load.ElementNo, load.Magnitude});
    return loads;
}

EndILoads LoadsAtEndI(const StructureModel& model, const std::vector<WalkLoad>& loads, std::int16_t i)
{
    EndILoads a;
    for (const Support& s : model.Supports) {
        if (s.NodeNo == i) {
            a.Fx0 = s.Fx;
            a.Fy0 = s.Fy;
            a.M0 = s.Fm;
            break;
        }
    }
    // Couples are stored counter-clockwise positive, M0 is clockwise positive.
    for (const WalkLoad& load : loads) {
        if (load.force && load.NodeNo == i) {
            if (load.horizontal)
                a.Fx0 += load.Magnitude;
            if (load.vertical)
                a.Fy0 += load.Magnitude;
        }
        if (load.couple && load.NodeNo == i)
            a.M0 -= load.Magnitude;
    }
    return a;
}

}  // namespace

// Along the member (L, S = sin, C = cos, end i to end j), from what acts at
// end i:
//   N1 = -Fx0 C - Fy0 S,   V1 = -Fx0 S + Fy0 C,   M1 = -M0
// and end j by the member's formula (UniformLoadEndJ, in float); the next
// member receives the forces at end j turned back to x, y.
void ComputeCaseEndForces(StructureModel& model, std::int16_t caseNo, MessageSink& messages)
{
    if (!CaseTablesHold(model, caseNo)) {
        messages.Show(kEndForceTablesUnsized);
        return;
    }
    WarnOffTheChain(model, messages);
    // The reactions below are cleared for the next case once the walk has
    // read them; the record keeps them for the final reactions.
    if (static_cast<std::size_t>(caseNo) < model.CaseReactions.size())
        model.CaseReactions[static_cast<std::size_t>(caseNo)] =
            CaseReactionRecord{model.Supports, model.TransmittedForces, model.Loads};

    const std::vector<WalkLoad> loads = ReadLoadsForTheWalk(model);
    // Several distributed loads along one axis add up; the loads between the
    // nodes add their own part at end j.
    const OneBasedTable<DistributedIntensity> intensities = SumDistributedLoads(model.Loads, model.ElementCount());
    std::vector<MemberLoad> between;
    try {
        between = BetweenNodesLoads(model, model.Loads);
    } catch (const std::out_of_range&) {
        between.clear();
    }
    float hx = 0.0f, hy = 0.0f, hm = 0.0f;
    for (std::int16_t e = 1; e <= model.ElementCount(); ++e) {
        const Element& element = model.Elements.at(e);
        const std::int16_t i = element.INode;
        EndILoads a = LoadsAtEndI(model, loads, i);
        const DistributedIntensity& q = intensities.at(e);
        if (e >= 2 && model.Elements.at(e - 1).JNode == i) {
            a.Fx0 += hx;
            a.Fy0 += hy;
            a.M0 += hm;
        }

        const float L = element.Length;
        const float S = element.SinA;
        const float C = element.CosA;
        const SectionForces<float> atI{-a.Fx0 * C - a.Fy0 * S, -a.Fx0 * S + a.Fy0 * C, -a.M0};
        SectionForces<float> atJ = UniformLoadEndJ(L, S, C, a.Fx0, a.Fy0, atI, q.qh, q.qv);
        if (static_cast<std::size_t>(e) <= between.size() &&
            between[static_cast<std::size_t>(e - 1)].AnyBetweenNodes()) {
            const SectionForces<double> more = between[static_cast<std::size_t>(e - 1)].BetweenNodesAtEndJ();
            atJ.N += static_cast<float>(more.N);
            atJ.V += static_cast<float>(more.V);
            atJ.M += static_cast<float>(more.M);
        }
        const float N1 = atI.N, V1 = atI.V, M1 = atI.M;
        const float N2 = atJ.N, V2 = atJ.V, M2 = atJ.M;

        model.CaseAxialForces.at(caseNo, e, 1) = N1;
        model.CaseShearForces.at(caseNo, e, 1) = V1;
        model.CaseMoments.at(caseNo, e, 1) = M1;
        model.CaseAxialForces.at(caseNo, e, 2) = N2;
        model.CaseShearForces.at(caseNo, e, 2) = V2;
        model.CaseMoments.at(caseNo, e, 2) = M2;

        hx = -N2 * C - V2 * S;
        hy = -N2 * S + V2 * C;
        hm = -M2;
    }

    if (model.IndeterminacyDegree == 0) {
        for (std::int16_t e = 1; e <= model.ElementCount(); ++e)
            for (const EndForceSlot& slot : kEndForceSlots)
                model.Elements.at(e).*slot.field = (model.*slot.table).at(0, e, slot.end);
    } else {
        // The next case's reaction step starts from cleared reactions.
        for (Support& s : model.Supports) {
            s.Fx = 0.0f;
            s.Fy = 0.0f;
            s.Fm = 0.0f;
        }
    }
}

// Each end force := sum_k case_k * X_k (k = 1..n, in order) + case_0, every
// partial sum held as a 32-bit float. Does nothing when the case tables were
// not sized for the current degree and elements.
void SuperposeEndForces(StructureModel& model)
{
    const std::int16_t n = model.IndeterminacyDegree;
    if (!CaseTablesHold(model, n))
        return;
    for (std::int16_t e = 1; e <= model.ElementCount(); ++e) {
        for (const EndForceSlot& slot : kEndForceSlots) {
            const CaseForceTable& table = model.*slot.table;
            float sum = 0.0f;
            for (std::int16_t k = 1; k <= n; ++k) {
                const double* x = model.RedundantForces.Find(k);
                const double xk = x ? *x : 0.0;
                sum = static_cast<float>(static_cast<double>(sum) + static_cast<double>(table.at(k, e, slot.end)) * xk);
            }
            sum = sum + table.at(0, e, slot.end);
            model.Elements.at(e).*slot.field = sum;
        }
    }
}

}  // namespace tavrin
