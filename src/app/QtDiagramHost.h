#pragma once

#include <functional>
#include <optional>
#include <string>
#include <string_view>

#include <QString>

#include "diagrams/InternalForceDiagrams.h"

class QWidget;

namespace tavrin {

// The diagrams' view of the main window: the picture window takes the
// diagram's caption and comes to the front, and the scale is asked in a
// text input box.
class QtDiagramHost : public DiagramHost {
public:
    // Asks a text with no default; std::nullopt when cancelled.
    using TextPrompt = std::function<std::optional<QString>(const QString& prompt, const QString& title)>;
    using PictureShower = std::function<void(const QString& caption)>;

    // The default prompt is a QInputDialog over `promptParent`.
    QtDiagramHost(PictureShower showPicture, QWidget* promptParent);

    // Replaces the input box, e.g. by a test's fixed answer.
    void SetScalePrompt(TextPrompt prompt) { m_prompt = std::move(prompt); }

    void ShowPicture(std::string_view caption) override;
    std::optional<std::string> AskScale(std::string_view prompt, std::string_view title) override;

private:
    PictureShower m_showPicture;
    TextPrompt m_prompt;
};

}  // namespace tavrin
