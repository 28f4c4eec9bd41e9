// wzdev workflow [--base URL] [--no-wait] [--each] STEP...: the workflow view model with the product's services,
// driven step by step as the pages would, each step awaited. Prints every published field and the derived values
// as one JSON object at the end, or with --each one line per step with the changes it announced, in order.
#include "Command.h"

#include "workflow/DashboardViewModel.h"
#include "workflow/WorkflowServices.h"

#include <QCoroTimer>
#include <QJsonArray>
#include <QMetaProperty>

#include <functional>

namespace wrenlow::wzdev {

namespace {

using namespace std::chrono_literals;
using Field = DashboardViewModel::Field;

const QString usageText = QStringLiteral(
    "[--base URL] [--no-wait] [--each] STEP...  steps: scan | set FIELD VALUE | run ID | mark ID STATE | "
    "load-projects | check-duplicate | upload | retry | login | logout | resolve");

int usage(const QString &reason)
{
    printError(QStringLiteral("wzdev workflow: ") + reason);
    printError(QStringLiteral("usage: wzdev workflow ") + usageText);
    return 2;
}

QMetaProperty fieldProperty(Field field)
{
    const QMetaObject &meta = DashboardViewModel::staticMetaObject;
    return meta.property(meta.propertyOffset() + int(field));
}

template <typename T> QJsonArray jsonArray(const QList<T> &records)
{
    QJsonArray array;
    for (const T &record : records)
        array.append(record.toJson());
    return array;
}

// A typed PIN or password is never printed back; only whether one is typed shows.
QString shownCredential(const QString &credential)
{
    return credential.isEmpty() ? QString() : QStringLiteral("•••");
}

QJsonValue fieldJson(const DashboardViewModel &model, Field field)
{
    if (field == Field::korvaneCredential)
        return shownCredential(model.korvaneCredential());
    const QVariant value = fieldProperty(field).read(&model);
    const QMetaType type = value.metaType();
    if (type == QMetaType::fromType<AppPage>())
        return rawValue(value.value<AppPage>());
    if (type == QMetaType::fromType<std::optional<InventorySnapshot>>()) {
        const auto snapshot = value.value<std::optional<InventorySnapshot>>();
        return snapshot ? QJsonValue(snapshot->toJson()) : QJsonValue();
    }
    if (type == QMetaType::fromType<std::optional<qint64>>())
        return orNull(value.value<std::optional<qint64>>());
    if (type == QMetaType::fromType<QList<KorvaneLot>>())
        return jsonArray(value.value<QList<KorvaneLot>>());
    if (type == QMetaType::fromType<QList<KorvaneUnitCategory>>())
        return jsonArray(value.value<QList<KorvaneUnitCategory>>());
    return QJsonValue::fromVariant(value); // text, flag, count, list of texts
}

QJsonObject fieldsJson(const DashboardViewModel &model)
{
    QJsonObject fields;
    for (int index = 0; index < DashboardViewModel::fieldCount; ++index)
        fields.insert(DashboardViewModel::fieldName(Field(index)), fieldJson(model, Field(index)));
    fields.insert(QStringLiteral("totalTests"), model.totalTests());
    fields.insert(QStringLiteral("completedTests"), model.completedTests());
    fields.insert(QStringLiteral("canUpload"), model.canUpload());
    fields.insert(QStringLiteral("unitResult"), model.unitResult());
    fields.insert(QStringLiteral("isAmazon"), model.isAmazon());
    fields.insert(QStringLiteral("routingReady"), model.routingReady());
    fields.insert(QStringLiteral("korvaneResolveReady"), model.korvaneResolveReady());
    return fields;
}

// The typed value for "set FIELD VALUE", or nothing when the field cannot be set from a word or the word does not
// fit its type.
std::optional<QVariant> fieldValue(Field field, const QString &word)
{
    const QMetaType type = fieldProperty(field).metaType();
    if (type == QMetaType::fromType<QString>())
        return QVariant(word);
    if (type == QMetaType::fromType<bool>() && (word == u"true" || word == u"false"))
        return QVariant(word == u"true");
    if (type == QMetaType::fromType<AppPage>()) {
        if (const std::optional<AppPage> page = appPageFromRaw(word))
            return QVariant::fromValue(*page);
        return std::nullopt;
    }
    bool isNumber = false;
    const qint64 number = word.toLongLong(&isNumber);
    if (type == QMetaType::fromType<qint64>() && isNumber)
        return QVariant(number);
    if (type == QMetaType::fromType<std::optional<qint64>>() && (isNumber || word == u"none"))
        return QVariant::fromValue(isNumber ? std::optional<qint64>(number) : std::nullopt);
    return std::nullopt;
}

// A diagnostic state by its raw value ("Pass", "N/A") or its case name ("pass", "notApplicable").
std::optional<DiagnosticState> stateFromWord(const QString &word)
{
    static const QStringList caseNames{QStringLiteral("ready"),  QStringLiteral("running"),
                                       QStringLiteral("pass"),   QStringLiteral("fail"),
                                       QStringLiteral("review"), QStringLiteral("notApplicable")};
    if (const std::optional<DiagnosticState> state = diagnosticStateFromRaw(word))
        return state;
    const qsizetype index = caseNames.indexOf(word);
    return index < 0 ? std::nullopt : std::optional<DiagnosticState>(allDiagnosticStates().at(index));
}

struct Step
{
    QString text;
    std::function<QCoro::Task<>(DashboardViewModel &)> run;
};

QCoro::Task<> done()
{
    co_return;
}

// Turns the words into steps; on a usage error names it in `error` and returns nothing.
std::optional<QList<Step>> parseSteps(QStringList words, QString &error)
{
    using Operation = QCoro::Task<> (DashboardViewModel::*)();
    static const QList<std::pair<QString, Operation>> operations{
        {QStringLiteral("scan"), &DashboardViewModel::scan},
        {QStringLiteral("load-projects"), &DashboardViewModel::loadProjects},
        {QStringLiteral("check-duplicate"), &DashboardViewModel::checkDuplicate},
        {QStringLiteral("upload"), &DashboardViewModel::uploadToSheets},
        {QStringLiteral("retry"), &DashboardViewModel::retryPendingUploads},
        {QStringLiteral("login"), &DashboardViewModel::loginToKorvane},
        {QStringLiteral("logout"), &DashboardViewModel::logoutFromKorvane},
        {QStringLiteral("resolve"), &DashboardViewModel::resolveInKorvane}};

    QList<Step> steps;
    while (!words.isEmpty()) {
        const QString name = words.takeFirst();
        const auto operation = std::ranges::find(operations, name, &std::pair<QString, Operation>::first);
        if (operation != operations.end()) {
            steps.append({name, [run = operation->second](DashboardViewModel &model) { return (model.*run)(); }});
        } else if (name == u"set" && words.size() >= 2) {
            const QString fieldName = words.takeFirst();
            const QString word = words.takeFirst();
            const std::optional<Field> field = DashboardViewModel::fieldFromName(fieldName);
            const std::optional<QVariant> value = field ? fieldValue(*field, word) : std::nullopt;
            if (!value) {
                error = QStringLiteral("cannot set ") + fieldName + QStringLiteral(" to ") + word;
                return std::nullopt;
            }
            const QString shownWord = *field == Field::korvaneCredential ? shownCredential(word) : word;
            steps.append(
                {QStringList{name, fieldName, shownWord}.join(u' '), [field, value](DashboardViewModel &model) {
                     fieldProperty(*field).write(&model, *value);
                     return done();
                 }});
        } else if (name == u"run" && !words.isEmpty()) {
            const QString id = words.takeFirst();
            steps.append({name + u' ' + id, [id](DashboardViewModel &model) { return model.runDiagnosticAction(id); }});
        } else if (name == u"mark" && words.size() >= 2) {
            const QString id = words.takeFirst();
            const QString word = words.takeFirst();
            const std::optional<DiagnosticState> state = stateFromWord(word);
            if (!state) {
                error = QStringLiteral("unknown diagnostic state ") + word;
                return std::nullopt;
            }
            steps.append({QStringList{name, id, word}.join(u' '), [id, state](DashboardViewModel &model) {
                              model.markDiagnostic(id, *state);
                              return done();
                          }});
        } else {
            error = QStringLiteral("unknown or incomplete step ") + name;
            return std::nullopt;
        }
    }
    return steps;
}

int workflowCommand(const QStringList &arguments)
{
    QStringList rest = arguments;
    QUrl base = gatewayBaseUrl();
    MacSheetsClient::Sleeper sleeper = MacSheetsClient::defaultSleeper();
    bool each = false;
    while (!rest.isEmpty() && rest.first().startsWith(QStringLiteral("--"))) {
        const QString option = rest.takeFirst();
        if (option == u"--no-wait")
            sleeper = [](std::chrono::milliseconds) { return QCoro::sleepFor(0ms); };
        else if (option == u"--each")
            each = true;
        else if (option == u"--base" && !rest.isEmpty())
            base = QUrl(rest.takeFirst(), QUrl::StrictMode);
        else
            return usage(QStringLiteral("unknown option ") + option);
    }
    if (!base.isValid() || !base.path().endsWith(u'/'))
        return usage(QStringLiteral("the base URL must be valid and end in /"));
    if (rest.isEmpty())
        return usage(QStringLiteral("no steps"));
    QString error;
    const std::optional<QList<Step>> steps = parseSteps(rest, error);
    if (!steps)
        return usage(error);

    DashboardViewModel model(WorkflowServices::production(base, sleeper));
    QJsonArray changes;
    QObject::connect(&model, &DashboardViewModel::changed, &model, [&](Field field) {
        changes.append(QJsonArray{DashboardViewModel::fieldName(field), fieldJson(model, field)});
    });
    for (const Step &step : *steps) {
        changes = QJsonArray();
        waitForClient(step.run(model));
        if (each) {
            printJson(QJsonObject{{QStringLiteral("step"), step.text},
                                  {QStringLiteral("changes"), changes},
                                  {QStringLiteral("fields"), fieldsJson(model)}});
        }
    }
    if (!each)
        printJson(fieldsJson(model), true);
    return 0;
}

const Registration registration{{QStringLiteral("workflow"), usageText, workflowCommand}};

} // namespace

} // namespace wrenlow::wzdev
