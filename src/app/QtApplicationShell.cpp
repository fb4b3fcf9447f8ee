#include "app/QtApplicationShell.h"

#include <QApplication>
#include <QFileDialog>
#include <QLibraryInfo>
#include <QScreen>

#include "analysis/ModelTypeDialog.h"
#include "app/AboutDialog.h"
#include "app/MainPageForm.h"
#include "app/MainWindow.h"
#include "app/QtProgramIcon.h"
#include "app/ShellPlacement.h"
#include "app/ShellTexts.h"
#include "diagrams/InternalForceDiagrams.h"
#include "drawing/DrawingPasses.h"
#include "drawing/PicWindow.h"
#include "forcemethod/CaseDiagrams.h"
#include "forcemethod/ForceMethodTexts.h"
#include "forcemethod/OutputForm.h"
#include "input/InputParaForm.h"
#include "qtforms/QtControls.h"
#include "qtforms/QtMessages.h"

namespace tavrin {

QtApplicationShell::QtApplicationShell() : QtApplicationShell(nullptr) {}

QtApplicationShell::QtApplicationShell(MessageSink& messages) : QtApplicationShell(&messages) {}

QtApplicationShell::QtApplicationShell(MessageSink* messages)
    : m_mainPage(new MainPageForm),
      m_mainWindow(new MainWindow),
      m_boxes(messages ? nullptr : std::make_unique<QtMessages>(m_mainWindow)),
      m_messages(messages ? *messages : *m_boxes),
      m_diagramHost([this](const QString& caption) { m_mainWindow->ShowPicture(caption); }, m_mainWindow)
{
    if (m_qtTexts.load(QStringLiteral("qtbase_zh_CN"), QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        QCoreApplication::installTranslator(&m_qtTexts);
    QApplication::setWindowIcon(ProgramIcon());
    connect(m_mainPage, &MainPageForm::entered, this, &QtApplicationShell::Enter);
    connect(m_mainWindow, &MainWindow::commandTriggered, this, &QtApplicationShell::Run);
    connect(m_mainWindow, &MainWindow::closedByFrame, this, &QtApplicationShell::endRequested);
}

QtApplicationShell::~QtApplicationShell()
{
    delete m_mainWindow;
    delete m_mainPage;
}

void QtApplicationShell::Start()
{
    m_mainPage->adjustSize();
    if (const QScreen* screen = m_mainPage->screen())
        m_mainPage->move(screen->availableGeometry().center() - m_mainPage->rect().center());
    m_mainPage->show();
}

void QtApplicationShell::Enter()
{
    m_mainPage->hide();
    m_mainWindow->ShowPicture(FromUtf8(kStructurePictureCaption));
    m_mainWindow->SharePicture(PictureStartSize);
}

void QtApplicationShell::Run(ShellCommand command)
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
            OpenModelDialog();
            break;
        case ShellCommand::InputFigure:
            OpenInputForm();
            break;
        case ShellCommand::AnalyseModelType:
            AnalyseModelType();
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
        case ShellCommand::CaseMomentDiagram:
            DrawChosenCaseDiagram(canvas);
            break;
        case ShellCommand::HelpTopics:
            m_messages.Show(kHelpTopicsNotice);
            break;
        case ShellCommand::WebBrowser:
            m_messages.Show(kWebBrowserNotice);
            break;
        case ShellCommand::About:
            ShowAbout();
            break;
    }
}

// One common dialog serves both commands, as an open or a save dialog. It only
// lets the student look: the program keeps no files, so the chosen name is
// never used.
void QtApplicationShell::ShowFileDialog(ShellCommand command)
{
    if (m_commonDialog == nullptr) {
        m_commonDialog = new QFileDialog(m_mainWindow);
        m_commonDialog->setObjectName(QStringLiteral("CommonDialog1"));
        m_commonDialog->setOption(QFileDialog::DontUseNativeDialog);
    }
    const bool open = command == ShellCommand::Open;
    m_commonDialog->setWindowTitle(FromUtf8(open ? kOpenDialogCaption : kSaveDialogCaption));
    m_commonDialog->setAcceptMode(open ? QFileDialog::AcceptOpen : QFileDialog::AcceptSave);
    m_commonDialog->setFileMode(open ? QFileDialog::ExistingFile : QFileDialog::AnyFile);
    m_commonDialog->open();
}

void QtApplicationShell::MoveBesidePicture(QWidget& form, TwipsPoint position) const
{
    form.move(m_mainWindow->ScreenPoint(position));
}

void QtApplicationShell::OpenModelDialog()
{
    if (m_modelDialog == nullptr) {
        m_modelDialog = new ModelTypeDialog(m_model, m_messages, m_mainWindow);
        m_mainWindow->ShareShortcutsWith(*m_modelDialog);
    }
    m_modelDialog->Open([this](QWidget& dialog) {
        MoveBesidePicture(
            dialog, ModelDialogPosition(m_mainWindow->PictureWidthTwips(), m_mainWindow->InnerSizeTwips().height));
    });
}

void QtApplicationShell::OpenInputForm()
{
    if (m_inputForm == nullptr) {
        m_inputForm = new InputParaForm(m_model, m_mainWindow->picWindow().canvas(), m_messages, m_mainWindow);
        m_mainWindow->ShareShortcutsWith(*m_inputForm);
    }
    MoveBesidePicture(*m_inputForm, InputFormOpeningPosition(m_mainWindow->PictureRightTwips(),
                                                             m_mainWindow->InnerSizeTwips().height));
    m_inputForm->show();
    m_inputForm->raise();
    m_inputForm->activateWindow();
}

void QtApplicationShell::AnalyseModelType()
{
    const OutputForm* before = m_outputForm;
    AnalyseModelTypeCommand(m_model, m_mainWindow->picWindow().canvas(), m_diagramHost, m_messages, m_outputForm,
                            m_mainWindow, [this](QWidget& form) {
                                MoveBesidePicture(form, CalculationFormPosition(m_mainWindow->PictureRightTwips(),
                                                                                m_mainWindow->InnerSizeTwips()));
                            });
    if (m_outputForm != before)
        m_mainWindow->ShareShortcutsWith(*m_outputForm);
}

// The cases are those of the calculation the form holds, also after the form
// was closed: its results stay in the model until the structure changes.
void QtApplicationShell::DrawChosenCaseDiagram(Canvas& canvas)
{
    const std::vector<int> cases = m_outputForm ? ReadyCases(m_model, m_outputForm->Calculation()) : std::vector<int>{};
    if (cases.empty()) {
        m_messages.Show(kNoCaseDiagram);
        return;
    }
    if (const std::optional<std::size_t> chosen =
            m_diagramHost.AskChoice(kCaseDiagramChoicePrompt, kCaseDiagramChoiceTitle, CaseDiagramChoices(cases)))
        DrawCaseMomentDiagram(m_model, cases[*chosen], canvas, m_diagramHost);
}

void QtApplicationShell::ShowAbout()
{
    if (m_about == nullptr) {
        m_about = new AboutDialog(m_messages, m_mainWindow);
        m_mainWindow->ShareShortcutsWith(*m_about);
    }
    m_about->show();
    m_about->raise();
    m_about->activateWindow();
}

}  // namespace tavrin
