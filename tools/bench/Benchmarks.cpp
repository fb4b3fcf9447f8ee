// Timings of what the student waits for: a committed table, the whole
// calculation, each drawing pass and diagram on the picture window's
// surface, and the program's start to its welcome form.
//
//   build/bin/tavrin-bench                      (QT_QPA_PLATFORM=offscreen
//   build/bin/tavrin-bench --benchmark_filter=Calculation    without a screen)

#include <array>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <utility>

#include <benchmark/benchmark.h>
#include <QApplication>
#include <QWindow>

#include "ChainFrame.h"
#include "app/MainPageForm.h"
#include "app/QtApplicationShell.h"
#include "diagrams/InternalForceDiagrams.h"
#include "drawing/DrawingPasses.h"
#include "drawing/QtCanvas.h"
#include "forcemethod/CalculationDriver.h"
#include "input/InputTables.h"
#include "input/ModelCommit.h"
#include "qtforms/GridWidget.h"

namespace tavrin::bench {
namespace {

// A QApplication for the benchmarks that paint or build widgets, unless one
// is running already; the start-up benchmark makes its own.
class Application {
public:
    Application()
    {
        if (!QApplication::instance())
            m_app = std::make_unique<QApplication>(m_argc, m_argv);
    }

private:
    int m_argc = 1;
    char m_name[13] = "tavrin-bench";
    char* m_argv[2] = {m_name, nullptr};
    std::unique_ptr<QApplication> m_app;
};

void Fail(benchmark::State& state, const RecordingMessages& messages, const char* what)
{
    std::string error = what;
    for (const ShownMessage& m : messages.shown)
        error += " | " + m.text;
    state.SkipWithError(error.c_str());
}

// --- 交互检查 on a full table ------------------------------------------------

// 100 rows of each table of a closed ring of 100 members: a support and a
// load at every node.
Rows FullTable(int kind)
{
    Rows rows;
    for (int n = 1; n <= 100; ++n) {
        const std::string t = std::to_string(n);
        const std::string next = std::to_string(n % 100 + 1);
        switch (kind) {
            case kNodeTable:
                rows.push_back({t, std::to_string(n % 10), std::to_string(n / 10), "刚接"});
                break;
            case kElementTable:
                rows.push_back({t, "2", t, next});
                break;
            case kSupportTable:
                rows.push_back({t, "铰支座", "结点下方"});
                break;
            default:
                rows.push_back({"均布荷载", "", t, "向下", "1.5"});
                break;
        }
    }
    return rows;
}

// The table typed into the input form's grid widget and committed onto the
// picture window's surface, as "交互检查" does it.
void BM_CommitFullTable(benchmark::State& state)
{
    Application app;
    const int kind = static_cast<int>(state.range(0));
    StructureModel model;
    QtCanvas canvas;
    RecordingMessages messages;
    for (int k = kNodeTable; k < kind; ++k)
        if (!CommitRows(model, k, FullTable(k), canvas, messages))
            return Fail(state, messages, "set-up refused");

    GridWidget grid;
    InputFormState form;
    grid.SetRows(kInputGridRows);
    SelectInputTable(kind, model, grid, form);
    const Rows rows = FullTable(kind);
    for (std::size_t r = 0; r < rows.size(); ++r)
        for (std::size_t c = 0; c < rows[r].size(); ++c)
            grid.SetText(static_cast<int>(r) + 1, static_cast<int>(c), rows[r][c]);
    for (auto _ : state)
        if (!CommitInputTable(model, grid, canvas, messages))
            return Fail(state, messages, "commit refused");
    state.SetLabel(std::string(kInputTableChoices[kind]));
}
BENCHMARK(BM_CommitFullTable)->DenseRange(kNodeTable, kLoadTable)->Unit(benchmark::kMicrosecond);

// --- the whole calculation ---------------------------------------------------

// From "计算类型分析" to the total member forces of the chain with its ten
// unit forces: every step of the calculation form's driver, each writing its
// result table. The student's part of each item (choosing it, typing and
// applying its unit force, which redraws the picture) is timed by itself
// with ".../with_input".
void BM_WholeCalculation(benchmark::State& state)
{
    const bool withInput = state.range(0) != 0;
    StructureModel model;
    DiscardingCanvas canvas;
    RecordingMessages messages;
    const ChainFrame chain;
    if (!EnterChain(model, canvas, messages))
        return Fail(state, messages, "chain refused");
    MemoryGrid MSFlexGrid1(2, 2);
    MemoryGrid MSFlexGrid2(2, 2);
    CalculationFormState form;
    CalculationState calc;
    CalculationContext ctx{model, MSFlexGrid1, MSFlexGrid2, form, calc, canvas, messages};
    StudentInput input;
    if (!withInput)
        input = {[&] { state.PauseTiming(); }, [&] { state.ResumeTiming(); }};
    for (auto _ : state) {
        if (!CalculateEveryItem(ctx, chain, input) || !messages.shown.empty())
            return Fail(state, messages, "calculation stopped");
        benchmark::DoNotOptimize(model.Elements.at(1).Mi);
    }
    state.SetLabel(std::to_string(form.items.size()) + " items");
}
BENCHMARK(BM_WholeCalculation)->ArgName("with_input")->Arg(0)->Arg(1)->Unit(benchmark::kMicrosecond);

// --- pictures ------------------------------------------------------------------

// The chain calculated to its total member forces, for the pictures.
struct CalculatedChain {
    StructureModel model;
    RecordingMessages messages;
    bool ok = false;

