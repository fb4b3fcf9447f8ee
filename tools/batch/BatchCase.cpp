#include "batch/BatchCase.h"

#include <algorithm>
#include <charconv>
#include <exception>
#include <new>
#include <nlohmann/json.hpp>

#include "batch/Utf8Text.h"
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
    if (value.is_number_integer() && value.is_number_unsigned())
        return std::to_string(value.get<std::uint64_t>());
    if (value.is_number_integer())
        return std::to_string(value.get<std::int64_t>());
    char buffer[64];
    const auto result = std::to_chars(buffer, buffer + sizeof buffer, value.get<double>());
    return std::string(buffer, result.ptr);
}

// A cell, a degree or a scale: a text as typed, or a number as its text.
std::optional<std::string> TextOf(const json& value)
{
    if (value.is_string())
        return value.get<std::string>();
    if (value.is_number())
        return NumberText(value);
    return std::nullopt;
}

Rows ReadTable(const json& value, const std::string& key, std::size_t columns)
{
    if (!value.is_array())
        throw CaseFault{key + ": 应为由行组成的数组"};
    if (value.size() > kMaxTableRows)
        throw CaseFault{Path(key, kMaxTableRows) + ": 这张表最多" + std::to_string(kMaxTableRows) + "行，这里却有" +
                        std::to_string(value.size()) + "行"};
    Rows rows;
    for (std::size_t r = 0; r < value.size(); ++r) {
        const json& row = value[r];
        const std::string rowKey = Path(key, r);
        if (!row.is_array())
            throw CaseFault{rowKey + ": 应为由单元格组成的数组"};
        if (row.size() > columns)
            throw CaseFault{rowKey + ": 这张表只有" + std::to_string(columns) + "列，这一行却有" +
                            std::to_string(row.size()) + "个单元格"};
        auto& cells = rows.emplace_back();
        for (std::size_t c = 0; c < row.size(); ++c) {
            std::optional<std::string> text = TextOf(row[c]);
            if (!text)
                throw CaseFault{Path(rowKey, c) + ": 应为文本或数字"};
            cells.push_back(std::move(*text));
        }
    }
    return rows;
}

std::optional<std::string> ReadOptionalText(const json& value, const std::string& key)
{
    if (value.is_null())
        return std::nullopt;
    std::optional<std::string> text = TextOf(value);
    if (!text)
        throw CaseFault{key + ": 应为文本、数字或 null"};
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
    if (!degree)
        return;
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
        if (key == known)
            return true;
    return false;
}

std::string KnownKeyList()
{
    std::string list;
    for (std::string_view known : kKnownKeys)
        list += (list.empty() ? "" : ", ") + std::string(known);
    return list;
}

BatchCase ReadCaseObject(const json& root)
{
    if (!root.is_object())
        throw CaseFault{"案例文件应是一个 JSON 对象 {…}"};
    for (const auto& [key, value] : root.items())
        if (!IsKnownKey(key))
            throw CaseFault{"“" + QuotedInput(key) + "”: 不认识的键（可用的键：" + KnownKeyList() + "）"};

    BatchCase batchCase;
    const auto table = [&](const char* key, std::size_t columns, Rows& into) {
        if (const auto it = root.find(key); it != root.end() && !it->is_null())
            into = ReadTable(*it, key, columns);
    };
    table("nodes", InputColumns(kNodeTable), batchCase.nodes);
    table("elements", InputColumns(kElementTable), batchCase.elements);
    table("supports", InputColumns(kSupportTable), batchCase.supports);
    table("loads", InputColumns(kLoadTable), batchCase.loads);
    table("attachedParts", static_cast<std::size_t>(AttachedPartInputTable.cols), batchCase.attachedParts);
    table("basicParts", static_cast<std::size_t>(BasicPartInputTable.cols), batchCase.basicParts);

    if (const auto it = root.find("unitForces"); it != root.end() && !it->is_null()) {
        if (!it->is_array())
            throw CaseFault{"unitForces: 应为单位力表的数组（每个未知力一张表）"};
        for (std::size_t k = 0; k < it->size(); ++k)
            batchCase.unitForces.push_back(
                ReadTable((*it)[k], Path("unitForces", k), static_cast<std::size_t>(UnitForceInputTable.cols)));
    }
    if (const auto it = root.find("degree"); it != root.end())
        batchCase.degree = ReadOptionalText(*it, "degree");
    CheckDegree(batchCase.degree);
    if (const auto it = root.find("scale"); it != root.end())
        batchCase.scale = ReadOptionalText(*it, "scale");
    if (const auto it = root.find("description"); it != root.end() && !it->is_string() && !it->is_array())
        throw CaseFault{"description: 应为文本或文本的数组"};
    return batchCase;
}

