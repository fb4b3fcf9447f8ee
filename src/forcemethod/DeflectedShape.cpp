#include "forcemethod/DeflectedShape.h"

#include <cmath>
#include <string>

#include "forcemethod/CoefficientLedger.h"
#include "forcemethod/Displacements.h"
#include "forcemethod/ModelSolution.h"
#include "model/NumberText.h"
#include "solution/FrameStatics.h"

namespace tavrin {

namespace {

// Points along each member's deflected axis.
constexpr int kCurveSegments = 20;

// "结点2：64." at a node, "最大位移：0.123" inside a member.
std::string LargestDisplacementText(const StructureModel& model, double x, double y, double size)
{
    for (std::int16_t n = 1; n <= model.NodeCount(); ++n)
        if (const Node& node = model.Nodes.at(n); std::abs(node.X - x) < 1e-9 && std::abs(node.Y - y) < 1e-9)
            return "结点" + std::to_string(n) + "：" + FormatCoefficient(size);
    return "最大位移：" + FormatCoefficient(size);
}

}  // namespace

bool ComputeNodeDisplacements(const StructureModel& model, const CalculationState& calc,
                              std::vector<NodeDisplacement>& nodes, MessageSink& messages)
{
    // The first request says why none can be formed; the rest share one
    // solution.
    Displacement d;
    if (model.NodeCount() > 0 && !ComputeDisplacement(model, calc, {1, DisplacementKind::Horizontal}, d, messages))
        return false;
    const std::optional<ForceMethodSolution> solution = SolutionOfModel(model, messages);
    if (!solution)
        return false;
    std::vector<NodeDisplacement> found;
    for (std::int16_t n = 1; n <= model.NodeCount(); ++n) {
        NodeDisplacement node;
        if (!ComputeDisplacement(model, *solution, {n, DisplacementKind::Horizontal}, d, messages))
            return false;
        node.dx = d.Delta;
        if (!ComputeDisplacement(model, *solution, {n, DisplacementKind::Vertical}, d, messages))
            return false;
        node.dy = d.Delta;
        RecordingMessages hingeJoint;
        if (ComputeDisplacement(model, *solution, {n, DisplacementKind::Rotation}, d, hingeJoint))
            node.theta = d.Delta;
        found.push_back(node);
    }
    nodes = std::move(found);
    return true;
}

Displacement2D MemberPointDisplacement(const StructureModel& model, const std::vector<NodeDisplacement>& nodes,
                                       const PiecewiseCurve& w, int e, double t)
{
    const Element& m = model.Elements.at(e);
    const NodeDisplacement& i = nodes.at(static_cast<std::size_t>(m.INode - 1));
    const NodeDisplacement& j = nodes.at(static_cast<std::size_t>(m.JNode - 1));
    const MemberAxis axis = AxisOf(model, m);
    const double across = w.At(t * axis.L);
    return {i.dx * (1.0 - t) + j.dx * t - across * axis.S, i.dy * (1.0 - t) + j.dy * t + across * axis.C};
}

namespace {

// The deflected axes over the members, the picture's layer: at the scale the
// student typed, or without one at the automatic scale of the picture's
// present width, so that drawing it again at another size never asks again.
double DrawDeflectedAxes(const StructureModel& model, const std::vector<NodeDisplacement>& nodes, Canvas& canvas,
                         std::optional<float> typed)
{
    canvas.AddLayer([&model, nodes, typed](Canvas& again) {
        again.SetCaption(kDeflectedShapeCaption);
        DrawDeflectedAxes(model, nodes, again, typed);
    });
    // Every point of the deflected axes, member by member: the largest
    // displacement may lie inside a member (a beam between joints that do
    // not move), and it sets the automatic scale.
    struct AxisPoint {
        double x, y;  // undeflected, model units
        Displacement2D u;
    };
    std::vector<std::vector<AxisPoint>> axes;
    std::string why;
    const std::optional<ForceMethodSolution> solution = SolutionOfModel(model, why);
    const std::vector<PiecewiseCurve> w =
        solution ? MemberDeflections(model, *solution) : std::vector<PiecewiseCurve>{};
    if (solution && nodes.size() == static_cast<std::size_t>(model.NodeCount()))
        for (std::int16_t e = 1; e <= model.ElementCount(); ++e) {
            const Element& m = model.Elements.at(e);
            const Node* i = model.Nodes.Find(m.INode);
            const Node* j = model.Nodes.Find(m.JNode);
            if (!i || !j || m.EI == 0.0f)
                continue;
            auto& axis = axes.emplace_back();
            for (int k = 0; k <= kCurveSegments; ++k) {
                const double t = static_cast<double>(k) / kCurveSegments;
                axis.push_back({i->X + t * (j->X - i->X), i->Y + t * (j->Y - i->Y),
                                MemberPointDisplacement(model, nodes, w[static_cast<std::size_t>(e - 1)], e, t)});
            }
        }
    const AxisPoint* largest = nullptr;
    double largestSize = 0.0;
    for (const auto& axis : axes)
        for (const AxisPoint& p : axis)
            if (const double size = std::hypot(p.u.x, p.u.y); size > largestSize) {
                largest = &p;
                largestSize = size;
            }
    const double scale = typed                 ? static_cast<double>(*typed)
                         : largestSize > 1e-20 ? 0.1 * canvas.ScaleWidth() / largestSize
                                               : 1.0;
    // Picture y grows downward.
    const auto at = [&](const AxisPoint& p) {
        return std::pair{model.PictureX(static_cast<float>(p.x)) + scale * p.u.x,
                         model.PictureY(static_cast<float>(p.y)) - scale * p.u.y};
    };
    for (const auto& axis : axes)
        for (std::size_t k = 1; k < axis.size(); ++k) {
            const auto a = at(axis[k - 1]);
            const auto b = at(axis[k]);
            canvas.Line(a.first, a.second, b.first, b.second, kRed);
        }
    if (largest != nullptr) {
        // Beside the point, on the side it moved to, clear of the curve.
        constexpr double kGap = 2.0;
        constexpr double kLineHeight = 7.0;  // picture units, one line of the picture's font
        const auto p = at(*largest);
        canvas.SetForeColor(kRed);
        canvas.SetCurrent(p.first + kGap, largest->u.y > 0.0 ? p.second - kGap - kLineHeight : p.second + kGap);
        canvas.Print(LargestDisplacementText(model, largest->x, largest->y, largestSize));
    }
    return scale;
}

}  // namespace

double DrawDeflectedShape(const StructureModel& model, const std::vector<NodeDisplacement>& nodes, Canvas& canvas,
                          DiagramHost& host)
{
    BeginDiagramPicture(model, canvas, host, kDeflectedShapeCaption);
    const std::optional<std::string> answer = host.AskScale(kDeflectionScalePrompt, kDeflectedShapeCaption);
    const std::optional<float> typed = TypedScale(answer);
    return DrawDeflectedAxes(model, nodes, canvas, typed);
}

}  // namespace tavrin
