#include "scan/DisplaySections.h"

#include "JsonLiteral.h"
#include "SnapshotText.h"

#include <QTest>

using namespace wrenlow;

class TestDisplaySections : public QObject
{
    Q_OBJECT

private slots:
    void coreCountsAndDisplayFallbacks()
    {
        const auto section = builders::graphicsSection(test::object(R"({"SPDisplaysDataType": [
            {"sppci_cores": 10, "spdisplays_ndrvs": [{"_name": "A", "spdisplays_pixelresolution": "1920 x 1080"}]},
            {"sppci_cores": "3O", "spdisplays_ndrvs": [{"_name": "B"}, {}]}, {"sppci_cores": ""},
            {"sppci_cores": "-8"}]})"));
        QCOMPARE(test::sectionLines(section),
                 (QStringList{R"(good Graphics = "Not reported")", R"(normal Graphics cores = "10")",
                              R"(normal Display = "A | 1920 x 1080")", R"(good Graphics 2 = "Not reported")",
                              R"(normal Display 1 = "B | Resolution not reported")",
                              R"(normal Display 2 = "Display 2 | Resolution not reported")",
                              R"(good Graphics 3 = "Not reported")", R"(good Graphics 4 = "Not reported")"}));
    }
};

QTEST_GUILESS_MAIN(TestDisplaySections)
#include "TestDisplaySections.moc"
