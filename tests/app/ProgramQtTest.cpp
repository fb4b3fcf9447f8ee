#include <cmath>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include <QAbstractItemView>
#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDebug>
#include <QDialogButtonBox>
#include <QDir>
#include <QFileDialog>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMdiSubWindow>
#include <QMenu>
#include <QMenuBar>
#include <QPrinter>
#include <QProcess>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalSpy>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QTest>
#include <QXmlStreamReader>

#include "app/MainPageForm.h"
#include "app/MainWindow.h"
#include "app/QtApplicationShell.h"
#include "app/StructureFile.h"
#include "drawing/PicWindow.h"
#include "drawing/PictureFiles.h"
#include "drawing/QtCanvas.h"
#include "model/Messages.h"
#include "support/GridTyping.h"

using namespace tavrin;
using tavrin::testing::ChooseInList;
using tavrin::testing::GridTyping;

namespace {

QString U(const char* utf8)
{
    return QString::fromUtf8(utf8);
}

std::vector<QWidget*> VisibleTopLevels()
{
    std::vector<QWidget*> shown;
    for (QWidget* w : QApplication::topLevelWidgets())
        if (w->isVisible())
            shown.push_back(w);
    return shown;
}

// One input table as the student types it: the table chosen in cmbInput and
// its rows.
struct InputTable {
    const char* table;
    std::vector<std::vector<const char*>> rows;
};

// A beam on a pin and a roller, 4 long; determinate, so no EI.
const std::vector<InputTable> kSupportedBeam = {
    {"结点", {{"1", "0", "0", "铰接"}, {"2", "4", "0", "铰接"}}},
    {"单元", {{"1", "1", "2"}}},
    {"支座", {{"1", "铰支座", "结点下方"}, {"2", "活动支座", "结点下方"}}},
};

QByteArray ReadAll(const QString& file)
{
    QFile in(file);
    return in.open(QIODevice::ReadOnly) ? in.readAll() : QByteArray();
}

// Picture x of the rightmost line end the picture window shows.
double RightmostLine(const QtCanvas& canvas)
{
    double x = 0.0;
    for (const CanvasOp& op : canvas.ShownOps())
        if (op.kind == CanvasOp::Kind::Line)
            x = std::max({x, op.x1, op.x2});
    return x;
}

}  // namespace

class ProgramQtTest : public QObject {
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void startsAtTheWelcomeFormAndEntersTheMainWindow();
    void menuBarCarriesEveryEntryWithItsShortcut();
    void fileDialogsLeaveTheModelAsItWas();
    void exitAndClosingTheMainWindowEndTheProgram();
    void helpEntriesShowANotice();
    void aboutBoxIsAFixedModelessBoxWithoutSystemInformation();
    void wholeCalculationThroughTheMenus();
    void shortcutDrawsTheLoadParabolaBeforeAnyCalculation();
    void shortcutsWorkWithThePictureOpenAndFromTheForms();
    void indeterminateBeamThroughTheMenus();
    void formsStayOwnedAndACalculationOutlivesADiagram();
    void savedWorkComesBackAndIsNeverLostWithoutAsking();
    void examplesAndTheCommandLineOpenStructures();
    void exportsAndPrintsThePictureShowing();
    void pictureIsDrawnAgainAtTheSizeOfItsWindow();
    void pictureComesBackToFullSizeWithTheMainWindow();
    void newStructureAfterTheQuestionAndDialogsBesideTheFile();
    void writesTheCalculationOutAsAReport();
    void originalStructureTypedWholeGetsItsBasicSystemChosen();

private:
    void TypeStructure(const std::vector<InputTable>& tables);
    void DeclareModelType(const char* degree);
    void CalculateEveryItem(const char* caption, const std::vector<const char*>& unitForceRow);
    // The propped cantilever below, typed and calculated through the menus.
    void CalculateProppedCantilever();
    void DrawDiagrams();
    void SavePicture(const char* fileName) { SaveWindow(Main().picWindow(), fileName); }
    static void SaveWindow(QWidget& window, const char* fileName);
    bool IsBesidePicture(const QWidget& form, double gapTwips);
    void Enter();
    void Trigger(const char* actionName);
    MainWindow& Main() { return m_shell->mainWindow(); }

    RecordingMessages m_messages;
    std::unique_ptr<QtApplicationShell> m_shell;
    std::vector<QString> m_scalePrompts;
    std::vector<QString> m_scaleTitles;
    std::optional<QString> m_scaleAnswer;  // std::nullopt: the prompt is cancelled
    int m_questions = 0;                   // "是否保存对结构的修改？" asked
    UnsavedAnswer m_answer = UnsavedAnswer::Discard;
    int m_tableQuestions = 0;  // "本表已修改，是否提交？" asked, answered 放弃
};

void ProgramQtTest::init()
{
    m_messages.shown.clear();
    m_scalePrompts.clear();
    m_scaleTitles.clear();
    m_scaleAnswer = QStringLiteral("40");
    m_questions = 0;
    m_answer = UnsavedAnswer::Discard;
    m_shell = std::make_unique<QtApplicationShell>(m_messages);
    m_shell->SetUnsavedQuestion([this] {
        ++m_questions;
        return m_answer;
    });
    m_tableQuestions = 0;
    m_shell->SetUncommittedQuestion([this] {
        ++m_tableQuestions;
        return UncommittedAnswer::Drop;
    });
    m_shell->diagramHost().SetScalePrompt([this](const QString& prompt, const QString& title) {
        m_scalePrompts.push_back(prompt);
        m_scaleTitles.push_back(title);
        return m_scaleAnswer;
    });
    m_shell->Start();
}

void ProgramQtTest::cleanup()
{
    m_shell.reset();
}

void ProgramQtTest::Enter()
{
    auto* enter = m_shell->mainPage().findChild<QPushButton*>(QStringLiteral("Command1"));
    QVERIFY(enter != nullptr);
    QTest::mouseClick(enter, Qt::LeftButton);
}

void ProgramQtTest::Trigger(const char* actionName)
{
    auto* item = Main().findChild<QAction*>(QString::fromLatin1(actionName));
    QVERIFY2(item != nullptr, actionName);
    item->trigger();
}

void ProgramQtTest::startsAtTheWelcomeFormAndEntersTheMainWindow()
{
    std::vector<QWidget*> shown = VisibleTopLevels();
    QCOMPARE(shown.size(), std::size_t{1});
    QCOMPARE(shown[0]->objectName(), QStringLiteral("frmMainPage"));
    QCOMPARE(shown[0]->windowTitle(), U("欢迎使用"));
    QStringList texts;
    for (QLabel* label : shown[0]->findChildren<QLabel*>())
        texts << label->text();
    QVERIFY(texts.contains(U("欢迎使用")));
    QVERIFY(texts.contains(QStringLiteral("Tavrin")));
    QCOMPARE(texts.size(), 4);
    QVERIFY(!shown[0]->windowIcon().isNull());
    SaveWindow(*shown[0], "welcome.png");

    Enter();
    QVERIFY(!m_shell->mainPage().isVisible());
    QVERIFY(Main().isVisible());
    QCOMPARE(Main().objectName(), QStringLiteral("MDIForm1"));
    QCOMPARE(Main().windowTitle(), QStringLiteral("Tavrin"));
    QVERIFY(Main().picWindow().isVisible());
    QCOMPARE(Main().picWindow().objectName(), QStringLiteral("frmPicWindow"));
    QCOMPARE(Main().picWindow().windowTitle(), U("基本体系分析模型图"));
    QCOMPARE(Main().picSubWindow().widget(), &Main().picWindow());
    // The picture takes the whole inner height and the width the forms leave.
    const QWidget& inner = *Main().centralWidget();
    QCOMPARE(Main().picSubWindow().height(), inner.height());
    QVERIFY(Main().picSubWindow().width() >= inner.width() / 4);
}

