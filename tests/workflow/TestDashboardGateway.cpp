// The view model's gateway operations against the stand-in gateway on loopback: guard order and texts, the busy
// flags, the pending queue, the sign-in's reset and the resolve summary.
#include "WorkflowRig.h"

#include <QJsonArray>
#include <QTest>

using namespace wrenlow;
using namespace wrenlow::test;

namespace {

QJsonObject routes(const QByteArray &json)
{
    return json.isEmpty() ? QJsonObject() : jsonObject(json);
}

// The fields an operation past its guards announces last, in order.
void compareTail(const QStringList &changes, const QStringList &tail)
{
    QCOMPARE(changes.mid(changes.size() - tail.size()), tail);
}

const QByteArray duplicateSkeleton = R"("sheetName": "Spring Macs", "employeeName": "Ada", "matches": [])";

} // namespace

class TestDashboardGateway : public QObject
{
    Q_OBJECT

private slots:
    void loadProjects_data();
    void loadProjects();
    void checkDuplicate_data();
    void checkDuplicate();
    void upload_data();
    void upload();
    void uploadErrorNotSaved();
    void retry_data();
    void retry();
    void signIn_data();
    void signIn();
    void secondSignInIgnored();
    void signOut();
    void resolve_data();
    void resolve();
    void resolveExpired();
};

void TestDashboardGateway::loadProjects_data()
{
    QTest::addColumn<QString>("empID");
    QTest::addColumn<bool>("signedIn");
    QTest::addColumn<QByteArray>("reply"); // the listProjects route; empty: the healthy one
    QTest::addColumn<QString>("technician");
    QTest::addColumn<QString>("status");
    QTest::addColumn<QStringList>("options");
    QTest::addColumn<QString>("project"); // "Returns" was selected before
    QTest::addColumn<QString>("technicianAfter");
    QTest::addColumn<QString>("employeeName");

    const QStringList spring{"Spring Macs", "Returns"};
    const auto list = [](const char *name, const char *projects) {
        return QByteArray(R"({"GET /sheets?action=listProjects": [{"json": {"ok": true, "empId": "E100", )"
                          R"("targetSpreadsheetId": "s", "employeeName": ")") +
               name + R"(", "projects": )" + projects + "}}]}";
    };
    const QByteArray failed = R"({"GET /sheets?action=listProjects": [{"status": 500}]})";
    const QStringList none;
    QTest::newRow("blank") << " \n"
                           << true << QByteArray() << "Bo"
                           << "EMP ID is required." << none << "Returns"
                           << "Bo"
                           << "";
    QTest::newRow("amazon, signed out") << " amzn " << false << QByteArray() << ""
                                        << "Amazon Returns routing selected." << QStringList{"Incoming Amazon Returns"}
                                        << "Incoming Amazon Returns"
                                        << ""
                                        << "";
    QTest::newRow("signed out") << "E100" << false << QByteArray() << "Bo"
                                << "Sign in to Korvane to enable Sheets routing." << none << ""
                                << "Bo"
                                << "";
    QTest::newRow("selection kept, blank name filled") << "e100 " << true << QByteArray() << " "
                                                       << "Loaded 2 projects for Ada Lovelace." << spring << "Returns"
                                                       << "Ada Lovelace"
                                                       << "Ada Lovelace";
    QTest::newRow("one, nameless") << "E100" << true << list("", R"(["Solo"])") << "Bo"
                                   << "Loaded 1 project for E100." << QStringList{"Solo"} << "Solo"
                                   << "Bo"
                                   << "";
    QTest::newRow("none") << "E100" << true << list("Ada", "[]") << "Bo"
                          << "No visible projects were returned for E100." << none << ""
                          << "Bo"
                          << "Ada";
    QTest::newRow("failed") << "E100" << true << failed << "Bo"
                            << "Sheets returned HTTP 500." << none << ""
                            << "Bo"
                            << "";
}

