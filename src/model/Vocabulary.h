#pragma once

#include <array>
#include <cstdint>
#include <string_view>

namespace tavrin {

// The texts stored in the records and compared whole. The order of each list
// is the order the cell editor offers them in.

inline constexpr std::string_view kHingedJoint = "铰接";
inline constexpr std::string_view kRigidJoint = "刚接";
inline constexpr std::string_view kFreeEnd = "自由端";
inline constexpr std::array<std::string_view, 3> JointTypeList{kHingedJoint, kRigidJoint, kFreeEnd};

inline constexpr std::string_view kPinSupport = "铰支座";
inline constexpr std::string_view kFixedSupport = "固定支座";
inline constexpr std::string_view kRollerSupport = "活动支座";
inline constexpr std::array<std::string_view, 3> SupportTypeList{kPinSupport, kFixedSupport, kRollerSupport};

// Restraints a support of this type gives: roller 1, pin 2, fixed 3; a text
// that is no support type restrains nothing.
inline std::int16_t RestraintCount(std::string_view supportType)
{
    if (supportType == kRollerSupport)
        return 1;
    if (supportType == kPinSupport)
        return 2;
    if (supportType == kFixedSupport)
        return 3;
    return 0;
}

inline constexpr std::string_view kBelowNode = "结点下方";
inline constexpr std::string_view kAboveNode = "结点上方";
inline constexpr std::string_view kRightOfNode = "结点右侧";
inline constexpr std::string_view kLeftOfNode = "结点左侧";
inline constexpr std::array<std::string_view, 4> SupportDirectionList{kBelowNode, kAboveNode, kRightOfNode,
                                                                      kLeftOfNode};

// The kinds of a support's settlement.
inline constexpr std::string_view kSettleHorizontal = "水平位移";
inline constexpr std::string_view kSettleVertical = "竖向位移";
inline constexpr std::string_view kSettleRotation = "转角";
inline constexpr std::array<std::string_view, 3> SettlementKindList{kSettleHorizontal, kSettleVertical,
                                                                    kSettleRotation};

inline constexpr std::string_view kConcentratedLoad = "集中荷载";
inline constexpr std::string_view kDistributedLoad = "均布荷载";
inline constexpr std::string_view kCouple = "力偶";
inline constexpr std::array<std::string_view, 3> LoadTypeList{kConcentratedLoad, kDistributedLoad, kCouple};

inline constexpr std::string_view kUpward = "向上";
inline constexpr std::string_view kDownward = "向下";
inline constexpr std::string_view kLeftward = "向左";
inline constexpr std::string_view kRightward = "向右";
inline constexpr std::array<std::string_view, 4> ForceDirectionList{kUpward, kDownward, kLeftward, kRightward};

inline constexpr std::string_view kClockwise = "顺时针";
inline constexpr std::string_view kCounterClockwise = "逆时针";
inline constexpr std::array<std::string_view, 2> CoupleDirectionList{kClockwise, kCounterClockwise};

inline bool IsHorizontalDirection(std::string_view d)
{
    return d == kLeftward || d == kRightward;
}
inline bool IsVerticalDirection(std::string_view d)
{
    return d == kUpward || d == kDownward;
}
inline bool IsCoupleDirection(std::string_view d)
{
    return d == kClockwise || d == kCounterClockwise;
}

// A roller standing above or below its node reacts vertically; left or right,
// horizontally.
inline bool IsVerticalSupportSide(std::string_view d)
{
    return d == kBelowNode || d == kAboveNode;
}
inline bool IsHorizontalSupportSide(std::string_view d)
{
    return d == kRightOfNode || d == kLeftOfNode;
}

}  // namespace tavrin
