#include "ChainFrame.h"

#include "analysis/ModelType.h"
#include "forcemethod/CalculationDriver.h"
#include "forcemethod/SupplementaryInput.h"
#include "input/InputTables.h"
#include "input/ModelCommit.h"

namespace tavrin::bench {

ChainFrame::ChainFrame()
{
    const auto text = [](int n) { return std::to_string(n); };
    for (int n = 1; n <= kMembers + 1; ++n)
        nodes.push_back({text(n), text(n - 1), "0", n == kMembers + 1 ? "自由端" : "刚接"});
    for (int e = 1; e <= kMembers; ++e)
        elements.push_back({text(e), "2", text(e), text(e + 1)});
    supports.push_back({"1", "固定支座", "结点左侧"});
    for (int e = 1; e <= kMembers; ++e)
        loads.push_back({"均布荷载", "", text(e), "向下", "1"});
    for (int n = 5; n <= kMembers; n += 10) {
        loads.push_back({"集中荷载", text(n), "", "向下", "3"});
        loads.push_back({"力偶", text(n + 2), "", "顺时针", "2"});
    }
    for (int k = 1; k <= kDegree; ++k)
        unitForces.push_back({"集中荷载", text(10 * k + 1), "", "向上"});
}

bool CommitRows(StructureModel& model, int kind, const Rows& rows, Canvas& canvas, MessageSink& messages)
{
    MemoryGrid grid(static_cast<int>(rows.size()) + 2, 1);
    InputFormState form;
    SelectInputTable(kind, model, grid, form);
    for (std::size_t r = 0; r < rows.size(); ++r)
        for (std::size_t c = 0; c < rows[r].size(); ++c)
            grid.SetText(static_cast<int>(r) + 1, static_cast<int>(c), rows[r][c]);
    return CommitInputTable(model, grid, canvas, messages);
}

bool EnterChain(StructureModel& model, Canvas& canvas, MessageSink& messages)
{
    const ChainFrame chain;
    return AcceptModelType(model, {true, std::to_string(ChainFrame::kDegree)}, messages) &&
           CommitRows(model, kNodeTable, chain.nodes, canvas, messages) &&
           CommitRows(model, kElementTable, chain.elements, canvas, messages) &&
           CommitRows(model, kSupportTable, chain.supports, canvas, messages) &&
           CommitRows(model, kLoadTable, chain.loads, canvas, messages);
}

bool CalculateEveryItem(CalculationContext& ctx, const ChainFrame& chain, const StudentInput& input)
{
    if (!AnalyseAndOpenCalculation(ctx))
        return false;
    for (int m = 0; m < static_cast<int>(ctx.form.items.size()); ++m) {
        input.before();
        SelectCalculationItem(ctx, m);
        if (ctx.form.inputTable == SupplementaryTable::UnitForces) {
            const auto& row = chain.unitForces.at(static_cast<std::size_t>(ctx.form.unitForceCase - 1));
            for (std::size_t c = 0; c < row.size(); ++c)
                ctx.MSFlexGrid1.SetText(1, static_cast<int>(c), row[c]);
            if (ApplyUnitForces(ctx).end == StepEnd::Refused)
                return false;
            if (ConfirmSupplementaryInput(ctx).end == StepEnd::Refused)
                return false;
        }
        input.after();
        if (!ctx.form.calEnabled)
            return false;
        if (RunCalculationStep(ctx).end == StepEnd::Refused)
            return false;
    }
    return ctx.calc.progress.Holds(Product::Unknowns);
}

}  // namespace tavrin::bench
