// The view model's gateway operations against the stand-in gateway on loopback: guard order and texts, the busy
// flags, the pending queue, the sign-in's reset and the resolve summary.
#include "WorkflowRig.h"

#include <QJsonArray>
#include <QTest>

using namespace wrenlow;
using namespace wrenlow::test;

namespace {

// Scripted answers for one route, in order, as the routes a rig replaces.
QJsonObject answers(const QString &route, const QByteArrayList &replies)
{
    QJsonArray list;
    for (const QByteArray &reply : replies)
        list.append(jsonObject(reply));
    return {{route, list}};
}

// One answer; none leaves the route as the healthy scenario has it.
QJsonObject answer(const QString &route, const QByteArray &json)
{
    return json.isEmpty() ? QJsonObject() : answers(route, {json});
}

QByteArray replyJson(const QByteArray &members)
{
    return R"({"json": {)" + members + "}}";
}

const QString listRoute = "GET /sheets?action=listProjects";
const QByteArray sparseTerabyte = "a sparse terabyte";
const QString duplicateRoute = "GET /sheets?action=checkDuplicate";
const QString uploadRoute = "POST /sheets";
const QByteArray uploadRest = R"(, "duplicate": false, "sheetName": "S", "duplicateAction": "skip", )"
                              R"("employeeName": "", "busy": false, "retryable": false, "retryAfterMs": 0)";

// The fields an operation past its guards announces last, in order.
void compareTail(const QStringList &changes, const QStringList &tail)
{
    QCOMPARE(changes.mid(changes.size() - tail.size()), tail);
}

struct ProjectCase
{
    QString empID;
    bool signedIn;
    QJsonObject routes;
    QString technician, status;
    QStringList options;
    QString project, technicianAfter, employeeName; // "Returns" was selected before
};

// The standalone duplicate check and the upload share their guards' order and the check itself.
struct RoutingCase
{
    bool upload; // else the duplicate check
    int stage; // 0 no scan, 1 untested, 2 no EMP ID, 3 signed out, 4 no serial, 5 ready, 6 the queue cannot be written
    QString action;
    QJsonObject routes;
    QString status; // the operation's line: `routingStatus`, or `lastDuplicateMessage` for the check
    int posts, queued;
};

struct RetryCase
{
    bool signedIn;
    QByteArrayList files;
    QJsonObject routes;
    QStringList statuses; // every routing status announced
    int remaining, setAside;
};

struct SignInCase
{
    QJsonObject routes;
    QString identifier, status, credential;
    QStringList tail;
    qint64 lot; // 42 was selected before
};

struct ResolveCase
{
    int stage; // 0 no scan, 1 signed out, 2 no lot, 3 ready
    QByteArray reply;
    QString summary;
    qint64 unitId; // 0: none
    bool review;
};

} // namespace

class TestDashboardGateway : public QObject
{
    Q_OBJECT

private slots:

    void loadProjects_data()
    {
        QTest::addColumn<ProjectCase>("c");
        const auto list = [](const QByteArray &name, const QByteArray &projects) {
            return answer(listRoute,
                          replyJson(R"("ok": true, "empId": "E100", "targetSpreadsheetId": "s", "employeeName": ")" +
                                    name + R"(", "projects": )" + projects));
        };
        // clang-format off
        QTest::newRow("blank") << ProjectCase{" \n", true, {}, "Bo", "EMP ID is required.", {}, "Returns", "Bo", ""};
        QTest::newRow("amazon, signed out") << ProjectCase{" amzn ", false, {}, "", "Amazon Returns routing selected.", {"Incoming Amazon Returns"}, "Incoming Amazon Returns", "", ""};
        QTest::newRow("selection kept, blank name filled") << ProjectCase{"e100 ", true, {}, " ", "Loaded 2 projects for Ada Lovelace.", {"Spring Macs", "Returns"}, "Returns", "Ada Lovelace", "Ada Lovelace"};
        QTest::newRow("one, nameless") << ProjectCase{"E100", true, list("", R"(["Solo"])"), "Bo", "Loaded 1 project for E100.", {"Solo"}, "Solo", "Bo", ""};
        QTest::newRow("name cleaned for the field") << ProjectCase{"E100", true, list(R"(Ev\u202ee\tL\nx\u0007)", R"(["Solo"])"), "", "Loaded 1 project for Eve L x.", {"Solo"}, "Solo", "Eve L x", "Eve L x"};
        QTest::newRow("failed") << ProjectCase{"E100", true, answer(listRoute, R"({"status": 500})"), "Bo", "Sheets returned HTTP 500.", {}, "", "Bo", ""};
        // clang-format on
    }