void TestDashboardGateway::loadProjects()
{
    QFETCH(QString, empID);
    QFETCH(bool, signedIn);
    QFETCH(QByteArray, reply);
    QFETCH(QString, technician);
    WorkflowRig rig(routes(reply));
    DashboardViewModel &model = *rig.model;
    if (signedIn)
        rig.signIn();
    model.setEmpID(empID);
    model.setSelectedProject("Returns");
    model.setTechnicianName(technician);
    rig.changes.clear();

    waitForTask(model.loadProjects());
    QTEST(model.routingStatus(), "status");
    QTEST(model.projectOptions(), "options");
    QTEST(model.selectedProject(), "project");
    QTEST(model.technicianName(), "technicianAfter");
    QTEST(model.routingEmployeeName(), "employeeName");
    const QList<LoggedRequest> sent = rig.requestsFor("listProjects");
    QCOMPARE(rig.changes.count("isRoutingBusy"), sent.size() * 2);
    if (!sent.isEmpty())
        QCOMPARE(sent.first().query.value("empId"), "E100");
}

void TestDashboardGateway::checkDuplicate_data()
{
    QTest::addColumn<bool>("scanned");
    QTest::addColumn<QString>("project");
    QTest::addColumn<bool>("signedIn");
    QTest::addColumn<QByteArray>("reply");
    QTest::addColumn<QString>("message");

    const auto duplicate = [](const QByteArray &members) {
        return R"({"GET /sheets?action=checkDuplicate": [{"json": {)" + members + "}}]}";
    };
    QTest::newRow("no scan first") << false << "" << false << QByteArray() << "Scan this Mac first.";
    QTest::newRow("routing before sign-in")
        << true << " " << false << QByteArray() << "Complete EMP/project routing first.";
    QTest::newRow("signed out") << true << "Spring Macs" << false << QByteArray()
                                << "Sign in to Korvane to use Sheets.";
    QTest::newRow("clean") << true << " Spring Macs " << true << QByteArray() << "No duplicate found.";
    QTest::newRow("row and matches")
        << true << "Spring Macs" << true
        << duplicate(R"("ok": true, "duplicate": true, "sheetName": "Macs", "rowNumber": "7", "employeeName": "", )"
                     R"("matches": ["serial", {"field": "assetTag", "value": "A1"}, 3])")
        << "Duplicate found in Macs row 7 (serial, assetTag: A1).";
    QTest::newRow("refusal without reason")
        << true << "Spring Macs" << true
        << duplicate(R"("ok": false, "duplicate": false, "sheetName": "", "employeeName": "", "matches": [])")
        << "Duplicate check failed: The Sheets service did not complete the duplicate check.";
}

// The check asks about the project the upload would write to: trimmed, as the payload carries it.
void TestDashboardGateway::checkDuplicate()
{
    QFETCH(bool, scanned);
    QFETCH(QString, project);
    QFETCH(bool, signedIn);
    QFETCH(QByteArray, reply);
    WorkflowRig rig(routes(reply));
    DashboardViewModel &model = *rig.model;
    if (signedIn)
        rig.signIn();
    if (scanned)
        model.setSnapshot(scannedSnapshot());
    model.setEmpID("E100");
    model.setSelectedProject(project);
    rig.changes.clear();

    waitForTask(model.checkDuplicate());
    QTEST(model.lastDuplicateMessage(), "message");
    const QList<LoggedRequest> sent = rig.requestsFor("checkDuplicate");
    QCOMPARE(rig.changes.count("isRoutingBusy"), sent.size() * 2);
    if (!sent.isEmpty())
        QCOMPARE(sent.first().query.value("projectId"), "Spring Macs");
}

