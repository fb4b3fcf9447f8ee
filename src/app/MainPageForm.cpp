#include "app/MainPageForm.h"

#include <QFont>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

#include "app/QtProgramIcon.h"
#include "app/ShellTexts.h"
#include "qtforms/QtControls.h"

namespace tavrin {

namespace {

QLabel* MakeLabel(QWidget* parent, const char* name, std::string_view text, int pointSize, bool bold)
{
    auto* label = Named(new QLabel(parent), name, text);
    label->setAlignment(Qt::AlignCenter);
    QFont font = label->font();
    font.setPointSize(pointSize);
    font.setBold(bold);
    label->setFont(font);
    return label;
}

}  // namespace

MainPageForm::MainPageForm(QWidget* parent) : QWidget(parent)
{
    setObjectName(QStringLiteral("frmMainPage"));
    setWindowTitle(FromUtf8(kMainPageCaption));
    setWindowIcon(ProgramIcon());

    Label1 = MakeLabel(this, "Label1", kWelcomeText, 16, false);
    Label2 = MakeLabel(this, "Label2", kProgramTitle, 36, true);
    Label3 = MakeLabel(this, "Label3", kCreditAuthors, 11, false);
    Label4 = MakeLabel(this, "Label4", kCreditPurpose, 11, false);
    Command1 = Named(new QPushButton(this), "Command1", kEnterCaption);
    Command1->setDefault(true);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(40, 30, 40, 30);
    layout->setSpacing(14);
    layout->addWidget(Label1);
    layout->addWidget(Label2);
    layout->addSpacing(10);
    layout->addWidget(Label3);
    layout->addWidget(Label4);
    layout->addSpacing(10);
    layout->addWidget(Command1, 0, Qt::AlignCenter);

    connect(Command1, &QPushButton::clicked, this, &MainPageForm::entered);
}

}  // namespace tavrin
