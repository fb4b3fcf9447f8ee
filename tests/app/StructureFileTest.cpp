#include <gtest/gtest.h>

#include <fcntl.h>
#include <sys/file.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

#include <chrono>
#include <csignal>
#include <filesystem>
#include <fstream>
#include <functional>
#include <future>
#include <sstream>
#include <string>
#include <vector>

#include "app/StructureFile.h"
#include "input/InputTables.h"

namespace tavrin {
namespace {

namespace fs = std::filesystem;

fs::path Folder(const std::string& name)
{
    const fs::path dir = fs::path(TAVRIN_TEST_OUTPUT_DIR) / "structure-file" / name;
    fs::remove_all(dir);
    fs::create_directories(dir);
    return dir;
}

std::string Contents(const fs::path& file)
{
    std::ifstream stream(file, std::ios::binary);
    std::ostringstream text;
    text << stream.rdbuf();
    return text.str();
}

// A simply supported beam of span 4 under a load of 10 at mid-span.
StructureCase Beam()
{
    StructureCase beam;
    beam.nodes = {{"1", "0", "0", "铰接"}, {"2", "2", "0", "刚接"}, {"3", "4", "0", "铰接"}};
    beam.elements = {{"1", "1", "1", "2"}, {"2", "1", "2", "3"}};
    beam.supports = {{"1", "铰支座", "结点下方"}, {"3", "活动支座", "结点下方"}};
    beam.loads = {{"集中荷载", "2", "", "向下", "10"}};
    return beam;
}

// Every cell comes back as the very text typed: a number as a JSON number
// only where the reader gives back the same text.
TEST(StructureFileTest, EveryCellTextReadsBackUnchanged)
{
    const std::vector<std::string> cells = {"",
                                            "0",
                                            "10",
                                            "-3",
                                            "2.5",
                                            "1e-08",
                                            "25000",
                                            " 3",
                                            "1.50",
                                            "-0",
                                            "2.5e4",
                                            "1e400",
                                            "0x10",
                                            "铰接",
                                            "a\"b\\c",
                                            "line\nbreak",
                                            "12345678901234567890"};
    StructureCase written;
    for (const std::string& cell : cells)
        written.nodes.push_back({cell, cell});
    written.degree = "2.0";
    written.unitForces = {{{"集中荷载", "4", "", "向右"}}, {}, {{"力偶", "4", "", "逆时针"}}};
    written.scale = "40";
    written.description = "简支梁：跨度 4。";
    written.answers = {{"自由项系数", {{"1", "31.5", "-360"}}}, {"未知力求解", {{"", "-5"}}}};
    written.displacements = {{"2", "竖向位移"}, {"3", "铰两侧相对转角"}};
    written.settlements = {{"2", "竖向位移", "-1e-2"}, {"3", "转角", ""}};
    written.temperatures = {{"1", "10", "-10", "1.2e-5", "0.50"}};
    const CaseReading reading = ReadCase(WriteCase(written));
    ASSERT_TRUE(reading.value) << reading.error;
    EXPECT_EQ(*reading.value, written);
}

// A simply supported beam of span 4 as "保存" writes it, up to its loads.
constexpr const char* kBeamFileStart = R"({
  "nodes": [
    [1, 0, 0, "铰接"],
    [2, 4, 0, "铰接"]
  ],
  "elements": [
    [1, 1, 1, 2]
  ],
  "supports": [
    [1, "铰支座", "结点下方"],
    [2, "活动支座", "结点下方"]
  ],
)";

// Opened and saved again, a case is the same file: load rows of five cells
// stay five, a row that places its load along the member keeps eight, its
// blanks written "" as the blank node; a row of six cells reads the rest
// blank.
TEST(StructureFileTest, LoadRowsSaveAsTheyWereOpened)
{
    const std::string beam = std::string(kBeamFileStart) + R"(  "loads": [
)";
    const struct {
        const char* name;
        std::string loads;
        std::string saved;  // empty: as opened
    } cases[] = {
        {"five cells", R"(    ["集中荷载", 2, "", "向下", 12],
    ["均布荷载", "", 1, "向下", 2]
)",
         ""},
        {"eight cells beside five", R"(    ["集中荷载", 2, "", "向下", 12],
    ["集中荷载", "", 1, "向下", 10, 2, "", ""],
    ["均布荷载", "", 1, "向右", 0, "", "", 6],
    ["力偶", "", 1, "顺时针", 3, 1.5, "", ""],
    ["均布荷载", "", 1, "向下", 2, 0.5, 3, -1]
)",
         ""},
        {"six cells", R"(    ["均布荷载", "", 1, "向下", 2, 1]
)",
         R"(    ["均布荷载", "", 1, "向下", 2, 1, "", ""]
)"},
        {"eight cells, the last three blank", R"(    ["均布荷载", "", 1, "向下", 2, "", "", ""]
)",
         R"(    ["均布荷载", "", 1, "向下", 2]
)"},
    };
    for (const auto& k : cases) {
        SCOPED_TRACE(k.name);
        const std::string text = beam + k.loads + "  ]\n}\n";
        const CaseReading reading = ReadCase(text);
        ASSERT_TRUE(reading.value) << reading.error;
        StructureModel model;
        RecordingCanvas picture;
        ASSERT_EQ(OpenCase(*reading.value, model, picture), "");
        EXPECT_EQ(WriteCase(CaseOfModel(model, {})), k.saved.empty() ? text : beam + k.saved + "  ]\n}\n");
    }
}