void TestDashboardGateway::upload_data()
{
    QTest::addColumn<int>("stage"); // 0 no scan, 1 untested, 2 no EMP ID, 3 signed out, 4 no serial, 5 ready
    QTest::addColumn<QString>("action");
    QTest::addColumn<QByteArray>("reply");
    QTest::addColumn<QString>("status");
    QTest::addColumn<QString>("duplicateMessage");
    QTest::addColumn<int>("posts");
    QTest::addColumn<int>("queued");

    const auto duplicate = [](const QByteArray &members) {
        return R"({"GET /sheets?action=checkDuplicate": [{"json": {)" + members + duplicateSkeleton + "}}]}";
    };
    const auto refusal = [](const QByteArray &error) {
        return R"({"POST /sheets": [{"json": {"ok": false, "duplicate": false, "sheetName": "", "duplicateAction": )"
               R"("skip", "employeeName": "", "busy": false, "retryable": false, "retryAfterMs": 0)" +
               error + "}}]}";
    };
    const QByteArray duplicateAt7 = duplicate(R"("ok": true, "duplicate": true, "rowNumber": 7, )");
    QTest::newRow("no scan") << 0 << "skip" << QByteArray() << "Scan this Mac before upload."
                             << "" << 0 << 0;
    QTest::newRow("untested") << 1 << "skip" << QByteArray() << "Complete all applicable tests before upload."
                              << "" << 0 << 0;
    QTest::newRow("no routing") << 2 << "skip" << QByteArray() << "Complete EMP/project routing before upload."
                                << "" << 0 << 0;
    QTest::newRow("signed out") << 3 << "skip" << QByteArray() << "Sign in to Korvane to enable Sheets upload."
                                << "" << 0 << 0;
    QTest::newRow("builder refuses") << 4 << "skip" << QByteArray() << "A serial number is required before upload."
                                     << "" << 0 << 0;
    QTest::newRow("uploaded") << 5 << "skip" << QByteArray() << "Upload complete: Spring Macs row 42."
                              << "" << 1 << 0;
    QTest::newRow("check fails, nothing queued")
        << 5 << "skip" << QByteArray(R"({"GET /sheets?action=checkDuplicate": [{"drop": true}]})") << ""
        << "" << 0 << 0;
    QTest::newRow("check unanswered") << 5 << "skip" << duplicate(R"("duplicate": false, "ok": false, )")
                                      << "The Sheets service did not complete the duplicate check."
                                      << "" << 0 << 0;
    QTest::newRow("duplicate skipped") << 5 << "skip" << duplicateAt7
                                       << "Duplicate found in Spring Macs row 7. Upload skipped."
                                       << "Duplicate found in Spring Macs row 7. Upload skipped." << 0 << 0;
    QTest::newRow("duplicate appended") << 5 << "append" << duplicateAt7 << "Upload complete: Spring Macs row 42."
                                        << "" << 1 << 0;
    QTest::newRow("refused with reason") << 5 << "skip" << refusal(R"(, "error": "Sheet is locked.")")
                                         << "Sheet is locked."
                                         << "" << 1 << 0;
    QTest::newRow("refused") << 5 << "skip" << refusal("") << "The Sheets service did not accept the upload."
                             << "" << 1 << 0;
    QTest::newRow("gateway down, queued")
        << 5 << "skip" << QByteArray(R"({"POST /sheets": [{"status": 503}]})")
        << "Network upload failed. Saved to pending queue: The Sheets service returned an invalid response."
        << "" << 6 << 1;
}

// Refusals before the busy flag leave it and the pending count alone; past it, every exit clears the flag and
// then re-reads the count. Only an upload that ends in an error is queued.
void TestDashboardGateway::upload()
{
    QFETCH(int, stage);
    QFETCH(QString, action);
    QFETCH(QByteArray, reply);
    QFETCH(QString, status);
    WorkflowRig rig(routes(reply));
    DashboardViewModel &model = *rig.model;
    rig.prepareUpload();
    InventorySnapshot snapshot = testedSnapshot();
    if (stage == 4)
        snapshot.sections.removeIf([](const InventorySection &section) { return section.key == "identity"; });
    model.setSnapshot(stage == 1 ? scannedSnapshot() : snapshot);
    if (stage == 0)
        model.setSnapshot(std::nullopt);
    if (stage <= 2)
        model.setEmpID("");
    if (stage <= 3)
        waitForTask(model.logoutFromKorvane());
    model.setSelectedProject(" Spring Macs ");
    model.setDuplicateAction(action);
    rig.changes.clear();

    waitForTask(model.uploadToSheets());
    if (status.isEmpty()) // a transport failure, in the platform's words
        QVERIFY(!model.routingStatus().isEmpty() && !model.routingStatus().endsWith(u'…'));
    else
        QCOMPARE(model.routingStatus(), status);
    QTEST(model.lastDuplicateMessage(), "duplicateMessage");
    QTEST(int(rig.requestsFor("/sheets").count() - rig.requestsFor("checkDuplicate").count()), "posts");
    QTEST(int(rig.queueFiles().size()), "queued");
    QCOMPARE(model.pendingCount(), rig.queueFiles().size());
    if (stage < 4)
        QVERIFY(!rig.changes.contains("isRoutingBusy") && !rig.changes.contains("pendingCount"));
    else
        compareTail(rig.changes, {"isRoutingBusy", "pendingCount"});
    for (const LoggedRequest &check : rig.requestsFor("checkDuplicate"))
        QCOMPARE(check.query.value("projectId"), "Spring Macs");
}