void ProgramQtTest::menuBarCarriesEveryEntryWithItsShortcut()
{
    struct Expected {
        const char* menu;
        const char* caption;
        std::vector<const char*> entries;  // objectNames in order
    };
    const Expected menus[] = {
        {"wenjian",
         "文件(&F)",
         {"xinjian", "dakai", "baocun", "daochu", "dayin", "jisuanshu", "shili", "heng5", "exit"}},
        {"huatu", "建立计算模型(&M)", {"mnuModel", "were", "mnuFig", "hy"}},
        {"qiujie", "求解(&Q)", {"mnuModelType", "b", "huanjiben"}},
        {"xianshi",
         "显示内力图(&T)",
         {"wanju", "zhouli", "jianli", "heng6", "jibenwanju", "weiyi", "weiyitu", "yuanjiegou"}},
        {"help", "帮助(&H)", {"zhuti", "web", "guanyu"}},
    };
    const QList<QAction*> bar = Main().menuBar()->actions();
    QCOMPARE(bar.size(), 5);
    for (int m = 0; m < 5; ++m) {
        QMenu* menu = bar[m]->menu();
        QVERIFY(menu != nullptr);
        QCOMPARE(menu->objectName(), QString::fromLatin1(menus[m].menu));
        QCOMPARE(menu->title(), U(menus[m].caption));
        const QList<QAction*> items = menu->actions();
        QCOMPARE(items.size(), static_cast<qsizetype>(menus[m].entries.size()));
        for (qsizetype i = 0; i < items.size(); ++i) {
            const QString name = QString::fromLatin1(menus[m].entries[static_cast<std::size_t>(i)]);
            QCOMPARE(items[i]->objectName(), name);
            const bool separator = name == QStringLiteral("heng5") || name == QStringLiteral("were") ||
                                   name == QStringLiteral("hy") || name == QStringLiteral("b") ||
                                   name == QStringLiteral("heng6");
            QCOMPARE(items[i]->isSeparator(), separator);
        }
    }

    const struct {
        const char* name;
        const char* caption;
        QKeySequence shortcut;
    } entries[] = {
        {"xinjian", "新建(&N)", QKeySequence(Qt::CTRL | Qt::Key_N)},
        {"dakai", "打开(&D)", QKeySequence(Qt::CTRL | Qt::Key_D)},
        {"baocun", "保存(&B)", QKeySequence(Qt::CTRL | Qt::Key_S)},
        {"exit", "退出(&E)", QKeySequence(Qt::CTRL | Qt::Key_E)},
        {"mnuModel", "静定/超静定问题", QKeySequence()},
        {"mnuFig", "输入图形数据", QKeySequence()},
        {"mnuModelType", "计算类型分析", QKeySequence()},
        {"wanju", "弯矩图&W", QKeySequence(Qt::CTRL | Qt::Key_W)},
        {"zhouli", "轴力图&Z", QKeySequence(Qt::CTRL | Qt::Key_Z)},
        {"jianli", "剪力图&J", QKeySequence(Qt::CTRL | Qt::Key_J)},
        {"jibenwanju", "基本结构弯矩图&B", QKeySequence()},
        {"huanjiben", "换一个基本体系...", QKeySequence()},
        {"yuanjiegou", "原结构", QKeySequence()},
        {"zhuti", "帮助主题(&Z)", QKeySequence()},
        {"web", "Web浏览器...", QKeySequence()},
        {"guanyu", "关于Tavrin...", QKeySequence()},
    };
    for (const auto& e : entries) {
        auto* item = Main().findChild<QAction*>(QString::fromLatin1(e.name));
        QVERIFY2(item != nullptr, e.name);
        QCOMPARE(item->text(), U(e.caption));
        QCOMPARE(item->shortcut(), e.shortcut);
    }
}

void ProgramQtTest::fileDialogsLeaveTheModelAsItWas()
{
    Enter();
    StructureModel& model = m_shell->model();
    model.Nodes.Append({1, "铰接", 0.0f, 0.0f});
    model.Nodes.Append({2, "铰接", 4.0f, 0.0f});
    model.IndeterminacyDegree = 1;
    const StructureModel before = model;

    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    const QString saved = dir.filePath(QStringLiteral("frame.dat"));
    const struct {
        const char* action;
        const char* caption;
        QFileDialog::AcceptMode mode;
    } commands[] = {{"dakai", "打开", QFileDialog::AcceptOpen}, {"baocun", "保存", QFileDialog::AcceptSave}};
    for (const auto& command : commands) {
        Trigger(command.action);
        auto* dialog = Main().findChild<QFileDialog*>(QStringLiteral("CommonDialog1"));
        QVERIFY(dialog != nullptr);
        QVERIFY(dialog->isVisible());
        QVERIFY(dialog->testOption(QFileDialog::DontUseNativeDialog));
        QCOMPARE(dialog->windowTitle(), U(command.caption));
        QCOMPARE(dialog->acceptMode(), command.mode);
        // Qt's own texts speak Chinese too.
        QCOMPARE(dialog->findChild<QDialogButtonBox*>()->button(QDialogButtonBox::Cancel)->text(), U("取消"));
        dialog->setDirectory(dir.path());
        dialog->selectFile(saved);
        dialog->reject();
        QVERIFY(!dialog->isVisible());
    }
    QVERIFY(model == before);
    QVERIFY(!QFile::exists(saved));
    QCOMPARE(QDir(dir.path()).entryList(QDir::NoDotAndDotDot | QDir::AllEntries).size(), 0);
}

void ProgramQtTest::exitAndClosingTheMainWindowEndTheProgram()
{
    Enter();
    QSignalSpy ended(m_shell.get(), &QtApplicationShell::endRequested);
    Trigger("exit");
    QCOMPARE(ended.count(), 1);

    Main().close();
    QCOMPARE(ended.count(), 2);
    QVERIFY(!Main().isVisible());
}

void ProgramQtTest::helpEntriesShowANotice()
{
    Enter();
    Trigger("zhuti");
    Trigger("web");
    QCOMPARE(m_messages.shown.size(), std::size_t{2});
    for (const ShownMessage& shown : m_messages.shown)
        QVERIFY(!shown.text.empty());
    QVERIFY(m_messages.shown[0].text != m_messages.shown[1].text);
}

void ProgramQtTest::aboutBoxIsAFixedModelessBoxWithoutSystemInformation()
{
    Enter();
    Trigger("guanyu");
    auto* about = Main().findChild<QDialog*>(QStringLiteral("frmAbout"));
    QVERIFY(about != nullptr);
    QVERIFY(about->isVisible());
    QVERIFY(!about->isModal());
    QCOMPARE(about->windowTitle(), U("关于Tavrin"));
    QVERIFY(!(about->windowFlags() & Qt::WindowMinimizeButtonHint));
    QVERIFY(!(about->windowFlags() & Qt::WindowMaximizeButtonHint));
    QCOMPARE(about->minimumSize(), about->maximumSize());
    QVERIFY(about->parentWidget() == &Main());  // owned: no task bar entry of its own

    auto* icon = about->findChild<QLabel*>(QStringLiteral("picIcon"));
    QVERIFY(icon != nullptr && !icon->pixmap().isNull());
    QCOMPARE(about->findChild<QLabel*>(QStringLiteral("lblDescription"))->text(),
             U("应用程序描述:本程序正试运行期间,请大家原谅!!"));
    QVERIFY(about->findChild<QLabel*>(QStringLiteral("lblDisclaimer"))->text().startsWith(U("警告: ")));
    // Lines break only where the texts break them, between words.
    for (const QLabel* text : {about->findChild<QLabel*>(QStringLiteral("lblDescription")),
                               about->findChild<QLabel*>(QStringLiteral("lblDisclaimer"))})
        QVERIFY(!text->wordWrap());

    SaveWindow(*about, "about.png");

    auto* sysInfo = about->findChild<QPushButton*>(QStringLiteral("cmdSysInfo"));
    QCOMPARE(sysInfo->text(), U("系统信息(&S)..."));
    QTest::mouseClick(sysInfo, Qt::LeftButton);
    QCOMPARE(m_messages.shown.size(), std::size_t{1});
    QCOMPARE(m_messages.shown[0].text, std::string("此时系统信息不可用"));

    auto* ok = about->findChild<QPushButton*>(QStringLiteral("cmdOK"));
    QCOMPARE(ok->text(), U("确定"));
    QTest::mouseClick(ok, Qt::LeftButton);
    QVERIFY(!about->isVisible());

    Trigger("guanyu");
    QCOMPARE(Main().findChildren<QDialog*>(QStringLiteral("frmAbout")).size(), 1);
    QVERIFY(about->isVisible());
}

