#include "model/RowReferences.h"

#include <cmath>
#include <utility>

#include "model/LoadSpan.h"
#include "model/ModelTexts.h"
#include "model/NumberText.h"
#include "model/Vocabulary.h"

namespace tavrin {

bool LoadNamesNode(const Load& load)
{
    return (load.LoadType == kConcentratedLoad || load.LoadType == kCouple) && !ActsBetweenNodes(load);
}

bool LoadNamesElement(const Load& load)
{
    return load.LoadType == kDistributedLoad || (load.LoadType == kCouple && load.ElementNo != 0) ||
           ActsBetweenNodes(load);
}

namespace {

std::optional<LoadValueFault> Fault(LoadValue value, std::string reason)
{
    return LoadValueFault{value, std::move(reason)};
}

// Why distance `x` from end i is no point of `member`; empty when it is one.
std::string OffMemberReason(float x, const Load& load, const Element& member)
{
    if (0.0f <= x && x <= member.Length)
        return {};
    return OffMemberText(CellTextOf(x), load.ElementNo, CellTextOf(member.Length));
}

}  // namespace

std::optional<LoadValueFault> MemberPlaceFault(const StructureModel& model, const Load& load)
{
    const bool distributed = load.LoadType == kDistributedLoad;
    const Element* member = model.Elements.Find(load.ElementNo);
    if (load.StartA) {
        if (!ActsBetweenNodes(load))
            return Fault(LoadValue::StartA, std::string(kStartAUnused));
        if (std::string reason = member ? OffMemberReason(*load.StartA, load, *member) : ""; !reason.empty())
            return Fault(LoadValue::StartA, std::move(reason));
    }
    if (load.EndB) {
        if (!distributed)
            return Fault(LoadValue::EndB, std::string(kEndBUnused));
        if (std::string reason = member ? OffMemberReason(*load.EndB, load, *member) : ""; !reason.empty())
            return Fault(LoadValue::EndB, std::move(reason));
    }
    if (distributed && member && (load.StartA || load.EndB)) {
        const LoadSpan span = SpanOf(load, member->Length);
        if (!(span.a < span.b))
            return Fault(load.EndB ? LoadValue::EndB : LoadValue::StartA,
                         EmptySpanText(CellTextOf(load.StartA.value_or(0.0f)),
                                       load.EndB ? CellTextOf(*load.EndB)
                                                 : std::string(kBlankEndB) + CellTextOf(member->Length)));
    }
    if (load.EndMagnitude && !distributed)
        return Fault(LoadValue::EndMagnitude, std::string(kEndMagnitudeUnused));
    return std::nullopt;
}

std::string MissingNodeReason(const StructureModel& model, int n)
{
    return model.Nodes.Has(n) ? std::string() : MissingNumberText(kNodeWord, n, model.NodeCount());
}

std::string MissingElementReason(const StructureModel& model, int e)
{
    return model.Elements.Has(e) ? std::string() : MissingNumberText(kElementWord, e, model.ElementCount());
}

ElementGeometry MemberGeometry(const Node& i, const Node& j)
{
    const float dx = j.X - i.X;
    const float dy = j.Y - i.Y;
    ElementGeometry g;
    g.Length = std::sqrt(dx * dx + dy * dy);
    if (g.Length != 0.0f) {
        g.CosA = dx / g.Length;
        g.SinA = dy / g.Length;
    }
    return g;
}

std::string_view MemberLengthFault(const Node& i, const Node& j)
{
    const float length = MemberGeometry(i, j).Length;
    if (length == 0.0f)
        return i.X == j.X && i.Y == j.Y ? kMemberEndsCoincide : kMemberTooShort;
    if (!std::isfinite(length))
        return kMemberLengthBeyondRange;
    return {};
}

}  // namespace tavrin
