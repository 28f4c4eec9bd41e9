// wzdev broker --base URL [--pin] STEP...: the broker client's operations in order, in one process, each printing
// its result or its error as one JSON line. Steps: probe, login USER CREDENTIAL, options, resolve BODY.json, me,
// logout. The exit status is 1 when a step failed.
#include "Command.h"

#include "backend/KorvaneErrors.h"
#include "backend/MacKorvaneApiClient.h"
#include "common/WrenlowError.h"

#include <QJsonArray>

namespace wrenlow::wzdev {

namespace {

struct Step
{
    QString name;
    QStringList arguments;
    QJsonObject body;
};

QJsonObject runStep(MacKorvaneApiClient &client, const Step &step, bool usePin)
{
    if (step.name == u"probe")
        return {{QStringLiteral("reachable"), waitForClient(client.isReachable())}};
    if (step.name == u"login") {
        const KorvaneLoginResponse response =
            waitForClient(client.login(step.arguments.at(0), step.arguments.at(1), usePin));
        // The access token stays inside this process; the stand-in's log shows where it travelled.
        QJsonObject shown = response.toJson();
        shown.remove(QStringLiteral("access_token"));
        shown.insert(QStringLiteral("displayName"), response.user.displayName());
        return shown;
    }
    if (step.name == u"options")
        return waitForClient(client.creationOptions()).toJson();
    if (step.name == u"resolve")
        return waitForClient(client.resolve(step.body));
    if (step.name == u"me")
        return waitForClient(client.currentUser()).toJson();
    waitForClient(client.logout());
    return {{QStringLiteral("signedIn"), client.isSignedIn()}};
}

// A failed step: an error answer with every field the client read from it (so that its reading of the gateway's
// envelope and "Retry-After" can be checked from outside), any other failure by its description alone.
QJsonObject failureJson(const WrenlowError &error)
{
    QJsonObject shown{{QStringLiteral("error"), error.description()}};
    if (const auto *answer = dynamic_cast<const KorvaneApiError *>(&error)) {
        shown.insert(QStringLiteral("status"), answer->statusCode());
        shown.insert(QStringLiteral("code"), orNull(answer->code()));
        shown.insert(QStringLiteral("retryable"), answer->retryable());
        shown.insert(QStringLiteral("retryAfterMs"), orNull(answer->retryAfterMs()));
    }
    return shown;
}

// The steps with their arguments; false (after saying why) when the command line is not usable.
bool parseSteps(const QStringList &words, QList<Step> &steps)
{
    const QMap<QString, int> arity{{QStringLiteral("probe"), 0},   {QStringLiteral("login"), 2},
                                   {QStringLiteral("options"), 0}, {QStringLiteral("resolve"), 1},
                                   {QStringLiteral("me"), 0},      {QStringLiteral("logout"), 0}};
    for (qsizetype i = 0; i < words.size(); ++i) {
        const int count = arity.value(words.at(i), -1);
        if (count < 0 || i + count >= words.size()) {
            printError(QStringLiteral("unknown step or missing arguments: %1").arg(words.at(i)));
            return false;
        }
        Step step{words.at(i), words.mid(i + 1, count), {}};
        if (step.name == u"resolve" && !readJsonObject(step.arguments.first(), step.body))
            return false;
        steps.append(step);
        i += count;
    }
    return !steps.isEmpty();
}

int brokerCommand(const QStringList &arguments)
{
    const QString usage = QStringLiteral("usage: wzdev broker --base URL [--pin] STEP...");
    QCommandLineParser parser;
    const QCommandLineOption baseOption(QStringLiteral("base"), {}, QStringLiteral("URL"));
    const QCommandLineOption pinOption(QStringLiteral("pin"));
    parser.addOptions({baseOption, pinOption});
    const std::optional<QStringList> words = parseArguments(parser, arguments);
    if (!words || !parser.isSet(baseOption)) {
        printError(usage);
        return 2;
    }
    const QUrl base(parser.value(baseOption), QUrl::StrictMode);
    if (!base.isValid() || !base.path().endsWith(u'/') || (base.scheme() != u"http" && base.scheme() != u"https")) {
        printError(QStringLiteral("--base needs an http(s) URL ending in /"));
        return 2;
    }
    const bool usePin = parser.isSet(pinOption);
    QList<Step> steps;
    if (!parseSteps(*words, steps)) {
        printError(usage);
        return 2;
    }

    MacKorvaneApiClient client(base);
    bool failed = false;
    for (const Step &step : steps) {
        try {
            printJson(runStep(client, step, usePin));
        } catch (const WrenlowError &error) {
            printJson(failureJson(error));
            failed = true;
        }
    }
    return failed ? 1 : 0;
}

const Registration registration{
    {QStringLiteral("broker"),
     QStringLiteral(
         "--base URL [--pin] STEP...   (probe, login USER CREDENTIAL, options, resolve BODY.json, me, logout)"),
     brokerCommand}};

} // namespace

} // namespace wrenlow::wzdev
