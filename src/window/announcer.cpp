// SPDX-License-Identifier: GPL-3.0-or-later
#include "window/announcer.h"

#include <QAccessibleWidget>

namespace volcanelle {

namespace {

class AnnouncerAccessible : public QAccessibleWidget {
public:
    explicit AnnouncerAccessible(Announcer* announcer)
        : QAccessibleWidget(announcer, QAccessible::Notification)
    {
    }
    QString text(QAccessible::Text t) const override
    {
        return t == QAccessible::Name ? static_cast<Announcer*>(widget())->text()
                                      : QAccessibleWidget::text(t);
    }
};

QAccessibleInterface* announcerAccessible(const QString&, QObject* object)
{
    if (auto* announcer = qobject_cast<Announcer*>(object))
        return new AnnouncerAccessible(announcer);
    return nullptr;
}

} // namespace

Announcer::Announcer(QWidget* parent) : QWidget(parent)
{
    static const bool installed = (QAccessible::installFactory(&announcerAccessible), true);
    Q_UNUSED(installed);
    setObjectName(QStringLiteral("announcer"));
    // One pixel in a corner, under the board's frame, that nothing paints and no click reaches.
    setGeometry(0, 0, 1, 1);
    setAttribute(Qt::WA_TransparentForMouseEvents);
    setFocusPolicy(Qt::NoFocus);
    hide();
}

void Announcer::announce(const QString& text)
{
    // A screen reader speaks a notification as it appears.
    hide();
    text_ = text;
    show();
}

} // namespace volcanelle
