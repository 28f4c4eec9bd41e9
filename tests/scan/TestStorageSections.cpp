#include "scan/StorageSections.h"

#include "JsonLiteral.h"
#include "SnapshotText.h"

#include <QTest>

using namespace wrenlow;

class TestStorageSections : public QObject
{
    Q_OBJECT

private slots:
    void modulesUseTheirNumbersEvenWithoutRows()
    {
        const auto section = builders::memorySection(
            test::object(R"({"SPMemoryDataType": [{"_items": [{"dimm_speed": " "}, {"dimm_manufacturer": "Micron"},
                {"dimm_size": "8 GB", "dimm_part_number": "X1"}]}]})"),
            test::object(R"({"physical_memory": "16 GB"})"));
        QCOMPARE(test::sectionLines(section), (QStringList{R"(good Installed = "16 GB")", R"(normal Module 2 = "8 GB")",
                                                           R"(normal Module 2 part = "X1")"}));
    }

    void drives_data()
    {
        QTest::addColumn<QByteArray>("profile");
        QTest::addColumn<QStringList>("expected");

        QTest::newRow("a removable disk claims its key and its twin's")
            << QByteArray(R"({
                "SPNVMeDataType": [{"_items": [{"bsd_name": "disk4", "device_model": "Card", "removable_media": "YES"}]}],
                "SPSerialATADataType": [{"_items": [{"bsd_name": "disk4", "device_model": "Card", "size": "64 GB"},
                    {"bsd_name": "disk5", "device_model": "HDD", "size": "2 TB", "detachable_drive": "yes"},
                    {"bsd_name": "disk6", "device_model": "SSD", "size": "1 TB", "smart_status": "FAILING"}]}]})")
            << QStringList{R"(good Disk 1 = "1 TB | SSD")", R"(normal Disk 1 device = "disk6")",
                           R"(warning Disk 1 SMART = "FAILING")"};
        QTest::newRow("an unnamed disk, whose volumes are no disks")
            << QByteArray(R"({"SPNVMeDataType": [
                {"_name": "Controller", "_items": [{"bsd_name": "disk0", "size": "2 TB", "_name": " ", "volumes": [
                    {"bsd_name": "disk0s1", "size": "1 TB", "_name": "Data"}]}]}]})")
            << QStringList{R"(good Disk 1 = "2 TB | Internal storage 1")", R"(normal Disk 1 device = "disk0")"};
        QTest::newRow("no size, SMART in any case")
            << QByteArray(R"({"SPSerialATADataType": [{"device_model": 42, "smart_status": "smart VERIFIED ok"}]})")
            << QStringList{R"(good Disk 1 = "Not reported | 42")", R"(good Disk 1 SMART = "smart VERIFIED ok")"};
    }

    void drives()
    {
        QFETCH(QByteArray, profile);
        QFETCH(QStringList, expected);
        QCOMPARE(test::sectionLines(builders::drivesSection(test::object(profile))), expected);
    }
};

QTEST_GUILESS_MAIN(TestStorageSections)
#include "TestStorageSections.moc"
