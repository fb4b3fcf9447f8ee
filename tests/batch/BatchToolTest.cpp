#include <gtest/gtest.h>
#include <sys/resource.h>

#include <sys/stat.h>
#include <sys/wait.h>

#include <algorithm>
#include <cctype>
#include <chrono>
#include <cstdlib>
#include <fstream>
#include <string>
#include <vector>

#include "BatchTestSupport.h"
#include "batch/BatchCase.h"

namespace tavrin::batch {
namespace {

namespace fs = std::filesystem;

// A command line, its output kept in files named after `name`.
testing::Outcome RunShell(const std::string& commandLine, const std::string& name)
{
    const fs::path out = testing::OutputPath(name + ".out");
    const fs::path err = testing::OutputPath(name + ".err");
    const std::string command = commandLine + " >\"" + out.string() + "\" 2>\"" + err.string() + "\"";
    const int status = std::system(command.c_str());
    testing::Outcome run;
    run.exit = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    run.out = testing::ReadFile(out);
    run.err = testing::ReadFile(err);
    return run;
}

// The program itself, as a teacher runs it from a shell; one that waits
// for a minute is stopped, and fails.
testing::Outcome RunProgram(const std::string& arguments, const std::string& name)
{
    return RunShell(std::string("timeout 60 \"") + TAVRIN_BATCH_EXECUTABLE + "\" " + arguments, name);
}

// True when every element of the XHTML page is closed in the order it was
// opened: the report reads as XML, each picture's SVG included.
bool TagsNest(const std::string& page)
{
    std::vector<std::string> open;
    for (std::size_t at = page.find('<'); at != std::string::npos; at = page.find('<', at + 1)) {
        const std::size_t end = page.find('>', at);
        if (end == std::string::npos)
            return false;
        const std::string tag = page.substr(at + 1, end - at - 1);
        if (tag.starts_with('!') || tag.starts_with('?') || tag.ends_with('/'))
            continue;
        const bool closing = tag.starts_with('/');
        const std::string body = closing ? tag.substr(1) : tag;
        const std::string name = body.substr(0, body.find_first_of(" \t\n"));
        if (!closing) {
            open.push_back(name);
            continue;
        }
        if (open.empty() || open.back() != name)
            return false;
        open.pop_back();
    }
    return open.empty();
}

std::string Quoted(const fs::path& path)
{
    return "\"" + path.string() + "\"";
}

// Width and height from a PNG's header chunk (big-endian at bytes 16 and 20).
std::pair<int, int> PngSize(const std::string& bytes)
{
    const auto at = [&](std::size_t i) {
        return (static_cast<unsigned char>(bytes[i]) << 24) | (static_cast<unsigned char>(bytes[i + 1]) << 16) |
               (static_cast<unsigned char>(bytes[i + 2]) << 8) | static_cast<unsigned char>(bytes[i + 3]);
    };
    if (bytes.size() < 24 || bytes.compare(1, 3, "PNG") != 0)
        return {0, 0};
    return {at(16), at(20)};
}

// A picture unit is 28.547 twips across and 31.2 down, at 96 dpi 1.9031 and
// 2.08 pixels: 267 units make ceil(508.1) x ceil(555.4) = 509 x 556 pixels,
// 150 x 120 units ceil(285.5) x ceil(249.6) = 286 x 250.
TEST(BatchToolTest, PicturesAndTraceOfACompletedCaseAreWritten)
{
    struct Case {
        const char* size;
        int width, height;
    };
    const Case cases[] = {{"", 509, 556}, {"--size 150x120", 286, 250}};
    for (const Case& k : cases) {
        SCOPED_TRACE(k.size);
        const fs::path dir = testing::OutputPath(std::string("pictures") + (k.size[0] ? "-sized" : ""));
        fs::remove_all(dir);
        const fs::path trace = dir / "trace.json";
        fs::create_directories(dir);
        const testing::Outcome run =
            RunProgram(Quoted(testing::ExamplePath("two-span-continuous-beam.json")) + " " + k.size + " --png " +
                           Quoted(dir / "png") + " --svg " + Quoted(dir / "svg") + " --trace " + Quoted(trace),
                       "pictures");
        EXPECT_EQ(run.exit, kExitCompleted) << run.err;
        EXPECT_NE(run.out.find("构件总内力"), std::string::npos);
        for (const char* name : {"structure", "moment", "shear", "axial", "mp", "unit-1", "deflection"}) {
            SCOPED_TRACE(name);
            EXPECT_EQ(PngSize(testing::ReadFile(dir / "png" / (std::string(name) + ".png"))),
                      std::make_pair(k.width, k.height));
            const std::string svg = testing::ReadFile(dir / "svg" / (std::string(name) + ".svg"));
            EXPECT_NE(svg.find("<svg"), std::string::npos);
            EXPECT_NE(svg.find("viewBox=\"0 0 " + std::to_string(k.width) + " " + std::to_string(k.height) + "\""),
                      std::string::npos);
        }
        const nlohmann::json ops = nlohmann::json::parse(testing::ReadFile(trace), nullptr, false);
        ASSERT_TRUE(ops.is_object());
        EXPECT_EQ(ops.size(), 7u);
        // The moment picture prints the hogging moment over the middle
        // support, qL^2/8 = 6, in "0.##".
        bool six = false;
        for (const auto& op : ops["moment"])
            six = six || (op["op"] == "Print" && op["text"] == "6.");
        EXPECT_TRUE(six);
    }
}

// The picture of a structure refused for its members is still written, and
// holds only numbers: two nodes 1e-40 apart once put y="nan" into it.
TEST(BatchToolTest, APictureHoldsOnlyFiniteNumbers)
{
    const fs::path dir = testing::OutputPath("finite");
    fs::remove_all(dir);
    fs::create_directories(dir);
    const fs::path file = dir / "tiny.json";
    std::ofstream(file) << R"({"nodes": [[1, 0, 0, "刚接"], [2, 1e-40, 0, "刚接"]], "elements": [[1, 1, 1, 2]]})";
    const testing::Outcome run = RunProgram(Quoted(file) + " --svg " + Quoted(dir / "svg"), "finite");
    EXPECT_EQ(run.exit, kExitStopped) << run.err;
    const std::string svg = testing::ReadFile(dir / "svg" / "structure.svg");
    EXPECT_NE(svg.find("<svg"), std::string::npos);
    for (const char* notANumber : {"\"nan", "\"-nan", "\"inf", "\"-inf"})
        EXPECT_EQ(svg.find(notANumber), std::string::npos) << notANumber;
}

TEST(BatchToolTest, ExitStatusSaysHowFarTheCaseWent)
{
    const fs::path broken = testing::OutputPath("broken.json");
    {
        std::ofstream(broken) << "{\n  \"nodes\": [[1, 0, 0, \"铰接\"]],\n  \"elements\": [[1, 1, 1, 2],]\n}\n";
    }
    const fs::path stopped = testing::OutputPath("stopped.json");
    {
        std::ofstream(stopped) << R"({"nodes": [[1, 0, 0, "刚接"], [2, 4, 0, "自由端"]],
                                    "elements": [[1, 1, 1, 2]], "supports": [[1, "固定支座", "结点左侧"]],
                                    "degree": 1})";
    }
    struct Case {
        const char* name;
        std::string arguments;
        int exit;
        std::string inOut;
        std::string inErr;
    };
    const Case cases[] = {
        {"example", Quoted(testing::ExamplePath("cantilever.json")), kExitCompleted, "【各构件内力】", ""},
        {"json", "--json " + Quoted(testing::ExamplePath("cantilever.json")), kExitCompleted, "\"calculationModel\": 0",
         ""},
        {"stopped", Quoted(stopped), kExitStopped, "请先在表中输入单位未知力", "计算被消息中止"},
        {"syntax error", Quoted(broken), kExitInvalid, "", "第3行第29列"},
        {"missing file", Quoted(testing::OutputPath("no-such-case.json")), kExitInvalid, "", "无法打开案例文件"},
        {"no case file", "--json", kExitInvalid, "", "缺少案例文件"},
        {"unknown option", "--colour " + Quoted(testing::ExamplePath("cantilever.json")), kExitInvalid, "",
         "不认识的选项 --colour"},
        {"bad size", "--size 0x10 " + Quoted(testing::ExamplePath("cantilever.json")), kExitInvalid, "", "--size"},
        {"help", "--help", kExitCompleted, "用法: tavrin-batch", ""},
    };
    for (const Case& k : cases) {
        SCOPED_TRACE(k.name);
        const testing::Outcome run = RunProgram(k.arguments, "exit");
        EXPECT_EQ(run.exit, k.exit) << run.err;
        EXPECT_NE(run.out.find(k.inOut), std::string::npos) << run.out;
        EXPECT_NE(run.err.find(k.inErr), std::string::npos) << run.err;
    }
}

