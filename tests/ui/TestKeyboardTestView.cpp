#include "ui/components/StatusPill.h"
#include "ui/devicetests/KeyCap.h"
#include "ui/devicetests/KeyCaptureView.h"
#include "ui/devicetests/KeyboardTestView.h"

#include <QAbstractButton>
#include <QApplication>
#include <QKeyEvent>
#include <QSignalSpy>
#include <QTest>

using namespace wrenlow;

class TestKeyboardTestView : public QObject
{
    Q_OBJECT

    std::unique_ptr<KeyboardTestView> m_sheet;
    QList<DiagnosticState> m_verdicts;

    QString counter() const { return m_sheet->findChild<StatusPill *>("keyboardCounter")->text(); }

    QSet<quint16> litCodes() const
    {
        QSet<quint16> codes;
        for (auto *cap : m_sheet->findChildren<KeyCap *>())
            if (cap->isPressed())
                codes.insert(cap->key().code);
        return codes;
    }

    // Keys as X11 reports them (evdev + 8), sent where the keyboard focus is.
    static void press(const QList<quint32> &keycodes)
    {
        for (quint32 keycode : keycodes) {
            QKeyEvent event(QEvent::KeyPress, Qt::Key_unknown, Qt::NoModifier, keycode, 0, 0);
            QApplication::sendEvent(QApplication::focusWidget(), &event);
        }
    }

    void click(const QString &name) { QTest::mouseClick(m_sheet->findChild<QAbstractButton *>(name), Qt::LeftButton); }

private slots:
    void init()
    {
        m_verdicts.clear();
        m_sheet = std::make_unique<KeyboardTestView>([this](DiagnosticState state) { m_verdicts.append(state); });
        m_sheet->show();
        QVERIFY(QTest::qWaitForWindowActive(m_sheet.get()));
        QTRY_VERIFY(m_sheet->findChild<KeyCaptureView *>()->hasFocus());
        QVERIFY(m_sheet->width() >= 900 && m_sheet->height() >= 480);
    }

    void keysLightTheirCapsAndCount_data()
    {
        QTest::addColumn<QList<quint32>>("keycodes");
        QTest::addColumn<QString>("counter");
        QTest::addColumn<QSet<quint16>>("lit");
        // clang-format off
        QTest::newRow("nothing yet") << QList<quint32>{} << "0 / 64" << QSet<quint16>{};
        QTest::newRow("A twice") << QList<quint32>{38, 38} << "1 / 64" << QSet<quint16>{0};
        QTest::newRow("Escape and Return light, close nothing") << QList<quint32>{9, 36} << "2 / 64" << QSet<quint16>{53, 36};
        QTest::newRow("keypad keys and right control count, light nothing") << QList<quint32>{87, 88, 105, 38} << "4 / 64" << QSet<quint16>{0};
        // clang-format on
    }

    void keysLightTheirCapsAndCount()
    {
        QFETCH(QList<quint32>, keycodes);
        QSignalSpy dismissals(m_sheet.get(), &KeyboardTestView::dismissRequested);
        press(keycodes);
        QTEST(counter(), "counter");
        QTEST(litCodes(), "lit");
        QVERIFY(dismissals.isEmpty() && m_verdicts.isEmpty());
    }

    void resetDarkensEverythingAndKeepsTheKeyboard()
    {
        press({38, 65});
        click("keyboardReset");
        QCOMPARE(counter(), "0 / 64");
        QVERIFY(litCodes().isEmpty() && m_verdicts.isEmpty());
        // The clicked button must not keep Space for itself: Space lights its key and presses nothing.
        QTRY_VERIFY(m_sheet->findChild<KeyCaptureView *>()->hasFocus());
        QTest::keyClick(static_cast<QWidget *>(nullptr), Qt::Key_Space);
        QCOMPARE(litCodes(), QSet<quint16>{49});
    }

    void verdictIsReportedOnceThenDismissed_data()
    {
        QTest::addColumn<QString>("button");
        QTest::addColumn<QList<quint32>>("keycodes");
        QTest::addColumn<DiagnosticState>("verdict");
        // clang-format off
        QTest::newRow("Pass with no key lit") << "keyboardPass" << QList<quint32>{} << DiagnosticState::Pass;
        QTest::newRow("Fail with keys lit") << "keyboardFail" << QList<quint32>{24, 25} << DiagnosticState::Fail;
        // clang-format on
    }

    void verdictIsReportedOnceThenDismissed()
    {
        QFETCH(QString, button);
        QFETCH(QList<quint32>, keycodes);
        QFETCH(DiagnosticState, verdict);
        press(keycodes);
        QList<DiagnosticState> reportedBeforeDismissal;
        connect(m_sheet.get(), &KeyboardTestView::dismissRequested, this,
                [&] { reportedBeforeDismissal = m_verdicts; });
        click(button);
        QCOMPARE(m_verdicts, QList<DiagnosticState>{verdict});
        QCOMPARE(reportedBeforeDismissal, QList<DiagnosticState>{verdict});
    }
};

QTEST_MAIN(TestKeyboardTestView)
#include "TestKeyboardTestView.moc"
