// SPDX-License-Identifier: GPL-3.0-or-later
// libFuzzer entry point for the network message reader: any input the checker finds fault
// with stops the run, and libFuzzer keeps it as a crash file to replay.
#include "wirecheck.h"

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const QString fault = volcanelle::checks::checkWireBytes(data, size);
    if (!fault.isEmpty()) {
        std::fprintf(stderr, "wire: %s\n", qPrintable(fault));
        std::abort();
    }
    return 0;
}
