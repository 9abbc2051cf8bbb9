// SPDX-License-Identifier: GPL-3.0-or-later
#include "engine/minecount.h"

#include "engine/texts.h"

#include <charconv>
#include <string>

namespace volcanelle {

std::optional<MineCount> readMineCount(QStringView typed)
{
    qsizetype first = 0;
    qsizetype last = typed.size();
    while (first < last && typed[first] == u' ')
        ++first;
    while (last > first && typed[last - 1] == u' ')
        --last;
    const QStringView digits = typed.sliced(first, last - first);
    if (digits.isEmpty())
        return std::nullopt;

    std::string ascii;
    ascii.reserve(static_cast<std::size_t>(digits.size()));
    for (const QChar c : digits) {
        if (c < u'0' || c > u'9')
            return std::nullopt;
        ascii.push_back(static_cast<char>(c.unicode()));
    }

    // from_chars reports values past int's range instead of wrapping, so a long run of
    // digits is simply out of range.
    int value = 0;
    const auto [end, error] = std::from_chars(ascii.data(), ascii.data() + ascii.size(), value);
    if (error != std::errc() || end != ascii.data() + ascii.size())
        return std::nullopt;
    if (value < texts::kFewestMines || value > texts::kMostMines)
        return std::nullopt;
    return MineCount{value, digits.toString()};
}

} // namespace volcanelle
