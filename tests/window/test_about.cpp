// SPDX-License-Identifier: GPL-3.0-or-later
// The information window: one at a time, modeless, closed by OK, Enter, Escape or its close
// box, destroyed when closed, and closed with the game window.

#include "engine/texts.h"
#include "fixeddraws.h"
#include "modalanswerer.h"
#include "ui/application.h"
#include "window/demin.h"
#include "window/frmabout.h"
#include "windowprobe.h"

#include <QAbstractButton>
#include <QAction>
#include <QApplication>
#include <QLabel>
#include <QMenuBar>
#include <QPushButton>
#include <QTest>
#include <QWindow>

using namespace volcanelle;
using namespace volcanelle::testing;

namespace {

int aboutWindows()
{
    int count = 0;
    for (QWidget* widget : QApplication::topLevelWidgets())
        count += qobject_cast<frmAbout*>(widget) && !widget->isHidden() ? 1 : 0;
    return count;
}

QString text(QWidget& about, const char* name)
{
    const QLabel* label = about.findChild<QLabel*>(QLatin1String(name));
    return label ? label->text() : QStringLiteral("<no %1>").arg(QLatin1String(name));
}

} // namespace

class TestAbout : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() { prepareApplication(); }

    void init()
    {
        draws_ = std::make_unique<FixedDraws>(twoMineRows());
        window_ = std::make_unique<demin>(draws_.get());
        answerer_ = std::make_unique<ModalAnswerer>();
        QVERIFY(startDuel(*window_, *answerer_, QStringLiteral("30")));
        QVERIFY(showActive(*window_));
        answerer_->seen.clear();
    }

    void cleanup()
    {
        QVERIFY2(answerer_->seen.isEmpty(), qPrintable(answerer_->seen.join('\n')));
        answerer_.reset();
        window_.reset();
        draws_.reset();
        settle();
        QCOMPARE(aboutWindows(), 0);
    }

    void askedTwiceGivesOneWindowAndPlayGoesOn()
    {
        demin& window = *window_;
        // "&A propos" on the bar runs at once when clicked: it has no drop-down.
        QMenuBar* bar = window.menuBar();
        QTest::mouseClick(
            bar, Qt::LeftButton, {},
            bar->actionGeometry(window.findChild<QAction*>(QStringLiteral("aPropos"))).center());
        QVERIFY(!QApplication::activePopupWidget());
        QCOMPARE(aboutWindows(), 1);
        QTest::mouseClick(window.findChild<QPushButton*>(QStringLiteral("Command2")),
                          Qt::LeftButton);
        window.findChild<QAction*>(QStringLiteral("aPropos"))->trigger();
        settle();
        QCOMPARE(aboutWindows(), 1);
        frmAbout* about = window.aboutWindow();
        QVERIFY(about->isVisible());
        // A window of its own that the window manager stacks like any other: not owned by
        // the game window, so not kept above the board.
        QVERIFY(!about->parentWidget());
        QVERIFY(about->windowHandle());
        QVERIFY(!about->windowHandle()->transientParent());
        // Nor a dialog, which X11 would mark transient for every window of the program.
        QCOMPARE(about->windowType(), Qt::Window);
        QVERIFY(!about->isModal());
        QVERIFY(!QApplication::activeModalWidget());

        // The board still answers while the information window is open.
        clickCell(window, kNumberedAboveMines);
        QVERIFY(cover(window, kNumberedAboveMines)->isHidden());
        QCOMPARE(caption(window, QStringLiteral("lblMain")), texts::turnCaption(2));
        QVERIFY(about->isVisible());
    }

    void closesAndIsDestroyed_data()
    {
        QTest::addColumn<QString>("how");
        for (const char* how : {"Enter", "Return", "Escape", "OK", "close box"})
            QTest::newRow(how) << QString::fromLatin1(how);
    }

    void closesAndIsDestroyed()
    {
        QFETCH(QString, how);
        window_->Command2_Click();
        QPointer<frmAbout> about = window_->aboutWindow();
        QVERIFY(about);
        QVERIFY(QTest::qWaitForWindowExposed(about));
        // The keys are given to the description label: they must close the window from
        // wherever the focus is.
        QWidget* target = about->findChild<QLabel*>(QStringLiteral("lblDescription"));
        if (how == QLatin1String("Enter"))
            QTest::keyClick(target, Qt::Key_Enter);
        else if (how == QLatin1String("Return"))
            QTest::keyClick(target, Qt::Key_Return);
        else if (how == QLatin1String("Escape"))
            QTest::keyClick(target, Qt::Key_Escape);
        else if (how == QLatin1String("OK"))
            QTest::mouseClick(about->findChild<QPushButton*>(QStringLiteral("cmdOK")),
                              Qt::LeftButton);
        else
            QVERIFY(about->close());

        QVERIFY(about && about->isHidden());
        settle();
        QVERIFY(!about);
        QCOMPARE(aboutWindows(), 0);
    }

    void reopenedShowsItsTextOnce()
    {
        for (int time = 0; time < 2; ++time) {
            window_->Command2_Click();
            QPointer<frmAbout> about = window_->aboutWindow();
            QVERIFY(about);
            QCOMPARE(about->windowTitle(), QStringLiteral("À propos du démineur"));
            QCOMPARE(about->geometry(), QRect(156, 129, 375, 200));
            QCOMPARE(about->minimumSize(), about->maximumSize());
            QVERIFY(!about->windowFlags().testFlag(Qt::WindowMinimizeButtonHint));
            QVERIFY(!about->windowFlags().testFlag(Qt::WindowMaximizeButtonHint));
            QVERIFY(about->windowFlags().testFlag(Qt::WindowCloseButtonHint));
            const auto geometryOf = [&about](const char* name) {
                const QWidget* widget = about->findChild<QWidget*>(QLatin1String(name));
                return widget ? widget->geometry() : QRect();
            };
            QCOMPARE(geometryOf("cmdOK"), QRect(176, 16, 84, 23));
            QCOMPARE(geometryOf("lblTitle"), QRect(54, 16, 107, 32));
            QCOMPARE(geometryOf("lblVersion"), QRect(56, 52, 259, 15));
            QCOMPARE(geometryOf("lblDescription"), QRect(8, 75, 355, 110));
            QVERIFY(about->findChild<QLabel*>(QStringLiteral("lblDescription"))->wordWrap());
            QCOMPARE(text(*about, "lblTitle"), QStringLiteral("Volcanelle"));
            QCOMPARE(text(*about, "lblVersion"), QStringLiteral("Version 1.0 RC 1"));
            const QFont title = about->findChild<QLabel*>(QStringLiteral("lblTitle"))->font();
            QVERIFY(title.bold());
            QCOMPARE(title.pointSizeF(), 13.5);

            const QString description = text(*about, "lblDescription");
            // Word for word what the players must read, not the code's own copy of it.
            QCOMPARE(description,
                     QStringLiteral("Volcanelle, le démineur en duel, a été imaginé et programmé "
                                    "par Basalte et Obsidienne.\r\n"
                                    "Vous pouvez jouer à 2, l'un contre l'autre. Le but du jeu est "
                                    "de faire sauter le plus de mine possible ! Les chiffres, que "
                                    "vous voyez, donnent le nombre de bombes présentes sur les "
                                    "cases environnantes.\r\n\r\n"
                                    "Auteurs : Basalte et Obsidienne\r\n"
                                    "Volcanelle, 2006. Bonnes parties à tous !"));
            const QStringList lines = description.split(QStringLiteral("\r\n"));
            QCOMPARE(lines.size(), 5);
            QVERIFY(!lines[0].isEmpty());
            QVERIFY(lines[2].isEmpty());
            QVERIFY(lines[4].contains(QStringLiteral("2006")));

            QTest::mouseClick(about->findChild<QPushButton*>(QStringLiteral("cmdOK")),
                              Qt::LeftButton);
            settle();
            QVERIFY(!about);
        }
    }

    void askedAgainRightAfterClosingOpensAgain()
    {
        // Escape, then "A propos" before the closed window has been destroyed: the players
        // must get a window that stays.
        window_->Command2_Click();
        frmAbout* first = window_->aboutWindow();
        QVERIFY(first);
        QTest::keyClick(first, Qt::Key_Escape);
        window_->findChild<QAction*>(QStringLiteral("aPropos"))->trigger();
        settle();
        settle();
        QCOMPARE(aboutWindows(), 1);
        QVERIFY(window_->aboutWindow());
        QVERIFY(window_->aboutWindow()->isVisible());
    }

    void closingTheGameWindowClosesIt()
    {
        window_->Command2_Click();
        QPointer<frmAbout> about = window_->aboutWindow();
        QVERIFY(about);
        QVERIFY(window_->close());
        QVERIFY(!window_->isVisible());
        QVERIFY(!about || about->isHidden());
        settle();
        QVERIFY(!about);
        QCOMPARE(aboutWindows(), 0);
    }

private:
    std::unique_ptr<FixedDraws> draws_;
    std::unique_ptr<demin> window_;
    std::unique_ptr<ModalAnswerer> answerer_;
};

QTEST_MAIN(TestAbout)
#include "test_about.moc"
