// SPDX-License-Identifier: GPL-3.0-or-later
#include "engine/randomsource.h"

#include <QRandomGenerator>

namespace volcanelle {

void SystemRandom::reseed()
{
    // Nothing of one round carries over to the next.
    used_ = words_.size();
}

double SystemRandom::next()
{
    if (used_ == words_.size()) {
        QRandomGenerator::system()->fillRange(words_.data(), words_.size());
        used_ = 0;
    }
    // 24 random bits make a single-precision value that is exact and never reaches 1.
    return static_cast<double>(words_[used_++] >> 8) * 0x1.0p-24;
}

} // namespace volcanelle
