#include <memory>
#include <tuple>
#include <vector>

#include <QApplication>
#include <QComboBox>
#include <QGroupBox>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QtTest>

#include "drawing/DrawingPasses.h"
#include "input/InputParaForm.h"
#include "qtforms/GridWidget.h"
#include "qtforms/QtTwips.h"
#include "support/GridTyping.h"

using namespace tavrin;
using testing::Press;
using testing::Type;

namespace {

QString U(const char* text)
{
    return QString::fromUtf8(text);
}

// Position, kind and text of each operation: what the student sees.
using Stroke = std::tuple<int, double, double, double, double, double, std::string>;
std::vector<Stroke> Strokes(const std::vector<CanvasOp>& ops)
{
    std::vector<Stroke> strokes;
    for (const CanvasOp& op : ops)
        strokes.emplace_back(static_cast<int>(op.kind), op.x1, op.y1, op.x2, op.y2, op.r, op.text);
    return strokes;
}

}  // namespace

class InputParaFormQtTest : public QObject {
    Q_OBJECT

private slots:
    void init();
    void cleanup();
    void startsWithOnlyTheTableChoice();
    void typesAndCommitsTheNodeTableFromTheKeyboard();
    void typesTheLoadTableThroughTheListsAndSkips();
    void typesALoadOnAMemberAndATriangle();
    void switchingTablesDropsTheStaleColumns();
    void escapeInTheListLeavesTheCellAndAClickKeepsTyping();
    void undoRedrawsTheLayersBelowTheShowingTable();
    void aRefusedTableKeepsTheModelAndWhatWasTyped();
    void okHidesThePanelAndCloseUnloadsTheForm();
    void leavingAModifiedTableAsksToCommitIt();
    void everyHeaderFitsItsColumn();
    void typesASettlementAndATemperatureChange();

private:
    template <class T>
    T* Find(const char* name) const
    {
        return testing::Control<T>(*m_form, name);
    }
    GridWidget* Grid() const { return Find<GridWidget>("MSFlexGrid1"); }
    QComboBox* List() const { return Find<QComboBox>("Combo1"); }
    QLineEdit* TextEditor() const { return Find<QLineEdit>("Text1"); }

    void ChooseTable(int index) { testing::ChooseEntry(*Find<QComboBox>("cmbInput"), index); }
    void ChooseInList(const QString& entry);
    void ClickCell(int row, int col);
    std::pair<int, int> Current() const { return {Grid()->Row(), Grid()->Col()}; }

    std::unique_ptr<StructureModel> m_model;
    std::unique_ptr<RecordingCanvas> m_picture;
    std::unique_ptr<RecordingMessages> m_messages;
    std::unique_ptr<InputParaForm> m_form;
    // "本表已修改，是否提交？" answered in this order, then 放弃.
    std::vector<UncommittedAnswer> m_answers;
    int m_questions = 0;
};

void InputParaFormQtTest::init()
{
    m_model = std::make_unique<StructureModel>();
    m_picture = std::make_unique<RecordingCanvas>(200.0, 150.0);
    m_messages = std::make_unique<RecordingMessages>();
    m_form = std::make_unique<InputParaForm>(*m_model, *m_picture, *m_messages);
    m_answers.clear();
    m_questions = 0;
    m_form->SetUncommittedQuestion([this] {
        ++m_questions;
        if (m_answers.empty())
            return UncommittedAnswer::Drop;
        const UncommittedAnswer answer = m_answers.front();
        m_answers.erase(m_answers.begin());
        return answer;
    });
    m_form->show();
    QApplication::setActiveWindow(m_form.get());
    QVERIFY(QTest::qWaitForWindowActive(m_form.get()));
}

void InputParaFormQtTest::cleanup()
{
    m_form.reset();
    m_messages.reset();
    m_picture.reset();
    m_model.reset();
}

// The list editor has the focus while it is open and gives it back to the grid.
void InputParaFormQtTest::ChooseInList(const QString& entry)
{
    QCOMPARE(QApplication::focusWidget(), List());
    testing::ChooseInListEditor(*List(), entry);
    QCOMPARE(QApplication::focusWidget(), Grid());
}

void InputParaFormQtTest::ClickCell(int row, int col)
{
    GridWidget* grid = Grid();
    const QRect cell = grid->visualRect(grid->model()->index(row - 1, col));
    QTest::mouseClick(grid->viewport(), Qt::LeftButton, {}, cell.center());
}