    void loadProjects()
    {
        QFETCH(ProjectCase, c);
        WorkflowRig rig(c.routes);
        DashboardViewModel &model = *rig.model;
        if (c.signedIn)
            rig.signIn();
        model.setEmpID(c.empID);
        model.setSelectedProject("Returns");
        model.setTechnicianName(c.technician);
        rig.changes.clear();

        waitForTask(model.loadProjects());
        QCOMPARE(model.routingStatus(), c.status);
        QCOMPARE(model.projectOptions(), c.options);
        QCOMPARE(model.selectedProject(), c.project);
        QCOMPARE(model.technicianName(), c.technicianAfter);
        QCOMPARE(model.routingEmployeeName(), c.employeeName);
        const QList<LoggedRequest> sent = rig.requestsFor("listProjects");
        QCOMPARE(rig.changes.count("isRoutingBusy"), sent.size() * 2);
        if (!sent.isEmpty())
            QCOMPARE(sent.first().query.value("empId"), "E100");
    }

    void routing_data()
    {
        QTest::addColumn<RoutingCase>("c");
        const QByteArray rest = R"(, "sheetName": "Spring Macs", "employeeName": "", "matches": [])";
        const QJsonObject atRow7 =
            answer(duplicateRoute, replyJson(R"("ok": true, "duplicate": true, "rowNumber": 7)" + rest));
        const QJsonObject unanswered = answer(duplicateRoute, replyJson(R"("ok": false, "duplicate": false)" + rest));
        const QJsonObject down = answer(uploadRoute, R"({"status": 503})");
        const QString unclear = "The Sheets service did not complete the duplicate check.";
        // clang-format off
        QTest::newRow("check: no scan") << RoutingCase{false, 0, "skip", {}, "Scan this Mac first.", 0, 0};
        QTest::newRow("check: no routing") << RoutingCase{false, 2, "skip", {}, "Complete EMP/project routing first.", 0, 0};
        QTest::newRow("check: signed out") << RoutingCase{false, 3, "skip", {}, "Sign in to Korvane to use Sheets.", 0, 0};
        QTest::newRow("check: clean") << RoutingCase{false, 5, "skip", {}, "No duplicate found.", 0, 0};
        QTest::newRow("check: row and matches") << RoutingCase{false, 5, "skip", answer(duplicateRoute, replyJson(R"("ok": true, "duplicate": true, "sheetName": "Macs", "rowNumber": "7", "employeeName": "", "matches": ["serial", {"field": "assetTag", "value": "A1"}, 3])")), "Duplicate found in Macs row 7 (serial, assetTag: A1).", 0, 0};
        QTest::newRow("check: unanswered") << RoutingCase{false, 5, "skip", unanswered, "Duplicate check failed: " + unclear, 0, 0};
        QTest::newRow("no scan") << RoutingCase{true, 0, "skip", {}, "Scan this Mac before upload.", 0, 0};
        QTest::newRow("untested") << RoutingCase{true, 1, "skip", {}, "Complete all applicable tests before upload.", 0, 0};
        QTest::newRow("no routing") << RoutingCase{true, 2, "skip", {}, "Complete EMP/project routing before upload.", 0, 0};
        QTest::newRow("signed out") << RoutingCase{true, 3, "skip", {}, "Sign in to Korvane to enable Sheets upload.", 0, 0};
        QTest::newRow("builder refuses") << RoutingCase{true, 4, "skip", {}, "A serial number is required before upload.", 0, 0};
        QTest::newRow("check unanswered, nothing sent") << RoutingCase{true, 5, "skip", unanswered, unclear, 0, 0};
        QTest::newRow("duplicate skipped") << RoutingCase{true, 5, "skip", atRow7, "Duplicate found in Spring Macs row 7. Upload skipped.", 0, 0};
        QTest::newRow("duplicate appended") << RoutingCase{true, 5, "append", atRow7, "Upload complete: Spring Macs row 42.", 1, 0};
        QTest::newRow("refused") << RoutingCase{true, 5, "skip", answer(uploadRoute, replyJson(R"("ok": false)" + uploadRest)), "The Sheets service did not accept the upload.", 1, 0};
        QTest::newRow("gateway down, queued") << RoutingCase{true, 5, "skip", down, "Network upload failed. Saved to pending queue: The Sheets service returned an invalid response.", 6, 1};
        QTest::newRow("gateway down, queue blocked") << RoutingCase{true, 6, "skip", down, "Network upload failed and could not be saved to the pending queue: Could not create the folder “<queue>”: a file with that name is in the way.", 6, 0};
        // clang-format on
    }

