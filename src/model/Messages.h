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

}  // namespace tavrin