// Settlements and temperature changes go into the model when a case is
// opened and come back under their keys, after the loads, when it is saved;
// a case without them has no such keys.
TEST(StructureFileTest, SettlementsAndTemperatureChangesSaveAsTheyWereOpened)
{
    const struct {
        const char* name;
        std::string keys;
        std::size_t settlements;
        std::size_t temperatures;
    } cases[] = {
        {"both", R"(,
  "settlements": [
    [2, "竖向位移", -0.01],
    [1, "转角", 0.002]
  ],
  "temperatures": [
    [1, -10, 20, 1e-05, 0.5]
  ])",
         2, 1},
        {"settlements only", R"(,
  "settlements": [
    [1, "水平位移", 0.01]
  ])",
         1, 0},
        {"temperatures only", R"(,
  "temperatures": [
    [1, 15, 15, 1.2e-05, 0.4]
  ])",
         0, 1},
        {"neither", "", 0, 0},
    };
    for (const auto& k : cases) {
        SCOPED_TRACE(k.name);
        const std::string text = std::string(kBeamFileStart) + "  \"loads\": []" + k.keys + "\n}\n";
        const CaseReading reading = ReadCase(text);
        ASSERT_TRUE(reading.value) << reading.error;
        StructureModel model;
        RecordingCanvas picture;
        ASSERT_EQ(OpenCase(*reading.value, model, picture), "");
        EXPECT_EQ(static_cast<std::size_t>(model.Settlements.Count()), k.settlements);
        EXPECT_EQ(static_cast<std::size_t>(model.Temperatures.Count()), k.temperatures);
        EXPECT_EQ(WriteCase(CaseOfModel(model, {})), text);
    }
}

