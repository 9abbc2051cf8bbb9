// SPDX-License-Identifier: GPL-3.0-or-later
#include "boxes.h"

#include <QAbstractButton>
#include <QDialog>
#include <QInputDialog>
#include <QLabel>
#include <QMessageBox>

namespace volcanelle::testing {

QString describe(QWidget* box)
{
    if (auto* input = qobject_cast<QInputDialog*>(box))
        return box->windowTitle() + QLatin1Char('|') + input->labelText();
    if (auto* message = qobject_cast<QMessageBox*>(box))
        return box->windowTitle() + QLatin1Char('|') + message->text();
    // A box of the game's own making: its question is its one label.
    if (auto* question = box->findChild<QLabel*>())
        return box->windowTitle() + QLatin1Char('|') + question->text();
    return box->windowTitle();
}

bool clickButton(QWidget* box, const QString& text)
{
    for (QAbstractButton* button : box->findChildren<QAbstractButton*>()) {
        if (button->text() == text && button->isVisible()) {
            button->click();
            return true;
        }
    }
    return false;
}

void closeAnyway(QWidget* box)
{
    if (auto* dialog = qobject_cast<QDialog*>(box))
        dialog->reject();
    else
        box->close();
}

} // namespace volcanelle::testing
