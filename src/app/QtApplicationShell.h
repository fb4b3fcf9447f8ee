#pragma once

#include <functional>
#include <memory>

#include <QObject>
#include <QString>
#include <QTranslator>

#include "app/QtDiagramHost.h"
#include "app/ShellMenus.h"
#include "app/StructureFile.h"
#include "drawing/PictureFiles.h"
#include "input/InputTables.h"
#include "model/Messages.h"
#include "model/StructureModel.h"
#include "report/Report.h"

class QFileDialog;
class QPrinter;

namespace tavrin {

class AboutDialog;
class InputParaForm;
class MainPageForm;
class MainWindow;
class ModelTypeDialog;
class OutputForm;
class QtMessages;

// The application object: owns the one structure model of the run and the
// shell's windows, creates the other forms on first use and keeps them, and
// carries out the menu commands.
class QtApplicationShell : public QObject {
    Q_OBJECT

public:
    // Messages show in message boxes over the main window.
    QtApplicationShell();
    // Messages go to `messages`, which must outlive the shell.
    explicit QtApplicationShell(MessageSink& messages);
    ~QtApplicationShell() override;

    // Shows the welcome form, the only window at start-up.
    void Start();
    // Goes straight into the main window with the structure of `file`; a
    // file refused leaves its message over the empty structure.
    void StartWith(const QString& file);
    void Run(ShellCommand command);

    // The structure of `file` in place of the model, without the question
    // about unsaved work; false after a message, with everything as it was.
    bool Open(const QString& file);
    // Writes the structure to `file`, which becomes the file worked on;
    // false after a message, with the file as it was.
    bool Save(const QString& file);
    // Who answers "是否保存对结构的修改？"; a message box unless set.
    void SetUnsavedQuestion(std::function<UnsavedAnswer()> ask) { m_askToSave = std::move(ask); }
    // Who answers the input form's "本表已修改，是否提交？"; a message box
    // unless set.
    void SetUncommittedQuestion(std::function<UncommittedAnswer()> ask);

    StructureModel& model() { return m_model; }
    MainPageForm& mainPage() { return *m_mainPage; }
    MainWindow& mainWindow() { return *m_mainWindow; }
    QtDiagramHost& diagramHost() { return m_diagramHost; }

    // The picture showing, as "导出图形..." and "打印..." save and print it
    // once their dialogs are answered. A message says why when nothing is
    // drawn yet or the file or printer cannot be written; true when done.
    bool ExportPictureTo(const QString& file, PictureFormat format);
    bool PrintPictureOn(QPrinter& printer);
    // The calculation as far as it went, written out as "导出计算书..."
    // writes it once its dialog is answered. A message says why when there
    // is no structure yet or the file cannot be written; true when done.
    bool ExportReportTo(const QString& file, ReportFormat format);

signals:
    // "退出" or the main window closed by its frame: the program ends now.
    void endRequested();

private:
    // Shows messages in boxes over the main window unless `messages` is given.
    explicit QtApplicationShell(MessageSink* messages);
    void Enter();
    void FillExamplesMenu();
    // Runs `then` once the work is saved or let go of, or never when the
    // student keeps it; the rows typed but not committed in the input form
    // are asked about first.
    void LeaveStructure(const std::function<void()>& then);
    void SaveThen(const std::function<void()>& then);
    void End();
    // The common dialog as an open or a save dialog; `chosen` runs with the
    // file the student accepts.
    void ChooseFile(ShellCommand command, std::function<void(const QString&)> chosen);
    // A file dialog opens in the folder of the file worked on (where it
    // last was without one) with `name` proposed.
    void ProposeBesideFile(QFileDialog& dialog, const QString& name) const;
    // The name of the file worked on without its extension; empty without one.
    QString FileBaseName() const;
    void NewStructure();
    bool Replace(const StructureCase& opened, const std::filesystem::path& file, const QString& title);
    // The forms, the kept case and the window title after the model became
    // the structure of `opened`.
    void FollowStructure(const StructureCase& opened, const QString& title);
    StructureCase CaseNow() const;
    void ShowTitle(const QString& name);
    void OpenModelDialog();
    void OpenInputForm();
    void AnalyseModelType();
    void DrawChosenCaseDiagram(Canvas& canvas);
    // The deflected shape of the calculation the form holds, once its final
    // forces are known.
    void DrawDeflection(Canvas& canvas);
    // The calculation form's state, or the rows offered before it opened.
    CalculationState CalculationNow() const;
    void ShowBasicSystemComparison();
    void DrawOriginalStructure(Canvas& canvas);
    void ShowAbout();
    void ShowExportDialog();
    void ShowPrintDialog();
    void ShowReportDialog();
    bool PictureShown();
    void MoveBesidePicture(QWidget& form, TwipsPoint position) const;

    // Qt's own texts (buttons of the message, input and file dialogs) in
    // Simplified Chinese, like the program's; English where the translation
    // is not installed.
    QTranslator m_qtTexts;
    StructureModel m_model;
    MainPageForm* m_mainPage;
    MainWindow* m_mainWindow;
    std::unique_ptr<QtMessages> m_boxes;
    MessageSink& m_messages;
    QtDiagramHost m_diagramHost;

    // The file worked on, with its folder: empty for a new structure or an
    // example, which "保存" asks a name for. The case as last saved or opened tells whether
    // there is work to save; description and scale come with the file.
    QString m_file;
    StructureCase m_kept;
    StructureCase m_opened;
    // The opened file's supplementary rows, for the calculation form.
    SupplementaryRows m_offered;
    std::function<UnsavedAnswer()> m_askToSave;
    std::function<UncommittedAnswer()> m_askToCommit;
    std::function<void(const QString&)> m_fileChosen;

    // Created on first use, owned by the main window.
    QFileDialog* m_commonDialog = nullptr;
    ModelTypeDialog* m_modelDialog = nullptr;
    InputParaForm* m_inputForm = nullptr;
    OutputForm* m_outputForm = nullptr;
    AboutDialog* m_about = nullptr;
    QFileDialog* m_exportDialog = nullptr;
    QFileDialog* m_reportDialog = nullptr;
};

}  // namespace tavrin
