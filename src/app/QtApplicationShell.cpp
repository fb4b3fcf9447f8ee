#include "app/QtApplicationShell.h"

#include <QApplication>
#include <QDir>
#include <QFileDialog>
#include <QLibraryInfo>
#include <QPrintDialog>
#include <QPrinter>
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
#include "drawing/QtPictureFiles.h"
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
    // What the picture shows follows the size of its window.
    m_mainWindow->picWindow().SetRedraw([this] { RedrawPicture(m_model, m_mainWindow->picWindow().canvas()); });
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
        case ShellCommand::HelpTopics:
            m_messages.Show(kHelpTopicsNotice);
            break;
        case ShellCommand::WebBrowser:
            m_messages.Show(kWebBrowserNotice);
            break;
        case ShellCommand::About:
            ShowAbout();
            break;
        case ShellCommand::ExportPicture:
            ShowExportDialog();
            break;
        case ShellCommand::PrintPicture:
            ShowPrintDialog();
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
    AnalyseModelTypeCommand(
        m_model, m_mainWindow->picWindow().canvas(), m_messages, m_outputForm, m_mainWindow, [this](QWidget& form) {
            MoveBesidePicture(
                form, CalculationFormPosition(m_mainWindow->PictureRightTwips(), m_mainWindow->InnerSizeTwips()));
        });
    if (m_outputForm != before)
        m_mainWindow->ShareShortcutsWith(*m_outputForm);
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

namespace {

RecordedPicture ShownPicture(const QtCanvas& canvas)
{
    return {canvas.ShownOps(), canvas.ScaleWidth(), canvas.ScaleHeight(), canvas.Units()};
}

PictureFormat FilteredFormat(const QString& filter)
{
    for (const PictureFileKind& kind : kPictureFileKinds)
        if (FromUtf8(kind.filter) == filter)
            return kind.format;
    return PictureFormat::Png;
}

}  // namespace

bool QtApplicationShell::PictureShown()
{
    if (!ShownPicture(m_mainWindow->picWindow().qtCanvas()).Blank())
        return true;
    m_messages.Show(kNoPictureYet);
    return false;
}

void QtApplicationShell::ShowExportDialog()
{
    if (!PictureShown())
        return;
    if (m_exportDialog == nullptr) {
        m_exportDialog = new QFileDialog(m_mainWindow);
        m_exportDialog->setObjectName(QStringLiteral("dlgExport"));
        m_exportDialog->setOption(QFileDialog::DontUseNativeDialog);
        m_exportDialog->setWindowTitle(FromUtf8(kExportDialogCaption));
        m_exportDialog->setAcceptMode(QFileDialog::AcceptSave);
        m_exportDialog->setFileMode(QFileDialog::AnyFile);
        QStringList filters;
        for (const PictureFileKind& kind : kPictureFileKinds)
            filters << FromUtf8(kind.filter);
        m_exportDialog->setNameFilters(filters);
        connect(m_exportDialog, &QFileDialog::fileSelected, this, [this](const QString& file) {
            const PictureFile chosen =
                ChoosePictureFile(file.toStdString(), FilteredFormat(m_exportDialog->selectedNameFilter()));
            ExportPictureTo(QString::fromStdString(chosen.name), chosen.format);
        });
    }
    m_exportDialog->open();
}

bool QtApplicationShell::ExportPictureTo(const QString& file, PictureFormat format)
{
    if (!PictureShown())
        return false;
    QString cause;
    if (WritePictureFile(file, format, ShownPicture(m_mainWindow->picWindow().qtCanvas()), cause))
        return true;
    m_messages.Show(PictureNotWrittenText(QDir::toNativeSeparators(file).toStdString(), cause.toStdString()));
    return false;
}

void QtApplicationShell::ShowPrintDialog()
{
    if (!PictureShown())
        return;
    QPrinter printer;
    QPrintDialog dialog(&printer, m_mainWindow);
    if (dialog.exec() == QDialog::Accepted)
        PrintPictureOn(printer);
}

bool QtApplicationShell::PrintPictureOn(QPrinter& printer)
{
    if (!PictureShown())
        return false;
    if (PrintPicture(printer, ShownPicture(m_mainWindow->picWindow().qtCanvas())))
        return true;
    m_messages.Show(kPictureNotPrinted);
    return false;
}

}  // namespace tavrin