TEST(StructureFileTest, ARefusedCaseLeavesModelAndPictureAsTheyWere)
{
    struct Refused {
        const char* name;
        void (*spoil)(StructureCase&);
        const char* message;
    };
    const Refused cases[] = {
        {"load at a missing node", [](StructureCase& c) { c.loads[0][1] = "7"; },
         "荷载数据：第1行“作用结点”列：结点号7不存在（现有结点1～3），本表未提交!"},
        {"coordinate no number", [](StructureCase& c) { c.nodes[1][1] = "2m"; },
         "结点数据：第2行“x坐标”列：“2m”不是数字"},
        {"negative degree", [](StructureCase& c) { c.degree = "-1"; }, "超静定次数"},
        {"settlement of a missing node",
         [](StructureCase& c) {
             c.settlements = {{"7", "竖向位移", "-0.01"}};
         },
         "支座位移数据：第1行“结点号”列：结点号7不存在（现有结点1～3），本表未提交!"},
        {"temperature change without depth",
         [](StructureCase& c) {
             c.temperatures = {{"2", "10", "-10", "1e-5", "0"}};
         },
         "温度改变数据：第1行“截面高度”列：截面高度应大于零"},
    };
    for (const Refused& k : cases) {
        SCOPED_TRACE(k.name);
        StructureModel model;
        RecordingCanvas picture;
        ASSERT_EQ(OpenCase(Beam(), model, picture), "");
        model.InputTableKind = kSupportTable;
        const StructureModel before = model;
        const std::size_t ops = picture.ops.size();

        StructureCase spoilt = Beam();
        k.spoil(spoilt);
        const std::string refusal = OpenCase(spoilt, model, picture);
        EXPECT_NE(refusal.find(k.message), std::string::npos) << refusal;
        EXPECT_TRUE(model == before);
        EXPECT_EQ(picture.ops.size(), ops);
    }
}

TEST(StructureFileTest, AnOpenedCaseReplacesTheModelAndKeepsTheTableChosen)
{
    StructureModel model;
    model.Nodes.Append({1, "刚接", 9.0f, 9.0f});
    model.IndeterminacyDegree = 3;
    model.InputTableKind = kLoadTable;
    RecordingCanvas picture;
    StructureCase beam = Beam();
    beam.attachedParts = {{"1", "2", "3", "1"}};
    ASSERT_EQ(OpenCase(beam, model, picture), "");
    EXPECT_EQ(model.InputTableKind, kLoadTable);
    EXPECT_EQ(model.IndeterminacyDegree, 0);
    EXPECT_FALSE(picture.ops.empty());
    // Saved again, the same tables with the rows given for the calculation.
    EXPECT_EQ(CaseOfModel(model, SupplementaryRowsOf(beam)), beam);
}

TEST(StructureFileTest, UnsavedWorkIsAskedAboutOnlyWhenThereIsSome)
{
    const StructureCase kept = Beam();
    StructureCase changed = Beam();
    changed.loads[0][4] = "12";
    int asked = 0;
    const auto answer = [&](UnsavedAnswer a) {
        return [&asked, a] {
            ++asked;
            return a;
        };
    };
    EXPECT_EQ(StepBeforeLeaving(kept, kept, answer(UnsavedAnswer::Save)), LeaveStep::Proceed);
    EXPECT_EQ(asked, 0);
    EXPECT_EQ(StepBeforeLeaving(changed, kept, answer(UnsavedAnswer::Save)), LeaveStep::SaveFirst);
    EXPECT_EQ(StepBeforeLeaving(changed, kept, answer(UnsavedAnswer::Discard)), LeaveStep::Proceed);
    EXPECT_EQ(StepBeforeLeaving(changed, kept, answer(UnsavedAnswer::Cancel)), LeaveStep::Stay);
    EXPECT_EQ(asked, 3);
}

