#include "KeyDialog.h"
#include "Data/KeyTable.h"
#include "VirtualKey.h"

#include <QKeyEvent>
#include <QLabel>
#include <QtTest>
#include <algorithm>

// The key dialog captures the first accepted key, lets Escape cancel and swallows
// every refused key; Qt keys are mapped to virtual-key codes by the key pressed.
class KeyDialogTest : public QObject {
    Q_OBJECT

private:
    static void press(CKeyDialog& dialog, int key, Qt::KeyboardModifiers modifiers = {},
                      quint32 scanCode = 0) {
        QKeyEvent event(QEvent::KeyPress, key, modifiers, scanCode, 0, 0);
        QApplication::sendEvent(&dialog, &event);
    }

private slots:
    void lettersDigitsAndArrowsMapToTheirCodes() {
        QCOMPARE(VirtualKey::fromQtKey(Qt::Key_A, {}, 0), 65u);
        QCOMPARE(VirtualKey::fromQtKey(Qt::Key_Z, Qt::ShiftModifier, 0), 90u);
        QCOMPARE(VirtualKey::fromQtKey(Qt::Key_0, {}, 0), 48u);
        QCOMPARE(VirtualKey::fromQtKey(Qt::Key_9, {}, 0), 57u);
        QCOMPARE(VirtualKey::fromQtKey(Qt::Key_Left, {}, 0), 37u);
        QCOMPARE(VirtualKey::fromQtKey(Qt::Key_Up, {}, 0), 38u);
        QCOMPARE(VirtualKey::fromQtKey(Qt::Key_Right, {}, 0), 39u);
        QCOMPARE(VirtualKey::fromQtKey(Qt::Key_Down, {}, 0), 40u);
        QCOMPARE(VirtualKey::fromQtKey(Qt::Key_Shift, Qt::ShiftModifier, 0), 16u);
        QCOMPARE(VirtualKey::fromQtKey(Qt::Key_Control, Qt::ControlModifier, 0), 17u);
        QCOMPARE(VirtualKey::fromQtKey(Qt::Key_Alt, Qt::AltModifier, 0), 18u);
        QCOMPARE(VirtualKey::fromQtKey(Qt::Key_F1, {}, 0), 112u);
        QCOMPARE(VirtualKey::fromQtKey(Qt::Key_F24, {}, 0), 135u);
        QCOMPARE(VirtualKey::fromQtKey(Qt::Key_Escape, {}, 0), 27u);
    }

    void theDigitRowIsKnownByItsKeyNotItsCharacter() {
        // Shift+1 types "!" on a US layout; X key code 10 is the "1" key.
        QCOMPARE(VirtualKey::fromQtKey(Qt::Key_Exclam, Qt::ShiftModifier, 10), 49u);
        QCOMPARE(VirtualKey::fromQtKey(Qt::Key_ParenRight, Qt::ShiftModifier, 19), 48u);
        // An unshifted "&" on a French layout is the "1" key too.
        QCOMPARE(VirtualKey::fromQtKey(Qt::Key_Ampersand, {}, 10), 49u);
    }

    void keypadKeysHaveTheirOwnCodes() {
        QCOMPARE(VirtualKey::fromQtKey(Qt::Key_0, Qt::KeypadModifier, 90), 96u);
        QCOMPARE(VirtualKey::fromQtKey(Qt::Key_5, Qt::KeypadModifier, 84), 101u);
        QCOMPARE(VirtualKey::fromQtKey(Qt::Key_Asterisk, Qt::KeypadModifier, 0), 106u);
        QCOMPARE(VirtualKey::fromQtKey(Qt::Key_Plus, Qt::KeypadModifier, 0), 107u);
        QCOMPARE(VirtualKey::fromQtKey(Qt::Key_Minus, Qt::KeypadModifier, 0), 109u);
        QCOMPARE(VirtualKey::fromQtKey(Qt::Key_Period, Qt::KeypadModifier, 0), 110u);
        QCOMPARE(VirtualKey::fromQtKey(Qt::Key_Slash, Qt::KeypadModifier, 0), 111u);
        // Keypad navigation keys (Num Lock off) are the navigation keys.
        QCOMPARE(VirtualKey::fromQtKey(Qt::Key_Home, Qt::KeypadModifier, 0), 36u);
        QCOMPARE(VirtualKey::fromQtKey(Qt::Key_Enter, Qt::KeypadModifier, 0), 13u);
        // The same characters off the keypad are other keys.
        QCOMPARE(VirtualKey::fromQtKey(Qt::Key_Minus, {}, 0), 0u);
    }

