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
// The coefficient table and the table of unknowns are titled by what they
// hold, so that no table shows under the title of the one before it.
inline constexpr std::string_view kCoefficientTitle = "系数和自由项计算结果：";
inline constexpr std::string_view kRedundantTitle = "未知力求解结果：";

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

// " i", "δi1".."δin", "Δip" and the rows of δij and Δip in "0.###", titled
// kCoefficientTitle; the column widths of the previous table stay.
void FillCoefficientTable(TextGrid& grid, std::string& frameCaption, const StructureModel& model, int degree);
// "未知力", "X1".."Xn" and the unknowns in row 1, cell (1, 0) empty, titled
// kRedundantTitle.
void FillRedundantTable(TextGrid& grid, std::string& frameCaption, const StructureModel& model, int degree);

// The sign conventions of the result tables, by a header that only that kind
// of table holds; the first entry whose header the table's header row holds
// gives its legend. The member forces are those of the end-force walk: N
// tension positive; V the force on the part toward end j along the left
// normal looking from end i to end j, which turns that part clockwise; M
// stretching the left side, which is the side the moment diagram is drawn
// on. Reactions act on the structure, Fm clockwise as the headers say. A unit
// force acts +1 along its axis, rightward, upward or counter-clockwise,
// whatever arrow its row names, and so do Xi and the displacements along it.
struct SignLegendRow {
    std::string_view header;
    std::string_view legend;
};
inline constexpr SignLegendRow kSignLegends[] = {
    {" Vi ",
     "符号规定：Ni、Nj以受拉为正；Vi、Vj以使杆段顺时针转动为正；Mi、Mj以使杆件左侧（由i端看向j端）受拉为正，"
     "i端在左的水平杆即上侧受拉；弯矩图画在受拉一侧。"},
    {" Fvi ",
     "符号规定：Fni、Fnj以受拉为正；Fvi、Fvj以使杆段顺时针转动为正；Fmi、Fmj以使杆件左侧（由i端看向j端）受拉为正，"
     "i端在左的水平杆即上侧受拉；弯矩图画在受拉一侧。"},
    {" Fqi ",
     "符号规定：Fni、Fnj以受拉为正；Fqi、Fqj以使杆段顺时针转动为正；Fmi、Fmj以使杆件左侧（由i端看向j端）受拉为正，"
     "i端在左的水平杆即上侧受拉；弯矩图画在受拉一侧。"},
    {"前图Mi", "符号规定：各弯矩图的杆端值Mi、Mj以使杆件左侧（由i端看向j端）受拉为正。"},
    {"Fm(顺时针为正)", "符号规定：反力是支座（或铰）作用于结构的力，Fx以向右为正，Fy以向上为正，Fm以顺时针为正。"},
    {"Fx(向右为正)", "符号规定：反力是支座（或铰）作用于结构的力，Fx以向右为正，Fy以向上为正。"},
    {"Δip",
     "符号规定：各系数和自由项是沿Xi正向的位移；Xi的正向是其单位力所在轴的正向（向右、向上或逆时针），"
     "与单位力表中所选的箭头无关。"},
    {kRedundantRowHeader,
     "符号规定：Xi为正即沿其单位力所在轴的正向（向右、向上或逆时针），与单位力表中所选的箭头无关。"},
};

// The sign conventions of the table a grid shows, as one line under it
// (kSignLegends); empty for a table without signed forces.
std::string_view SignLegend(const TextGrid& grid);

}  // namespace tavrin