TEST(StructureFileTest, SavingReplacesTheFileWholeOrNotAtAll)
{
    const fs::path dir = Folder("saving");
    const fs::path file = dir / "简支梁 一.json";
    ASSERT_EQ(SaveStructureFile(file, Beam()), "");
    const CaseReading reading = ReadStructureFile(file);
    ASSERT_TRUE(reading.value) << reading.error;
    EXPECT_EQ(*reading.value, Beam());

    // A directory of that name stays, and no new file is left beside it.
    const fs::path taken = dir / "taken.json";
    fs::create_directory(taken);
    const std::string refused = SaveStructureFile(taken, Beam());
    EXPECT_NE(refused.find("无法保存文件 “" + taken.string() + "”："), std::string::npos) << refused;
    EXPECT_TRUE(fs::is_directory(taken));
    EXPECT_EQ(std::distance(fs::directory_iterator(dir), fs::directory_iterator()), 2);

    // A write that fails midway, as on a full disk: files may grow to 16
    // bytes only. The old file stays as it was, and nothing is left beside it.
    const std::string old = Contents(file);
    StructureCase changed = Beam();
    changed.loads[0][4] = "12";
    rlimit limit{};
    ASSERT_EQ(getrlimit(RLIMIT_FSIZE, &limit), 0);
    const rlimit small{16, limit.rlim_max};
    const auto oldSignal = std::signal(SIGXFSZ, SIG_IGN);
    ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &small), 0);
    const std::string failed = SaveStructureFile(file, changed);
    setrlimit(RLIMIT_FSIZE, &limit);
    std::signal(SIGXFSZ, oldSignal);
    EXPECT_NE(failed.find("无法保存文件 “" + file.string() + "”："), std::string::npos) << failed;
    EXPECT_EQ(Contents(file), old);
    EXPECT_EQ(std::distance(fs::directory_iterator(dir), fs::directory_iterator()), 2);
}

// Reads the file on a thread of its own. A reading that waits for a writer
// fails the test, and is then let go by a writer that writes nothing.
CaseReading ReadWithoutWaiting(const fs::path& file)
{
    std::future<CaseReading> reading = std::async(std::launch::async, [&file] { return ReadStructureFile(file); });
    if (reading.wait_for(std::chrono::seconds(5)) == std::future_status::timeout) {
        ADD_FAILURE() << "the reading waits for a writer";
        if (const int writer = ::open(file.c_str(), O_WRONLY | O_NONBLOCK); writer >= 0)
            ::close(writer);
    }
    return reading.get();
}

TEST(StructureFileTest, AFileThatIsNoCaseIsRefusedByName)
{
    const fs::path dir = Folder("reading");
    const fs::path broken = dir / "坏 文件.json";
    std::ofstream(broken) << "{\"nodes\": [[1, 0, 0]";
    const fs::path pipe = dir / "管道.json";
    ASSERT_EQ(::mkfifo(pipe.c_str(), 0600), 0);
    const fs::path zeros = dir / "zeros.json";
    std::ofstream(zeros) << std::string(4096, '\0');
    const struct {
        fs::path file;
        std::string message;
    } cases[] = {
        {dir / "无.json", "无法打开案例文件 " + (dir / "无.json").string() + "（文件不存在）"},
        {broken, "无法打开文件 “" + broken.string() + "”：第1行第21列: JSON 语法错误（文件在此处意外结束）"},
        {pipe, "无法打开案例文件 " + pipe.string() + "（这是命名管道，不是普通文件）"},
        {"/dev/null", "无法打开案例文件 /dev/null（这是设备，不是普通文件）"},
        {zeros, "无法打开文件 “" + zeros.string() + "”：第1行第1列: " + std::string(kNulBytes)},
    };
    for (const auto& k : cases) {
        SCOPED_TRACE(k.file.string());
        const CaseReading reading = ReadWithoutWaiting(k.file);
        EXPECT_FALSE(reading.value);
        EXPECT_EQ(reading.error, k.message);
    }
}

// A save the program did not finish leaves its temporary file; the next
// save takes its name over and clears the rest, also the hundred an older
// version of the program could leave.
TEST(StructureFileTest, TemporariesOfUnfinishedSavesAreCleared)
{
    const fs::path dir = Folder("left-over");
    const fs::path file = dir / "梁.json";
    for (int n = 0; n < 100; ++n)
        std::ofstream(dir / ("梁.json.tmp" + (n == 0 ? std::string() : std::to_string(n)))) << "{\"nodes\": [";
    EXPECT_EQ(SaveStructureFile(file, Beam()), "");
    EXPECT_EQ(ReadStructureFile(file).value, Beam());
    EXPECT_EQ(std::distance(fs::directory_iterator(dir), fs::directory_iterator()), 1);
}

