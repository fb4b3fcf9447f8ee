#include <QAction>
#include <QApplication>
#include <QDir>
#include <QFileDialog>
#include <QLabel>
#include <QMdiSubWindow>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "app/MainPageForm.h"
#include "app/MainWindow.h"
#include "app/QtApplicationShell.h"
#include "drawing/PicWindow.h"
#include "model/Messages.h"

using namespace tavrin;

namespace {

QString U(const char* utf8) { return QString::fromUtf8(utf8); }

std::vector<QWidget*> VisibleTopLevels()
{
    std::vector<QWidget*> shown;
    for (QWidget* w : QApplication::topLevelWidgets())
        if (w->isVisible())
            shown.push_back(w);
    return shown;
}

}  // namespace

class ProgramQtTest : public QObject {
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void startsAtTheWelcomeFormAndEntersTheMainWindow();
    void menuBarCarriesEveryEntryWithItsShortcut();
    void fileDialogsLeaveTheModelAsItWas();
    void exitAndClosingTheMainWindowEndTheProgram();
    void helpEntriesShowANotice();
    void aboutBoxIsAFixedModelessBoxWithoutSystemInformation();

private:
    void Enter();
    void Trigger(const char* actionName);
    MainWindow& Main() { return m_shell->mainWindow(); }

    RecordingMessages m_messages;
    std::unique_ptr<ApplicationShell> m_shell;
    std::vector<QString> m_scalePrompts;
    std::vector<QString> m_scaleTitles;
    QString m_scaleAnswer;
};

void ProgramQtTest::init()
{
    m_messages.shown.clear();
    m_scalePrompts.clear();
    m_scaleTitles.clear();
    m_scaleAnswer = QStringLiteral("40");
    m_shell = std::make_unique<ApplicationShell>(m_messages);
    m_shell->diagramHost().SetScalePrompt([this](const QString& prompt, const QString& title) {
        m_scalePrompts.push_back(prompt);
        m_scaleTitles.push_back(title);
        return std::optional<QString>(m_scaleAnswer);
    });
    m_shell->Start();
}

void ProgramQtTest::cleanup() { m_shell.reset(); }

void ProgramQtTest::Enter()
{
    auto* enter = m_shell->mainPage().findChild<QPushButton*>(QStringLiteral("Command1"));
    QVERIFY(enter != nullptr);
    QTest::mouseClick(enter, Qt::LeftButton);
}

void ProgramQtTest::Trigger(const char* actionName)
{
    auto* item = Main().findChild<QAction*>(QString::fromLatin1(actionName));
    QVERIFY2(item != nullptr, actionName);
    item->trigger();
}

void ProgramQtTest::startsAtTheWelcomeFormAndEntersTheMainWindow()
{
    std::vector<QWidget*> shown = VisibleTopLevels();
    QCOMPARE(shown.size(), std::size_t{1});
    QCOMPARE(shown[0]->objectName(), QStringLiteral("frmMainPage"));
    QCOMPARE(shown[0]->windowTitle(), U("欢迎使用"));
    QStringList texts;
    for (QLabel* label : shown[0]->findChildren<QLabel*>())
        texts << label->text();
    QVERIFY(texts.contains(U("欢迎使用")));
    QVERIFY(texts.contains(QStringLiteral("Tavrin")));
    QCOMPARE(texts.size(), 4);
    QVERIFY(!shown[0]->windowIcon().isNull());

    Enter();
    QVERIFY(!m_shell->mainPage().isVisible());
    QVERIFY(Main().isVisible());
    QCOMPARE(Main().objectName(), QStringLiteral("MDIForm1"));
    QCOMPARE(Main().windowTitle(), QStringLiteral("Tavrin"));
    QVERIFY(Main().picWindow().isVisible());
    QCOMPARE(Main().picWindow().objectName(), QStringLiteral("frmPicWindow"));
    QCOMPARE(Main().picWindow().windowTitle(), U("基本体系分析模型图"));
    QCOMPARE(Main().picSubWindow().widget(), &Main().picWindow());
}

