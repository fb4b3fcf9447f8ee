#include "app/CaseFile.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
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
#include "forcemethod/BasicSystemChoice.h"
#include "forcemethod/Displacements.h"
#include "forcemethod/SupplementaryInput.h"
#include "input/InputTables.h"
#include "model/DecimalChars.h"
#include "model/Vocabulary.h"

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
    const auto result = ShortestChars(buffer, buffer + sizeof buffer, value.get<double>());
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

constexpr std::string_view kKnownKeys[] = {
    "nodes",       "elements",     "supports",    "loads",       "degree",  "attachedParts",
    "basicParts",  "unitForces",   "scale",       "description", "answers", "displacements",
    "settlements", "temperatures", "basicSystem", "student",     "class"};

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
    table("settlements", InputColumns(kSettlementTable), structureCase.settlements);
    for (std::size_t r = 0; r < structureCase.settlements.size(); ++r)
        if (const std::vector<std::string>& row = structureCase.settlements[r];
            row.size() != InputColumns(kSettlementTable) ||
            std::find(SettlementKindList.begin(), SettlementKindList.end(), row[1]) == SettlementKindList.end())
            throw CaseFault{Path("settlements", r) +
                            ": 应为结点码、位移类型（水平位移、竖向位移或转角）和位移值三个单元格"};
    table("temperatures", InputColumns(kTemperatureTable), structureCase.temperatures);
    for (std::size_t r = 0; r < structureCase.temperatures.size(); ++r)
        if (structureCase.temperatures[r].size() != InputColumns(kTemperatureTable))
            throw CaseFault{Path("temperatures", r) +
                            ": 应为单元码、左侧温度改变、右侧温度改变、线膨胀系数和截面高度五个单元格"};
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
    if (const auto it = root.find("basicSystem"); it != root.end() && !it->is_null()) {
        if (it->is_string() && it->get<std::string>() == "auto")
            structureCase.basicSystemAuto = true;
        else
            structureCase.basicSystem = ReadTable(*it, "basicSystem", 2);
        for (std::size_t r = 0; r < structureCase.basicSystem.size(); ++r)
            if (!RestraintOfCells(structureCase.basicSystem[r]))
                throw CaseFault{Path("basicSystem", r) +
                                ": 应为结点码和去掉的约束（水平、竖向、转角或弯矩连续）两个单元格"};
        if (!structureCase.unitForces.empty())
            throw CaseFault{"basicSystem: 由程序形成基本体系时不能再给出 unitForces"};
    }
    if (const auto it = root.find("degree"); it != root.end())
        structureCase.degree = ReadOptionalText(*it, "degree");
    if (const auto it = root.find("scale"); it != root.end())
        structureCase.scale = ReadOptionalText(*it, "scale");
    if (const auto it = root.find("description"); it != root.end())
        structureCase.description = ReadDescription(*it);
    for (const auto& [key, field] : {std::pair{"student", &structureCase.student}, {"class", &structureCase.className}})
        if (const auto it = root.find(key); it != root.end())
            *field = ReadOptionalText(*it, key).value_or(std::string());
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

// "第3行第5列: ": where a message about the text points.
std::string Place(std::string_view text, std::size_t offset)
{
    const TextPosition at = PositionOfOffset(text, offset);
    return "第" + std::to_string(at.line) + "行第" + std::to_string(at.column) + "列: ";
}

// The text byte by byte, counting the lines the parser has taken, so that a
// handler of its events knows which line it is on: the parser reads no byte
// beyond the token it reports.
class CountingIterator {
public:
    using iterator_category = std::input_iterator_tag;
    using value_type = char;
    using difference_type = std::ptrdiff_t;
    using pointer = const char*;
    using reference = const char&;

    // `line` is the line of the byte at `at`, counted from 1.
    CountingIterator(const char* at, int* line) : m_at(at), m_line(line) {}
    reference operator*() const { return *m_at; }
    CountingIterator& operator++()
    {
        if (*m_at == '\n')
            ++*m_line;
        ++m_at;
        return *this;
    }
    CountingIterator operator++(int)
    {
        CountingIterator before = *this;
        ++*this;
        return before;
    }
    bool operator==(const CountingIterator& other) const { return m_at == other.m_at; }

private:
    const char* m_at;
    int* m_line;
};

