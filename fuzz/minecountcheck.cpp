// SPDX-License-Identifier: GPL-3.0-or-later
#include "minecountcheck.h"

#include "engine/minecount.h"
#include "engine/texts.h"

#include <optional>
#include <vector>

namespace volcanelle::checks {

namespace {

bool isAsciiDigit(QChar c)
{
    return c.unicode() >= u'0' && c.unicode() <= u'9';
}

// The rules read a second way, character by character, without the parser's conversions:
// the expected shown text, or nothing when the entry must be refused.
std::optional<QString> expectedShown(QStringView typed)
{
    qsizetype first = 0;
    qsizetype last = typed.size();
    while (first < last && typed[first].unicode() == u' ')
        ++first;
    while (last > first && typed[last - 1].unicode() == u' ')
        --last;
    if (first == last)
        return std::nullopt;
    int value = 0;
    for (qsizetype i = first; i < last; ++i) {
        if (!isAsciiDigit(typed[i]))
            return std::nullopt;
        value = value * 10 + (typed[i].unicode() - u'0');
        if (value > texts::kMostMines)
            return std::nullopt; // the rest can only make it larger
    }
    if (value < texts::kFewestMines)
        return std::nullopt;
    return typed.sliced(first, last - first).toString();
}

} // namespace

QString checkMineCount(QStringView typed)
{
    const std::optional<MineCount> read = readMineCount(typed);
    const std::optional<QString> expected = expectedShown(typed);
    if (!read && !expected)
        return {};
    if (!read)
        return QStringLiteral("refused an entry worth %1").arg(*expected);
    if (!expected)
        return QStringLiteral("accepted a bad entry as %1 mines").arg(read->mines);
    if (read->mines < texts::kFewestMines || read->mines > texts::kMostMines)
        return QStringLiteral("accepted %1 mines, out of range").arg(read->mines);
    if (read->shown != *expected)
        return QStringLiteral("shows \"%1\" instead of \"%2\"").arg(read->shown, *expected);
    for (const QChar c : read->shown)
        if (!isAsciiDigit(c))
            return QStringLiteral("shows a character that is not a digit");
    if (read->shown.toInt() != read->mines)
        return QStringLiteral("shows \"%1\" for %2 mines").arg(read->shown).arg(read->mines);
    return {};
}

QString checkMineCountBytes(const unsigned char* data, std::size_t size)
{
    const QString asUtf8 =
        QString::fromUtf8(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    if (QString fault = checkMineCount(asUtf8); !fault.isEmpty())
        return QStringLiteral("UTF-8 reading: ") + fault;

    std::vector<char16_t> units(size / 2);
    for (std::size_t i = 0; i < units.size(); ++i)
        units[i] = static_cast<char16_t>(data[2 * i] | (data[2 * i + 1] << 8));
    const QStringView asUtf16(units.data(), static_cast<qsizetype>(units.size()));
    if (QString fault = checkMineCount(asUtf16); !fault.isEmpty())
        return QStringLiteral("UTF-16 reading: ") + fault;
    return {};
}

} // namespace volcanelle::checks