    void pressingTheLeftArrowBindsCode37() {
        CKeyDialog dialog(QStringLiteral("Brake"));
        dialog.show();
        QTest::keyClick(&dialog, Qt::Key_Left);
        QVERIFY(dialog.isCaptured());
        QCOMPARE(dialog.keyCode(), 37u);
        QCOMPARE(dialog.result(), int(QDialog::Accepted));
        QVERIFY(!dialog.isVisible());
    }

    void refusedKeysAreSwallowedAndTheDialogStaysOpen() {
        CKeyDialog dialog(QStringLiteral("Brake"));
        dialog.show();
        for (const int key :
             {int(Qt::Key_F5), int(Qt::Key_Space), int(Qt::Key_Return), int(Qt::Key_CapsLock),
              int(Qt::Key_Pause), int(Qt::Key_Print), int(Qt::Key_Semicolon), int(Qt::Key_VolumeUp),
              int(Qt::Key_NumLock), int(Qt::Key_Super_L)}) {
            QTest::keyClick(&dialog, static_cast<Qt::Key>(key));
            QVERIFY2(dialog.isVisible(), qPrintable(QString::number(key, 16)));
            // Each refusal says why.
            QVERIFY2(!dialog.refusal().isEmpty(), qPrintable(QString::number(key, 16)));
        }
        QTest::keyClick(&dialog, Qt::Key_F5);
        QVERIFY(dialog.refusal().contains(QStringLiteral("Function keys")));
        QTest::keyClick(&dialog, Qt::Key_Return);
        QVERIFY(dialog.refusal().contains(QStringLiteral("Enter")));
        // The dialog names the control it sets.
        const QList<QLabel*> labels = dialog.findChildren<QLabel*>();
        QVERIFY(std::any_of(labels.begin(), labels.end(), [](const QLabel* label) {
            return label->text() == QStringLiteral("Press the key for Brake");
        }));
        QVERIFY(!dialog.isCaptured());
        // The next accepted key still counts.
        QTest::keyClick(&dialog, Qt::Key_W);
        QCOMPARE(dialog.keyCode(), 87u);
    }

    void escapeCancelsWithoutCapturing() {
        CKeyDialog dialog(QStringLiteral("Brake"));
        dialog.show();
        QTest::keyClick(&dialog, Qt::Key_Escape);
        QVERIFY(!dialog.isVisible());
        QVERIFY(!dialog.isCaptured());
        QCOMPARE(dialog.result(), int(QDialog::Rejected));
    }

    void acceptedSpecialKeysAreCaptured_data() {
        QTest::addColumn<int>("key");
        QTest::addColumn<int>("modifiers");
        QTest::addColumn<quint32>("scanCode");
        QTest::addColumn<unsigned int>("code");
        QTest::newRow("backspace") << int(Qt::Key_Backspace) << 0 << 0u << 8u;
        QTest::newRow("tab") << int(Qt::Key_Tab) << 0 << 0u << 9u;
        QTest::newRow("shift") << int(Qt::Key_Shift) << int(Qt::ShiftModifier) << 0u << 16u;
        QTest::newRow("page up") << int(Qt::Key_PageUp) << 0 << 0u << 33u;
        QTest::newRow("insert") << int(Qt::Key_Insert) << 0 << 0u << 45u;
        QTest::newRow("delete") << int(Qt::Key_Delete) << 0 << 0u << 46u;
        QTest::newRow("shift+1") << int(Qt::Key_Exclam) << int(Qt::ShiftModifier) << 10u << 49u;
        QTest::newRow("keypad 7") << int(Qt::Key_7) << int(Qt::KeypadModifier) << 79u << 103u;
        QTest::newRow("keypad /") << int(Qt::Key_Slash) << int(Qt::KeypadModifier) << 0u << 111u;
    }
    void acceptedSpecialKeysAreCaptured() {
        QFETCH(int, key);
        QFETCH(int, modifiers);
        QFETCH(quint32, scanCode);
        QFETCH(unsigned int, code);
        CKeyDialog dialog(QStringLiteral("Brake"));
        dialog.show();
        press(dialog, key, Qt::KeyboardModifiers(modifiers), scanCode);
        QVERIFY(dialog.isCaptured());
        QCOMPARE(dialog.keyCode(), code);
        QVERIFY(Data::KeyTable::isAccepted(dialog.keyCode()));
    }

    void onlyTheFirstKeyCounts() {
        CKeyDialog dialog(QStringLiteral("Brake"));
        dialog.show();
        press(dialog, Qt::Key_A);
        press(dialog, Qt::Key_B);
        QCOMPARE(dialog.keyCode(), 65u);
    }
};

QTEST_MAIN(KeyDialogTest)
#include "KeyDialogTest.moc"
