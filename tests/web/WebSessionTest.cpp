#include "web/WebSession.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <nlohmann/json.hpp>
#include <sstream>
#include <string>

namespace tavrin {
namespace {

using Json = nlohmann::ordered_json;

const std::filesystem::path kExamples = std::filesystem::path(TAVRIN_SOURCE_DIR) / "examples";

std::string ReadFile(const std::filesystem::path& file)
{
    std::ifstream stream(file, std::ios::binary);
    std::ostringstream content;
    content << stream.rdbuf();
    return content.str();
}

// The page's side of the session: requests in, answers out.
class Page {
public:
    Page() : m_session(kExamples) {}

    Json Send(Json request)
    {
        last = Json::parse(m_session.Handle(request.dump()));
        return last;
    }
    Json Send(const char* op) { return Send(Json{{"op", op}}); }

    // Keys typed on the current cell of a grid as the page hands them on: a
    // character on the grid opens the text editor with it, the rest of the
    // text goes into the editor, Enter commits it.
    void TypeCell(const std::string& grid, const std::string& text)
    {
        const std::string first(text.substr(0, 1));
        Send({{"op", "grid"}, {"grid", grid}, {"action", "key"}, {"key", first[0]}, {"text", first}});
        Send({{"op", "grid"},
              {"grid", grid},
              {"action", "textKey"},
              {"key", 13},
              {"editors", {{grid, {{"text", text}}}}}});
    }
    // An entry of a list column: the list opens on Space, the entry is chosen.
    void ChooseCell(const std::string& grid, const std::string& entry)
    {
        Send({{"op", "grid"}, {"grid", grid}, {"action", "key"}, {"key", 32}, {"text", " "}});
        Send({{"op", "grid"}, {"grid", grid}, {"action", "listChoice"}, {"chosen", entry}});
    }

    const Json& State() const { return last["state"]; }
    std::vector<std::string> Messages() const
    {
        std::vector<std::string> texts;
        for (const Json& m : last["messages"])
            texts.push_back(m["text"].get<std::string>());
        return texts;
    }

