#pragma once

// The calculation form without widgets, as the driver tests and the tests
// of the result views play it.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "forcemethod/CalculationDriver.h"
#include "forcemethod/FrameFixtures.h"
#include "forcemethod/SupplementaryInput.h"

namespace tavrin::testing {

// A structure with the supplementary input its calculation asks for: the
// part rows and the unit forces X1..Xn.
struct WholeCalculation {
    const char* name;
    const FrameTables* frame;
    int degree;
    std::vector<Rows> unitForces;
    Rows attachedParts = {};
    Rows basicParts = {};
};

// The calculation form without widgets, on a structure committed through the
// input tables, analysed with degree n.
struct Calculation {
    StructureModel model;
    MemoryGrid MSFlexGrid1{2, 2};
    MemoryGrid MSFlexGrid2{2, 2};
    CalculationFormState form;
    CalculationState calc;
    RecordingCanvas canvas;
    RecordingMessages messages;
    CalculationContext ctx{model, MSFlexGrid1, MSFlexGrid2, form, calc, canvas, messages};

    Calculation(const testing::FrameTables& frame, int degree)
    {
        EXPECT_TRUE(testing::CommitFrame(model, canvas, messages, frame));
        EXPECT_TRUE(AcceptModelType(model, {degree != 0, std::to_string(degree)}, messages));
        EXPECT_TRUE(AnalyseAndOpenCalculation(ctx));
        EXPECT_TRUE(messages.shown.empty());
    }

    // Every item calculated in list order.
    explicit Calculation(const WholeCalculation& whole) : Calculation(*whole.frame, whole.degree)
    {
        RunAll(whole.unitForces, whole.attachedParts, whole.basicParts);
    }

    void Select(int item) { SelectCalculationItem(ctx, item); }
    void Run(int item)
    {
        Select(item);
        RunCalculationStep(ctx);
    }
    // Types the rows into the supplementary table from row 1 on.
    void Type(const Rows& rows)
    {
        for (std::size_t r = 0; r < rows.size(); ++r)
            for (std::size_t c = 0; c < rows[r].size(); ++c)
                MSFlexGrid1.SetText(static_cast<int>(r) + 1, static_cast<int>(c), rows[r][c]);
    }
    // Selects the item, types its table, applies a unit force, confirms.
    void Supply(int item, const Rows& rows)
    {
        Select(item);
        Type(rows);
        if (form.inputTable == SupplementaryTable::UnitForces) {
            EXPECT_EQ(ApplyUnitForces(ctx).end, StepEnd::Done);
        }
        ConfirmSupplementaryInput(ctx);
    }
    // Every item in list order, each given the table it asks for: the part
    // rows, or unit force k as unitForces[k - 1].
    void RunAll(const std::vector<Rows>& unitForces, const Rows& attachedParts = {}, const Rows& basicParts = {})
    {
        for (int m = 0; m < static_cast<int>(form.items.size()); ++m) {
            const CalculationItem& item = form.items[static_cast<std::size_t>(m)];
            if (item.needs == SupplementaryTable::AttachedParts)
                Supply(m, attachedParts);
            else if (item.needs == SupplementaryTable::BasicParts)
                Supply(m, basicParts);
            else if (item.needs == SupplementaryTable::UnitForces)
                Supply(m, unitForces.at(static_cast<std::size_t>(item.step.caseNo) - 1));
            else
                Select(m);
            EXPECT_NE(RunCalculationStep(ctx).end, StepEnd::Refused) << item.text;
        }
    }
    Rows Shown() const { return GridCells(MSFlexGrid2); }
    std::vector<int> Widths(const TextGrid& grid) const
    {
        std::vector<int> widths;
        for (int c = 0; c < grid.Cols(); ++c)
            widths.push_back(grid.ColWidth(c));
        return widths;
    }
    std::vector<std::string> MessageTexts() const
    {
        std::vector<std::string> texts;
        for (const ShownMessage& m : messages.shown)
            texts.push_back(m.text);
        return texts;
    }
};

}  // namespace tavrin::testing
