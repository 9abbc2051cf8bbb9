// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QDateTime>
#include <QObject>
#include <functional>

class QLabel;
class QStatusBar;
class QTimer;

namespace volcanelle {

/// The three panels of the status bar: today's date, the time of day (both kept current)
/// and a text written by the game.
class StatusPanels : public QObject {
    Q_OBJECT
public:
    /// What the date and time panels read the time of day from.
    using Clock = std::function<QDateTime()>;

    explicit StatusPanels(QStatusBar* bar, Clock clock = &QDateTime::currentDateTime);

    void setText(const QString& text);
    /// The text the game wrote last.
    QString text() const;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void fitHeight(int barHeight);
    void showClock();

    QLabel* date_;
    QLabel* time_;
    QLabel* text_;
    QTimer* tick_;
    Clock clock_;
};

} // namespace volcanelle
