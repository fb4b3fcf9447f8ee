#include <memory>
#include <string>
#include <vector>

#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QtTest>

#include "analysis/ModelTypeDialog.h"
#include "forcemethod/FrameFixtures.h"
#include "forcemethod/OutputForm.h"
#include "input/InputParaForm.h"
#include "qtforms/GridWidget.h"
#include "qtforms/QtTwips.h"
#include "support/GridTyping.h"

using namespace tavrin;
using tavrin::testing::Press;
using tavrin::testing::Rows;
using tavrin::testing::Type;

namespace {

QString U(const char* text)
{
    return QString::fromUtf8(text);
}

std::vector<std::string> Row(std::initializer_list<const char*> cells)
{
    return {cells.begin(), cells.end()};
}

// The picture window's side of a diagram: notes the captions shown and
// answers the scale prompt with 2.
class RecordingHost : public DiagramHost {
public:
    void ShowPicture(std::string_view caption) override { captions.emplace_back(caption); }
    std::optional<std::string> AskScale(std::string_view, std::string_view) override { return "2"; }
    std::vector<std::string> captions;
};

}  // namespace

// Drives the real forms from the degree typed in the model type dialog, over
// the analysis, through every item of the calculation list, typing the
// supplementary tables into the grid with the floating editors, up to the
// total member forces; checks the cell texts the student reads.
class OutputFormQtTest : public QObject {
    Q_OBJECT

private slots:
    void init();
    void cleanup();
    void opensWithItsControlsAndNoTableShowing();
    void determinateFrameToItsMemberForces();
    void proppedCantileverToItsTotalForces();
    void caseDiagramButtonDrawsTheSelectedMemberForceCase();
    void ledgerReactionsAndChecksBesideTheItems();
    void checkMarksTheStudentsNumbersAndLeavesTheModel();
    void displacementOnceTheTotalForcesAreKnown();
    void portalFrameFixedAtBothFeetToItsTotalForces();
    void hingedCantileverBeamThroughItsAttachedPart();
    void indeterminateBeamWithAnAttachedPartToItsTotalForces();
    void unitForceTableOffersItsOwnListsAndSkips();
    void eachOpenFormEditsByItsOwnColumnKinds();
    void rigidJointLeavesEverythingAsItWas();
    void framesAndFormClose();
    void resultAndInputFramesNeverShowTogether();
    void escapeGivesUpACellEdit();

private:
    template <class T>
    T* Find(const char* name) const
    {
        return testing::Control<T>(*m_form, name);
    }
    GridWidget* InputGrid() const { return Find<GridWidget>("MSFlexGrid1"); }
    GridWidget* ResultGrid() const { return Find<GridWidget>("MSFlexGrid2"); }

    // Commits the tables, answers the model type dialog, runs the analysis.
    void Analyse(const testing::FrameTables& frame, int degree);
    void ChooseItem(int index);
    void Click(const char* button);
    void Calculate(int index);
    void ChooseInList(const QString& entry) { testing::ChooseInListEditor(*Find<QComboBox>("Combo1"), entry); }
    // Types a unit-force row: type from the list, the node, the direction.
    void TypeUnitForce(const char* type, const char* node, const char* direction);
    void ApplyUnitForce(int item, const char* type, const char* node, const char* direction);
    Rows Shown() const { return GridCells(*ResultGrid()); }
    QString ResultTitle() const { return Find<QGroupBox>("Frame2")->title(); }
    QString Signs() const { return Find<QLabel>("lblSigns")->text(); }

    std::unique_ptr<StructureModel> m_model;
    std::unique_ptr<RecordingCanvas> m_picture;
    std::unique_ptr<RecordingMessages> m_messages;
    RecordingHost m_host;
    OutputForm* m_form = nullptr;
    std::unique_ptr<QWidget> m_owner;
};

void OutputFormQtTest::init()
{
    m_model = std::make_unique<StructureModel>();
    m_picture = std::make_unique<RecordingCanvas>();
    m_messages = std::make_unique<RecordingMessages>();
    m_owner = std::make_unique<QWidget>();
    m_host.captions.clear();
    m_form = nullptr;
}

