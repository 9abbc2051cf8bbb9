// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>
#include <QStringView>
#include <cstddef>

namespace volcanelle::checks {

/// Reads `typed` with readMineCount and checks the answer against an independent reading of
/// the same rules: an entry is accepted exactly when it is ASCII digits, blanks (U+0020)
/// around allowed, worth 30 to 100; an accepted entry gives that many mines and shows the
/// digits as typed. Returns an empty string when all holds, else what went wrong.
QString checkMineCount(QStringView typed);

/// Checks raw bytes read two ways: as UTF-8 text (what a keyboard or a paste gives after
/// decoding) and as UTF-16 code units, which also reaches lone surrogates and every code
/// unit a QString can hold. Returns what went wrong, naming the reading, or an empty string.
QString checkMineCountBytes(const unsigned char* data, std::size_t size);

} // namespace volcanelle::checks
