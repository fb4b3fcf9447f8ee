#pragma once

#include <functional>

#include <QDialog>

#include "model/Messages.h"
#include "model/StructureModel.h"

class QCheckBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;

namespace tavrin {

// "计算模型类型分析" (objectName "Dialog"): the student states whether the
// structure is statically determinate or, with its degree, indeterminate.
// A fixed dialog without minimise and maximise buttons, shown modeless.
class ModelTypeDialog : public QDialog {
    Q_OBJECT

public:
    ModelTypeDialog(StructureModel& model, MessageSink& messages, QWidget* parent = nullptr);

    // Each opening starts from the determinate choice with the degree panel
    // hidden and empty and the bending stiffness ticked; `place` (when
    // given) moves the dialog beside the picture window before it shows.
    void Open(const std::function<void(QWidget&)>& place = {});

private:
    void ChooseDeterminate();
    void ChooseIndeterminate();
    void Accept();

    StructureModel& m_model;
    MessageSink& m_messages;

    QLabel* Label2;
    QGroupBox* Frame1;
    QRadioButton* Option1;
    QRadioButton* Option2;
    QGroupBox* Frame2;
    QLabel* Label1;
    QLineEdit* Text1;
    QCheckBox* Check1;
    QCheckBox* Check2;
    QCheckBox* Check3;
    QPushButton* OKButton;
};

}  // namespace tavrin
