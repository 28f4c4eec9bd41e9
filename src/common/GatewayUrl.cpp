#include "common/GatewayUrl.h"

namespace wrenlow {

QUrl gatewayBaseUrl()
{
    return QUrl(QStringLiteral(WRENLOW_GATEWAY_BASE_URL), QUrl::StrictMode);
}

QUrl endpointUrl(const QUrl &base, const QString &path)
{
    return QUrl(base.toString(QUrl::FullyEncoded) + path, QUrl::StrictMode);
}

QUrl urlWithQuery(QUrl url, const QList<std::pair<QString, QString>> &items)
{
    QByteArrayList pairs;
    for (const auto &[name, value] : items)
        pairs.append(QUrl::toPercentEncoding(name) + '=' + QUrl::toPercentEncoding(value));
    url.setQuery(QString::fromLatin1(pairs.join('&')), QUrl::StrictMode);
    return url;
}

} // namespace wrenlow
