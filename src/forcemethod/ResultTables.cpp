#include "forcemethod/ResultTables.h"

#include "forcemethod/ModelSolution.h"

#include "analysis/PartRows.h"
#include "forcemethod/ForceMethodTexts.h"
#include "model/NumberText.h"

namespace tavrin {

namespace {

int RowCount(ResultRows rows, const StructureModel& model)
{
    switch (rows) {
        case ResultRows::PerSupport:
            return model.SupportCount() + 1;
        case ResultRows::PerElement:
            return model.ElementCount() + 1;
        case ResultRows::Ten:
            return 10;
    }
    return 1;
}

// A case-table value, 0 where the table was sized for another structure.
float CaseValue(const CaseForceTable& table, int caseNo, int element, int end)
{
    return table.Has(caseNo, element, end) ? table.at(caseNo, element, end) : 0.0f;
}

void WriteForces(TextGrid& grid, int row, int firstCol, std::initializer_list<float> values)
{
    int c = firstCol;
    for (float v : values)
        grid.SetText(row, c++, FormatForce(v));
}

}  // namespace

std::string CaseReactionTitle(int caseNo)
{
    if (caseNo == 0)
        return "外荷载下支座反力计算结果：";
    return UnitForceName(caseNo) + std::string(kSupportReactionTitle);
}

std::string CaseMemberForceTitle(int caseNo)
{
    if (caseNo == 0)
        return "荷载作用下各杆件内力计算结果：";
    return UnitForceName(caseNo) + std::string(kMemberForceTitle);
}

void SetUpResultTable(TextGrid& grid, std::string& frameCaption, const ResultLayout& layout, std::string_view title,
                      const StructureModel& model)
{
    frameCaption = std::string(title);
    ClearGrid(grid);
    grid.SetCols(layout.cols);
    grid.SetRows(RowCount(layout.rows, model));
    for (int c = 0; c < layout.cols; ++c) {
        grid.SetColWidth(c, layout.width);
        grid.SetText(0, c, layout.headers[static_cast<std::size_t>(c)]);
    }
}

void FillSupportRows(TextGrid& grid, const StructureModel& model)
{
    for (int r = 1; r <= model.SupportCount(); ++r) {
        const std::array<std::string, 5> cells = SupportRowCells(model.Supports.at(r));
        for (std::size_t c = 0; c < cells.size(); ++c)
            grid.SetText(r, static_cast<int>(c), cells[c]);
    }
}

void FillMemberRows(TextGrid& grid, const StructureModel& model)
{
    for (int e = 1; e <= model.ElementCount(); ++e) {
        const Element& el = model.Elements.at(e);
        grid.SetText(e, 0, std::to_string(e));
        WriteForces(grid, e, 1, {el.Ni, el.Vi, el.Mi, el.Nj, el.Vj, el.Mj});
    }
}

void FillCaseMemberRows(TextGrid& grid, const StructureModel& model, int caseNo)
{
    for (int e = 1; e <= model.ElementCount(); ++e) {
        grid.SetText(e, 0, std::to_string(e));
        WriteForces(grid, e, 1,
                    {CaseValue(model.CaseAxialForces, caseNo, e, 1), CaseValue(model.CaseShearForces, caseNo, e, 1),
                     CaseValue(model.CaseMoments, caseNo, e, 1), CaseValue(model.CaseAxialForces, caseNo, e, 2),
                     CaseValue(model.CaseShearForces, caseNo, e, 2), CaseValue(model.CaseMoments, caseNo, e, 2)});
    }
}

void FillCoefficientTable(TextGrid& grid, std::string& frameCaption, const StructureModel& model, int degree)
{
    frameCaption = std::string(kCoefficientTitle);
    ClearGrid(grid);
    grid.SetCols(degree + 2);
    grid.SetRows(degree + 1);
    grid.SetText(0, 0, kCoefficientRowHeader);
    for (int j = 1; j <= degree; ++j)
        grid.SetText(0, j, "δi" + std::to_string(j));
    grid.SetText(0, degree + 1, "Δip");
    const bool formed = model.FlexibilityMatrix.Size() == degree && model.FreeTerms.Count() == degree;
    // Settlements and temperature changes add their columns only when the
    // structure has them.
    const ImposedTerms imposed = formed ? ImposedTermsOf(model) : ImposedTerms{};
    if (imposed.Any()) {
        grid.SetCols(degree + 5);
        grid.SetText(0, degree + 2, "Δic");
        grid.SetText(0, degree + 3, "Δit");
        grid.SetText(0, degree + 4, "ci");
    }
    for (int i = 1; i <= degree; ++i) {
        grid.SetText(i, 0, std::to_string(i));
        if (!formed)
            continue;
        for (int j = 1; j <= degree; ++j)
            grid.SetText(i, j, FormatCoefficient(model.FlexibilityMatrix.at(i, j)));
        grid.SetText(i, degree + 1, FormatCoefficient(model.FreeTerms.at(i)));
        if (imposed.Any()) {
            const auto k = static_cast<std::size_t>(i - 1);
            grid.SetText(i, degree + 2, FormatCoefficient(imposed.Dc[k]));
            grid.SetText(i, degree + 3, FormatCoefficient(imposed.Dt[k]));
            grid.SetText(i, degree + 4, FormatCoefficient(imposed.c[k]));
        }
    }
}

void FillRedundantTable(TextGrid& grid, std::string& frameCaption, const StructureModel& model, int degree)
{
    frameCaption = std::string(kRedundantTitle);
    ClearGrid(grid);
    grid.SetCols(degree + 1);
    grid.SetRows(2);
    grid.SetText(0, 0, kRedundantRowHeader);
    for (int j = 1; j <= degree; ++j) {
        grid.SetText(0, j, "X" + std::to_string(j));
        const double x = model.RedundantForces.Has(j) ? model.RedundantForces.at(j) : 0.0;
        grid.SetText(1, j, FormatCoefficient(x));
    }
}

std::string_view SignLegend(const TextGrid& grid)
{
    if (grid.Rows() < 1)
        return {};
    for (const SignLegendRow& row : kSignLegends)
        for (int c = 0; c < grid.Cols(); ++c)
            if (grid.Text(0, c) == row.header)
                return row.legend;
    return {};
}

}  // namespace tavrin
