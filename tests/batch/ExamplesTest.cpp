#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cfloat>
#include <cmath>
#include <optional>
#include <string>
#include <vector>

#include "BatchTestSupport.h"
#include "app/StructureFile.h"
#include "batch/BatchOutput.h"
#include "batch/BatchRun.h"
#include "forcemethod/BasicSystemChoice.h"
#include "input/InputTables.h"
#include "input/ModelCommit.h"

namespace tavrin::batch {
namespace {

// Every example case, run to its last item, against numbers worked out by
// hand from statics and the force method (EI as typed, bending only).
//
// Signs as the tables show them: reactions Fx right, Fy up, Fm clockwise;
// end moments positive with tension on the left of the member seen from end
// i to end j (hogging on a beam running left to right), shears V = -dM/ds,
// axial forces positive in tension. A unit force is +1 along the positive
// axis (up, right) or counter-clockwise, whatever arrow its row names.
struct Reaction {
    float Fx, Fy, Fm;
};
using EndForces = std::array<float, 6>;  // Ni, Vi, Mi, Nj, Vj, Mj

struct Example {
    const char* file;
    int calculationModel;
    std::size_t itemCount;
    // Final reactions (determinate cases), or the reactions under the
    // external loads shown by the first reaction step (indeterminate cases).
    std::vector<Reaction> reactions;
    std::vector<EndForces> elements;
    std::vector<double> redundants;
    std::vector<std::vector<float>> flexibility;
    std::vector<float> freeTerms;
};

const Example kExamples[] = {
    // Span 6: pin at x = 0, roller at x = 6, P = 12 down at x = 2, q = 2 down
    // on 2..6 (8 at x = 4). Sum M about node 1: 6 R3 = 24 + 32, R3 = 9.333,
    // R1 = 20 - R3 = 10.667. M under P = 2 R1 = 21.333 sagging.
    // Element 2: Vi = 10.667 - 12 = -1.333, Vj = -1.333 - 8 = -9.333.
    {"simply-supported-beam.json",
     0,
     2,
     {{0, 10.6667f, 0}, {0, 9.3333f, 0}},
     {{0, 10.6667f, 0, 0, 10.6667f, -21.3333f}, {0, -1.3333f, -21.3333f, 0, -9.3333f, 0}},
     {},
     {},
     {}},
    // Cantilever 4 fixed at node 1: q = 2 down, tip P = 5 down and 3 left.
    // Fx = 3, Fy = 8 + 5 = 13, Fm = -(8 * 2 + 5 * 4) = -36 (counter-clockwise).
    // N = -3 (compression), Vi = 13, Vj = 5, Mi = 36 hogging, Mj = 0.
    {"cantilever.json", 0, 2, {{3, 13, -36}}, {{-3, 13, 36, -3, 5, 0}}, {}, {}, {}},
    // Columns 4 high, span 6, hinges at both feet and at the crown (x = 3),
    // q = 2 down on the beam. V = 6 at each foot; the left half about the
    // crown: 6 * 3 - 2 * 3 * 1.5 - 4 H = 0, H = 2.25 pushing inward.
    // Corner moments 4 H = 9 (tension outside); columns N = -6, beam
    // N = -2.25; left column V = -dM/ds = -9/4, right column +9/4.
    {"three-hinged-frame.json",
     0,
     2,
     {{2.25f, 6, 0}, {-2.25f, 6, 0}},
     {{-6, -2.25f, 0, -6, -2.25f, 9},
      {-2.25f, 6, 9, -2.25f, 0, 0},
      {-2.25f, 0, 0, -2.25f, -6, 9},
      {-6, 2.25f, 9, -6, 2.25f, 0}},
     {},
     {},
     {}},
    // Attached span 3-4 (length 4, q = 2): R4 = 4, hinge 3 passes 4 down to
    // the overhanging beam 1-2-3 (pin 1, roller 2 at x = 6, q = 2 on 0..6).
    // Sum M about 1: 6 R2 = 12 * 3 + 4 * 8, R2 = 11.333, R1 = 16 - R2 = 4.667.
    // Hogging over node 2: 4 * 2 = 8.
    {"hinged-multispan-beam.json",
     1,
     3,
     {{0, 4.6667f, 0}, {0, 11.3333f, 0}, {0, 4, 0}},
     {{0, 4.6667f, 0, 0, -7.3333f, 8}, {0, 4, 8, 0, 4, 0}, {0, 4, 0, 0, -4, 0}},
     {},
     {},
     {}},
    // Span 6, EI = 2, P = 16 at mid-span; prop at node 3 released (X1 up).
    // Cantilever: M0 = 16 (3 - x) on 0..3 (hogging), M1 = -(6 - x).
    // d11 = 6^3 / 3 / 2 = 36; D1p = -16 * int_0^3 (6 - x)(3 - x) dx / 2
    //     = -16 * 22.5 / 2 = -180; X1 = 5 = 5P/16.
    // Fixed end: Fy = 16 - 5 = 11, M = 48 - 30 = 18 (3PL/16); under the load
    // 18 - 11 * 3 = -15 (5PL/32 sagging).
    {"propped-cantilever.json",
     2,
     7,
     {{0, 16, -48}},
     {{0, 11, 18, 0, 11, -15}, {0, -5, -15, 0, -5, 0}},
     {5.0},
     {{36}},
     {-180}},
    // Two spans of 4, q = 3; middle support released: simple span 8 with
    // M0 = -1.5 x (8 - x) (sagging), unit X1 up at x = 4: M1 = x / 2 on the
    // left half (hogging), symmetric.
    // d11 = 2 int_0^4 x^2 / 4 dx = 32/3; D1p = -1.5 * 2 int_0^4 x^2 (8 - x) / 2
    //     = -160; X1 = 15 = 5qL/4. Ends 12 - 7.5 = 4.5; over the support qL^2/8 = 6.
    {"two-span-continuous-beam.json",
     2,
     7,
     {{0, 12, 0}, {0, 12, 0}},
     {{0, 4.5f, 0, 0, -7.5f, 6}, {0, 7.5f, 6, 0, -4.5f, 0}},
     {15.0},
     {{10.6667f}},
     {-160}},
    // Portal 4 x 4, EI = 1, q = 3 on the beam; the right foot released:
    // X1 horizontal, X2 vertical, X3 couple at node 4. Moments about a cut,
    // of the part between the cut and node 4 (counter-clockwise):
    //   right column: m1 = y, m2 = 0, m3 = 1, m0 = 0
    //   beam:         m1 = 4, m2 = 4 - x, m3 = 1, m0 = -1.5 (4 - x)^2
    //   left column:  m1 = y, m2 = 4, m3 = 1, m0 = -24
    // d11 = 64/3 + 64 + 64/3, d12 = 32 + 32, d13 = 8 + 16 + 8, d22 = 64/3 + 64,
    // d23 = 8 + 16, d33 = 12; D1p = -128 - 192, D2p = -96 - 384, D3p = -32 - 96.
    // Solution X1 = -1 (H = ql^2 / (4h(k + 2)), k = 1), X2 = 6 (ql/2),
    // X3 = 4/3 (ql^2 / (12(k + 2))). Corners 4 H - 4/3 = 8/3 tension outside.
    {"fixed-portal-frame.json",
     2,
     11,
     {{0, 12, -24}},
     {{-6, -1, -1.3333f, -6, -1, 2.6667f}, {-1, 6, 2.6667f, -1, -6, 2.6667f}, {-6, 1, 2.6667f, -6, 1, -1.3333f}},
     {-1.0, 6.0, 4.0 / 3.0},
     {{106.6667f, 64, 32}, {64, 85.3333f, 24}, {32, 24, 12}},
     {-320, -480, -128}},
    // Fixed end 1, support 2 (x = 4) released as X1, hinge 3 (x = 6), roller
    // 4 (x = 10), q = 2 everywhere. Attached span 3-4 passes 4 down at node 3
    // under the loads and nothing under X1. Cantilever 0..6:
    //   M0 = (6 - x)^2 + 4 (6 - x), M1 = -(4 - x) on 0..4 (hogging).
    // d11 = 64/3; with u = 4 - x: D1p = -int_0^4 (u^3 + 8u^2 + 12u) du
    //     = -(64 + 512/3 + 96) = -330.667; X1 = 15.5.
    // Fixed end: Fy = 20 - 4 - 15.5 = 0.5, M = 60 - 62 = -2; over node 2
    // (2^2 + 4 * 2) = 12.
    {"hinged-beam-over-released-support.json",
     3,
     8,
     {{0, 16, -60}, {0, 4, 0}},
     {{0, 0.5f, -2, 0, -7.5f, 12}, {0, 8, 12, 0, 4, 0}, {0, 4, 0, 0, -4, 0}},
     {15.5},
     {{21.3333f}},
     {-330.6667f}},
};

// Single precision, with the hand values rounded to four decimals.
void ExpectClose(const nlohmann::json& actual, double expected, const std::string& what)
{
    ASSERT_TRUE(actual.is_number()) << what << ": " << actual.dump();
    EXPECT_NEAR(actual.get<double>(), expected, 2e-4 * std::max(1.0, std::fabs(expected))) << what;
}

// A cell of a result table in "0.##": within half its last digit.
void ExpectShown(const std::string& cell, double expected, const std::string& what)
{
    ASSERT_FALSE(cell.empty()) << what;
    EXPECT_NEAR(std::stod(cell), expected, 0.0051) << what << ": " << cell;
}

TEST(ExamplesTest, EveryExampleRunsToItsLastItemWithTheHandDerivedAnswers)
{
    for (const Example& example : kExamples) {
        SCOPED_TRACE(example.file);
        int exit = -1;
        const nlohmann::json result = testing::RunJson(testing::ReadFile(testing::ExamplePath(example.file)), exit);
        ASSERT_TRUE(result.is_object());
        EXPECT_EQ(exit, kExitCompleted);
        EXPECT_EQ(result["completed"], true);
        EXPECT_EQ(result["calculationModel"], example.calculationModel);
        EXPECT_EQ(result["items"].size(), example.itemCount);
        EXPECT_EQ(result["steps"].size(), example.itemCount);
        EXPECT_EQ(result["messages"], nlohmann::json::array());

        const bool indeterminate = !example.redundants.empty();
        if (indeterminate) {
            // The first reaction table is the one under the external loads.
            const auto& steps = result["steps"];
            const auto reactions = std::find_if(steps.begin(), steps.end(), [](const nlohmann::json& step) {
                return step["title"] == "外荷载下支座反力计算结果：";
            });
            ASSERT_NE(reactions, steps.end());
            const auto& table = (*reactions)["table"];
            ASSERT_GT(table.size(), example.reactions.size());
            for (std::size_t s = 0; s < example.reactions.size(); ++s) {
                const std::string at = "support row " + std::to_string(s + 1);
                ExpectShown(table[s + 1][2], example.reactions[s].Fx, at + " Fx");
                ExpectShown(table[s + 1][3], example.reactions[s].Fy, at + " Fy");
                ExpectShown(table[s + 1][4], example.reactions[s].Fm, at + " Fm");
            }
        } else {
            ASSERT_EQ(result["supports"].size(), example.reactions.size());
            for (std::size_t s = 0; s < example.reactions.size(); ++s) {
                const auto& support = result["supports"][s];
                const std::string at = "support " + std::to_string(s + 1);
                ExpectClose(support["Fx"], example.reactions[s].Fx, at + " Fx");
                ExpectClose(support["Fy"], example.reactions[s].Fy, at + " Fy");
                ExpectClose(support["Fm"], example.reactions[s].Fm, at + " Fm");
            }
        }

        ASSERT_EQ(result["elements"].size(), example.elements.size());
        const char* keys[] = {"Ni", "Vi", "Mi", "Nj", "Vj", "Mj"};
        for (std::size_t e = 0; e < example.elements.size(); ++e)
            for (std::size_t k = 0; k < 6; ++k)
                ExpectClose(result["elements"][e][keys[k]], example.elements[e][k],
                            "element " + std::to_string(e + 1) + " " + keys[k]);

        ASSERT_EQ(result["redundants"].size(), example.redundants.size());
        for (std::size_t i = 0; i < example.redundants.size(); ++i)
            ExpectClose(result["redundants"][i], example.redundants[i], "X" + std::to_string(i + 1));
        ASSERT_EQ(result["flexibility"].size(), example.flexibility.size());
        for (std::size_t i = 0; i < example.flexibility.size(); ++i)
            for (std::size_t j = 0; j < example.flexibility.size(); ++j)
                ExpectClose(result["flexibility"][i][j], example.flexibility[i][j],
                            "d" + std::to_string(i + 1) + std::to_string(j + 1));
        ASSERT_EQ(result["freeTerms"].size(), example.freeTerms.size());
        for (std::size_t i = 0; i < example.freeTerms.size(); ++i)
            ExpectClose(result["freeTerms"][i], example.freeTerms[i], "D" + std::to_string(i + 1) + "p");

        // Every check passes, and each coefficient is its ledger's sum to
        // float rounding.
        const std::size_t n = example.redundants.size();
        ASSERT_FALSE(result["checks"].empty());
        for (const auto& check : result["checks"])
            EXPECT_EQ(check["passed"], true) << check.dump();
        EXPECT_EQ(result["caseReactions"].size(), n + 1);
        EXPECT_EQ(result["ledger"].size(), n * (n + 1) / 2 + n);
        for (const auto& entry : result["ledger"]) {
            double magnitude = 0.0;
            for (const auto& term : entry["terms"])
                magnitude += std::fabs(term["term"].get<double>());
            EXPECT_NEAR(entry["total"].get<double>(), entry["stored"].get<double>(), 4 * FLT_EPSILON * magnitude)
                << entry["coefficient"];
        }
    }
}

// Equilibrium of the whole determinate structures, a second route to the
// reactions: the reactions balance the loads typed in the case file.
TEST(ExamplesTest, DeterminateReactionsBalanceTheLoads)
{
    struct Balance {
        const char* file;
        double sumFx, sumFy;  // of the loads, right and up positive
    };
    const Balance cases[] = {
        {"simply-supported-beam.json", 0, -20},
        {"cantilever.json", -3, -13},
        {"three-hinged-frame.json", 0, -12},
        {"hinged-multispan-beam.json", 0, -20},
    };
    for (const Balance& k : cases) {
        SCOPED_TRACE(k.file);
        int exit = -1;
        const nlohmann::json result = testing::RunJson(testing::ReadFile(testing::ExamplePath(k.file)), exit);
        ASSERT_TRUE(result.is_object());
        double fx = k.sumFx, fy = k.sumFy;
        for (const auto& support : result["supports"]) {
            fx += support["Fx"].get<double>();
            fy += support["Fy"].get<double>();
        }
        EXPECT_NEAR(fx, 0.0, 1e-4);
        EXPECT_NEAR(fy, 0.0, 1e-4);
    }
}

// What "保存" writes after an example was opened and calculated is the
// example file itself, and opening that again calculates the same: the
// committed tables, as the input grid shows them, are the texts typed, and
// the supplementary rows and the description go along.
TEST(ExamplesTest, EveryExampleSavedAfterItsCalculationIsTheShippedFile)
{
    for (const auto& entry : std::filesystem::directory_iterator(testing::ExamplePath(""))) {
        SCOPED_TRACE(entry.path().filename().string());
        const std::string shipped = testing::ReadFile(entry.path());
        const CaseReading example = ReadCase(shipped);
        ASSERT_TRUE(example.value) << example.error;
        const RunResult first = RunCase(*example.value, kDefaultPictureUnits, kDefaultPictureUnits);
        ASSERT_TRUE(first.completed);

        StructureCase saved = CaseOfModel(first.model, SupplementaryRowsOf(*example.value));
        saved.description = example.value->description;
        const std::string written = WriteCase(saved);
        EXPECT_EQ(written, shipped);

        const CaseReading reopened = ReadCase(written);
        ASSERT_TRUE(reopened.value) << reopened.error;
        const RunResult second = RunCase(*reopened.value, kDefaultPictureUnits, kDefaultPictureUnits);
        EXPECT_EQ(ResultJson(second), ResultJson(first));
    }
}

// Every indeterminate example typed whole, as the structure the student was
// given (its basic system's supports with the restraint of each unit force
// added back), and left to the program's own basic system ("basicSystem":
// "auto"): the final member forces are the example's, whatever redundants
// the program chose.
TEST(ExamplesTest, OriginalStructuresGiveTheSameForcesOnTheRecommendedBasicSystem)
{
    int originals = 0;
    for (const auto& entry : std::filesystem::directory_iterator(testing::ExamplePath(""))) {
        SCOPED_TRACE(entry.path().filename().string());
        const CaseReading example = ReadCase(testing::ReadFile(entry.path()));
        ASSERT_TRUE(example.value) << example.error;
        if (example.value->unitForces.empty())
            continue;
        const RunResult basic = RunCase(*example.value, kDefaultPictureUnits, kDefaultPictureUnits);
        ASSERT_TRUE(basic.completed);
        std::vector<OneBasedTable<Load>> unitLoads;
        for (std::size_t k = 1; k < basic.calculation.unitForces.size(); ++k)
            unitLoads.push_back(basic.calculation.unitForces[k].value());
        std::string why;
        const std::optional<OriginalStructure> original = OriginalOfBasicSystem(basic.model, unitLoads, why);
        ASSERT_TRUE(original) << why;
        const std::optional<StructureModel> whole = OriginalModel(*original, why);
        ASSERT_TRUE(whole) << why;

        StructureCase typed = *example.value;
        typed.nodes = CommittedRows(*whole, kNodeTable);
        typed.supports = CommittedRows(*whole, kSupportTable);
        typed.unitForces.clear();
        typed.attachedParts.clear();
        typed.basicParts.clear();
        typed.basicSystemAuto = true;
        const RunResult recommended = RunCase(typed, kDefaultPictureUnits, kDefaultPictureUnits);
        ASSERT_TRUE(recommended.completed) << (recommended.messages.empty() ? "" : recommended.messages[0].text);
        ASSERT_TRUE(recommended.basicSystem);
        const auto forces = [](const Element& e) { return std::array<float, 6>{e.Ni, e.Vi, e.Mi, e.Nj, e.Vj, e.Mj}; };
        for (std::int16_t e = 1; e <= basic.model.ElementCount(); ++e)
            for (std::size_t q = 0; q < 6; ++q)
                EXPECT_NEAR(forces(recommended.model.Elements.at(e))[q], forces(basic.model.Elements.at(e))[q], 2e-3)
                    << "member " << e << " end force " << q;
        ++originals;
    }
    EXPECT_GE(originals, 6);
}

}  // namespace
}  // namespace tavrin::batch
