// SPDX-License-Identifier: GPL-3.0-or-later
#include "wire/token.h"

#include "wire/messages.h"

#include <QRandomGenerator>

namespace volcanelle::wire {

static_assert(kTokenSize % 4 == 0, "drawn in whole 32-bit words");

QByteArray drawToken()
{
    QByteArray token(kTokenSize, Qt::Uninitialized);
    QRandomGenerator::system()->fillRange(reinterpret_cast<quint32*>(token.data()), kTokenSize / 4);
    return token;
}

bool sameToken(const QByteArray& token, const QByteArray& given)
{
    if (token.size() != given.size() || token.isEmpty())
        return false;
    unsigned char diff = 0;
    for (qsizetype i = 0; i < token.size(); ++i)
        diff |= static_cast<unsigned char>(token[i] ^ given[i]);
    return diff == 0;
}

} // namespace volcanelle::wire
