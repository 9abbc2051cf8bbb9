// SPDX-License-Identifier: GPL-3.0-or-later
#include "windowprobe.h"

#include "fixeddraws.h"
#include "modalanswerer.h"
#include "window/demin.h"

#include <QAbstractButton>
#include <QApplication>
#include <QLabel>
#include <QMainWindow>
#include <QTest>
#include <QWindow>

namespace volcanelle::testing {

std::vector<int> twoMineRows()
{
    return minesOf({
        "...............",
        "...............",
        "...............",
        "...............",
        "...............",
        "...............",
        "...............",
        "...............",
        "...............",
        "...............",
        "...............",
        "...............",
        "***************",
        "***************",
        "...............",
    });
}

QAbstractButton* cover(QWidget& window, int index)
{
    return window.findChild<QAbstractButton*>(QStringLiteral("cmdCase(%1)").arg(index));
}

QLabel* picture(QWidget& window, int index)
{
    return window.findChild<QLabel*>(QStringLiteral("imgCase(%1)").arg(index));
}

QString caption(QWidget& window, const QString& name)
{
    const QLabel* label = window.findChild<QLabel*>(name);
    return label ? label->text() : QStringLiteral("<no %1>").arg(name);
}

int coversOn(QWidget& window)
{
    int on = 0;
    for (int index = 0; index < kCells; ++index) {
        const QAbstractButton* button = cover(window, index);
        on += button && !button->isHidden() ? 1 : 0;
    }
    return on;
}

QStringList screen(demin& window)
{
    QStringList lines;
    for (const char* name :
         {"lblMain", "lblScore(1)", "lblScore(2)", "lblPartie1", "lblPartie2", "Panel3"})
        lines << QLatin1String(name) + QLatin1Char('=') + caption(window, QLatin1String(name));

    QString covers;
    QString pictures;
    for (int index = 0; index < kCells; ++index) {
        const QAbstractButton* button = cover(window, index);
        covers += button && !button->isHidden() ? QLatin1Char('#') : QLatin1Char('.');
        pictures += QString::number(pictureNumber(window.duel().board().picture(index)), 16);
    }
    lines << QStringLiteral("covers=") + covers << QStringLiteral("pictures=") + pictures;

    const Duel& duel = window.duel();
    lines << QStringLiteral("joueur=%1 score=%2-%3 won=%4-%5 hidden=%6")
                 .arg(duel.joueur())
                 .arg(duel.score(1))
                 .arg(duel.score(2))
                 .arg(duel.partiesGagnees(1))
                 .arg(duel.partiesGagnees(2))
                 .arg(duel.bombesRestantes());
    return lines;
}

bool startDuel(demin& window, ModalAnswerer& answerer, const QString& mines)
{
    answerer.type(mines);
    const bool started = window.Form_Load();
    return started && answerer.unexpected.isEmpty() && answerer.pending() == 0;
}

bool showActive(QWidget& window)
{
    window.show();
    QApplication::setActiveWindow(&window);
    window.activateWindow();
    return QTest::qWaitForWindowActive(&window);
}

void clickCell(demin& window, int index)
{
    clickAt(window, inClient(window, cover(window, index)).center());
}

QRect inClient(QWidget& window, const QWidget* widget)
{
    auto* mainWindow = qobject_cast<QMainWindow*>(&window);
    QWidget* client = mainWindow ? mainWindow->centralWidget() : &window;
    return {widget->mapTo(client, QPoint(0, 0)), widget->size()};
}

void clickAt(demin& window, const QPoint& where)
{
    QTest::mouseClick(window.windowHandle(), Qt::LeftButton, {},
                      window.centralWidget()->mapTo(&window, where));
}

void settle()
{
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QCoreApplication::processEvents();
}

void letWin(demin& window, ModalAnswerer& answerer, int winner)
{
    Duel& duel = window.duel();
    if (duel.joueur() != winner)
        duel.cmdCase_Click(kNumberedBelowMines);
    answerer.press(QStringLiteral("OK"));
    answerer.press(QStringLiteral("OK"));
    for (const int mine : twoMineRows())
        duel.cmdCase_Click(mine);
}

} // namespace volcanelle::testing