void OutputFormQtTest::cleanup()
{
    QVERIFY2(m_messages->shown.empty(), m_messages->shown.empty() ? "" : m_messages->shown.front().text.c_str());
    m_owner.reset();
    m_form = nullptr;
    m_messages.reset();
    m_picture.reset();
    m_model.reset();
}

void OutputFormQtTest::Analyse(const testing::FrameTables& frame, int degree)
{
    QVERIFY(testing::CommitFrame(*m_model, *m_picture, *m_messages, frame));
    ModelTypeDialog dialog(*m_model, *m_messages);
    dialog.Open();
    QTest::mouseClick(dialog.findChild<QRadioButton*>(degree ? QStringLiteral("Option2") : QStringLiteral("Option1")),
                      Qt::LeftButton);
    if (degree)
        QTest::keyClicks(dialog.findChild<QLineEdit*>(QStringLiteral("Text1")), QString::number(degree));
    QTest::mouseClick(dialog.findChild<QPushButton*>(QStringLiteral("OKButton")), Qt::LeftButton);
    QCOMPARE(m_model->IndeterminacyDegree, static_cast<std::int16_t>(degree));

    bool placed = false;
    QVERIFY(AnalyseModelTypeCommand(*m_model, *m_picture, m_host, *m_messages, m_form, m_owner.get(),
                                    [&](QWidget&) { placed = true; }));
    QVERIFY(placed);
    QVERIFY(m_form->isVisible());
    QApplication::setActiveWindow(m_form);
    QVERIFY(QTest::qWaitForWindowActive(m_form));
}

void OutputFormQtTest::ChooseItem(int index)
{
    QComboBox* items = Find<QComboBox>("cmbCalType");
    testing::ChooseEntry(*items, index);
    QCOMPARE(items->currentIndex(), index);
}

void OutputFormQtTest::Click(const char* button)
{
    QPushButton* b = Find<QPushButton>(button);
    QVERIFY2(b->isVisible() && b->isEnabled(), button);
    QTest::mouseClick(b, Qt::LeftButton);
}

void OutputFormQtTest::Calculate(int index)
{
    ChooseItem(index);
    Click("cmdCal");
    QVERIFY(Find<QGroupBox>("Frame2")->isVisible());
}

void OutputFormQtTest::TypeUnitForce(const char* type, const char* node, const char* direction)
{
    Press(Qt::Key_Space);
    ChooseInList(U(type));
    Type(QString::fromLatin1(node) + QLatin1Char(' '));
    QCOMPARE(InputGrid()->Col(), 3);
    Press(Qt::Key_Space);
    ChooseInList(U(direction));
}

void OutputFormQtTest::ApplyUnitForce(int item, const char* type, const char* node, const char* direction)
{
    ChooseItem(item);
    QVERIFY(Find<QGroupBox>("Frame3")->isVisible());
    TypeUnitForce(type, node, direction);
    Click("cmdApply");
    Click("cmdOK");
    QVERIFY(!Find<QGroupBox>("Frame3")->isVisible());
    QVERIFY(Find<QPushButton>("cmdCal")->isEnabled());
}