// A case the tool cannot take whole is refused before anything is
// calculated: exit 2, nothing on standard output, and one Chinese message
// that names the key, the place in the file or the file, and is valid UTF-8
// whatever bytes the file or its name hold.
TEST(BatchToolTest, CasesThatCannotBeReadWholeAreRefused)
{
    const auto rows = [](int count, const std::string& row) {
        std::string table = "[" + row;
        for (int r = 1; r < count; ++r)
            table += ", " + row;
        return table + "]";
    };
    const auto write = [](const std::string& name, const std::string& content) {
        const fs::path file = testing::OutputPath(name);
        std::ofstream(file, std::ios::binary) << content;
        return file;
    };
    const fs::path tooLarge = write("too-large.json", "{\"description\": \"" + std::string(kMaxCaseBytes, 'x') + "\"}");
    const fs::path notUtf8Name = testing::OutputPath("case\xff.json");
    fs::remove(notUtf8Name);
    const fs::path pipe = testing::OutputPath("pipe.json");
    fs::remove(pipe);
    ASSERT_EQ(::mkfifo(pipe.c_str(), 0600), 0);
    struct Case {
        const char* name;
        std::string arguments;
        std::string message;
    };
    const Case cases[] = {
        {"101 loads",
         Quoted(write("loads.json", "{\"loads\": " + rows(101, R"(["集中荷载", 2, "", "向下", 1])") + "}")),
         "loads[100]: 这张表最多100行，这里却有101行"},
        {"unit force of 101 rows",
         Quoted(write("unit-force.json", "{\"unitForces\": [" + rows(101, R"(["集中荷载", 1, "", "向上"])") + "]}")),
         "unitForces[0][100]: 这张表最多100行，这里却有101行"},
        {"number out of range", Quoted(write("range.json", "{\n  \"nodes\": [[1, 1e999, 0, \"铰接\"]]\n}")),
         "第2行第17列: 数值超出范围"},
        {"file over 1 MiB", Quoted(tooLarge), std::string(kCaseTooLarge)},
        {"standard input over 1 MiB", "- <" + Quoted(tooLarge), std::string(kCaseTooLarge)},
        {"directory", Quoted(testing::OutputPath("")), "（这是目录，不是文件）"},
        {"unreadable", "/proc/self/mem", "无法读取案例文件 /proc/self/mem"},
        {"name not UTF-8", Quoted(notUtf8Name), "case\\xFF.json（文件不存在）"},
        {"named pipe", Quoted(pipe), "pipe.json（这是命名管道，不是普通文件）"},
    };
    for (const Case& k : cases) {
        SCOPED_TRACE(k.name);
        const testing::Outcome run = RunProgram(k.arguments, "refused");
        EXPECT_EQ(run.exit, kExitInvalid);
        EXPECT_EQ(run.out, "");
        EXPECT_NE(run.err.find(k.message), std::string::npos) << run.err;
        EXPECT_NO_THROW(static_cast<void>(nlohmann::json(run.err).dump())) << "not UTF-8";
    }
}

