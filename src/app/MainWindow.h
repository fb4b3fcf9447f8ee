#pragma once

#include <functional>
#include <map>

#include <QMainWindow>
#include <QPoint>
#include <QSize>

#include "app/ShellMenus.h"
#include "input/InputTables.h"

class QAction;
class QKeyEvent;
class QMenu;
class QMdiArea;
class QMdiSubWindow;

namespace tavrin {

class PicWindow;

// MDIForm1 "Tavrin": the multiple-document frame around the picture window
// frmPicWindow, with the menu bar that drives the program. The window only
// reports commands; the application shell carries them out.
class MainWindow : public QMainWindow {
    Q_OBJECT

public:
    explicit MainWindow(QWidget* parent = nullptr);

    PicWindow& picWindow() { return *frmPicWindow; }
    QMdiSubWindow& picSubWindow() { return *m_picSubWindow; }
    // The menu entry that runs `command` (nullptr for Separator).
    QAction* action(ShellCommand command) const;
    // The submenu "示例" of "文件", which the shell fills.
    QMenu& examplesMenu() { return *m_examplesMenu; }
    // Makes the menu's shortcuts work while `form`, one of the program's
    // forms, is the active window, as they do in this window, also while
    // one of its text boxes has the keyboard focus.
    void ShareShortcutsWith(QWidget& form);

    // Gives the picture window its caption and shows it in front of the
    // other child windows; the first time, with the main window around it.
    void ShowPicture(const QString& caption);

    // Sizes in twips, the unit the form positions are given in: the inner
    // (client) area of the main window and the picture window's frame in it.
    TwipsSize InnerSizeTwips() const;
    double PictureWidthTwips() const;
    double PictureRightTwips() const;
    // Sizes the picture window by `share` of the inner area, now and again
    // whenever the inner area changes (as the window system settles the
    // maximised main window), until the student sizes the picture himself.
    void SharePicture(std::function<TwipsSize(TwipsSize inner)> share);
    // Screen position of a point given in twips from the inner area's corner.
    QPoint ScreenPoint(TwipsPoint point) const;

signals:
    void commandTriggered(ShellCommand command);
    // The student asked to close the main window by its frame; the window
    // stays until the shell ends the program.
    void closedByFrame();

protected:
    void closeEvent(QCloseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void BuildMenuBar();
    void ApplyPictureShare();
    bool IsMenuShortcut(const QKeyEvent& key) const;

    QMdiArea* m_mdiArea;
    PicWindow* frmPicWindow;
    QMdiSubWindow* m_picSubWindow;
    std::map<ShellCommand, QAction*> m_actions;
    QMenu* m_examplesMenu = nullptr;
    std::function<TwipsSize(TwipsSize)> m_pictureShare;
    QSize m_sharedPictureSize;  // as the picture window took it from the share last
};

}  // namespace tavrin
