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

/// Answers the modal boxes of a host window and a joiner window in one process. Which side a
/// box belongs to is read from its parent window, so answers are queued per side and the
/// order in which the two sides' boxes happen to open does not matter. Announcements with a
/// single OK button are answered OK without being queued; each box is recorded in its side's
/// `seen` ("<title>|<text>") and always closed in the same callback, so exec() returns.
class TwoSides : public QObject {
    Q_OBJECT
public:
    struct Side {
        QWidget* window = nullptr;
        std::deque<std::function<void(QWidget*)>> answers;
        QStringList seen;
        QStringList unexpected;
        /// Types `text` into this side's next input box.
        void type(const QString& text);
        /// Presses the button named `text` on this side's next question.
        void press(const QString& text);
    };

    TwoSides(QWidget* host, QWidget* joiner);

    Side host;
    Side joiner;
    /// Boxes that belong to neither window.
    QStringList stray;

private:
    void poll();

    QPointer<QWidget> last_;
    QTimer timer_;
};

} // namespace volcanelle::testing