// For looking at: the pictures land in the test output folder.
void ProgramQtTest::SaveWindow(QWidget& window, const char* fileName)
{
    const QDir dir(QStringLiteral(TAVRIN_TEST_OUTPUT_DIR));
    QVERIFY(dir.mkpath(QStringLiteral(".")));
    QVERIFY(window.grab().save(dir.filePath(QString::fromLatin1(fileName))));
}

// The forms open `gapTwips` right of the picture window's frame and 7 % of
// the main window's inner height below its top; a twip is 1/1440 inch. Within
// a pixel of rounding.
bool ProgramQtTest::IsBesidePicture(const QWidget& form, double gapTwips)
{
    const QWidget& inner = *Main().centralWidget();
    const double left = Main().picSubWindow().width() + gapTwips * inner.logicalDpiX() / 1440.0;
    const double top = 0.07 * inner.height();
    const QPoint expected = inner.mapToGlobal(QPoint(static_cast<int>(left), static_cast<int>(top)));
    const QPoint off = form.pos() - expected;
    if (std::abs(off.x()) <= 1 && std::abs(off.y()) <= 1)
        return true;
    qWarning() << form.objectName() << "at" << form.pos() << "expected" << expected;
    return false;
}

// Opens the input form from the menu and types, chooses and commits each
// table in turn.
void ProgramQtTest::TypeStructure(const std::vector<InputTable>& tables)
{
    Trigger("mnuFig");
    auto* form = Main().findChild<QWidget*>(QStringLiteral("frmInputPara"));
    QVERIFY(form != nullptr);
    QVERIFY(form->isVisible() && form->isWindow());
    QVERIFY(!form->windowIcon().isNull());
    QVERIFY(IsBesidePicture(*form, 50.0));

    auto& choice = *form->findChild<QComboBox*>(QStringLiteral("cmbInput"));
    auto& apply = *form->findChild<QPushButton*>(QStringLiteral("cmdApply"));
    GridTyping grid(*form);
    const QPoint opened = form->pos();
    for (const InputTable& table : tables) {
        ChooseInList(choice, U(table.table));
        if (QTest::currentTestFailed())
            return;
        QCOMPARE(form->pos(), opened);
        for (const auto& row : table.rows) {
            grid.Row(row);
            if (QTest::currentTestFailed())
                return;
        }
        QTest::mouseClick(&apply, Qt::LeftButton);
    }
    QCOMPARE(m_messages.shown.size(), std::size_t{0});
}

void ProgramQtTest::wholeCalculationThroughTheMenus()
{
    Enter();
    // A portal frame on a pin (node 1) and a roller (node 4), 4 wide and 4
    // high, with 10 per unit length downward on the beam and 5 to the right
    // at the top of the left column. Determinate: the elements need no EI.
    TypeStructure({
        {"结点", {{"1", "0", "0", "铰接"}, {"2", "0", "4", "刚接"}, {"3", "4", "4", "刚接"}, {"4", "4", "0", "铰接"}}},
        {"单元", {{"1", "1", "2"}, {"2", "2", "3"}, {"3", "4", "3"}}},
        {"支座", {{"1", "铰支座", "结点下方"}, {"4", "活动支座", "结点下方"}}},
        {"荷载", {{"均布荷载", "2", "向下", "10", "", "", ""}, {"集中荷载", "2", "向右", "5"}}},
    });
    if (QTest::currentTestFailed())
        return;
    const StructureModel& model = m_shell->model();
    QCOMPARE(model.NodeCount(), 4);
    QCOMPARE(model.ElementCount(), 3);
    QCOMPARE(model.SupportCount(), 2);
    QCOMPARE(model.LoadCount(), 2);
    QCOMPARE(model.Elements.at(3).INode, 4);
    QCOMPARE(model.Elements.at(2).Length, 4.0f);
    QCOMPARE(model.Loads.at(1).Magnitude, -10.0f);
    QCOMPARE(model.Loads.at(2).NodeNo, 2);
    QCOMPARE(model.SupportConstraintCount, 3);
    SavePicture("structure.png");

    DeclareModelType(nullptr);
    CalculateEveryItem("无附属部分的静定结构计算", {});
    if (QTest::currentTestFailed())
        return;

    // Hand numbers. Reactions: sum of moments about node 1 gives
    // 4 V4 = 40 * 2 + 5 * 4, so V4 = 25, V1 = 40 - 25 = 15, H1 = -5.
    // Left column: compression 15, shear 5, moment 0 at the pin and 5 * 4 = 20
    // at the corner; beam: no axial force (the 5 at node 2 balances H1),
    // shear 15 at node 2 and 15 - 40 = -25 at node 3, moment 20 at node 2 and
    // 0 at node 3; right column: compression 25 only.
    QCOMPARE(model.Supports.at(1).Fx, -5.0f);
    QCOMPARE(model.Supports.at(1).Fy, 15.0f);
    QCOMPARE(model.Supports.at(2).Fy, 25.0f);
    const struct {
        int element;
        float N, V, Mi, Mj, Vj;
    } expected[] = {
        {1, 15.0f, 5.0f, 0.0f, 20.0f, 5.0f},
        {2, 0.0f, 15.0f, 20.0f, 0.0f, 25.0f},
        {3, 25.0f, 0.0f, 0.0f, 0.0f, 0.0f},
    };
    constexpr float kTolerance = 1e-3f;
    for (const auto& x : expected) {
        const Element& e = model.Elements.at(x.element);
        const QByteArray where = "element " + QByteArray::number(x.element);
        QVERIFY2(std::abs(std::abs(e.Ni) - x.N) < kTolerance && std::abs(std::abs(e.Nj) - x.N) < kTolerance, where);
        QVERIFY2(std::abs(std::abs(e.Vi) - x.V) < kTolerance && std::abs(std::abs(e.Vj) - x.Vj) < kTolerance, where);
        QVERIFY2(std::abs(std::abs(e.Mi) - x.Mi) < kTolerance && std::abs(std::abs(e.Mj) - x.Mj) < kTolerance, where);
    }
    // The beam's load turns the shear from one sign to the other.
    QVERIFY(model.Elements.at(2).Vi * model.Elements.at(2).Vj < 0.0f);

    const StructureModel calculated = model;
    DrawDiagrams();
    QVERIFY(model == calculated);
    SaveWindow(Main(), "main-window.png");
}