// The report as a student hands it in: the PDF's pages and text through
// poppler's tools (skipped where they are not installed), the HTML parsed as
// XHTML. Numbers as in BatchReportTest.
TEST(BatchToolTest, ReportIsWrittenAsPdfAndHtml)
{
    struct Case {
        const char* example;
        int pages;
        std::size_t pictures;
        std::vector<std::string> texts;      // as extracted, scripts on the line
        std::vector<std::string> htmlTexts;  // the same in the page
    };
    const Case cases[] = {
        {"propped-cantilever",
         7,
         7,
         {"δ11X1 + Δ1P = 0", "36X1 − 180 = 0", "X1 = 5", "M = 5M̄1 + MP", "轴力图：各杆均为零，图略。"},
         {"δ<sub>11</sub>X<sub>1</sub> + Δ<sub>1P</sub> = 0", "36X<sub>1</sub> − 180 = 0", "X<sub>1</sub> = 5"}},
        {"fixed-portal-frame",
         12,
         10,
         {"δ11X1 + δ12X2 + δ13X3 + Δ1P = 0", "106.667X1 + 64X2 + 32X3 − 320 = 0", "X3 = 1.333"},
         {"106.667X<sub>1</sub> + 64X<sub>2</sub> + 32X<sub>3</sub> − 320 = 0", "X<sub>3</sub> = 1.333"}},
    };
    const bool poppler = std::system("command -v pdftotext >/dev/null 2>&1 && command -v pdfinfo >/dev/null 2>&1") == 0;
    for (const Case& k : cases) {
        SCOPED_TRACE(k.example);
        const fs::path example = testing::ExamplePath(std::string(k.example) + ".json");
        const fs::path pdf = testing::OutputPath(std::string(k.example) + "-report.pdf");
        const fs::path html = testing::OutputPath(std::string(k.example) + "-report.html");
        fs::remove(pdf);
        const testing::Outcome run =
            RunProgram("--report " + Quoted(pdf) + " " + Quoted(example), std::string(k.example) + "-pdf");
        EXPECT_EQ(run.exit, kExitCompleted) << run.err;
        EXPECT_EQ(testing::ReadFile(pdf).substr(0, 5), "%PDF-");
        EXPECT_EQ(RunProgram("--report " + Quoted(html) + " " + Quoted(example), std::string(k.example) + "-html").exit,
                  kExitCompleted);

        const std::string page = testing::ReadFile(html);
        EXPECT_TRUE(TagsNest(page));
        std::size_t svgs = 0;
        for (std::size_t at = page.find("<svg "); at != std::string::npos; at = page.find("<svg ", at + 1))
            ++svgs;
        EXPECT_EQ(svgs, k.pictures);
        for (const std::string& expected : k.htmlTexts)
            EXPECT_NE(page.find(expected), std::string::npos) << expected;

        if (!poppler)
            continue;
        const testing::Outcome info = RunShell("pdfinfo " + Quoted(pdf), std::string(k.example) + "-pdfinfo");
        EXPECT_NE(info.out.find("Pages:           " + std::to_string(k.pages) + "\n"), std::string::npos) << info.out;
        const testing::Outcome extracted =
            RunShell("pdftotext -enc UTF-8 " + Quoted(pdf) + " -", std::string(k.example) + "-pdftotext");
        for (const std::string& expected : k.texts)
            EXPECT_NE(extracted.out.find(expected), std::string::npos) << expected;
    }
    if (!poppler)
        GTEST_SKIP() << "pdftotext and pdfinfo (poppler-utils) are not installed";
}

