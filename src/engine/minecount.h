// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>
#include <QStringView>
#include <optional>

namespace volcanelle {

/// A mine count the players typed and the round accepted.
struct MineCount {
    int mines;     ///< how many mines to hide, 30 to 100
    QString shown; ///< the entry as typed, blanks around it dropped: "050" stays "050"
};

/// The longest entry the input box takes: ten times the longest count, room enough for any
/// count with leading zeros and blanks around it. A line edit slows down with the square of
/// its length (seconds at 10,000 characters), so the box must not take an unbounded entry;
/// longer pasted text is cut to this length in the box, where the players see it.
inline constexpr int kMineEntryMaxLength = 32;

/// Reads the players' entry. Accepted: the ASCII digits 0 to 9 only, optionally surrounded
/// by blanks (U+0020), with a value from 30 to 100. Everything else is refused: signs,
/// fractions, exponents, other scripts' digits, control characters, and digit strings of any
/// length whose value is out of range.
std::optional<MineCount> readMineCount(QStringView typed);

} // namespace volcanelle