// Ctrl+W on a beam that was never calculated: all end moments are 0, so the
// picture holds the blue member and the black parabola of its load, hung from
// the member. The picture window, closed before, shows again.
void ProgramQtTest::shortcutDrawsTheLoadParabolaBeforeAnyCalculation()
{
    Enter();
    StructureModel& model = m_shell->model();
    model.Nodes.Append({1, "铰接", 0.0f, 0.0f});
    model.Nodes.Append({2, "铰接", 4.0f, 0.0f});
    Element beam;
    beam.Code = 1;
    beam.INode = 1;
    beam.JNode = 2;
    beam.Length = 4.0f;
    beam.CosA = 1.0f;
    model.Elements.Append(beam);
    model.Loads.Append({"均布荷载", -10.0f, "向下", 0, 1});
    model.DrawScale = 50.0;
    model.DrawOriginX = 30.0;
    model.DrawOriginY = 100.0;
    // The picture as designed, wider than the share a small screen leaves it.
    Main().picSubWindow().resize(Main().picSubWindow().sizeHint());
    Main().picSubWindow().close();
    QVERIFY(!Main().picSubWindow().isVisible());
    m_scaleAnswer = QStringLiteral("2");

    QApplication::setActiveWindow(&Main());
    QVERIFY(QTest::qWaitForWindowActive(&Main()));
    QTest::keyClick(&Main(), Qt::Key_W, Qt::ControlModifier);
    QCOMPARE(m_scaleTitles.size(), std::size_t{1});
    QCOMPARE(m_scaleTitles[0], U("弯矩图"));
    QVERIFY(Main().picSubWindow().isVisible());
    QCOMPARE(Main().picWindow().windowTitle(), U("弯矩图"));

    // The beam runs at picture y = 100 from x = 30 to 230; at scale 2 the
    // parabola's mid-span ordinate q L^2 / 8 = 20 lies 40 units below it.
    const QImage picture = Main().picWindow().grab().toImage();
    const PictureUnits& units = Main().picWindow().qtCanvas().Units();
    const auto pixelAt = [&](double x, double y) {
        return QPoint(static_cast<int>(x * units.PixelsPerUnitX()), static_cast<int>(y * units.PixelsPerUnitY()));
    };
    const auto anyPixelNear = [&](QPoint centre, QColor colour) {
        for (int dx = -3; dx <= 3; ++dx)
            for (int dy = -3; dy <= 3; ++dy)
                if (picture.pixelColor(centre + QPoint(dx, dy)) == colour)
                    return true;
        return false;
    };
    QVERIFY(anyPixelNear(pixelAt(130.0, 100.0), QColor(0, 0, 255)));
    QVERIFY(anyPixelNear(pixelAt(130.0, 140.0), QColor(0, 0, 0)));
    QVERIFY(!anyPixelNear(pixelAt(80.0, 115.0), QColor(0, 0, 0)));
    SavePicture("moment-before-calculation.png");
}

// The picture window's own close key does not take Ctrl+W from the menu, and
// the menu's keys work while one of the program's forms is active.
void ProgramQtTest::shortcutsWorkWithThePictureOpenAndFromTheForms()
{
    Enter();
    QVERIFY(Main().picSubWindow().isVisible());
    QApplication::setActiveWindow(&Main());
    QVERIFY(QTest::qWaitForWindowActive(&Main()));
    QTest::keyClick(&Main(), Qt::Key_W, Qt::ControlModifier);
    QCOMPARE(m_scaleTitles, std::vector<QString>{U("弯矩图")});

    Trigger("mnuFig");
    auto* form = Main().findChild<QWidget*>(QStringLiteral("frmInputPara"));
    QApplication::setActiveWindow(form);
    QVERIFY(QTest::qWaitForWindowActive(form));
    QTest::keyClick(form, Qt::Key_J, Qt::ControlModifier);
    QCOMPARE(m_scaleTitles.back(), U("剪力图"));
    // Typing a cell: the text box leaves Ctrl+Z to the menu.
    ChooseInList(*form->findChild<QComboBox*>(QStringLiteral("cmbInput")), U("结点"));
    QApplication::setActiveWindow(form);
    QTest::keyClick(form->findChild<QWidget*>(QStringLiteral("MSFlexGrid1")), Qt::Key_1);
    auto* text = form->findChild<QLineEdit*>(QStringLiteral("Text1"));
    QVERIFY(text->hasFocus());
    QTest::keyClick(text, Qt::Key_Z, Qt::ControlModifier);
    QCOMPARE(m_scaleTitles.back(), U("轴力图"));
    QCOMPARE(text->text(), QStringLiteral("1"));
    QApplication::setActiveWindow(form);
    QTest::keyClick(form, Qt::Key_D, Qt::ControlModifier);
    // The node typed is asked about before another structure is opened.
    QCOMPARE(m_tableQuestions, 1);
    auto* dialog = Main().findChild<QFileDialog*>(QStringLiteral("CommonDialog1"));
    QVERIFY(dialog != nullptr && dialog->isVisible());
    dialog->reject();
}

// The model type dialog: determinate when `degree` is null, otherwise
// indeterminate of the degree typed.
void ProgramQtTest::DeclareModelType(const char* degree)
{
    Trigger("mnuModel");
    auto* dialog = Main().findChild<QDialog*>(QStringLiteral("Dialog"));
    QVERIFY(dialog != nullptr);
    QVERIFY(dialog->isVisible() && !dialog->isModal());
    QVERIFY(IsBesidePicture(*dialog, 0.0));
    QVERIFY(dialog->findChild<QRadioButton*>(QStringLiteral("Option1"))->isChecked());
    auto* degreePanel = dialog->findChild<QWidget*>(QStringLiteral("Frame2"));
    QVERIFY(!degreePanel->isVisible());
    if (degree != nullptr) {
        QTest::mouseClick(dialog->findChild<QRadioButton*>(QStringLiteral("Option2")), Qt::LeftButton);
        QVERIFY(degreePanel->isVisible());
        QTest::keyClicks(dialog->findChild<QLineEdit*>(QStringLiteral("Text1")), QString::fromLatin1(degree));
    }
    QTest::mouseClick(dialog->findChild<QPushButton*>(QStringLiteral("OKButton")), Qt::LeftButton);
    QVERIFY(!dialog->isVisible());
    QCOMPARE(m_shell->model().IndeterminacyDegree, degree ? QByteArray(degree).toInt() : 0);
}

// Runs "计算类型分析", then every item of the calculation list in order. An
// item that asks for the unit force gets `unitForceRow` typed into the input
// grid, applied with "交互检查" and confirmed with "O&K".
void ProgramQtTest::CalculateEveryItem(const char* caption, const std::vector<const char*>& unitForceRow)
{
    Trigger("mnuModelType");
    auto* form = Main().findChild<QWidget*>(QStringLiteral("frmOutput"));
    QVERIFY(form != nullptr);
    QVERIFY(form->isVisible() && form->isWindow());
    // Beside the input form, never over it.
    if (auto* input = Main().findChild<QWidget*>(QStringLiteral("frmInputPara")))
        QVERIFY(!form->frameGeometry().intersects(input->frameGeometry()));
    QCOMPARE(form->windowTitle(), U(caption));
    auto& items = *form->findChild<QComboBox*>(QStringLiteral("cmbCalType"));
    auto& calculate = *form->findChild<QPushButton*>(QStringLiteral("cmdCal"));
    auto& inputFrame = *form->findChild<QWidget*>(QStringLiteral("Frame3"));
    auto& resultFrame = *form->findChild<QWidget*>(QStringLiteral("Frame2"));
    QVERIFY(!calculate.isEnabled());

    int unitForceTables = 0;
    for (int i = 0; i < items.count(); ++i) {
        ChooseInList(items, items.itemText(i));
        if (QTest::currentTestFailed())
            return;
        if (inputFrame.isVisible()) {
            ++unitForceTables;
            GridTyping grid(*form);
            grid.Row(unitForceRow);
            if (QTest::currentTestFailed())
                return;
            QTest::mouseClick(form->findChild<QPushButton*>(QStringLiteral("cmdApply")), Qt::LeftButton);
            QTest::mouseClick(form->findChild<QPushButton*>(QStringLiteral("cmdOK")), Qt::LeftButton);
        }
        QVERIFY2(calculate.isEnabled(), qPrintable(items.itemText(i)));
        QTest::mouseClick(&calculate, Qt::LeftButton);
        QVERIFY(resultFrame.isVisible());
        QVERIFY2(m_messages.shown.empty(), m_messages.shown.empty() ? "" : m_messages.shown[0].text.c_str());
    }
    // One table per unit force, at its reaction step.
    QCOMPARE(unitForceTables, unitForceRow.size() == 0 ? 0 : m_shell->model().IndeterminacyDegree);
}