void InputParaFormQtTest::startsWithOnlyTheTableChoice()
{
    QCOMPARE(m_form->objectName(), QStringLiteral("frmInputPara"));
    QCOMPARE(m_form->windowTitle(), U("输入分析体系模型信息"));
    QCOMPARE(Find<QLabel>("Label1")->text(), U("输入内容："));
    QComboBox* choice = Find<QComboBox>("cmbInput");
    QVERIFY(!choice->isEditable());
    QCOMPARE(choice->count(), 6);
    const char* entries[] = {"结点", "单元", "支座", "荷载", "支座位移", "温度改变"};
    for (int i = 0; i < 6; ++i)
        QCOMPARE(choice->itemText(i), U(entries[i]));
    QVERIFY(!Find<QGroupBox>("Frame1")->isVisible());
    QCOMPARE(Find<QPushButton>("cmdApply")->text(), U("交互检查"));
    QCOMPARE(Find<QPushButton>("cmdCancel")->text(), U("撤消"));
    QCOMPARE(Find<QPushButton>("cmdOK")->text(), U("确定"));
    QCOMPARE(Find<QPushButton>("cmdClose")->text(), U("关闭窗口"));
    QVERIFY(Find<QPushButton>("cmdClose")->isVisible());
    QCOMPARE(Grid()->Rows(), 101);
    QCOMPARE(Grid()->FixedCols(), 0);
    QCOMPARE(Grid()->BackColorBkg(), QColor(255, 255, 192));
    QVERIFY(List()->isEditable());
}

void InputParaFormQtTest::typesAndCommitsTheNodeTableFromTheKeyboard()
{
    ChooseTable(0);
    QVERIFY(Find<QGroupBox>("Frame1")->isVisible());
    QCOMPARE(Find<QGroupBox>("Frame1")->title(), U("结点数据："));
    QCOMPARE(m_form->windowTitle(), U("输入计算结点特征："));
    QCOMPARE(QApplication::focusWidget(), Grid());

    Type(QStringLiteral("1"));
    QVERIFY(TextEditor()->isVisible());
    QCOMPARE(TextEditor()->text(), QStringLiteral("1"));
    QCOMPARE(QApplication::focusWidget(), TextEditor());
    // The editor floats over the current cell.
    const QRect cell = Grid()->CurrentCellRect().translated(Grid()->pos());
    QCOMPARE(TextEditor()->geometry().topLeft(), cell.topLeft());
    QCOMPARE(TextEditor()->width(), cell.width());

    Type(QStringLiteral(" 0 0 "));
    QCOMPARE(Current(), std::make_pair(1, 3));
    Type(QStringLiteral(" "));
    QCOMPARE(List()->count(), 3);
    ChooseInList(U("刚接"));
    QCOMPARE(Current(), std::make_pair(2, 0));
    Type(QStringLiteral("2 4 0 "));
    Press(Qt::Key_Return);
    ChooseInList(U("铰接"));
    Type(QStringLiteral("3 4 3 "));
    Type(QStringLiteral(" "));
    ChooseInList(U("刚接"));

    // Enter on a filled cell edits what it holds.
    ClickCell(3, 2);
    Press(Qt::Key_Return);
    QCOMPARE(TextEditor()->text(), QStringLiteral("3"));
    Press(Qt::Key_Escape);

    QTest::mouseClick(Find<QPushButton>("cmdApply"), Qt::LeftButton);
    QVERIFY(m_messages->shown.empty());
    QCOMPARE(m_model->NodeCount(), 3);
    QCOMPARE(m_model->Nodes.at(1), (Node{1, "刚接", 0.0f, 0.0f}));
    QCOMPARE(m_model->Nodes.at(2), (Node{2, "铰接", 4.0f, 0.0f}));
    QCOMPARE(m_model->Nodes.at(3), (Node{3, "刚接", 4.0f, 3.0f}));
    QCOMPARE(m_model->DrawScale, 30.0);
    QCOMPARE(m_model->DrawOriginX, 40.0);
    QCOMPARE(m_model->DrawOriginY, 120.0);
    QVERIFY(!m_picture->ops.empty());
    QCOMPARE(m_picture->ops.front().kind, CanvasOp::Kind::Cls);
    const auto prints = m_picture->Prints();
    QCOMPARE(prints.size(), std::size_t{3});
    QCOMPARE(prints[2].x1, 40.0 + 4 * 30.0);
    QCOMPARE(prints[2].y1, 120.0 - 3 * 30.0);
}

