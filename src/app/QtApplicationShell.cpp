#include "app/QtApplicationShell.h"

#include "forcemethod/BasicSystemDialog.h"

#include <span>
#include <utility>

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QFileInfo>
#include <QGridLayout>
#include <QLabel>
#include <QLibraryInfo>
#include <QLineEdit>
#include <QMenu>
#include <QPrintDialog>
#include <QPrinter>
#include <QProgressDialog>
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
#include "forcemethod/CaseDiagrams.h"
#include "forcemethod/DeflectedShape.h"
#include "forcemethod/Displacements.h"
#include "forcemethod/ForceMethodTexts.h"
#include "forcemethod/OutputForm.h"
#include "input/InputParaForm.h"
#include "qtforms/QtControls.h"
#include "qtforms/QtMessages.h"
#include "report/QtReportFiles.h"
#include "report/ReportTexts.h"

namespace tavrin {

namespace {

// File names pass to the core as the bytes the file system holds, so that
// Chinese characters and blanks arrive as they are.
std::filesystem::path PathOf(const QString& file)
{
    return QFile::encodeName(file).toStdString();
}

UnsavedAnswer AskInMessageBox(QWidget* parent)
{
    constexpr UnsavedAnswer kAnswers[] = {UnsavedAnswer::Save, UnsavedAnswer::Discard, UnsavedAnswer::Cancel};
    return kAnswers[AskWithThreeAnswers(parent, kMainWindowCaption, kUnsavedQuestion,
                                        {kSaveAnswer, kDiscardAnswer, kCancelAnswer})];
}

}  // namespace

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
    connect(m_mainWindow, &MainWindow::closedByFrame, this, [this] { LeaveStructure([this] { End(); }); });
    m_askToSave = [this] { return AskInMessageBox(m_mainWindow); };
    m_kept = CaseNow();
    FillExamplesMenu();
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

void QtApplicationShell::StartWith(const QString& file)
{
    Enter();
    Open(file);
}

void QtApplicationShell::Enter()
{
    m_mainPage->hide();
    m_mainWindow->ShowPicture(FromUtf8(kStructurePictureCaption));
    m_mainWindow->SharePicture(PictureStartSize);
}

void QtApplicationShell::FillExamplesMenu()
{
    const std::filesystem::path folders[] = {PathOf(QCoreApplication::applicationDirPath()) / TAVRIN_INSTALLED_EXAMPLES,
                                             TAVRIN_SOURCE_EXAMPLES};
    const std::optional<std::filesystem::path> folder = FirstFolder(folders);
    if (!folder)
        return;
    for (const ExampleFile& example : ListExamples(*folder)) {
        const QString title = FromUtf8(example.title);
        const std::filesystem::path file = example.file;
        connect(m_mainWindow->examplesMenu().addAction(title), &QAction::triggered, this, [this, title, file] {
            LeaveStructure([this, title, file] {
                const CaseReading reading = ReadStructureFile(file);
                if (!reading.value)
                    m_messages.Show(reading.error);
                else
                    Replace(*reading.value, file, title + FromUtf8(kExampleMark));
            });
        });
    }
}

void QtApplicationShell::Run(ShellCommand command)
{
    Canvas& canvas = m_mainWindow->picWindow().canvas();
    switch (command) {
        case ShellCommand::Separator:
            break;
        case ShellCommand::New:
            LeaveStructure([this] { NewStructure(); });
            break;
        case ShellCommand::Open:
            LeaveStructure([this] { ChooseFile(ShellCommand::Open, [this](const QString& file) { Open(file); }); });
            break;
        case ShellCommand::Save:
            ChooseFile(command, [this](const QString& file) { Save(file); });
            break;
        case ShellCommand::Exit:
            LeaveStructure([this] { End(); });
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
        case ShellCommand::DeflectedShape:
            DrawDeflection(canvas);
            break;
        case ShellCommand::Displacement:
            if (m_outputForm == nullptr || !m_outputForm->AskDisplacement())
                m_messages.Show(kRealMomentsMissing);
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
        case ShellCommand::ExportReport:
            ShowReportDialog();
            break;
        case ShellCommand::CompareBasicSystems:
            ShowBasicSystemComparison();
            break;
        case ShellCommand::OriginalStructure:
            DrawOriginalStructure(canvas);
            break;
    }
}

void QtApplicationShell::SetUncommittedQuestion(std::function<UncommittedAnswer()> ask)
{
    m_askToCommit = std::move(ask);
    if (m_inputForm != nullptr && m_askToCommit)
        m_inputForm->SetUncommittedQuestion(m_askToCommit);
}

void QtApplicationShell::LeaveStructure(const std::function<void()>& then)
{
    if (m_inputForm != nullptr && !m_inputForm->LeaveTable())
        return;
    switch (StepBeforeLeaving(CaseNow(), m_kept, m_askToSave)) {
        case LeaveStep::Proceed:
            then();
            break;
        case LeaveStep::SaveFirst:
            SaveThen(then);
            break;
        case LeaveStep::Stay:
            break;
    }
}

// The answer "保存" writes the file worked on; without one the structure is
// saved under the name the student chooses, and cancelling that dialog keeps
// everything, `then` too.
void QtApplicationShell::SaveThen(const std::function<void()>& then)
{
    const auto save = [this, then](const QString& file) {
        if (Save(file))
            then();
    };
    if (m_file.isEmpty())
        ChooseFile(ShellCommand::Save, save);
    else
        save(m_file);
}

void QtApplicationShell::End()
{
    m_mainWindow->hide();
    emit endRequested();
}

// One common dialog serves both commands, as an open or a save dialog. It
// is made anew each time, in the folder the last one was in: a dialog used
// before would still propose, and select, the file of a structure the
// student has let go of since.
void QtApplicationShell::ChooseFile(ShellCommand command, std::function<void(const QString&)> chosen)
{
    QString folder;
    if (m_commonDialog != nullptr) {
        folder = m_commonDialog->directory().absolutePath();
        m_commonDialog->setObjectName(QString());
        m_commonDialog->deleteLater();
    }
    m_commonDialog = new QFileDialog(m_mainWindow);
    m_commonDialog->setObjectName(QStringLiteral("CommonDialog1"));
    m_commonDialog->setOption(QFileDialog::DontUseNativeDialog);
    m_commonDialog->setNameFilter(FromUtf8(kStructureFileFilter));
    m_commonDialog->setDefaultSuffix(FromUtf8(kStructureFileSuffix));
    if (!folder.isEmpty())
        m_commonDialog->setDirectory(folder);
    connect(m_commonDialog, &QFileDialog::fileSelected, this, [this](const QString& file) {
        if (const auto next = std::exchange(m_fileChosen, {}))
            next(file);
    });
    m_fileChosen = std::move(chosen);
    const bool open = command == ShellCommand::Open;
    m_commonDialog->setWindowTitle(FromUtf8(open ? kOpenDialogCaption : kSaveDialogCaption));
    m_commonDialog->setAcceptMode(open ? QFileDialog::AcceptOpen : QFileDialog::AcceptSave);
    m_commonDialog->setFileMode(open ? QFileDialog::ExistingFile : QFileDialog::AnyFile);
    // The file worked on is proposed; an example has none, so that its name
    // is never proposed to be overwritten.
    ProposeBesideFile(*m_commonDialog, m_file.isEmpty() ? QString() : QFileInfo(m_file).fileName());
    m_commonDialog->open();
}

void QtApplicationShell::ProposeBesideFile(QFileDialog& dialog, const QString& name) const
{
    if (!m_file.isEmpty())
        dialog.setDirectory(QFileInfo(m_file).absolutePath());
    if (!name.isEmpty())
        dialog.selectFile(name);
}

QString QtApplicationShell::FileBaseName() const
{
    return m_file.isEmpty() ? QString() : QFileInfo(m_file).completeBaseName();
}

// An empty structure, as at the start: the forms and the window title follow
// as they do for a file opened.
void QtApplicationShell::NewStructure()
{
    tavrin::NewStructure(m_model, m_mainWindow->picWindow().canvas());
    FollowStructure(StructureCase{}, QString());
}

bool QtApplicationShell::Open(const QString& file)
{
    const std::filesystem::path path = PathOf(file);
    const CaseReading reading = ReadStructureFile(path);
    if (!reading.value) {
        m_messages.Show(reading.error);
        return false;
    }
    if (!Replace(*reading.value, path, QFileInfo(file).fileName()))
        return false;
    m_file = QFileInfo(file).absoluteFilePath();
    return true;
}

bool QtApplicationShell::Save(const QString& file)
{
    const StructureCase now = CaseNow();
    if (const std::string error = SaveStructureFile(PathOf(file), now); !error.empty()) {
        m_messages.Show(error);
        return false;
    }
    m_file = QFileInfo(file).absoluteFilePath();
    m_kept = now;
    ShowTitle(QFileInfo(file).fileName());
    return true;
}

// The forms open show the new structure: the input form its committed rows,
// the calculation form nothing until the next analysis, the model type
// dialog not at all (it shows no degree of its own).
bool QtApplicationShell::Replace(const StructureCase& opened, const std::filesystem::path& file, const QString& title)
{
    if (const std::string refusal = OpenCase(opened, m_model, m_mainWindow->picWindow().canvas()); !refusal.empty()) {
        m_messages.Show(FileFault(kOpenFailed, file, refusal));
        return false;
    }
    FollowStructure(opened, title);
    return true;
}

void QtApplicationShell::FollowStructure(const StructureCase& opened, const QString& title)
{
    m_opened = opened;
    m_offered = SupplementaryRowsOf(opened);
    if (m_outputForm != nullptr) {
        m_outputForm->Reset();
        m_outputForm->Offer(m_offered);
    }
    if (m_inputForm != nullptr)
        m_inputForm->ShowCommittedRows();
    if (m_modelDialog != nullptr)
        m_modelDialog->reject();
    m_file.clear();
    m_kept = CaseNow();
    ShowTitle(title);
}

StructureCase QtApplicationShell::CaseNow() const
{
    return CaseToSave(m_model, m_outputForm != nullptr ? m_outputForm->KeptRows() : m_offered, m_opened,
                      m_outputForm != nullptr ? m_outputForm->Calculation().displacementsShown : CellRows{});
}

void QtApplicationShell::ShowTitle(const QString& name)
{
    m_mainWindow->setWindowTitle(FromUtf8(MainWindowTitle(name.toStdString())));
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
        if (m_askToCommit)
            m_inputForm->SetUncommittedQuestion(m_askToCommit);
        m_mainWindow->ShareShortcutsWith(*m_inputForm);
    }
    MoveBesidePicture(*m_inputForm, InputFormOpeningPosition(m_mainWindow->PictureRightTwips(),
                                                             m_mainWindow->InnerSizeTwips().height));
    m_inputForm->show();
    m_inputForm->raise();
    m_inputForm->activateWindow();
}