    Json last;

private:
    WebSession m_session;
};

// The node table typed key by key: the number columns through the text
// editor, the joint type from its list, each entry moving on to the next
// cell; "交互检查" commits it and draws the nodes. A row numbered out of
// order is refused with the row, the column and the Chinese cause, and the
// model keeps what it had.
TEST(WebSessionTest, ANodeTableTypedByKeysCommitsAndAWrongNumberIsRefused)
{
    Page page;
    page.Send("openInput");
    EXPECT_EQ(page.Send({{"op", "selectTable"}, {"index", 0}})["focus"], "input-grid");
    const Json& grid = page.State()["input"]["grid"];
    EXPECT_EQ(grid["cells"][0][0], "结点号");
    EXPECT_EQ(grid["row"], 1);
    const char* rows[][3] = {{"1", "0", "0"}, {"2", "4", "0"}};
    for (const auto& row : rows) {
        for (const char* cell : row)
            page.TypeCell("input", cell);
        page.ChooseCell("input", "刚接");
    }
    const Json& typed = page.State()["input"]["grid"];
    EXPECT_EQ(typed["cells"][2], Json::array({"2", "4", "0", "刚接"}));
    EXPECT_EQ(typed["row"], 3);
    EXPECT_EQ(typed["col"], 0);

    page.Send("commit");
    EXPECT_TRUE(page.Messages().empty());
    EXPECT_FALSE(page.State()["picture"]["blank"].get<bool>());
    EXPECT_NE(page.State()["picture"]["svg"].get<std::string>().find("> 2 </text>"), std::string::npos);

    page.Send({{"op", "grid"}, {"grid", "input"}, {"action", "click"}, {"row", 2}, {"col", 0}});
    page.TypeCell("input", "3");
    page.Send("commit");
    ASSERT_EQ(page.Messages().size(), 1u);
    EXPECT_EQ(page.Messages()[0], "第2行“结点号”列：结点号应为2（各行依次为1、2、3…），本表未提交!");
    const Json saved = Json::parse(page.Send({{"op", "save"}, {"name", "梁"}})["download"]["text"].get<std::string>());
    EXPECT_EQ(page.last["download"]["name"], "梁.json");
    EXPECT_EQ(saved["nodes"], Json::parse(R"([[1, 0, 0, "刚接"], [2, 4, 0, "刚接"]])"));
}

// Questions the desktop asks in a box come back as "ask"; the request sent
// again with the answer goes on: the table typed but not committed before
// another is chosen, the work not saved before the structure is let go of,
// the scale of a diagram.
TEST(WebSessionTest, QuestionsAreAskedAndTheAnswerSentAgainGoesOn)
{
    Page page;
    page.Send({{"op", "open"}, {"text", ReadFile(kExamples / "simply-supported-beam.json")}, {"name", "梁.json"}});
    EXPECT_EQ(page.State()["title"], "Tavrin - 梁.json");
    page.Send({{"op", "selectTable"}, {"index", 0}});
    page.Send({{"op", "grid"}, {"grid", "input"}, {"action", "click"}, {"row", 2}, {"col", 1}});
    page.TypeCell("input", "5");

    const Json asked = page.Send({{"op", "selectTable"}, {"index", 1}})["ask"];
    EXPECT_EQ(asked["key"], "uncommitted");
    EXPECT_EQ(asked["question"], "本表已修改，是否提交？");
    EXPECT_EQ(page.State()["input"]["table"], 0);
    page.Send({{"op", "selectTable"}, {"index", 1}, {"uncommitted", "drop"}});
    EXPECT_EQ(page.State()["input"]["table"], 1);

    EXPECT_TRUE(page.Send("leave")["proceed"].get<bool>());
    page.Send({{"op", "acceptModelType"}, {"indeterminate", true}, {"degree", "1"}});
    const Json unsaved = page.Send("leave");
    EXPECT_FALSE(unsaved["proceed"].get<bool>());
    EXPECT_EQ(unsaved["ask"]["question"], "是否保存对结构的修改？");
    EXPECT_FALSE(page.Send({{"op", "leave"}, {"unsaved", "cancel"}})["proceed"].get<bool>());
    const Json saved = page.Send({{"op", "leave"}, {"unsaved", "save"}});
    EXPECT_TRUE(saved["proceed"].get<bool>());
    EXPECT_EQ(saved["download"]["name"], "梁.json");
    EXPECT_TRUE(page.Send("leave")["proceed"].get<bool>());

    page.Send({{"op", "acceptModelType"}, {"indeterminate", false}});
    page.Send("runAll");
    const Json scale = page.Send({{"op", "diagram"}, {"kind", "moment"}})["ask"];
    EXPECT_EQ(scale["key"], "scale");
    EXPECT_EQ(scale["question"], "输入绘图比例(30～100)：");
    page.Send({{"op", "diagram"}, {"kind", "moment"}, {"scale", nullptr}});
    EXPECT_EQ(page.State()["picture"]["caption"], "弯矩图");
    // The beam of span 6 with 12 at x = 2 and 2 per unit length over
    // [2, 6]: R1 = 20 - 56 / 6, M2 = 2 R1 = 21.33.
    EXPECT_NE(page.State()["picture"]["svg"].get<std::string>().find(">21.33</text>"), std::string::npos);
}

// A structure typed whole with its degree: "计算类型分析" offers the choice
// of the basic system; "推荐" ticks the end support's vertical restraint of
// the two-span beam, "确定" types the basic system in and opens the
// calculation, whose unknown is 4.5.
TEST(WebSessionTest, AStructureTypedWholeGetsItsBasicSystemChosen)
{
    Page page;
    Json whole = Json::parse(ReadFile(kExamples / "two-span-continuous-beam.json"));
    whole.erase("unitForces");
    whole["supports"].push_back({2, "活动支座", "结点下方"});
    page.Send({{"op", "open"}, {"text", whole.dump()}, {"name", "两跨梁.json"}});
    ASSERT_TRUE(page.Messages().empty()) << page.Messages()[0];
    page.Send("analyse");
    ASSERT_TRUE(page.State()["choice"].is_object());
    EXPECT_EQ(page.State()["choice"]["title"], "选择基本体系");
    EXPECT_FALSE(page.State()["calculation"]["shown"].get<bool>());

    page.Send({{"op", "acceptBasicSystem"}, {"ticked", Json::array()}});
    EXPECT_FALSE(page.State()["choice"]["note"].get<std::string>().empty());
    page.Send("recommendBasicSystem");
    Json ticked = Json::array();
    for (const Json& r : page.State()["choice"]["restraints"])
        ticked.push_back(r["ticked"]);
    page.Send({{"op", "acceptBasicSystem"}, {"ticked", ticked}});
    EXPECT_TRUE(page.State()["choice"].is_null());
    EXPECT_TRUE(page.State()["calculation"]["shown"].get<bool>());
    page.Send("runAll");
    const Json results = page.Send("results")["results"];
    EXPECT_TRUE(results["completed"].get<bool>());
    ASSERT_EQ(results["redundants"].size(), 1u);
    EXPECT_NEAR(std::fabs(results["redundants"][0].get<double>()), 4.5, 1e-6);
}

TEST(WebSessionTest, TheReportAndThePictureFileAreHandedOver)
{
    Page page;
    EXPECT_EQ(page.Send("exportPicture").count("download"), 0u);
    EXPECT_EQ(page.Messages(), std::vector<std::string>{"图形窗口中还没有图形。"});
    page.Send({{"op", "openExample"}, {"file", "propped-cantilever.json"}});
    EXPECT_EQ(page.State()["title"], "Tavrin - 一端固定一端活动的超静定梁（示例）");
    page.Send("runAll");
    // The last table shows, as a link's "&run=all" promises.
    const Json& form = page.State()["calculation"];
    EXPECT_TRUE(form["result"]["visible"].get<bool>());
    EXPECT_EQ(form["result"]["caption"], "各杆件总内力计算结果：");
    for (const Json& item : form["items"])
        EXPECT_TRUE(item["stands"].get<bool>()) << item["text"];
    const Json report = page.Send({{"op", "report"}, {"student", "张三"}, {"className", "土木1班"}})["report"];
    const std::string html = report["text"].get<std::string>();
    EXPECT_NE(html.find("张三"), std::string::npos);
    EXPECT_NE(html.find("<svg"), std::string::npos);
    EXPECT_NE(html.find("力法典型方程"), std::string::npos);
    const Json picture = page.Send("exportPicture")["download"];
    EXPECT_EQ(picture["type"], "image/svg+xml");
    EXPECT_NE(picture["text"].get<std::string>().find("fill=\"#ffffff\""), std::string::npos);
}

// A displacement worked out with 位移计算 is worked again in the report and
// asked for again by the file saved, which keeps the report's cover too.
TEST(WebSessionTest, AWorkedDisplacementAndTheCoverGoIntoTheReportAndTheFile)
{
    Page page;
    page.Send({{"op", "openExample"}, {"file", "propped-cantilever.json"}});
    page.Send("runAll");
    page.Send({{"op", "displacement"}, {"node", "2"}, {"kind", "竖向位移"}, {"scale", nullptr}});
    const std::string html =
        page.Send({{"op", "report"}, {"student", "张三"}, {"className", "土木1班"}})["report"]["text"]
            .get<std::string>();
    EXPECT_NE(html.find("结点2竖向位移"), std::string::npos);
    const Json saved = Json::parse(page.Send("save")["download"]["text"].get<std::string>());
    ASSERT_TRUE(saved.contains("displacements"));
    EXPECT_EQ(saved["displacements"], Json::parse(R"([[2, "竖向位移"]])"));
    EXPECT_EQ(saved["student"], "张三");
    EXPECT_EQ(saved["class"], "土木1班");
}

TEST(WebSessionTest, ARequestThatIsNoneIsAnsweredWithAnError)
{
    WebSession session(kExamples);
    for (const char* request : {"", "[1]", "{\"op\": 3}", "{\"op\": \"fly\"}", "{\"op\""})
        EXPECT_TRUE(Json::parse(session.Handle(request)).contains("error")) << request;
    const Json bad = Json::parse(session.Handle(R"({"op": "open", "text": "{", "name": "x.json"})"));
    ASSERT_EQ(bad["messages"].size(), 1u);
    EXPECT_EQ(bad["messages"][0]["text"].get<std::string>().rfind("无法打开文件 “x.json”", 0), 0u);
}

}  // namespace
}  // namespace tavrin
