// SPDX-License-Identifier: GPL-3.0-or-later
// libFuzzer entry point for the mine-count reader: any input the checker finds fault with
// stops the run, and libFuzzer keeps it as a crash file to replay.
#include "minecountcheck.h"

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const QString fault = volcanelle::checks::checkMineCountBytes(data, size);
    if (!fault.isEmpty()) {
        std::fprintf(stderr, "mine count: %s\n", qPrintable(fault));
        std::abort();
    }
    return 0;
}
