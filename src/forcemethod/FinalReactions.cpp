#include "forcemethod/FinalReactions.h"

#include "analysis/Arrangements.h"
#include "analysis/StaticsTexts.h"
#include "forcemethod/ForceMethodTexts.h"
#include "forcemethod/ModelSolution.h"
#include "model/Vocabulary.h"

namespace tavrin {

namespace {

bool SameSupports(const OneBasedTable<Support>& recorded, const OneBasedTable<Support>& now)
{
    if (recorded.Count() != now.Count())
        return false;
    for (std::int16_t s = 1; s <= now.Count(); ++s)
        if (recorded.at(s).NodeNo != now.at(s).NodeNo || recorded.at(s).SupportType != now.at(s).SupportType)
            return false;
    return true;
}

bool SameHinges(const std::vector<TransmittedForce>& a, const std::vector<TransmittedForce>& b)
{
    if (a.size() != b.size())
        return false;
    for (std::size_t t = 0; t < a.size(); ++t)
        if (a[t].Node != b[t].Node)
            return false;
    return true;
}

// Every case 0..n recorded for the supports as they are, each with the
// hinges of case 0, and the n unknowns solved.
bool RecordsFitTogether(const StructureModel& model, int n)
{
    if (static_cast<int>(model.CaseReactions.size()) != n + 1 || model.RedundantForces.Count() != n)
        return false;
    for (const std::optional<CaseReactionRecord>& record : model.CaseReactions)
        if (!record || !SameSupports(record->supports, model.Supports) ||
            !SameHinges(record->transmitted, model.CaseReactions.front()->transmitted))
            return false;
    return true;
}

// Loads of a unit case as forces at their nodes, times Xk; couples stored
// counter-clockwise positive turn to clockwise positive.
void AddRedundantRows(const OneBasedTable<Load>& loads, int k, double Xk, std::vector<FinalReaction>& rows)
{
    for (const Load& load : loads) {
        FinalReaction r{FinalReaction::Kind::Redundant, load.NodeNo, RedundantName(k), k};
        const double f = Xk * static_cast<double>(load.Magnitude);
        if (load.LoadType == kConcentratedLoad && IsHorizontalDirection(load.Direction))
            r.Fx = f;
        else if (load.LoadType == kConcentratedLoad && IsVerticalDirection(load.Direction))
            r.Fy = f;
        else if (load.LoadType == kCouple && IsCoupleDirection(load.Direction))
            r.Fm = -f;
        else
            continue;
        rows.push_back(std::move(r));
    }
}

}  // namespace

std::vector<FinalReaction> CaseReactionRows(const StructureModel& model, int caseNo)
{
    std::vector<FinalReaction> rows;
    const std::size_t c = static_cast<std::size_t>(caseNo);
    if (caseNo < 0 || c >= model.CaseReactions.size() || !model.CaseReactions[c])
        return rows;
    const CaseReactionRecord& record = *model.CaseReactions[c];
    for (const Support& s : record.supports)
        rows.push_back({FinalReaction::Kind::Support, s.NodeNo, s.SupportType, 0, s.Fx, s.Fy, s.Fm});
    // A hinge passes on the opposite of the force it exerts on the attached part.
    for (const TransmittedForce& t : record.transmitted)
        if (!SupportStandsAt(model, t.Node))
            rows.push_back({FinalReaction::Kind::Hinge, t.Node, std::string(kHingeNodeKind), 0, -t.Fx, -t.Fy, 0.0});
    return rows;
}

std::optional<std::vector<FinalReaction>> FormFinalReactions(const StructureModel& model)
{
    const int n = model.IndeterminacyDegree < 0 ? 0 : model.IndeterminacyDegree;
    if (!RecordsFitTogether(model, n))
        return std::nullopt;
    std::string why;
    const std::optional<ForceMethodSolution> solution = SolutionOfModel(model, why);
    if (!solution)
        return std::nullopt;
    std::vector<FinalReaction> rows = CaseReactionRows(model, 0);
    // The supports' rows from the solution in double; a hinge's from the
    // recorded forces of the parts, superposed with the same X.
    std::size_t support = 0;
    for (FinalReaction& r : rows)
        if (r.kind == FinalReaction::Kind::Support && support < solution->total.supports.size()) {
            const ReactionForces& f = solution->total.supports[support++];
            r.Fx = f.Fx;
            r.Fy = f.Fy;
            r.Fm = f.Fm;
        }
    for (int k = 1; k <= n; ++k) {
        const double Xk = solution->X[static_cast<std::size_t>(k - 1)];
        const std::vector<FinalReaction> Rk = CaseReactionRows(model, k);
        for (std::size_t r = 0; r < rows.size(); ++r) {
            if (rows[r].kind == FinalReaction::Kind::Support)
                continue;
            rows[r].Fx += Xk * Rk[r].Fx;
            rows[r].Fy += Xk * Rk[r].Fy;
            rows[r].Fm += Xk * Rk[r].Fm;
        }
    }
    for (int k = 1; k <= n; ++k)
        AddRedundantRows(model.CaseReactions[static_cast<std::size_t>(k)]->loads, k,
                         solution->X[static_cast<std::size_t>(k - 1)], rows);
    return rows;
}

}  // namespace tavrin