void InputParaFormQtTest::typesTheLoadTableThroughTheListsAndSkips()
{
    m_model->Nodes.Append({1, "刚接", 0.0f, 0.0f});
    m_model->Nodes.Append({2, "铰接", 4.0f, 0.0f});
    m_model->Nodes.Append({3, "刚接", 4.0f, 3.0f});
    m_model->Elements.Append({1, 1.0f, 1, 2, 4.0f, 0.0f, 1.0f});
    m_model->Elements.Append({2, 1.0f, 2, 3, 3.0f, 1.0f, 0.0f});
    FitModelToPicture(*m_model, *m_picture);
    ChooseTable(3);
    QCOMPARE(Grid()->Cols(), 8);

    Type(QStringLiteral(" "));
    QCOMPARE(List()->count(), 4);
    ChooseInList(U("均布荷载"));
    QCOMPARE(Current(), std::make_pair(1, 2));  // a distributed load names no node
    Type(QStringLiteral("1 "));
    Press(Qt::Key_Return);
    QCOMPARE(List()->itemText(0), U("向上"));
    ChooseInList(U("向下"));
    Type(QStringLiteral("10"));
    Press(Qt::Key_Return);
    QCOMPARE(Current(), std::make_pair(1, 5));  // on through a, b and the intensity at b, left blank
    for (int blank = 0; blank < 3; ++blank) {
        Press(Qt::Key_Return);
        Press(Qt::Key_Return);
    }
    QCOMPARE(Current(), std::make_pair(2, 0));

    Type(QStringLiteral(" "));
    ChooseInList(U("集中荷载"));
    Type(QStringLiteral("3 "));
    QCOMPARE(Current(), std::make_pair(2, 3));  // nor a concentrated force an element
    Type(QStringLiteral(" "));
    ChooseInList(U("向右"));
    Type(QStringLiteral("5 "));

    Type(QStringLiteral(" "));
    ChooseInList(U("力偶"));
    Type(QStringLiteral("2 "));
    QCOMPARE(Current(), std::make_pair(3, 2));  // a couple at a hinge names its element
    Type(QStringLiteral("1 "));
    Type(QStringLiteral(" "));
    QCOMPARE(List()->count(), 4);
    QCOMPARE(List()->itemText(1), U("逆时针"));
    QCOMPARE(List()->itemText(2), QString());
    ChooseInList(U("顺时针"));
    Type(QStringLiteral("2 "));

    const std::size_t opsBefore = m_picture->ops.size();
    QTest::mouseClick(Find<QPushButton>("cmdApply"), Qt::LeftButton);
    QVERIFY(m_messages->shown.empty());
    QCOMPARE(m_model->LoadCount(), 3);
    QCOMPARE(m_model->Loads.at(1), (Load{"均布荷载", -10.0f, "向下", 0, 1}));
    QCOMPARE(m_model->Loads.at(2), (Load{"集中荷载", 5.0f, "向右", 3, 0}));
    QCOMPARE(m_model->Loads.at(3), (Load{"力偶", -2.0f, "顺时针", 2, 1}));

    RecordingCanvas expected(200.0, 150.0);
    DrawConcentratedLoads(*m_model, expected);
    DrawDistributedLoads(*m_model, expected);
    DrawCouples(*m_model, expected);
    QVERIFY(!expected.ops.empty());
    const std::vector<CanvasOp> drawn(m_picture->ops.begin() + static_cast<std::ptrdiff_t>(opsBefore),
                                      m_picture->ops.end());
    QVERIFY(Strokes(drawn) == Strokes(expected.ops));
}

