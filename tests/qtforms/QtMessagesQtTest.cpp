#include <QApplication>
#include <QWidget>
#include <QtTest>

#include "qtforms/QtMessages.h"

using namespace tavrin;

namespace {

QString U(const char* text)
{
    return QString::fromUtf8(text);
}

}  // namespace

class QtMessagesQtTest : public QObject {
    Q_OBJECT

private slots:
    void messageBoxesCarryTheirTitleAndIcon();
};

void QtMessagesQtTest::messageBoxesCarryTheirTitleAndIcon()
{
    QApplication::setApplicationDisplayName(QStringLiteral("Tavrin"));
    QWidget form;
    QtMessages messages(&form);
    const auto warning = messages.MakeBox("方程无解", "警告!");
    QCOMPARE(warning->text(), U("方程无解"));
    QCOMPARE(warning->windowTitle(), U("警告!"));
    QCOMPARE(warning->icon(), QMessageBox::Warning);
    QCOMPARE(warning->standardButtons(), QMessageBox::StandardButtons(QMessageBox::Ok));
    const auto plain = messages.MakeBox("计算完毕", {});
    QCOMPARE(plain->windowTitle(), QStringLiteral("Tavrin"));
    QCOMPARE(plain->icon(), QMessageBox::NoIcon);
}

QTEST_MAIN(QtMessagesQtTest)
#include "QtMessagesQtTest.moc"
