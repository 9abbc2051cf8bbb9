// SPDX-License-Identifier: GPL-3.0-or-later
#include "netplay/roomclaims.h"

#include "net/roomcode.h"

#include <QStandardPaths>

namespace volcanelle {

RoomClaims::RoomClaims(const QString& folder)
    : folder_(folder.isEmpty() ? QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation)
                               : folder)
{
    if (!folder_.isEmpty())
        tokens_ = std::make_unique<QSettings>(folder_ + QStringLiteral("/volcanelle-rooms"),
                                              QSettings::IniFormat);
}

QString RoomClaims::key(std::uint64_t room, int side)
{
    return QStringLiteral("%1-%2").arg(net::roomCodeText(room)).arg(side);
}

QString RoomClaims::lockPath(std::uint64_t room, int side) const
{
    return folder_ + QStringLiteral("/volcanelle-room-") + key(room, side) +
           QStringLiteral(".lock");
}

std::optional<RoomClaims::Side> RoomClaims::takeLeftSide(const QUrl& server, std::uint64_t room)
{
    if (!tokens_ || lock_)
        return std::nullopt;
    tokens_->sync();
    for (int side = 1; side <= 2; ++side) {
        const QString at = key(room, side);
        if (tokens_->value(at + QStringLiteral("/server")).toString() != server.toString())
            continue;
        auto lock = std::make_unique<QLockFile>(lockPath(room, side));
        // Held as long as its program runs, however long that is.
        lock->setStaleLockTime(0);
        if (!lock->tryLock(0))
            continue;
        lock_ = std::move(lock);
        claimed_ = at;
        return Side{
            side, QByteArray::fromHex(tokens_->value(at + QStringLiteral("/token")).toByteArray())};
    }
    return std::nullopt;
}

bool RoomClaims::claim(const QUrl& server, std::uint64_t room, int side, const QByteArray& token)
{
    if (!tokens_)
        return false;
    const QString at = key(room, side);
    if (claimed_ != at) {
        auto lock = std::make_unique<QLockFile>(lockPath(room, side));
        lock->setStaleLockTime(0);
        if (!lock->tryLock(0))
            return false;
        lock_ = std::move(lock);
        claimed_ = at;
    }
    tokens_->setValue(at + QStringLiteral("/server"), server.toString());
    tokens_->setValue(at + QStringLiteral("/token"), token.toHex());
    tokens_->sync();
    return true;
}

void RoomClaims::release()
{
    if (!tokens_ || claimed_.isEmpty())
        return;
    tokens_->remove(claimed_);
    tokens_->sync();
    lock_.reset();
    claimed_.clear();
}

} // namespace volcanelle
