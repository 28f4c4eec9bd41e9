#include "scan/PropertyList.h"

#include "common/UtcTime.h"
#include "common/WrenlowError.h"
#include "scan/LibplistApi.h"

#include <QDateTime>
#include <QVariantList>
#include <QVariantMap>

#include <cstdlib>
#include <limits>
#include <memory>

namespace wrenlow {

namespace {

[[noreturn]] void fail(const char *why)
{
    throw PlatformError(QStringLiteral("The property list could not be read: %1.").arg(QLatin1String(why)));
}

struct PlistDeleter
{
    void operator()(plist_t node) const { plist_free(node); }
};
using PlistPtr = std::unique_ptr<void, PlistDeleter>;

QVariant integerValue(plist_t node)
{
    uint64_t bits = 0;
    plist_get_uint_val(node, &bits);
    if (bits <= uint64_t(std::numeric_limits<qint64>::max()))
        return QVariant::fromValue(qint64(bits));
    if (libplist::isNegative(node))
        return QVariant::fromValue(static_cast<qint64>(bits)); // two's complement, well defined in C++20
    return QVariant::fromValue(quint64(bits));
}

QVariant convert(plist_t node, int depth)
{
    if (depth > PropertyList::maxDepth)
        fail("it is nested too deeply");
    switch (plist_get_node_type(node)) {
    case PLIST_BOOLEAN: {
        uint8_t value = 0;
        plist_get_bool_val(node, &value);
        return QVariant(value != 0);
    }
    case PLIST_UINT:
        return integerValue(node);
    case PLIST_REAL: {
        double value = 0;
        plist_get_real_val(node, &value);
        return QVariant(value);
    }
    case PLIST_STRING: {
        // By pointer and length: the copying getter asserts (and aborts) on a string holding a NUL.
        uint64_t length = 0;
        const char *value = plist_get_string_ptr(node, &length);
        if (!value || length > uint64_t(std::numeric_limits<qsizetype>::max()))
            fail("it holds an unreadable text");
        return QVariant(QString::fromUtf8(value, qsizetype(length)));
    }
    case PLIST_DATA: {
        uint64_t length = 0;
        const char *value = plist_get_data_ptr(node, &length);
        if (length > uint64_t(std::numeric_limits<qsizetype>::max()))
            fail("it holds unreadable data");
        return QVariant(value ? QByteArray(value, qsizetype(length)) : QByteArray());
    }
    case PLIST_DATE: {
        return QVariant(QDateTime::fromMSecsSinceEpoch(libplist::unixMilliseconds(node), utc));
    }
    case PLIST_ARRAY: {
        QVariantList list;
        const uint32_t size = plist_array_get_size(node);
        list.reserve(qsizetype(size));
        for (uint32_t i = 0; i < size; ++i)
            list.append(convert(plist_array_get_item(node, i), depth + 1));
        return QVariant(list);
    }
    case PLIST_DICT: {
        QVariantMap map;
        plist_dict_iter it = nullptr;
        plist_dict_new_iter(node, &it);
        for (;;) {
            char *key = nullptr;
            plist_t item = nullptr;
            plist_dict_next_item(node, it, &key, &item);
            if (!item) {
                std::free(key);
                break;
            }
            const QString name = key ? QString::fromUtf8(key) : QString();
            std::free(key);
            map.insert(name, convert(item, depth + 1));
        }
        std::free(it);
        return QVariant(map);
    }
    case PLIST_UID: {
        uint64_t value = 0;
        plist_get_uid_val(node, &value);
        return QVariant::fromValue(quint64(value));
    }
    default: // a key outside a dictionary, a binary list's null (libplist 2.3 and later), a type added later
        break;
    }
    fail("it holds an element of an unknown type");
}

// Counts how deeply containers open before the parser sees the text, so that a hostile document cannot
// exhaust the stack inside the parser itself.
bool nestsTooDeeply(const QByteArray &document)
{
    if (document.startsWith("bplist"))
        return false; // binary lists refer to objects by offset; libplist guards their recursion itself
    int depth = 0;
    for (qsizetype i = 0; i + 1 < document.size(); ++i) {
        if (document[i] != '<')
            continue;
        const char next = document[i + 1];
        if (next == 'a' || next == 'd') {
            const QByteArrayView rest(document.constData() + i, document.size() - i);
            const bool opens = rest.startsWith("<array>") || rest.startsWith("<dict>");
            if (opens && ++depth > PropertyList::maxDepth)
                return true;
        } else if (next == '/') {
            const QByteArrayView rest(document.constData() + i, document.size() - i);
            if (rest.startsWith("</array>") || rest.startsWith("</dict>"))
                --depth;
        }
    }
    return false;
}

} // namespace

QVariant PropertyList::parse(const QByteArray &document)
{
    if (document.isEmpty())
        fail("it is empty");
    if (document.size() > std::numeric_limits<int32_t>::max())
        fail("it is too large");
    if (nestsTooDeeply(document))
        fail("it is nested too deeply");
    const PlistPtr root(libplist::parseXmlOrBinary(document.constData(), uint32_t(document.size())));
    if (!root)
        fail("it is malformed or truncated");
    return convert(root.get(), 0);
}

} // namespace wrenlow
