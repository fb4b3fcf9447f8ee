#pragma once

#include <string>
#include <string_view>
#include <vector>

#include <QComboBox>
#include <QString>
#include <QStringList>

namespace tavrin {

// The core keeps its texts as UTF-8.
inline QString FromUtf8(std::string_view text)
{
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

// The frame of the program's forms: a dialog window of the main window,
// which the window system keeps above it and minimises with it, with a
// title and a close button only.
inline constexpr Qt::WindowFlags kOwnedFormFlags =
    Qt::Dialog | Qt::WindowTitleHint | Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint;

// A form's control carries its name as objectName; a caption given becomes
// its title (frames) or its text (labels, buttons).
template <class Widget>
Widget* Named(Widget* widget, const char* name, std::string_view caption = {})
{
    widget->setObjectName(QString::fromLatin1(name));
    if (!caption.empty()) {
        if constexpr (requires { widget->setTitle(QString()); })
            widget->setTitle(FromUtf8(caption));
        else if constexpr (requires { widget->setText(QString()); })
            widget->setText(FromUtf8(caption));
    }
    return widget;
}

// Gives a drop-down list these entries, in this order. A list that already
// holds them is left alone, so that its current entry and its edit text stay.
inline void ShowEntries(QComboBox& list, const std::vector<std::string>& entries)
{
    QStringList wanted;
    for (const std::string& entry : entries)
        wanted << QString::fromStdString(entry);
    QStringList shown;
    for (int i = 0; i < list.count(); ++i)
        shown << list.itemText(i);
    if (shown == wanted)
        return;
    list.clear();
    list.addItems(wanted);
}

}  // namespace tavrin