// An upload error with a queue that cannot be written says so and claims nothing was kept.
void TestDashboardGateway::uploadErrorNotSaved()
{
    WorkflowRig rig(routes(R"({"POST /sheets": [{"status": 503}]})"));
    QFile blocker(rig.queuePath());
    QVERIFY(blocker.open(QIODevice::WriteOnly));
    rig.prepareUpload();
    waitForTask(rig.model->uploadToSheets());
    QVERIFY2(
        rig.model->routingStatus().startsWith("Network upload failed and could not be saved to the pending queue: "),
        qPrintable(rig.model->routingStatus()));
    QCOMPARE(rig.model->pendingCount(), 0);
}

void TestDashboardGateway::retry_data()
{
    QTest::addColumn<bool>("signedIn");
    QTest::addColumn<QByteArrayList>("files");
    QTest::addColumn<QByteArray>("reply");
    QTest::addColumn<QStringList>("statuses"); // the announced texts, from the first
    QTest::addColumn<int>("remaining");
    QTest::addColumn<int>("setAside");

    const QByteArray payload = R"({"schema": "x"})";
    const QByteArray ok = R"({"json": {"ok": true, "duplicate": false, "sheetName": "S", "duplicateAction": "skip", )"
                          R"("employeeName": "", "busy": false, "retryable": false, "retryAfterMs": 0}})";
    const QByteArray refused =
        R"({"json": {"ok": false, "duplicate": false, "sheetName": "", "duplicateAction": )"
        R"("skip", "employeeName": "", "busy": false, "retryable": false, "retryAfterMs": 0, "error": "Closed."}})";
    const auto posts = [](const QByteArrayList &answers) { return R"({"POST /sheets": [)" + answers.join(',') + "]}"; };
    QTest::newRow("signed out") << false << QByteArrayList{payload} << QByteArray()
                                << QStringList{"Sign in to Korvane to retry pending Sheets uploads."} << 1 << 0;
    QTest::newRow("empty") << true << QByteArrayList() << QByteArray() << QStringList{"Pending queue is empty."} << 0
                           << 0;
    QTest::newRow("one") << true << QByteArrayList{payload} << posts({ok})
                         << QStringList{"Retrying 1 pending upload…", "Retried pending queue: 1 uploaded, 0 remaining."}
                         << 0 << 0;
    QTest::newRow("stops at a refusal, says why")
        << true << QByteArrayList{payload, payload, payload} << posts({ok, refused})
        << QStringList{"Retrying 3 pending uploads…", "Retried pending queue: 1 uploaded, 2 remaining. Closed."} << 2
        << 0;
    QTest::newRow("not payloads set aside")
        << true << QByteArrayList{"{not json", "[1]", payload} << posts({ok})
        << QStringList{"Retrying 3 pending uploads…",
                       "Retried pending queue: 1 uploaded, 0 remaining. Set aside 2 unreadable files: "
                       "2026-12-01.json, 2026-12-02.json."}
        << 0 << 2;
    QTest::newRow("error pauses") << true << QByteArrayList{payload, payload} << posts({R"({"status": 500})"})
                                  << QStringList{"Retrying 2 pending uploads…",
                                                 "Retried 0. Remaining queue paused: Sheets returned HTTP 500."}
                                  << 2 << 0;
}

