#pragma once

#include <QObject>

class QLabel;
class QStatusBar;
class QTimer;

namespace volcanelle {

/// The three panels of the status bar: today's date, the time of day (both kept current)
/// and a text written by the game.
class StatusPanels : public QObject {
    Q_OBJECT
public:
    explicit StatusPanels(QStatusBar* bar);

    void setText(const QString& text);

private:
    void showClock();

    QLabel* date_;
    QLabel* time_;
    QLabel* text_;
    QTimer* tick_;
};

} // namespace volcanelle