// Saving through a symbolic link replaces the file it leads to and keeps
// the link; a file kept from others stays so.
TEST(StructureFileTest, SavingKeepsLinksAndPermissions)
{
    const struct {
        const char* name;
        fs::path saved;    // relative to the folder
        fs::path written;  // where the text lands
    } cases[] = {
        {"the file itself", "私有.json", "私有.json"},
        {"through a link", "链接.json", "目标/私有.json"},
        {"through a link to a link", "链接2.json", "目标/私有.json"},
    };
    for (const auto& k : cases) {
        SCOPED_TRACE(k.name);
        const fs::path dir = Folder("links");
        fs::create_directory(dir / "目标");
        for (const fs::path& file : {dir / "私有.json", dir / "目标" / "私有.json"}) {
            std::ofstream(file) << "{}";
            fs::permissions(file, fs::perms::owner_read | fs::perms::owner_write);
        }
        fs::create_symlink("目标/私有.json", dir / "链接.json");
        fs::create_symlink("链接.json", dir / "链接2.json");

        ASSERT_EQ(SaveStructureFile(dir / k.saved, Beam()), "");
        EXPECT_EQ(ReadStructureFile(dir / k.written).value, Beam());
        EXPECT_EQ(fs::status(dir / k.written).permissions(), fs::perms::owner_read | fs::perms::owner_write);
        EXPECT_TRUE(fs::is_symlink(dir / "链接.json"));
        EXPECT_TRUE(fs::is_symlink(dir / "链接2.json"));
        EXPECT_EQ(std::distance(fs::directory_iterator(dir), fs::directory_iterator()), 4);
    }
}

TEST(StructureFileTest, EveryCauseOfAFailedSaveIsSaidInChinese)
{
    const fs::path dir = Folder("causes");
    std::ofstream(dir / "文件.json") << "{}";
    fs::create_symlink("环.json", dir / "环.json");
    // A hundred saves of 忙.json under way, each holding its temporary file.
    std::vector<int> saving;
    for (int n = 0; n < 100; ++n) {
        const fs::path temporary = dir / ("忙.json.tmp" + (n == 0 ? std::string() : std::to_string(n)));
        saving.push_back(::open(temporary.c_str(), O_WRONLY | O_CREAT, 0666));
        ASSERT_EQ(::flock(saving.back(), LOCK_EX | LOCK_NB), 0);
    }
    const struct {
        fs::path file;
        std::string cause;
    } cases[] = {
        {dir / "文件.json" / "梁.json", "路径中有一级不是文件夹"},
        {dir / "忙.json", "文件旁的临时文件名都被占用（另有保存正在进行）"},
        {dir / "环.json", "符号链接过多或成环"},
        {dir / "无" / "梁.json", "文件夹不存在"},
    };
    for (const auto& k : cases) {
        SCOPED_TRACE(k.file.string());
        EXPECT_EQ(SaveStructureFile(k.file, Beam()), "无法保存文件 “" + k.file.string() + "”：" + k.cause);
    }
    for (const int fd : saving)
        ::close(fd);
    EXPECT_TRUE(fs::is_symlink(dir / "环.json"));
    EXPECT_EQ(std::distance(fs::directory_iterator(dir), fs::directory_iterator()), 102);
}

TEST(StructureFileTest, ExamplesAreListedByTheKindOfStructure)
{
    const std::vector<ExampleFile> examples = ListExamples(fs::path(TAVRIN_SOURCE_DIR) / "examples");
    ASSERT_EQ(examples.size(), 10u);
    EXPECT_EQ(examples[0].file.filename(), "cantilever.json");
    EXPECT_EQ(examples[0].title, "悬臂梁");
    EXPECT_EQ(examples[4].title, "柱受三角形荷载的门式刚架");
    EXPECT_EQ(examples[7].title, "简支梁");
    EXPECT_EQ(examples[5].title, "支座沉降与温度改变下的一端固定一端活动梁");
}

}  // namespace
}  // namespace tavrin