// The moment diagram at a typed scale, the shear diagram with an empty answer
// and the axial diagram with the prompt cancelled: both fall back to the
// automatic scale.
void ProgramQtTest::DrawDiagrams()
{
    const struct {
        const char* action;
        const char* caption;
        std::optional<QString> answer;
        const char* file;
    } diagrams[] = {
        {"wanju", "弯矩图", QStringLiteral("2"), "moment.png"},
        {"jianli", "剪力图", QString(), "shear.png"},
        {"zhouli", "轴力图", std::nullopt, "axial.png"},
    };
    for (const auto& diagram : diagrams) {
        m_scaleAnswer = diagram.answer;
        m_scaleTitles.clear();
        m_scalePrompts.clear();
        Trigger(diagram.action);
        QCOMPARE(m_scaleTitles.size(), std::size_t{1});
        QCOMPARE(m_scaleTitles[0], U(diagram.caption));
        QCOMPARE(m_scalePrompts[0], U("输入绘图比例(30～100)："));
        QCOMPARE(Main().picWindow().windowTitle(), U(diagram.caption));
        QVERIFY(Main().picWindow().isVisible());
        SavePicture(diagram.file);
    }
}

// A propped cantilever, 4 long, under 10 per unit length, typed as its basic
// system: the cantilever fixed at node 1 with the prop at node 2 released as
// the unit force X1 upward. With EI = 1:
//   delta11 = L^3 / 3 = 21.333, Delta1p = -q L^4 / 8 = -320, X1 = 15,
// so the fixed end carries 10 * 4^2 / 2 - 15 * 4 = 20 and shear 40 - 15 = 25.
void ProgramQtTest::CalculateProppedCantilever()
{
    Enter();
    DeclareModelType("1");
    TypeStructure({
        {"结点", {{"1", "0", "0", "刚接"}, {"2", "4", "0", "自由端"}}},
        {"单元", {{"1", "1", "1", "2"}}},
        {"支座", {{"1", "固定支座", "结点左侧"}}},
        {"荷载", {{"均布荷载", "1", "向下", "10"}}},
    });
    if (QTest::currentTestFailed())
        return;
    // No case has its end forces before the calculation.
    Trigger("jibenwanju");
    QCOMPARE(m_messages.shown.size(), std::size_t{1});
    QCOMPARE(m_messages.shown[0].text, std::string("请先计算外荷载或单位力作用下的各构件内力！"));
    m_messages.shown.clear();
    CalculateEveryItem("无附属部分的超静定结构计算", {"集中荷载", "2", "向上"});
}

void ProgramQtTest::indeterminateBeamThroughTheMenus()
{
    CalculateProppedCantilever();
    if (QTest::currentTestFailed())
        return;

    QStringList offered;
    m_shell->diagramHost().SetChoicePrompt([&offered](const QString&, const QString&, const QStringList& entries) {
        offered = entries;
        return std::optional<int>(1);
    });
    Trigger("jibenwanju");
    QCOMPARE(offered, (QStringList{U("MP图（外荷载）"), U("M\u03041图（单位未知力X1）")}));
    QCOMPARE(Main().picWindow().windowTitle(), U("M\u03041图"));
    SavePicture("unit-moment.png");

    const StructureModel& model = m_shell->model();
    QCOMPARE(model.Elements.at(1).EI, 1.0f);
    QVERIFY(std::abs(model.FlexibilityMatrix.at(1, 1) - 64.0f / 3.0f) < 1e-3f);
    QVERIFY(std::abs(model.FreeTerms.at(1) + 320.0f) < 1e-2f);
    QVERIFY(std::abs(model.RedundantForces.at(1) - 15.0) < 1e-4);
    const Element& beam = model.Elements.at(1);
    QVERIFY(std::abs(std::abs(beam.Mi) - 20.0f) < 1e-3f);
    QVERIFY(std::abs(beam.Mj) < 1e-3f);
    QVERIFY(std::abs(std::abs(beam.Vi) - 25.0f) < 1e-3f);
    QVERIFY(std::abs(std::abs(beam.Vj) - 15.0f) < 1e-3f);
    // The user's loads are back in place of the unit force.
    QCOMPARE(model.LoadCount(), 1);
    QCOMPARE(model.Loads.at(1).LoadType, std::string("均布荷载"));

    m_scaleAnswer = QStringLiteral("3");
    Trigger("wanju");
    SavePicture("moment-indeterminate.png");
}

// The forms are the main window's own (dialog windows, kept above it by the
// window system); after a diagram, "计算类型分析" brings the calculation form
// back with its step and result table, and a new drawing of the structure
// takes the structure's caption again.
void ProgramQtTest::formsStayOwnedAndACalculationOutlivesADiagram()
{
    Enter();
    TypeStructure({
        {"结点", {{"1", "0", "0", "铰接"}, {"2", "4", "0", "铰接"}}},
        {"单元", {{"1", "1", "2"}}},
        {"支座", {{"1", "铰支座", "结点下方"}, {"2", "活动支座", "结点下方"}}},
        {"荷载", {{"均布荷载", "1", "向下", "10"}}},
    });
    if (QTest::currentTestFailed())
        return;
    DeclareModelType(nullptr);
    Trigger("mnuModelType");
    auto* form = Main().findChild<QWidget*>(QStringLiteral("frmOutput"));
    auto* input = Main().findChild<QWidget*>(QStringLiteral("frmInputPara"));
    auto& items = *form->findChild<QComboBox*>(QStringLiteral("cmbCalType"));
    auto& results = *form->findChild<QGroupBox*>(QStringLiteral("Frame2"));
    ChooseInList(items, items.itemText(0));
    QTest::mouseClick(form->findChild<QPushButton*>(QStringLiteral("cmdCal")), Qt::LeftButton);
    const QString title = results.title();

    Trigger("wanju");
    QCOMPARE(Main().picWindow().windowTitle(), U("弯矩图"));
    for (QWidget* owned : {form, input}) {
        QVERIFY(owned->isVisible());
        QCOMPARE(owned->windowType(), Qt::Dialog);
        QCOMPARE(owned->parentWidget(), &Main());
    }
    Trigger("mnuModelType");
    QCOMPARE(items.currentIndex(), 0);
    QVERIFY(results.isVisible());
    QCOMPARE(results.title(), title);

    QTest::mouseClick(input->findChild<QPushButton*>(QStringLiteral("cmdCancel")), Qt::LeftButton);
    QCOMPARE(Main().picWindow().windowTitle(), U("基本体系分析模型图"));
    QCOMPARE(m_messages.shown.size(), std::size_t{0});
}

