// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QObject>
#include <QStringList>
#include <functional>

class QDialog;

namespace volcanelle::testing {

/// Notes, at the very moment each dialog of the application is shown, what a test wants to
/// know then (the labels under the box, the box's buttons...). The boxes are answered later
/// from a timer, too late to see what the players saw when the box opened.
class BoxWatch : public QObject {
    Q_OBJECT
public:
    explicit BoxWatch(std::function<QString(QDialog*)> probe);
    ~BoxWatch() override;

    /// One note per dialog shown, in order.
    QStringList notes;

    /// A message box's look: "icon=<n> buttons=<texts> default=<text> escape=<text>".
    static QString messageBoxLook(QDialog* box);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    std::function<QString(QDialog*)> probe_;
};

} // namespace volcanelle::testing
