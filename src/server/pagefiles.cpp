// SPDX-License-Identifier: GPL-3.0-or-later
#include "server/pagefiles.h"

#include "server/servertexts.h"

#include <QDirIterator>
#include <QFile>

namespace volcanelle::server {

namespace {

// The page may load and connect to its own origin only, and be framed by nobody.
constexpr char kPolicy[] = "default-src 'self'; connect-src 'self' ws: wss:; base-uri 'none'; "
                           "form-action 'none'; frame-ancestors 'none'";

QByteArray typeOf(const QString& name)
{
    if (name.endsWith(QLatin1String(".html")))
        return "text/html; charset=utf-8";
    if (name.endsWith(QLatin1String(".css")))
        return "text/css; charset=utf-8";
    if (name.endsWith(QLatin1String(".js")))
        return "text/javascript; charset=utf-8";
    if (name.endsWith(QLatin1String(".jpg")))
        return "image/jpeg";
    if (name.endsWith(QLatin1String(".png")))
        return "image/png";
    return "application/octet-stream";
}

QByteArray response(const QByteArray& status, const QByteArray& type, const QByteArray& cache,
                    const QByteArray& body, bool withBody, const QByteArray& extra = {})
{
    QByteArray out = "HTTP/1.1 " + status + "\r\n";
    out += "Content-Type: " + type + "\r\n";
    out += "Content-Length: " + QByteArray::number(body.size()) + "\r\n";
    out += "Content-Security-Policy: " + QByteArray(kPolicy) + "\r\n";
    out += "X-Content-Type-Options: nosniff\r\n";
    out += "Referrer-Policy: no-referrer\r\n";
    out += "Cache-Control: " + cache + "\r\n";
    out += extra;
    out += "Connection: close\r\n\r\n";
    if (withBody)
        out += body;
    return out;
}

QByteArray plainText(const QString& text)
{
    return (text + QLatin1Char('\n')).toUtf8();
}

} // namespace

PageFiles::PageFiles()
{
    for (QDirIterator it(QStringLiteral(":/web"), QDir::Files); it.hasNext();) {
        const QString resource = it.next();
        add("/" + it.fileName().toUtf8(), resource);
    }
    for (QDirIterator it(QStringLiteral(":/pictures"), QDir::Files); it.hasNext();) {
        const QString resource = it.next();
        add("/pictures/" + it.fileName().toUtf8(), resource);
    }
    add("/icon.png", QStringLiteral(":/icon.png"));
    if (files_.contains("/index.html"))
        files_.insert("/", files_.value("/index.html"));
}

void PageFiles::add(const QByteArray& path, const QString& resource)
{
    QFile file(resource);
    if (!file.open(QIODevice::ReadOnly))
        return;
    // The page itself is looked at again on each visit, so that a new server's page is the
    // one played; the pictures change only with the game.
    const QByteArray type = typeOf(resource);
    const QByteArray cache = type.startsWith("image/") ? "public, max-age=86400" : "no-cache";
    files_.insert(path, File{type, cache, file.readAll()});
}

QByteArray PageFiles::answer(const HttpHead& request) const
{
    const bool head = request.method == "HEAD";
    if (request.method != "GET" && !head)
        return response("405 Method Not Allowed", "text/plain; charset=utf-8", "no-store",
                        plainText(texts::methodNotAllowed()), true, "Allow: GET, HEAD\r\n");
    const auto found = files_.constFind(request.path);
    if (found == files_.constEnd())
        return response("404 Not Found", "text/plain; charset=utf-8", "no-store",
                        plainText(texts::pageNotFound()), !head);
    return response("200 OK", found->type, found->cache, found->bytes, !head);
}

QByteArray PageFiles::malformed()
{
    return response("400 Bad Request", "text/plain; charset=utf-8", "no-store",
                    plainText(texts::badRequest()), true);
}

QByteArray PageFiles::tooLong()
{
    return response("431 Request Header Fields Too Large", "text/plain; charset=utf-8", "no-store",
                    plainText(texts::requestTooLong()), true);
}

} // namespace volcanelle::server
