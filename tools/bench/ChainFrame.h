#pragma once

#include <functional>
#include <string>
#include <vector>

#include "drawing/Canvas.h"
#include "forcemethod/CalculationSession.h"
#include "model/Messages.h"
#include "model/StructureModel.h"

namespace tavrin::bench {

using Rows = std::vector<std::vector<std::string>>;

// A straight chain of 100 members of length 1 (EI = 2), rigidly joined, as
// the basic system of a beam over ten supports: fixed at node 1, free at
// node 101, the supports at nodes 11, 21, ..., 101 released as the unit
// forces X1..X10 (upward). Every member carries a downward distributed
// load; a concentrated force and a couple stand at every tenth node.
struct ChainFrame {
    static constexpr int kMembers = 100;
    static constexpr int kDegree = 10;

    Rows nodes;
    Rows elements;
    Rows supports;
    Rows loads;
    // Row of the unit-force table of Xk, entry k - 1.
    std::vector<std::vector<std::string>> unitForces;

    ChainFrame();
};

// Table `kind` typed into a grid of as many rows as the table needs and
// committed. False when the commit was refused.
bool CommitRows(StructureModel& model, int kind, const Rows& rows, Canvas& canvas, MessageSink& messages);

// The chain committed and declared indeterminate of degree 10.
bool EnterChain(StructureModel& model, Canvas& canvas, MessageSink& messages);

// Called around the student's own part of each item: choosing it, and
// typing, applying and confirming its unit force.
struct StudentInput {
    std::function<void()> before = [] {};
    std::function<void()> after = [] {};
};

// The menu command "计算类型分析" and every item of the calculation form in
// list order, each unit force typed, applied and confirmed, then
// "计算(&C)": what a student does from the analysis to the total member
// forces. False when the calculation stopped before the unknowns were
// solved; the messages show why.
bool CalculateEveryItem(CalculationContext& ctx, const ChainFrame& chain, const StudentInput& input = {});

// Keeps the drawing state and throws every drawing away: the calculation's
// own cost, without a picture.
class DiscardingCanvas : public Canvas {
public:
    double ScaleWidth() const override { return 267.0; }
    double ScaleHeight() const override { return 267.0; }

protected:
    void DoCls() override {}
    void DoLine(double, double, double, double, Rgb) override {}
    void DoCircle(double, double, double, std::optional<double>, std::optional<double>) override {}
    void DoPrint(double, double, std::string_view) override {}
};

}  // namespace tavrin::bench
