// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "scriptedview.h"

#include <vector>

namespace volcanelle::testing {

/// A ScriptedView that also keeps, in order, the cells whose cover was lifted, and how many
/// log lines had been written at that moment, so that a test can tell what the players were
/// shown before and during a reveal.
class RecordingView : public ScriptedView {
public:
    std::vector<int> uncovered;
    std::vector<qsizetype> logLengthAtUncover;

    void coverChanged(int index, bool covered) override
    {
        ScriptedView::coverChanged(index, covered);
        if (covered)
            return;
        uncovered.push_back(index);
        logLengthAtUncover.push_back(log.size());
    }

    /// Starts the record afresh, e.g. once a round has been set up.
    void forget()
    {
        log.clear();
        uncovered.clear();
        logLengthAtUncover.clear();
    }
};

} // namespace volcanelle::testing
