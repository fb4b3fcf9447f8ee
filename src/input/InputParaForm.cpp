#include "input/InputParaForm.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QCloseEvent>
#include <QComboBox>
#include <QFocusEvent>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include "input/GridWidget.h"
#include "input/ModelCommit.h"
#include "input/QtTwips.h"

namespace tavrin {

namespace {

QString FromUtf8(std::string_view text) { return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size())); }

// The form as designed, in twips; the panel's controls within the panel.
constexpr TwipsRect kForm{0, 0, 5400, 5580};
constexpr TwipsRect kLabel1{240, 240, 1100, 300};
constexpr TwipsRect kCmbInput{1400, 180, 1600, 360};
constexpr TwipsRect kFrame1{120, 720, 5160, 4140};
constexpr TwipsRect kGrid{120, 300, 4920, 3120};
constexpr TwipsRect kCombo1{0, 0, 1250, 330};
constexpr TwipsRect kCmdApply{360, 3600, 1200, 400};
constexpr TwipsRect kCmdCancel{1980, 3600, 1200, 400};
constexpr TwipsRect kCmdOK{3600, 3600, 1200, 400};
constexpr TwipsRect kCmdClose{3960, 5040, 1320, 400};

// Light yellow around the cells of the input grid.
const QColor kGridArea(255, 255, 192);

template <class Widget>
Widget* Named(Widget* widget, const char* name, std::string_view caption = {})
{
    widget->setObjectName(QString::fromLatin1(name));
    if constexpr (requires { widget->setText(QString()); })
        if (!caption.empty())
            widget->setText(FromUtf8(caption));
    return widget;
}

// The key code the editors know for a key, or -1.
int EditorKeyCode(const QKeyEvent& key)
{
    switch (key.key()) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
        return kKeyEnter;
    case Qt::Key_Space:
        return kKeySpace;
    case Qt::Key_Escape:
        return kKeyEscape;
    default:
        return -1;
    }
}

}  // namespace

InputParaForm::InputParaForm(StructureModel& model, Canvas& picture, MessageSink& messages,
                             MainWindowFrame mainWindow, QWidget* parent)
    : QWidget(parent, Qt::Window),
      m_model(model),
      m_picture(picture),
      m_messages(messages),
      m_mainWindow(std::move(mainWindow)),
      Label1(Named(new QLabel(this), "Label1", kInputChoiceLabel)),
      cmbInput(Named(new QComboBox(this), "cmbInput")),
      Frame1(Named(new QGroupBox(this), "Frame1")),
      MSFlexGrid1(Named(new GridWidget(Frame1), "MSFlexGrid1")),
      Text1(Named(new QLineEdit(Frame1), "Text1")),
      Combo1(Named(new QComboBox(Frame1), "Combo1")),
      cmdApply(Named(new QPushButton(Frame1), "cmdApply", "交互检查")),
      cmdCancel(Named(new QPushButton(Frame1), "cmdCancel", "撤消")),
      cmdOK(Named(new QPushButton(Frame1), "cmdOK", "确定")),
      cmdClose(Named(new QPushButton(this), "cmdClose", "关闭窗口")),
      m_editor(*MSFlexGrid1, model, kInputFormEditorRules)
{
    setObjectName(QStringLiteral("frmInputPara"));
    setWindowTitle(FromUtf8(kInputFormDesignCaption));
    for (std::string_view choice : kInputTableChoices)
        cmbInput->addItem(FromUtf8(choice));
    cmbInput->setCurrentIndex(-1);
    MSFlexGrid1->SetRows(kInputGridRows);
    MSFlexGrid1->SetFixedCols(0);
    MSFlexGrid1->SetBackColorBkg(kGridArea);
    Combo1->setEditable(true);
    Combo1->setInsertPolicy(QComboBox::NoInsert);
    Text1->hide();
    Combo1->hide();
    Frame1->hide();
    PlaceControls();

    connect(cmbInput, &QComboBox::activated, this, &InputParaForm::SelectTable);
    connect(cmdApply, &QPushButton::clicked, this, &InputParaForm::CommitTable);
    connect(cmdCancel, &QPushButton::clicked, this, [this] { UndoTableDrawing(m_model, m_picture); });
    connect(cmdOK, &QPushButton::clicked, this, &InputParaForm::HidePanel);
    connect(cmdClose, &QPushButton::clicked, this, &QWidget::close);
    ConnectGrid();
    ConnectEditors();
}