    // Refusals before the busy flag leave it and the pending count alone; past it, every exit clears the flag (and
    // the upload then re-reads the count). Only an upload that ends in an error is queued; one the queue cannot take
    // says so and claims nothing was kept. Both checks ask about the project the upload writes to: trimmed, as the
    // payload carries it.
    void routing()
    {
        QFETCH(RoutingCase, c);
        WorkflowRig rig(c.routes);
        DashboardViewModel &model = *rig.model;
        rig.prepareUpload();
        InventorySnapshot snapshot = testedSnapshot();
        if (c.stage == 4)
            snapshot.sections.removeIf([](const InventorySection &section) { return section.key == "identity"; });
        model.setSnapshot(c.stage == 1 ? scannedSnapshot() : snapshot);
        if (c.stage == 0)
            model.setSnapshot(std::nullopt);
        QFile blocker(rig.queuePath());
        QVERIFY(c.stage < 6 || blocker.open(QIODevice::WriteOnly));
        if (c.stage <= 2)
            model.setEmpID("");
        if (c.stage <= 3)
            waitForTask(model.logoutFromKorvane());
        model.setSelectedProject(" Spring Macs ");
        model.setDuplicateAction(c.action);
        rig.changes.clear();

        waitForTask(c.upload ? model.uploadToSheets() : model.checkDuplicate());
        const QString status = QString(c.status).replace("<queue>", rig.queuePath());
        QCOMPARE(c.upload ? model.routingStatus() : model.lastDuplicateMessage(), status);
        if (c.upload)
            QCOMPARE(model.lastDuplicateMessage(), status.endsWith("Upload skipped.") ? status : QString());
        const QList<LoggedRequest> checks = rig.requestsFor("checkDuplicate");
        QCOMPARE(rig.requestsFor("/sheets").size() - checks.size(), c.posts);
        QCOMPARE(rig.queueFiles().size(), c.queued);
        QCOMPARE(model.pendingCount(), c.queued);
        // The count is re-read after a save and at the end of every upload past its guards.
        QCOMPARE(rig.changes.count("pendingCount"), c.upload && c.stage >= 4 ? 1 + c.queued : 0);
        if (c.stage < 4)
            QVERIFY(!rig.changes.contains("isRoutingBusy"));
        else if (c.upload)
            compareTail(rig.changes, {"isRoutingBusy", "pendingCount"});
        else
            compareTail(rig.changes, {"lastDuplicateMessage", "isRoutingBusy"});
        for (const LoggedRequest &check : checks)
            QCOMPARE(check.query.value("projectId"), "Spring Macs");
    }

