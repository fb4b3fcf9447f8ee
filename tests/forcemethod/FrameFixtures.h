#pragma once

// Structures of the calculation tests, as the student types them into the
// four input tables, and the hand-derived results they must give. Every
// element has EI = 1, so the flexibility coefficients are the plain
// product integrals of the moment diagrams.

#include <string>
#include <vector>

#include "drawing/Canvas.h"
#include "input/InputTables.h"
#include "input/ModelCommit.h"
#include "model/Messages.h"
#include "model/StructureModel.h"
#include "model/TextGrid.h"

namespace tavrin::testing {

using Rows = std::vector<std::vector<std::string>>;

struct FrameTables {
    Rows nodes;
    Rows elements;
    Rows supports;
    Rows loads;
};

// Commits one table through the input core, as "交互检查" does.
inline bool CommitRows(StructureModel& model, Canvas& canvas, MessageSink& messages, int kind, const Rows& rows)
{
    MemoryGrid grid(kInputGridRows, 1);
    InputFormState form;
    LayoutInputTable(*FindInputTableLayout(kind), model, grid, form);
    for (std::size_t r = 0; r < rows.size(); ++r)
        for (std::size_t c = 0; c < rows[r].size(); ++c)
            grid.SetText(static_cast<int>(r) + 1, static_cast<int>(c), rows[r][c]);
    return CommitInputTable(model, grid, canvas, messages);
}

inline bool CommitFrame(StructureModel& model, Canvas& canvas, MessageSink& messages, const FrameTables& frame)
{
    return CommitRows(model, canvas, messages, kNodeTable, frame.nodes) &&
           CommitRows(model, canvas, messages, kElementTable, frame.elements) &&
           CommitRows(model, canvas, messages, kSupportTable, frame.supports) &&
           (frame.loads.empty() || CommitRows(model, canvas, messages, kLoadTable, frame.loads));
}

// Simply supported beam 1-2-3 of span 6: pin at node 1, roller at node 3,
// 12 downward at node 2 (x = 2). Reactions 8 at the pin and 4 at the roller;
// the moment under the load is 8 * 2 = 16 (sagging, shown negative).
inline const FrameTables kSimpleBeam{
    {{"1", "0", "0", "铰接"}, {"2", "2", "0", "刚接"}, {"3", "6", "0", "铰接"}},
    {{"1", "1", "1", "2"}, {"2", "1", "2", "3"}},
    {{"1", "铰支座", "结点下方"}, {"3", "活动支座", "结点下方"}},
    {{"集中荷载", "2", "", "向下", "12"}},
};

// Cantilever 1-2 of length 4 fixed at node 1 with a uniform load of 2
// downward: the released system of a propped cantilever (X1 the prop at
// node 2, n = 1) and of a beam fixed at both ends (X1 the vertical force and
// X2 the couple of the right wall, n = 2).
//   case 0:  fixed Fy = 8, Fm = -16; end moments (16, 0)
//   X1 = 1 upward at node 2:  Fy = -1, Fm = 4; end moments (-4, 0)
//   X2 = 1 counter-clockwise at node 2:  Fm = 1; end moments (-1, -1)
// Propped:  d11 = 4/6 * 32 = 21.333, D1p = 4/6 * (-128 + 32) = -64, X1 = 3
//   (3qL/8), Vi = 8 - 3 = 5, Mi = 16 - 12 = 4 (qL^2/8), Vj = -3.
// Fixed at both ends: d12 = 4/6 * 12 = 8, d22 = 4, D2p = 4/6 * (-32) = -21.333;
//   X1 = 4 (qL/2), X2 = -2.667 (qL^2/12, clockwise); Mi = Mj = 2.667, Vi = 4.
inline const FrameTables kCantilever{
    {{"1", "0", "0", "刚接"}, {"2", "4", "0", "自由端"}},
    {{"1", "1", "1", "2"}},
    {{"1", "固定支座", "结点下方"}},
    {{"均布荷载", "", "1", "向下", "2"}},
};

// Hinged cantilever beam (Gerber beam): fixed at node 1 (0, 0), hinge at
// node 2 (4, 0), roller at node 3 (8, 0), uniform load 2 downward on the
// hung span 2-3. A fixed support with a roller: attached parts, model 1.
//   attached part (element 2, hinge 2, roller 3): RyQ = 16/4 = 4, HyO = 4
//   basic part (element 1) under 4 downward at node 2: Fy = 4, Fm = -16
//   end forces: element 1 V 4, Mi 16, Mj 0; element 2 Vi 4, Vj -4, M 0 at both ends.
inline const FrameTables kGerberBeam{
    {{"1", "0", "0", "刚接"}, {"2", "4", "0", "铰接"}, {"3", "8", "0", "铰接"}},
    {{"1", "1", "1", "2"}, {"2", "1", "2", "3"}},
    {{"1", "固定支座", "结点下方"}, {"3", "活动支座", "结点下方"}},
    {{"均布荷载", "", "2", "向下", "2"}},
};

// The same beam continued over a support at node 3 (8, 0) to a roller at
// node 4 (12, 0), loaded with 2 downward on elements 2 and 3. Released at
// node 3 (X1 the support there, n = 1); the basic system keeps the attached
// part 2-3-4 (hinge 2, roller 4): model 3.
//   case 0: attached RyQ = 64/8 = 8, HyO = 8; fixed Fy = 8, Fm = -32;
//           end moments e1 (32, 0), e2 (0, -16), e3 (-16, 0)
//   case 1: attached RyQ = -0.5, HyO = -0.5; fixed Fy = -0.5, Fm = 2;
//           end moments e1 (-2, 0), e2 (0, 2), e3 (2, 0)
//   d11 = 3 * 16/3 = 16, D1p = -85.333 - 53.333 - 53.333 = -192, X1 = 12
//   (the tip of the cantilever and the hinge of the beam both sink 42.667).
//   totals: e1 V 2, Mi 8; e2 Vi 2, Vj -6, Mj 8; e3 Vi 6, Vj -2, Mi 8.
inline const FrameTables kHingedBeamOverThreeSupports{
    {{"1", "0", "0", "刚接"}, {"2", "4", "0", "铰接"}, {"3", "8", "0", "刚接"}, {"4", "12", "0", "铰接"}},
    {{"1", "1", "1", "2"}, {"2", "1", "2", "3"}, {"3", "1", "3", "4"}},
    {{"1", "固定支座", "结点下方"}, {"4", "活动支座", "结点下方"}},
    {{"均布荷载", "", "2", "向下", "2"}, {"均布荷载", "", "3", "向下", "2"}},
};

// Two spans of 4 on a pin (node 1), a support over node 2 and a roller
// (node 3), q = 3 downward on both: released at node 2 (X1 upward, n = 1),
// a simple beam of 8. X1 = 5qL/4 = 15, the end supports 3qL/8 = 4.5.
inline const FrameTables kTwoSpanBeam{
    {{"1", "0", "0", "铰接"}, {"2", "4", "0", "刚接"}, {"3", "8", "0", "铰接"}},
    {{"1", "1", "1", "2"}, {"2", "1", "2", "3"}},
    {{"1", "铰支座", "结点下方"}, {"3", "活动支座", "结点下方"}},
    {{"均布荷载", "", "1", "向下", "3"}, {"均布荷载", "", "2", "向下", "3"}},
};

// L-shaped frame fixed at node 1 (0, 0): column 1-2 up to (0, 4), beam 2-3 to
// (4, 4), column 3-4 down to the free end (4, 0); 3 downward on the beam.
// Determinate (n = 0): fixed Fy = 12, Fm = -24; the corner carries
// qL^2/2 = 24 through the column (axial -12), the free column nothing.
// Released form of the portal fixed at both feet (n = 3: X1 rightward, X2
// upward, X3 counter-clockwise at node 4). By slope-deflection, with h = L =
// 4 and EI equal: theta = qL^2 / (12 (4/h + 2/L)) = 8/3, corner moments
// 4 theta / h = 2.667, foot moments 1.333, feet pushed inward by
// (1.333 + 2.667) / h = 1, vertical reactions qL/2 = 6. So X1 = -1, X2 = 6,
// X3 = 1.333, and walking the chain from the foot at node 1 (Fx 1, Fy 6, Fm
// 1.333):
//   column 1-2: N -6, V -1, Mi -1.333, Mj 2.667
//   beam 2-3:   N -1, Vi 6, Vj -6, Mi = Mj = 2.667 (mid-span 6 - 2.667)
//   column 3-4: N -6, V 1, Mi 2.667, Mj -1.333
inline const FrameTables kLFrame{
    {{"1", "0", "0", "刚接"}, {"2", "0", "4", "刚接"}, {"3", "4", "4", "刚接"}, {"4", "4", "0", "自由端"}},
    {{"1", "1", "1", "2"}, {"2", "1", "2", "3"}, {"3", "1", "3", "4"}},
    {{"1", "固定支座", "结点下方"}},
    {{"均布荷载", "", "2", "向下", "3"}},
};

}  // namespace tavrin::testing
