#include "scan/IdentitySections.h"

#include "JsonLiteral.h"
#include "SnapshotText.h"

#include <QTest>

using namespace wrenlow;

class TestIdentitySections : public QObject
{
    Q_OBJECT

private slots:
    void processor_data()
    {
        QTest::addColumn<QByteArray>("hardware");
        QTest::addColumn<QStringList>("expected"); // after the name and "Architecture" rows

        QTest::newRow("the usual keys win over Intel's")
            << QByteArray(R"({"processor_name": "Core i9", "cpu_type": "8-Core", "processor_speed": "2.4 GHz",
                "current_processor_speed": "1.2 GHz", "number_cores": 8, "number_processors": 1})")
            << QStringList{R"(good Processor = "Core i9")", R"(normal Reported speed = "2.4 GHz")",
                           R"(normal Physical cores = "8")"};
        QTest::newRow("a speed that is not text hides Intel's")
            << QByteArray(R"({"processor_speed": 2.4, "current_processor_speed": "2.4 GHz"})")
            << QStringList{R"(good Processor = "Not reported")"};
        QTest::newRow("a core count held as text is ignored")
            << QByteArray(R"({"number_cores": "8", "number_processors": "proc  12:8:4"})")
            << QStringList{R"(good Processor = "Not reported")", R"(normal CPU cores = "12")"};
        QTest::newRow("one word") << QByteArray(R"({"number_processors": "proc"})")
                                  << QStringList{R"(good Processor = "Not reported")",
                                                 R"(normal Processor topology = "proc")"};
        QTest::newRow("only a colon") << QByteArray(R"({"number_processors": "proc :"})")
                                      << QStringList{R"(good Processor = "Not reported")",
                                                     R"(normal Processor topology = "proc :")"};
    }

    void processor()
    {
        QFETCH(QByteArray, hardware);
        QFETCH(QStringList, expected);
        QStringList lines = test::sectionLines(builders::processorSection(test::object(hardware), "i386"));
        QCOMPARE(lines.takeAt(1), R"(normal Architecture = "i386")");
        QCOMPARE(lines, expected);
    }
};

QTEST_GUILESS_MAIN(TestIdentitySections)
#include "TestIdentitySections.moc"
