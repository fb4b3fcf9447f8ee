#include <gtest/gtest.h>

#include <sys/resource.h>

#include <csignal>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

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
    const CaseReading reading = ReadCase(WriteCase(written));
    ASSERT_TRUE(reading.value) << reading.error;
    EXPECT_EQ(*reading.value, written);
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

TEST(StructureFileTest, AFileThatIsNoCaseIsRefusedByName)
{
    const fs::path dir = Folder("reading");
    const fs::path broken = dir / "坏 文件.json";
    std::ofstream(broken) << "{\"nodes\": [[1, 0, 0]";
    const struct {
        fs::path file;
        std::string message;
    } cases[] = {
        {dir / "无.json", "无法打开案例文件 " + (dir / "无.json").string() + "（文件不存在）"},
        {broken, "无法打开文件 “" + broken.string() + "”：第1行第21列: JSON 语法错误（文件在此处意外结束）"},
    };
    for (const auto& k : cases) {
        SCOPED_TRACE(k.file.string());
        const CaseReading reading = ReadStructureFile(k.file);
        EXPECT_FALSE(reading.value);
        EXPECT_EQ(reading.error, k.message);
    }
}

TEST(StructureFileTest, ExamplesAreListedByTheKindOfStructure)
{
    const std::vector<ExampleFile> examples = ListExamples(fs::path(TAVRIN_SOURCE_DIR) / "examples");
    ASSERT_EQ(examples.size(), 8u);
    EXPECT_EQ(examples[0].file.filename(), "cantilever.json");
    EXPECT_EQ(examples[0].title, "悬臂梁");
    EXPECT_EQ(examples[5].title, "简支梁");
}

}  // namespace
}  // namespace tavrin
