// SPDX-License-Identifier: GPL-3.0-or-later
#include "boxwatch.h"

#include <QAbstractButton>
#include <QApplication>
#include <QDialog>
#include <QEvent>
#include <QMessageBox>
#include <QPushButton>

namespace volcanelle::testing {

BoxWatch::BoxWatch(std::function<QString(QDialog*)> probe) : probe_(std::move(probe))
{
    qApp->installEventFilter(this);
}

BoxWatch::~BoxWatch()
{
    qApp->removeEventFilter(this);
}

QString BoxWatch::messageBoxLook(QDialog* box)
{
    auto* message = qobject_cast<QMessageBox*>(box);
    if (!message)
        return QStringLiteral("not a message box");
    QStringList buttons;
    for (QAbstractButton* button : message->buttons())
        buttons << button->text();
    buttons.sort();
    const auto textOf = [](QAbstractButton* button) {
        return button ? button->text() : QStringLiteral("none");
    };
    return QStringLiteral("icon=%1 buttons=%2 default=%3 escape=%4")
        .arg(static_cast<int>(message->icon()))
        .arg(buttons.join(QLatin1Char(',')), textOf(message->defaultButton()),
             textOf(message->escapeButton()));
}

bool BoxWatch::eventFilter(QObject* watched, QEvent* event)
{
    // Show reaches the filter before the dialog's own handler, so the note is taken before
    // anyone can answer the box.
    if (event->type() == QEvent::Show) {
        auto* dialog = qobject_cast<QDialog*>(watched);
        if (dialog && dialog->isWindow())
            notes << probe_(dialog);
    }
    return QObject::eventFilter(watched, event);
}

} // namespace volcanelle::testing