void ProgramQtTest::menuBarCarriesEveryEntryWithItsShortcut()
{
    struct Expected {
        const char* menu;
        const char* caption;
        std::vector<const char*> entries;  // objectNames in order
    };
    const Expected menus[] = {
        {"wenjian", "文件(&F)", {"dakai", "baocun", "heng5", "exit"}},
        {"huatu", "建立计算模型(&M)", {"mnuModel", "were", "mnuFig", "hy"}},
        {"qiujie", "求解(&Q)", {"mnuModelType", "b"}},
        {"xianshi", "显示内力图(&T)", {"wanju", "zhouli", "jianli"}},
        {"help", "帮助(&H)", {"zhuti", "web", "guanyu"}},
    };
    const QList<QAction*> bar = Main().menuBar()->actions();
    QCOMPARE(bar.size(), 5);
    for (int m = 0; m < 5; ++m) {
        QMenu* menu = bar[m]->menu();
        QVERIFY(menu != nullptr);
        QCOMPARE(menu->objectName(), QString::fromLatin1(menus[m].menu));
        QCOMPARE(menu->title(), U(menus[m].caption));
        const QList<QAction*> items = menu->actions();
        QCOMPARE(items.size(), static_cast<qsizetype>(menus[m].entries.size()));
        for (qsizetype i = 0; i < items.size(); ++i) {
            const QString name = QString::fromLatin1(menus[m].entries[static_cast<std::size_t>(i)]);
            QCOMPARE(items[i]->objectName(), name);
            const bool separator = name == QStringLiteral("heng5") || name == QStringLiteral("were")
                                   || name == QStringLiteral("hy") || name == QStringLiteral("b");
            QCOMPARE(items[i]->isSeparator(), separator);
        }
    }

    const struct {
        const char* name;
        const char* caption;
        QKeySequence shortcut;
    } entries[] = {
        {"dakai", "打开(&D)", QKeySequence(Qt::CTRL | Qt::Key_D)},
        {"baocun", "保存(&B)", QKeySequence(Qt::CTRL | Qt::Key_S)},
        {"exit", "退出(&E)", QKeySequence(Qt::CTRL | Qt::Key_E)},
        {"mnuModel", "静定/超静定问题", QKeySequence()},
        {"mnuFig", "输入图形数据", QKeySequence()},
        {"mnuModelType", "计算类型分析", QKeySequence()},
        {"wanju", "弯矩图&W", QKeySequence(Qt::CTRL | Qt::Key_W)},
        {"zhouli", "轴力图&Z", QKeySequence(Qt::CTRL | Qt::Key_Z)},
        {"jianli", "剪力图&J", QKeySequence(Qt::CTRL | Qt::Key_J)},
        {"zhuti", "帮助主题(&Z)", QKeySequence()},
        {"web", "Web浏览器...", QKeySequence()},
        {"guanyu", "关于Tavrin...", QKeySequence()},
    };
    for (const auto& e : entries) {
        auto* item = Main().findChild<QAction*>(QString::fromLatin1(e.name));
        QVERIFY2(item != nullptr, e.name);
        QCOMPARE(item->text(), U(e.caption));
        QCOMPARE(item->shortcut(), e.shortcut);
    }
}