    void retry_data()
    {
        QTest::addColumn<RetryCase>("c");
        const QByteArray payload = R"({"schema": "x"})";
        const QByteArray ok = replyJson(R"("ok": true)" + uploadRest);
        const QByteArray refused = replyJson(R"("ok": false, "error": "Closed.")" + uploadRest);
        // clang-format off
        QTest::newRow("signed out") << RetryCase{false, {payload}, {}, {"Sign in to Korvane to retry pending Sheets uploads."}, 1, 0};
        QTest::newRow("empty") << RetryCase{true, {}, {}, {"Pending queue is empty."}, 0, 0};
        QTest::newRow("stops at a refusal, says why") << RetryCase{true, {payload, payload, payload}, answers(uploadRoute, {ok, refused, ok}), {"Retrying 3 pending uploads…", "Retried pending queue: 1 uploaded, 2 remaining. Closed."}, 2, 0};
        QTest::newRow("not payloads set aside") << RetryCase{true, {"{not json", "[1]", sparseTerabyte, payload}, answers(uploadRoute, {ok}), {"Retrying 4 pending uploads…", "Retried pending queue: 1 uploaded, 0 remaining. Set aside 3 unreadable files: 2026-12-01.json, 2026-12-02.json, 2026-12-03.json."}, 0, 3};
        QTest::newRow("error pauses") << RetryCase{true, {payload}, answer(uploadRoute, R"({"status": 500})"), {"Retrying 1 pending upload…", "Retried 0. Remaining queue paused: Sheets returned HTTP 500."}, 1, 0};
        // clang-format on
    }

    void retry()
    {
        QFETCH(RetryCase, c);
        WorkflowRig rig(c.routes);
        DashboardViewModel &model = *rig.model;
        if (c.signedIn)
            rig.signIn();
        for (const QByteArray &file : c.files) {
            rig.queue(file);
            // Read whole, it would take all memory: only the queue's capped reader may touch it.
            if (file == sparseTerabyte)
                QVERIFY(QFile(rig.queuePath() + "/" + rig.queueFiles().last()).resize(qint64(1) << 40));
        }
        QStringList statuses;
        connect(&model, &DashboardViewModel::routingStatusChanged, this, [&] { statuses << model.routingStatus(); });
        rig.changes.clear();

        waitForTask(model.retryPendingUploads());
        QCOMPARE(statuses, c.statuses);
        const qsizetype left = rig.queueFiles().filter(QRegularExpression("\\.json$")).size();
        QCOMPARE(left, c.remaining);
        QCOMPARE(rig.queueFiles().size() - left, c.setAside);
        if (c.statuses.size() > 1)
            compareTail(rig.changes, {"routingStatus", "isRoutingBusy", "pendingCount"});
        else
            QVERIFY(!rig.changes.contains("isRoutingBusy"));
        QCOMPARE(model.pendingCount(), c.statuses.size() > 1 ? c.remaining : 0);
    }

    void signIn_data()
    {
        QTest::addColumn<SignInCase>("c");
        const QStringList reset{"korvaneSignedIn", "korvaneUserName", "sheetsConfigured",
                                "korvaneStatus",   "isKorvaneBusy",   "korvaneCredential"};
        const QStringList ready{"korvaneStatus", "isKorvaneBusy", "korvaneCredential"};
        const QStringList refused{"korvaneConfigured", "korvaneStatus"};
        // clang-format off
        QTest::newRow("unreachable") << SignInCase{answer("GET /health", R"({"status": 503})"), "tech1", "Wrenlow backend gateway is unavailable.", "123456", refused, 42};
        QTest::newRow("blank user") << SignInCase{{}, " \n", "Enter a Korvane user and password or PIN.", "123456", refused, 42};
        QTest::newRow("refused") << SignInCase{answer("POST /api/v1/auth/login", R"({"status": 401, "json": {"error": {"code": "x", "message": "Wrong PIN."}}})"), "tech1", "Wrong PIN.", "", reset, 42};
        QTest::newRow("options fail") << SignInCase{answer("GET /api/v1/units/creation-options", R"({"status": 500, "json": {"error": {"message": "No options."}}})"), "tech1", "No options.", "", reset, 42};
        QTest::newRow("ready, padded user, selection kept") << SignInCase{{}, " tech1 ", "Korvane ready: 2 lots, 2 categories.", "", ready, 42};
        QTest::newRow("one each, gone selection replaced") << SignInCase{answer("GET /api/v1/units/creation-options", replyJson(R"("lots": [{"lot_id": 5, "name": "L", "allow_duplicate_match_unit_assumption": false}], "unit_categories": [{"config_value_id": 7, "label": "Laptop"}])")), "tech1", "Korvane ready: 1 lot, 1 category.", "", ready, 5};
        // clang-format on
    }

