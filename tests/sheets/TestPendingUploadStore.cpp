#include "sheets/PendingUploadStore.h"

#include "common/WrenlowError.h"
#include "sheets/SheetsClientError.h"

#include <QDir>
#include <QFile>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>
#include <QThread>

using namespace wrenlow;

namespace {

void writeBytes(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size())
        qFatal("cannot write %s", qPrintable(path));
}

QByteArray bytesOf(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("(missing)");
}

const QJsonObject payload{
    {"action", "upload"}, {"reportId", "wzel-1"}, {"routing", QJsonObject{{"projectId", "P"}, {"empId", "E1"}}}};

} // namespace

class TestPendingUploadStore : public QObject
{
    Q_OBJECT

    QTemporaryDir m_home;
    QString m_queue;

private slots:
    void initTestCase() { qputenv("HOME", QFile::encodeName(m_home.path())); }

    // Each test gets its own queue folder, two levels below the temporary home.
    void init() { m_queue = m_home.filePath(QString("queue-%1/nested").arg(QTest::currentTestFunction())); }

    void defaultFolderIsUnderHomeAndUntouchedUntilSaving()
    {
        const PendingUploadStore store;
        QCOMPARE(store.directory(), m_home.path() + "/Library/Application Support/Wrenlow Zel Mac/PendingUploads");
        QCOMPARE(store.count(), 0);
        QVERIFY(!QFileInfo::exists(m_home.filePath("Library")));
    }

    void saveWritesANewIndentedFileNamedAfterTheLocalTime()
    {
        const PendingUploadStore store(m_queue);
        const QString file = store.save(payload);

        const QFileInfo info(file);
        QCOMPARE(info.absolutePath(), m_queue);
        const QRegularExpression pattern(
            R"(^pending-\d{8}-\d{9}-[0-9a-f]{8}-[0-9a-f]{4}-[0-9a-f]{4}-[0-9a-f]{4}-[0-9a-f]{12}\.json$)");
        QVERIFY2(pattern.match(info.fileName()).hasMatch(), qPrintable(file));
        const QDateTime named = QDateTime::fromString(info.fileName().mid(8, 18), "yyyyMMdd-HHmmsszzz");
        QVERIFY(qAbs(named.msecsTo(QDateTime::currentDateTime())) < 60'000);

        QVERIFY(bytesOf(file).contains("\n    \"reportId\": \"wzel-1\""));
        QCOMPARE(store.read(file), payload);
        QVERIFY(!QFileInfo::exists(PendingUploadStore().directory()));
    }

    void filesListsJsonOldestFirstAndSkipsTheRest()
    {
        const PendingUploadStore store(m_queue);
        const QString first = store.save(payload);
        QThread::msleep(3);
        const QString second = store.save(payload);
        for (const char *name : {"pending-00000000-000000000-upper.JSON", ".pending-00000000-000000000-hidden.json",
                                 "notes.txt", "pending.json.tmp"})
            writeBytes(m_queue + "/" + name, "{}");

        QCOMPARE(store.files(), (QStringList{m_queue + "/pending-00000000-000000000-upper.JSON", first, second}));
        QCOMPARE(store.count(), 3);
    }

    void readAndRemoveFailures()
    {
        const PendingUploadStore store(m_queue);
        QDir().mkpath(m_queue);
        writeBytes(m_queue + "/array.json", "[1, 2]");
        writeBytes(m_queue + "/broken.json", "{\"action\": ");

        try {
            store.read(m_queue + "/array.json");
            QFAIL("an array was read as a payload");
        } catch (const SheetsClientError &error) {
            QCOMPARE(error.kind(), SheetsClientError::Kind::InvalidResponse);
        }
        QVERIFY_THROWS_EXCEPTION(PlatformError, store.read(m_queue + "/broken.json"));
        QVERIFY_THROWS_EXCEPTION(PlatformError, store.read(m_queue + "/missing.json"));

        store.remove(m_queue + "/array.json");
        QVERIFY(!QFileInfo::exists(m_queue + "/array.json"));
        QVERIFY_THROWS_EXCEPTION(PlatformError, store.remove(m_queue + "/array.json"));
    }

    void aBadFileIsSetAsideWithItsBytesKept()
    {
        const PendingUploadStore store(m_queue);
        const QString good = store.save(payload);
        const QString bad = m_queue + "/pending-00000000-000000000-bad.json";
        writeBytes(bad, "not json at all");

        const QString aside = store.setAside(bad);
        QVERIFY(!QFileInfo::exists(bad));
        QCOMPARE(bytesOf(aside), "not json at all");
        QCOMPARE(QFileInfo(aside).absolutePath(), m_queue);
        QCOMPARE(store.files(), QStringList{good});

        // A later bad file of the same name must not replace the one already set aside.
        writeBytes(bad, "other bytes");
        QVERIFY_THROWS_EXCEPTION(PlatformError, store.setAside(bad));
        QCOMPARE(bytesOf(aside), "not json at all");
        QCOMPARE(bytesOf(bad), "other bytes");
    }

    void aFailedSaveLeavesNoFile()
    {
        writeBytes(m_home.filePath("blocker"), "a file where the folder should be");
        const PendingUploadStore store(m_home.filePath("blocker/queue"));
        QVERIFY_THROWS_EXCEPTION(PlatformError, store.save(payload));
        QCOMPARE(store.files(), QStringList());
    }
};

QTEST_GUILESS_MAIN(TestPendingUploadStore)
#include "TestPendingUploadStore.moc"
