#pragma once

#include <string_view>

#include <QString>

namespace tavrin {

// The core keeps its texts as UTF-8.
inline QString Utf8(std::string_view text)
{
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

}  // namespace tavrin