// A reading that builds nothing, before the tree is built: where and why the
// text is not JSON (the tree parser reports a number too large for a double
// without its position), or which key an object holds twice. JSON lets the
// last of two equal keys win without a word; a case that says its degree
// twice is refused instead, so that no value typed is silently dropped.
class CaseProbe : public nlohmann::json_sax<json> {
public:
    // The first fault of `text`; empty when it is one JSON value whose
    // objects each have their keys once.
    std::string Fault(std::string_view text)
    {
        m_line = 1;
        json::sax_parse(CountingIterator(text.data(), &m_line), CountingIterator(text.data() + text.size(), &m_line),
                        this);
        if (!m_duplicate.empty())
            return m_duplicate;
        if (m_message.empty())
            return {};
        const std::size_t offset =
            m_numberTooLarge ? m_position - std::min(m_tokenBytes, m_position) : (m_position == 0 ? 0 : m_position - 1);
        const std::string place = Place(text, offset);
        if (m_numberTooLarge)
            return place + "数值超出范围";
        for (const SyntaxDetail& d : kSyntaxDetails)
            if (m_message.find(d.phrase) != std::string::npos)
                return place + "JSON 语法错误（" + std::string(d.detail) + "）";
        return place + "JSON 语法错误";
    }

    bool null() override { return true; }
    bool boolean(bool) override { return true; }
    bool number_integer(number_integer_t) override { return true; }
    bool number_unsigned(number_unsigned_t) override { return true; }
    bool number_float(number_float_t, const string_t&) override { return true; }
    bool string(string_t&) override { return true; }
    bool binary(binary_t&) override { return true; }
    bool start_object(std::size_t) override
    {
        m_objects.emplace_back();
        return true;
    }
    // The parser has just read the key's closing quote: a key holds no line
    // break, so the line read is the key's.
    bool key(string_t& key) override
    {
        const int line = m_line;
        const auto [first, added] = m_objects.back().emplace(key, line);
        if (added)
            return true;
        m_duplicate = "第" + std::to_string(line) + "行: 键“" + QuotedInput(key) + "”重复出现（第" +
                      std::to_string(first->second) + "行已有），请只保留一个";
        return false;
    }
    bool end_object() override
    {
        m_objects.pop_back();
        return true;
    }
    bool start_array(std::size_t) override { return true; }
    bool end_array() override { return true; }
    // The parser's own text names the token it read, which may hold any
    // bytes, and is never shown.
    bool parse_error(std::size_t position, const std::string& lastToken, const json::exception& e) override
    {
        m_position = position;
        m_tokenBytes = lastToken.size();
        m_numberTooLarge = e.id == kNumberOverflow;
        m_message = e.what();
        return false;
    }

private:
    static constexpr int kNumberOverflow = 406;
    int m_line = 1;  // of the next byte the parser takes
    // The keys of each object open, with the line each was given on.
    std::vector<std::map<std::string, int>> m_objects;
    std::string m_duplicate;
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
    // Hands the descriptor on: it is no longer closed here.
    void Release() { m_fd = -1; }
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

// Why a file could not be written, in the student's words.
struct WriteCause {
    int error;
    std::string_view cause;
};
constexpr WriteCause kWriteCauses[] = {
    {EACCES, "没有写入权限"},
    {EPERM, "没有写入权限"},
    {ENOSPC, "磁盘已满"},
    {EDQUOT, "磁盘已满"},
    {ENOENT, "文件夹不存在"},
    {ENOTDIR, "路径中有一级不是文件夹"},
    {EROFS, "磁盘只读"},
    {EFBIG, "文件超过允许的大小"},
    {EISDIR, "这是目录，不是文件"},
    {EEXIST, "文件旁的临时文件名都被占用（另有保存正在进行）"},
    {ENAMETOOLONG, "文件名太长"},
    {ELOOP, "符号链接过多或成环"},
    {EIO, "磁盘读写出错"},
    {EBUSY, "文件正被占用"},
    {ETXTBSY, "文件正被占用"},
    {EMFILE, "打开的文件太多"},
    {ENFILE, "打开的文件太多"},
    {ENOMEM, "内存不足"},
    {EXDEV, "无法在两个磁盘之间改名"},
    {EINVAL, "文件名无效，或文件系统不支持此操作"},
};

std::string WriteFailure(int error)
{
    for (const WriteCause& c : kWriteCauses)
        if (c.error == error)
            return std::string(c.cause);
    return "系统错误（错误号 " + std::to_string(error) + "）";
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

constexpr int kTemporaryNames = 100;

// `file`.tmp, .tmp1, … .tmp99: the names a save writes its new text under.
std::filesystem::path TemporaryName(const std::filesystem::path& file, int n)
{
    std::filesystem::path name = file;
    name += ".tmp" + (n == 0 ? std::string() : std::to_string(n));
    return name;
}

// Removes `temporary` when it was left by a save that did not finish (the
// program was killed or the machine stopped): a save holds the lock on its
// temporary file until it is renamed, so a temporary nobody locks is no
// save's any more. True when it is gone.
bool RemoveIfLeftOver(const std::filesystem::path& temporary)
{
    FileDescriptor old(::open(temporary.c_str(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_NOCTTY | O_CLOEXEC));
    struct stat status {};
    if (old.fd() < 0 || ::fstat(old.fd(), &status) != 0 || !S_ISREG(status.st_mode) ||
        ::flock(old.fd(), LOCK_EX | LOCK_NB) != 0)
        return false;
    return ::unlink(temporary.c_str()) == 0;
}

// A file of that name made anew, locked for as long as it is open; -1 with
// errno when it cannot be.
int CreateLocked(const std::filesystem::path& name)
{
    const int fd = ::open(name.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0666);
    // On a file system without locks no temporary is ever taken for a
    // left-over one (RemoveIfLeftOver needs the lock).
    if (fd >= 0)
        ::flock(fd, LOCK_EX | LOCK_NB);
    return fd;
}

// A new file beside `file` that no other save has, into `fd`; a name left
// over by an unfinished save is taken over. 0 or the error.
int CreateBeside(const std::filesystem::path& file, std::filesystem::path& created, int& fd)
{
    for (int n = 0; n < kTemporaryNames; ++n) {
        created = TemporaryName(file, n);
        fd = CreateLocked(created);
        int cause = fd < 0 ? errno : 0;
        if (cause == EEXIST && RemoveIfLeftOver(created)) {
            fd = CreateLocked(created);
            cause = fd < 0 ? errno : 0;
        }
        if (cause != EEXIST)
            return cause;
    }
    return EEXIST;
}

// The temporaries of unfinished saves of `file`, also of older versions of
// the program, which took the next free name and never came back to them.
void RemoveLeftOvers(const std::filesystem::path& file)
{
    for (int n = 0; n < kTemporaryNames; ++n)
        RemoveIfLeftOver(TemporaryName(file, n));
}

// The file a save of `file` replaces: `file` itself, or the file its
// symbolic links lead to, so that saving through a link keeps the link. 0
// or the error (ELOOP for a chain of links too long).
int FollowLinks(const std::filesystem::path& file, std::filesystem::path& target)
{
    constexpr int kMostLinks = 40;
    target = file;
    for (int n = 0; n < kMostLinks; ++n) {
        std::error_code ec;
        const std::filesystem::path next = std::filesystem::read_symlink(target, ec);
        if (ec)
            return 0;
        target = next.is_absolute() ? next : target.parent_path() / next;
    }
    return ELOOP;
}

// Gives the new file the permissions of the file it replaces, so that
// saving never opens a private file to others. A new file keeps what the
// process's umask gives it.
int KeepModeOf(const std::filesystem::path& target, int fd)
{
    struct stat old {};
    if (::stat(target.c_str(), &old) != 0)
        return 0;
    return ::fchmod(fd, old.st_mode & 07777) == 0 ? 0 : errno;
}

// Makes the rename itself durable: until its folder is synced, a power cut
// may bring back the old file or none at all. A file system that cannot
// sync a folder says EINVAL, and is taken as it is.
int SyncFolderOf(const std::filesystem::path& file)
{
    const std::filesystem::path folder = file.has_parent_path() ? file.parent_path() : std::filesystem::path(".");
    FileDescriptor dir(::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (dir.fd() < 0)
        return errno;
    if (::fsync(dir.fd()) != 0 && errno != EINVAL)
        return errno;
    return 0;
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

// Why a path that is not a regular file is not read as a case.
struct FileKind {
    mode_t type;  // S_IFDIR, …
    std::string_view reason;
};
constexpr FileKind kNotRegularFiles[] = {
    {S_IFDIR, "（这是目录，不是文件）"},        {S_IFIFO, "（这是命名管道，不是普通文件）"},
    {S_IFSOCK, "（这是套接字，不是普通文件）"}, {S_IFCHR, "（这是设备，不是普通文件）"},
    {S_IFBLK, "（这是设备，不是普通文件）"},
};

std::string_view NotARegularFile(mode_t mode)
{
    for (const FileKind& kind : kNotRegularFiles)
        if ((mode & S_IFMT) == kind.type)
            return kind.reason;
    return "（不是普通文件）";
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
        // The parser takes a NUL byte for the end of the text; a file of
        // NULs is what a disk leaves of a file whose writing was cut off.
        if (const std::size_t nul = text.find('\0'); nul != std::string_view::npos) {
            reading.error = Place(text, nul) + std::string(kNulBytes);
            return reading;
        }
        reading.error = CaseProbe().Fault(text);
        if (reading.error.empty())
            reading.value = ReadCaseObject(json::parse(text.begin(), text.end()));
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
    for (const auto& [key, field] : {std::pair{"student", &structureCase.student}, {"class", &structureCase.className}})
        if (!field->empty())
            keys.emplace_back(key, json(*field).dump(-1, ' ', false, json::error_handler_t::replace));
    keys.emplace_back("nodes", TableJson(structureCase.nodes));
    keys.emplace_back("elements", TableJson(structureCase.elements));
    keys.emplace_back("supports", TableJson(structureCase.supports));
    keys.emplace_back("loads", TableJson(structureCase.loads));
    if (!structureCase.settlements.empty())
        keys.emplace_back("settlements", TableJson(structureCase.settlements));
    if (!structureCase.temperatures.empty())
        keys.emplace_back("temperatures", TableJson(structureCase.temperatures));
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
    if (structureCase.basicSystemAuto)
        keys.emplace_back("basicSystem", "\"auto\"");
    else if (!structureCase.basicSystem.empty())
        keys.emplace_back("basicSystem", TableJson(structureCase.basicSystem));

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
    // Only a regular file is read: a named pipe would hold the program until
    // some other program wrote to it, a device might never end. Its kind is
    // looked at before it is opened, and again on what was opened, without
    // waiting, in case it was replaced in between.
    struct stat status {};
    if (::stat(file.c_str(), &status) == 0 && !S_ISREG(status.st_mode))
        return refuse("无法打开案例文件 ", NotARegularFile(status.st_mode));
    errno = 0;
    FileDescriptor in(::open(file.c_str(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC));
    if (in.fd() < 0)
        return refuse("无法打开案例文件 ", OpenFailure(errno));
    if (::fstat(in.fd(), &status) != 0)
        return refuse("无法读取案例文件 ");
    if (!S_ISREG(status.st_mode))
        return refuse("无法打开案例文件 ", NotARegularFile(status.st_mode));
    if (static_cast<std::uintmax_t>(status.st_size) > kMaxCaseBytes)
        return refuse(std::string(kCaseTooLarge) + ": ");
    const std::unique_ptr<std::FILE, CloseFile> stream(::fdopen(in.fd(), "rb"));
    if (!stream)
        return refuse("无法读取案例文件 ");
    in.Release();
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
    std::filesystem::path target;
    if (const int cause = FollowLinks(file, target); cause != 0)
        return fail(cause);
    std::error_code ec;
    if (std::filesystem::is_directory(target, ec))
        return fail(EISDIR);
    std::filesystem::path temporary;
    int fd = -1;
    if (const int cause = CreateBeside(target, temporary, fd); cause != 0)
        return fail(cause);
    FileDescriptor out(fd);
    int cause = KeepModeOf(target, out.fd());
    if (cause == 0)
        cause = WriteAll(out.fd(), text);
    if (cause == 0 && ::fsync(out.fd()) != 0)
        cause = errno;
    // Renamed while still open and locked, so that no other save takes it
    // for the remains of an unfinished one.
    if (cause == 0 && ::rename(temporary.c_str(), target.c_str()) != 0)
        cause = errno;
    const bool renamed = cause == 0;
    if (const int closed = out.Close(); cause == 0)
        cause = closed;
    if (cause != 0) {
        if (!renamed)
            ::unlink(temporary.c_str());
        return fail(cause);
    }
    RemoveLeftOvers(target);
    if (const int synced = SyncFolderOf(target); synced != 0)
        return fail(synced);
    return true;
}

}  // namespace tavrin
