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

bool CaseForceTable::Has(int caseNo, int element, int end) const
{
    return caseNo >= 0 && caseNo < m_cases && element >= 1 && element <= m_elements && (end == 1 || end == 2);
}

std::size_t CaseForceTable::Index(int caseNo, int element, int end) const
{
    if (!Has(caseNo, element, end))
        throw std::out_of_range("case table (" + std::to_string(caseNo) + ", " + std::to_string(element) + ", " +
                                std::to_string(end) + ") outside its size");
    return (static_cast<std::size_t>(caseNo) * static_cast<std::size_t>(m_elements) +
            static_cast<std::size_t>(element - 1)) * 2 + static_cast<std::size_t>(end - 1);
}

float& CaseForceTable::at(int caseNo, int element, int end) { return m_values[Index(caseNo, element, end)]; }
float CaseForceTable::at(int caseNo, int element, int end) const { return m_values[Index(caseNo, element, end)]; }

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

float& OneBasedMatrix::at(int i, int j) { return m_values[Index(i, j)]; }
float OneBasedMatrix::at(int i, int j) const { return m_values[Index(i, j)]; }

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
}

}  // namespace tavrin
