#include "analysis/ModelTypeDialog.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

#include "analysis/ModelType.h"
#include "qtforms/QtControls.h"

namespace tavrin {

ModelTypeDialog::ModelTypeDialog(StructureModel& model, MessageSink& messages, QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                          Qt::WindowCloseButtonHint),
      m_model(model),
      m_messages(messages),
      Label2(Named(new QLabel(this), "Label2", "确定结构的分析模型类型：")),
      Frame1(Named(new QGroupBox(this), "Frame1", "静定/超静定")),
      Option1(Named(new QRadioButton(Frame1), "Option1", "静定结构")),
      Option2(Named(new QRadioButton(Frame1), "Option2", "超静定结构")),
      Frame2(Named(new QGroupBox(this), "Frame2", "输入超静定计算信息：")),
      Label1(Named(new QLabel(Frame2), "Label1", "超静定次数：")),
      Text1(Named(new QLineEdit(Frame2), "Text1")),
      Check1(Named(new QCheckBox(Frame2), "Check1", "位移计算考虑抗弯刚度EI")),
      Check2(Named(new QCheckBox(Frame2), "Check2", "位移计算考虑抗剪刚度GA")),
      Check3(Named(new QCheckBox(Frame2), "Check3", "位移计算考虑抗拉刚度EA")),
      OKButton(Named(new QPushButton(this), "OKButton", "确定"))
{
    setObjectName(QStringLiteral("Dialog"));
    setWindowTitle(FromUtf8("计算模型类型分析"));
    setModal(false);

    // Displacements always come from bending alone; the shear and axial
    // options are shown for the student's information only.
    Check1->setChecked(true);
    Check2->setEnabled(false);
    Check3->setEnabled(false);

    auto* options = new QHBoxLayout(Frame1);
    options->addWidget(Option1);
    options->addWidget(Option2);

    auto* degree = new QGridLayout(Frame2);
    degree->addWidget(Label1, 0, 0);
    degree->addWidget(Text1, 0, 1);
    degree->addWidget(Check1, 1, 0, 1, 2);
    degree->addWidget(Check2, 2, 0, 1, 2);
    degree->addWidget(Check3, 3, 0, 1, 2);

    auto* form = new QVBoxLayout(this);
    form->addWidget(Label2);
    form->addWidget(Frame1);
    form->addWidget(Frame2);
    form->addStretch();
    form->addWidget(OKButton, 0, Qt::AlignRight);
    form->setSizeConstraint(QLayout::SetFixedSize);
    OKButton->setDefault(true);

    connect(Option1, &QRadioButton::clicked, this, &ModelTypeDialog::ChooseDeterminate);
    connect(Option2, &QRadioButton::clicked, this, &ModelTypeDialog::ChooseIndeterminate);
    connect(OKButton, &QPushButton::clicked, this, &ModelTypeDialog::Accept);

    Option1->setChecked(true);
    Frame2->hide();
}

void ModelTypeDialog::Open(const std::function<void(QWidget&)>& place)
{
    Text1->clear();
    Check1->setChecked(true);
    Option1->setChecked(true);
    Frame2->hide();
    if (place)
        place(*this);
    show();
    raise();
    activateWindow();
}

void ModelTypeDialog::ChooseDeterminate()
{
    Frame2->hide();
}

void ModelTypeDialog::ChooseIndeterminate()
{
    Frame2->show();
    Text1->setFocus();
}

// A refused degree keeps the dialog open with what the student typed.
void ModelTypeDialog::Accept()
{
    if (AcceptModelType(m_model, {Option2->isChecked(), Text1->text().toStdString()}, m_messages))
        accept();
}

}  // namespace tavrin