// The student's work goes into a file and comes back from it, the
// calculation input with it; the input form shows the rows committed; the
// structure is let go of only after the question, when there is work to lose.
void ProgramQtTest::savedWorkComesBackAndIsNeverLostWithoutAsking()
{
    CalculateProppedCantilever();
    if (QTest::currentTestFailed())
        return;
    const auto commonDialog = [this] { return Main().findChild<QFileDialog*>(QStringLiteral("CommonDialog1")); };

    // A name with Chinese characters and a blank, typed without ".json".
    QTemporaryDir dir;
    Trigger("baocun");
    QCOMPARE(m_questions, 0);
    QFileDialog* dialog = commonDialog();
    QVERIFY(dialog->isVisible());
    QCOMPARE(dialog->acceptMode(), QFileDialog::AcceptSave);
    QCOMPARE(dialog->nameFilters(), QStringList{U("Tavrin 结构文件 (*.json)")});
    dialog->setDirectory(dir.path());
    dialog->selectFile(dir.filePath(U("我的 梁")));
    static_cast<QDialog*>(dialog)->accept();
    const QString file = dir.filePath(U("我的 梁.json"));
    QVERIFY(QFile::exists(file));
    QCOMPARE(Main().windowTitle(), U("Tavrin - 我的 梁.json"));
    const StructureModel saved = m_shell->model();
    Trigger("baocun");
    QCOMPARE(commonDialog()->selectedFiles().value(0), file);
    commonDialog()->reject();

    // The load table comes back in the grid (data row 1 is the table's row
    // 0 under the header); one cell is mended.
    auto* input = Main().findChild<QWidget*>(QStringLiteral("frmInputPara"));
    auto* grid = input->findChild<QTableWidget*>(QStringLiteral("MSFlexGrid1"));
    ChooseInList(*input->findChild<QComboBox*>(QStringLiteral("cmbInput")), U("荷载"));
    QCOMPARE(grid->item(0, 0)->text(), U("均布荷载"));
    QCOMPARE(grid->item(0, 4)->text(), QStringLiteral("10"));
    grid->setCurrentCell(0, 4);
    GridTyping(*input).Type(QStringLiteral("12"));
    QTest::mouseClick(input->findChild<QPushButton*>(QStringLiteral("cmdApply")), Qt::LeftButton);
    QCOMPARE(m_shell->model().Loads.at(1).Magnitude, -12.0f);

    // Cancelled, nothing happens; not saved, the file takes the model's
    // place, and the forms show it.
    m_answer = UnsavedAnswer::Cancel;
    Trigger("dakai");
    QCOMPARE(m_questions, 1);
    QVERIFY(!commonDialog()->isVisible());
    m_answer = UnsavedAnswer::Discard;
    Trigger("dakai");
    QCOMPARE(m_questions, 2);
    QCOMPARE(commonDialog()->acceptMode(), QFileDialog::AcceptOpen);
    commonDialog()->selectFile(file);
    static_cast<QDialog*>(commonDialog())->accept();
    QCOMPARE(m_messages.shown.size(), std::size_t{0});
    QCOMPARE(m_shell->model().Loads, saved.UserLoads());
    QCOMPARE(m_shell->model().Nodes, saved.Nodes);
    QCOMPARE(m_shell->model().IndeterminacyDegree, 1);
    QCOMPARE(grid->item(0, 4)->text(), QStringLiteral("10"));
    auto* calculation = Main().findChild<QWidget*>(QStringLiteral("frmOutput"));
    QVERIFY(!calculation->isVisible());
    // The unit force typed before is offered where it is asked for.
    Trigger("mnuModelType");
    auto& items = *calculation->findChild<QComboBox*>(QStringLiteral("cmbCalType"));
    auto* unitForce = calculation->findChild<QTableWidget*>(QStringLiteral("MSFlexGrid1"));
    auto* inputFrame = calculation->findChild<QWidget*>(QStringLiteral("Frame3"));
    for (int i = 0; i < items.count() && !inputFrame->isVisible(); ++i)
        ChooseInList(items, items.itemText(i));
    QVERIFY(inputFrame->isVisible());
    QCOMPARE(unitForce->item(0, 0)->text(), U("集中荷载"));
    QCOMPARE(unitForce->item(0, 3)->text(), U("向上"));

    // Unchanged, "退出" ends at once; changed and saved, it ends after
    // writing the file worked on.
    QSignalSpy ended(m_shell.get(), &QtApplicationShell::endRequested);
    grid->setCurrentCell(0, 4);
    GridTyping(*input).Type(QStringLiteral("12"));
    QTest::mouseClick(input->findChild<QPushButton*>(QStringLiteral("cmdApply")), Qt::LeftButton);
    m_answer = UnsavedAnswer::Save;
    Main().close();
    QCOMPARE(m_questions, 3);
    QCOMPARE(ended.count(), 1);
    QVERIFY(!Main().isVisible());
    QVERIFY(m_shell->Open(file));
    QCOMPARE(m_shell->model().Loads.at(1).Magnitude, -12.0f);
    Trigger("exit");
    QCOMPARE(m_questions, 3);
    QCOMPARE(ended.count(), 2);
}

// Started with a file, the main window comes up with it; a broken file is
// refused with a message; an example opens from the menu and is never
// overwritten: "保存" asks for a name.
void ProgramQtTest::examplesAndTheCommandLineOpenStructures()
{
    const QString beam = QStringLiteral(TAVRIN_SOURCE_DIR "/examples/simply-supported-beam.json");
    m_shell->StartWith(beam);
    QVERIFY(!m_shell->mainPage().isVisible());
    QVERIFY(Main().isVisible());
    QCOMPARE(Main().windowTitle(), QStringLiteral("Tavrin - simply-supported-beam.json"));
    QCOMPARE(m_shell->model().NodeCount(), 3);

    QTemporaryDir dir;
    const QString broken = dir.filePath(QStringLiteral("broken.json"));
    QFile out(broken);
    QVERIFY(out.open(QIODevice::WriteOnly));
    out.write(R"({"nodes": [[1, 0, 0, "刚接"]], "loads": [["集中荷载", 9, "", "向下", 1]]})");
    out.close();
    const StructureModel before = m_shell->model();
    QVERIFY(!m_shell->Open(broken));
    QCOMPARE(m_messages.shown.size(), std::size_t{1});
    QVERIFY(QString::fromStdString(m_messages.shown[0].text).startsWith(U("无法打开文件")));
    QVERIFY(m_shell->model() == before);

    auto* examples = Main().findChild<QMenu*>(QStringLiteral("shili"));
    QVERIFY(examples != nullptr);
    QCOMPARE(examples->title(), U("示例"));
    const QList<QAction*> entries = examples->actions();
    QCOMPARE(entries.size(), 10);
    QCOMPARE(entries[0]->text(), U("悬臂梁"));
    entries[0]->trigger();
    QCOMPARE(m_questions, 0);
    QCOMPARE(m_shell->model().NodeCount(), 2);
    QCOMPARE(Main().windowTitle(), U("Tavrin - 悬臂梁（示例）"));
    Trigger("baocun");
    auto* dialog = Main().findChild<QFileDialog*>(QStringLiteral("CommonDialog1"));
    QVERIFY(dialog->isVisible());
    QCOMPARE(dialog->acceptMode(), QFileDialog::AcceptSave);
    QVERIFY(!dialog->selectedFiles().value(0).endsWith(QStringLiteral(".json")));
    dialog->reject();
}