void TestDashboardGateway::retry()
{
    QFETCH(bool, signedIn);
    QFETCH(QByteArrayList, files);
    QFETCH(QByteArray, reply);
    QFETCH(int, remaining);
    QFETCH(int, setAside);
    WorkflowRig rig(routes(reply));
    DashboardViewModel &model = *rig.model;
    if (signedIn)
        rig.signIn();
    for (const QByteArray &file : files)
        rig.queue(file);
    QStringList statuses;
    connect(&model, &DashboardViewModel::routingStatusChanged, this, [&] { statuses << model.routingStatus(); });
    rig.changes.clear();

    waitForTask(model.retryPendingUploads());
    QTEST(statuses, "statuses");
    const int left = int(rig.queueFiles().filter(QRegularExpression("\\.json$")).size());
    QCOMPARE(left, remaining);
    QCOMPARE(rig.queueFiles().size() - left, setAside);
    if (statuses.size() > 1) {
        compareTail(rig.changes, {"routingStatus", "isRoutingBusy", "pendingCount"});
        QCOMPARE(model.pendingCount(), remaining);
    } else {
        QVERIFY(!rig.changes.contains("isRoutingBusy"));
    }
}

void TestDashboardGateway::signIn_data()
{
    QTest::addColumn<QByteArray>("reply");
    QTest::addColumn<QString>("identifier");
    QTest::addColumn<QString>("status");
    QTest::addColumn<QString>("credential");
    QTest::addColumn<QStringList>("tail");
    QTest::addColumn<qint64>("lot"); // 42 was selected before

    const QStringList reset{"korvaneSignedIn", "korvaneUserName", "sheetsConfigured",
                            "korvaneStatus",   "isKorvaneBusy",   "korvaneCredential"};
    const QStringList ready{"korvaneStatus", "isKorvaneBusy", "korvaneCredential"};
    QTest::newRow("unreachable") << QByteArray(R"({"GET /health": [{"status": 503}]})") << "tech1"
                                 << "Wrenlow backend gateway is unavailable."
                                 << "123456" << QStringList{"korvaneConfigured", "korvaneStatus"} << qint64(42);
    QTest::newRow("blank user") << QByteArray() << " \n"
                                << "Enter a Korvane user and password or PIN."
                                << "123456" << QStringList{"korvaneConfigured", "korvaneStatus"} << qint64(42);
    QTest::newRow("refused") << QByteArray(R"({"POST /api/v1/auth/login": [{"status": 401, )"
                                           R"("json": {"error": {"code": "auth", "message": "Wrong PIN."}}}]})")
                             << "tech1"
                             << "Wrong PIN."
                             << "" << reset << qint64(42);
    QTest::newRow("options fail") << QByteArray(R"({"GET /api/v1/units/creation-options": [{"status": 500, )"
                                                R"("json": {"error": {"code": "x", "message": "No options."}}}]})")
                                  << "tech1"
                                  << "No options."
                                  << "" << reset << qint64(42);
    QTest::newRow("ready, padded user, selection kept") << QByteArray() << " tech1 "
                                                        << "Korvane ready: 2 lots, 2 categories."
                                                        << "" << ready << qint64(42);
    QTest::newRow("one each, gone selection replaced")
        << QByteArray(R"({"GET /api/v1/units/creation-options": [{"json": {"lots": [{"lot_id": 5, "name": "L", )"
                      R"("allow_duplicate_match_unit_assumption": false}], "unit_categories": [{"config_value_id": 7, )"
                      R"("label": "Laptop"}]}}]})")
        << "tech1"
        << "Korvane ready: 1 lot, 1 category."
        << "" << ready << qint64(5);
}

