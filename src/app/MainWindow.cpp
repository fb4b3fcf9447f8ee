#include "app/MainWindow.h"

#include <QAction>
#include <QCloseEvent>
#include <QKeyEvent>
#include <QKeySequence>
#include <QLineEdit>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QMenuBar>
#include <QScreen>

#include "app/QtProgramIcon.h"
#include "app/ShellTexts.h"
#include "drawing/PicWindow.h"
#include "qtforms/QtControls.h"
#include "qtforms/QtTwips.h"

namespace tavrin {

MainWindow::MainWindow(QWidget* parent) : QMainWindow(parent)
{
    setObjectName(QStringLiteral("MDIForm1"));
    setWindowTitle(FromUtf8(kMainWindowCaption));
    setWindowIcon(ProgramIcon());

    m_mdiArea = new QMdiArea(this);
    m_mdiArea->setObjectName(QStringLiteral("mdiArea"));
    m_mdiArea->installEventFilter(this);
    setCentralWidget(m_mdiArea);

    frmPicWindow = new PicWindow;
    frmPicWindow->setWindowIcon(ProgramIcon());
    m_picSubWindow = m_mdiArea->addSubWindow(frmPicWindow);
    // The forms keep the picture's canvas for the whole run: closing the
    // picture window only hides it, and the next picture shows it again.
    m_picSubWindow->setAttribute(Qt::WA_DeleteOnClose, false);
    m_picSubWindow->move(0, 0);
    // The picture window's own close key (Ctrl+W) would make the moment
    // diagram's shortcut ambiguous while the picture is open; its window
    // menu keeps the entries, without keys.
    for (QAction* entry : m_picSubWindow->systemMenu()->actions())
        entry->setShortcuts({});

    BuildMenuBar();
    // The examples come last among the file commands, before the line above
    // "退出".
    QMenu* file = menuBar()->findChild<QMenu*>(FromUtf8(kMenuBar[0].name));
    m_examplesMenu = new QMenu(FromUtf8(kExamplesMenuCaption), file);
    m_examplesMenu->setObjectName(FromUtf8(kExamplesMenuName));
    m_examplesMenu->menuAction()->setObjectName(FromUtf8(kExamplesMenuName));
    QAction* exitLine = nullptr;
    for (QAction* entry : file->actions())
        if (entry->isSeparator())
            exitLine = entry;
    file->insertMenu(exitLine, m_examplesMenu);
}

void MainWindow::BuildMenuBar()
{
    for (const MenuDefinition& definition : kMenuBar) {
        QMenu* menu = menuBar()->addMenu(FromUtf8(definition.caption));
        menu->setObjectName(FromUtf8(definition.name));
        for (const MenuEntry& entry : definition.entries) {
            QAction* item = entry.command == ShellCommand::Separator ? menu->addSeparator()
                                                                     : menu->addAction(FromUtf8(entry.caption));
            item->setObjectName(FromUtf8(entry.name));
            if (entry.command == ShellCommand::Separator)
                continue;
            if (!entry.shortcut.empty())
                item->setShortcut(QKeySequence(FromUtf8(entry.shortcut), QKeySequence::PortableText));
            const ShellCommand command = entry.command;
            connect(item, &QAction::triggered, this, [this, command] { emit commandTriggered(command); });
            m_actions[command] = item;
        }
    }
}

QAction* MainWindow::action(ShellCommand command) const
{
    auto found = m_actions.find(command);
    return found == m_actions.end() ? nullptr : found->second;
}

void MainWindow::ShareShortcutsWith(QWidget& form)
{
    for (const auto& [command, entry] : m_actions)
        if (!entry->shortcut().isEmpty())
            form.addAction(entry);
    // A text box would keep Ctrl+Z (undo) and Ctrl+E (end of line) for
    // itself; in the program's forms the menu's keys come first.
    for (QLineEdit* box : form.findChildren<QLineEdit*>())
        box->installEventFilter(this);
}

bool MainWindow::IsMenuShortcut(const QKeyEvent& key) const
{
    const QKeySequence pressed(key.keyCombination());
    for (const auto& [command, entry] : m_actions)
        if (!entry->shortcut().isEmpty() && entry->shortcut() == pressed)
            return true;
    return false;
}

void MainWindow::ShowPicture(const QString& caption)
{
    frmPicWindow->setWindowTitle(caption);
    m_picSubWindow->setWindowTitle(caption);
    frmPicWindow->show();
    m_picSubWindow->show();
    m_mdiArea->setActiveSubWindow(m_picSubWindow);
    // Only at start-up does the main window come to the front: a diagram
    // drawn later leaves the forms where the student works above it.
    if (isVisible())
        return;
    // The whole screen is the room the forms are placed in beside the
    // picture; also where no window manager maximises.
    if (const QScreen* screen = this->screen())
        setGeometry(screen->availableGeometry());
    showMaximized();
    raise();
    activateWindow();
}

TwipsSize MainWindow::InnerSizeTwips() const
{
    return {PixelsToTwipsX(m_mdiArea->width(), *this), PixelsToTwipsY(m_mdiArea->height(), *this)};
}

double MainWindow::PictureWidthTwips() const
{
    return PixelsToTwipsX(m_picSubWindow->width(), *this);
}

double MainWindow::PictureRightTwips() const
{
    return PixelsToTwipsX(m_picSubWindow->x() + m_picSubWindow->width(), *this);
}

void MainWindow::SharePicture(std::function<TwipsSize(TwipsSize)> share)
{
    m_pictureShare = std::move(share);
    ApplyPictureShare();
}

void MainWindow::ApplyPictureShare()
{
    const TwipsSize size = m_pictureShare(InnerSizeTwips());
    m_picSubWindow->resize(QSize(TwipsToPixelsX(size.width, *this), TwipsToPixelsY(size.height, *this)));
    // The size the picture window took, which its least size may have made
    // larger than the share: only a size the student gives it himself ends
    // the share.
    m_sharedPictureSize = m_picSubWindow->size();
}

bool MainWindow::eventFilter(QObject* watched, QEvent* event)
{
    // Not claimed by the text box, the key goes to the menu entry.
    if (event->type() == QEvent::ShortcutOverride && qobject_cast<QLineEdit*>(watched) != nullptr &&
        IsMenuShortcut(*static_cast<QKeyEvent*>(event))) {
        event->ignore();
        return true;
    }
    if (watched == m_mdiArea && event->type() == QEvent::Resize && m_pictureShare) {
        if (m_picSubWindow->size() == m_sharedPictureSize)
            ApplyPictureShare();
        else
            m_pictureShare = {};
    }
    return QMainWindow::eventFilter(watched, event);
}

QPoint MainWindow::ScreenPoint(TwipsPoint point) const
{
    return m_mdiArea->mapToGlobal(QPoint(TwipsToPixelsX(point.left, *this), TwipsToPixelsY(point.top, *this)));
}

// Unsaved work may keep the window: the shell asks, and ends the program.
void MainWindow::closeEvent(QCloseEvent* event)
{
    event->ignore();
    emit closedByFrame();
}

}  // namespace tavrin
