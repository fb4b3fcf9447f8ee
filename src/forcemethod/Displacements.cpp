#include "forcemethod/Displacements.h"

#include <cmath>
#include <stdexcept>

#include "analysis/Statics.h"
#include "forcemethod/ForceMethodTexts.h"
#include "forcemethod/ResultTables.h"
#include "model/CellReading.h"
#include "model/ModelTexts.h"
#include "model/NumberText.h"
#include "model/Vocabulary.h"

namespace tavrin {

namespace {

Load UnitLoad(std::string_view type, float magnitude, std::string_view direction, std::int16_t node,
              std::int16_t element = 0)
{
    return Load{std::string(type), magnitude, std::string(direction), node, element};
}

bool AllFinite(const VirtualLoadForces& f)
{
    for (const Support& s : f.reactions)
        if (!std::isfinite(s.Fx) || !std::isfinite(s.Fy) || !std::isfinite(s.Fm))
            return false;
    for (const Element& e : f.endForces)
        for (const float v : {e.Ni, e.Vi, e.Mi, e.Nj, e.Vj, e.Mj})
            if (!std::isfinite(v))
                return false;
    return true;
}

// The reactions of the load in Loads, by the route the calculation took for
// its own load cases: the attached parts, then the basic parts, or the whole
// structure at once.
bool ComputeReactions(StructureModel& model, const CalculationState& calc, MessageSink& messages)
{
    if (calc.kind == CalculationModel::DeterminateNoAttached || calc.kind == CalculationModel::IndeterminateNoAttached)
        return ComputeSupportReactions(model, messages);
    if (!calc.attachedPartsConfirmed || !calc.basicPartsConfirmed) {
        messages.Show(calc.attachedPartsConfirmed ? kBasicPartsMissing : kAttachedPartsMissing);
        return false;
    }
    MemoryGrid attached(10, AttachedPartResultTable.cols);
    MemoryGrid basic(10, BasicPartResultTable.cols);
    return ComputeAttachedPartReactions(model, calc.attachedPartRows, attached, messages) &&
           ComputeBasicPartReactions(model, calc.basicPartRows, basic, messages);
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
            if (hinge && members > 1) {
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

// The copy's Loads hold the unit load alone; its case slot 0 receives the
// end forces and its reactions are read from the record of that slot,
// because the walk of an indeterminate structure clears them after reading.
bool ComputeVirtualLoadForces(const StructureModel& model, const CalculationState& calc,
                              const OneBasedTable<Load>& load, VirtualLoadForces& forces, MessageSink& messages)
{
    StructureModel copy = model;
    copy.Loads = load;
    copy.UnitForcesInLoads = false;
    copy.LoadsCountedByAttachedParts.clear();
    // The chain warnings were shown with the calculation; only a refusal
    // is passed on.
    RecordingMessages quiet;
    VirtualLoadForces f;
    try {
        if (!ComputeReactions(copy, calc, quiet) || copy.CaseReactions.empty()) {
            messages.Show(quiet.shown.empty() ? kCalculationError : std::string_view(quiet.shown.back().text));
            return false;
        }
        ComputeCaseEndForces(copy, 0, quiet);
        if (!copy.CaseReactions[0]) {
            messages.Show(kCalculationError);
            return false;
        }
        f.load = load;
        f.reactions = copy.CaseReactions[0]->supports;
        f.transmitted = copy.CaseReactions[0]->transmitted;
        f.endForces = model.Elements;
        for (std::int16_t e = 1; e <= copy.ElementCount(); ++e) {
            Element& element = f.endForces.at(e);
            element.Ni = copy.CaseAxialForces.at(0, e, 1);
            element.Vi = copy.CaseShearForces.at(0, e, 1);
            element.Mi = copy.CaseMoments.at(0, e, 1);
            element.Nj = copy.CaseAxialForces.at(0, e, 2);
            element.Vj = copy.CaseShearForces.at(0, e, 2);
            element.Mj = copy.CaseMoments.at(0, e, 2);
        }
    } catch (const std::exception&) {
        messages.Show(kCalculationError);
        return false;
    }
    if (!AllFinite(f)) {
        messages.Show(kOverflowText);
        return false;
    }
    forces = std::move(f);
    return true;
}

bool RealMomentsKnown(const StructureModel& model, const CalculationState& calc)
{
    return calc.analysed && calc.finalForcesDone && StillAsAnalysed(model, calc);
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
    Displacement d;
    d.request = request;
    if (!VirtualLoadOf(model, request, d.unit.load, messages) ||
        !ComputeVirtualLoadForces(model, calc, d.unit.load, d.unit, messages))
        return false;
    // The real moments carry the parabola of the user's distributed loads;
    // the unit load's diagram is straight on every member.
    const std::vector<float> q = TransverseIntensities(model);
    for (std::int16_t e = 1; e <= model.ElementCount(); ++e) {
        const Element& real = model.Elements.at(e);
        const Element& unit = d.unit.endForces.at(e);
        d.terms.push_back(MemberProduct(real, e, real.Mi, real.Mj, unit.Mi, unit.Mj, q[static_cast<std::size_t>(e)]));
        d.Delta += d.terms.back().term;
    }
    result = std::move(d);
    return true;
}

std::string DisplacementName(DisplacementRequest request)
{
    return "结点" + std::to_string(request.node) + std::string(DisplacementKindText(request.kind));
}

std::string_view SenseText(double Delta)
{
    return Delta < 0.0 ? kOppositeSenseText : kSameSenseText;
}

TableRows DisplacementRows(const Displacement& d)
{
    TableRows rows{{"单位荷载反力", "结点码", "Fx(向右为正)", "Fy(向上为正)", "Fm(顺时针为正)"}};
    for (const Support& s : d.unit.reactions)
        rows.push_back({"", std::to_string(s.NodeNo), FormatForce(s.Fx), FormatForce(s.Fy), FormatForce(s.Fm)});
    rows.push_back({"单位荷载杆端力", "杆件号", "Ni", "Vi", "M\u0304i", "Nj", "Vj", "M\u0304j"});
    for (std::int16_t e = 1; e <= d.unit.endForces.Count(); ++e) {
        const Element& f = d.unit.endForces.at(e);
        rows.push_back({"", std::to_string(e), FormatForce(f.Ni), FormatForce(f.Vi), FormatForce(f.Mi),
                        FormatForce(f.Nj), FormatForce(f.Vj), FormatForce(f.Mj)});
    }
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

StepOutcome ShowDisplacement(CalculationContext& ctx, DisplacementRequest request, DiagramHost& host)
{
    return OutcomeOf(ctx, [request, &host](CalculationContext& watched) {
        Displacement d;
        if (!ComputeDisplacement(watched.model, watched.calc, request, d, watched.messages))
            return false;
        ShowTable(watched, DisplacementTable, DisplacementRows(d));
        watched.form.resultFrameCaption = DisplacementName(request) + "（单位荷载法）：";
        DrawUnitLoadMomentDiagram(watched.model, d.unit.endForces, watched.canvas, host);
        return true;
    });
}

}  // namespace tavrin
