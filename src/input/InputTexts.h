#pragma once

#include <string>
#include <string_view>

namespace tavrin {

// Refusals of the input commit. Each names its cell first (CellPlace) and
// ends with kTableNotCommitted: "第2行“结点号”列：结点号应为2（各行依次为1、2、3…），本表未提交!".

inline constexpr std::string_view kTableNotCommitted = "，本表未提交!";
inline constexpr std::string_view kNodeTableEmpty = "结点表为空，至少要输入一个结点";
inline constexpr std::string_view kElementTableEmpty = "单元表为空，至少要输入一个单元";
inline constexpr std::string_view kNegativeStiffness = "EI值为负（抗弯刚度应大于零）";
inline constexpr std::string_view kZeroStiffness = "EI值为零（超静定结构的抗弯刚度应大于零）";
inline constexpr std::string_view kUnknownSettlementKind = "位移类型应为水平位移、竖向位移或转角";
inline constexpr std::string_view kNegativeExpansion = "线膨胀系数为负（应大于或等于零）";
inline constexpr std::string_view kNonPositiveDepth = "截面高度应大于零（温差使杆件弯曲的曲率为αΔt/h）";

// "结点3的竖向位移已在第1行给出": one support settles once in each direction.
inline std::string RepeatedSettlementFault(int node, std::string_view kind, int row)
{
    return "结点" + std::to_string(node) + "的" + std::string(kind) + "已在第" + std::to_string(row) + "行给出";
}

// "与结点1的坐标相差过小（相对于坐标数值），单精度数值保存不下这个差，两结点会
// 重合": a node typed apart from node `other` that 32-bit coordinates put on
// it (1e8 and 1e8 + 1).
inline std::string IndistinctNodesFault(int other)
{
    return "与结点" + std::to_string(other) +
           "的坐标相差过小（相对于坐标数值），单精度数值保存不下这个差，两结点会重合";
}

// "结点号应为2（各行依次为1、2、3…）": `column` is the header of the number's
// column, `row` the data row the number must equal.
inline std::string RowNumberFault(std::string_view column, int row)
{
    return std::string(column) + "应为" + std::to_string(row) + "（各行依次为1、2、3…）";
}

// Asked before the input grid lets go of a table whose rows differ from the
// committed ones; the answers in the order of their buttons.
inline constexpr std::string_view kUncommittedQuestion = "本表已修改，是否提交？";
inline constexpr std::string_view kCommitAnswer = "提交";
inline constexpr std::string_view kDropAnswer = "放弃";
inline constexpr std::string_view kStayAnswer = "取消";

}  // namespace tavrin
