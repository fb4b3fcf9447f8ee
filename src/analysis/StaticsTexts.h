#pragma once

#include <string>
#include <string_view>
#include "solution/SolutionTexts.h"

#include "model/ModelTexts.h"

namespace tavrin {

// Messages of the statics routines and the model type analysis. The reasons
// name what the student has to change in the model; a routine puts its own
// prefix before them. The calculation reuses the titles and the part names.

inline constexpr std::string_view kCalculationError = "计算错误!";
// Title of a message that warns: the step goes on or its result is doubtful.
inline constexpr std::string_view kWarningTitle = "警告!";
inline constexpr std::string_view kSupportReactionErrorPrefix = "支座反力计算错误：";

inline constexpr std::string_view kPinAndVerticalRollerPlumb = "铰支座与竖向活动支座在同一竖线上，无法求解!";
inline constexpr std::string_view kPinAndHorizontalRollerLevel = "铰支座与水平活动支座在同一水平线上，无法求解!";
inline constexpr std::string_view kRollerDirectionUnknown =
    "活动支座的方向不是“结点下方”“结点上方”“结点右侧”“结点左侧”之一，无法求解!";
inline constexpr std::string_view kVerticalRollersPlumb = "两个竖向活动支座在同一竖线上，无法求解!";
inline constexpr std::string_view kHorizontalRollersLevel = "两个水平活动支座在同一水平线上，无法求解!";
inline constexpr std::string_view kRollersParallel = "三个活动支座没有两两垂直的布置，结构几何可变，无法求解!";
inline constexpr std::string_view kPinsPlumb = "两个铰支座在同一竖线上，无法求解!";
inline constexpr std::string_view kHingesInLine = "两个铰支座与中间铰在同一直线上，结构几何可变，无法求解!";
inline constexpr std::string_view kNoCrownHinge = "找不到两个铰支座之间的铰结点，无法求解!";
inline constexpr std::string_view kCrownDoesNotSplit = "中间铰不能把结构分成分别连接两个铰支座的两部分，无法求解!";
inline constexpr std::string_view kArrangementUnmatched =
    "支座布置不是“铰支座加活动支座”“一个固定支座”“三个活动支座”“三铰结构”中的任何一种，无法求解!";
inline constexpr std::string_view kNumberOutsideTable = "结点号或单元号超出已输入的范围!";

// The part tables: "附属部分第2行：缺少第二个结点或单元号!".
inline constexpr std::string_view kAttachedPartName = "附属部分";
inline constexpr std::string_view kBasicPartName = "基本部分";
// The kind of a row of a hinge between parts, in the reaction tables.
inline constexpr std::string_view kHingeNodeKind = "铰结点";

inline constexpr std::string_view kAttachedSecondNodeSkew =
    "第二个结点与取矩铰结点既不在同一水平线上，也不在同一竖线上，无法求解!";
inline constexpr std::string_view kAttachedSecondNodeCoincides = "第二个结点与取矩铰结点重合，无法求解!";
inline constexpr std::string_view kAttachedRowIncomplete = "缺少第二个结点或单元号!";
inline constexpr std::string_view kCellNotANumber = "表中的结点号或单元号不是范围内的整数!";

// A part hangs on its two nodes by forces alone; "O&K" refuses a node of a
// part row that none of its members reaches, that holds the part by nothing,
// or through which a moment would reach the part. The confirmation puts the
// cell's place before them: "第1行“取矩铰结点码”列：结点3不在本部分的单元上，请改正后再按“O&K”确认！".
inline std::string NodeOffThePartText(int node)
{
    return "结点" + std::to_string(node) + "不在本部分的单元上";
}
inline std::string NodeHoldsNothingText(int node)
{
    return "结点" + std::to_string(node) + "既无支座，也不连接本部分以外的单元，本部分不能在此受力";
}
inline std::string MomentPassesAtNodeText(int node, std::string_view jointType)
{
    return "结点" + std::to_string(node) + "的结点类型是“" + std::string(jointType) +
           "”，不是“铰接”，本部分在此与其他单元或固定支座刚性相连，弯矩会传入本部分";
}

// The model type analysis refuses a stored row that a later commit of the
// nodes or elements left without what it names, until its table is
// committed again: "荷载表第2行：结点号7不存在（现有结点1～3），请重新提交荷载表！".
inline constexpr std::string_view kElementTableName = "单元表";
inline constexpr std::string_view kSupportTableName = "支座表";
inline constexpr std::string_view kLoadTableName = "荷载表";
inline std::string UnfitRowText(std::string_view table, int row, std::string_view reason)
{
    return std::string(table) + RowPlace(row) + std::string(reason) + "，请重新提交" + std::string(table) + "！";
}

// The degree typed in the model type dialog: "超静定次数“x”不是数字，请重新输入！".
inline constexpr std::string_view kDegreeName = "超静定次数";
inline constexpr std::string_view kRetypeDegree = "，请重新输入！";
inline constexpr std::string_view kNegativeDegree = "超静定次数不能为负数，请重新输入！";
inline constexpr std::string_view kDegreeOutOfRange = "超静定次数超出范围，请重新输入！";
// Declared indeterminate over members committed without EI (typed while the
// structure was determinate): the coefficients would divide by it.
inline constexpr std::string_view kElementsNeedStiffness = "超静定结构需要各单元的EI，请补充单元表！";

// The structure as typed, checked by the rank of its equilibrium equations
// before the calculation: "约束不足，结构几何可变：结点3可沿水平方向移动，无法计算！".
inline constexpr std::string_view kTooFewRestraints = "约束不足，结构几何可变";
inline constexpr std::string_view kRestraintsBadlyArranged = "约束布置不当，结构几何可变或瞬变";
inline constexpr std::string_view kMovesHorizontally = "可沿水平方向移动";
inline constexpr std::string_view kMovesVertically = "可沿竖直方向移动";
inline constexpr std::string_view kTurns = "可转动";
inline std::string UnstableStructureText(std::string_view cause, int node, std::string_view motion)
{
    return std::string(cause) + "：结点" + std::to_string(node) + std::string(motion) + "，无法计算！";
}
// The structure typed for a calculation with unknowns X1..Xn is the basic
// system, which the unit forces act on; for a determinate calculation it is
// the structure itself.
inline std::string RedundantRestraintsText(int count, bool basicSystem)
{
    if (basicSystem)
        return "基本体系仍是超静定的，多余约束还有" + std::to_string(count) + "个，请去掉它们并相应增加未知力！";
    return "结构是超静定的，多余约束有" + std::to_string(count) + "个，请按超静定结构计算！";
}

// "伸出单元数>2，本程序不能计算刚结点有弯矩分配的工况！3刚节点".
inline std::string RigidJointText(int node)
{
    return "伸出单元数>2，本程序不能计算刚结点有弯矩分配的工况！" + std::to_string(node) + "刚节点";
}

// The end-force walk's warning (title kWarningTitle); `members` as
// ElementListText writes them.
inline std::string MembersOffTheChainText(std::string_view members)
{
    return "单元编号不满足逐杆递推的要求（杆件的i端应在支座上、自由端或前一单元的j端，"
           "且两根杆件不能从同一结点出发），" +
           std::string(members) + "的杆端内力可能不正确!";
}

inline constexpr std::string_view kEndForceTablesUnsized =
    "杆端内力计算错误：内力表与当前单元数不符，请先进行计算类型分析!";

}  // namespace tavrin
