#include "sheets/PendingUploadStore.h"

#include "common/WrenlowError.h"
#include "sheets/SheetsClientError.h"

#include <QDir>
#include <QFile>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>

#include <csignal>
#include <sys/resource.h>
#include <sys/stat.h>

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

// The error text of an operation, or "done" when it succeeded.
template <typename Operation> QString outcome(Operation operation)
{
    try {
        operation();
        return "done";
    } catch (const WrenlowError &error) {
        return error.description();
    }
}

const QJsonObject payload{
    {"action", "upload"}, {"reportId", "wzel-1"}, {"routing", QJsonObject{{"projectId", "P"}, {"empId", "E1"}}}};

} // namespace

class TestPendingUploadStore : public QObject
{
    Q_OBJECT

    QTemporaryDir m_home;
    QString m_queue;
    int m_queues = 0;

private slots:
    void initTestCase() { qputenv("HOME", QFile::encodeName(m_home.path())); }

    // Each test and row gets its own queue folder, two levels below the temporary home.
    void init() { m_queue = m_home.filePath(QString("queue-%1/nested").arg(++m_queues)); }

    void savedFilesListOldestFirstUnderTheirLocalTimeAndBadOnesGoAside()
    {
        QCOMPARE(PendingUploadStore().directory(),
                 m_home.path() + "/Library/Application Support/Wrenlow Zel Mac/PendingUploads");
        QList<QDateTime> moments{QDateTime(QDate(2026, 3, 4), QTime(17, 6, 7, 890)),
                                 QDateTime(QDate(2026, 3, 4), QTime(5, 6, 7, 89))};
        const PendingUploadStore store(m_queue, [&moments] { return moments.takeFirst(); });
        // Neither the order of creation nor its reverse is the queue's order.
        const QString later = store.save(payload);
        for (const char *name : {"pending-00000000-000000000-upper.JSON", ".pending-00000000-000000000-hidden.json",
                                 "notes.txt", "pending.json.tmp"})
            writeBytes(m_queue + "/" + name, "{}");
        const QString earlier = store.save(payload);
        const QRegularExpression pattern(
            R"(^pending-20260304-170607890-[0-9a-f]{8}-[0-9a-f]{4}-[0-9a-f]{4}-[0-9a-f]{4}-[0-9a-f]{12}\.json$)");
        QVERIFY2(pattern.match(QFileInfo(later).fileName()).hasMatch(), qPrintable(later));
        QVERIFY(bytesOf(later).contains("\n    \"reportId\": \"wzel-1\""));
        QCOMPARE(store.read(later), payload);
        QCOMPARE(store.files(), (QStringList{m_queue + "/pending-00000000-000000000-upper.JSON", earlier, later}));
        QCOMPARE(store.count(), 3);
        QVERIFY(!QFileInfo::exists(PendingUploadStore().directory()));
        store.remove(later);
        QVERIFY_THROWS_EXCEPTION(PlatformError, store.remove(later));
        // A bad file leaves the queue with its bytes kept, also when an earlier one of the same name was set aside.
        const QString bad = m_queue + "/pending-00000000-000000000-bad.json";
        QStringList asides;
        for (const QByteArray &bytes : {QByteArray("first"), QByteArray("second"), QByteArray("third")}) {
            writeBytes(bad, bytes);
            asides.append(store.setAside(bad));
            QCOMPARE(bytesOf(asides.last()), bytes);
        }
        QCOMPARE(asides, (QStringList{bad + ".unreadable", bad + ".2.unreadable", bad + ".3.unreadable"}));
        QCOMPARE(store.files(), (QStringList{m_queue + "/pending-00000000-000000000-upper.JSON", earlier}));
    }

    // What a read refuses, quickly and without touching anything else; the caller then sets the file aside.
    void hostileEntriesAreRefused_data()
    {
        QTest::addColumn<QString>("kind");
        QTest::addColumn<bool>("listed");
        QTest::addColumn<QString>("reason");
        // clang-format off
        QTest::newRow("array") << "array" << true << "The Sheets service returned an invalid response.";
        QTest::newRow("broken JSON") << "broken" << true << "unterminated object at byte 11.";
        QTest::newRow("missing") << "missing" << false << "No such file or directory.";
        QTest::newRow("pipe") << "pipe" << false << "it is not a regular file.";
        QTest::newRow("link to a device") << "link" << false << "Too many levels of symbolic links.";
        QTest::newRow("larger than any payload") << "huge" << true << "at 16777217 bytes it is too large for a queued upload.";
        // clang-format on
    }
    void hostileEntriesAreRefused()
    {
        QFETCH(QString, kind);
        QFETCH(bool, listed);
        QFETCH(QString, reason);
        const PendingUploadStore store(m_queue);
        QVERIFY(QDir().mkpath(m_queue));
        const QString file = m_queue + "/pending-" + kind + ".json";
        if (kind == "pipe")
            QCOMPARE(::mkfifo(QFile::encodeName(file).constData(), 0600), 0);
        else if (kind == "link")
            QVERIFY(QFile::link("/dev/zero", file));
        else if (kind == "huge")
            QVERIFY(QFile(file).open(QIODevice::WriteOnly) &&
                    QFile(file).resize(PendingUploadStore::maxFileBytes + 1)); // sparse: no disk used
        else if (kind != "missing")
            writeBytes(file, kind == "array" ? "[1, 2]" : "{\"action\": ");
        QCOMPARE(store.files(), listed ? QStringList{file} : QStringList{});
        const QString text = outcome([&] { store.read(file); });
        QVERIFY2(text.endsWith(reason), qPrintable(text));
        if (kind != "array")
            QVERIFY2(text.startsWith("Could not read “" + file + "”: "), qPrintable(text));
    }

    // A full disk, or a file where a folder should be: the save says why and leaves no file behind.
    void aFailedSaveSaysWhyAndLeavesNoFile()
    {
        QVERIFY(QDir().mkpath(m_queue));
        for (const bool diskFull : {true, false}) {
            if (!diskFull)
                writeBytes(m_queue + "/blocked", "a file where the folder should be");
            const QString folder = diskFull ? m_queue : m_queue + "/blocked/queue";
            // A file size limit cuts the write off the way a full disk does.
            const rlimit unlimited{RLIM_INFINITY, RLIM_INFINITY};
            const rlimit limit{diskFull ? 64 : RLIM_INFINITY, RLIM_INFINITY};
            std::signal(SIGXFSZ, SIG_IGN);
            QCOMPARE(::setrlimit(RLIMIT_FSIZE, &limit), 0);
            const QString text = outcome([&] { PendingUploadStore(folder).save(payload); });
            ::setrlimit(RLIMIT_FSIZE, &unlimited);
            const QString reason = diskFull ? ": File too large." : "is a file, not a folder.";
            QVERIFY2(text.startsWith("Could not ") && text.endsWith(reason), qPrintable(text));
            QCOMPARE(QDir(folder).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot), QStringList{});
        }
    }
};

QTEST_GUILESS_MAIN(TestPendingUploadStore)
#include "TestPendingUploadStore.moc"
