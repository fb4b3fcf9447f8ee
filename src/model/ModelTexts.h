#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <string_view>

namespace tavrin {

// Words of the messages that every subsystem builds on: where in a table, the
// nodes and elements a row names, and why a cell's text cannot be stored.
// The subsystems above reuse these rather than spell them again.

// "第3行：": a data row as the student counts it, from 1.
inline std::string RowPlace(int row)
{
    return "第" + std::to_string(row) + "行：";
}

// "第3行“x坐标”列：": a cell, by its data row and its column's header.
inline std::string CellPlace(int row, std::string_view header)
{
    return "第" + std::to_string(row) + "行“" + std::string(header) + "”列：";
}

inline constexpr std::string_view kNodeWord = "结点";
inline constexpr std::string_view kElementWord = "单元";

// "单元1、单元3": the members a message names.
inline std::string ElementListText(std::span<const std::int16_t> elements)
{
    std::string names;
    for (const std::int16_t e : elements)
        names += (names.empty() ? "" : "、") + std::string(kElementWord) + std::to_string(e);
    return names;
}

// "结点号7不存在（现有结点1～3）", "单元号1不存在（尚无单元）": `word` is
// kNodeWord or kElementWord, `count` the rows of its table.
inline std::string MissingNumberText(std::string_view word, int number, int count)
{
    const std::string name(word);
    const std::string existing = count == 0   ? "（尚无" + name + "）"
                                 : count == 1 ? "（现有" + name + "1）"
                                              : "（现有" + name + "1～" + std::to_string(count) + "）";
    return name + "号" + std::to_string(number) + "不存在" + existing;
}

inline constexpr std::string_view kMemberEndsCoincide = "单元长度为零（两端结点位置重合）";
inline constexpr std::string_view kMemberLengthBeyondRange = "单元长度超出数值范围";
inline constexpr std::string_view kMemberTooShort = "单元长度过小，超出单精度数值的范围";

// Why a load cannot have its a, b or intensity at b, or why its point or
// span does not lie on its member.
inline constexpr std::string_view kStartAUnused = "起点a只用于均布荷载，以及作用结点空白、作用于单元的集中荷载和力偶";
inline constexpr std::string_view kEndBUnused = "终点b只用于均布荷载";
inline constexpr std::string_view kEndMagnitudeUnused = "末端大小只用于均布荷载";

// "5不在单元1上（距i端的距离应在0～4之间）": `value` is a or b as typed,
// `length` the member's length.
inline std::string OffMemberText(std::string_view value, int element, std::string_view length)
{
    return std::string(value) + "不在" + std::string(kElementWord) + std::to_string(element) +
           "上（距i端的距离应在0～" + std::string(length) + "之间）";
}

// "起点a（3）应小于终点b（2）"; a blank b reads "空白，即单元长度4".
inline constexpr std::string_view kBlankEndB = "空白，即单元长度";
inline std::string EmptySpanText(std::string_view a, std::string_view b)
{
    return "起点a（" + std::string(a) + "）应小于终点b（" + std::string(b) + "）";
}

// Why a cell's text cannot fill its field: "“x4”不是数字".
inline constexpr std::string_view kNotANumber = "不是数字";
inline constexpr std::string_view kIntegerOutOfRange = "整数值超出-32768～32767的范围";
inline constexpr std::string_view kBeyondFloat = "数值过大，无法存储";

}  // namespace tavrin
