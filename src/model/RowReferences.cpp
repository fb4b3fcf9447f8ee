#include "model/RowReferences.h"

#include <cmath>

#include "model/ModelTexts.h"
#include "model/Vocabulary.h"

namespace tavrin {

bool LoadNamesNode(const Load& load)
{
    return load.LoadType == kConcentratedLoad || load.LoadType == kCouple;
}

bool LoadNamesElement(const Load& load)
{
    return load.LoadType == kDistributedLoad || (load.LoadType == kCouple && load.ElementNo != 0);
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
