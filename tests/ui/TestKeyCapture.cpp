#include "ui/KeyCaptureView.h"
#include "ui/KeySpec.h"
#include "ui/MacKeyCode.h"

#include <QAction>
#include <QKeyEvent>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>
#include <QVBoxLayout>

using namespace wrenlow;

namespace {

// The X11 keycode (evdev + 8) of every key of the test layout, row by row in the layout's order; fn's code is
// above X11's 255 and arrives only on Wayland.
const QList<QList<quint32>> xkbKeycodes{
    {9, 10, 11, 12, 13, 14, 15, 16, 17, 18, 19, 20, 21, 22}, {23, 24, 25, 26, 27, 28, 29, 30, 31, 32, 33, 34, 35, 51},
    {66, 38, 39, 40, 41, 42, 43, 44, 45, 46, 47, 48, 36},    {50, 52, 53, 54, 55, 56, 57, 58, 59, 60, 61, 62},
    {472, 37, 64, 133, 65, 134, 108, 113, 116, 111, 114},
};

QKeyEvent xkbEvent(QEvent::Type type, quint32 keycode, bool autoRepeat = false)
{
    return QKeyEvent(type, Qt::Key_unknown, Qt::NoModifier, keycode, 0, 0, QString(), autoRepeat);
}

} // namespace

class TestKeyCapture : public QObject
{
    Q_OBJECT

