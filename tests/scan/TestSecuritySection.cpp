#include "scan/SecuritySection.h"

#include "SnapshotText.h"

#include <QTest>

using namespace wrenlow;

class TestSecuritySection : public QObject
{
    Q_OBJECT

private slots:
    void rows_data()
    {
        QTest::addColumn<QStringList>("outputs"); // csrutil, spctl, fdesetup, profiles
        QTest::addColumn<QStringList>("expected");

        QTest::newRow("custom SIP, FileVault decrypting, DEP only")
            << QStringList{"System Integrity Protection status: unknown (Custom Configuration).\n"
                           "Configuration:\n\tKext Signing: ENABLED",
                           "assessments disabled", "Decryption in progress",
                           "Enrolled via DEP: Yes\nMDM enrollment: No"}
            << QStringList{R"(good System Integrity Protection = "Enabled")",
                           R"(warning Gatekeeper = "assessments disabled")", R"(good FileVault = "On")",
                           R"(good MDM Enrollment = "Not enrolled")",
                           R"(warning Automated Device Enrollment = "Enrolled")"};
        QTest::newRow("off, lower-case enrollment with a remark")
            << QStringList{"", "", "FileVault is Off.", "enrolled via dep: no\nmdm enrollment: yes (user approved)"}
            << QStringList{R"(warning System Integrity Protection = "Unknown")", R"(warning Gatekeeper = "Unknown")",
                           R"(normal FileVault = "FileVault is Off.")", R"(warning MDM Enrollment = "Enrolled")",
                           R"(good Automated Device Enrollment = "Not enrolled")"};
    }

    void rows()
    {
        QFETCH(QStringList, outputs);
        QFETCH(QStringList, expected);
        const auto section = builders::securitySection({outputs[0], outputs[1], outputs[2], outputs[3]});
        QCOMPARE(test::sectionLines(section), expected);
    }
};

QTEST_GUILESS_MAIN(TestSecuritySection)
#include "TestSecuritySection.moc"
