#pragma once

#include <string_view>

namespace tavrin {

// Messages of the statics routines. The reasons name what the student has to
// change in the model; a routine puts its own prefix before them.

inline constexpr std::string_view kCalculationErrorText = "计算错误!";
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

inline constexpr std::string_view kAttachedSecondNodeSkew =
    "第二个结点与取矩铰结点既不在同一水平线上，也不在同一竖线上，无法求解!";
inline constexpr std::string_view kAttachedSecondNodeCoincides = "第二个结点与取矩铰结点重合，无法求解!";
inline constexpr std::string_view kAttachedRowIncomplete = "缺少第二个结点或单元号!";
inline constexpr std::string_view kCellNotANumber = "表中的结点号或单元号不是范围内的整数!";

// The model type analysis refuses a stored row that a later commit of the
// nodes or elements left without what it names, until its table is
// committed again: "<table>第<row>行：<reason>，请重新提交<table>！".
inline constexpr std::string_view kElementTableName = "单元表";
inline constexpr std::string_view kSupportTableName = "支座表";
inline constexpr std::string_view kLoadTableName = "荷载表";
inline constexpr std::string_view kRecommitTable = "，请重新提交";

// The degree typed in the model type dialog: "超静定次数“x”不是数字，请重新输入！".
inline constexpr std::string_view kDegreeName = "超静定次数";
inline constexpr std::string_view kRetypeDegree = "，请重新输入！";

inline constexpr std::string_view kEndForceTablesUnsized = "杆端内力计算错误：内力表与当前单元数不符，请先进行计算类型分析!";

}  // namespace tavrin