// A failed sign-in or options request signs out everywhere (the page, the Sheets client and the broker
// client) but leaves the routing line and the lists alone.
void TestDashboardGateway::signIn()
{
    QFETCH(QByteArray, reply);
    QFETCH(QString, identifier);
    QFETCH(QStringList, tail);
    WorkflowRig rig(routes(reply));
    DashboardViewModel &model = *rig.model;
    model.setSelectedKorvaneLotId(42);
    model.setKorvaneIdentifier(identifier);
    model.setKorvaneCredential("123456");
    model.setKorvaneUsePin(true);
    rig.changes.clear();

    waitForTask(model.loginToKorvane());
    QTEST(model.korvaneStatus(), "status");
    QTEST(model.korvaneCredential(), "credential");
    compareTail(rig.changes, tail);
    QCOMPARE(model.isKorvaneBusy(), false);
    QTEST(model.selectedKorvaneLotId().value_or(0), "lot");
    const bool signedIn = tail.first() == "korvaneStatus";
    QCOMPARE(model.korvaneSignedIn(), signedIn);
    QCOMPARE(model.sheetsConfigured(), signedIn);
    const QList<LoggedRequest> logins = rig.requestsFor("/api/v1/auth/login");
    if (!logins.isEmpty())
        QCOMPARE(jsonObject(logins.first().body).value("identifier"), "tech1");
    if (QTest::currentDataTag() == QByteArray("options fail")) {
        QCOMPARE(model.routingStatus(), "Secure Sheets session ready via the Wrenlow broker.");
        QCOMPARE(model.korvaneLots().size(), 0);
        waitForTask(model.logoutFromKorvane()); // the broker client holds no session to sign out of
        QVERIFY(rig.requestsFor("/api/v1/auth/logout").isEmpty());
    }
}

// A sign-in started while one waits for the health probe is dropped without a trace.
void TestDashboardGateway::secondSignInIgnored()
{
    WorkflowRig rig(routes(R"({"GET /health": [{"json": {"ok": true}, "hold": true}]})"));
    DashboardViewModel &model = *rig.model;
    model.setKorvaneIdentifier("tech1");
    model.setKorvaneCredential("123456");
    model.setKorvaneUsePin(true);
    QCoro::Task<> first = model.loginToKorvane();
    QTRY_COMPARE(rig.gateway.heldCount(), 1);
    rig.changes.clear();
    waitForTask(model.loginToKorvane());
    QVERIFY(rig.changes.isEmpty());
    rig.gateway.releaseHeld();
    waitForTask(std::move(first));
    QCOMPARE(model.korvaneStatus(), "Korvane ready: 2 lots, 2 categories.");
    QCOMPARE(rig.requestsFor("/health").size(), 1);
    QCOMPARE(rig.requestsFor("/api/v1/auth/login").size(), 1);
}

void TestDashboardGateway::signOut()
{
    WorkflowRig rig;
    DashboardViewModel &model = *rig.model;
    rig.prepareUpload();
    model.setProjectOptions({"Spring Macs"});
    waitForTask(model.resolveInKorvane());
    waitForTask(model.logoutFromKorvane());
    QCOMPARE(model.korvaneStatus(), "Korvane signed out.");
    QCOMPARE(model.routingStatus(), "Sign in to Korvane to enable Sheets routing.");
    QVERIFY(!model.sheetsConfigured() && !model.korvaneSignedIn() && model.korvaneLots().isEmpty());
    QVERIFY(!model.selectedKorvaneLotId() && !model.korvaneResolvedUnitId() && model.korvaneResolveSummary().isEmpty());
    QCOMPARE(model.projectOptions(), QStringList{"Spring Macs"});
    QCOMPARE(model.selectedProject(), "Spring Macs");
    QCOMPARE(rig.requestsFor("/api/v1/auth/logout").size(), 1);
    waitForTask(model.loadProjects()); // the Sheets token went with the session
    QCOMPARE(model.routingStatus(), "Sign in to Korvane to enable Sheets routing.");
}

