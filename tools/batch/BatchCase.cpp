#include "batch/BatchCase.h"

#include <charconv>
#include <exception>
#include <nlohmann/json.hpp>

#include "forcemethod/SupplementaryInput.h"
#include "input/InputTables.h"
#include "model/CellReading.h"

namespace tavrin::batch {

namespace {

using nlohmann::json;

// A value that does not fit: the key path and what was expected there.
struct CaseFault {
    std::string message;
};

std::string Path(const std::string& key, std::size_t index)
{
    return key + "[" + std::to_string(index) + "]";
}

// The shortest text that reads back as the same number, as a user would type
// it: 25000 for 2.5e4, 0.1 for 0.1, 1e-07 for 1e-7.
std::string NumberText(const json& value)
{
    if (value.is_number_integer() && value.is_number_unsigned()) return std::to_string(value.get<std::uint64_t>());
    if (value.is_number_integer()) return std::to_string(value.get<std::int64_t>());
    char buffer[64];
    const auto result = std::to_chars(buffer, buffer + sizeof buffer, value.get<double>());
    return std::string(buffer, result.ptr);
}

// A cell, a degree or a scale: a text as typed, or a number as its text.
std::optional<std::string> TextOf(const json& value)
{
    if (value.is_string()) return value.get<std::string>();
    if (value.is_number()) return NumberText(value);
    return std::nullopt;
}

Rows ReadTable(const json& value, const std::string& key, std::size_t columns)
{
    if (!value.is_array()) throw CaseFault{key + ": 应为由行组成的数组"};
    Rows rows;
    for (std::size_t r = 0; r < value.size(); ++r) {
        const json& row = value[r];
        const std::string rowKey = Path(key, r);
        if (!row.is_array()) throw CaseFault{rowKey + ": 应为由单元格组成的数组"};
        if (row.size() > columns)
            throw CaseFault{rowKey + ": 这张表只有" + std::to_string(columns) + "列，这一行却有" +
                            std::to_string(row.size()) + "个单元格"};
        auto& cells = rows.emplace_back();
        for (std::size_t c = 0; c < row.size(); ++c) {
            std::optional<std::string> text = TextOf(row[c]);
            if (!text) throw CaseFault{Path(rowKey, c) + ": 应为文本或数字"};
            cells.push_back(std::move(*text));
        }
    }
    return rows;
}

std::optional<std::string> ReadOptionalText(const json& value, const std::string& key)
{
    if (value.is_null()) return std::nullopt;
    std::optional<std::string> text = TextOf(value);
    if (!text) throw CaseFault{key + ": 应为文本、数字或 null"};
    return text;
}

std::size_t InputColumns(int kind)
{
    return FindInputTableLayout(kind)->columns.size();
}

// The degree as the model type dialog reads it; refused here only when it
// is a number the dialog would accept but the tool does not calculate.
void CheckDegree(const std::optional<std::string>& degree)
{
    if (!degree) return;
    const std::optional<std::int16_t> n = ReadIntegerCell(*degree);
    if (n && *n > kMaxBatchDegree)
        throw CaseFault{"degree: 超静定次数" + std::to_string(*n) + "超过本工具能计算的" +
                        std::to_string(kMaxBatchDegree) + "次"};
}

constexpr std::string_view kKnownKeys[] = {"nodes",         "elements",   "supports",   "loads", "degree",
                                           "attachedParts", "basicParts", "unitForces", "scale", "description"};

bool IsKnownKey(std::string_view key)
{
    for (std::string_view known : kKnownKeys)
        if (key == known) return true;
    return false;
}

std::string KnownKeyList()
{
    std::string list;
    for (std::string_view known : kKnownKeys) list += (list.empty() ? "" : ", ") + std::string(known);
    return list;
}

BatchCase ReadCaseObject(const json& root)
{
    if (!root.is_object()) throw CaseFault{"案例文件应是一个 JSON 对象 {…}"};
    for (const auto& [key, value] : root.items())
        if (!IsKnownKey(key)) throw CaseFault{"“" + key + "”: 不认识的键（可用的键：" + KnownKeyList() + "）"};

    BatchCase batchCase;
    const auto table = [&](const char* key, std::size_t columns, Rows& into) {
        if (const auto it = root.find(key); it != root.end() && !it->is_null()) into = ReadTable(*it, key, columns);
    };
    table("nodes", InputColumns(kNodeTable), batchCase.nodes);
    table("elements", InputColumns(kElementTable), batchCase.elements);
    table("supports", InputColumns(kSupportTable), batchCase.supports);
    table("loads", InputColumns(kLoadTable), batchCase.loads);
    table("attachedParts", static_cast<std::size_t>(AttachedPartInputTable.cols), batchCase.attachedParts);
    table("basicParts", static_cast<std::size_t>(BasicPartInputTable.cols), batchCase.basicParts);

    if (const auto it = root.find("unitForces"); it != root.end() && !it->is_null()) {
        if (!it->is_array()) throw CaseFault{"unitForces: 应为单位力表的数组（每个未知力一张表）"};
        for (std::size_t k = 0; k < it->size(); ++k)
            batchCase.unitForces.push_back(
                ReadTable((*it)[k], Path("unitForces", k), static_cast<std::size_t>(UnitForceInputTable.cols)));
    }
    if (const auto it = root.find("degree"); it != root.end()) batchCase.degree = ReadOptionalText(*it, "degree");
    CheckDegree(batchCase.degree);
    if (const auto it = root.find("scale"); it != root.end()) batchCase.scale = ReadOptionalText(*it, "scale");
    if (const auto it = root.find("description"); it != root.end() && !it->is_string() && !it->is_array())
        throw CaseFault{"description: 应为文本或文本的数组"};
    return batchCase;
}

// nlohmann's message after its own position, which counts bytes.
std::string SyntaxDetail(const std::string& what)
{
    const std::size_t column = what.find("column ");
    const std::size_t colon = what.find(": ", column == std::string::npos ? 0 : column);
    return colon == std::string::npos ? what : what.substr(colon + 2);
}

bool IsContinuationByte(char c)
{
    return (static_cast<unsigned char>(c) & 0xC0u) == 0x80u;
}

}  // namespace

TextPosition PositionOfOffset(std::string_view text, std::size_t offset)
{
    TextPosition position;
    const std::size_t end = std::min(offset, text.size());
    for (std::size_t i = 0; i < end; ++i) {
        if (text[i] == '\n') {
            ++position.line;
            position.column = 1;
        } else if (!IsContinuationByte(text[i])) {
            ++position.column;
        }
    }
    return position;
}

CaseReading ReadCase(std::string_view text)
{
    CaseReading reading;
    try {
        const json root = json::parse(text.begin(), text.end());
        reading.value = ReadCaseObject(root);
    } catch (const json::parse_error& e) {
        // e.byte counts the bytes read, the offending one included.
        const TextPosition at = PositionOfOffset(text, e.byte == 0 ? 0 : e.byte - 1);
        reading.error = "第" + std::to_string(at.line) + "行第" + std::to_string(at.column) + "列: JSON 语法错误（" +
                        SyntaxDetail(e.what()) + "）";
    } catch (const CaseFault& fault) {
        reading.error = fault.message;
    } catch (const std::exception& e) {
        reading.error = std::string("案例文件无法读取: ") + e.what();
    }
    if (!reading.error.empty()) reading.value.reset();
    return reading;
}

}  // namespace tavrin::batch
