#include "ReportTestSupport.h"

#include "report/MacCanonicalInventoryBuilder.h"

using namespace wrenlow;

// Whole snapshots of the shapes the scan writes, block by block against reports written out by hand.
class TestCanonicalFixtures : public QObject
{
    Q_OBJECT

private slots:
    void blocks_data()
    {
        QTest::addColumn<QJsonValue>("actual");
        QTest::addColumn<QJsonValue>("expected");
        for (const char *name : {"macbook-apple-silicon", "intel-desktop", "not-reported", "empty"}) {
            const QJsonObject actual = MacCanonicalInventoryBuilder::build(reporttest::fixture(name));
            QJsonObject expected = reporttest::fixtureObject(QString(name) + ".canonical.json");
            expected.insert("tool_version", WRENLOW_VERSION);
            QStringList keys = actual.keys() + expected.keys();
            keys.removeDuplicates();
            for (const QString &key : keys)
                QTest::addRow("%s/%s", name, qPrintable(key)) << actual.value(key) << expected.value(key);
        }
    }

    void blocks()
    {
        QFETCH(QJsonValue, actual);
        QFETCH(QJsonValue, expected);
        COMPARE_JSON(actual, expected);
    }
};

QTEST_GUILESS_MAIN(TestCanonicalFixtures)
#include "TestCanonicalFixtures.moc"
