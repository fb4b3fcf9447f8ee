#pragma once

#include <QWidget>

class QLabel;
class QPushButton;

namespace tavrin {

// frmMainPage "欢迎使用": the first and only window at start-up. "进入"
// hands over to the main window.
class MainPageForm : public QWidget {
    Q_OBJECT

public:
    explicit MainPageForm(QWidget* parent = nullptr);

signals:
    void entered();

private:
    QLabel* Label1;  // welcome
    QLabel* Label2;  // program title
    QLabel* Label3;  // credits
    QLabel* Label4;
    QPushButton* Command1;
};

}  // namespace tavrin
