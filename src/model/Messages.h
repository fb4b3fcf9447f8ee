#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace tavrin {

// What the core has to tell the student. The core never shows a window: it
// hands the text to this interface; the forms show a message box with an OK
// button (a warning icon when a title is given), tests and the batch tool
// record it.
class MessageSink {
public:
    virtual ~MessageSink() = default;
    virtual void Show(std::string_view text, std::string_view title = {}) = 0;
};

struct ShownMessage {
    std::string text;
    std::string title;
    bool operator==(const ShownMessage&) const = default;
};

class RecordingMessages : public MessageSink {
public:
    void Show(std::string_view text, std::string_view title = {}) override
    {
        shown.push_back({std::string(text), std::string(title)});
    }
    std::vector<ShownMessage> shown;
};

// Passes every message on and keeps the last one, so that the caller can
// tell whether the routines it called spoke, and what they said last.
class WatchingMessages : public MessageSink {
public:
    explicit WatchingMessages(MessageSink& messages) : m_messages(messages) {}
    void Show(std::string_view text, std::string_view title = {}) override
    {
        m_shown = true;
        m_last = text;
        m_messages.Show(text, title);
    }
    bool Shown() const { return m_shown; }
    const std::string& Last() const { return m_last; }

private:
    MessageSink& m_messages;
    bool m_shown = false;
    std::string m_last;
};

}  // namespace tavrin