void OutputFormQtTest::opensWithItsControlsAndNoTableShowing()
{
    Analyse(testing::kCantilever, 2);
    QCOMPARE(m_form->objectName(), QStringLiteral("frmOutput"));
    QCOMPARE(m_form->windowTitle(), U("无附属部分的超静定结构计算"));
    QCOMPARE(Find<QLabel>("Label1")->text(), U("求解内容："));
    QCOMPARE(Find<QPushButton>("cmdCal")->text(), U("计算(&C)"));
    QCOMPARE(Find<QPushButton>("cmdClose")->text(), U("关闭窗口(&X)"));
    QCOMPARE(Find<QPushButton>("cmdApply")->text(), U("交互检查"));
    QCOMPARE(Find<QPushButton>("cmdOK")->text(), U("O&K"));
    QCOMPARE(Find<QPushButton>("cmdCancle")->text(), U("撤消"));
    QCOMPARE(Find<QPushButton>("cmdFrmClose")->text(), U("关闭(&G)"));
    // Alt and a letter press one button only.
    QStringList keys;
    for (const QPushButton* button : m_form->findChildren<QPushButton*>()) {
        const qsizetype amp = button->text().indexOf(QLatin1Char('&'));
        if (amp >= 0 && amp + 1 < button->text().size())
            keys << button->text().at(amp + 1).toUpper();
    }
    QCOMPARE(keys.size(), 4);
    QCOMPARE(keys.removeDuplicates(), 0);
    QCOMPARE(Find<QGroupBox>("Frame3")->title(), U("输入未知单位力信息："));
    QCOMPARE(Find<QGroupBox>("Frame2")->title(), U("计算结果"));
    QVERIFY(!Find<QPushButton>("cmdCal")->isEnabled());
    QVERIFY(!Find<QGroupBox>("Frame2")->isVisible());
    QVERIFY(!Find<QGroupBox>("Frame3")->isVisible());
    QVERIFY(!Find<QLineEdit>("Text1")->isVisible());
    QVERIFY(!Find<QComboBox>("Combo1")->isVisible());
    QComboBox* items = Find<QComboBox>("cmbCalType");
    QCOMPARE(items->count(), 9);
    QCOMPARE(items->itemText(2), U("单位力X 1作用下支座反力"));
    QCOMPARE(items->itemText(8), U("构件总内力"));
    QCOMPARE(items->currentIndex(), -1);
    // The room the shell keeps for the form holds its controls.
    QCOMPARE(m_form->size(), QSize(TwipsToPixelsX(kCalculationFormTwips.width, *m_form),
                                   TwipsToPixelsY(kCalculationFormTwips.height, *m_form)));
}

void OutputFormQtTest::determinateFrameToItsMemberForces()
{
    Analyse(testing::kLFrame, 0);
    QCOMPARE(m_form->windowTitle(), U("无附属部分的静定结构计算"));
    Calculate(0);
    QCOMPARE(ResultTitle(), U("支座反力计算结果："));
    QCOMPARE(Signs(), U("符号规定：反力是支座（或铰）作用于结构的力，Fx以向右为正，Fy以向上为正，Fm以顺时针为正。"));
    QCOMPARE(Shown(), (Rows{Row({"支座结点码", "支座类型", "Fx(向右为正)", "Fy(向上为正)", "Fm(顺时针为正)"}),
                            Row({"1", "固定支座", "0.", "12.", "-24."})}));
    Calculate(1);
    QCOMPARE(ResultTitle(), U("各杆件内力计算结果："));
    QCOMPARE(Shown(),
             (Rows{Row({"杆件号", " Ni ", " Vi ", " Mi ", " Nj ", " Vj ", " Mj "}),
                   Row({"1", "-12.", "0.", "24.", "-12.", "0.", "24."}),
                   Row({"2", "0.", "12.", "24.", "0.", "0.", "0."}), Row({"3", "0.", "0.", "0.", "0.", "0.", "0."})}));
    QCOMPARE(ResultGrid()->ColWidth(6), 960);
}

void OutputFormQtTest::proppedCantileverToItsTotalForces()
{
    Analyse(testing::kCantilever, 1);
    Calculate(0);
    Calculate(1);
    QCOMPARE(ResultTitle(), U("荷载作用下各杆件内力计算结果："));
    ApplyUnitForce(2, "集中荷载", "2", "向上");
    Click("cmdCal");
    QCOMPARE(ResultTitle(), U("单位未知力X1支座反力计算结果："));
    QCOMPARE(Shown()[1], Row({"1", "固定支座", "0.", "-1.", "4."}));
    Calculate(3);
    QCOMPARE(Signs(),
             U("符号规定：Fni、Fnj以受拉为正；Fqi、Fqj以使杆段顺时针转动为正；Fmi、Fmj以使杆件左侧（由i端看向j端）"
               "受拉为正，i端在左的水平杆即上侧受拉；弯矩图画在受拉一侧。"));
    Calculate(4);
    QCOMPARE(Shown(), (Rows{Row({" i", "δi1", "Δip"}), Row({"1", "21.333", "-64."})}));
    // Every table is named by its own title and signs, not the one before.
    QCOMPARE(ResultTitle(), U("系数和自由项计算结果："));
    QVERIFY(Signs().contains(U("沿Xi正向的位移")));
    Calculate(5);
    QCOMPARE(Shown(), (Rows{Row({"未知力", "X1"}), Row({"", "3."})}));
    QCOMPARE(ResultTitle(), U("未知力求解结果："));
    Calculate(6);
    QCOMPARE(ResultTitle(), U("各杆件总内力计算结果："));
    // 5qL/8 and qL^2/8 at the wall, 3qL/8 at the prop.
    QCOMPARE(Shown(), (Rows{Row({"杆件号", " Fni ", " Fqi ", " Fmi ", " Fnj ", " Fqj ", " Fmj "}),
                            Row({"1", "0.", "5.", "4.", "0.", "-3.", "0."})}));
}

