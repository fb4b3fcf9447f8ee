#include "app/QtApplicationShell.h"

#include <QFileDialog>

#include "app/AboutDialog.h"
#include "app/MainPageForm.h"
#include "app/MainWindow.h"
#include "app/QtText.h"
#include "app/ShellTexts.h"
#include "diagrams/InternalForceDiagrams.h"
#include "drawing/PicWindow.h"

namespace tavrin {

ApplicationShell::ApplicationShell(MessageSink& messages)
    : m_messages(messages),
      m_mainPage(new MainPageForm),
      m_mainWindow(new MainWindow),
      m_diagramHost([this](const QString& caption) { m_mainWindow->ShowPicture(caption); }, m_mainWindow)
{
    connect(m_mainPage, &MainPageForm::entered, this, &ApplicationShell::Enter);
    connect(m_mainWindow, &MainWindow::commandTriggered, this, &ApplicationShell::Run);
    connect(m_mainWindow, &MainWindow::closedByFrame, this, &ApplicationShell::endRequested);
}

ApplicationShell::~ApplicationShell()
{
    delete m_mainWindow;
    delete m_mainPage;
}

void ApplicationShell::Start() { m_mainPage->show(); }

void ApplicationShell::Enter()
{
    m_mainPage->hide();
    m_mainWindow->ShowPicture(Utf8(kBasicSystemPictureCaption));
}

void ApplicationShell::Run(ShellCommand command)
{
    Canvas& canvas = m_mainWindow->picWindow().canvas();
    switch (command) {
    case ShellCommand::Separator:
        break;
    case ShellCommand::Open:
    case ShellCommand::Save:
        ShowFileDialog(command);
        break;
    case ShellCommand::Exit:
        emit endRequested();
        break;
    case ShellCommand::ModelType:
    case ShellCommand::InputFigure:
    case ShellCommand::AnalyseModelType:
        break;
    case ShellCommand::MomentDiagram:
        DrawMomentDiagram(m_model, canvas, m_diagramHost);
        break;
    case ShellCommand::AxialDiagram:
        DrawAxialDiagram(m_model, canvas, m_diagramHost);
        break;
    case ShellCommand::ShearDiagram:
        DrawShearDiagram(m_model, canvas, m_diagramHost);
        break;
    case ShellCommand::HelpTopics:
        m_messages.Show(kHelpTopicsNotice, kHelpNoticeTitle);
        break;
    case ShellCommand::WebBrowser:
        m_messages.Show(kWebBrowserNotice, kHelpNoticeTitle);
        break;
    case ShellCommand::About:
        ShowAbout();
        break;
    }
}

// The dialogs only let the student look: the program keeps no files, so the
// chosen name is never used.
void ApplicationShell::ShowFileDialog(ShellCommand command)
{
    const bool open = command == ShellCommand::Open;
    QFileDialog*& dialog = open ? m_openDialog : m_saveDialog;
    if (dialog == nullptr) {
        dialog = new QFileDialog(m_mainWindow, Utf8(open ? kOpenDialogCaption : kSaveDialogCaption));
        dialog->setObjectName(open ? QStringLiteral("CommonDialog1Open") : QStringLiteral("CommonDialog1Save"));
        dialog->setOption(QFileDialog::DontUseNativeDialog);
        dialog->setAcceptMode(open ? QFileDialog::AcceptOpen : QFileDialog::AcceptSave);
        dialog->setFileMode(open ? QFileDialog::ExistingFile : QFileDialog::AnyFile);
    }
    dialog->open();
}

void ApplicationShell::ShowAbout()
{
    if (m_about == nullptr)
        m_about = new AboutDialog(m_messages, m_mainWindow);
    m_about->show();
    m_about->raise();
    m_about->activateWindow();
}

}  // namespace tavrin
