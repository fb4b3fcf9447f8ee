#include "model/RowReferences.h"

#include <cmath>

#include "model/Vocabulary.h"

namespace tavrin {

namespace {

std::string MissingReason(std::string_view what, int number, int count)
{
    const std::string name(what);
    const std::string existing = count == 0   ? "（尚无" + name + "）"
                                 : count == 1 ? "（现有" + name + "1）"
                                              : "（现有" + name + "1～" + std::to_string(count) + "）";
    return name + "号" + std::to_string(number) + "不存在" + existing;
}

}  // namespace

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
    return model.Nodes.Has(n) ? std::string() : MissingReason("结点", n, model.NodeCount());
}

std::string MissingElementReason(const StructureModel& model, int e)
{
    return model.Elements.Has(e) ? std::string() : MissingReason("单元", e, model.ElementCount());
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

std::string_view MemberLengthFault(float length)
{
    if (length == 0.0f) return "单元长度为零（两端结点位置重合）";
    if (!std::isfinite(length)) return "单元长度超出数值范围";
    return {};
}

}  // namespace tavrin
