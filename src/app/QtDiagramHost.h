#pragma once

#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include <QString>
#include <QStringList>

#include "diagrams/InternalForceDiagrams.h"

class QWidget;

namespace tavrin {

// The diagrams' view of the main window: the picture window takes the
// diagram's caption and comes to the front, and the scale is asked in a
// text input box; a load case to draw is chosen in a list input box.
class QtDiagramHost : public DiagramHost {
public:
    // Asks a text with no default; std::nullopt when cancelled.
    using TextPrompt = std::function<std::optional<QString>(const QString& prompt, const QString& title)>;
    using PictureShower = std::function<void(const QString& caption)>;
    // Asks for one of `entries`; its index, std::nullopt when cancelled.
    using ChoicePrompt =
        std::function<std::optional<int>(const QString& prompt, const QString& title, const QStringList& entries)>;

    // The default prompts are QInputDialogs over `promptParent`.
    QtDiagramHost(PictureShower showPicture, QWidget* promptParent);

    // Replaces the input box, e.g. by a test's fixed answer.
    void SetScalePrompt(TextPrompt prompt) { m_prompt = std::move(prompt); }
    void SetChoicePrompt(ChoicePrompt prompt) { m_choice = std::move(prompt); }

    void ShowPicture(std::string_view caption) override;
    std::optional<std::string> AskScale(std::string_view prompt, std::string_view title) override;
    // The index of the entry chosen, std::nullopt when cancelled.
    std::optional<std::size_t> AskChoice(std::string_view prompt, std::string_view title,
                                         const std::vector<std::string>& entries);

private:
    PictureShower m_showPicture;
    TextPrompt m_prompt;
    ChoicePrompt m_choice;
};

}  // namespace tavrin
