#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "model/OneBasedTable.h"

namespace tavrin {

struct Node {
    std::int16_t Number = 0;  // label only; nodes are found by position
    std::string JointType;
    float X = 0.0f;
    float Y = 0.0f;  // y grows upward
    bool operator==(const Node&) const = default;
};

// End forces: N axial, V shear, M moment at end i and end j of the member.
struct Element {
    std::int16_t Code = 0;  // label only; elements are found by position
    float EI = 0.0f;
    std::int16_t INode = 0;
    std::int16_t JNode = 0;
    float Length = 0.0f;
    float SinA = 0.0f;  // (yj - yi) / Length
    float CosA = 0.0f;  // (xj - xi) / Length
    float Ni = 0.0f, Vi = 0.0f, Mi = 0.0f;
    float Nj = 0.0f, Vj = 0.0f, Mj = 0.0f;
    bool operator==(const Element&) const = default;
};

// Reactions: Fx rightward, Fy upward, Fm clockwise positive.
struct Support {
    std::int16_t NodeNo = 0;
    std::string SupportType;
    std::string Direction;
    float Fx = 0.0f;
    float Fy = 0.0f;
    float Fm = 0.0f;
    bool operator==(const Support&) const = default;
};

// Magnitude is signed: upward, rightward and counter-clockwise positive.
// Between the nodes of member ElementNo (NodeNo 0): StartA and EndB are
// distances from end i along the member (起点a, 终点b; blank a reads 0,
// blank b the member's length) and EndMagnitude the intensity at b of a
// distributed load that varies linearly from Magnitude at a (末端大小,
// signed as Magnitude). Absent where the cell is blank; a load without them
// is one of the node or of the whole member, as always.
struct Load {
    std::string LoadType;
    float Magnitude = 0.0f;
    std::string Direction;
    std::int16_t NodeNo = 0;
    std::int16_t ElementNo = 0;
    std::optional<float> StartA;
    std::optional<float> EndB;
    std::optional<float> EndMagnitude;
    bool operator==(const Load&) const = default;
};

// A support that settles or turns (支座位移): its node, the kind
// ("水平位移" rightward, "竖向位移" upward, "转角" counter-clockwise
// positive) and the value.
struct SupportSettlement {
    std::int16_t NodeNo = 0;
    std::string Kind;
    float Value = 0.0f;
    bool operator==(const SupportSettlement&) const = default;
};

// A member heated unequally (温度改变): the temperature changes of its faces,
// left and right looking from end i to end j, the coefficient of expansion
// and the depth of its section.
struct TemperatureChangeRow {
    std::int16_t ElementNo = 0;
    float TLeft = 0.0f;
    float TRight = 0.0f;
    float Alpha = 0.0f;
    float H = 0.0f;
    bool operator==(const TemperatureChangeRow&) const = default;
};

enum class CalculationModel : std::int16_t {
    DeterminateNoAttached = 0,
    DeterminateWithAttached = 1,
    IndeterminateNoAttached = 2,
    IndeterminateWithAttached = 3,
};

// Member-end values per load case: case 0 the user's loads, case k the unit
// redundant Xk; element 1..ElementCount; end 1 = end i, end 2 = end j.
class CaseForceTable {
public:
    // Re-dimensions to cases 0..degree and elements 1..elements, all zero.
    void Resize(int degree, int elements);
    int CaseCount() const { return m_cases; }
    int ElementCount() const { return m_elements; }
    bool Has(int caseNo, int element, int end) const
    {
        return caseNo >= 0 && caseNo < m_cases && element >= 1 && element <= m_elements && (end == 1 || end == 2);
    }
    // Throws std::out_of_range outside the sized ranges. Inline: the
    // calculation reads and writes these tables member by member and case
    // by case.
    float& at(int caseNo, int element, int end) { return m_values[Index(caseNo, element, end)]; }
    float at(int caseNo, int element, int end) const { return m_values[Index(caseNo, element, end)]; }
    bool operator==(const CaseForceTable&) const = default;

private:
    std::size_t Index(int caseNo, int element, int end) const
    {
        if (!Has(caseNo, element, end))
            ThrowOutside(caseNo, element, end);
        return (static_cast<std::size_t>(caseNo) * static_cast<std::size_t>(m_elements) +
                static_cast<std::size_t>(element - 1)) *
                   2 +
               static_cast<std::size_t>(end - 1);
    }
    [[noreturn]] static void ThrowOutside(int caseNo, int element, int end);
    int m_cases = 0;
    int m_elements = 0;
    std::vector<float> m_values;
};

// Square matrix numbered 1..n in both indices.
class OneBasedMatrix {
public:
    void Recreate(int n);
    int Size() const { return m_n; }
    float& at(int i, int j);
    float at(int i, int j) const;
    bool operator==(const OneBasedMatrix&) const = default;

private:
    std::size_t Index(int i, int j) const;
    int m_n = 0;
    std::vector<float> m_values;
};

// A force that a calculated attached part exerts at one of its two nodes; it
// acts on every later part (and the basic part) that contains that node.
struct TransmittedForce {
    std::int16_t Node = 0;
    float Fx = 0.0f;  // rightward positive
    float Fy = 0.0f;  // upward positive
    bool operator==(const TransmittedForce&) const = default;
};

// What load case c acted with when its end forces were calculated: the
// support reactions (and, with attached parts, the hinge forces) the chain
// walk started from, and the loads of the case (the user's loads for case 0,
// the unit force Xc after). Kept per case, because Supports and
// TransmittedForces hold only the case calculated last.
struct CaseReactionRecord {
    OneBasedTable<Support> supports;
    std::vector<TransmittedForce> transmitted;
    OneBasedTable<Load> loads;
    bool operator==(const CaseReactionRecord&) const = default;
};

// The one structure model of a run: created by the application (or a test, or
// the batch tool) and passed by reference to every form and routine.
struct StructureModel {
    OneBasedTable<Node> Nodes;
    OneBasedTable<Element> Elements;
    OneBasedTable<Support> Supports;
    OneBasedTable<Load> Loads;
    // Supports that settle and members heated unequally, as committed.
    OneBasedTable<SupportSettlement> Settlements;
    OneBasedTable<TemperatureChangeRow> Temperatures;
    // The user's loads while Loads holds unit forces.
    OneBasedTable<Load> SavedLoads;
    // True from the first time unit forces replace the user's loads until the
    // calculation puts SavedLoads back, or until a load table is committed:
    // that table is the user's loads from then on, so the flag alone tells
    // where the user's loads are.
    bool UnitForcesInLoads = false;
    const OneBasedTable<Load>& UserLoads() const { return UnitForcesInLoads ? SavedLoads : Loads; }