// "弯矩图" beside "计算(&C)" draws MP once the end forces under the loads are
// calculated, and stays disabled on an item whose case has none yet.
void OutputFormQtTest::caseDiagramButtonDrawsTheSelectedMemberForceCase()
{
    Analyse(testing::kCantilever, 1);
    auto* button = Find<QPushButton>("cmdCaseDiagram");
    QCOMPARE(button->text(), U("弯矩图"));
    ChooseItem(1);
    QVERIFY(!button->isEnabled());
    Calculate(0);
    Calculate(1);
    QVERIFY(button->isEnabled());
    Click("cmdCaseDiagram");
    QCOMPARE(m_host.captions, std::vector<std::string>{"MP图"});
    QCOMPARE(m_picture->caption, std::string("MP图"));
    QVERIFY(!m_picture->Prints().empty());
    ChooseItem(3);
    QVERIFY(!button->isEnabled());
}

// The three views open with their steps and leave the item list as it is.
void OutputFormQtTest::ledgerReactionsAndChecksBesideTheItems()
{
    Analyse(testing::kCantilever, 1);
    const auto enabled = [&] {
        return std::vector<bool>{Find<QPushButton>("cmdLedger")->isEnabled(),
                                 Find<QPushButton>("cmdReactions")->isEnabled(),
                                 Find<QPushButton>("cmdChecks")->isEnabled()};
    };
    QCOMPARE(Find<QPushButton>("cmdLedger")->text(), U("图乘明细"));
    QCOMPARE(Find<QPushButton>("cmdReactions")->text(), U("最终支座反力"));
    QCOMPARE(Find<QPushButton>("cmdChecks")->text(), U("校核"));
    QCOMPARE(enabled(), (std::vector<bool>{false, false, false}));
    Calculate(0);
    Calculate(1);
    ApplyUnitForce(2, "集中荷载", "2", "向上");
    Click("cmdCal");
    Calculate(3);
    Calculate(4);
    QCOMPARE(enabled(), (std::vector<bool>{true, false, false}));
    Click("cmdLedger");
    QCOMPARE(ResultTitle(), U("图乘明细（δij：前图M̄i、后图M̄j；Δip：前图MP、后图M̄i）："));
    QCOMPARE(Shown()[1], Row({"δ11", "1", "4", "1", "-4.", "0.", "-4.", "0.", "", "21.333"}));
    Calculate(5);
    Calculate(6);
    QCOMPARE(enabled(), (std::vector<bool>{true, true, true}));
    Click("cmdReactions");
    QCOMPARE(ResultTitle(), U("最终支座反力计算结果："));
    QCOMPARE(Shown()[2], Row({"2", "未知力X1", "0.", "3.", "0."}));
    Click("cmdChecks");
    const Rows checks = Shown();
    QCOMPARE(checks.size(), std::size_t{23});
    for (std::size_t r = 1; r < checks.size(); ++r)
        QCOMPARE(checks[r][4], std::string("通过"));
    QCOMPARE(Find<QComboBox>("cmbCalType")->count(), 7);
    QCOMPARE(Find<QComboBox>("cmbCalType")->currentIndex(), 6);
}

