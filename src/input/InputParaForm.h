#pragma once

#include <functional>

#include <QPoint>
#include <QWidget>

#include "drawing/Canvas.h"
#include "input/InputTables.h"
#include "model/Messages.h"
#include "model/StructureModel.h"

class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;

namespace tavrin {

class GridWidget;
class QtCellEditor;

// How the input form finds the main window when a table layout places it:
// the main window's inner size in twips, and the screen point of a position
// given in twips from the inner area's top-left corner. Left empty, the form
// stays where it is.
struct MainWindowFrame {
    std::function<double()> innerWidthTwips;
    std::function<double()> innerHeightTwips;
    std::function<QPoint(TwipsPoint)> screenPoint;
};

// frmInputPara: the student picks one of the four tables in cmbInput, types
// it into MSFlexGrid1 through the floating editors Text1 and Combo1, and
// commits it with "交互检查" into the model and the picture. Modeless, owned
// by its parent window: it stays above it.
class InputParaForm : public QWidget {
    Q_OBJECT

public:
    InputParaForm(StructureModel& model, Canvas& picture, MessageSink& messages, MainWindowFrame mainWindow = {},
                  QWidget* parent = nullptr);
    ~InputParaForm() override;

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    void PlaceControls();
    void SelectTable(int index);
    void CommitTable();
    void HidePanel();
    void ShowForm();
    void PlaceForm();

    StructureModel& m_model;
    Canvas& m_picture;
    MessageSink& m_messages;
    MainWindowFrame m_mainWindow;

    QLabel* Label1;
    QComboBox* cmbInput;
    QGroupBox* Frame1;
    GridWidget* MSFlexGrid1;
    QLineEdit* Text1;
    QComboBox* Combo1;
    QPushButton* cmdApply;
    QPushButton* cmdCancel;
    QPushButton* cmdOK;
    QPushButton* cmdClose;

    QtCellEditor* m_cellEditor;
    InputFormState m_state;
};

}  // namespace tavrin
