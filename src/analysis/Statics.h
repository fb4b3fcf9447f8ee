#pragma once

#include <cstdint>
#include <span>
#include <vector>

#include "model/Messages.h"
#include "model/StructureModel.h"
#include "model/TextGrid.h"

namespace tavrin {

// Loads on a set of elements reduced about node O. Moment: clockwise
// positive for force terms (a rightward force above O, a downward force to
// the right of O); couples enter with the same clockwise sense. Fx rightward,
// Fy upward positive. All sums in 32-bit floats.
struct LoadResultants {
    float Moment = 0.0f;
    float Fx = 0.0f;
    float Fy = 0.0f;
};

// Intensities of the distributed loads on one member, per unit of projected
// length and signed as stored (upward and rightward positive): qh sums the
// horizontal loads, qv the vertical ones, each a 32-bit sum in the order of
// the load table.
struct DistributedIntensity {
    float qh = 0.0f;
    float qv = 0.0f;
    bool Any() const { return qh != 0.0f || qv != 0.0f; }
};

// The intensities on members 1..elementCount under `loads`; a distributed
// load that names no member in that range acts on none.
OneBasedTable<DistributedIntensity> SumDistributedLoads(const OneBasedTable<Load>& loads, std::int16_t elementCount);

// `skipLoads` (optional, indexed by load number - 1): loads already counted
// by an earlier part, so that a nodal load at a node shared by two parts is
// counted once.
LoadResultants SumLoadResultants(const StructureModel& model, std::span<const std::int16_t> elementList,
                                 std::int16_t momentNode, const std::vector<bool>* skipLoads = nullptr);

// Reactions of a determinate single structure under the loads in `Loads`,
// stored in Supports' Fx, Fy, Fm. On a fault (a zero divisor, an arrangement
// none of the four kinds) a message names the cause, the reactions stay as
// they were and the result is false. An unmatched arrangement that is
// Silent returns false without a message.
enum class UnmatchedArrangement { Reported, Silent };
bool ComputeSupportReactions(StructureModel& model, MessageSink& messages,
                             UnmatchedArrangement unmatched = UnmatchedArrangement::Reported);

// Attached parts, one per row of `partRows` (the attached-part input table),
// in row order; writes two rows per part into `resultGrid` (growing it when
// needed), the supports' reactions and model.TransmittedForces.
bool ComputeAttachedPartReactions(StructureModel& model, const TextGrid& partRows, TextGrid& resultGrid,
                                  MessageSink& messages);

// Basic parts, one per row of `partRows` (the basic-part input table); reads
// model.TransmittedForces; writes one row per support of each part into
// `resultGrid` and the supports' reactions.
bool ComputeBasicPartReactions(StructureModel& model, const TextGrid& partRows, TextGrid& resultGrid,
                               MessageSink& messages);

// Member end forces of load case `caseNo` (0..n) by the chain walk; warns
// once per call when the numbering breaks the chain. Records the reactions,
// hinge forces and loads it starts from in CaseReactions[caseNo] (when that
// is sized).
void ComputeCaseEndForces(StructureModel& model, std::int16_t caseNo, MessageSink& messages);

// Ni..Mj := case 0 + sum_k RedundantForces(k) * case k.
void SuperposeEndForces(StructureModel& model);

}  // namespace tavrin
