// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "server/httphead.h"

#include <QByteArray>
#include <QHash>

namespace volcanelle::server {

/// The browser page's files, compiled into the server (the page under :/web, the cell pictures
/// and the icon from the game's own resources), and the HTTP answers made of them. Nothing is
/// read from disk: a path is answered only when it names one of these files.
class PageFiles {
public:
    PageFiles();

    /// The whole answer, head and body, to a request; it always closes the connection.
    QByteArray answer(const HttpHead& request) const;
    /// The answer to a head that could not be read (400), or that was too long (431).
    static QByteArray malformed();
    static QByteArray tooLong();

    int count() const { return static_cast<int>(files_.size()); }

private:
    struct File {
        QByteArray type;
        QByteArray cache;
        QByteArray bytes;
    };
    void add(const QByteArray& path, const QString& resource);

    QHash<QByteArray, File> files_;
};

} // namespace volcanelle::server