void ProgramQtTest::fileDialogsLeaveTheModelAsItWas()
{
    Enter();
    StructureModel& model = m_shell->model();
    model.Nodes.Append({1, "铰接", 0.0f, 0.0f});
    model.Nodes.Append({2, "铰接", 4.0f, 0.0f});
    model.IndeterminacyDegree = 1;
    const StructureModel before = model;

    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    const QString saved = dir.filePath(QStringLiteral("frame.dat"));
    for (const char* name : {"dakai", "baocun"}) {
        Trigger(name);
        auto* dialog = Main().findChild<QFileDialog*>();
        QFileDialog* shown = nullptr;
        for (QFileDialog* d : Main().findChildren<QFileDialog*>())
            if (d->isVisible())
                shown = d;
        QVERIFY2(shown != nullptr && dialog != nullptr, name);
        QVERIFY(shown->testOption(QFileDialog::DontUseNativeDialog));
        shown->setDirectory(dir.path());
        if (shown->acceptMode() == QFileDialog::AcceptSave) {
            shown->selectFile(saved);
            static_cast<QDialog*>(shown)->accept();  // the save button, with a name chosen
        } else {
            shown->reject();
        }
        QVERIFY(!shown->isVisible());
    }
    QVERIFY(model == before);
    QVERIFY(!QFile::exists(saved));
    QCOMPARE(QDir(dir.path()).entryList(QDir::NoDotAndDotDot | QDir::AllEntries).size(), 0);
}

void ProgramQtTest::exitAndClosingTheMainWindowEndTheProgram()
{
    Enter();
    QSignalSpy ended(m_shell.get(), &ApplicationShell::endRequested);
    Trigger("exit");
    QCOMPARE(ended.count(), 1);

    Main().close();
    QCOMPARE(ended.count(), 2);
    QVERIFY(!Main().isVisible());
}

void ProgramQtTest::helpEntriesShowANotice()
{
    Enter();
    Trigger("zhuti");
    Trigger("web");
    QCOMPARE(m_messages.shown.size(), std::size_t{2});
    for (const ShownMessage& shown : m_messages.shown)
        QVERIFY(!shown.text.empty());
    QVERIFY(m_messages.shown[0].text != m_messages.shown[1].text);
}

void ProgramQtTest::aboutBoxIsAFixedModelessBoxWithoutSystemInformation()
{
    Enter();
    Trigger("guanyu");
    auto* about = Main().findChild<QDialog*>(QStringLiteral("frmAbout"));
    QVERIFY(about != nullptr);
    QVERIFY(about->isVisible());
    QVERIFY(!about->isModal());
    QCOMPARE(about->windowTitle(), U("关于Tavrin"));
    QVERIFY(!(about->windowFlags() & Qt::WindowMinimizeButtonHint));
    QVERIFY(!(about->windowFlags() & Qt::WindowMaximizeButtonHint));
    QCOMPARE(about->minimumSize(), about->maximumSize());
    QVERIFY(about->parentWidget() == &Main());  // owned: no task bar entry of its own

    auto* icon = about->findChild<QLabel*>(QStringLiteral("picIcon"));
    QVERIFY(icon != nullptr && !icon->pixmap().isNull());
    QCOMPARE(about->findChild<QLabel*>(QStringLiteral("lblDescription"))->text(),
             U("应用程序描述:本程序正试运行期间,请大家原谅!!"));
    QVERIFY(about->findChild<QLabel*>(QStringLiteral("lblDisclaimer"))->text().startsWith(U("警告: ")));

    auto* sysInfo = about->findChild<QPushButton*>(QStringLiteral("cmdSysInfo"));
    QCOMPARE(sysInfo->text(), U("系统信息(&S)..."));
    QTest::mouseClick(sysInfo, Qt::LeftButton);
    QCOMPARE(m_messages.shown.size(), std::size_t{1});
    QCOMPARE(m_messages.shown[0].text, std::string("此时系统信息不可用"));

    auto* ok = about->findChild<QPushButton*>(QStringLiteral("cmdOK"));
    QCOMPARE(ok->text(), U("确定"));
    QTest::mouseClick(ok, Qt::LeftButton);
    QVERIFY(!about->isVisible());

    Trigger("guanyu");
    QCOMPARE(Main().findChildren<QDialog*>(QStringLiteral("frmAbout")).size(), 1);
    QVERIFY(about->isVisible());
}

QTEST_MAIN(ProgramQtTest)
#include "ProgramQtTest.moc"
