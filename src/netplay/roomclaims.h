// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>
#include <QLockFile>
#include <QSettings>
#include <QUrl>
#include <cstdint>
#include <memory>
#include <optional>

namespace volcanelle {

/// The sides of duel servers' rooms that this user's programs play, so that a program killed
/// mid-duel comes back to its side when started again with the same room. Each side is
/// claimed by the program that plays it with a lock, which the system frees when that
/// program ends however it ends; a second program of the same user in the same room (both
/// players at one computer) therefore never takes the first one's side. The tokens are
/// secrets: they live in the user's runtime folder, which only the user reads and which the
/// system empties at logout.
class RoomClaims {
public:
    /// `folder` is where the tokens and locks live; by default the user's runtime folder.
    explicit RoomClaims(const QString& folder = {});

    struct Side {
        int side = 0;
        QByteArray token;
    };
    /// A side of `room` on `server` that a program of this user played and no running
    /// program plays now: claimed for this program. Nothing when there is none.
    std::optional<Side> takeLeftSide(const QUrl& server, std::uint64_t room);
    /// Claims `side` of `room` for this program and keeps its token. False when another
    /// running program already plays it, or nothing can be kept here.
    bool claim(const QUrl& server, std::uint64_t room, int side, const QByteArray& token);
    /// The duel of the side claimed is over: its token goes.
    void release();

private:
    QString lockPath(std::uint64_t room, int side) const;
    static QString key(std::uint64_t room, int side);

    QString folder_;
    std::unique_ptr<QSettings> tokens_;
    std::unique_ptr<QLockFile> lock_;
    QString claimed_; // the key of the side this program plays
};

} // namespace volcanelle
