#pragma once

#include <memory>

#include <QObject>
#include <QTranslator>

#include "app/QtDiagramHost.h"
#include "app/ShellMenus.h"
#include "input/InputTables.h"
#include "model/Messages.h"
#include "model/StructureModel.h"

class QFileDialog;

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
    void Run(ShellCommand command);

    StructureModel& model() { return m_model; }
    MainPageForm& mainPage() { return *m_mainPage; }
    MainWindow& mainWindow() { return *m_mainWindow; }
    QtDiagramHost& diagramHost() { return m_diagramHost; }

signals:
    // "退出" or the main window closed by its frame: the program ends now.
    void endRequested();

private:
    // Shows messages in boxes over the main window unless `messages` is given.
    explicit QtApplicationShell(MessageSink* messages);
    void Enter();
    void ShowFileDialog(ShellCommand command);
    void OpenModelDialog();
    void OpenInputForm();
    void AnalyseModelType();
    void DrawChosenCaseDiagram(Canvas& canvas);
    void ShowAbout();
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

    // Created on first use, owned by the main window.
    QFileDialog* m_commonDialog = nullptr;
    ModelTypeDialog* m_modelDialog = nullptr;
    InputParaForm* m_inputForm = nullptr;
    OutputForm* m_outputForm = nullptr;
    AboutDialog* m_about = nullptr;
};

}  // namespace tavrin
