#pragma once

#include <array>
#include <string>
#include <string_view>

#include "model/StructureModel.h"
#include "model/TextGrid.h"

namespace tavrin {

// Where a result table takes its row count from: one data row per support,
// per element, or a fixed ten rows that the reaction routines fill and grow.
enum class ResultRows { PerSupport, PerElement, Ten };

// A titled result table of MSFlexGrid2: header row, column count, rows and
// one width (twips) for every column.
struct ResultLayout {
    std::array<std::string_view, 7> headers;
    int cols;
    ResultRows rows;
    int width;
};

inline constexpr ResultLayout SupportReactionTable{
    {"支座结点码", "支座类型", "Fx(向右为正)", "Fy(向上为正)", "Fm(顺时针为正)"}, 5, ResultRows::PerSupport, 1350};
// End forces of the elements of a determinate structure without attached parts.
inline constexpr ResultLayout MemberForceTable{
    {"杆件号", " Ni ", " Vi ", " Mi ", " Nj ", " Vj ", " Mj "}, 7, ResultRows::PerElement, 960};
// The same with attached parts.
inline constexpr ResultLayout AttachedMemberForceTable{
    {"杆件号", " Fni ", " Fvi ", " Fmi ", " Fnj ", " Fvj ", " Fmj "}, 7, ResultRows::PerElement, 960};
// The end forces of one load case, and the superposed total end forces.
inline constexpr ResultLayout CaseMemberForceTable{
    {"杆件号", " Fni ", " Fqi ", " Fmi ", " Fnj ", " Fqj ", " Fmj "}, 7, ResultRows::PerElement, 960};
inline constexpr ResultLayout TotalMemberForceTable = CaseMemberForceTable;
// Fy before Fx, as the attached-part routine writes its rows.
inline constexpr ResultLayout AttachedPartResultTable{
    {"结点码", "类型", "Fy(向上为正)", "Fx(向右为正)"}, 4, ResultRows::Ten, 1600};
inline constexpr ResultLayout BasicPartResultTable{
    {"支座结点码", "支座类型", "Fx(向右为正)", "Fy(向上为正)", "Fm(顺时针为正)"}, 5, ResultRows::Ten, 1350};

// The first header of the coefficient table and of the table of unknowns.
inline constexpr std::string_view kCoefficientRowHeader = " i";
inline constexpr std::string_view kRedundantRowHeader = "未知力";

inline constexpr std::string_view kSupportReactionTitle = "支座反力计算结果：";
inline constexpr std::string_view kMemberForceTitle = "各杆件内力计算结果：";
inline constexpr std::string_view kAttachedPartTitle = "附属部分支座/铰结点反力计算结果：";
inline constexpr std::string_view kBasicPartTitle = "基本部分支座/铰结点反力计算结果：";
inline constexpr std::string_view kTotalMemberForceTitle = "各杆件总内力计算结果：";

// "外荷载下支座反力计算结果：" for case 0, "单位未知力X" k "支座反力计算结果："
// for the unit force Xk.
std::string CaseReactionTitle(int caseNo);
// "荷载作用下各杆件内力计算结果：" for case 0, "单位未知力X" k
// "各杆件内力计算结果：" for Xk.
std::string CaseMemberForceTitle(int caseNo);

// Sets the frame title, empties the grid within its old size, then sets the
// column count, the row count, each column's width and header.
void SetUpResultTable(TextGrid& grid, std::string& frameCaption, const ResultLayout& layout, std::string_view title,
                      const StructureModel& model);

// Data rows from row 1 on, numbers in "0.##".
void FillSupportRows(TextGrid& grid, const StructureModel& model);
void FillMemberRows(TextGrid& grid, const StructureModel& model);
void FillCaseMemberRows(TextGrid& grid, const StructureModel& model, int caseNo);

// " i", "δi1".."δin", "Δip" and the rows of δij and Δip in "0.###"; the
// title and the column widths of the previous table stay.
void FillCoefficientTable(TextGrid& grid, const StructureModel& model, int degree);
// "未知力", "X1".."Xn" and the unknowns in row 1, cell (1, 0) empty.
void FillRedundantTable(TextGrid& grid, const StructureModel& model, int degree);

}  // namespace tavrin