    // A failed sign-in or options request signs out everywhere (the page, the Sheets client and the broker
    // client) but leaves the routing line and the lists alone.
    void signIn()
    {
        QFETCH(SignInCase, c);
        WorkflowRig rig(c.routes);
        DashboardViewModel &model = *rig.model;
        model.setSelectedKorvaneLotId(42);
        rig.fillSignIn(c.identifier);
        rig.changes.clear();

        waitForTask(model.loginToKorvane());
        QCOMPARE(model.korvaneStatus(), c.status);
        QCOMPARE(model.korvaneCredential(), c.credential);
        compareTail(rig.changes, c.tail);
        QCOMPARE(model.selectedKorvaneLotId().value_or(0), c.lot);
        const bool signedIn = c.tail.first() == "korvaneStatus";
        QCOMPARE(model.korvaneSignedIn(), signedIn);
        QCOMPARE(model.sheetsConfigured(), signedIn);
        const QList<LoggedRequest> logins = rig.requestsFor("/api/v1/auth/login");
        if (!logins.isEmpty())
            QCOMPARE(jsonObject(logins.first().body).value("identifier"), "tech1");
        if (QTest::currentDataTag() == QByteArray("options fail")) {
            QCOMPARE(model.routingStatus(), "Secure Sheets session ready via the Wrenlow broker.");
            model.setEmpID("E100");
            model.setSheetsConfigured(true); // past the page's guard: the Sheets client must hold no token either
            waitForTask(model.loadProjects());
            QVERIFY(rig.requestsFor("listProjects").isEmpty());
            waitForTask(model.logoutFromKorvane()); // the broker client holds no session to sign out of
            QVERIFY(rig.requestsFor("/api/v1/auth/logout").isEmpty());
        }
    }

    // A sign-in started while one waits for the health probe is dropped without a trace.
    void secondSignInIgnored()
    {
        WorkflowRig rig(answer("GET /health", R"({"json": {"ok": true}, "hold": true})"));
        DashboardViewModel &model = *rig.model;
        rig.fillSignIn();
        QCoro::Task<> first = model.loginToKorvane();
        QTRY_COMPARE(rig.gateway.heldCount(), 1);
        rig.changes.clear();
        waitForTask(model.loginToKorvane());
        QVERIFY(rig.changes.isEmpty());
        rig.gateway.releaseHeld();
        waitForTask(std::move(first));
        QCOMPARE(model.korvaneStatus(), "Korvane ready: 2 lots, 2 categories.");
        QCOMPARE(rig.requestsFor("/api/v1/auth/login").size(), 1);
    }

    void resolve_data()
    {
        QTest::addColumn<ResolveCase>("c");
        const QString review = " Technician review is required before commit.";
        // clang-format off
        QTest::newRow("no scan") << ResolveCase{0, {}, "Scan this Mac before resolving a Korvane unit.", 0, false};
        QTest::newRow("signed out") << ResolveCase{1, {}, "Sign in to Korvane first.", 0, false};
        QTest::newRow("no lot") << ResolveCase{2, {}, "Select a lot before resolving the unit.", 0, false};
        QTest::newRow("unit among three") << ResolveCase{3, R"({"status": "matched", "match_count": 3, "unit": {"unit_id": 9}})", "Resolved existing Korvane unit #9. Status: matched.", 9, true};
        QTest::newRow("one candidate") << ResolveCase{3, R"({"match_count": 1, "requires_user_review": false})", "Korvane found 1 candidate match." + review, 0, false};
        QTest::newRow("text unit id, two") << ResolveCase{3, R"({"match_count": 2, "unit": {"unit_id": "9"}})", "Korvane found 2 candidate matches." + review, 0, true};
        QTest::newRow("creation allowed") << ResolveCase{3, R"({"requires_user_review": true, "creation_policy": {"creation_allowed": true}})", "No existing unit matched. Korvane permits creation after preflight.", 0, true};
        QTest::newRow("refused") << ResolveCase{3, R"({"creation_policy": {"creation_allowed": false}})", "Creation is not permitted for this context.", 0, false};
        QTest::newRow("nothing") << ResolveCase{3, "{}", "Korvane resolve completed with status: unknown.", 0, false};
        // clang-format on
    }

