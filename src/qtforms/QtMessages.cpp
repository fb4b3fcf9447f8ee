#include "qtforms/QtMessages.h"

#include <QApplication>
#include <QPushButton>

#include "qtforms/QtControls.h"

namespace tavrin {

std::unique_ptr<QMessageBox> QtMessages::MakeBox(std::string_view text, std::string_view title) const
{
    auto box = std::make_unique<QMessageBox>(m_parent);
    box->setText(FromUtf8(text));
    box->setStandardButtons(QMessageBox::Ok);
    if (title.empty()) {
        box->setIcon(QMessageBox::NoIcon);
        box->setWindowTitle(QApplication::applicationDisplayName());
    } else {
        box->setIcon(QMessageBox::Warning);
        box->setWindowTitle(FromUtf8(title));
    }
    return box;
}

void QtMessages::Show(std::string_view text, std::string_view title)
{
    MakeBox(text, title)->exec();
}

std::size_t AskWithThreeAnswers(QWidget* parent, std::string_view title, std::string_view question,
                                const std::array<std::string_view, 3>& answers)
{
    QMessageBox box(QMessageBox::Question, title.empty() ? QApplication::applicationDisplayName() : FromUtf8(title),
                    FromUtf8(question), QMessageBox::NoButton, parent);
    constexpr QMessageBox::ButtonRole kRoles[] = {QMessageBox::AcceptRole, QMessageBox::DestructiveRole,
                                                  QMessageBox::RejectRole};
    std::array<QPushButton*, 3> buttons{};
    for (std::size_t i = 0; i < answers.size(); ++i)
        buttons[i] = box.addButton(FromUtf8(answers[i]), kRoles[i]);
    box.setDefaultButton(buttons[0]);
    box.setEscapeButton(buttons[2]);
    box.exec();
    if (box.clickedButton() == buttons[0])
        return 0;
    if (box.clickedButton() == buttons[1])
        return 1;
    return 2;
}

}  // namespace tavrin