InputParaForm::~InputParaForm() = default;

void InputParaForm::PlaceControls()
{
    setFixedSize(ToPixels(kForm, *this).size());
    Label1->setGeometry(ToPixels(kLabel1, *this));
    cmbInput->setGeometry(ToPixels(kCmbInput, *this));
    Frame1->setGeometry(ToPixels(kFrame1, *this));
    MSFlexGrid1->setGeometry(ToPixels(kGrid, *this));
    Combo1->setGeometry(ToPixels(kCombo1, *this));
    cmdApply->setGeometry(ToPixels(kCmdApply, *this));
    cmdCancel->setGeometry(ToPixels(kCmdCancel, *this));
    cmdOK->setGeometry(ToPixels(kCmdOK, *this));
    cmdClose->setGeometry(ToPixels(kCmdClose, *this));
}

void InputParaForm::ConnectGrid()
{
    GridWidget* grid = MSFlexGrid1;
    connect(grid, &GridWidget::gridKeyPress, this, [this](int key, const QString& text) {
        ShowEditors(m_editor.GridKeyPress(key, text.toStdString()));
    });
    connect(grid, &GridWidget::gridClick, this, [this] { ShowEditors(m_editor.GridClick()); });
    connect(grid, &GridWidget::gridDoubleClick, this, [this] { ShowEditors(m_editor.GridDoubleClick()); });
    connect(grid, &GridWidget::gridMouseDown, this, [this] {
        m_editor.GridMouseDown();
        ShowEditors({});
    });
    connect(grid, &GridWidget::leftCell, this, [this](int row, int col) {
        m_editor.LeaveCell(row, col);
        ShowEditors({});
    });
    connect(grid, &GridWidget::enteredCell, this, [this] {
        m_editor.EnterCell();
        ShowEditors({});
    });
}

void InputParaForm::ConnectEditors()
{
    connect(Text1, &QLineEdit::textEdited, this, [this](const QString& text) { m_editor.SetText(text.toStdString()); });
    connect(Combo1->lineEdit(), &QLineEdit::textEdited, this,
            [this](const QString& text) { m_editor.SetListText(text.toStdString()); });
    connect(Combo1, &QComboBox::activated, this,
            [this](int index) { ShowEditors(m_editor.ListChoice(Combo1->itemText(index).toStdString())); });
    Text1->installEventFilter(this);
    Combo1->installEventFilter(this);
}

bool InputParaForm::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == Text1 && event->type() == QEvent::KeyPress)
        return TextEditorKey(static_cast<const QKeyEvent&>(*event));
    if (watched == Combo1 && event->type() == QEvent::KeyPress)
        return ListEditorKey(static_cast<const QKeyEvent&>(*event));
    if (watched == Combo1 && event->type() == QEvent::FocusOut)
        ListEditorFocusOut(static_cast<const QFocusEvent&>(*event));
    return QWidget::eventFilter(watched, event);
}

// Space cannot be typed into a cell: it commits like Enter.
bool InputParaForm::TextEditorKey(const QKeyEvent& key)
{
    const int code = EditorKeyCode(key);
    if (code != kKeyEnter && code != kKeySpace)
        return false;
    const EditorActions actions = m_editor.TextKeyPress(code);
    ShowEditors(actions);
    return actions.consumeKey;
}

bool InputParaForm::ListEditorKey(const QKeyEvent& key)
{
    const int code = EditorKeyCode(key);
    if (code < 0)
        return false;
    const EditorActions actions = m_editor.ListKeyPress(code);
    ShowEditors(actions);
    return actions.consumeKey;
}