// Nothing to export before a picture is drawn; then the dialog writes the
// format of its chosen filter when the name has no extension, a Chinese name
// with a blank included, and a file that cannot be written is named with the
// cause.
void ProgramQtTest::exportsAndPrintsThePictureShowing()
{
    Enter();
    Trigger("daochu");
    QCOMPARE(m_messages.shown.size(), std::size_t{1});
    QCOMPARE(m_messages.shown[0].text, std::string("图形窗口中还没有图形。"));
    QVERIFY(Main().findChild<QFileDialog*>(QStringLiteral("dlgExport")) == nullptr);
    m_messages.shown.clear();
    TypeStructure(kSupportedBeam);
    if (QTest::currentTestFailed())
        return;

    Trigger("daochu");
    auto* dialog = Main().findChild<QFileDialog*>(QStringLiteral("dlgExport"));
    QVERIFY(dialog != nullptr && dialog->isVisible());
    QCOMPARE(dialog->windowTitle(), U("导出图形"));
    QCOMPARE(dialog->nameFilters(), (QStringList{U("PNG 图片 (*.png)"), U("SVG 图形 (*.svg)"), U("PDF 文档 (*.pdf)")}));
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    dialog->selectNameFilter(U("SVG 图形 (*.svg)"));
    dialog->setDirectory(dir.path());
    dialog->selectFile(dir.filePath(U("简支 梁")));
    static_cast<QDialog*>(dialog)->accept();  // the save button
    const QString svg = QString::fromUtf8(ReadAll(dir.filePath(U("简支 梁.svg"))));
    QVERIFY(svg.contains(QStringLiteral(">( 1 )</text>")));
    // Titled by the picture's caption, on white.
    QVERIFY(svg.contains(U(">基本体系分析模型图</text>")));
    QVERIFY(!svg.contains(QStringLiteral("#e0e0e0")));

    QPrinter printer;
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(dir.filePath(U("打印.pdf")));
    QVERIFY(m_shell->PrintPictureOn(printer));
    QVERIFY(ReadAll(dir.filePath(U("打印.pdf"))).startsWith("%PDF-"));
    QCOMPARE(m_messages.shown.size(), std::size_t{0});

    const QString unwritable = dir.filePath(U("没有的 文件夹/梁.png"));
    QVERIFY(!m_shell->ExportPictureTo(unwritable, PictureFormat::Png));
    QCOMPARE(m_messages.shown.size(), std::size_t{1});
    const QString message = QString::fromStdString(m_messages.shown[0].text);
    QVERIFY2(message.startsWith(U("无法写入图形文件“") + QDir::toNativeSeparators(unwritable) + U("”：")) &&
                 !message.endsWith(U("：")),
             qPrintable(message));
}

// The structure with the layers committed so far, and then a diagram at the
// scale typed for it, follow the picture window's size without a new prompt.
void ProgramQtTest::pictureIsDrawnAgainAtTheSizeOfItsWindow()
{
    Enter();
    QMdiSubWindow& frame = Main().picSubWindow();
    frame.resize(frame.sizeHint());
    TypeStructure(kSupportedBeam);
    if (QTest::currentTestFailed())
        return;
    const QtCanvas& canvas = Main().picWindow().qtCanvas();
    const double designed = RightmostLine(canvas);
    const std::size_t ops = canvas.ShownOps().size();

    frame.resize(frame.size() * 2);
    QTRY_VERIFY(RightmostLine(canvas) > 1.8 * designed);
    QCOMPARE(canvas.ShownOps().size(), ops);
    QCOMPARE(Main().picWindow().windowTitle(), U("基本体系分析模型图"));
    SavePicture("picture-enlarged.png");

    Trigger("wanju");
    QCOMPARE(m_scalePrompts.size(), std::size_t{1});
    const double diagram = RightmostLine(canvas);
    frame.resize(frame.size() / 2);
    QTRY_VERIFY(RightmostLine(canvas) < 0.6 * diagram);
    QCOMPARE(m_scalePrompts.size(), std::size_t{1});
    QCOMPARE(Main().picWindow().windowTitle(), U("弯矩图"));
    QCOMPARE(m_messages.shown.size(), std::size_t{0});
}

// The picture keeps its share of the inner area while the student shrinks
// the main window and grows it again, and is drawn again at each size.
void ProgramQtTest::pictureComesBackToFullSizeWithTheMainWindow()
{
    Enter();
    TypeStructure(kSupportedBeam);
    if (QTest::currentTestFailed())
        return;
    const QMdiSubWindow& frame = Main().picSubWindow();
    const QWidget& inner = *Main().centralWidget();
    const QtCanvas& canvas = Main().picWindow().qtCanvas();
    const QSize full = frame.size();
    const QSize window = Main().size();
    const double drawn = RightmostLine(canvas);
    // A picture window that cannot be made as narrow as the share asks.
    QMdiSubWindow& picture = Main().picSubWindow();
    picture.setMinimumWidth(full.width() / 2);
    Main().showNormal();
    for (const QSize size : {window / 2, window / 5, QSize(window.width() / 2, window.height()), window}) {
        Main().resize(size);
        QTRY_COMPARE(frame.height(), inner.height());
    }
    QTRY_COMPARE(frame.size(), full);
    QTRY_COMPARE(RightmostLine(canvas), drawn);
}

// "新建" lets go of the structure only after the question, as opening does,
// and leaves the program as it starts: no structure, no picture, no
// calculation, the plain title. The file dialogs open beside the file worked
// on, proposing its name.
void ProgramQtTest::newStructureAfterTheQuestionAndDialogsBesideTheFile()
{
    QTemporaryDir dir;
    const QString file = dir.filePath(U("悬臂 梁.json"));
    QVERIFY(QFile::copy(QStringLiteral(TAVRIN_SOURCE_DIR "/examples/propped-cantilever.json"), file));
    m_shell->StartWith(file);
    const struct {
        const char* action;
        const char* dialog;
        QString proposed;
    } dialogs[] = {
        {"baocun", "CommonDialog1", file},
        {"daochu", "dlgExport", dir.filePath(U("悬臂 梁-基本体系分析模型图"))},
        {"jisuanshu", "dlgReport", dir.filePath(U("悬臂 梁"))},
    };
    for (const auto& d : dialogs) {
        Trigger(d.action);
        auto* dialog = Main().findChild<QFileDialog*>(QString::fromLatin1(d.dialog));
        QVERIFY2(dialog != nullptr && dialog->isVisible(), d.dialog);
        QCOMPARE(dialog->directory().absolutePath(), QDir(dir.path()).absolutePath());
        QCOMPARE(dialog->selectedFiles().value(0), d.proposed);
        dialog->reject();
    }

    Trigger("mnuModelType");
    auto* calculation = Main().findChild<QWidget*>(QStringLiteral("frmOutput"));
    QVERIFY(calculation->isVisible());
    m_shell->model().IndeterminacyDegree = 2;
    m_answer = UnsavedAnswer::Cancel;
    Trigger("xinjian");
    QCOMPARE(m_questions, 1);
    QCOMPARE(m_shell->model().NodeCount(), 3);
    m_answer = UnsavedAnswer::Discard;
    Trigger("xinjian");
    QCOMPARE(m_questions, 2);
    QVERIFY2(m_messages.shown.empty(), m_messages.shown.empty() ? "" : m_messages.shown[0].text.c_str());
    QCOMPARE(m_shell->model().NodeCount(), 0);
    QCOMPARE(m_shell->model().IndeterminacyDegree, 0);
    QCOMPARE(Main().windowTitle(), QStringLiteral("Tavrin"));
    QVERIFY(!calculation->isVisible());
    QCOMPARE(Main().picWindow().windowTitle(), U("基本体系分析模型图"));
    Trigger("daochu");
    QCOMPARE(m_messages.shown.size(), std::size_t{1});
    QCOMPARE(m_messages.shown[0].text, std::string("图形窗口中还没有图形。"));
    // Nothing to lose now; "保存" asks for a name again.
    Trigger("xinjian");
    QCOMPARE(m_questions, 2);
    Trigger("baocun");
    QVERIFY(Main().findChild<QFileDialog*>(QStringLiteral("CommonDialog1"))->selectedFiles().value(0) != file);
}