// What the parser found wrong, in the user's words, keyed by a phrase of
// the parser's own message; the first phrase found wins, so the lexer's
// finding about a token comes before what the grammar expected there.
struct SyntaxDetail {
    std::string_view phrase;
    std::string_view detail;
};
constexpr SyntaxDetail kSyntaxDetails[] = {
    {"missing closing quote", "文本缺少结尾的双引号"},
    {"control character", "文本中的换行、制表符等控制字符须写成 \\n、\\t 等转义形式"},
    {"ill-formed UTF-8", "文本中有不是 UTF-8 编码的字节"},
    {"must be followed by 4 hex digits", "\\u 后应为4位十六进制数字"},
    {"surrogate", "\\u 转义的代理项不成对"},
    {"after backslash", "反斜杠后不能是这个字符"},
    {"invalid number", "数字不完整"},
    {"invalid literal", "无法识别的内容，文本须加双引号"},
    {"invalid BOM", "文件开头的字节顺序标记不完整"},
    {"unexpected end of input", "文件在此处意外结束"},
    {"; expected end of input", "案例对象之后还有多余的内容"},
    {"; expected string literal", "此处应为带双引号的键"},
    {"; expected ':'", "此处应为冒号“:”"},
    {"; expected ']'", "此处应为“,”或“]”"},
    {"; expected '}'", "此处应为“,”或“}”"},
    {"; expected '[', '{', or a literal", "此处应为一个值"},
};

// Where and why the text is not JSON, found by a second reading that builds
// nothing: the tree parser reports a number too large for a double without
// its position.
class SyntaxProbe : public nlohmann::json_sax<json> {
public:
    bool null() override { return true; }
    bool boolean(bool) override { return true; }
    bool number_integer(number_integer_t) override { return true; }
    bool number_unsigned(number_unsigned_t) override { return true; }
    bool number_float(number_float_t, const string_t&) override { return true; }
    bool string(string_t&) override { return true; }
    bool binary(binary_t&) override { return true; }
    bool start_object(std::size_t) override { return true; }
    bool key(string_t&) override { return true; }
    bool end_object() override { return true; }
    bool start_array(std::size_t) override { return true; }
    bool end_array() override { return true; }
    bool parse_error(std::size_t position, const std::string& lastToken, const json::exception& e) override
    {
        m_position = position;
        m_tokenBytes = lastToken.size();
        m_numberTooLarge = e.id == kNumberOverflow;
        m_message = e.what();
        return false;
    }

    // The message, placed at the number too large or at the byte the parser
    // stopped on. The parser's own text names the token it read, which may
    // hold any bytes, and is never shown.
    std::string Message(std::string_view text) const
    {
        const std::size_t offset =
            m_numberTooLarge ? m_position - std::min(m_tokenBytes, m_position) : (m_position == 0 ? 0 : m_position - 1);
        const TextPosition at = PositionOfOffset(text, offset);
        const std::string place = "第" + std::to_string(at.line) + "行第" + std::to_string(at.column) + "列: ";
        if (m_numberTooLarge)
            return place + "数值超出范围";
        for (const SyntaxDetail& d : kSyntaxDetails)
            if (m_message.find(d.phrase) != std::string::npos)
                return place + "JSON 语法错误（" + std::string(d.detail) + "）";
        return place + "JSON 语法错误";
    }

private:
    static constexpr int kNumberOverflow = 406;
    // Bytes read: up to the offending one included, or to the end of the
    // number too large.
    std::size_t m_position = 0;
    std::size_t m_tokenBytes = 0;
    bool m_numberTooLarge = false;
    std::string m_message;
};

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
        if (text.size() > kMaxCaseBytes) {
            reading.error = kCaseTooLarge;
            return reading;
        }
        const json root = json::parse(text.begin(), text.end(), nullptr, false);
        if (root.is_discarded()) {
            SyntaxProbe probe;
            json::sax_parse(text.begin(), text.end(), &probe);
            reading.error = probe.Message(text);
        } else {
            reading.value = ReadCaseObject(root);
        }
    } catch (const CaseFault& fault) {
        reading.error = fault.message;
    } catch (const std::bad_alloc&) {
        reading.error = "内存不足，案例文件无法读取";
    } catch (const std::exception&) {
        reading.error = "案例文件无法读取";
    }
    if (!reading.error.empty())
        reading.value.reset();
    return reading;
}

}  // namespace tavrin::batch
