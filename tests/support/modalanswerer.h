// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QObject>
#include <QPointer>
#include <QStringList>
#include <QTimer>
#include <deque>
#include <functional>

class QWidget;

namespace volcanelle::testing {

/// Answers the real modal boxes of the game while a test waits on them. Answers are queued
/// in the order the boxes are expected; each box is recorded ("<title>|<text>") and closed
/// in the same callback, even when no answer is left (it is then rejected and recorded as
/// unexpected), so exec() always returns. Check `seen` and `unexpected` after the call.
class ModalAnswerer : public QObject {
    Q_OBJECT
public:
    explicit ModalAnswerer(QObject* parent = nullptr);

    /// Types `text` into the next input box and presses "OK".
    void type(const QString& text);
    /// Pastes `text` from the clipboard into the next input box and presses "OK".
    void paste(const QString& text);
    /// Presses the button whose text is `text` ("OK", "Oui", "Non", "Annuler") on the next box.
    void press(const QString& text);
    /// Sends Escape to the next box.
    void escape();

    /// Boxes seen so far, "<title>|<text>" (for an input box, its prompt).
    QStringList seen;
    /// Boxes that came with no answer queued.
    QStringList unexpected;
    /// Answers still queued.
    int pending() const { return static_cast<int>(answers_.size()); }

private:
    void poll();

    std::deque<std::function<void(QWidget*)>> answers_;
    QPointer<QWidget> last_;
    QTimer timer_;
};

} // namespace volcanelle::testing