void TestDashboardGateway::resolve_data()
{
    QTest::addColumn<int>("stage"); // 0 no scan, 1 signed out, 2 no lot, 3 ready
    QTest::addColumn<QByteArray>("reply");
    QTest::addColumn<QString>("summary");
    QTest::addColumn<qint64>("unitId"); // 0: none
    QTest::addColumn<bool>("review");

    const auto answer = [](const QByteArray &json) {
        return R"({"POST /api/v1/units/resolve": [{"json": )" + json + "}]}";
    };
    QTest::newRow("no scan") << 0 << QByteArray() << "Scan this Mac before resolving a Korvane unit." << qint64(0)
                             << false;
    QTest::newRow("signed out") << 1 << QByteArray() << "Sign in to Korvane first." << qint64(0) << false;
    QTest::newRow("no lot") << 2 << QByteArray() << "Select a lot before resolving the unit." << qint64(0) << false;
    QTest::newRow("unit among three") << 3
                                      << answer(R"({"status": "matched", "match_count": 3, "unit": {"unit_id": 9}})")
                                      << "Resolved existing Korvane unit #9. Status: matched." << qint64(9) << true;
    QTest::newRow("one candidate") << 3 << answer(R"({"match_count": 1, "requires_user_review": false})")
                                   << "Korvane found 1 candidate match. Technician review is required before "
                                      "commit."
                                   << qint64(0) << false;
    QTest::newRow("text unit id, two") << 3 << answer(R"({"match_count": 2, "unit": {"unit_id": "9"}})")
                                       << "Korvane found 2 candidate matches. Technician review is required "
                                          "before commit."
                                       << qint64(0) << true;
    QTest::newRow("creation allowed")
        << 3 << answer(R"({"requires_user_review": true, "creation_policy": {"creation_allowed": true}})")
        << "No existing unit matched. Korvane permits creation after preflight." << qint64(0) << true;
    QTest::newRow("refused with reason")
        << 3 << answer(R"({"creation_policy": {"creation_allowed": false, "reason": "Lot closed."}})") << "Lot closed."
        << qint64(0) << false;
    QTest::newRow("refused") << 3 << answer(R"({"creation_policy": {"creation_allowed": false}})")
                             << "Creation is not permitted for this context." << qint64(0) << false;
    QTest::newRow("policy of another kind") << 3 << answer(R"({"status": "new", "creation_policy": "x"})")
                                            << "Korvane resolve completed with status: new." << qint64(0) << false;
    QTest::newRow("nothing") << 3 << answer("{}") << "Korvane resolve completed with status: unknown." << qint64(0)
                             << false;
}

void TestDashboardGateway::resolve()
{
    QFETCH(int, stage);
    QFETCH(QByteArray, reply);
    WorkflowRig rig(routes(reply));
    DashboardViewModel &model = *rig.model;
    if (stage >= 2)
        rig.signIn();
    if (stage == 2)
        model.setSelectedKorvaneLotId(std::nullopt);
    if (stage >= 1)
        model.setSnapshot(scannedSnapshot());
    rig.changes.clear();

    waitForTask(model.resolveInKorvane());
    QTEST(model.korvaneResolveSummary(), "summary");
    QTEST(model.korvaneResolvedUnitId().value_or(0), "unitId");
    QTEST(model.korvaneRequiresReview(), "review");
    QCOMPARE(rig.changes.count("isKorvaneBusy"), stage == 3 ? 2 : 0);
}

// An expired session signs the technician out of Korvane only: uploads go on with the Sheets token.
void TestDashboardGateway::resolveExpired()
{
    WorkflowRig rig(routes(R"({"POST /api/v1/units/resolve": [{"status": 401, )"
                           R"("json": {"error": {"code": "expired", "message": "Session expired."}}}]})"));
    rig.prepareUpload();
    waitForTask(rig.model->resolveInKorvane());
    QCOMPARE(rig.model->korvaneResolveSummary(), "Korvane resolve failed: Session expired.");
    QVERIFY(!rig.model->korvaneSignedIn() && rig.model->korvaneUserName().isEmpty());
    QVERIFY(rig.model->sheetsConfigured());
    waitForTask(rig.model->uploadToSheets());
    QCOMPARE(rig.model->routingStatus(), "Upload complete: Spring Macs row 42.");
}

QTEST_GUILESS_MAIN(TestDashboardGateway)
#include "TestDashboardGateway.moc"
