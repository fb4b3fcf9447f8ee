#include <gtest/gtest.h>

#include <string>

#include "BatchTestSupport.h"
#include "batch/BatchCase.h"
#include "batch/BatchOutput.h"

namespace tavrin::batch {
namespace {

// A syntax error is placed by line and column, the column counted in
// characters (a Chinese character is one), as an editor shows it, and said in
// Chinese: the parser's own English text, which quotes the bytes it read,
// never reaches the user.
TEST(BatchCaseTest, SyntaxErrorsNameTheLineAndColumn)
{
    struct Case {
        const char* name;
        std::string text;
        const char* position;
        const char* detail;
    };
    const Case cases[] = {
        {"missing comma between rows", "{\n  \"nodes\": [\n    [1, 0, 0, \"铰接\"]\n    [2, 4, 0, \"铰接\"]\n  ]\n}",
         "第4行第5列", "此处应为“,”或“]”"},
        {"cut short", "{\"nodes\": [", "第1行第12列", "文件在此处意外结束"},
        {"after Chinese text", "{\"description\": \"简支梁\", x}", "第1行第24列", "无法识别的内容，文本须加双引号"},
        {"empty file", "", "第1行第1列", "文件在此处意外结束"},
        {"byte not UTF-8 in a text", "{\"description\": \"\xff\"}", "第1行第18列", "文本中有不是 UTF-8 编码的字节"},
        {"trailing comma", "{\"nodes\": [[1, 0, 0],]}", "第1行第22列", "此处应为一个值"},
        {"missing colon", "{\"nodes\" []}", "第1行第10列", "此处应为冒号“:”"},
        {"tab inside a text", "{\"description\": \"a\tb\"}", "第1行第19列",
         "文本中的换行、制表符等控制字符须写成 \\n、\\t 等转义形式"},
        {"half a surrogate pair", R"({"description": "\ud800"})", "第1行第24列", "\\u 转义的代理项不成对"},
        {"number cut short", "{\"scale\": 1.}", "第1行第13列", "数字不完整"},
        {"second object", "{} {}", "第1行第4列", "案例对象之后还有多余的内容"},
    };
    for (const Case& k : cases) {
        SCOPED_TRACE(k.name);
        const CaseReading reading = ReadCase(k.text);
        EXPECT_FALSE(reading.value);
        EXPECT_EQ(reading.error, std::string(k.position) + ": JSON 语法错误（" + k.detail + "）");

        const testing::Outcome outcome = testing::RunText(k.text);
        EXPECT_EQ(outcome.exit, kExitInvalid);
        EXPECT_EQ(outcome.out, "");
        EXPECT_NE(outcome.err.find(k.position), std::string::npos) << outcome.err;
    }
}

TEST(BatchCaseTest, ValuesOfTheWrongKindNameTheirKey)
{
    struct Case {
        std::string text;
        std::string message;  // the start of it
    };
    const Case cases[] = {
        {R"({"elements": [[1, 1, 1, 2], [2, 1, 2, 3], [3, true, 3, 4]]})", "elements[2][1]: 应为文本或数字"},
        {R"({"nodes": {"1": [0, 0]}})", "nodes: 应为由行组成的数组"},
        {R"({"nodes": [1, 2]})", "nodes[0]: 应为由单元格组成的数组"},
        {R"({"supports": [[1, "铰支座", "结点下方", "多余"]]})", "supports[0]: 这张表只有3列，这一行却有4个单元格"},
        {R"({"loads": [["均布荷载", "", 1, "向下", 2, 0, 4, 1, "多余"]]})",
         "loads[0]: 这张表只有8列，这一行却有9个单元格"},
        {R"({"unitForces": [[["集中荷载", 2, null, "向上"]]]})", "unitForces[0][0][2]: 应为文本或数字"},
        {R"({"unitForces": {"X1": []}})", "unitForces: 应为单位力表的数组"},
        {R"({"degree": [1]})", "degree: 应为文本、数字或 null"},
        {R"({"scale": {}})", "scale: 应为文本、数字或 null"},
        {R"({"answers": [[1, 21.3]]})", "answers: 应为以计算项目为键"},
        {R"({"answers": {"自由项系数": [[1, true]]}})", "answers“自由项系数”[0][1]: 应为文本或数字"},
        {R"({"displacements": {"2": "转角"}})", "displacements: 应为由行组成的数组"},
        {R"({"displacements": [[2, {}]]})", "displacements[0][1]: 应为文本或数字"},
        {R"({"displacements": [[2, "挠度"]]})", "displacements[0]: 应为结点码和位移方向"},
        {R"({"displacements": [[2]]})", "displacements[0]: 应为结点码和位移方向"},
        {R"({"settlements": [[2, "沉降", -0.01]]})",
         "settlements[0]: 应为结点码、位移类型（水平位移、竖向位移或转角）和位移值"},
        {R"({"settlements": [[2, "竖向位移"]]})", "settlements[0]: 应为结点码、位移类型"},
        {R"({"settlements": [[2, "竖向位移", -0.01, 0]]})", "settlements[0]: 这张表只有3列，这一行却有4个单元格"},
        {R"({"temperatures": [[1, 10, -10, 1e-5]]})", "temperatures[0]: 应为单元码、左侧温度改变、右侧温度改变"},
        {R"({"temperatures": [[1, 10, -10, 1e-5, 0.5], "热"]})", "temperatures[1]: 应为由单元格组成的数组"},
        {R"({"suports": []})", "“suports”: 不认识的键"},
        {R"([1, 2])", "案例文件应是一个 JSON 对象"},
        // The dialog would take it, but no case of 100 members needs it and
        // its coefficient matrix alone would take gigabytes.
        {R"({"degree": "30000"})", "degree: 超静定次数30000超过本工具能计算的100次"},
    };
    for (const Case& k : cases) {
        SCOPED_TRACE(k.text);
        const CaseReading reading = ReadCase(k.text);
        EXPECT_FALSE(reading.value);
        EXPECT_EQ(reading.error.rfind(k.message, 0), 0u) << reading.error;
        const testing::Outcome outcome = testing::RunText(k.text);
        EXPECT_EQ(outcome.exit, kExitInvalid);
        EXPECT_NE(outcome.err.find(k.message), std::string::npos) << outcome.err;
    }
}

// Texts a parser of JSON would take, though a value in them is lost: a key
// given twice (the last one would win), bytes after a NUL (taken for the
// end of the text). What a file of NULs is, is said too.
TEST(BatchCaseTest, TextsThatWouldLoseAValueAreRefused)
{
    using namespace std::string_literals;
    struct Case {
        const char* name;
        std::string text;
        std::string message;
    };
    const Case cases[] = {
        {"degree twice", "{\"degree\": 1,\n \"nodes\": [],\n \"degree\": 2}",
         "第3行: 键“degree”重复出现（第1行已有），请只保留一个"},
        {"one item answered twice", "{\"answers\": {\n \"未知力求解\": [],\n \"未知力求解\": [[\"\", 3]]}}",
         "第3行: 键“未知力求解”重复出现（第2行已有），请只保留一个"},
        {"a file of NULs", "\0\0\0\0"s, "第1行第1列: " + std::string(kNulBytes)},
        {"a NUL after the case", "{}\n\0{\"nodes\": 1}"s, "第2行第1列: " + std::string(kNulBytes)},
    };
    for (const Case& k : cases) {
        SCOPED_TRACE(k.name);
        const CaseReading reading = ReadCase(k.text);
        EXPECT_FALSE(reading.value);
        EXPECT_EQ(reading.error, k.message);
    }
    // One key in two objects is no key given twice.
    EXPECT_TRUE(ReadCase(R"({"answers": {"nodes": []}, "nodes": []})").value);
}

TEST(BatchCaseTest, CellsAreTextsAndNumbersTheirShortestText)
{
    const CaseReading reading = ReadCase(R"({
        "nodes": [[1, 0.1, 2.5e4, "刚接"], [-3, 1e-7, 12345678901, ""]],
        "degree": 2, "scale": "40", "description": ["一行", "两行"]})");
    ASSERT_TRUE(reading.value) << reading.error;
    const BatchCase& c = *reading.value;
    EXPECT_EQ(c.nodes, (Rows{{"1", "0.1", "25000", "刚接"}, {"-3", "1e-07", "12345678901", ""}}));
    EXPECT_EQ(c.degree, "2");
    EXPECT_EQ(c.scale, "40");

    const CaseReading determinate = ReadCase(R"({"degree": null, "scale": null, "loads": null})");
    ASSERT_TRUE(determinate.value) << determinate.error;
    EXPECT_FALSE(determinate.value->degree);
    EXPECT_FALSE(determinate.value->scale);
    EXPECT_TRUE(determinate.value->loads.empty());
}

TEST(BatchCaseTest, TextWidthCountsWideCharactersTwice)
{
    struct Case {
        std::string text;
        int width;
    };
    const Case cases[] = {
        {"", 0},   {"0.##", 4},  {"支座", 4}, {"Fx(向右为正)", 12}, {"δi1", 3},
        {"：", 2}, {"( 1 )", 5}, {"\xff", 1}, {"\xe6\x94", 2},  // a cut sequence: its bytes count one each
    };
    for (const Case& k : cases) {
        SCOPED_TRACE(k.text);
        EXPECT_EQ(DisplayWidth(k.text), k.width);
    }
}

}  // namespace
}  // namespace tavrin::batch