// A force at a = 2 on member 1, its node left blank; a triangle on member 1
// from 0 at end i to 6 at end j, a and b left blank.
void InputParaFormQtTest::typesALoadOnAMemberAndATriangle()
{
    m_model->Nodes.Append({1, "刚接", 0.0f, 0.0f});
    m_model->Nodes.Append({2, "刚接", 4.0f, 0.0f});
    m_model->Elements.Append({1, 1.0f, 1, 2, 4.0f, 0.0f, 1.0f});
    FitModelToPicture(*m_model, *m_picture);
    ChooseTable(3);

    Type(QStringLiteral(" "));
    ChooseInList(U("集中荷载"));
    Press(Qt::Key_Return);
    Press(Qt::Key_Return);
    QCOMPARE(Current(), std::make_pair(1, 2));  // without a node it names its member
    Type(QStringLiteral("1 "));
    Type(QStringLiteral(" "));
    ChooseInList(U("向下"));
    Type(QStringLiteral("10 "));
    QCOMPARE(Current(), std::make_pair(1, 5));
    Type(QStringLiteral("2 "));
    QCOMPARE(Current(), std::make_pair(2, 0));  // a force has no b nor an intensity at b

    Type(QStringLiteral(" "));
    ChooseInList(U("均布荷载"));
    Type(QStringLiteral("1 "));
    Type(QStringLiteral(" "));
    ChooseInList(U("向下"));
    Type(QStringLiteral("0 "));
    for (int blank = 0; blank < 2; ++blank) {
        Press(Qt::Key_Return);
        Press(Qt::Key_Return);
    }
    QCOMPARE(Current(), std::make_pair(2, 7));
    // The last columns lie past the grid's width: the grid scrolls to them.
    QVERIFY(Grid()->viewport()->rect().contains(Grid()->visualRect(Grid()->currentIndex())));
    Type(QStringLiteral("6 "));

    QTest::mouseClick(Find<QPushButton>("cmdApply"), Qt::LeftButton);
    QVERIFY(m_messages->shown.empty());
    QCOMPARE(m_model->LoadCount(), 2);
    QCOMPARE(m_model->Loads.at(1), (Load{"集中荷载", -10.0f, "向下", 0, 1, 2.0f, std::nullopt, std::nullopt}));
    QCOMPARE(m_model->Loads.at(2), (Load{"均布荷载", 0.0f, "向下", 0, 1, std::nullopt, std::nullopt, -6.0f}));
}

void InputParaFormQtTest::switchingTablesDropsTheStaleColumns()
{
    ChooseTable(3);
    Type(QStringLiteral(" "));
    ChooseInList(U("集中荷载"));
    Type(QStringLiteral("3 "));
    Type(QStringLiteral(" "));
    ChooseInList(U("向下"));
    Type(QStringLiteral("7 "));
    QCOMPARE(Grid()->Text(1, 4), std::string("7"));

    ChooseTable(2);
    QCOMPARE(m_model->InputTableKind, std::int16_t{2});
    QCOMPARE(m_form->windowTitle(), U("输入支座几何特征："));
    QCOMPARE(Grid()->Cols(), 3);
    QCOMPARE(Grid()->Text(0, 1), std::string("支座类型"));
    QCOMPARE(Current(), std::make_pair(1, 0));
    for (int c = 0; c < 3; ++c) {
        QCOMPARE(Grid()->Text(1, c), std::string());
        QCOMPARE(Grid()->ColWidth(c), 830);
        QVERIFY(Grid()->columnWidth(c) >= TwipsToPixelsX(830, *Grid()));
    }
    ChooseTable(1);
    QCOMPARE(Grid()->Cols(), 4);
    QCOMPARE(Grid()->Text(0, 3), std::string("j端结点码"));
    QCOMPARE(Grid()->Text(1, 3), std::string());
    QCOMPARE(Grid()->ColWidth(2), 1000);
}

void InputParaFormQtTest::escapeInTheListLeavesTheCellAndAClickKeepsTyping()
{
    ChooseTable(2);
    Type(QStringLiteral("1 "));
    Type(QStringLiteral(" "));
    ChooseInList(U("铰支座"));
    QCOMPARE(Current(), std::make_pair(1, 2));
    Press(Qt::Key_Left);
    QCOMPARE(Current(), std::make_pair(1, 1));
    Type(QStringLiteral(" "));
    Press(Qt::Key_Escape);
    QVERIFY(!List()->isVisible());
    QCOMPARE(QApplication::focusWidget(), Grid());
    QCOMPARE(Grid()->Text(1, 1), std::string("铰支座"));

    // Text typed into the list is written as it stands, without moving on.
    Press(Qt::Key_Right);
    Type(QStringLiteral(" xy"));
    Press(Qt::Key_Return);
    QCOMPARE(Grid()->Text(1, 2), std::string("xy"));
    QCOMPARE(Current(), std::make_pair(1, 2));

    ClickCell(2, 0);
    Type(QStringLiteral("3"));
    QVERIFY(TextEditor()->isVisible());
    ClickCell(4, 1);  // no Space or Enter: the click still keeps the 3
    QVERIFY(!TextEditor()->isVisible());
    QCOMPARE(Grid()->Text(2, 0), std::string("3"));
    QCOMPARE(Current(), std::make_pair(4, 1));
}

