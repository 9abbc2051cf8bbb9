// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "ui/dialogs.h"

#include <QApplication>
#include <QString>

// What the network starts share before any window: the boxes that ask where to play, and
// the way the program ends once its seat is done.
namespace volcanelle {

/// Ends the application with `status` once a seat is done, closing every window and box.
inline void endWith(int status)
{
    QApplication::exit(status);
    QApplication::closeAllWindows();
}

/// Asks in boxes titled `title` until the player gives something `read` accepts (the text
/// trimmed), or cancels: then nothing. A refused text is answered with `bad(typed)`.
template <class Read, class Bad>
auto askUntilRead(const QString& title, const QString& prompt, int maxLength, Bad bad, Read read)
    -> decltype(read(QString()))
{
    for (;;) {
        const std::optional<QString> typed = dialogs::askText(nullptr, prompt, title, maxLength);
        if (!typed)
            return std::nullopt;
        if (auto value = read(typed->trimmed()))
            return value;
        dialogs::announce(nullptr, bad(*typed), title);
    }
}

} // namespace volcanelle