// The prop of the propped cantilever turns by qL^3 / 48EI: the unit couple
// on the basic cantilever, its M̄ diagram drawn.
void OutputFormQtTest::displacementOnceTheTotalForcesAreKnown()
{
    Analyse(testing::kCantilever, 1);
    auto* button = Find<QPushButton>("cmdDisplacement");
    QCOMPARE(button->text(), U("位移计算"));
    Calculate(0);
    Calculate(1);
    ApplyUnitForce(2, "集中荷载", "2", "向上");
    Click("cmdCal");
    for (const int item : {3, 4, 5})
        Calculate(item);
    QVERIFY(!button->isEnabled());
    Calculate(6);
    QVERIFY(button->isEnabled());
    QTest::keyClicks(Find<QLineEdit>("txtDisplacementNode"), QStringLiteral("2"));
    Find<QComboBox>("cmbDisplacementKind")->setCurrentText(U("转角"));
    Click("cmdDisplacement");
    QCOMPARE(ResultTitle(), U("结点2转角（单位荷载法）："));
    const Rows shown = Shown();
    QCOMPARE(shown[4], Row({"", "1", "0.", "0.", "-1.", "0.", "0.", "-1.", "", ""}));
    QCOMPARE(shown[8], Row({"结点2转角", "2.667", "与单位力方向相同", "", "", "", "", "", "", ""}));
    QCOMPARE(shown[9][1], std::string("只计弯曲变形，忽略轴向和剪切变形"));
    QCOMPARE(m_host.captions.back(), std::string("M̄图（单位荷载）"));
}

// "核对" lays the coefficient table out blank, the student types into it
// with the floating editor, "核对" again marks the cells; "计算(&C)" then
// shows the program's numbers, unmarked.
void OutputFormQtTest::checkMarksTheStudentsNumbersAndLeavesTheModel()
{
    Analyse(testing::kCantilever, 1);
    QCOMPARE(Find<QPushButton>("cmdCheck")->text(), U("核对"));
    Calculate(0);
    Calculate(1);
    ApplyUnitForce(2, "集中荷载", "2", "向上");
    Click("cmdCal");
    Calculate(3);
    ChooseItem(4);
    const StructureModel model = *m_model;
    Click("cmdCheck");
    QVERIFY(Find<QGroupBox>("Frame2")->isVisible());
    QCOMPARE(Shown(), (Rows{Row({" i", "δi1", "Δip"}), Row({"1", "", ""})}));
    Type(QStringLiteral("10.667"));
    Press(Qt::Key_Return);
    Type(QStringLiteral("-64"));
    Press(Qt::Key_Return);
    Click("cmdCheck");
    QCOMPARE(m_messages->shown.size(), std::size_t{1});
    QCOMPARE(m_messages->shown[0].text, std::string("2个数中1个正确\nδ11：是正确值的一半"));
    m_messages->shown.clear();
    const auto background = [&](int col) { return ResultGrid()->item(0, col)->background().color(); };
    QCOMPARE(background(1).red() > background(1).green(), true);
    QCOMPARE(background(2).green() > background(2).red(), true);
    QVERIFY(QDir().mkpath(QStringLiteral(TAVRIN_TEST_OUTPUT_DIR)));
    m_form->grab().save(QStringLiteral(TAVRIN_TEST_OUTPUT_DIR "/check-mode.png"));
    QVERIFY(*m_model == model);

    Click("cmdCal");
    QCOMPARE(Shown(), (Rows{Row({" i", "δi1", "Δip"}), Row({"1", "21.333", "-64."})}));
    QVERIFY(!ResultGrid()->item(0, 1)->data(Qt::BackgroundRole).isValid());
}

