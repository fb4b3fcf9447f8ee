#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <utility>

#include "drawing/Canvas.h"
#include "model/StructureModel.h"

namespace tavrin {

inline constexpr std::string_view kMomentDiagramCaption = "弯矩图";
inline constexpr std::string_view kShearDiagramCaption = "剪力图";
inline constexpr std::string_view kAxialDiagramCaption = "轴力图";
inline constexpr std::string_view kLoadMomentDiagramCaption = "MP图";
inline constexpr std::string_view kDiagramScalePrompt = "输入绘图比例(30～100)：";

// What a diagram needs from the window that holds the picture.
class DiagramHost {
public:
    virtual ~DiagramHost() = default;
    // Sets the picture window's caption and shows the window.
    virtual void ShowPicture(std::string_view caption) = 0;
    // Asks for the scale in a text input box with no default text;
    // std::nullopt when the student cancels.
    virtual std::optional<std::string> AskScale(std::string_view prompt, std::string_view title) = 0;
};

// A diagram's picture begun: cleared, shown under `caption`, with the
// members drawn in blue without their labels.
void BeginDiagramPicture(const StructureModel& model, Canvas& canvas, DiagramHost& host, std::string_view caption);

// The scale as typed at the scale question, when the answer is wholly a
// number that a 32-bit float holds; a text with anything besides the number,
// or an overflowing one such as "1e999", is no scale.
std::optional<float> TypedScale(const std::optional<std::string>& answer);

// A host without a window: the scale prompt answered with `scale`, or
// cancelled for the automatic scale; nothing to show.
class AnsweredScale : public DiagramHost {
public:
    explicit AnsweredScale(std::optional<std::string> scale) : m_scale(std::move(scale)) {}
    void ShowPicture(std::string_view) override {}
    std::optional<std::string> AskScale(std::string_view, std::string_view) override { return m_scale; }

private:
    std::optional<std::string> m_scale;
};

// Each diagram clears the picture, redraws the members in blue without labels,
// asks for the scale and draws, over every member whose end nodes exist, the
// end ordinates with their values and the line between their tips. A positive
// value is plotted on the left of the member seen from end i to end j. The
// moment diagram also hangs the parabola of the member's distributed loads
// from that line and labels its mid-span ordinate.
//
// Returns the DiagramScale used, in picture units per unit of force or
// moment: the answer when it is wholly a number (also outside 30..100),
// otherwise the automatic scale, which draws the largest value at one tenth
// of the picture width. The model is only read. Drawn again at another size
// (RedrawPicture), the diagram keeps the typed scale and refits the
// automatic one, without asking.
float DrawMomentDiagram(const StructureModel& model, Canvas& canvas, DiagramHost& host);
float DrawShearDiagram(const StructureModel& model, Canvas& canvas, DiagramHost& host);
float DrawAxialDiagram(const StructureModel& model, Canvas& canvas, DiagramHost& host);

// Caption of the moment diagram of load case c of the basic system: "MP图"
// for the user's loads (case 0), "M̄1图", "M̄2图", … for the unit forces.
std::string CaseMomentCaption(int caseNo);

// The moment diagram of load case c of the basic system, drawn like the
// final moment diagram from the end moments CaseMoments holds for the case:
// the parabola of the user's distributed loads hangs from case 0 (MP), a
// unit case (M̄k) is straight lines. Captioned CaseMomentCaption(c); a case
// or member outside the table is not drawn. Returns the DiagramScale used.
float DrawCaseMomentDiagram(const StructureModel& model, int caseNo, Canvas& canvas, DiagramHost& host);

// The moment diagram of a unit virtual load (a displacement by the unit-load
// method) from the end moments Mi, Mj of `endForces`, element by element:
// straight lines, drawn like the other moment diagrams.
inline constexpr std::string_view kUnitLoadMomentCaption = "M\u0304图（单位荷载）";
float DrawUnitLoadMomentDiagram(const StructureModel& model, const OneBasedTable<Element>& endForces, Canvas& canvas,
                                DiagramHost& host);

// The diagrams as the report (计算书) draws them, the lines as above with
// the curves in steps of half a picture unit, the values labelled by the
// rules a teacher writes them by, each label placed clear of every line and
// of the other labels (PlaceLabels):
// - every non-zero value once, by its size: at each end, at each load
//   point (both sides of a jump) and at each extreme inside the member,
//   there with its ordinate; a stretch of constant value once, at its
//   middle;
// - a member of a moment diagram under a uniform load over its whole
//   length also at mid-span, and where its end moments are not both zero,
//   the chord and the parabola's height above it as "qL²/8 = 6";
// - the shear and axial diagrams mark each stretch of one sign with ⊕ or
//   ⊖ inside it.
// The mid-span value, the qL²/8 note and the signs are left out where the
// picture is too crowded to hold them near their points; the values at
// the ends, load points and extremes are always written.
// `zero` when every value of the diagram prints as 0: nothing to draw.
enum class ReportDiagram : std::uint8_t { Moment, Shear, Axial };
struct DiagramShown {
    float scale = 1.0f;
    bool zero = false;
};
DiagramShown DrawReportDiagram(const StructureModel& model, ReportDiagram which, Canvas& canvas, DiagramHost& host);
DiagramShown DrawReportCaseMomentDiagram(const StructureModel& model, int caseNo, Canvas& canvas, DiagramHost& host);
DiagramShown DrawReportUnitLoadMomentDiagram(const StructureModel& model, const OneBasedTable<Element>& endForces,
                                             Canvas& canvas, DiagramHost& host);
inline constexpr std::string_view kChordHeightLabel = "qL²/8 = ";
inline constexpr std::string_view kPositiveSign = "⊕";
inline constexpr std::string_view kNegativeSign = "⊖";

}  // namespace tavrin
