#include "ui/KeyCap.h"
#include "ui/KeyCaptureView.h"
#include "ui/KeyboardTestView.h"
#include "ui/StatusPill.h"

#include <QApplication>
#include <QKeyEvent>
#include <QAbstractButton>
#include <QSignalSpy>
#include <QTest>

using namespace wrenlow;

class TestKeyboardTestView : public QObject
{
    Q_OBJECT

    KeyboardTestView *m_sheet = nullptr;
    QList<DiagnosticState> m_verdicts;

    QString counter() const { return m_sheet->findChild<StatusPill *>(QStringLiteral("keyboardCounter"))->text(); }

    QSet<quint16> litCodes() const
    {
        QSet<quint16> codes;
        for (auto *cap : m_sheet->findChildren<KeyCap *>())
            if (cap->isPressed())
                codes.insert(cap->spec().code);
        return codes;
    }

    // A key as X11 reports it (evdev + 8), sent where the keyboard focus is.
    static void press(quint32 keycode, QEvent::Type type = QEvent::KeyPress, bool autoRepeat = false)
    {
        QKeyEvent event(type, Qt::Key_unknown, Qt::NoModifier, keycode, 0, 0, QString(), autoRepeat);
        QApplication::sendEvent(QApplication::focusWidget(), &event);
    }

    void click(const char *name)
    {
        QTest::mouseClick(m_sheet->findChild<QAbstractButton *>(QLatin1String(name)), Qt::LeftButton);
    }

private slots:
    void init()
    {
        m_verdicts.clear();
        m_sheet = new KeyboardTestView([this](DiagnosticState state) { m_verdicts.append(state); });
        m_sheet->show();
        QVERIFY(QTest::qWaitForWindowActive(m_sheet));
        QTRY_VERIFY(m_sheet->findChild<KeyCaptureView *>()->hasFocus());
    }

    void cleanup() { delete m_sheet; }

    void opensDarkAndAtLeastItsMinimumSize()
    {
        QCOMPARE(counter(), "0 / 64");
        QVERIFY(litCodes().isEmpty());
        QCOMPARE(m_sheet->findChildren<KeyCap *>().size(), 64);
        QVERIFY(m_sheet->width() >= 900 && m_sheet->height() >= 480);
    }

    void keysLightTheirCapsAndCount_data()
    {
        QTest::addColumn<QList<quint32>>("keycodes");
        QTest::addColumn<QString>("counter");
        QTest::addColumn<QSet<quint16>>("lit");
        QTest::newRow("A twice") << QList<quint32>{38, 38} << "1 / 64" << QSet<quint16>{0};
        QTest::newRow("Escape and Return") << QList<quint32>{9, 36} << "2 / 64" << QSet<quint16>{53, 36};
        QTest::newRow("keypad keys count but light nothing")
            << QList<quint32>{87, 88, 38} << "3 / 64" << QSet<quint16>{0};
        QTest::newRow("right control is not the layout's ctrl") << QList<quint32>{105} << "1 / 64" << QSet<quint16>{};
    }

    void keysLightTheirCapsAndCount()
    {
        QFETCH(QList<quint32>, keycodes);
        QFETCH(QString, counter);
        QFETCH(QSet<quint16>, lit);
        QSignalSpy dismissals(m_sheet, &KeyboardTestView::dismissRequested);
        for (quint32 keycode : keycodes)
            press(keycode);
        QCOMPARE(this->counter(), counter);
        QCOMPARE(litCodes(), lit);
        QCOMPARE(dismissals.count(), 0);
        QVERIFY(m_verdicts.isEmpty());
    }

    void leftShiftLightsOnlyTheLeftShift()
    {
        press(50);
        press(50, QEvent::KeyRelease);
        QCOMPARE(counter(), "1 / 64");
        QCOMPARE(litCodes(), QSet<quint16>{56});
    }

    void resetDarkensEverythingAndKeepsTheKeyboard()
    {
        press(38);
        press(65);
        click("keyboardReset");
        QCOMPARE(counter(), "0 / 64");
        QVERIFY(litCodes().isEmpty());
        QVERIFY(m_verdicts.isEmpty());
        // The clicked button must not keep Space for itself: Space lights its key and presses nothing.
        QTRY_VERIFY(m_sheet->findChild<KeyCaptureView *>()->hasFocus());
        QTest::keyClick(static_cast<QWidget *>(nullptr), Qt::Key_Space);
        QCOMPARE(counter(), "1 / 64");
        QCOMPARE(litCodes(), QSet<quint16>{49});
    }

    void verdictIsReportedOnceThenDismissed_data()
    {
        QTest::addColumn<QString>("button");
        QTest::addColumn<int>("keys");
        QTest::addColumn<DiagnosticState>("verdict");
        QTest::newRow("Pass with no key lit") << "keyboardPass" << 0 << DiagnosticState::Pass;
        QTest::newRow("Fail with keys lit") << "keyboardFail" << 3 << DiagnosticState::Fail;
    }

    void verdictIsReportedOnceThenDismissed()
    {
        QFETCH(QString, button);
        QFETCH(int, keys);
        QFETCH(DiagnosticState, verdict);
        for (int key = 0; key < keys; ++key)
            press(24 + quint32(key));
        QSignalSpy dismissals(m_sheet, &KeyboardTestView::dismissRequested);
        connect(m_sheet, &KeyboardTestView::dismissRequested, this, [&] { QCOMPARE(m_verdicts.size(), 1); });
        click(qPrintable(button));
        QCOMPARE(m_verdicts, QList<DiagnosticState>{verdict});
        QCOMPARE(dismissals.count(), 1);
    }
};

QTEST_MAIN(TestKeyboardTestView)
#include "TestKeyboardTestView.moc"
