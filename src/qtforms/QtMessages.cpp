#include "qtforms/QtMessages.h"

#include <QApplication>

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

}  // namespace tavrin