// The text copied out of every example's PDF is the text typed: the CJK
// font draws a Kangxi radical and its ideograph with one glyph, and none may
// come out as the radical (力 as ⼒ U+2F12 would make "力法" unsearchable).
TEST(BatchToolTest, ReportTextCopiesOutAsTyped)
{
    if (std::system("command -v pdftotext >/dev/null 2>&1") != 0)
        GTEST_SKIP() << "pdftotext (poppler-utils) is not installed";
    std::size_t examples = 0;
    for (const auto& entry : fs::directory_iterator(testing::ExamplePath(""))) {
        if (entry.path().extension() != ".json")
            continue;
        ++examples;
        const std::string name = entry.path().stem().string();
        SCOPED_TRACE(name);
        const fs::path pdf = testing::OutputPath(name + "-text.pdf");
        ASSERT_EQ(RunProgram("--report " + Quoted(pdf) + " " + Quoted(entry.path()), name + "-text").exit,
                  kExitCompleted);
        const std::string text = RunShell("pdftotext -enc UTF-8 " + Quoted(pdf) + " -", name + "-pdftotext").out;
        EXPECT_NE(text.find("力法典型方程"), std::string::npos);
        EXPECT_NE(text.find("计算书"), std::string::npos);
        // E2 BA 80 .. E2 BF BF: U+2E80..U+2FFF, the radicals and the
        // description characters, none of which the report writes.
        for (std::size_t at = text.find("\xE2"); at != std::string::npos; at = text.find("\xE2", at + 1)) {
            const auto second = static_cast<unsigned char>(text[at + 1]);
            EXPECT_FALSE(second >= 0xBA && second <= 0xBF) << "radical at " << at << ": " << text.substr(at, 3);
        }
        // Each row of the checks whole on one page: its verdict on the line
        // of its tolerance, not its numbers left at the foot of one page and
        // its words carried to the next.
        const std::string rows = RunShell("pdftotext -layout -enc UTF-8 " + Quoted(pdf) + " -", name + "-rows").out;
        for (std::size_t at = rows.find("通过"); at != std::string::npos; at = rows.find("通过", at + 1)) {
            const std::size_t start = rows.rfind('\n', at) + 1;
            const std::string line = rows.substr(start, at - start);
            const std::size_t point = line.find('.');
            EXPECT_TRUE(point != std::string::npos && point > 0 &&
                        std::isdigit(static_cast<unsigned char>(line[point - 1])))
                << line;
        }
    }
    EXPECT_GE(examples, 9u);
}

