#pragma once

#include "model/StructureModel.h"
#include "model/Vocabulary.h"

namespace tavrin {

// The loads that act between the nodes of their member: a force with no node
// and a member; a couple with no node, a member and its distance a; a
// distributed load with a, b or the intensity at b. Every other load acts at
// a node, or (a distributed load) over its whole member, as always.
inline bool ActsBetweenNodes(const Load& load)
{
    if (load.ElementNo < 1)
        return false;
    if (load.LoadType == kConcentratedLoad)
        return load.NodeNo == 0;
    if (load.LoadType == kCouple)
        return load.NodeNo == 0 && load.StartA.has_value();
    if (load.LoadType == kDistributedLoad)
        return load.StartA || load.EndB || load.EndMagnitude;
    return false;
}

// Where on a member of length L the load acts, as distances from end i:
// [a, b] for a distributed load (blank a 0, blank b L), a = b for a force or
// a couple (blank a 0).
struct LoadSpan {
    double a = 0.0;
    double b = 0.0;
};
inline LoadSpan SpanOf(const Load& load, double L)
{
    const double a = load.StartA ? static_cast<double>(*load.StartA) : 0.0;
    if (load.LoadType != kDistributedLoad)
        return {a, a};
    return {a, load.EndB ? static_cast<double>(*load.EndB) : L};
}

// The intensities at a and at b of a distributed load, signed as stored.
inline double StartIntensity(const Load& load)
{
    return load.Magnitude;
}
inline double EndIntensity(const Load& load)
{
    return load.EndMagnitude ? static_cast<double>(*load.EndMagnitude) : static_cast<double>(load.Magnitude);
}

}  // namespace tavrin
