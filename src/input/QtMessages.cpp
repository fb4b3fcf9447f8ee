#include "input/QtMessages.h"

#include <QApplication>

namespace tavrin {

namespace {
QString FromUtf8(std::string_view text) { return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size())); }
}  // namespace

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

void QtMessages::Show(std::string_view text, std::string_view title) { MakeBox(text, title)->exec(); }

}  // namespace tavrin