// The structure typed whole: the student chooses its basic system first,
// which is then typed into the tables in its place.
void QtApplicationShell::AnalyseModelType()
{
    const bool goesOn = m_outputForm != nullptr && m_outputForm->State().visible &&
                        StillAsAnalysed(m_model, m_outputForm->Calculation());
    if (!goesOn && OffersBasicSystemChoice(m_model)) {
        // The calculation shown, if any, was of another structure.
        if (m_outputForm != nullptr)
            m_outputForm->Reset();
        auto* dialog = new BasicSystemDialog(
            OriginalOfTyped(m_model), m_model.IndeterminacyDegree, std::nullopt,
            [this](const BasicSystem& basic) {
                if (!TakeBasicSystem(m_model, basic, m_mainWindow->picWindow().canvas(), m_messages))
                    return;
                m_offered = {basic.attachedParts, basic.basicParts, basic.unitForces};
                if (m_outputForm != nullptr)
                    m_outputForm->Offer(m_offered);
                AnalyseModelType();
            },
            m_mainWindow);
        dialog->open();
        return;
    }
    const OutputForm* before = m_outputForm;
    AnalyseModelTypeCommand(m_model, m_mainWindow->picWindow().canvas(), m_diagramHost, m_messages, m_outputForm,
                            m_mainWindow, [this](QWidget& form) {
                                MoveBesidePicture(form, CalculationFormPosition(m_mainWindow->PictureRightTwips(),
                                                                                m_mainWindow->InnerSizeTwips()));
                            });
    if (m_outputForm != before) {
        m_mainWindow->ShareShortcutsWith(*m_outputForm);
        m_outputForm->Offer(m_offered);
    }
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

CalculationState QtApplicationShell::CalculationNow() const
{
    if (m_outputForm != nullptr)
        return m_outputForm->Calculation();
    CalculationState calc;
    calc.offered = m_offered;
    return calc;
}

void QtApplicationShell::ShowBasicSystemComparison()
{
    std::string why;
    const CalculationState calc = CalculationNow();
    std::optional<BasicSystem> current = BasicSystemOfCalculation(m_model, calc, why);
    const std::optional<OriginalStructure> original =
        current ? OriginalOfCalculation(m_model, calc, why) : std::nullopt;
    if (!original) {
        m_messages.Show(why);
        return;
    }
    const std::vector<Restraint> released = current->released;
    auto* dialog = new BasicSystemDialog(
        *original, m_model.IndeterminacyDegree, std::move(current), [](const BasicSystem&) {}, m_mainWindow);
    dialog->Tick(released);
    dialog->open();
}

void QtApplicationShell::DrawOriginalStructure(Canvas& canvas)
{
    std::string why;
    const std::optional<OriginalStructure> original = OriginalOfCalculation(m_model, CalculationNow(), why);
    const std::optional<StructureModel> whole = original ? OriginalModel(*original, why) : std::nullopt;
    if (!whole) {
        m_messages.Show(why);
        return;
    }
    DrawStructureWithLoads(*whole, canvas);
}

void QtApplicationShell::DrawDeflection(Canvas& canvas)
{
    std::vector<NodeDisplacement> nodes;
    if (m_outputForm == nullptr) {
        m_messages.Show(kRealMomentsMissing);
        return;
    }
    if (ComputeNodeDisplacements(m_model, m_outputForm->Calculation(), nodes, m_messages))
        DrawDeflectedShape(m_model, nodes, canvas, m_diagramHost);
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
    return {canvas.ShownOps(), canvas.ScaleWidth(), canvas.ScaleHeight(), canvas.Units(), FromUtf8(canvas.Caption())};
}

// A save dialog offering the files of `kinds`, one filter line each: the
// export of the picture and of the report.
template <class Kind, std::size_t N>
QFileDialog* NewExportDialog(QWidget* parent, const char* name, std::string_view caption,
                             std::span<const Kind, N> kinds)
{
    auto* dialog = new QFileDialog(parent);
    dialog->setObjectName(QString::fromLatin1(name));
    dialog->setOption(QFileDialog::DontUseNativeDialog);
    dialog->setWindowTitle(FromUtf8(caption));
    dialog->setAcceptMode(QFileDialog::AcceptSave);
    dialog->setFileMode(QFileDialog::AnyFile);
    QStringList filters;
    for (const Kind& kind : kinds)
        filters << FromUtf8(kind.filter);
    dialog->setNameFilters(filters);
    return dialog;
}

// The cover's 姓名 and 班级 under the file name and type of the report's
// dialog, kept with the structure file.
void AddCoverFields(QFileDialog& dialog)
{
    auto* grid = qobject_cast<QGridLayout*>(dialog.layout());
    if (grid == nullptr)
        return;
    const std::pair<const char*, std::string_view> fields[] = {{"txtStudent", kStudentLabel},
                                                               {"txtClass", kClassLabel}};
    for (const auto& [name, label] : fields) {
        auto* edit = new QLineEdit(&dialog);
        edit->setObjectName(QString::fromLatin1(name));
        const int row = grid->rowCount();
        grid->addWidget(new QLabel(FromUtf8(label), &dialog), row, 0);
        grid->addWidget(edit, row, 1);
    }
}

// The format of the filter line the student chose in `dialog`.
template <class Kind, std::size_t N>
decltype(Kind::format) FilteredFormat(const QFileDialog& dialog, std::span<const Kind, N> kinds)
{
    return FormatOfFilter(dialog.selectedNameFilter().toStdString(), kinds);
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
        m_exportDialog = NewExportDialog(m_mainWindow, "dlgExport", kExportDialogCaption, std::span(kPictureFileKinds));
        connect(m_exportDialog, &QFileDialog::fileSelected, this, [this](const QString& file) {
            const PictureFile chosen =
                ChoosePictureFile(file.toStdString(), FilteredFormat(*m_exportDialog, std::span(kPictureFileKinds)));
            ExportPictureTo(QString::fromStdString(chosen.name), chosen.format);
        });
    }
    const QString title = FromUtf8(m_mainWindow->picWindow().qtCanvas().Caption());
    const QString base = FileBaseName();
    ProposeBesideFile(*m_exportDialog, base.isEmpty() ? title : base + FromUtf8(kPictureNameJoint) + title);
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

void QtApplicationShell::ShowReportDialog()
{
    if (m_reportDialog == nullptr) {
        m_reportDialog = NewExportDialog(m_mainWindow, "dlgReport", kReportDialogCaption, std::span(kReportFileKinds));
        AddCoverFields(*m_reportDialog);
        connect(m_reportDialog, &QFileDialog::fileSelected, this, [this](const QString& file) {
            m_opened.student =
                m_reportDialog->findChild<QLineEdit*>(QStringLiteral("txtStudent"))->text().toStdString();
            m_opened.className =
                m_reportDialog->findChild<QLineEdit*>(QStringLiteral("txtClass"))->text().toStdString();
            const ReportFile chosen =
                ChooseReportFile(file.toStdString(), FilteredFormat(*m_reportDialog, std::span(kReportFileKinds)));
            ExportReportTo(QString::fromStdString(chosen.name), chosen.format);
        });
    }
    m_reportDialog->findChild<QLineEdit*>(QStringLiteral("txtStudent"))->setText(FromUtf8(m_opened.student));
    m_reportDialog->findChild<QLineEdit*>(QStringLiteral("txtClass"))->setText(FromUtf8(m_opened.className));
    const QString base = FileBaseName();
    ProposeBesideFile(*m_reportDialog, base.isEmpty() ? FromUtf8(kReportName) : base);
    m_reportDialog->open();
}

bool QtApplicationShell::ExportReportTo(const QString& file, ReportFormat format)
{
    if (m_model.NodeCount() == 0) {
        m_messages.Show(kNoStructureYet);
        return false;
    }
    // The calculation form's own results: the report holds the numbers the
    // student saw, as far as the calculation went.
    const ReportSource source =
        ReportSourceOf(m_model, m_outputForm ? &m_outputForm->Calculation() : nullptr, m_opened);
    // A long report shows how far it has got; the window keeps painting.
    QProgressDialog progress(FromUtf8(kReportProgress), QString(), 0, 1, m_mainWindow);
    progress.setWindowModality(Qt::WindowModal);
    progress.setMinimumDuration(500);
    const auto advance = [&progress](int done, int total) {
        progress.setMaximum(total);
        progress.setValue(done);
    };
    QString cause;
    if (WriteReportFile(file, format, BuildReport(source), cause, advance))
        return true;
    m_messages.Show(ReportNotWrittenText(QDir::toNativeSeparators(file).toStdString(), cause.toStdString()));
    return false;
}

}  // namespace tavrin
