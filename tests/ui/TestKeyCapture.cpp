#include "ui/devicetests/KeyCaptureView.h"
#include "ui/devicetests/KeySpec.h"

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

// press?, X11 keycode, auto-repeat?
using Events = QList<std::tuple<bool, quint32, bool>>;

// What a Mac delivers for one key change: the platform's own event (an NSEvent type and the macOS key code), and
// Qt's key event made from it, if any (here the same key's X11 keycode).
constexpr quint64 qtRelease = 0, qtPress = 1;
using Native = uiplatform::NativeKeyEvent;
using Delivered = QList<std::pair<quint64, quint32>>;

} // namespace

class TestKeyCapture : public QObject
{
    Q_OBJECT

    QWidget m_window;
    KeyCaptureView *m_capture = new KeyCaptureView(&m_window);
    KeyCaptureView *m_macCapture = new KeyCaptureView(&m_window, KeyCaptureView::ModifierSource::PlatformEvents);
    QPushButton *m_button = new QPushButton("Next", &m_window);
    QAction *m_rescan = new QAction(&m_window);
    QList<quint16> m_codes;

    void send(const Events &events)
    {
        for (const auto &[press, keycode, autoRepeat] : events) {
            QKeyEvent event(press ? QEvent::KeyPress : QEvent::KeyRelease, Qt::Key_unknown, Qt::NoModifier, keycode, 0,
                            0, QString(), autoRepeat);
            QApplication::sendEvent(m_capture, &event);
        }
    }

private slots:
    void initTestCase()
    {
        auto *layout = new QVBoxLayout(&m_window);
        layout->addWidget(m_capture);
        layout->addWidget(m_macCapture);
        layout->addWidget(m_button);
        m_rescan->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_R));
        m_window.addAction(m_rescan);
        m_capture->setOnKey([this](quint16 code) { m_codes.append(code); });
        m_macCapture->setOnKey([this](quint16 code) { m_codes.append(code); });
        m_window.show();
        QVERIFY(QTest::qWaitForWindowActive(&m_window));
    }

    void init()
    {
        m_codes.clear();
        m_capture->requestFocus();
        QTRY_VERIFY(m_capture->hasFocus());
    }

    void everyKeyOfTheLayoutHasItsOwnXkbKeycode_data()
    {
        QTest::addColumn<quint32>("keycode");
        QTest::addColumn<quint16>("code");
        const auto &rows = keyboardTestRows();
        for (qsizetype row = 0; row < rows.size(); ++row) {
            QCOMPARE(xkbKeycodes.at(row).size(), rows[row].size());
            for (qsizetype column = 0; column < rows[row].size(); ++column)
                QTest::addRow("%s (row %d)", qPrintable(rows[row][column].label), int(row + 1))
                    << xkbKeycodes[row][column] << rows[row][column].code;
        }
    }

    void everyKeyOfTheLayoutHasItsOwnXkbKeycode()
    {
        QFETCH(quint32, keycode);
        QFETCH(quint16, code);
        send({{true, keycode, false}});
        QCOMPARE(m_codes, QList<quint16>{code});
    }

    void reportedCodes_data()
    {
        QTest::addColumn<Events>("events");
        QTest::addColumn<QList<quint16>>("codes");
        // clang-format off
        QTest::newRow("A held down: every press, no release") << Events{{true, 38, false}, {false, 38, true}, {true, 38, true}, {false, 38, false}} << QList<quint16>{0, 0};
        QTest::newRow("left shift: press and release") << Events{{true, 50, false}, {false, 50, false}} << QList<quint16>{56, 56};
        QTest::newRow("right option: press and release") << Events{{true, 108, false}, {false, 108, false}} << QList<quint16>{61, 61};
        QTest::newRow("right control has a code of its own") << Events{{true, 105, false}} << QList<quint16>{62};
        // clang-format on
    }

    void reportedCodes()
    {
        QFETCH(Events, events);
        send(events);
        QTEST(m_codes, "codes");
    }

    // On a Mac the platform's modifier events report every change once, Qt's copies of them nothing.
    void macModifierChangesReportOnce_data()
    {
        QTest::addColumn<Delivered>("delivered");
        QTest::addColumn<QList<quint16>>("codes");
        const quint64 flags = Native::FlagsChanged;
        // clang-format off
        QTest::newRow("left shift") << Delivered{{flags, 56}, {qtPress, 50}, {flags, 56}, {qtRelease, 50}} << QList<quint16>{56, 56};
        QTest::newRow("fn, which Qt never sees") << Delivered{{flags, 63}, {flags, 63}} << QList<quint16>{63, 63};
        QTest::newRow("right shift beside a held left shift") << Delivered{{flags, 56}, {qtPress, 50}, {flags, 60}, {flags, 60}, {flags, 56}, {qtRelease, 50}} << QList<quint16>{56, 60, 60, 56};
        QTest::newRow("left command beside a held right command") << Delivered{{flags, 54}, {qtPress, 134}, {flags, 55}, {flags, 55}, {flags, 54}, {qtRelease, 134}} << QList<quint16>{54, 55, 55, 54};
        QTest::newRow("right option, right control") << Delivered{{flags, 61}, {qtPress, 108}, {flags, 61}, {qtRelease, 108}, {flags, 62}, {qtPress, 105}} << QList<quint16>{61, 61, 62};
        QTest::newRow("caps lock on and off") << Delivered{{flags, 57}, {qtPress, 66}, {qtRelease, 66}, {flags, 57}, {qtPress, 66}, {qtRelease, 66}} << QList<quint16>{57, 57};
        QTest::newRow("A: its press comes through Qt") << Delivered{{Native::KeyDown, 0}, {qtPress, 38}, {Native::KeyUp, 0}, {qtRelease, 38}} << QList<quint16>{0};
        // clang-format on
    }

    void macModifierChangesReportOnce()
    {
        QFETCH(Delivered, delivered);
        QVERIFY(!m_macCapture->takeNativeKeyEvent({Native::FlagsChanged, 63})); // not focused: nothing
        QVERIFY(m_codes.isEmpty());
        m_macCapture->requestFocus();
        QTRY_VERIFY(m_macCapture->hasFocus());
        for (const auto &[kind, code] : delivered) {
            if (kind > qtPress) {
                m_macCapture->takeNativeKeyEvent({kind, quint16(code)});
                continue;
            }
            QKeyEvent event(kind == qtPress ? QEvent::KeyPress : QEvent::KeyRelease, Qt::Key_unknown, Qt::NoModifier,
                            code, 0, 0);
            QApplication::sendEvent(m_macCapture, &event);
        }
        QTEST(m_codes, "codes");
    }

    // Without a native code (the offscreen platform) the Qt key decides. Either way no key does anything else.
    void keysDoNothingElse_data()
    {
        QTest::addColumn<int>("key");
        QTest::addColumn<Qt::KeyboardModifiers>("modifiers");
        QTest::addColumn<QList<quint16>>("codes");
        // clang-format off
        QTest::newRow("Tab") << int(Qt::Key_Tab) << Qt::KeyboardModifiers() << QList<quint16>{48};
        QTest::newRow("Escape") << int(Qt::Key_Escape) << Qt::KeyboardModifiers() << QList<quint16>{53};
        QTest::newRow("Return") << int(Qt::Key_Return) << Qt::KeyboardModifiers() << QList<quint16>{36};
        QTest::newRow("Ctrl+R") << int(Qt::Key_R) << Qt::KeyboardModifiers(Qt::ControlModifier) << QList<quint16>{59, 15, 59};
        // clang-format on
    }

    void keysDoNothingElse()
    {
        QFETCH(int, key);
        QFETCH(Qt::KeyboardModifiers, modifiers);
        QSignalSpy rescans(m_rescan, &QAction::triggered);
        QSignalSpy clicks(m_button, &QPushButton::clicked);
        QTest::keyClick(m_capture, Qt::Key(key), modifiers);
        QTEST(m_codes, "codes");
        QVERIFY(m_capture->hasFocus());
        QCOMPARE(rescans.count() + clicks.count(), 0);
    }
};

QTEST_MAIN(TestKeyCapture)
#include "TestKeyCapture.moc"
