// SPDX-License-Identifier: GPL-3.0-or-later
#include "twosides.h"

#include "boxes.h"

#include <QAbstractButton>
#include <QApplication>
#include <QDialog>
#include <QInputDialog>
#include <QLineEdit>
#include <QMessageBox>

namespace volcanelle::testing {

namespace {

bool isAnnouncement(QWidget* box)
{
    auto* message = qobject_cast<QMessageBox*>(box);
    return message && message->icon() == QMessageBox::NoIcon && message->buttons().size() == 1;
}

} // namespace

void TwoSides::Side::type(const QString& text)
{
    answers.push_back([text](QWidget* box) {
        if (auto* edit = box->findChild<QLineEdit*>())
            edit->setText(text);
        clickButton(box, QStringLiteral("OK"));
    });
}

void TwoSides::Side::press(const QString& text)
{
    answers.push_back([text](QWidget* box) { clickButton(box, text); });
}

TwoSides::TwoSides(QWidget* hostWindow, QWidget* joinerWindow)
{
    host.window = hostWindow;
    joiner.window = joinerWindow;
    timer_.setInterval(5);
    connect(&timer_, &QTimer::timeout, this, &TwoSides::poll);
    timer_.start();
}

void TwoSides::poll()
{
    QWidget* box = QApplication::activeModalWidget();
    if (!box || box == last_ || !box->isVisible())
        return;
    last_ = box;
    QWidget* owner = box->parentWidget() ? box->parentWidget()->window() : nullptr;
    Side* side = owner == host.window ? &host : owner == joiner.window ? &joiner : nullptr;
    if (!side) {
        stray << describe(box);
        closeAnyway(box);
        return;
    }
    side->seen << describe(box);
    if (isAnnouncement(box)) {
        clickButton(box, QStringLiteral("OK"));
    } else if (side->answers.empty()) {
        side->unexpected << describe(box);
    } else {
        const auto answer = std::move(side->answers.front());
        side->answers.pop_front();
        answer(box);
    }
    if (box->isVisible())
        closeAnyway(box);
}

} // namespace volcanelle::testing
