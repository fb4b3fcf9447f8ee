#pragma once

#include <cstdint>
#include <vector>

#include "model/StructureModel.h"
#include "solution/FrameStatics.h"

namespace tavrin {

// A support that settles or turns: x rightward, y upward, rotation
// counter-clockwise positive.
enum class SettlementKind { Horizontal, Vertical, Rotation };
struct Settlement {
    std::int16_t node = 0;
    SettlementKind kind = SettlementKind::Vertical;
    double value = 0.0;
};

// A member heated unequally: the changes of its two faces, left and right
// looking from end i to end j, the coefficient of expansion and the depth.
// t0 lengthens the member; the difference bends it, the warmer face longer.
struct TemperatureChange {
    std::int16_t element = 0;
    double tLeft = 0.0, tRight = 0.0;
    double alpha = 0.0, h = 0.0;
    double t0() const { return (tLeft + tRight) / 2.0; }
    // The curvature in the sense of a positive M (the left side stretched):
    // alpha (t_left - t_right) / h.
    double Kappa() const { return h != 0.0 ? alpha * (tLeft - tRight) / h : 0.0; }
};

// What deforms the structure besides its loads.
struct ImposedDeformation {
    std::vector<Settlement> settlements;  // at supports of the basic system
    std::vector<TemperatureChange> temperatures;
    // Entry k - 1: the prescribed displacement along Xk (the restraint the
    // unit force stands for settles), 0 where none.
    std::vector<double> alongX;
    bool Any() const;
};

// The reaction of one load case in the direction of a settlement at its
// node (the sum over the supports standing there): Fx, Fy, or for a rotation
// the counter-clockwise couple -Fm.
double ReactionAlong(const StructureModel& model, const CaseForces& forces, const Settlement& s);

// One settling support's share of Delta_ic: -R̄ c.
struct SettlementShare {
    Settlement settlement;
    double R = 0.0;  // the unit case's reaction along the settlement
    double term = 0.0;
};
std::vector<SettlementShare> SettlementShares(const StructureModel& model, const CaseForces& unit,
                                              const std::vector<Settlement>& settlements);

// One heated member's share of Delta_it: alpha t0 int N̄ ds + kappa int M̄ ds.
struct TemperatureShare {
    TemperatureChange change;
    double integralN = 0.0, integralM = 0.0;
    double term = 0.0;
};
std::vector<TemperatureShare> TemperatureShares(const StructureModel& model, const CaseForces& unit,
                                                const std::vector<MemberLoad>& unitLoads,
                                                const std::vector<TemperatureChange>& temperatures);

// Delta_ic = -sum R̄i c over the settling supports of the basic system.
double SettlementTerm(const StructureModel& model, const CaseForces& unit, const std::vector<Settlement>& settlements);

// Delta_it = sum alpha t0 int N̄i ds + sum kappa int M̄i ds over the heated
// members, N̄ and M̄ of the unit case (its members' loads give N̄ its course).
double TemperatureTerm(const StructureModel& model, const CaseForces& unit, const std::vector<MemberLoad>& unitLoads,
                       const std::vector<TemperatureChange>& temperatures);

}  // namespace tavrin
