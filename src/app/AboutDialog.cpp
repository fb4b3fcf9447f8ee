#include "app/AboutDialog.h"

#include <QFrame>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

#include "app/QtProgramIcon.h"
#include "app/ShellTexts.h"
#include "app/SystemInformation.h"
#include "qtforms/QtControls.h"

namespace tavrin {

namespace {

constexpr int kIconSide = 48;

QFrame* SeparatorLine(QWidget* parent, const char* name, QColor color)
{
    auto* line = Named(new QFrame(parent), name);
    line->setFrameShape(QFrame::HLine);
    line->setFrameShadow(QFrame::Plain);
    line->setLineWidth(1);
    line->setFixedHeight(1);
    QPalette palette = line->palette();
    palette.setColor(QPalette::WindowText, color);
    line->setPalette(palette);
    return line;
}

// Unwrapped: the box grows to the longest line, and lines break only where
// the text breaks them, between words.
QLabel* TextLabel(QWidget* parent, const char* name, std::string_view text)
{
    return Named(new QLabel(parent), name, text);
}

}  // namespace

AboutDialog::AboutDialog(MessageSink& messages, QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                          Qt::WindowCloseButtonHint),
      m_messages(messages)
{
    setObjectName(QStringLiteral("frmAbout"));
    setWindowTitle(FromUtf8(kAboutCaption));
    setWindowIcon(ProgramIcon());
    setModal(false);

    picIcon = new QLabel(this);
    picIcon->setObjectName(QStringLiteral("picIcon"));
    picIcon->setPixmap(ProgramIcon().pixmap(kIconSide, kIconSide));
    picIcon->setFixedSize(kIconSide, kIconSide);
    lblDescription = TextLabel(this, "lblDescription", kAboutDescription);
    Line1 = SeparatorLine(this, "Line1", QColor(128, 128, 128));
    Line2 = SeparatorLine(this, "Line2", QColor(255, 255, 255));
    lblDisclaimer = TextLabel(this, "lblDisclaimer", kAboutDisclaimer);
    cmdOK = Named(new QPushButton(this), "cmdOK", kAboutOkCaption);
    cmdOK->setDefault(true);
    cmdSysInfo = Named(new QPushButton(this), "cmdSysInfo", kSysInfoCaption);

    auto* top = new QHBoxLayout;
    top->addWidget(picIcon, 0, Qt::AlignTop);
    top->addSpacing(12);
    top->addWidget(lblDescription, 0, Qt::AlignTop);

    auto* etched = new QVBoxLayout;
    etched->setSpacing(0);
    etched->addWidget(Line1);
    etched->addWidget(Line2);

    auto* bottom = new QGridLayout;
    bottom->addWidget(lblDisclaimer, 0, 0, 2, 1, Qt::AlignTop);
    bottom->addWidget(cmdOK, 0, 1);
    bottom->addWidget(cmdSysInfo, 1, 1);
    bottom->setColumnMinimumWidth(1, 110);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addSpacing(8);
    layout->addLayout(etched);
    layout->addSpacing(8);
    layout->addLayout(bottom);
    layout->setSizeConstraint(QLayout::SetFixedSize);

    connect(cmdOK, &QPushButton::clicked, this, &QDialog::close);
    connect(cmdSysInfo, &QPushButton::clicked, this, [this] { StartSysInfo(m_messages); });
}

}  // namespace tavrin
