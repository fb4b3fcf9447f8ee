#pragma once

#include <array>
#include <cstddef>
#include <memory>
#include <string_view>

#include <QMessageBox>

#include "model/Messages.h"

class QWidget;

namespace tavrin {

// Shows each message in a modal box with an OK button over `parent`: with a
// warning icon and the given title when there is one, otherwise titled with
// the application's name. Tests hand the forms a RecordingMessages instead,
// so no test waits on a box.
class QtMessages : public MessageSink {
public:
    explicit QtMessages(QWidget* parent = nullptr) : m_parent(parent) {}

    void Show(std::string_view text, std::string_view title = {}) override;

    // The box Show() runs, built but not shown.
    std::unique_ptr<QMessageBox> MakeBox(std::string_view text, std::string_view title) const;

private:
    QWidget* m_parent;
};

// Asks `question` in a modal box over `parent`, titled `title` (the
// application's name when empty), with a button for each answer: the first
// is the default, the second throws the work away, the third is the escape
// and the answer when the box is closed otherwise. The index of the answer.
std::size_t AskWithThreeAnswers(QWidget* parent, std::string_view title, std::string_view question,
                                const std::array<std::string_view, 3>& answers);

}  // namespace tavrin