void InputParaFormQtTest::undoRedrawsTheLayersBelowTheShowingTable()
{
    ChooseTable(0);
    Type(QStringLiteral("1 0 0 "));
    Type(QStringLiteral(" "));
    ChooseInList(U("铰接"));
    Type(QStringLiteral("2 3 4 "));
    Type(QStringLiteral(" "));
    ChooseInList(U("刚接"));
    QTest::mouseClick(Find<QPushButton>("cmdApply"), Qt::LeftButton);
    ChooseTable(1);
    Type(QStringLiteral("1 1 2 "));  // a determinate structure skips EI
    QCOMPARE(Grid()->Text(1, 1), std::string());
    QCOMPARE(Grid()->Text(1, 3), std::string("2"));
    QTest::mouseClick(Find<QPushButton>("cmdApply"), Qt::LeftButton);
    QVERIFY(m_messages->shown.empty());
    QCOMPARE(m_model->ElementCount(), 1);
    QCOMPARE(m_model->Elements.at(1).Length, 5.0f);

    const StructureModel committed = *m_model;
    m_picture->ops.clear();
    QTest::mouseClick(Find<QPushButton>("cmdCancel"), Qt::LeftButton);
    QVERIFY(*m_model == committed);
    RecordingCanvas expected(200.0, 150.0);
    expected.Cls();
    DrawNodeNumbers(*m_model, expected);
    QVERIFY(Strokes(m_picture->ops) == Strokes(expected.ops));
    QVERIFY(m_picture->Lines().empty());
}

void InputParaFormQtTest::aRefusedTableKeepsTheModelAndWhatWasTyped()
{
    m_model->Nodes.Append({1, "刚接", 0.0f, 0.0f});
    m_model->Nodes.Append({2, "刚接", 4.0f, 0.0f});
    ChooseTable(1);
    Type(QStringLiteral("1 1 7"));  // not confirmed: the commit still reads it
    const StructureModel before = *m_model;
    QTest::mouseClick(Find<QPushButton>("cmdApply"), Qt::LeftButton);
    QCOMPARE(m_messages->shown.size(), std::size_t{1});
    QCOMPARE(QString::fromStdString(m_messages->shown[0].text),
             U("第1行“j端结点码”列：结点号7不存在（现有结点1～2），本表未提交!"));
    QVERIFY(*m_model == before);
    QVERIFY(m_picture->ops.empty());
    QCOMPARE(Grid()->Text(1, 0), std::string("1"));
    QCOMPARE(Grid()->Text(1, 2), std::string("1"));
    QCOMPARE(Grid()->Text(1, 3), std::string("7"));
}

void InputParaFormQtTest::okHidesThePanelAndCloseUnloadsTheForm()
{
    ChooseTable(0);
    Type(QStringLiteral("5 "));
    QTest::mouseClick(Find<QPushButton>("cmdOK"), Qt::LeftButton);
    QVERIFY(!Find<QGroupBox>("Frame1")->isVisible());
    QVERIFY(m_form->isVisible());
    ChooseTable(0);
    QVERIFY(Find<QGroupBox>("Frame1")->isVisible());
    QCOMPARE(Grid()->Text(1, 0), std::string());

    QTest::mouseClick(Find<QPushButton>("cmdClose"), Qt::LeftButton);
    QVERIFY(!m_form->isVisible());
    QCOMPARE(m_form->windowTitle(), U("输入分析体系模型信息"));
    QCOMPARE(Find<QComboBox>("cmbInput")->currentIndex(), -1);
}