    QWidget *m_window = nullptr;
    KeyCaptureView *m_capture = nullptr;
    QPushButton *m_button = nullptr;
    QAction *m_rescan = nullptr;
    QList<quint16> m_codes;

private slots:
    void init()
    {
        m_window = new QWidget;
        auto *layout = new QVBoxLayout(m_window);
        m_button = new QPushButton(QStringLiteral("Next"), m_window);
        m_capture = new KeyCaptureView(m_window);
        layout->addWidget(m_capture);
        layout->addWidget(m_button);
        m_rescan = new QAction(m_window);
        m_rescan->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_R));
        m_window->addAction(m_rescan);
        m_codes.clear();
        m_capture->setOnKey([this](quint16 code) { m_codes.append(code); });
        m_window->show();
        QVERIFY(QTest::qWaitForWindowActive(m_window));
        m_capture->requestFocus();
        QTRY_VERIFY(m_capture->hasFocus());
    }

    void cleanup() { delete m_window; }

    void everyKeyOfTheLayoutHasItsOwnXkbKeycode_data()
    {
        QTest::addColumn<quint32>("keycode");
        QTest::addColumn<quint16>("code");
        const auto &rows = keyboardTestRows();
        QCOMPARE(keyboardTestKeyCount(), 64);
        QCOMPARE(xkbKeycodes.size(), rows.size());
        for (qsizetype row = 0; row < rows.size(); ++row) {
            QCOMPARE(xkbKeycodes[row].size(), rows[row].size());
            for (qsizetype column = 0; column < rows[row].size(); ++column)
                QTest::addRow("%s (row %d)", qPrintable(rows[row][column].label), int(row + 1))
                    << xkbKeycodes[row][column] << rows[row][column].code;
        }
    }

    void everyKeyOfTheLayoutHasItsOwnXkbKeycode()
    {
        QFETCH(quint32, keycode);
        QFETCH(quint16, code);
        auto press = xkbEvent(QEvent::KeyPress, keycode);
        QApplication::sendEvent(m_capture, &press);
        QCOMPARE(m_codes, QList<quint16>{code});
    }

    void keysOffTheLayout_data()
    {
        QTest::addColumn<quint32>("keycode");
        QTest::addColumn<int>("qtKey");
        QTest::addColumn<int>("code"); // -1: a code of the unmapped range
        QTest::newRow("right control has its own macOS code") << 105u << int(Qt::Key_Control) << 62;
        QTest::newRow("keypad 1") << 87u << int(Qt::Key_1) << -1;
        QTest::newRow("F5") << 71u << int(Qt::Key_F5) << -1;
        QTest::newRow("no native code: the Qt key A") << 0u << int(Qt::Key_A) << 0;
        QTest::newRow("no native code: the Qt key Down") << 0u << int(Qt::Key_Down) << 125;
        QTest::newRow("no native code: the Qt key F5") << 0u << int(Qt::Key_F5) << -1;
    }

    void keysOffTheLayout()
    {
        QFETCH(quint32, keycode);
        QFETCH(int, qtKey);
        QFETCH(int, code);
        QKeyEvent press(QEvent::KeyPress, qtKey, Qt::NoModifier, keycode, 0, 0);
        const quint16 got = mackeycode::fromKeyEvent(press);
        if (code >= 0)
            QCOMPARE(got, quint16(code));
        else
            QVERIFY2(got >= mackeycode::firstUnmappedCode, qPrintable(QString::number(got)));
    }

    void unmappedKeysStayApart()
    {
        QSet<quint16> codes;
        for (quint32 keycode : {87u, 88u, 71u, 72u, 49u, 94u})
            codes.insert(mackeycode::fromKeyEvent(xkbEvent(QEvent::KeyPress, keycode)));
        QCOMPARE(codes.size(), 6);
    }

    void pressesRepeatsAndModifierReleases_data()
    {
        QTest::addColumn<QList<std::tuple<bool, quint32, bool>>>("events"); // press?, keycode, auto-repeat?
        QTest::addColumn<QList<quint16>>("codes");
        QTest::newRow("A held down") << QList<std::tuple<bool, quint32, bool>>{{true, 38, false},
                                                                               {false, 38, true},
                                                                               {true, 38, true},
                                                                               {false, 38, false}}
                                     << QList<quint16>{0, 0};
        QTest::newRow("left shift pressed and released")
            << QList<std::tuple<bool, quint32, bool>>{{true, 50, false}, {false, 50, false}} << QList<quint16>{56, 56};
        QTest::newRow("right option pressed and released")
            << QList<std::tuple<bool, quint32, bool>>{{true, 108, false}, {false, 108, false}}
            << QList<quint16>{61, 61};
    }

    void pressesRepeatsAndModifierReleases()
    {
        using Event = std::tuple<bool, quint32, bool>;
        QFETCH(QList<Event>, events);
        QFETCH(QList<quint16>, codes);
        for (const auto &[press, keycode, autoRepeat] : events) {
            auto event = xkbEvent(press ? QEvent::KeyPress : QEvent::KeyRelease, keycode, autoRepeat);
            QApplication::sendEvent(m_capture, &event);
        }
        QCOMPARE(m_codes, codes);
    }

    void keysDoNothingElse_data()
    {
        QTest::addColumn<int>("key");
        QTest::addColumn<Qt::KeyboardModifiers>("modifiers");
        QTest::addColumn<QList<quint16>>("codes");
        QTest::newRow("Tab") << int(Qt::Key_Tab) << Qt::KeyboardModifiers() << QList<quint16>{48};
        QTest::newRow("Escape") << int(Qt::Key_Escape) << Qt::KeyboardModifiers() << QList<quint16>{53};
        QTest::newRow("Return") << int(Qt::Key_Return) << Qt::KeyboardModifiers() << QList<quint16>{36};
        // Control reports its press and its release around the R.
        QTest::newRow("Ctrl+R") << int(Qt::Key_R) << Qt::KeyboardModifiers(Qt::ControlModifier)
                                << QList<quint16>{59, 15, 59};
        QTest::newRow("Alt") << int(Qt::Key_Alt) << Qt::KeyboardModifiers() << QList<quint16>{58, 58};
    }

    void keysDoNothingElse()
    {
        QFETCH(int, key);
        QFETCH(Qt::KeyboardModifiers, modifiers);
        QFETCH(QList<quint16>, codes);
        QSignalSpy rescans(m_rescan, &QAction::triggered);
        QSignalSpy clicks(m_button, &QPushButton::clicked);
        QTest::keyClick(m_capture, Qt::Key(key), modifiers);
        QCOMPARE(m_codes, codes);
        QVERIFY(m_capture->hasFocus());
        QCOMPARE(rescans.count(), 0);
        QCOMPARE(clicks.count(), 0);
    }

    void aKeyWithoutCallbackIsSwallowed()
    {
        m_capture->setOnKey({});
        QSignalSpy rescans(m_rescan, &QAction::triggered);
        QTest::keyClick(m_capture, Qt::Key_R, Qt::ControlModifier);
        QCOMPARE(rescans.count(), 0);
        QVERIFY(m_capture->hasFocus());
    }
};

QTEST_MAIN(TestKeyCapture)
#include "TestKeyCapture.moc"