// How far down the text of each page reaches, as a share of the page's
// body (A4 with 20 mm margins), from the words' boxes of pdftotext -bbox;
// the page number under the body does not count.
std::vector<double> PageFills(const fs::path& pdf, const std::string& name)
{
    constexpr double kMargin = 56.7;  // 20 mm in points
    const std::string boxes = RunShell("pdftotext -bbox " + Quoted(pdf) + " -", name).out;
    std::vector<double> fills;
    for (std::size_t at = boxes.find("<page "); at != std::string::npos;) {
        const std::size_t next = boxes.find("<page ", at + 1);
        const std::string page = boxes.substr(at, next == std::string::npos ? std::string::npos : next - at);
        const double height = std::stod(page.substr(page.find("height=\"") + 8));
        double lowest = kMargin;
        for (std::size_t y = page.find("yMax=\""); y != std::string::npos; y = page.find("yMax=\"", y + 1)) {
            const double bottom = std::stod(page.substr(y + 6));
            if (bottom < height - kMargin)
                lowest = std::max(lowest, bottom);
        }
        fills.push_back((lowest - kMargin) / (height - 2.0 * kMargin));
        at = next;
    }
    return fills;
}

// The pages of the PDF a student hands in: a system of equations on one
// page, a displacement's sentence on the page of its working, and no page
// but the last left with 40 % of it empty because what follows did not fit
// (the portal's basic system shrinks a little to join the original
// structure on its page).
TEST(BatchToolTest, ReportPagesKeepWhatBelongsTogetherAndAreNotLeftHalfEmpty)
{
    if (std::system("command -v pdftotext >/dev/null 2>&1") != 0)
        GTEST_SKIP() << "pdftotext (poppler-utils) is not installed";
    const struct Case {
        const char* example;
        const char* displacement;
        std::vector<std::vector<std::string>> together;  // texts on one page
    } cases[] = {
        {"simply-supported-beam",
         R"([2, "竖向位移"], [1, "转角"])",
         {{"= −18.963 − 45.037 = −64", "结点2竖向位移 Δ = −64，与单位力方向相反。"}}},
        {"propped-cantilever", R"([2, "竖向位移"], [3, "转角"])", {{"δ11X1 + Δ1P = 0"}}},
        {"fixed-portal-frame",
         R"([3, "水平位移"], [2, "转角"])",
         {{"δ11X1 + δ12X2 + δ13X3 + Δ1P = 0", "δ21X1 + δ22X2 + δ23X3 + Δ2P = 0", "δ31X1 + δ32X2 + δ33X3 + Δ3P = 0"},
          {"106.667X1 + 64X2 + 32X3 − 320 = 0", "64X1 + 85.333X2 + 24X3 − 480 = 0", "32X1 + 24X2 + 12X3 − 128 = 0"},
          {"X1 = −1", "X2 = 6", "X3 = 1.333"}}},
    };
    for (const Case& k : cases) {
        SCOPED_TRACE(k.example);
        std::string text = testing::ReadFile(testing::ExamplePath(std::string(k.example) + ".json"));
        text.insert(1, "\"displacements\": [" + std::string(k.displacement) + "],");
        const fs::path input = testing::OutputPath(std::string(k.example) + "-asked.json");
        std::ofstream(input) << text;
        const fs::path pdf = testing::OutputPath(std::string(k.example) + "-asked.pdf");
        ASSERT_EQ(RunProgram("--report " + Quoted(pdf) + " " + Quoted(input), std::string(k.example) + "-asked").exit,
                  kExitCompleted);
        const std::string extracted =
            RunShell("pdftotext -enc UTF-8 " + Quoted(pdf) + " -", std::string(k.example) + "-asked-text").out;
        std::vector<std::string> pages;
        for (std::size_t at = 0; at <= extracted.size();) {
            const std::size_t end = std::min(extracted.find('\f', at), extracted.size());
            pages.push_back(extracted.substr(at, end - at));
            at = end + 1;
        }
        for (const std::vector<std::string>& group : k.together) {
            const auto holdsAll = [&](const std::string& page) {
                return std::all_of(group.begin(), group.end(),
                                   [&](const std::string& t) { return page.find(t) != std::string::npos; });
            };
            EXPECT_TRUE(std::any_of(pages.begin(), pages.end(), holdsAll)) << group.front();
        }
        const std::vector<double> fills = PageFills(pdf, std::string(k.example) + "-asked-boxes");
        ASSERT_GT(fills.size(), 2u);
        for (std::size_t p = 0; p + 1 < fills.size(); ++p)
            EXPECT_GE(fills[p], 0.6) << "page " << p + 1;
    }
}

