#include "Command.h"

#include "common/JsonFields.h"
#include "common/WrenlowError.h"

#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

#include <cstdio>

namespace wrenlow::wzdev {

namespace {

QList<Command> &registry()
{
    static QList<Command> commands;
    return commands;
}

void write(FILE *stream, const QString &text)
{
    const QByteArray bytes = text.toUtf8() + '\n';
    std::fwrite(bytes.constData(), 1, size_t(bytes.size()), stream);
    std::fflush(stream);
}

} // namespace

void CommandRegistry::add(Command command)
{
    registry().append(std::move(command));
}

const QList<Command> &CommandRegistry::all()
{
    return registry();
}

void printLine(const QString &text)
{
    write(stdout, text);
}

void printError(const QString &text)
{
    write(stderr, text);
}

void printJson(const QJsonValue &value, bool indented)
{
    const QJsonDocument::JsonFormat format = indented ? QJsonDocument::Indented : QJsonDocument::Compact;
    QByteArray bytes;
    if (value.isObject())
        bytes = QJsonDocument(value.toObject()).toJson(format);
    else if (value.isArray())
        bytes = QJsonDocument(value.toArray()).toJson(format);
    else // a scalar: wrap it and cut the brackets off again
        bytes = QJsonDocument(QJsonArray{value}).toJson(QJsonDocument::Compact).mid(1).chopped(1);
    printLine(QString::fromUtf8(bytes.trimmed()));
}

std::optional<QStringList> parseArguments(QCommandLineParser &parser, const QStringList &arguments, OptionPlace place)
{
    parser.setSingleDashWordOptionMode(QCommandLineParser::ParseAsLongOptions);
    parser.setOptionsAfterPositionalArgumentsMode(place == OptionPlace::BeforeArguments
                                                      ? QCommandLineParser::ParseAsPositionalArguments
                                                      : QCommandLineParser::ParseAsOptions);
    // The parser takes the first word for the program's name.
    if (!parser.parse(QStringList{QStringLiteral("wzdev")} + arguments))
        return std::nullopt;
    return parser.positionalArguments();
}

bool readJsonObject(const QString &path, QJsonObject &into)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        printError(QStringLiteral("Cannot read %1: %2").arg(path, file.errorString()));
        return false;
    }
    try {
        into = json::parseObject(file.readAll());
        return true;
    } catch (const WrenlowError &error) {
        printError(QStringLiteral("%1: %2").arg(path, error.description()));
        return false;
    }
}

} // namespace wrenlow::wzdev
