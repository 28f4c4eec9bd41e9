#pragma once

#include <QList>
#include <QString>
#include <QUrl>

#include <utility>

namespace wrenlow {

// The company gateway's base URL as this build was configured, ending in "/". The build only accepts HTTPS, or
// plain HTTP on a loopback host for development.
QUrl gatewayBaseUrl();

// The base URL's text followed by a path relative to it ("sheets", "api/v1/auth/login").
QUrl endpointUrl(const QUrl &base, const QString &path);

// The URL with these query items in this order. Names and values are percent-encoded except for RFC 3986's
// unreserved characters, so "+", "&", "=", "%" and "#" reach any gateway unchanged, also one that decodes "+"
// as a blank.
QUrl urlWithQuery(QUrl url, const QList<std::pair<QString, QString>> &items);

} // namespace wrenlow
