#pragma once

// The widget tests' hands: keys typed where the keyboard focus is, entries
// clicked in a list's open popup, and rows typed into a form's input grid
// through its floating editors, as the student does it.

#include <vector>

#include <QAbstractItemView>
#include <QApplication>
#include <QComboBox>
#include <QLineEdit>
#include <QSignalSpy>
#include <QString>
#include <QTableWidget>
#include <QTest>

namespace tavrin::testing {

// The form's control named `name`; a test cannot go on without it.
template <class T>
T* Control(const QWidget& form, const char* name)
{
    T* widget = form.findChild<T*>(QString::fromLatin1(name));
    if (!widget)
        qFatal("control %s missing", name);
    return widget;
}

// Keys go to the widget that has the keyboard focus; ' ' is Space.
inline void Type(const QString& keys)
{
    for (const QChar key : keys) {
        QWidget* focus = QApplication::focusWidget();
        QVERIFY(focus);
        if (key == QLatin1Char(' '))
            QTest::keyClick(focus, Qt::Key_Space);
        else
            QTest::keyClick(focus, key.toLatin1());
    }
}

inline void Press(Qt::Key key)
{
    QWidget* focus = QApplication::focusWidget();
    QVERIFY(focus);
    QTest::keyClick(focus, key);
}

// Opens the list's popup and clicks entry `index`; the list reports the
// choice once, as it does for a click.
inline void ChooseEntry(QComboBox& list, int index)
{
    QSignalSpy chosen(&list, &QComboBox::activated);
    list.showPopup();
    QAbstractItemView* view = list.view();
    QVERIFY(view->isVisible());
    const QRect item = view->visualRect(view->model()->index(index, list.modelColumn()));
    QTest::mouseClick(view->viewport(), Qt::LeftButton, {}, item.center());
    QCOMPARE(chosen.count(), 1);
}

inline void ChooseInList(QComboBox& list, const QString& entry)
{
    const int index = list.findText(entry);
    QVERIFY2(index >= 0, qPrintable(entry));
    ChooseEntry(list, index);
}

// A grid form's floating list editor shows while it is open, and the entry
// clicked closes it.
inline void ChooseInListEditor(QComboBox& list, const QString& entry)
{
    QVERIFY(list.isVisible());
    ChooseInList(list, entry);
    QVERIFY(!list.isVisible());
}

// Types rows into an input grid through its floating editors: a typed cell
// starts with a key on the grid and is confirmed with Enter in the text box;
// a list cell opens with Space and takes the entry clicked. The editors move
// the current cell on by themselves, skipping the columns a row does not need,
// so each row lists only the cells the student fills or, with an empty text,
// passes by blank.
class GridTyping {
public:
    explicit GridTyping(QWidget& form)
        : m_grid(*Control<QTableWidget>(form, "MSFlexGrid1")),
          m_text(*Control<QLineEdit>(form, "Text1")),
          m_list(*Control<QComboBox>(form, "Combo1"))
    {
    }

    void Type(const QString& text)
    {
        QTest::keyClicks(&m_grid, text.left(1));
        QVERIFY(m_text.isVisible());
        QTest::keyClicks(&m_text, text.mid(1));
        QCOMPARE(m_text.text(), text);
        QTest::keyClick(&m_text, Qt::Key_Return);
        QVERIFY(!m_text.isVisible());
    }
    // Enter opens the empty cell's text box, Enter confirms it blank.
    void Blank()
    {
        QTest::keyClick(&m_grid, Qt::Key_Return);
        QVERIFY(m_text.isVisible());
        QCOMPARE(m_text.text(), QString());
        QTest::keyClick(&m_text, Qt::Key_Return);
        QVERIFY(!m_text.isVisible());
    }
    void Choose(const char* entry)
    {
        QTest::keyClick(&m_grid, Qt::Key_Space);
        ChooseInListEditor(m_list, QString::fromUtf8(entry));
    }
    // A cell is typed when its text is a number, left blank when it is empty.
    void Row(const std::vector<const char*>& cells)
    {
        for (const char* cell : cells) {
            const QString text = QString::fromUtf8(cell);
            bool number = false;
            text.toDouble(&number);
            if (text.isEmpty())
                Blank();
            else if (number)
                Type(text);
            else
                Choose(cell);
            if (QTest::currentTestFailed())
                return;
        }
    }

private:
    QTableWidget& m_grid;
    QLineEdit& m_text;
    QComboBox& m_list;
};

}  // namespace tavrin::testing
