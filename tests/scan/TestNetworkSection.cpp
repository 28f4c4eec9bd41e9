#include "scan/NetworkSection.h"

#include "JsonLiteral.h"
#include "SnapshotText.h"

#include <QTest>

using namespace wrenlow;

class TestNetworkSection : public QObject
{
    Q_OBJECT

private slots:
    void wifiFallbacksAndLinkParts()
    {
        const auto profile = test::object(R"({"SPAirPortDataType": [{"spairport_airport_interfaces": [
            {"spairport_current_network_information": {"spairport_network_rate": "866"}},
            {"_name": "en1", "spairport_status_information": "Connected", "spairport_wireless_mac_address": "m",
             "spairport_current_network_information": {"spairport_network_channel": 6,
                "spairport_network_rate": 866, "spairport_signal_noise": "-60 dBm"}}]}]})");
        QCOMPARE(test::sectionLines(builders::networkSection(profile, "")),
                 (QStringList{R"(normal Wi-Fi = "Wi-Fi | Unknown")", R"(good Wi-Fi = "en1 | Connected")",
                              R"(normal Wi-Fi MAC = "m")", R"(normal Current Wi-Fi link = "6 | 866 Mbps | -60 dBm")"}));
    }

    void wiredPorts_data()
    {
        QTest::addColumn<QString>("ports");
        QTest::addColumn<QStringList>("expected");

        QTest::newRow("kinds of port") << "Hardware Port: Thunderbolt Ethernet Slot 1\nDevice: en5\n"
                                          "Ethernet Address: 00:11\n\n"
                                          "Hardware Port: Bluetooth LAN\nDevice: en6\n\n"
                                          "Hardware Port: Thunderbolt Bridge\nDevice: bridge0\n\n"
                                          "Hardware Port: iPhone USB\nDevice: en7\n\n"
                                          " Hardware Port: Ethernet 4\nDevice: en4\n\n"
                                          "Hardware Port: My VLAN\t \nDevice:   vlan0\nEthernet Address:   \n\n"
                                          "Hardware Port: USB 10/100/1000 lan\r\nDevice: en8\r\nEthernet Address: 22"
                                       << QStringList{R"(normal Thunderbolt Ethernet Slot 1 = "en5 | 00:11")",
                                                      R"(normal My VLAN = "vlan0")",
                                                      R"(normal USB 10/100/1000 lan = "en8 | 22")"};
        QTest::newRow("a line of blanks does not end a block")
            << "Hardware Port: Ethernet\nDevice: en0\n  \nHardware Port: Ethernet 2\nDevice: en1\n"
               "Ethernet Address: 33"
            << QStringList{R"(normal Ethernet = "en0 | 33")"};
    }

    void wiredPorts()
    {
        QFETCH(QString, ports);
        QFETCH(QStringList, expected);
        QCOMPARE(test::sectionLines(builders::networkSection({}, ports)), expected);
    }
};

QTEST_GUILESS_MAIN(TestNetworkSection)
#include "TestNetworkSection.moc"