    CalculatedChain()
    {
        DiscardingCanvas canvas;
        const ChainFrame chain;
        if (!EnterChain(model, canvas, messages))
            return;
        MemoryGrid MSFlexGrid1(2, 2);
        MemoryGrid MSFlexGrid2(2, 2);
        CalculationFormState form;
        CalculationState calc;
        CalculationContext ctx{model, MSFlexGrid1, MSFlexGrid2, form, calc, canvas, messages};
        ok = CalculateEveryItem(ctx, chain) && messages.shown.empty();
        // The picture shows the user's loads again, as after the calculation.
        RestoreUserLoads(ctx);
    }
};

using Pass = std::function<void(const StructureModel&, Canvas&)>;
const std::pair<const char*, Pass> kPasses[] = {
    {"DrawNodeNumbers", &DrawNodeNumbers},
    {"DrawMembers", [](const StructureModel& m, Canvas& c) { DrawMembers(m, c, MemberLabels::Shown); }},
    {"DrawSupports", &DrawSupports},
    {"DrawConcentratedLoads", &DrawConcentratedLoads},
    {"DrawDistributedLoads", &DrawDistributedLoads},
    {"DrawCouples", &DrawCouples},
};

// Each pass over the calculated chain on the picture window's surface.
void BM_DrawingPass(benchmark::State& state)
{
    Application app;
    const CalculatedChain chain;
    if (!chain.ok)
        return Fail(state, chain.messages, "calculation stopped");
    QtCanvas canvas;
    const auto& [name, pass] = kPasses[static_cast<std::size_t>(state.range(0))];
    for (auto _ : state)
        pass(chain.model, canvas);
    state.SetLabel(name);
    RecordingCanvas recorded;
    pass(chain.model, recorded);
    state.counters["ops"] = static_cast<double>(recorded.ops.size());
}
BENCHMARK(BM_DrawingPass)->DenseRange(0, static_cast<int>(std::size(kPasses)) - 1)->Unit(benchmark::kMicrosecond);

// The scale prompt cancelled: the automatic scale.
class AutomaticScale : public DiagramHost {
public:
    void ShowPicture(std::string_view) override {}
    std::optional<std::string> AskScale(std::string_view, std::string_view) override { return std::nullopt; }
};

using Diagram = float (*)(const StructureModel&, Canvas&, DiagramHost&);
const std::pair<const char*, Diagram> kDiagrams[] = {
    {"DrawMomentDiagram", &DrawMomentDiagram},
    {"DrawShearDiagram", &DrawShearDiagram},
    {"DrawAxialDiagram", &DrawAxialDiagram},
};

// Each diagram of the calculated chain, the picture cleared and the members
// redrawn as the diagram does it.
void BM_Diagram(benchmark::State& state)
{
    Application app;
    const CalculatedChain chain;
    if (!chain.ok)
        return Fail(state, chain.messages, "calculation stopped");
    QtCanvas canvas;
    AutomaticScale host;
    const auto& [name, draw] = kDiagrams[static_cast<std::size_t>(state.range(0))];
    for (auto _ : state)
        benchmark::DoNotOptimize(draw(chain.model, canvas, host));
    state.SetLabel(name);
    RecordingCanvas recorded;
    draw(chain.model, recorded, host);
    state.counters["ops"] = static_cast<double>(recorded.ops.size());
}
BENCHMARK(BM_Diagram)->DenseRange(0, static_cast<int>(std::size(kDiagrams)) - 1)->Unit(benchmark::kMicrosecond);

// --- start-up ------------------------------------------------------------------

// From the application object to the welcome form shown and painted: what
// main() does before the student sees anything. Loading the program and its
// libraries comes before and is not counted.
void BM_StartUpToWelcomeForm(benchmark::State& state)
{
    if (QApplication::instance())
        return state.SkipWithError("an application is running already");
    for (auto _ : state) {
        {
            int argc = 1;
            char name[] = "tavrin";
            char* argv[] = {name, nullptr};
            QApplication app(argc, argv);
            QApplication::setApplicationName(QStringLiteral("Tavrin"));
            QtApplicationShell shell;
            shell.Start();
            QWidget& welcome = shell.mainPage();
            while (!welcome.windowHandle() || !welcome.windowHandle()->isExposed())
                QApplication::processEvents();
            QApplication::processEvents();
            state.PauseTiming();
        }
        state.ResumeTiming();
    }
}
BENCHMARK(BM_StartUpToWelcomeForm)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace tavrin::bench

BENCHMARK_MAIN();
