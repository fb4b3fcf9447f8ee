#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "analysis/StaticsTexts.h"

namespace tavrin {

// Messages of the calculation: a step asked for before its inputs, the
// supplementary input refused, the coefficients and the canonical equations.
// Titles and part names come from the statics (kWarningTitle,
// kCalculationError, kAttachedPartName, kBasicPartName).

inline constexpr std::string_view kReanalyseMessage = "结构数据或超静定次数已改变，请重新进行“计算类型分析”！";
inline constexpr std::string_view kAttachedPartsMissing = "请先输入附属部分补充信息，并按“O&K”确认！";
inline constexpr std::string_view kBasicPartsMissing = "请先输入基本部分补充信息，并按“O&K”确认！";
inline constexpr std::string_view kCoefficientsMissing = "请先计算自由项系数！";
inline constexpr std::string_view kUnknownsMissing = "请先求解未知力！";
inline constexpr std::string_view kFinalForcesMissing = "请先计算构件总内力！";
inline constexpr std::string_view kMemberForcesMissing = "请先计算各构件内力！";
// The case reactions recorded do not fit together (a case calculated with
// other part rows or supports).
inline constexpr std::string_view kCaseReactionsMissing = "各工况的支座反力不全或不一致，请按顺序重新计算各项！";

// What a row of a part table must hold: "请先在附属部分补充信息第1行输入结点码和单元号，并按“O&K”确认！".
inline constexpr std::string_view kAttachedPartRowHolds = "结点码和单元号";
inline constexpr std::string_view kBasicPartRowHolds = "单元号";
inline std::string PartRowMissingText(std::string_view part, int row, std::string_view holds)
{
    return "请先在" + std::string(part) + "补充信息第" + std::to_string(row) + "行输入" + std::string(holds) +
           "，并按“O&K”确认！";
}

// "单位未知力X2".
inline std::string UnitForceName(int k)
{
    return "单位未知力X" + std::to_string(k);
}
// "未知力X2": the redundant itself, among the final reactions.
inline std::string RedundantName(int k)
{
    return "未知力X" + std::to_string(k);
}
// The loads of load case c: "外荷载" for 0, the unit force Xc after.
inline std::string CaseName(int caseNo)
{
    return caseNo == 0 ? std::string("外荷载") : UnitForceName(caseNo);
}
inline std::string ReactionsMissingText(int caseNo)
{
    return "请先计算" + CaseName(caseNo) + "作用下的支座反力！";
}
inline std::string EndForcesMissingText(int caseNo)
{
    return "请先计算" + CaseName(caseNo) + "作用下的各构件内力！";
}
// The menu's moment diagrams of the load cases, before any case has its end forces.
inline constexpr std::string_view kNoCaseDiagram = "请先计算外荷载或单位力作用下的各构件内力！";
inline std::string UnitForceMissingText(int k)
{
    return "请先在“" + UnitForceName(k) + "”的输入表中输入单位力，并按“交互检查”！";
}

// The unit-force table, each refusal after the row's RowPlace.
inline constexpr std::string_view kNoUnitForceRows = "请先在表中输入单位未知力，再按“交互检查”！";
inline std::string UnitForceKindFault(std::string_view type)
{
    return "单位未知力只能是“集中荷载”或“力偶”，不能是“" + std::string(type) + "”！";
}
// "作用结点“x4”不是数字！": `reason` as NotANumberReason writes it.
inline std::string NamedCellFaultText(std::string_view column, std::string_view reason)
{
    return std::string(column) + std::string(reason) + "！";
}
// "作用结点“9”不存在！": `column` the header of the cell's column.
inline std::string NamedCellMissingText(std::string_view column, std::string_view text)
{
    return std::string(column) + "“" + std::string(text) + "”不存在！";
}
// "作用结点“5”不在任何单元上！".
inline std::string NodeOffTheMembersText(std::string_view column, std::string_view text)
{
    return std::string(column) + "“" + std::string(text) + "”不在任何单元上！";
}
// A row the statics could not read as one load: `reason` as the model type
// analysis words it.
inline std::string UnitForceRowFaultText(std::string_view reason)
{
    return std::string(reason) + "！";
}
// "荷载方向“顺时针”不适用于集中荷载！".
inline std::string DirectionUnfitText(std::string_view column, std::string_view direction, std::string_view type)
{
    return std::string(column) + "“" + std::string(direction) + "”不适用于" + std::string(type) + "！";
}
// Unit force Xk that repeats another one applied, or combines several: "X2与X1相同，典型方程将无解！",
// "X3与X1、X2线性相关，典型方程将无解！".
inline std::string DependentUnitForcesText(int k, const std::vector<int>& others)
{
    std::string names;
    for (const int j : others)
        names += (names.empty() ? "X" : "、X") + std::to_string(j);
    return "X" + std::to_string(k) + "与" + names + (others.size() == 1 ? "相同" : "线性相关") + "，典型方程将无解！";
}
// After a part cell that is no integer: "第1行“单元1”列：“x4”不是数字，请改正后再按“O&K”确认！".
inline constexpr std::string_view kCorrectAndConfirm = "，请改正后再按“O&K”确认！";

// Coefficients: "单元2的EI或长度为零，不能计算系数!" (members as ElementListText
// writes them).
inline std::string ZeroStiffnessText(std::string_view members)
{
    return std::string(members) + "的EI或长度为零，不能计算系数!";
}
inline constexpr std::string_view kCaseMomentsUnsized =
    "系数计算错误：各工况的杆端弯矩尚未按当前单元数和超静定次数计算，请先进行计算类型分析和各内力计算!";

// The canonical equations.
inline constexpr std::string_view kCoefficientsUnsized =
    "未知力求解错误：系数与自由项尚未按当前超静定次数形成，请先计算“自由项系数”!";
inline constexpr std::string_view kSingularSystemText = "主系数为零,方程线性相关,无解!";
// A row of coefficients no larger than 1e-30 from the start, not cancelled
// by the other rows.
inline constexpr std::string_view kCoefficientsTooSmallText =
    "系数过小（绝对值不超过1e-30），单精度数值无法求解，请检查EI是否过大、结点坐标是否过小！";
// Shown beside unknowns that the rounding of the float coefficients may
// move by 1 % or more.
inline constexpr std::string_view kIllConditionedText =
    "典型方程组病态，系数的舍入误差可能使未知力的误差超过1%，计算结果仅供参考！";
// A step's results, a pivot or an unknown beyond the 32-bit float range.
inline constexpr std::string_view kOverflowText = "计算结果超出数值范围，请检查荷载、EI和结点坐标是否过大或过小！";

// A settlement row whose node is held in its direction neither by a support
// of the basic system nor by the restraint of a unit force.
inline std::string SettlementUnheldText(int row, int node, const std::string& kind)
{
    return "支座位移表第" + std::to_string(row) + "行：结点" + std::to_string(node) + "的" + kind +
           "方向在原结构中没有约束（既无基本体系的支座，也不是某个未知力的方向），不能给定支座位移！";
}

// The 32-bit tables against the double solution.
inline std::string TableDeviationText(const std::string& amount, int member, const std::string& quantity)
{
    return "构件内力表按32位浮点数计算，与双精度解最多相差" + amount + "（杆件" + std::to_string(member) + "的" +
           quantity + "），表中末位数字不可靠；位移、校核和计算书按双精度解计算。";
}

// The choice of the basic system of a structure typed whole.
inline constexpr std::string_view kChooseBasicSystemTitle = "选择基本体系";
inline constexpr std::string_view kCompareBasicSystemTitle = "换一个基本体系";
inline constexpr std::string_view kRecommendCaption = "推荐";
inline constexpr std::string_view kChooseCaption = "确定";
inline constexpr std::string_view kCancelChoiceCaption = "取消";
inline std::string BasicSystemLead(int degree)
{
    return "结构是" + std::to_string(degree) + "次超静定的。勾选要去掉的" + std::to_string(degree) +
           "个多余约束，去掉后的静定结构即基本体系，未知力X1、X2…依勾选顺序作用在去掉的约束处：";
}
inline constexpr std::string_view kRecommendationRule =
    "推荐规则：先只去掉支座约束，不够时再去掉刚结点的弯矩连续；同样情况下取图乘非零项最少的，再取δ矩阵条件数最小的。";
inline constexpr std::string_view kComparisonNote = "两种基本体系的δ、Δ和X不同，图乘的工作量不同，最终弯矩相同。";
inline constexpr std::string_view kNoBasicSystemToCompare =
    "请先完成计算（给出全部单位未知力），再换一个基本体系比较！";

}  // namespace tavrin
