// SPDX-License-Identifier: GPL-3.0-or-later
#include "window/statuspanels.h"

#include "ui/controls.h"
#include "ui/twips.h"

#include <QDateTime>
#include <QLabel>
#include <QLocale>
#include <QResizeEvent>
#include <QStatusBar>
#include <QTimer>
#include <algorithm>

namespace volcanelle {

namespace {

// What each panel shows, for assistive technology.
QString dateRole()
{
    return QStringLiteral("Date");
}
QString timeRole()
{
    return QStringLiteral("Heure");
}
QString textRole()
{
    return QStringLiteral("Compteur de bombes");
}

// The panels' widths, side by side from the bar's left edge, and how far they stand in from
// its top and bottom edges, in pixels.
constexpr int kDateWidth = 1000;
constexpr int kTimeWidth = 700;
constexpr int kTextWidth = 2000;
constexpr int kTopInset = 3;
constexpr int kBottomInset = 2;

// Placed by StatusPanels itself, not by the bar's own layout, which would start them two
// pixels in and leave six between them. Each panel starts where the one before it ends.
QLabel* addPanel(QStatusBar* bar, const QString& name, int widthTwips, Qt::Alignment alignment)
{
    int left = 0;
    for (const QLabel* before : bar->findChildren<QLabel*>(QString(), Qt::FindDirectChildrenOnly))
        left = std::max(left, before->geometry().right() + 1);
    auto* panel = new QLabel(bar);
    panel->setObjectName(name);
    panel->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    panel->setGeometry(left, kTopInset, twips(widthTwips), 0);
    panel->setAlignment(alignment | Qt::AlignVCenter);
    panel->setIndent(2);
    // The text panel shows what the other side of a network duel sends: never markup.
    panel->setTextFormat(Qt::PlainText);
    return panel;
}

} // namespace

StatusPanels::StatusPanels(QStatusBar* bar, Clock clock)
    : QObject(bar), date_(addPanel(bar, QStringLiteral("Panel1"), kDateWidth, Qt::AlignHCenter)),
      time_(addPanel(bar, QStringLiteral("Panel2"), kTimeWidth, Qt::AlignHCenter)),
      text_(addPanel(bar, QStringLiteral("Panel3"), kTextWidth, Qt::AlignLeft)),
      tick_(new QTimer(this)), clock_(std::move(clock))
{
    bar->installEventFilter(this);
    fitHeight(bar->height());
    showCaption(text_, textRole(), QString());
    tick_->setSingleShot(true);
    tick_->setTimerType(Qt::CoarseTimer);
    connect(tick_, &QTimer::timeout, this, &StatusPanels::showClock);
    showClock();
}

bool StatusPanels::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::Resize && watched == parent())
        fitHeight(static_cast<QResizeEvent*>(event)->size().height());
    return false;
}

void StatusPanels::fitHeight(int barHeight)
{
    for (QLabel* panel : {date_, time_, text_})
        panel->resize(panel->width(), std::max(0, barHeight - kTopInset - kBottomInset));
}

QString StatusPanels::text() const
{
    return text_->text();
}

void StatusPanels::setText(const QString& text)
{
    showCaption(text_, textRole(), text);
}

void StatusPanels::showClock()
{
    const QDateTime now = clock_();
    const QLocale french(QLocale::French, QLocale::France);
    showCaption(date_, dateRole(), french.toString(now.date(), QLocale::ShortFormat));
    showCaption(time_, timeRole(), now.time().toString(QStringLiteral("HH:mm")));
    // Wake just after the next minute begins rather than polling every second.
    const int msecIntoMinute = now.time().second() * 1000 + now.time().msec();
    tick_->start(60'000 - msecIntoMinute + 50);
}

} // namespace volcanelle
