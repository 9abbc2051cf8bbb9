#include "statuspanels.h"

#include "controls.h"
#include "twips.h"

#include <QDateTime>
#include <QLabel>
#include <QLocale>
#include <QStatusBar>
#include <QTimer>

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

QLabel* addPanel(QStatusBar* bar, const QString& name, int widthTwips, Qt::Alignment alignment)
{
    auto* panel = new QLabel(bar);
    panel->setObjectName(name);
    panel->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    panel->setFixedWidth(twips(widthTwips));
    panel->setAlignment(alignment | Qt::AlignVCenter);
    panel->setIndent(2);
    bar->addWidget(panel);
    return panel;
}

} // namespace

StatusPanels::StatusPanels(QStatusBar* bar)
    : QObject(bar), date_(addPanel(bar, QStringLiteral("Panel1"), 1000, Qt::AlignHCenter)),
      time_(addPanel(bar, QStringLiteral("Panel2"), 700, Qt::AlignHCenter)),
      text_(addPanel(bar, QStringLiteral("Panel3"), 2000, Qt::AlignLeft)), tick_(new QTimer(this))
{
    showCaption(text_, textRole(), QString());
    tick_->setSingleShot(true);
    tick_->setTimerType(Qt::CoarseTimer);
    connect(tick_, &QTimer::timeout, this, &StatusPanels::showClock);
    showClock();
}

void StatusPanels::setText(const QString& text)
{
    showCaption(text_, textRole(), text);
}

void StatusPanels::showClock()
{
    const QDateTime now = QDateTime::currentDateTime();
    const QLocale french(QLocale::French, QLocale::France);
    showCaption(date_, dateRole(), french.toString(now.date(), QLocale::ShortFormat));
    showCaption(time_, timeRole(), now.time().toString(QStringLiteral("HH:mm")));
    // Wake just after the next minute begins rather than polling every second.
    const int msecIntoMinute = now.time().second() * 1000 + now.time().msec();
    tick_->start(60'000 - msecIntoMinute + 50);
}

} // namespace volcanelle
