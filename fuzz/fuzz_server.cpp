// SPDX-License-Identifier: GPL-3.0-or-later
// libFuzzer entry point for the duel server's message handling: what four connections say,
// step by step; any fault the checker finds stops the run.
#include "servercheck.h"

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const QString fault = volcanelle::checks::checkServerBytes(data, size);
    if (!fault.isEmpty()) {
        std::fprintf(stderr, "server: %s\n", qPrintable(fault));
        std::abort();
    }
    return 0;
}
