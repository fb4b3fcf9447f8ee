#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QtTest>

#include "analysis/ModelTypeDialog.h"

namespace tavrin {

class ModelTypeDialogQtTest : public QObject {
    Q_OBJECT

private:
    template <class Widget>
    static Widget* Find(QWidget& dialog, const char* name)
    {
        auto* widget = dialog.findChild<Widget*>(QString::fromLatin1(name));
        if (!widget)
            qFatal("no control %s", name);
        return widget;
    }

    // Opens the dialog, chooses, types the degree and presses "确定".
    static bool Answer(ModelTypeDialog& dialog, bool indeterminate, const char* degree)
    {
        dialog.Open();
        QTest::mouseClick(Find<QRadioButton>(dialog, indeterminate ? "Option2" : "Option1"), Qt::LeftButton);
        if (indeterminate)
            QTest::keyClicks(Find<QLineEdit>(dialog, "Text1"), QString::fromUtf8(degree));
        QTest::mouseClick(Find<QPushButton>(dialog, "OKButton"), Qt::LeftButton);
        return dialog.isVisible();
    }

private slots:
    void showsItsControlsAsDesigned()
    {
        StructureModel model;
        RecordingMessages messages;
        ModelTypeDialog dialog(model, messages);
        bool placed = false;
        dialog.Open([&](QWidget& w) {
            placed = true;
            w.move(40, 30);
        });
        QVERIFY(placed);
        QCOMPARE(dialog.objectName(), QStringLiteral("Dialog"));
        QCOMPARE(dialog.windowTitle(), QString::fromUtf8("计算模型类型分析"));
        QVERIFY(!dialog.isModal());
        QVERIFY(!(dialog.windowFlags() & Qt::WindowMinMaxButtonsHint));
        QCOMPARE(Find<QLabel>(dialog, "Label2")->text(), QString::fromUtf8("确定结构的分析模型类型："));
        QCOMPARE(Find<QGroupBox>(dialog, "Frame1")->title(), QString::fromUtf8("静定/超静定"));
        QCOMPARE(Find<QRadioButton>(dialog, "Option1")->text(), QString::fromUtf8("静定结构"));
        QCOMPARE(Find<QRadioButton>(dialog, "Option2")->text(), QString::fromUtf8("超静定结构"));
        QCOMPARE(Find<QGroupBox>(dialog, "Frame2")->title(), QString::fromUtf8("输入超静定计算信息："));
        QCOMPARE(Find<QLabel>(dialog, "Label1")->text(), QString::fromUtf8("超静定次数："));
        QCOMPARE(Find<QPushButton>(dialog, "OKButton")->text(), QString::fromUtf8("确定"));
        auto* check1 = Find<QCheckBox>(dialog, "Check1");
        auto* check2 = Find<QCheckBox>(dialog, "Check2");
        auto* check3 = Find<QCheckBox>(dialog, "Check3");
        QCOMPARE(check1->text(), QString::fromUtf8("位移计算考虑抗弯刚度EI"));
        QCOMPARE(check2->text(), QString::fromUtf8("位移计算考虑抗剪刚度GA"));
        QCOMPARE(check3->text(), QString::fromUtf8("位移计算考虑抗拉刚度EA"));
        QVERIFY(check1->isChecked() && check1->isEnabled());
        QVERIFY(!check2->isChecked() && !check2->isEnabled());
        QVERIFY(!check3->isChecked() && !check3->isEnabled());
        QVERIFY(Find<QRadioButton>(dialog, "Option1")->isChecked());
        QVERIFY(!Find<QGroupBox>(dialog, "Frame2")->isVisible());
        QCOMPARE(dialog.pos(), QPoint(40, 30));
    }

    void optionsShowAndHideTheDegree()
    {
        StructureModel model;
        RecordingMessages messages;
        ModelTypeDialog dialog(model, messages);
        dialog.Open();
        auto* frame2 = Find<QGroupBox>(dialog, "Frame2");
        QTest::mouseClick(Find<QRadioButton>(dialog, "Option2"), Qt::LeftButton);
        QVERIFY(frame2->isVisible());
        QTest::mouseClick(Find<QRadioButton>(dialog, "Option1"), Qt::LeftButton);
        QVERIFY(!frame2->isVisible());
    }

    void eachOpeningTicksTheBendingStiffnessAgain()
    {
        StructureModel model;
        RecordingMessages messages;
        ModelTypeDialog dialog(model, messages);
        auto* check1 = Find<QCheckBox>(dialog, "Check1");
        dialog.Open();
        QTest::mouseClick(Find<QRadioButton>(dialog, "Option2"), Qt::LeftButton);
        QTest::mouseClick(check1, Qt::LeftButton);
        QVERIFY(!check1->isChecked());
        QTest::keyClicks(Find<QLineEdit>(dialog, "Text1"), QStringLiteral("1"));
        QTest::mouseClick(Find<QPushButton>(dialog, "OKButton"), Qt::LeftButton);
        QVERIFY(!dialog.isVisible());
        dialog.Open();
        QVERIFY(check1->isChecked());
    }

    void acceptsTheDegreeAndRefusesANegativeOne()
    {
        StructureModel model;
        RecordingMessages messages;
        ModelTypeDialog dialog(model, messages);

        QVERIFY(!Answer(dialog, true, "2"));
        QCOMPARE(model.IndeterminacyDegree, std::int16_t{2});

        // The degree typed last time is not shown again; a determinate
        // structure has none.
        dialog.Open();
        QVERIFY(Find<QLineEdit>(dialog, "Text1")->text().isEmpty());
        QVERIFY(!Answer(dialog, false, ""));
        QCOMPARE(model.IndeterminacyDegree, std::int16_t{0});

        QVERIFY(!Answer(dialog, true, "2.5"));
        QCOMPARE(model.IndeterminacyDegree, std::int16_t{2});

        QVERIFY(Answer(dialog, true, "-3"));
        QCOMPARE(model.IndeterminacyDegree, std::int16_t{2});
        QCOMPARE(messages.shown.size(), std::size_t{1});
        QCOMPARE(Find<QLineEdit>(dialog, "Text1")->text(), QStringLiteral("-3"));
    }
};

}  // namespace tavrin

QTEST_MAIN(tavrin::ModelTypeDialogQtTest)
#include "ModelTypeDialogQtTest.moc"
