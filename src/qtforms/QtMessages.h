#pragma once

#include <memory>

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

}  // namespace tavrin
