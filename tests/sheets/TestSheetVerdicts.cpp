#include "sheets/SheetVerdicts.h"

#include <QTest>

using namespace wrenlow;

namespace {

using States = QList<DiagnosticState>;
constexpr auto Ready = DiagnosticState::Ready;
constexpr auto Pass = DiagnosticState::Pass;
constexpr auto Fail = DiagnosticState::Fail;
constexpr auto Review = DiagnosticState::Review;
constexpr auto NA = DiagnosticState::NotApplicable;

DiagnosticItem item(const QString &id, DiagnosticState state, const QStringList &devices = {})
{
    return DiagnosticItem{id, id, state, "detail", "symbol", devices};
}

InventorySnapshot withStates(const States &states)
{
    InventorySnapshot snapshot;
    for (qsizetype i = 0; i < states.size(); ++i)
        snapshot.diagnostics.append(item(QString("check-%1").arg(i), states.at(i)));
    return snapshot;
}

} // namespace

class TestSheetVerdicts : public QObject
{
    Q_OBJECT

private slots:
    void verdictMatrix_data()
    {
        QTest::addColumn<States>("states");
        QTest::addColumn<bool>("allComplete");
        QTest::addColumn<QString>("pass");
        QTest::addColumn<QString>("check");
        QTest::addColumn<QString>("review");

        const auto v = [](const char *text) { return QString(text); };
        QTest::newRow("all not applicable") << States{NA, NA} << false << v("") << v("No") << v("");
        QTest::newRow("all pass") << States{Pass, NA, Pass} << true << v("Yes") << v("Yes") << v("Yes");
        QTest::newRow("one fail") << States{Pass, Fail, Review, Ready} << false << v("No") << v("No") << v("No");
        QTest::newRow("one review") << States{Pass, Review, NA} << true << v("") << v("Review") << v("Review");
        QTest::newRow("review while another is ready")
            << States{Review, Ready} << false << v("") << v("No") << v("Review");
    }
    void verdictMatrix()
    {
        QFETCH(States, states);
        const SheetVerdicts verdicts = SheetVerdicts::from(withStates(states));
        QTEST(verdicts.allComplete, "allComplete");
        QTEST(verdicts.passVerdict(), "pass");
        QTEST(verdicts.checkVerdict(), "check");
        QTEST(verdicts.reviewVerdict(), "review");
    }

    void webcamAndPlatformSecurityComeFromTheFirstItemWithTheirId()
    {
        InventorySnapshot snapshot;
        snapshot.diagnostics = {item("Camera", Pass, {"USB Camera"}), item("camera", Ready),
                                item("camera", Pass, {"FaceTime HD Camera"}), item("mac-security", NA)};
        const SheetVerdicts verdicts = SheetVerdicts::from(snapshot);
        QCOMPARE(verdicts.hasWebcam, false);
        QCOMPARE(verdicts.securityState, "N/A");
        QCOMPARE(SheetVerdicts::from(InventorySnapshot()).securityState, "");
    }
};

QTEST_GUILESS_MAIN(TestSheetVerdicts)
#include "TestSheetVerdicts.moc"
