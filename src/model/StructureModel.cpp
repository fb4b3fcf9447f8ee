#include "model/StructureModel.h"

#include <stdexcept>
#include <string>

namespace tavrin {

void CaseForceTable::Resize(int degree, int elements)
{
    m_cases = degree < 0 ? 0 : degree + 1;
    m_elements = elements < 0 ? 0 : elements;
    m_values.assign(static_cast<std::size_t>(m_cases) * static_cast<std::size_t>(m_elements) * 2, 0.0f);
}

void CaseForceTable::ThrowOutside(int caseNo, int element, int end)
{
    throw std::out_of_range("case table (" + std::to_string(caseNo) + ", " + std::to_string(element) + ", " +
                            std::to_string(end) + ") outside its size");
}

void OneBasedMatrix::Recreate(int n)
{
    m_n = n < 0 ? 0 : n;
    m_values.assign(static_cast<std::size_t>(m_n) * static_cast<std::size_t>(m_n), 0.0f);
}

std::size_t OneBasedMatrix::Index(int i, int j) const
{
    if (i < 1 || i > m_n || j < 1 || j > m_n)
        throw std::out_of_range("matrix (" + std::to_string(i) + ", " + std::to_string(j) + ") outside 1.." +
                                std::to_string(m_n));
    return static_cast<std::size_t>(i - 1) * static_cast<std::size_t>(m_n) + static_cast<std::size_t>(j - 1);
}

float& OneBasedMatrix::at(int i, int j)
{
    return m_values[Index(i, j)];
}
float OneBasedMatrix::at(int i, int j) const
{
    return m_values[Index(i, j)];
}

bool StructureModel::NodePicturePoint(long n, double& px, double& py) const
{
    const Node* node = Nodes.Find(n);
    if (!node)
        return false;
    px = PictureX(node->X);
    py = PictureY(node->Y);
    return true;
}

void StructureModel::SizeCaseTables()
{
    CaseAxialForces.Resize(IndeterminacyDegree, ElementCount());
    CaseShearForces.Resize(IndeterminacyDegree, ElementCount());
    CaseMoments.Resize(IndeterminacyDegree, ElementCount());
    CaseReactions.assign(IndeterminacyDegree < 0 ? 0 : static_cast<std::size_t>(IndeterminacyDegree) + 1, std::nullopt);
}

void StructureModel::ClearResults()
{
    for (Element& e : Elements)
        e.Ni = e.Vi = e.Mi = e.Nj = e.Vj = e.Mj = 0.0f;
    for (Support& s : Supports)
        s.Fx = s.Fy = s.Fm = 0.0f;
    CaseAxialForces = {};
    CaseShearForces = {};
    CaseMoments = {};
    FlexibilityMatrix = {};
    FreeTerms.Clear();
    RedundantForces.Clear();
    TransmittedForces.clear();
    CaseReactions.clear();
    LoadsCountedByAttachedParts.clear();
}

}  // namespace tavrin
