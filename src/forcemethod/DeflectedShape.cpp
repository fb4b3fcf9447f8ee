#include "forcemethod/DeflectedShape.h"

#include <cmath>
#include <string>

#include "drawing/DrawingPasses.h"
#include "forcemethod/CoefficientLedger.h"
#include "forcemethod/Displacements.h"
#include "model/CellReading.h"
#include "model/NumberText.h"

namespace tavrin {

namespace {

// Points along each member's deflected axis.
constexpr int kCurveSegments = 20;

// Second integrals, zero at t = 0 and t = 1, of 1 - t, t and t (1 - t).
double F1(double t)
{
    return t * t / 2.0 - t * t * t / 6.0 - t / 3.0;
}
double F2(double t)
{
    return (t * t * t - t) / 6.0;
}
double F3(double t)
{
    return (2.0 * t * t * t - t * t * t * t - t) / 12.0;
}

}  // namespace

bool ComputeNodeDisplacements(const StructureModel& model, const CalculationState& calc,
                              std::vector<NodeDisplacement>& nodes, MessageSink& messages)
{
    std::vector<NodeDisplacement> found;
    for (std::int16_t n = 1; n <= model.NodeCount(); ++n) {
        NodeDisplacement node;
        Displacement d;
        if (!ComputeDisplacement(model, calc, {n, DisplacementKind::Horizontal}, d, messages))
            return false;
        node.dx = d.Delta;
        if (!ComputeDisplacement(model, calc, {n, DisplacementKind::Vertical}, d, messages))
            return false;
        node.dy = d.Delta;
        RecordingMessages hingeJoint;
        if (ComputeDisplacement(model, calc, {n, DisplacementKind::Rotation}, d, hingeJoint))
            node.theta = d.Delta;
        found.push_back(node);
    }
    nodes = std::move(found);
    return true;
}

Displacement2D MemberPointDisplacement(const StructureModel& model, const std::vector<NodeDisplacement>& nodes, int e,
                                       double t)
{
    const Element& m = model.Elements.at(e);
    const NodeDisplacement& i = nodes.at(static_cast<std::size_t>(m.INode - 1));
    const NodeDisplacement& j = nodes.at(static_cast<std::size_t>(m.JNode - 1));
    const double L = m.Length;
    const double q = TransverseIntensities(model)[static_cast<std::size_t>(e)];
    const double w = -(L * L / m.EI) * (m.Mi * F1(t) + m.Mj * F2(t) + q * L * L / 2.0 * F3(t));
    return {i.dx * (1.0 - t) + j.dx * t - w * m.SinA, i.dy * (1.0 - t) + j.dy * t + w * m.CosA};
}

double DrawDeflectedShape(const StructureModel& model, const std::vector<NodeDisplacement>& nodes, Canvas& canvas,
                          DiagramHost& host)
{
    canvas.Cls();
    host.ShowPicture(kDeflectedShapeCaption);
    canvas.SetForeColor(kBlue);
    DrawMembers(model, canvas, MemberLabels::Hidden);
    canvas.SetCaption(kDeflectedShapeCaption);
    std::size_t largest = 0;
    double largestSize = 0.0;
    for (std::size_t n = 0; n < nodes.size(); ++n)
        if (const double size = std::hypot(nodes[n].dx, nodes[n].dy); size > largestSize) {
            largest = n;
            largestSize = size;
        }
    const std::optional<std::string> answer = host.AskScale(kDeflectionScalePrompt, kDeflectedShapeCaption);
    const std::optional<float> typed = answer && IsWhollyNumber(*answer) ? ReadFloatCell(*answer) : std::nullopt;
    const double scale = typed                 ? static_cast<double>(*typed)
                         : largestSize > 1e-20 ? 0.1 * canvas.ScaleWidth() / largestSize
                                               : 1.0;
    if (nodes.size() != static_cast<std::size_t>(model.NodeCount()))
        return scale;
    // Picture y grows downward.
    const auto at = [&](const Node& node, Displacement2D u) {
        return std::pair{model.PictureX(node.X) + scale * u.x, model.PictureY(node.Y) - scale * u.y};
    };
    for (std::int16_t e = 1; e <= model.ElementCount(); ++e) {
        const Element& m = model.Elements.at(e);
        const Node* i = model.Nodes.Find(m.INode);
        const Node* j = model.Nodes.Find(m.JNode);
        if (!i || !j || m.EI == 0.0f)
            continue;
        auto previous = at(*i, MemberPointDisplacement(model, nodes, e, 0.0));
        for (int k = 1; k <= kCurveSegments; ++k) {
            const double t = static_cast<double>(k) / kCurveSegments;
            const Node point{0, "", static_cast<float>(i->X + t * (j->X - i->X)),
                             static_cast<float>(i->Y + t * (j->Y - i->Y))};
            const auto next = at(point, MemberPointDisplacement(model, nodes, e, t));
            canvas.Line(previous.first, previous.second, next.first, next.second, kRed);
            previous = next;
        }
    }
    if (largestSize > 0.0) {
        const auto p = at(model.Nodes.at(static_cast<long>(largest) + 1), {nodes[largest].dx, nodes[largest].dy});
        canvas.SetForeColor(kRed);
        canvas.SetCurrent(p.first, p.second);
        canvas.Print("结点" + std::to_string(largest + 1) + "：" + FormatCoefficient(largestSize));
    }
    return scale;
}

}  // namespace tavrin