    void resolve()
    {
        QFETCH(ResolveCase, c);
        WorkflowRig rig(
            answer("POST /api/v1/units/resolve", c.reply.isEmpty() ? c.reply : R"({"json": )" + c.reply + "}"));
        DashboardViewModel &model = *rig.model;
        if (c.stage >= 2)
            rig.signIn();
        if (c.stage == 2)
            model.setSelectedKorvaneLotId(std::nullopt);
        if (c.stage >= 1)
            model.setSnapshot(scannedSnapshot());
        rig.changes.clear();

        waitForTask(model.resolveInKorvane());
        QCOMPARE(model.korvaneResolveSummary(), c.summary);
        QCOMPARE(model.korvaneResolvedUnitId().value_or(0), c.unitId);
        QCOMPARE(model.korvaneRequiresReview(), c.review);
        QCOMPARE(rig.changes.count("isKorvaneBusy"), c.stage == 3 ? 2 : 0);
    }

    // A failed resolve keeps the last result but is shown with the review symbol; only an expired session signs the
    // technician out, saying why in the status line, and of Korvane only: uploads go on with the Sheets token.
    // Sign-out then clears every backend field but not the routing.
    void resolveFailuresAndSignOut()
    {
        const QByteArray error = R"(, "json": {"error": {"code": "x", "message": "Refused."}}})";
        WorkflowRig rig(
            answers("POST /api/v1/units/resolve", {R"({"json": {"unit": {"unit_id": 9}}})", R"({"status": 500)" + error,
                                                   R"({"status": 401)" + error}));
        DashboardViewModel &model = *rig.model;
        rig.prepareUpload();
        model.setProjectOptions({"Spring Macs"});
        waitForTask(model.resolveInKorvane());
        QVERIFY(!model.korvaneSummaryNeedsReview());
        waitForTask(model.resolveInKorvane());
        QCOMPARE(model.korvaneResolveSummary(), "Korvane resolve failed: Refused.");
        QVERIFY(model.korvaneSignedIn() && model.korvaneResolvedUnitId() == 9);
        QVERIFY(model.korvaneSummaryNeedsReview() && !model.korvaneRequiresReview());
        waitForTask(model.resolveInKorvane());
        QVERIFY(!model.korvaneSignedIn() && model.korvaneUserName().isEmpty());
        QCOMPARE(model.korvaneStatus(), "Korvane resolve failed: Refused.");
        waitForTask(model.uploadToSheets());
        QCOMPARE(model.routingStatus(), "Upload complete: Spring Macs row 42.");

        waitForTask(model.logoutFromKorvane());
        QCOMPARE(model.korvaneStatus(), "Korvane signed out.");
        QCOMPARE(model.routingStatus(), "Sign in to Korvane to enable Sheets routing.");
        QVERIFY(!model.sheetsConfigured() && model.korvaneLots().isEmpty() && !model.selectedKorvaneLotId());
        QVERIFY(!model.korvaneResolvedUnitId() && model.korvaneResolveSummary().isEmpty() &&
                !model.korvaneSummaryNeedsReview());
        QCOMPARE(model.projectOptions(), QStringList{"Spring Macs"});
        QCOMPARE(rig.requestsFor("/api/v1/auth/logout").size(), 1);
    }
};

QTEST_GUILESS_MAIN(TestDashboardGateway)
#include "TestDashboardGateway.moc"
