#include "app/CaseFile.h"

#include <fcntl.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <charconv>
#include <cstring>
#include <exception>
#include <memory>
#include <new>
#include <nlohmann/json.hpp>
#include <system_error>

#include "app/Utf8Text.h"
#include "forcemethod/Displacements.h"
#include "forcemethod/SupplementaryInput.h"
#include "input/InputTables.h"

namespace tavrin {

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

CellRows ReadTable(const json& value, const std::string& key, std::size_t columns)
{
    if (!value.is_array())
        throw CaseFault{key + ": 应为由行组成的数组"};
    if (value.size() > kMaxTableRows)
        throw CaseFault{Path(key, kMaxTableRows) + ": 这张表最多" + std::to_string(kMaxTableRows) + "行，这里却有" +
                        std::to_string(value.size()) + "行"};
    CellRows rows;
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

std::string ReadDescription(const json& value)
{
    if (value.is_string())
        return value.get<std::string>();
    if (!value.is_array())
        throw CaseFault{"description: 应为文本或文本的数组"};
    std::string text;
    for (const json& part : value)
        if (part.is_string())
            text += part.get<std::string>();
    return text;
}

constexpr std::string_view kKnownKeys[] = {"nodes",  "elements",      "supports",   "loads",
                                           "degree", "attachedParts", "basicParts", "unitForces",
                                           "scale",  "description",   "answers",    "displacements"};

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

StructureCase ReadCaseObject(const json& root)
{
    if (!root.is_object())
        throw CaseFault{"案例文件应是一个 JSON 对象 {…}"};
    for (const auto& [key, value] : root.items())
        if (!IsKnownKey(key))
            throw CaseFault{"“" + QuotedInput(key) + "”: 不认识的键（可用的键：" + KnownKeyList() + "）"};

    StructureCase structureCase;
    const auto table = [&](const char* key, std::size_t columns, CellRows& into) {
        if (const auto it = root.find(key); it != root.end() && !it->is_null())
            into = ReadTable(*it, key, columns);
    };
    table("nodes", InputColumns(kNodeTable), structureCase.nodes);
    table("elements", InputColumns(kElementTable), structureCase.elements);
    table("supports", InputColumns(kSupportTable), structureCase.supports);
    table("loads", InputColumns(kLoadTable), structureCase.loads);
    table("attachedParts", static_cast<std::size_t>(AttachedPartInputTable.cols), structureCase.attachedParts);
    table("basicParts", static_cast<std::size_t>(BasicPartInputTable.cols), structureCase.basicParts);

    if (const auto it = root.find("unitForces"); it != root.end() && !it->is_null()) {
        if (!it->is_array())
            throw CaseFault{"unitForces: 应为单位力表的数组（每个未知力一张表）"};
        for (std::size_t k = 0; k < it->size(); ++k)
            structureCase.unitForces.push_back(
                ReadTable((*it)[k], Path("unitForces", k), static_cast<std::size_t>(UnitForceInputTable.cols)));
    }
    if (const auto it = root.find("answers"); it != root.end() && !it->is_null()) {
        if (!it->is_object())
            throw CaseFault{"answers: 应为以计算项目为键、结果表的行为值的对象"};
        for (const auto& [item, rows] : it->items())
            structureCase.answers[item] = ReadTable(rows, "answers“" + QuotedInput(item) + "”", kMaxAnswerColumns);
    }
    table("displacements", 2, structureCase.displacements);
    for (std::size_t r = 0; r < structureCase.displacements.size(); ++r)
        if (const std::vector<std::string>& row = structureCase.displacements[r];
            row.size() != 2 || !DisplacementKindOf(row[1]))
            throw CaseFault{Path("displacements", r) +
                            ": 应为结点码和位移方向（水平位移、竖向位移、转角或铰两侧相对转角）两个单元格"};
    if (const auto it = root.find("degree"); it != root.end())
        structureCase.degree = ReadOptionalText(*it, "degree");
    if (const auto it = root.find("scale"); it != root.end())
        structureCase.scale = ReadOptionalText(*it, "scale");
    if (const auto it = root.find("description"); it != root.end())
        structureCase.description = ReadDescription(*it);
    return structureCase;
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

// A cell as the JSON the reader turns back into its very text: the number
// itself where TextOf gives the text back (10, 2.5), a JSON text otherwise
// ("", "铰接", " 3", "1.50").
std::string CellJson(const std::string& text)
{
    const json number = json::parse(text, nullptr, false);
    if (!number.is_discarded() && number.is_number() && TextOf(number) == text)
        return text;
    return json(text).dump(-1, ' ', false, json::error_handler_t::replace);
}

std::string RowJson(const std::vector<std::string>& row)
{
    std::string line = "[";
    for (std::size_t c = 0; c < row.size(); ++c)
        line += (c == 0 ? "" : ", ") + CellJson(row[c]);
    return line + "]";
}

// One row per line under the key; the unit-force tables one table per line.
std::string TableJson(const CellRows& rows)
{
    if (rows.empty())
        return "[]";
    std::string text = "[\n";
    for (std::size_t r = 0; r < rows.size(); ++r)
        text += "    " + RowJson(rows[r]) + (r + 1 < rows.size() ? ",\n" : "\n");
    return text + "  ]";
}

// A whole table on one line.
std::string InlineTableJson(const CellRows& table)
{
    std::string rows = "[";
    for (std::size_t r = 0; r < table.size(); ++r)
        rows += (r == 0 ? "" : ", ") + RowJson(table[r]);
    return rows + "]";
}

std::string UnitForcesJson(const std::vector<CellRows>& tables)
{
    std::string text = "[\n";
    for (std::size_t k = 0; k < tables.size(); ++k)
        text += "    " + InlineTableJson(tables[k]) + (k + 1 < tables.size() ? ",\n" : "\n");
    return text + "  ]";
}

// One item's answers per line.
std::string AnswersJson(const std::map<std::string, CellRows>& answers)
{
    std::string text = "{\n";
    std::size_t n = 0;
    for (const auto& [item, rows] : answers)
        text += "    " + json(item).dump(-1, ' ', false, json::error_handler_t::replace) + ": " +
                InlineTableJson(rows) + (++n < answers.size() ? ",\n" : "\n");
    return text + "  }";
}

class FileDescriptor {
public:
    explicit FileDescriptor(int fd) : m_fd(fd) {}
    ~FileDescriptor()
    {
        if (m_fd >= 0)
            ::close(m_fd);
    }
    FileDescriptor(const FileDescriptor&) = delete;
    FileDescriptor& operator=(const FileDescriptor&) = delete;
    int fd() const { return m_fd; }
    // The error of closing, which may be the first report of a full disk.
    int Close()
    {
        const int result = ::close(m_fd);
        m_fd = -1;
        return result == 0 ? 0 : errno;
    }

private:
    int m_fd;
};

// Why a file could not be written, for the errors a user can mend.
std::string WriteFailure(int error)
{
    switch (error) {
        case EACCES:
        case EPERM:
            return "没有写入权限";
        case ENOSPC:
        case EDQUOT:
            return "磁盘已满";
        case ENOENT:
            return "文件夹不存在";
        case EROFS:
            return "磁盘只读";
        case EFBIG:
            return "文件超过允许的大小";
        case EISDIR:
            return "这是目录，不是文件";
        default:
            return std::generic_category().message(error);
    }
}

// Writes the whole text, retrying after a short write; 0 or the error.
int WriteAll(int fd, std::string_view text)
{
    while (!text.empty()) {
        const ssize_t written = ::write(fd, text.data(), text.size());
        if (written < 0) {
            if (errno == EINTR)
                continue;
            return errno;
        }
        text.remove_prefix(static_cast<std::size_t>(written));
    }
    return 0;
}

// A new file beside `file` that no one else has: `file`.tmp, .tmp1, ...
int CreateBeside(const std::filesystem::path& file, std::filesystem::path& created)
{
    for (int n = 0; n < 100; ++n) {
        created = file;
        created += ".tmp" + (n == 0 ? std::string() : std::to_string(n));
        const int fd = ::open(created.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (fd >= 0 || errno != EEXIST)
            return fd;
    }
    return -1;
}

std::string OpenFailure(int error)
{
    switch (error) {
        case ENOENT:
            return "（文件不存在）";
        case EACCES:
        case EPERM:
            return "（没有读取权限）";
        default:
            return "";
    }
}

struct CloseFile {
    void operator()(std::FILE* stream) const { std::fclose(stream); }
};

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

std::string WriteCase(const StructureCase& structureCase)
{
    std::vector<std::pair<std::string_view, std::string>> keys;
    if (!structureCase.description.empty())
        keys.emplace_back("description",
                          json(structureCase.description).dump(-1, ' ', false, json::error_handler_t::replace));
    keys.emplace_back("nodes", TableJson(structureCase.nodes));
    keys.emplace_back("elements", TableJson(structureCase.elements));
    keys.emplace_back("supports", TableJson(structureCase.supports));
    keys.emplace_back("loads", TableJson(structureCase.loads));
    if (structureCase.degree)
        keys.emplace_back("degree", CellJson(*structureCase.degree));
    if (!structureCase.attachedParts.empty())
        keys.emplace_back("attachedParts", TableJson(structureCase.attachedParts));
    if (!structureCase.basicParts.empty())
        keys.emplace_back("basicParts", TableJson(structureCase.basicParts));
    if (!structureCase.unitForces.empty())
        keys.emplace_back("unitForces", UnitForcesJson(structureCase.unitForces));
    if (structureCase.scale)
        keys.emplace_back("scale", CellJson(*structureCase.scale));
    if (!structureCase.answers.empty())
        keys.emplace_back("answers", AnswersJson(structureCase.answers));
    if (!structureCase.displacements.empty())
        keys.emplace_back("displacements", TableJson(structureCase.displacements));

    std::string text = "{\n";
    for (std::size_t i = 0; i < keys.size(); ++i)
        text += "  \"" + std::string(keys[i].first) + "\": " + keys[i].second + (i + 1 < keys.size() ? ",\n" : "\n");
    return text + "}\n";
}

std::string FileFault(std::string_view what, const std::filesystem::path& file, std::string_view cause)
{
    return std::string(what) + "“" + QuotedInput(file.string()) + "”：" + std::string(cause);
}

std::optional<std::string> ReadCaseBytes(std::FILE* stream)
{
    std::string text(kMaxCaseBytes + 1, '\0');
    text.resize(std::fread(text.data(), 1, text.size(), stream));
    if (std::ferror(stream))
        return std::nullopt;
    return text;
}

std::optional<std::string> ReadCaseFileText(const std::filesystem::path& file, std::string& error)
{
    const std::string name = QuotedInput(file.string());
    const auto refuse = [&](std::string_view what, std::string_view why = {}) {
        error = std::string(what) + name + std::string(why);
        return std::nullopt;
    };
    std::error_code ec;
    const std::filesystem::file_status status = std::filesystem::status(file, ec);
    if (std::filesystem::is_directory(status))
        return refuse("无法打开案例文件 ", "（这是目录，不是文件）");
    if (std::filesystem::is_regular_file(status)) {
        const std::uintmax_t size = std::filesystem::file_size(file, ec);
        if (!ec && size > kMaxCaseBytes)
            return refuse(std::string(kCaseTooLarge) + ": ");
    }
    errno = 0;
    const std::unique_ptr<std::FILE, CloseFile> stream(std::fopen(file.c_str(), "rb"));
    if (!stream)
        return refuse("无法打开案例文件 ", OpenFailure(errno));
    std::optional<std::string> text = ReadCaseBytes(stream.get());
    if (!text)
        return refuse("无法读取案例文件 ");
    return text;
}

bool ReplaceFile(const std::filesystem::path& file, std::string_view text, std::string& error)
{
    const auto fail = [&](int cause) {
        error = FileFault(kSaveFailed, file, WriteFailure(cause));
        return false;
    };
    std::error_code ec;
    if (std::filesystem::is_directory(file, ec))
        return fail(EISDIR);
    std::filesystem::path temporary;
    FileDescriptor out(CreateBeside(file, temporary));
    if (out.fd() < 0)
        return fail(errno);
    int cause = WriteAll(out.fd(), text);
    if (cause == 0 && ::fsync(out.fd()) != 0)
        cause = errno;
    if (const int closed = out.Close(); cause == 0)
        cause = closed;
    if (cause == 0 && ::rename(temporary.c_str(), file.c_str()) != 0)
        cause = errno;
    if (cause != 0) {
        ::unlink(temporary.c_str());
        return fail(cause);
    }
    return true;
}

}  // namespace tavrin