void OutputFormQtTest::portalFrameFixedAtBothFeetToItsTotalForces()
{
    Analyse(testing::kLFrame, 3);
    QCOMPARE(Find<QComboBox>("cmbCalType")->count(), 11);
    Calculate(0);
    Calculate(1);
    ApplyUnitForce(2, "集中荷载", "4", "向右");
    Click("cmdCal");
    Calculate(3);
    ApplyUnitForce(4, "集中荷载", "4", "向上");
    Click("cmdCal");
    Calculate(5);
    ApplyUnitForce(6, "力偶", "4", "逆时针");
    Click("cmdCal");
    QCOMPARE(ResultTitle(), U("单位未知力X3支座反力计算结果："));
    Calculate(7);
    Calculate(8);
    QCOMPARE(Shown()[0], Row({" i", "δi1", "δi2", "δi3", "Δip"}));
    Calculate(9);
    QCOMPARE(Shown(), (Rows{Row({"未知力", "X1", "X2", "X3"}), Row({"", "-1.", "6.", "1.333"})}));
    Calculate(10);
    QCOMPARE(Shown(), (Rows{Row({"杆件号", " Fni ", " Fqi ", " Fmi ", " Fnj ", " Fqj ", " Fmj "}),
                            Row({"1", "-6.", "-1.", "-1.33", "-6.", "-1.", "2.67"}),
                            Row({"2", "-1.", "6.", "2.67", "-1.", "-6.", "2.67"}),
                            Row({"3", "-6.", "1.", "2.67", "-6.", "1.", "-1.33"})}));

    // What the student sees, kept for a look by eye.
    QVERIFY(QDir().mkpath(QStringLiteral(TAVRIN_TEST_OUTPUT_DIR)));
}

void OutputFormQtTest::hingedCantileverBeamThroughItsAttachedPart()
{
    Analyse(testing::kGerberBeam, 0);
    QCOMPARE(m_form->windowTitle(), U("有附属部分的静定结构计算"));
    ChooseItem(0);
    QCOMPARE(Find<QGroupBox>("Frame3")->title(), U("附属部分补充输入信息"));
    QVERIFY(!Find<QPushButton>("cmdApply")->isVisible());
    QCOMPARE(InputGrid()->Text(0, 19), std::string("单元17"));
    Type(QStringLiteral("1 2 3 2 "));
    QVERIFY(QDir().mkpath(QStringLiteral(TAVRIN_TEST_OUTPUT_DIR)));
    Click("cmdOK");
    Click("cmdCal");
    QCOMPARE(ResultTitle(), U("附属部分支座/铰结点反力计算结果："));
    QCOMPARE(Shown()[1], Row({"2", "铰结点", "4.", "0."}));
    QCOMPARE(Shown()[2], Row({"3", "活动支座", "4.", "0."}));

    ChooseItem(1);
    QCOMPARE(Find<QGroupBox>("Frame3")->title(), U("基本部分补充输入信息"));
    Type(QStringLiteral("1 1 "));
    Click("cmdOK");
    Click("cmdCal");
    QCOMPARE(ResultTitle(), U("基本部分支座/铰结点反力计算结果："));
    QCOMPARE(Shown()[1], Row({"1", "固定支座", "0.", "4.", "-16."}));

    Calculate(2);
    QCOMPARE(Shown(),
             (Rows{Row({"杆件号", " Fni ", " Fvi ", " Fmi ", " Fnj ", " Fvj ", " Fmj "}),
                   Row({"1", "0.", "4.", "16.", "0.", "4.", "0."}), Row({"2", "0.", "4.", "0.", "0.", "-4.", "0."})}));
}

void OutputFormQtTest::indeterminateBeamWithAnAttachedPartToItsTotalForces()
{
    Analyse(testing::kHingedBeamOverThreeSupports, 1);
    QCOMPARE(m_form->windowTitle(), U("基本体系有附属部分的超静定结构计算"));
    ChooseItem(0);
    Type(QStringLiteral("1 2 4 2 3 "));
    Click("cmdOK");
    Click("cmdCal");
    QCOMPARE(Shown()[1], Row({"2", "铰结点", "8.", "0."}));
    ChooseItem(1);
    Type(QStringLiteral("1 1 "));
    Click("cmdOK");
    Click("cmdCal");
    QCOMPARE(ResultTitle(), U("外荷载下支座反力计算结果："));
    QCOMPARE(Shown()[1], Row({"1", "固定支座", "0.", "8.", "-32."}));
    Calculate(2);

    // The grid now shows the unit-force table; the confirmed part rows serve.
    ApplyUnitForce(3, "集中荷载", "3", "向上");
    Click("cmdCal");
    QCOMPARE(ResultTitle(), U("单位未知力X1支座反力计算结果："));
    QCOMPARE(Shown()[1], Row({"1", "固定支座", "0.", "-0.5", "2."}));
    QCOMPARE(Shown()[2], Row({"4", "活动支座", "0.", "-0.5", "0."}));
    Calculate(4);
    Calculate(5);
    QCOMPARE(Shown()[1], Row({"1", "16.", "-192."}));
    Calculate(6);
    QCOMPARE(Shown()[1], Row({"", "12."}));
    Calculate(7);
    QCOMPARE(Shown(),
             (Rows{Row({"杆件号", " Fni ", " Fqi ", " Fmi ", " Fnj ", " Fqj ", " Fmj "}),
                   Row({"1", "0.", "2.", "8.", "0.", "2.", "0."}), Row({"2", "0.", "2.", "0.", "0.", "-6.", "8."}),
                   Row({"3", "0.", "6.", "8.", "0.", "-2.", "0."})}));
}

