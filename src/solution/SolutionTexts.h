#pragma once

#include <string>
#include <string_view>

namespace tavrin {

inline constexpr std::string_view kStaticsNotSquare =
    "结构的平衡方程个数与未知力个数不等，基本体系不是静定结构，无法求解！";
inline constexpr std::string_view kStaticsSingular = "基本体系的平衡方程奇异（几何可变或瞬变），无法求解！";
inline constexpr std::string_view kRollerSideUnknown = "活动支座的方位不是结点上、下、左、右之一，无法求解！";
inline constexpr std::string_view kNumberOutside = "荷载或支座所指的结点、单元不存在！";
inline constexpr std::string_view kCanonicalSingular = "典型方程的系数矩阵奇异，未知力无法求出！";
inline constexpr std::string_view kStiffnessSingular = "刚度法复核：整体刚度方程奇异，无法复核！";
inline constexpr std::string_view kNoStiffness = "有单元的EI或长度为零，无法计算变形！";

// A couple at a hinge where several members meet acts on the end of one of
// them, which the row must name: "力偶作用在连接单元1、单元2的铰结点3上，须在“作用单元”中填写它作用于哪个单元".
inline std::string CoupleElementUnnamedText(int node, std::string_view members)
{
    return "力偶作用在连接" + std::string(members) + "的铰结点" + std::to_string(node) +
           "上，须在“作用单元”中填写它作用于哪个单元";
}

}  // namespace tavrin