// Typed rows are never let go of without the question: staying keeps the
// table and the list's choice, committing goes on once the table is taken.
void InputParaFormQtTest::leavingAModifiedTableAsksToCommitIt()
{
    ChooseTable(0);
    Type(QStringLiteral("1 0 0"));
    m_answers = {UncommittedAnswer::Stay, UncommittedAnswer::Stay, UncommittedAnswer::Commit};
    QTest::mouseClick(Find<QPushButton>("cmdOK"), Qt::LeftButton);
    QVERIFY(Find<QGroupBox>("Frame1")->isVisible());
    ChooseTable(1);
    QCOMPARE(Find<QComboBox>("cmbInput")->currentIndex(), 0);
    QCOMPARE(Grid()->Text(1, 2), std::string("0"));
    QTest::mouseClick(Find<QPushButton>("cmdOK"), Qt::LeftButton);
    QCOMPARE(m_questions, 3);
    QCOMPARE(m_model->NodeCount(), 1);
    QVERIFY(!Find<QGroupBox>("Frame1")->isVisible());

    ChooseTable(1);
    Type(QStringLiteral("1 1 1 1 "));
    QTest::mouseClick(Find<QPushButton>("cmdClose"), Qt::LeftButton);  // 放弃
    QCOMPARE(m_questions, 4);
    QVERIFY(!m_form->isVisible());
    QCOMPARE(m_model->ElementCount(), 0);
}

// A header wider than its column in twips ("支座结点码" in 830 twips) widens
// the column on screen; the width in twips stays as the layout gives it.
void InputParaFormQtTest::everyHeaderFitsItsColumn()
{
    GridWidget* grid = Grid();
    const QFontMetrics metrics = grid->horizontalHeader()->fontMetrics();
    for (int table = 0; table < Find<QComboBox>("cmbInput")->count(); ++table) {
        ChooseTable(table);
        for (int c = 0; c < grid->Cols(); ++c) {
            const QString header = QString::fromStdString(grid->Text(0, c));
            QVERIFY2(grid->columnWidth(c) >= metrics.horizontalAdvance(header), qPrintable(header));
        }
    }
    QCOMPARE(grid->ColWidth(0), 830);

    // A cell's text widens its column too, until the table is laid out again.
    const QString wide = U("与单位力方向相反，只计弯曲变形");
    grid->SetText(1, 0, wide.toStdString());
    QVERIFY(grid->columnWidth(0) >= grid->fontMetrics().horizontalAdvance(wide));
    grid->SetColWidth(0, 830);
    QVERIFY(grid->columnWidth(0) < grid->fontMetrics().horizontalAdvance(wide));
}

// The fifth and sixth tables of the list: one settling support, chosen
// from the list of kinds, and one member heated unequally.
void InputParaFormQtTest::typesASettlementAndATemperatureChange()
{
    m_model->Nodes.Append({1, "刚接", 0.0f, 0.0f});
    m_model->Nodes.Append({2, "铰接", 4.0f, 0.0f});
    m_model->Elements.Append({1, 1.0f, 1, 2, 4.0f, 0.0f, 1.0f});
    FitModelToPicture(*m_model, *m_picture);

    ChooseTable(4);
    QCOMPARE(Find<QGroupBox>("Frame1")->title(), U("支座位移数据："));
    QCOMPARE(Grid()->Cols(), 3);
    Type(QStringLiteral("2 "));
    Type(QStringLiteral(" "));
    QCOMPARE(List()->count(), 4);
    QCOMPARE(List()->itemText(0), U("水平位移"));
    ChooseInList(U("竖向位移"));
    Type(QStringLiteral("-0.01 "));
    QCOMPARE(Current(), std::make_pair(2, 0));
    QTest::mouseClick(Find<QPushButton>("cmdApply"), Qt::LeftButton);
    QVERIFY(m_messages->shown.empty());
    QCOMPARE(m_model->Settlements.Count(), std::int16_t{1});
    QCOMPARE(m_model->Settlements.at(1), (SupportSettlement{2, "竖向位移", -0.01f}));

    ChooseTable(5);
    QCOMPARE(Find<QGroupBox>("Frame1")->title(), U("温度改变数据："));
    QCOMPARE(Grid()->Cols(), 5);
    Type(QStringLiteral("1 -10 20 1e-5 0.5 "));
    QTest::mouseClick(Find<QPushButton>("cmdApply"), Qt::LeftButton);
    QVERIFY(m_messages->shown.empty());
    QCOMPARE(m_model->Temperatures.Count(), std::int16_t{1});
    QCOMPARE(m_model->Temperatures.at(1), (TemperatureChangeRow{1, -10.0f, 20.0f, 1e-5f, 0.5f}));

    // Chosen again, the table shows the row committed.
    ChooseTable(4);
    QCOMPARE(QString::fromStdString(Grid()->Text(1, 1)), U("竖向位移"));
    QCOMPARE(QString::fromStdString(Grid()->Text(1, 2)), QStringLiteral("-0.01"));
}

QTEST_MAIN(InputParaFormQtTest)
#include "InputParaFormQtTest.moc"
