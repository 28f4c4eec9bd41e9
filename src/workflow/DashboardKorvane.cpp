#include "workflow/DashboardViewModel.h"

#include "backend/KorvaneErrors.h"
#include "backend/MacKorvaneApiClient.h"
#include "common/JsonFields.h"
#include "report/MacCanonicalInventoryBuilder.h"
#include "workflow/StatusText.h"
#include "workflow/WorkflowServices.h"

#include <algorithm>

// The Korvane session (sign-in, which also opens the Sheets functions, and sign-out) and the unit resolve.

namespace wrenlow {

namespace {

// The selection when the new list still offers it, else the first entry's id, else none.
template <typename T> std::optional<qint64> keptOrFirst(std::optional<qint64> selected, const QList<T> &entries)
{
    if (selected &&
        std::any_of(entries.begin(), entries.end(), [&](const T &entry) { return entry.id() == *selected; }))
        return selected;
    return entries.isEmpty() ? std::nullopt : std::optional<qint64>(entries.first().id());
}

QString resolveSummary(const QJsonObject &reply, std::optional<qint64> unitId, qint64 candidates)
{
    const QJsonValue statusValue = reply.value(u"status");
    const QString statusText = statusValue.isString() ? statusValue.toString() : QStringLiteral("unknown");
    if (unitId) {
        return QStringLiteral("Resolved existing Korvane unit #") + QString::number(*unitId) +
               QStringLiteral(". Status: ") + statusText + u'.';
    }
    if (candidates >= 1) {
        return QStringLiteral("Korvane found ") +
               status::counted(candidates, QStringLiteral("candidate match"), QStringLiteral("es")) +
               QStringLiteral(". Technician review is required before commit.");
    }
    const QJsonValue policy = reply.value(u"creation_policy");
    const QJsonValue allowed = policy.toObject().value(u"creation_allowed");
    if (policy.isObject() && allowed.isBool()) {
        if (allowed.toBool())
            return QStringLiteral("No existing unit matched. Korvane permits creation after preflight.");
        const QJsonValue reason = policy.toObject().value(u"reason");
        return reason.isString() ? reason.toString() : QStringLiteral("Creation is not permitted for this context.");
    }
    return QStringLiteral("Korvane resolve completed with status: ") + statusText + u'.';
}

} // namespace

QCoro::Task<> DashboardViewModel::loginToKorvane()
{
    // A second sign-in while one runs would interleave its texts with the first's; it is dropped.
    if (m_signInRunning)
        co_return;
    m_signInRunning = true;

    const bool reachable = co_await m_services->korvane->isReachable();
    setKorvaneConfigured(reachable);
    const QString identifier = m_korvaneIdentifier.trimmed();
    if (!reachable) {
        setKorvaneStatus(QStringLiteral("Wrenlow backend gateway is unavailable."));
    } else if (identifier.isEmpty() || m_korvaneCredential.isEmpty()) {
        setKorvaneStatus(QStringLiteral("Enter a Korvane user and password or PIN."));
    } else {
        setIsKorvaneBusy(true);
        try {
            co_await signInSteps(identifier);
        } catch (...) {
            resetSignIn(status::describeCurrent());
        }
        setIsKorvaneBusy(false);
        setKorvaneCredential(QString());
    }
    m_signInRunning = false;
}

QCoro::Task<> DashboardViewModel::signInSteps(QString identifier)
{
    setKorvaneStatus(QStringLiteral("Signing in through the secure Wrenlow broker…"));
    std::optional<KorvaneLoginResponse> session;
    QString failure;
    try {
        session = co_await m_services->korvane->login(identifier, m_korvaneCredential, m_korvaneUsePin);
    } catch (...) {
        failure = status::describeCurrent();
    }
    if (!session) {
        resetSignIn(failure);
        co_return;
    }

    const QString name = session->user.displayName();
    setKorvaneSignedIn(true);
    setKorvaneUserName(name);
    m_services->sheets->setBearerToken(session->accessToken);
    setSheetsConfigured(true);
    setRoutingStatus(QStringLiteral("Secure Sheets session ready via the Wrenlow broker."));
    setKorvaneStatus(QStringLiteral("Signed in as ") + name + QStringLiteral(". Loading lot and category options…"));

    std::optional<KorvaneCreationOptions> options;
    try {
        options = co_await m_services->korvane->creationOptions();
    } catch (...) {
        failure = status::describeCurrent();
    }
    if (!options) {
        resetSignIn(failure);
        co_return;
    }
    setKorvaneLots(options->lots);
    setKorvaneCategories(options->unitCategories);
    setSelectedKorvaneLotId(keptOrFirst(m_selectedKorvaneLotId, m_korvaneLots));
    setSelectedKorvaneCategoryId(keptOrFirst(m_selectedKorvaneCategoryId, m_korvaneCategories));
    setKorvaneStatus(QStringLiteral("Korvane ready: ") + status::counted(m_korvaneLots.size(), QStringLiteral("lot")) +
                     QStringLiteral(", ") +
                     status::counted(m_korvaneCategories.size(), QStringLiteral("categor"), QStringLiteral("ies"),
                                     QStringLiteral("y")) +
                     u'.');
}

void DashboardViewModel::resetSignIn(const QString &reason)
{
    setKorvaneSignedIn(false);
    setKorvaneUserName(QString());
    m_services->sheets->setBearerToken(std::nullopt);
    // The page says signed out, so no token may stay behind in the broker client either.
    m_services->korvane->forgetSession();
    setSheetsConfigured(false);
    setKorvaneStatus(reason);
}

QCoro::Task<> DashboardViewModel::logoutFromKorvane()
{
    setIsKorvaneBusy(true);
    setKorvaneStatus(QStringLiteral("Signing out…"));
    try {
        co_await m_services->korvane->logout();
    } catch (...) {
        // Signing out cannot fail: the client has dropped its session whatever happened.
    }
    m_services->sheets->setBearerToken(std::nullopt);
    setSheetsConfigured(false);
    setKorvaneSignedIn(false);
    setKorvaneUserName(QString());
    setKorvaneLots({});
    setKorvaneCategories({});
    setSelectedKorvaneLotId(std::nullopt);
    setSelectedKorvaneCategoryId(std::nullopt);
    setKorvaneResolvedUnitId(std::nullopt);
    setKorvaneRequiresReview(false);
    showResolveSummary(QString(), false);
    setRoutingStatus(QStringLiteral("Sign in to Korvane to enable Sheets routing."));
    setKorvaneStatus(QStringLiteral("Korvane signed out."));
    setIsKorvaneBusy(false);
}

QCoro::Task<> DashboardViewModel::resolveInKorvane()
{
    if (!m_snapshot) {
        showResolveSummary(QStringLiteral("Scan this Mac before resolving a Korvane unit."), true);
        co_return;
    }
    if (!m_korvaneSignedIn) {
        showResolveSummary(QStringLiteral("Sign in to Korvane first."), true);
        co_return;
    }
    if (!m_selectedKorvaneLotId) {
        showResolveSummary(QStringLiteral("Select a lot before resolving the unit."), true);
        co_return;
    }
    setIsKorvaneBusy(true);
    try {
        co_await resolveSteps();
    } catch (...) {
        showResolveSummary(QStringLiteral("Korvane resolve failed: ") + status::describeCurrent(), true);
    }
    setIsKorvaneBusy(false);
}

QCoro::Task<> DashboardViewModel::resolveSteps()
{
    showResolveSummary(QStringLiteral("Resolving this Mac in Korvane…"), false);
    QJsonObject body = MacCanonicalInventoryBuilder::buildResolveBody(*m_snapshot, *m_selectedKorvaneLotId,
                                                                      m_selectedKorvaneCategoryId, m_assetTag);
    std::optional<QJsonObject> reply;
    QString failure;
    bool sessionExpired = false;
    try {
        reply = co_await m_services->korvane->resolve(std::move(body));
    } catch (const KorvaneApiError &error) {
        failure = error.description();
        sessionExpired = error.sessionExpired();
    } catch (...) {
        failure = status::describeCurrent();
    }
    if (!reply) {
        if (sessionExpired) {
            setKorvaneSignedIn(false);
            setKorvaneUserName(QString());
        }
        showResolveSummary(QStringLiteral("Korvane resolve failed: ") + failure, true);
        // Signed out, the card hides the summary and shows the status line, which must then say why.
        if (sessionExpired)
            setKorvaneStatus(m_korvaneResolveSummary);
        co_return;
    }

    const qint64 candidates = json::exactInteger(reply->value(u"match_count")).value_or(0);
    const QJsonValue review = reply->value(u"requires_user_review");
    const std::optional<qint64> unitId = json::exactInteger(reply->value(u"unit").toObject().value(u"unit_id"));
    setKorvaneResolvedUnitId(unitId);
    setKorvaneRequiresReview((review.isBool() && review.toBool()) || candidates > 1);
    showResolveSummary(resolveSummary(*reply, unitId, candidates), false);
}

void DashboardViewModel::showResolveSummary(const QString &text, bool failed)
{
    // Stored before the announcement, so that the card reading it then sees the right symbol.
    m_korvaneResolveFailed = failed;
    setKorvaneResolveSummary(text);
}

} // namespace wrenlow
