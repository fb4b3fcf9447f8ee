#pragma once

#include <QDialog>

#include "model/Messages.h"

class QFrame;
class QLabel;
class QPushButton;

namespace tavrin {

// frmAbout "关于Tavrin": a small fixed box over the main window, shown
// modeless from the help menu. "确定" closes it; "系统信息" tells through the
// message sink that no system information tool can be started here.
class AboutDialog : public QDialog {
    Q_OBJECT

public:
    explicit AboutDialog(MessageSink& messages, QWidget* parent = nullptr);

private:
    MessageSink& m_messages;
    QLabel* picIcon;
    QLabel* lblDescription;
    QLabel* lblDisclaimer;
    QFrame* Line1;  // etched: grey line over a white one
    QFrame* Line2;
    QPushButton* cmdOK;
    QPushButton* cmdSysInfo;
};

}  // namespace tavrin
