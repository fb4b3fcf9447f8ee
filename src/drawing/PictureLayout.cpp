#include "drawing/PictureLayout.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <limits>

namespace tavrin {

namespace {

// The next code point of UTF-8 text from `at`, which moves past it.
char32_t NextCodePoint(std::string_view text, std::size_t& at)
{
    const auto byte = [&](std::size_t k) { return static_cast<unsigned char>(text[k]); };
    const unsigned char lead = byte(at);
    const int length = lead < 0x80 ? 1 : lead < 0xE0 ? 2 : lead < 0xF0 ? 3 : 4;
    char32_t c = length == 1 ? lead : lead & (0x7F >> length);
    for (int k = 1; k < length && at + static_cast<std::size_t>(k) < text.size(); ++k)
        c = (c << 6) | (byte(at + static_cast<std::size_t>(k)) & 0x3F);
    at += static_cast<std::size_t>(length);
    return c;
}

// Widths in letters of the 9-point face: a blank or a point is half a
// digit, a combining mark takes none, a circled sign or a Chinese
// character some 1.6 digits.
double LetterWidths(char32_t c)
{
    if (c == U' ' || c == U'.')
        return 0.5;
    if (c >= 0x0300 && c <= 0x036F)
        return 0.0;
    if (c >= 0x2000)
        return 1.6;
    return 1.0;
}

// True when the segment from (x1, y1) to (x2, y2) passes through `box`:
// the segment clipped against the box's four sides (Liang-Barsky) keeps a
// part.
bool SegmentCrosses(const PictureObstacles::Segment& s, const PictureBox& box)
{
    double enter = 0.0;
    double leave = 1.0;
    const double dx = s.x2 - s.x1;
    const double dy = s.y2 - s.y1;
    const double p[] = {-dx, dx, -dy, dy};
    const double q[] = {s.x1 - box.left, box.right - s.x1, s.y1 - box.top, box.bottom - s.y1};
    for (int k = 0; k < 4; ++k) {
        if (p[k] == 0.0) {
            if (q[k] < 0.0)
                return false;
            continue;
        }
        const double t = q[k] / p[k];
        if (p[k] < 0.0)
            enter = std::max(enter, t);
        else
            leave = std::min(leave, t);
        if (enter > leave)
            return false;
    }
    return true;
}

// The distance from (x, y) to the nearest point of `box`.
double DistanceTo(const PictureBox& box, double x, double y)
{
    const double dx = std::max({box.left - x, 0.0, x - box.right});
    const double dy = std::max({box.top - y, 0.0, y - box.bottom});
    return std::hypot(dx, dy);
}

struct Spot {
    double cx, cy;  // the label's centre
    double cost;    // how far from the wanted spot, picture units
};

// The spots a label of w x h may take around its point, nearest first.
std::vector<Spot> Candidates(const LabelRequest& label, double w, double h)
{
    double nx = label.dx;
    double ny = label.dy;
    const double length = std::hypot(nx, ny);
    if (length > 0.0) {
        nx /= length;
        ny /= length;
    } else {
        nx = 0.0;
        ny = -1.0;
    }
    std::vector<Spot> spots;
    // Beyond the point in direction u, the label's near edge `gap` off it,
    // slid by `slide` across u.
    const auto beyond = [&](double ux, double uy, double gap, double slide, double cost) {
        const double reach = w / 2.0 * std::fabs(ux) + h / 2.0 * std::fabs(uy);
        spots.push_back({label.x + ux * (gap + reach) - uy * slide, label.y + uy * (gap + reach) + ux * slide, cost});
    };
    const double slides[] = {0.0, 2.0, -2.0, 4.0, -4.0, w / 2.0, -w / 2.0, w, -w, 1.5 * w, -1.5 * w};
    if (label.centred)
        for (const double slide : slides)
            spots.push_back({label.x - ny * slide, label.y + nx * slide, std::fabs(slide)});
    constexpr double kGaps[] = {1.0, 3.0, 6.0, 10.0, 14.0};
    for (const double gap : kGaps)
        for (const double slide : slides)
            beyond(nx, ny, gap, slide, gap + std::fabs(slide));
    // All round, the wanted side first.
    constexpr double kPi = 3.14159265358979323846;
    const double wanted = std::atan2(ny, nx);
    for (const double gap : kGaps)
        for (int k = 1; k <= 8; ++k)
            for (const double turn : {1.0, -1.0}) {
                if (k == 8 && turn < 0.0)
                    continue;
                const double angle = wanted + turn * kPi / 8.0 * k;
                beyond(std::cos(angle), std::sin(angle), gap, 0.0, gap + 4.0 + 4.0 * kPi / 8.0 * k);
            }
    std::stable_sort(spots.begin(), spots.end(), [](const Spot& a, const Spot& b) { return a.cost < b.cost; });
    return spots;
}

}  // namespace

double TextWidth(std::string_view text)
{
    double letters = 0.0;
    for (std::size_t at = 0; at < text.size();)
        letters += LetterWidths(NextCodePoint(text, at));
    return letters * kLetterWidth;
}

PictureBox TextBox(double x, double y, std::string_view text)
{
    return {x, y, x + TextWidth(text), y + kTextHeight};
}

void PictureObstacles::Add(const CanvasOp& op)
{
    switch (op.kind) {
        case CanvasOp::Kind::Cls:
            break;
        case CanvasOp::Kind::Line:
            segments.push_back({op.x1, op.y1, op.x2, op.y2});
            break;
        case CanvasOp::Kind::Circle:
            boxes.push_back({op.x1 - op.r, op.y1 - op.r, op.x1 + op.r, op.y1 + op.r});
            break;
        case CanvasOp::Kind::Print:
            if (!op.text.empty())
                boxes.push_back(TextBox(op.x1, op.y1, op.text));
            break;
    }
}

int PictureObstacles::Crossings(const PictureBox& box) const
{
    int crossings = 0;
    for (const Segment& s : segments)
        if (std::max(s.x1, s.x2) >= box.left && std::min(s.x1, s.x2) <= box.right && std::max(s.y1, s.y2) >= box.top &&
            std::min(s.y1, s.y2) <= box.bottom && SegmentCrosses(s, box))
            ++crossings;
    for (const PictureBox& other : boxes)
        if (other.Overlaps(box))
            ++crossings;
    return crossings;
}

PictureObstacles ObstaclesOf(const std::vector<CanvasOp>& ops)
{
    PictureObstacles obstacles;
    for (const CanvasOp& op : ops)
        obstacles.Add(op);
    return obstacles;
}

bool HalfPlane::Holds(const PictureBox& box) const
{
    // The corner farthest against the normal decides.
    const double x0 = nx >= 0.0 ? box.left : box.right;
    const double y0 = ny >= 0.0 ? box.top : box.bottom;
    return (x0 - x) * nx + (y0 - y) * ny >= 0.0;
}

std::vector<PlacedLabel> PlaceLabels(const std::vector<LabelRequest>& labels, PictureObstacles& obstacles)
{
    std::vector<PlacedLabel> placed;
    for (const LabelRequest& label : labels) {
        const double w = TextWidth(label.text);
        const double h = kTextHeight;
        const auto boxAt = [&](const Spot& spot) {
            return PictureBox{spot.cx - w / 2.0, spot.cy - h / 2.0, spot.cx + w / 2.0, spot.cy + h / 2.0};
        };
        std::vector<Spot> spots = Candidates(label, w, h);
        if (label.within &&
            std::any_of(spots.begin(), spots.end(), [&](const Spot& spot) { return label.within->Holds(boxAt(spot)); }))
            std::erase_if(spots, [&](const Spot& spot) { return !label.within->Holds(boxAt(spot)); });
        Spot best{label.x, label.y, 0.0};
        int fewest = std::numeric_limits<int>::max();
        for (const Spot& spot : spots) {
            const PictureBox box = boxAt(spot);
            const int crossings = obstacles.Crossings(box.Grown(kLabelClearance));
            if (label.reach && (crossings > 0 || DistanceTo(box, label.x, label.y) > *label.reach))
                continue;
            if (crossings < fewest) {
                fewest = crossings;
                best = spot;
            }
            if (crossings == 0)
                break;
        }
        if (label.reach && fewest != 0) {
            placed.push_back({0.0, 0.0, false});
            continue;
        }
        const PlacedLabel corner{best.cx - w / 2.0, best.cy - h / 2.0};
        placed.push_back(corner);
        obstacles.boxes.push_back(TextBox(corner.x, corner.y, label.text));
    }
    return placed;
}

void ClearCrossedLabels(std::vector<CanvasOp>& ops)
{
    PictureObstacles obstacles;
    for (const CanvasOp& op : ops)
        if (op.kind != CanvasOp::Kind::Print)
            obstacles.Add(op);
    for (CanvasOp& op : ops) {
        if (op.kind != CanvasOp::Kind::Print || op.text.empty())
            continue;
        const PictureBox box = TextBox(op.x1, op.y1, op.text);
        if (obstacles.Crossings(box) == 0) {
            obstacles.boxes.push_back(box);
            continue;
        }
        const LabelRequest label{op.text, (box.left + box.right) / 2.0, (box.top + box.bottom) / 2.0, 0.0, -1.0, true};
        const PlacedLabel placed = PlaceLabels({label}, obstacles).front();
        op.x1 = placed.x;
        op.y1 = placed.y;
    }
}

std::optional<PictureBox> ContentBox(const std::vector<CanvasOp>& ops)
{
    std::optional<PictureBox> content;
    const auto take = [&content](const PictureBox& box) {
        if (!content) {
            content = box;
            return;
        }
        content->left = std::min(content->left, box.left);
        content->top = std::min(content->top, box.top);
        content->right = std::max(content->right, box.right);
        content->bottom = std::max(content->bottom, box.bottom);
    };
    for (const CanvasOp& op : ops) {
        switch (op.kind) {
            case CanvasOp::Kind::Cls:
                break;
            case CanvasOp::Kind::Line:
                take({std::min(op.x1, op.x2), std::min(op.y1, op.y2), std::max(op.x1, op.x2), std::max(op.y1, op.y2)});
                break;
            case CanvasOp::Kind::Circle:
                take({op.x1 - op.r, op.y1 - op.r, op.x1 + op.r, op.y1 + op.r});
                break;
            case CanvasOp::Kind::Print:
                if (!op.text.empty())
                    take(TextBox(op.x1, op.y1, op.text));
                break;
        }
    }
    return content;
}

PictureSize FramePicture(std::vector<CanvasOp>& ops, double margin)
{
    const std::optional<PictureBox> content = ContentBox(ops);
    if (!content)
        return {2.0 * margin, 2.0 * margin};
    const double dx = margin - content->left;
    const double dy = margin - content->top;
    for (CanvasOp& op : ops) {
        op.x1 += dx;
        op.y1 += dy;
        if (op.kind == CanvasOp::Kind::Line) {
            op.x2 += dx;
            op.y2 += dy;
        }
    }
    return {content->Width() + 2.0 * margin, content->Height() + 2.0 * margin};
}

void DropRepeatedPrints(std::vector<CanvasOp>& ops)
{
    std::vector<CanvasOp> kept;
    kept.reserve(ops.size());
    for (CanvasOp& op : ops) {
        const bool repeated =
            op.kind == CanvasOp::Kind::Print && std::any_of(kept.begin(), kept.end(), [&op](const CanvasOp& before) {
                return before.kind == CanvasOp::Kind::Print && before.text == op.text && before.color == op.color &&
                       std::fabs(before.x1 - op.x1) < 0.5 && std::fabs(before.y1 - op.y1) < 0.5;
            });
        if (!repeated)
            kept.push_back(std::move(op));
    }
    ops = std::move(kept);
}

}  // namespace tavrin