    std::int16_t NodeCount() const { return Nodes.Count(); }
    std::int16_t ElementCount() const { return Elements.Count(); }
    std::int16_t SupportCount() const { return Supports.Count(); }
    std::int16_t LoadCount() const { return Loads.Count(); }
    std::int16_t SavedLoadCount() const { return SavedLoads.Count(); }

    // RestraintCount summed over the supports at commit.
    std::int16_t SupportConstraintCount = 0;
    std::int16_t IndeterminacyDegree = 0;
    CalculationModel CalcModel = CalculationModel::DeterminateNoAttached;

    // Model point (x, y) is drawn at
    //   px = (x - ModelMinX) * DrawScale + DrawOriginX
    //   py = DrawOriginY - (y - ModelMinY) * DrawScale   (picture y downward)
    double DrawScale = 0.0;
    double DrawOriginX = 0.0;
    double DrawOriginY = 0.0;
    double ModelMinX = 0.0;
    double ModelMinY = 0.0;

    CaseForceTable CaseAxialForces;
    CaseForceTable CaseShearForces;
    CaseForceTable CaseMoments;
    OneBasedMatrix FlexibilityMatrix;       // delta_ij, 1..n x 1..n
    OneBasedTable<float> FreeTerms;         // Delta_ip, 1..n
    OneBasedTable<double> RedundantForces;  // X_1..X_n

    std::vector<TransmittedForce> TransmittedForces;
    // Entry c (0..n): the record of load case c, empty until its end forces
    // are calculated; sized and emptied with the case tables.
    std::vector<std::optional<CaseReactionRecord>> CaseReactions;
    // Loads (entry = load number - 1) that the attached parts have counted: a
    // force or couple at a node shared with a later part acts once, so the
    // basic parts skip it. Rebuilt with TransmittedForces by every
    // attached-part step; ignored when its size differs from LoadCount().
    std::vector<bool> LoadsCountedByAttachedParts;

    // Which input table the input grid shows: 0 nodes, 1 elements,
    // 2 supports, 3 loads, 4 settlements, 5 temperature changes.
    std::int16_t InputTableKind = 0;
    // "T" typed in the text editor, "F" chosen from a list; one per column.
    std::vector<std::string> ColumnEditorKinds;

    // Picture position of node n's model point; false when n is no node.
    bool NodePicturePoint(long n, double& px, double& py) const;
    double PictureX(double x) const { return (x - ModelMinX) * DrawScale + DrawOriginX; }
    double PictureY(double y) const { return DrawOriginY - (y - ModelMinY) * DrawScale; }

    // Sizes the three case tables and the case reactions for cases
    // 0..IndeterminacyDegree.
    void SizeCaseTables();

    // Forgets every result of a calculation, for a structure whose nodes,
    // members or supports have changed since: end forces and reactions read
    // 0 again, so a diagram draws as before any calculation, and the case
    // tables are emptied, so every step of the calculation analysed before
    // asks for a new analysis. Loads and SavedLoads stay as they are.
    void ClearResults();

    bool operator==(const StructureModel&) const = default;
};

}  // namespace tavrin
