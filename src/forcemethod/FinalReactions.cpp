#include "forcemethod/FinalReactions.h"

#include "analysis/Arrangements.h"
#include "analysis/StaticsTexts.h"
#include "forcemethod/ForceMethodTexts.h"
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

// The records of cases 0..n, when all are there and fit the supports.
std::optional<std::vector<const CaseReactionRecord*>> RecordsOfEveryCase(const StructureModel& model, int n)
{
    if (static_cast<int>(model.CaseReactions.size()) != n + 1 || model.RedundantForces.Count() != n)
        return std::nullopt;
    std::vector<const CaseReactionRecord*> records;
    for (const std::optional<CaseReactionRecord>& record : model.CaseReactions) {
        if (!record || !SameSupports(record->supports, model.Supports) ||
            (!records.empty() && !SameHinges(record->transmitted, records.front()->transmitted)))
            return std::nullopt;
        records.push_back(&*record);
    }
    return records;
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

std::optional<std::vector<FinalReaction>> FormFinalReactions(const StructureModel& model)
{
    const int n = model.IndeterminacyDegree < 0 ? 0 : model.IndeterminacyDegree;
    const auto records = RecordsOfEveryCase(model, n);
    if (!records)
        return std::nullopt;
    // Xk of case k, 1 for case 0.
    const auto X = [&](int c) { return c == 0 ? 1.0 : model.RedundantForces.at(c); };

    std::vector<FinalReaction> rows;
    for (std::int16_t s = 1; s <= model.SupportCount(); ++s) {
        const Support& support = model.Supports.at(s);
        FinalReaction r{FinalReaction::Kind::Support, support.NodeNo, support.SupportType};
        for (int c = 0; c <= n; ++c) {
            const Support& Rc = (*records)[static_cast<std::size_t>(c)]->supports.at(s);
            r.Fx += X(c) * static_cast<double>(Rc.Fx);
            r.Fy += X(c) * static_cast<double>(Rc.Fy);
            r.Fm += X(c) * static_cast<double>(Rc.Fm);
        }
        rows.push_back(std::move(r));
    }
    // A hinge passes on the opposite of the force it exerts on the attached part.
    const std::vector<TransmittedForce>& hinges = records->front()->transmitted;
    for (std::size_t t = 0; t < hinges.size(); ++t) {
        if (SupportStandsAt(model, hinges[t].Node))
            continue;
        FinalReaction r{FinalReaction::Kind::Hinge, hinges[t].Node, std::string(kHingeNodeKind)};
        for (int c = 0; c <= n; ++c) {
            const TransmittedForce& Hc = (*records)[static_cast<std::size_t>(c)]->transmitted[t];
            r.Fx -= X(c) * static_cast<double>(Hc.Fx);
            r.Fy -= X(c) * static_cast<double>(Hc.Fy);
        }
        rows.push_back(std::move(r));
    }
    for (int k = 1; k <= n; ++k)
        AddRedundantRows((*records)[static_cast<std::size_t>(k)]->loads, k, X(k), rows);
    return rows;
}

}  // namespace tavrin