void OutputFormQtTest::unitForceTableOffersItsOwnListsAndSkips()
{
    Analyse(testing::kCantilever, 1);
    const std::vector<std::string> inputFormKinds = m_model->ColumnEditorKinds;
    ChooseItem(2);
    QCOMPARE(InputGrid()->Rows(), 10);
    QCOMPARE(InputGrid()->Cols(), 4);
    QComboBox* list = Find<QComboBox>("Combo1");
    Press(Qt::Key_Space);
    QCOMPARE(list->count(), 4);
    QCOMPARE(list->itemText(0), U("集中荷载"));
    QCOMPARE(list->itemText(1), U("力偶"));
    QCOMPARE(list->itemText(2), QString());
    ChooseInList(U("力偶"));
    QCOMPARE(QString::fromStdString(InputGrid()->Text(1, 0)), U("力偶"));
    QCOMPARE(InputGrid()->Col(), 1);
    Type(QStringLiteral("2"));
    Press(Qt::Key_Return);
    QCOMPARE(InputGrid()->Col(), 3);
    Press(Qt::Key_Space);
    QCOMPARE(list->itemText(0), U("顺时针"));
    QCOMPARE(list->itemText(1), U("逆时针"));
    QCOMPARE(list->itemText(3), QString());
    Press(Qt::Key_Escape);
    QCOMPARE(InputGrid()->Text(1, 3), std::string());
    QCOMPARE(m_model->ColumnEditorKinds, inputFormKinds);

    // Applied and confirmed, the unit force replaces the user's loads, which
    // stay kept.
    const OneBasedTable<Load> userLoads = m_model->Loads;
    Press(Qt::Key_Space);
    ChooseInList(U("逆时针"));
    Click("cmdApply");
    QCOMPARE(m_model->Loads.at(1), (Load{"力偶", 1.0f, "逆时针", 2, 0}));
    QCOMPARE(m_model->SavedLoads, userLoads);
}

// The input form stays open on its node table (first column typed) while the
// calculation form shows its unit-force table (first column a list): each
// form's editors go by its own table, and the model keeps the input form's
// kinds.
void OutputFormQtTest::eachOpenFormEditsByItsOwnColumnKinds()
{
    Analyse(testing::kCantilever, 1);
    InputParaForm input(*m_model, *m_picture, *m_messages);
    input.show();
    testing::ChooseEntry(*testing::Control<QComboBox>(input, "cmbInput"), 0);
    const std::vector<std::string> nodeTableKinds{"T", "T", "T", "F"};
    QCOMPARE(m_model->ColumnEditorKinds, nodeTableKinds);
    ChooseItem(2);
    QCOMPARE(m_form->State().editorKinds, (std::vector<std::string>{"F", "T", "T", "F"}));

    auto* inputGrid = testing::Control<GridWidget>(input, "MSFlexGrid1");
    auto* inputText = testing::Control<QLineEdit>(input, "Text1");
    auto* inputList = testing::Control<QComboBox>(input, "Combo1");
    QTest::keyClick(InputGrid(), Qt::Key_Space);
    QVERIFY(Find<QComboBox>("Combo1")->isVisible());
    QCOMPARE(Find<QComboBox>("Combo1")->itemText(0), U("集中荷载"));
    QTest::keyClick(inputGrid, Qt::Key_Space);
    QVERIFY(!inputList->isVisible());
    QTest::keyClick(inputGrid, Qt::Key_1);
    QVERIFY(inputText->isVisible());
    QCOMPARE(inputText->text(), QStringLiteral("1"));
    QTest::keyClick(InputGrid(), Qt::Key_1);
    QVERIFY(!Find<QLineEdit>("Text1")->isVisible());
    QCOMPARE(m_model->ColumnEditorKinds, nodeTableKinds);
}

