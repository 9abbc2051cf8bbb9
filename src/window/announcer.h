// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QWidget>

namespace volcanelle {

/// Speaks a sentence through the screen reader without moving the keyboard focus: for what
/// happens where the player is not, such as the other side's moves. It shows nothing on
/// screen; assistive technology sees a notification that appears with the sentence.
class Announcer : public QWidget {
    Q_OBJECT
public:
    explicit Announcer(QWidget* parent);

    /// Makes the screen reader say `text` now.
    void announce(const QString& text);
    /// The sentence said last.
    QString text() const { return text_; }

private:
    QString text_;
};

} // namespace volcanelle
