#include "forcemethod/Displacements.h"

#include <algorithm>
#include <cmath>
#include <span>
#include <stdexcept>

#include "analysis/Statics.h"
#include "forcemethod/ForceMethodTexts.h"
#include "forcemethod/ModelSolution.h"
#include "forcemethod/ResultTables.h"
#include "model/CellReading.h"
#include "model/ModelTexts.h"
#include "model/NumberText.h"
#include "model/Vocabulary.h"
#include "solution/FrameStatics.h"

namespace tavrin {

namespace {

Load UnitLoad(std::string_view type, float magnitude, std::string_view direction, std::int16_t node,
              std::int16_t element = 0)
{
    return Load{std::string(type), magnitude, std::string(direction), node, element};
}

}  // namespace

std::optional<DisplacementKind> DisplacementKindOf(std::string_view text)
{
    for (std::size_t k = 0; k < DisplacementKindList.size(); ++k)
        if (DisplacementKindList[k] == text)
            return static_cast<DisplacementKind>(k);
    return std::nullopt;
}

std::string_view DisplacementKindText(DisplacementKind kind)
{
    return DisplacementKindList[static_cast<std::size_t>(kind)];
}

bool VirtualLoadOf(const StructureModel& model, DisplacementRequest request, OneBasedTable<Load>& load,
                   MessageSink& messages)
{
    const Node* node = model.Nodes.Find(request.node);
    if (!node) {
        messages.Show(DisplacementNodeMissingText(request.node));
        return false;
    }
    const bool hinge = node->JointType == kHingedJoint;
    int members = 0;
    for (const Element& element : model.Elements)
        members += (element.INode == request.node) + (element.JNode == request.node);
    OneBasedTable<Load> unit;
    switch (request.kind) {
        case DisplacementKind::Horizontal:
            unit.Append(UnitLoad(kConcentratedLoad, 1.0f, kRightward, request.node));
            break;
        case DisplacementKind::Vertical:
            unit.Append(UnitLoad(kConcentratedLoad, 1.0f, kUpward, request.node));
            break;
        case DisplacementKind::Rotation:
            // At the end of one member (a pinned end) the rotation is that
            // member's; where a hinge joins several, each side turns its own way.
            if (!EndsHeldRigidly(model, request.node) && members > 1) {
                messages.Show(RotationAtHingeText(request.node));
                return false;
            }
            unit.Append(UnitLoad(kCouple, 1.0f, kCounterClockwise, request.node));
            break;
        case DisplacementKind::HingeRotation: {
            // The member that ends at the hinge and the one that starts there:
            // the walk hands the moment on from the first to the second.
            std::int16_t ending = 0, starting = 0;
            for (std::int16_t e = 1; e <= model.ElementCount(); ++e) {
                if (model.Elements.at(e).JNode == request.node && ending == 0)
                    ending = e;
                if (model.Elements.at(e).INode == request.node && starting == 0)
                    starting = e;
            }
            if (!hinge || ending == 0 || starting == 0) {
                messages.Show(NoHingeText(request.node));
                return false;
            }
            unit.Append(UnitLoad(kCouple, 1.0f, kCounterClockwise, request.node, starting));
            unit.Append(UnitLoad(kCouple, -1.0f, kClockwise, request.node, ending));
            break;
        }
    }
    load = std::move(unit);
    return true;
}

// The unit load on the structure as typed (the basic system), by its
// statics in double; the reactions and end forces are also kept in the
// records the tables and the M̄ diagram read.
bool ComputeVirtualLoadForces(const StructureModel& model, const OneBasedTable<Load>& load, VirtualLoadForces& forces,
                              MessageSink& messages)
{
    std::string why;
    const std::optional<CaseLoads> loads = ReadCaseLoads(model, load, why);
    const std::optional<CaseForces> solved = loads ? SolveStatics(model, *loads, why) : std::nullopt;
    if (!solved) {
        messages.Show(why);
        return false;
    }
    VirtualLoadForces f;
    f.load = load;
    f.forces = *solved;
    f.reactions = model.Supports;
    for (std::int16_t s = 1; s <= model.SupportCount(); ++s) {
        const ReactionForces& r = solved->supports[static_cast<std::size_t>(s - 1)];
        Support& out = f.reactions.at(s);
        out.Fx = static_cast<float>(r.Fx);
        out.Fy = static_cast<float>(r.Fy);
        out.Fm = static_cast<float>(r.Fm);
    }
    f.endForces = model.Elements;
    for (std::int16_t e = 1; e <= model.ElementCount(); ++e) {
        const MemberForces& m = solved->members[static_cast<std::size_t>(e - 1)];
        Element& element = f.endForces.at(e);
        element.Ni = static_cast<float>(m.i.N);
        element.Vi = static_cast<float>(m.i.V);
        element.Mi = static_cast<float>(m.i.M);
        element.Nj = static_cast<float>(m.j.N);
        element.Vj = static_cast<float>(m.j.V);
        element.Mj = static_cast<float>(m.j.M);
    }
    forces = std::move(f);
    return true;
}

bool RealMomentsKnown(const StructureModel& model, const CalculationState& calc)
{
    return calc.analysed && calc.progress.Holds(Product::FinalForces) && StillAsAnalysed(model, calc);
}

bool ComputeDisplacement(const StructureModel& model, const CalculationState& calc, DisplacementRequest request,
                         Displacement& result, MessageSink& messages)
{
    if (!RealMomentsKnown(model, calc)) {
        messages.Show(kRealMomentsMissing);
        return false;
    }
    if (const std::vector<std::int16_t> zero = ElementsWithoutStiffness(model); !zero.empty()) {
        messages.Show(ZeroStiffnessText(ElementListText(zero)));
        return false;
    }
    const std::optional<ForceMethodSolution> solution = SolutionOfModel(model, messages);
    return solution && ComputeDisplacement(model, *solution, request, result, messages);
}

// Delta = sum over the members of int M M̄ / EI dx, M the original
// structure's moment curve (exact over its pieces), M̄ the unit load's on the
// basic system (reduction theorem). A sum that cancels to within 1e-9 of
// the size its terms could have is a displacement the restraints hold: 0.
bool ComputeDisplacement(const StructureModel& model, const ForceMethodSolution& solution, DisplacementRequest request,
                         Displacement& result, MessageSink& messages)
{
    Displacement d;
    d.request = request;
    if (!VirtualLoadOf(model, request, d.unit.load, messages) ||
        !ComputeVirtualLoadForces(model, d.unit.load, d.unit, messages))
        return false;
    double magnitude = 0.0;
    for (std::int16_t e = 1; e <= model.ElementCount(); ++e) {
        const auto k = static_cast<std::size_t>(e - 1);
        const MemberForces& real = solution.total.members[k];
        const MemberForces& unit = d.unit.forces.members[k];
        d.terms.push_back(LedgerTermOf(model, e, real, solution.loads[0].members[k], unit));
        d.Delta += d.terms.back().term;
        // |int M M̄| <= sqrt(int M^2 int M̄^2): the size the sum may cancel from.
        magnitude += std::sqrt(IntegralOfProduct(real.M, real.M) * IntegralOfProduct(unit.M, unit.M)) /
                     static_cast<double>(model.Elements.at(e).EI);
    }
    // Settling supports of the basic system and heated members move the point
    // too: - sum R̄ c and sum (alpha t0 int N̄ + kappa int M̄).
    const double settled = SettlementTerm(model, d.unit.forces, solution.imposed.settlements);
    const double heated =
        TemperatureTerm(model, d.unit.forces, MemberLoadsOf(model, d.unit.load), solution.imposed.temperatures);
    d.Delta += settled + heated;
    magnitude += std::abs(settled) + std::abs(heated);
    if (std::abs(d.Delta) <= 1e-9 * magnitude)
        d.Delta = 0.0;
    result = std::move(d);
    return true;
}

std::string DisplacementName(DisplacementRequest request)
{
    return "结点" + std::to_string(request.node) + std::string(DisplacementKindText(request.kind));
}

std::string_view SenseText(double Delta)
{
    if (Delta == 0.0)
        return {};
    return Delta < 0.0 ? kOppositeSenseText : kSameSenseText;
}

TableRows UnitLoadReactionRows(const Displacement& d)
{
    TableRows rows;
    for (std::int16_t s = 1; s <= d.unit.reactions.Count(); ++s) {
        const ReactionForces& r = d.unit.forces.supports[static_cast<std::size_t>(s - 1)];
        rows.push_back(
            {std::to_string(d.unit.reactions.at(s).NodeNo), FormatForce(r.Fx), FormatForce(r.Fy), FormatForce(r.Fm)});
    }
    return rows;
}

TableRows UnitLoadEndForceRows(const Displacement& d)
{
    TableRows rows;
    for (std::size_t e = 0; e < d.unit.forces.members.size(); ++e) {
        const MemberForces& f = d.unit.forces.members[e];
        rows.push_back({std::to_string(e + 1), FormatForce(f.i.N), FormatForce(f.i.V), FormatForce(f.i.M),
                        FormatForce(f.j.N), FormatForce(f.j.V), FormatForce(f.j.M)});
    }
    return rows;
}

TableRows DisplacementRows(const Displacement& d)
{
    TableRows rows;
    // Each part under its header, the part's name before it and a blank before its rows.
    const auto part = [&rows](std::string_view name, std::span<const std::string_view> header, TableRows body) {
        rows.emplace_back(1, std::string(name));
        rows.back().insert(rows.back().end(), header.begin(), header.end());
        for (std::vector<std::string>& row : body) {
            row.insert(row.begin(), std::string());
            rows.push_back(std::move(row));
        }
    };
    part("单位荷载反力", kUnitLoadReactionHeader, UnitLoadReactionRows(d));
    part("单位荷载杆端力", kUnitLoadEndForceHeader, UnitLoadEndForceRows(d));
    rows.push_back({"图乘明细", "杆件号", "L", "EI", "Mi", "Mj", "M\u0304i", "M\u0304j", "抛物线项", "图乘项"});
    const TableRows ledger = LedgerRows({LedgerEntry{0, 0, d.terms, d.Delta, 0.0f}});
    rows.insert(rows.end(), ledger.begin(), ledger.end());
    rows.push_back({DisplacementName(d.request), FormatCoefficient(d.Delta), std::string(SenseText(d.Delta))});
    rows.push_back({"说明", std::string(kBendingOnlyNote)});
    return rows;
}

bool ReadDisplacementRequest(std::string_view nodeText, std::string_view kindText, DisplacementRequest& request,
                             MessageSink& messages)
{
    const std::optional<DisplacementKind> kind = DisplacementKindOf(kindText);
    const std::optional<std::int16_t> node = ReadIntegerCell(nodeText);
    if (!node) {
        messages.Show("结点" + IntegerCellFault(nodeText) + "！");
        return false;
    }
    if (!kind) {
        messages.Show(kDisplacementKindMissing);
        return false;
    }
    request = {*node, *kind};
    return true;
}

std::vector<Displacement> ComputeRequestedDisplacements(const StructureModel& model, const CalculationState& calc,
                                                        const CellRows& requests, MessageSink& messages)
{
    std::vector<Displacement> found;
    for (const std::vector<std::string>& row : requests) {
        DisplacementRequest request;
        Displacement d;
        if (row.size() == 2 && ReadDisplacementRequest(row[0], row[1], request, messages) &&
            ComputeDisplacement(model, calc, request, d, messages))
            found.push_back(std::move(d));
    }
    return found;
}

CellRows AllDisplacementRequests(const CellRows& fromFile, const CellRows& shown)
{
    CellRows all = fromFile;
    for (const std::vector<std::string>& row : shown)
        if (std::find(all.begin(), all.end(), row) == all.end())
            all.push_back(row);
    return all;
}

StepOutcome ShowDisplacement(CalculationContext& ctx, DisplacementRequest request, DiagramHost& host)
{
    return OutcomeOf(ctx, [request, &host](CalculationContext& watched) {
        Displacement d;
        if (!ComputeDisplacement(watched.model, watched.calc, request, d, watched.messages))
            return false;
        const std::vector<std::string> asked{std::to_string(request.node),
                                             std::string(DisplacementKindText(request.kind))};
        CellRows& shown = watched.calc.displacementsShown;
        if (std::find(shown.begin(), shown.end(), asked) == shown.end())
            shown.push_back(asked);
        ShowTable(watched, DisplacementTable, DisplacementRows(d));
        watched.form.resultFrameCaption = DisplacementName(request) + "（单位荷载法）：";
        DrawUnitLoadMomentDiagram(watched.model, d.unit.endForces, watched.canvas, host);
        return true;
    });
}

}  // namespace tavrin