// Opening the list's own drop-down is no loss of focus.
void InputParaForm::ListEditorFocusOut(const QFocusEvent& focus)
{
    if (focus.reason() == Qt::PopupFocusReason)
        return;
    const QWidget* now = QApplication::focusWidget();
    if (now && now->window() == Combo1->view()->window())
        return;
    ShowEditors(m_editor.ListFocusLost());
}

void InputParaForm::SelectTable(int index)
{
    m_editor.Reset();
    const bool chosen = SelectInputTable(index, m_model, *MSFlexGrid1, m_state);
    ShowForm();
    ShowEditors({});
    if (!chosen)
        return;
    PlaceForm();
    MSFlexGrid1->setFocus();
}

// What the student typed but has not yet confirmed is part of the table.
void InputParaForm::CommitTable()
{
    m_editor.FlushTextEditor();
    CommitInputTable(m_model, *MSFlexGrid1, m_picture, m_messages);
}

void InputParaForm::HidePanel()
{
    m_state.panelVisible = false;
    ShowForm();
}

void InputParaForm::ShowForm()
{
    setWindowTitle(FromUtf8(m_state.formCaption));
    Frame1->setTitle(FromUtf8(m_state.panelCaption));
    Frame1->setVisible(m_state.panelVisible);
    if (m_state.formShown && !isVisible())
        show();
}

void InputParaForm::ShowEditors(const EditorActions& actions)
{
    const CellEditorState& state = m_editor.State();
    const QString text = QString::fromStdString(state.text);
    if (Text1->text() != text)
        Text1->setText(text);
    QStringList entries;
    for (const std::string& entry : state.listEntries)
        entries << QString::fromStdString(entry);
    QStringList shown;
    for (int i = 0; i < Combo1->count(); ++i)
        shown << Combo1->itemText(i);
    if (shown != entries) {
        Combo1->clear();
        Combo1->addItems(entries);
    }
    const QString listText = QString::fromStdString(state.listText);
    if (Combo1->currentText() != listText) {
        Combo1->setCurrentIndex(-1);
        Combo1->setEditText(listText);
    }
    Text1->setVisible(state.textVisible);
    Combo1->setVisible(state.listVisible);
    if (actions.placeTextEditor)
        PlaceTextEditor();
    if (actions.placeListEditor)
        PlaceListEditor();
    if (actions.focusGrid)
        MSFlexGrid1->setFocus();
}

// Over the current cell, a little lower than the row so the grid line stays.
void InputParaForm::PlaceTextEditor()
{
    const QRect cell = MSFlexGrid1->CurrentCellRect();
    Text1->setGeometry(MSFlexGrid1->x() + cell.x(), MSFlexGrid1->y() + cell.y(), cell.width(), cell.height() - 2);
    Text1->raise();
    Text1->setFocus();
}

void InputParaForm::PlaceListEditor()
{
    const QRect cell = MSFlexGrid1->CurrentCellRect();
    Combo1->move(MSFlexGrid1->x() + cell.x(), MSFlexGrid1->y() + cell.y());
    Combo1->raise();
    Combo1->setFocus();
}

void InputParaForm::PlaceForm()
{
    if (!m_mainWindow.innerWidthTwips || !m_mainWindow.innerHeightTwips || !m_mainWindow.screenPoint)
        return;
    move(m_mainWindow.screenPoint(
        InputFormPosition(m_mainWindow.innerWidthTwips(), m_mainWindow.innerHeightTwips())));
}

// Closing unloads the form: next time it opens as designed, with no table.
void InputParaForm::closeEvent(QCloseEvent* event)
{
    m_editor.Reset();
    ClearGrid(*MSFlexGrid1);
    cmbInput->setCurrentIndex(-1);
    m_state = {};
    ShowForm();
    ShowEditors({});
    event->accept();
}

}  // namespace tavrin