// The two-span beam typed whole (a pin and two rollers, q = 3, spans 4) and
// declared once indeterminate: "计算类型分析" asks for the basic system;
// "推荐" ticks the left end's vertical restraint with its rule; "确定" types
// the basic system into the tables and the calculation runs as typed, to
// qL^2/8 = 6 over the middle support. "换一个基本体系" with the middle
// support released shows both, the final moments the same.
void ProgramQtTest::originalStructureTypedWholeGetsItsBasicSystemChosen()
{
    Enter();
    DeclareModelType("1");
    TypeStructure({
        {"结点", {{"1", "0", "0", "刚接"}, {"2", "4", "0", "刚接"}, {"3", "8", "0", "刚接"}}},
        {"单元", {{"1", "1", "1", "2"}, {"2", "1", "2", "3"}}},
        {"支座", {{"1", "铰支座", "结点下方"}, {"2", "活动支座", "结点下方"}, {"3", "活动支座", "结点下方"}}},
        {"荷载", {{"均布荷载", "1", "向下", "3", "", "", ""}, {"均布荷载", "2", "向下", "3"}}},
    });
    if (QTest::currentTestFailed())
        return;
    Trigger("mnuModelType");
    auto* choose = Main().findChild<QDialog*>(QStringLiteral("BasicSystemDialog"));
    QVERIFY(choose != nullptr && choose->isVisible());
    QCOMPARE(choose->windowTitle(), U("选择基本体系"));
    QTest::mouseClick(choose->findChild<QPushButton*>(QStringLiteral("cmdRecommend")), Qt::LeftButton);
    QVERIFY(choose->findChild<QCheckBox*>(QStringLiteral("chkRestraint2"))->isChecked());
    QCOMPARE(choose->findChild<QCheckBox*>(QStringLiteral("chkRestraint2"))->text(), U("结点1竖向约束"));
    QVERIFY(choose->findChild<QLabel*>(QStringLiteral("lblNote"))->text().startsWith(U("推荐规则")));
    QTest::mouseClick(choose->findChild<QPushButton*>(QStringLiteral("cmdOK")), Qt::LeftButton);
    QVERIFY(!choose->isVisible());
    QCOMPARE(m_shell->model().SupportCount(), 3);
    QCOMPARE(QString::fromStdString(m_shell->model().Supports.at(1).SupportType), U("活动支座"));

    // The unit force stands in its table already: "交互检查", "O&K".
    auto* form = Main().findChild<QWidget*>(QStringLiteral("frmOutput"));
    QVERIFY(form != nullptr && form->isVisible());
    QCOMPARE(form->windowTitle(), U("无附属部分的超静定结构计算"));
    auto& items = *form->findChild<QComboBox*>(QStringLiteral("cmbCalType"));
    for (int i = 0; i < items.count(); ++i) {
        ChooseInList(items, items.itemText(i));
        if (form->findChild<QWidget*>(QStringLiteral("Frame3"))->isVisible()) {
            QTest::mouseClick(form->findChild<QPushButton*>(QStringLiteral("cmdApply")), Qt::LeftButton);
            QTest::mouseClick(form->findChild<QPushButton*>(QStringLiteral("cmdOK")), Qt::LeftButton);
        }
        QTest::mouseClick(form->findChild<QPushButton*>(QStringLiteral("cmdCal")), Qt::LeftButton);
        QVERIFY2(m_messages.shown.empty(), m_messages.shown.empty() ? "" : m_messages.shown[0].text.c_str());
    }
    QVERIFY(std::abs(m_shell->model().RedundantForces.at(1) - 4.5) < 1e-4);
    QVERIFY(std::abs(m_shell->model().Elements.at(1).Mj - 6.0f) < 1e-4f);

    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QVERIFY(Main().findChild<QDialog*>(QStringLiteral("BasicSystemDialog")) == nullptr);
    Trigger("huanjiben");
    auto* compare = Main().findChild<QDialog*>(QStringLiteral("BasicSystemDialog"));
    QVERIFY(compare != nullptr && compare->isVisible());
    QCOMPARE(compare->windowTitle(), U("换一个基本体系"));
    QVERIFY(compare->findChild<QCheckBox*>(QStringLiteral("chkRestraint2"))->isChecked());
    QTest::mouseClick(compare->findChild<QCheckBox*>(QStringLiteral("chkRestraint2")), Qt::LeftButton);
    QTest::mouseClick(compare->findChild<QCheckBox*>(QStringLiteral("chkRestraint3")), Qt::LeftButton);
    QTest::mouseClick(compare->findChild<QPushButton*>(QStringLiteral("cmdOK")), Qt::LeftButton);
    auto* table = compare->findChild<QTableWidget*>(QStringLiteral("grdCompare"));
    QVERIFY(table->isVisible());
    bool compared = false;
    for (int r = 0; r < table->rowCount(); ++r) {
        if (table->item(r, 0)->text() == U("X1")) {
            QCOMPARE(table->item(r, 1)->text(), QStringLiteral("4.5"));
            QCOMPARE(table->item(r, 2)->text(), QStringLiteral("15."));
        }
        if (table->item(r, 0)->text() == U("杆件1 Mj")) {
            QCOMPARE(table->item(r, 1)->text(), QStringLiteral("6."));
            QCOMPARE(table->item(r, 2)->text(), QStringLiteral("6."));
            compared = true;
        }
    }
    QVERIFY(compared);
    compare->close();

    Trigger("yuanjiegou");
    QVERIFY2(m_messages.shown.empty(), m_messages.shown.empty() ? "" : m_messages.shown[0].text.c_str());
}

QTEST_MAIN(ProgramQtTest)
// "导出计算书..." writes the propped cantilever calculated through the form
// (span 4, EI 1, q = 10: delta11 = L^3/3EI = 21.333, Delta1P = -qL^4/8EI =
// -320, X1 = 3qL/8 = 15) as HTML through its dialog, and as PDF, with the
// rotation of the prop the student worked out in the form, qL^3/48EI =
// 13.333 counter-clockwise.
void ProgramQtTest::writesTheCalculationOutAsAReport()
{
    CalculateProppedCantilever();
    if (QTest::currentTestFailed())
        return;
    auto* form = Main().findChild<QWidget*>(QStringLiteral("frmOutput"));
    QTest::keyClicks(form->findChild<QLineEdit*>(QStringLiteral("txtDisplacementNode")), QStringLiteral("2"));
    form->findChild<QComboBox*>(QStringLiteral("cmbDisplacementKind"))->setCurrentText(U("转角"));
    QTest::mouseClick(form->findChild<QPushButton*>(QStringLiteral("cmdDisplacement")), Qt::LeftButton);
    m_messages.shown.clear();
    Trigger("jisuanshu");
    auto* dialog = Main().findChild<QFileDialog*>(QStringLiteral("dlgReport"));
    QVERIFY(dialog != nullptr && dialog->isVisible());
    QCOMPARE(dialog->windowTitle(), U("导出计算书"));
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    dialog->selectNameFilter(U("HTML 网页 (*.html *.htm)"));
    dialog->setDirectory(dir.path());
    dialog->selectFile(dir.filePath(U("悬臂 梁")));
    static_cast<QDialog*>(dialog)->accept();  // the save button
    QXmlStreamReader xml(ReadAll(dir.filePath(U("悬臂 梁.html"))));
    QString text;
    while (!xml.atEnd())
        if (xml.readNext() == QXmlStreamReader::Characters)
            text += xml.text();
    QVERIFY2(!xml.hasError(), qPrintable(xml.errorString()));
    const QStringList expected{U("21.333X1 − 320 = 0"), U("X1 = 15"), U("M = 15M̄1 + MP"),
                               U("结点2转角 Δ = 13.333，与单位力方向相同。")};
    for (const QString& line : expected)
        QVERIFY2(text.contains(line), qPrintable(line));
    QCOMPARE(m_messages.shown.size(), std::size_t{0});

    const QString pdf = dir.filePath(U("计算书.pdf"));
    QVERIFY(m_shell->ExportReportTo(pdf, ReportFormat::Pdf));
    QVERIFY(ReadAll(pdf).startsWith("%PDF-"));
    QProcess extract;
    extract.start(QStringLiteral("pdftotext"),
                  {QStringLiteral("-enc"), QStringLiteral("UTF-8"), pdf, QStringLiteral("-")});
    if (!extract.waitForFinished())
        QSKIP("pdftotext (poppler-utils) is not installed");
    const QString extracted = QString::fromUtf8(extract.readAllStandardOutput());
    for (const QString& line : expected)
        QVERIFY2(extracted.contains(line), qPrintable(line));
}

#include "ProgramQtTest.moc"