void OutputFormQtTest::rigidJointLeavesEverythingAsItWas()
{
    const testing::FrameTables star{
        {{"1", "0", "0", "刚接"}, {"2", "4", "0", "自由端"}, {"3", "0", "4", "自由端"}, {"4", "-4", "0", "自由端"}},
        {{"1", "1", "1", "2"}, {"2", "1", "1", "3"}, {"3", "1", "1", "4"}},
        {{"1", "固定支座", "结点下方"}},
        {}};
    QVERIFY(testing::CommitFrame(*m_model, *m_picture, *m_messages, star));
    const StructureModel before = *m_model;
    const std::size_t strokes = m_picture->ops.size();
    QVERIFY(!AnalyseModelTypeCommand(*m_model, *m_picture, m_host, *m_messages, m_form, m_owner.get()));
    QVERIFY(m_form == nullptr);
    QVERIFY(*m_model == before);
    QCOMPARE(m_picture->ops.size(), strokes);
    QCOMPARE(m_messages->shown.size(), std::size_t{1});
    QCOMPARE(QString::fromStdString(m_messages->shown[0].text),
             U("伸出单元数>2，本程序不能计算刚结点有弯矩分配的工况！1刚节点"));
    m_messages->shown.clear();
}

void OutputFormQtTest::framesAndFormClose()
{
    Analyse(testing::kSimpleBeam, 0);
    Calculate(0);
    Click("cmdFrmClose");
    QVERIFY(!Find<QGroupBox>("Frame2")->isVisible());
    Click("cmdClose");
    QVERIFY(!m_form->isVisible());

    // The next analysis opens the kept form afresh.
    OutputForm* kept = m_form;
    QVERIFY(AnalyseModelTypeCommand(*m_model, *m_picture, m_host, *m_messages, m_form, m_owner.get()));
    QCOMPARE(m_form, kept);
    QVERIFY(m_form->isVisible());
    QVERIFY(!Find<QPushButton>("cmdCal")->isEnabled());
    QVERIFY(!Find<QGroupBox>("Frame2")->isVisible());
}

// After a result, the unit-force table takes the result's place; "计算"
// pressed before the unit force is applied leaves it there with a message,
// and the table takes the keys.
void OutputFormQtTest::resultAndInputFramesNeverShowTogether()
{
    Analyse(testing::kCantilever, 1);
    Calculate(0);
    Calculate(1);
    auto* results = Find<QGroupBox>("Frame2");
    auto* input = Find<QGroupBox>("Frame3");
    ChooseItem(2);
    QVERIFY(input->isVisible() && !results->isVisible());
    Click("cmdCal");
    QCOMPARE(m_messages->shown.size(), std::size_t{1});
    m_messages->shown.clear();
    QVERIFY(input->isVisible() && !results->isVisible());
    QCOMPARE(QApplication::focusWidget(), InputGrid());
    QVERIFY(m_form->rect().contains(input->geometry()));
}

// Escape in the floating text editor leaves the cell as it was and gives
// the keys back to the grid.
void OutputFormQtTest::escapeGivesUpACellEdit()
{
    Analyse(testing::kCantilever, 1);
    ChooseItem(2);
    TypeUnitForce("集中荷载", "2", "向上");
    GridWidget* grid = InputGrid();
    grid->setCurrentCell(0, 1);  // the node cell of data row 1
    Type(QStringLiteral("7"));
    QVERIFY(Find<QLineEdit>("Text1")->isVisible());
    Press(Qt::Key_Escape);
    QVERIFY(!Find<QLineEdit>("Text1")->isVisible());
    QCOMPARE(grid->Text(1, 1), std::string("2"));
    QVERIFY(grid->hasFocus());
    Click("cmdApply");
    QCOMPARE(m_model->Loads.at(1).NodeNo, 2);
}

QTEST_MAIN(OutputFormQtTest)
#include "OutputFormQtTest.moc"