// A beam of 30 members over 11 supports (9 redundants) fills some 80
// pages; laying it out may take at most twice as long per page as the
// 10-page propped cantilever: the layout grows with the pages, not with
// their square. Each case is timed twice and the faster run counts.
TEST(BatchToolTest, ReportTimeGrowsWithItsPages)
{
    if (std::system("command -v pdfinfo >/dev/null 2>&1") != 0)
        GTEST_SKIP() << "pdfinfo (poppler-utils) is not installed";
    std::string nodes, elements, loads, unitForces;
    for (int k = 1; k <= 31; ++k)
        nodes += (k > 1 ? "," : "") + std::string("[") + std::to_string(k) + "," + std::to_string(k - 1) + ",0,\"" +
                 (k == 1 || k == 31 ? "铰接" : "刚接") + "\"]";
    for (int e = 1; e <= 30; ++e) {
        elements += (e > 1 ? "," : "") + std::string("[") + std::to_string(e) + ",1," + std::to_string(e) + "," +
                    std::to_string(e + 1) + "]";
        loads += (e > 1 ? "," : "") + std::string("[\"均布荷载\",\"\",") + std::to_string(e) + ",\"向下\",2]";
    }
    for (int node = 4; node <= 28; node += 3)
        unitForces +=
            (node > 4 ? "," : "") + std::string("[[\"集中荷载\",") + std::to_string(node) + ",\"\",\"向上\"]]";
    const fs::path beam = testing::OutputPath("thirty-member-beam.json");
    std::ofstream(beam) << R"({"nodes":[)" << nodes << R"(],"elements":[)" << elements
                        << R"(],"supports":[[1,"铰支座","结点下方"],[31,"活动支座","结点下方"]],"loads":[)" << loads
                        << R"(],"degree":9,"unitForces":[)" << unitForces << "]}";
    struct Timed {
        double seconds;
        int pages;
    };
    const auto timed = [](const fs::path& input, const std::string& name) {
        const fs::path pdf = testing::OutputPath(name + ".pdf");
        // The processor time the tool took, which another process on the
        // machine does not stretch as it does the time on the clock.
        const auto childSeconds = [] {
            rusage usage{};
            getrusage(RUSAGE_CHILDREN, &usage);
            const auto seconds = [](const timeval& t) {
                return static_cast<double>(t.tv_sec) + static_cast<double>(t.tv_usec) / 1e6;
            };
            return seconds(usage.ru_utime) + seconds(usage.ru_stime);
        };
        double best = 1e9;
        for (int run = 0; run < 3; ++run) {
            const double start = childSeconds();
            EXPECT_EQ(RunProgram("--report " + Quoted(pdf) + " " + Quoted(input), name).exit, kExitCompleted);
            best = std::min(best, childSeconds() - start);
        }
        const std::string info = RunShell("pdfinfo " + Quoted(pdf), name + "-pdfinfo").out;
        const std::size_t at = info.find("Pages:");
        return Timed{best, at == std::string::npos ? 0 : std::stoi(info.substr(at + 6))};
    };
    const Timed small = timed(testing::ExamplePath("propped-cantilever.json"), "timed-small");
    const Timed large = timed(beam, "timed-large");
    ASSERT_GT(small.pages, 0);
    ASSERT_GT(small.seconds, 0.0);
    EXPECT_GT(large.pages, 60);
    EXPECT_LE(large.seconds, 2.0 * large.pages / small.pages * small.seconds)
        << large.pages << " pages in " << large.seconds << " s, " << small.pages << " in " << small.seconds << " s";
}

TEST(BatchToolTest, ReportNeedsAPdfOrHtmlName)
{
    const testing::Outcome run =
        RunProgram("--report out.txt " + Quoted(testing::ExamplePath("cantilever.json")), "report-name");
    EXPECT_EQ(run.exit, kExitInvalid);
    EXPECT_NE(run.err.find("--report 的文件名应以 .pdf 或 .html 结尾"), std::string::npos) << run.err;
}

}  // namespace
}  // namespace tavrin::batch
