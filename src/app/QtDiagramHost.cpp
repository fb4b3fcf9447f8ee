#include "app/QtDiagramHost.h"

#include <QInputDialog>
#include <QLineEdit>

#include "qtforms/QtControls.h"

namespace tavrin {

QtDiagramHost::QtDiagramHost(PictureShower showPicture, QWidget* promptParent)
    : m_showPicture(std::move(showPicture)),
      m_prompt([promptParent](const QString& prompt, const QString& title) -> std::optional<QString> {
          bool ok = false;
          QString answer = QInputDialog::getText(promptParent, title, prompt, QLineEdit::Normal, QString(), &ok);
          if (!ok)
              return std::nullopt;
          return answer;
      })
{
}

void QtDiagramHost::ShowPicture(std::string_view caption)
{
    m_showPicture(FromUtf8(caption));
}

std::optional<std::string> QtDiagramHost::AskScale(std::string_view prompt, std::string_view title)
{
    std::optional<QString> answer = m_prompt(FromUtf8(prompt), FromUtf8(title));
    if (!answer)
        return std::nullopt;
    return answer->toStdString();
}

}  // namespace tavrin
