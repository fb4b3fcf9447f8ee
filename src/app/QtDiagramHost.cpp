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
      }),
      m_choice([promptParent](const QString& prompt, const QString& title,
                              const QStringList& entries) -> std::optional<int> {
          bool ok = false;
          const QString chosen = QInputDialog::getItem(promptParent, title, prompt, entries, 0, false, &ok);
          if (!ok)
              return std::nullopt;
          return static_cast<int>(entries.indexOf(chosen));
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

std::optional<std::size_t> QtDiagramHost::AskChoice(std::string_view prompt, std::string_view title,
                                                    const std::vector<std::string>& entries)
{
    QStringList texts;
    for (const std::string& entry : entries)
        texts << FromUtf8(entry);
    const std::optional<int> chosen = m_choice(FromUtf8(prompt), FromUtf8(title), texts);
    if (!chosen || *chosen < 0 || *chosen >= texts.size())
        return std::nullopt;
    return static_cast<std::size_t>(*chosen);
}

}  // namespace tavrin
