// SPDX-License-Identifier: GPL-3.0-or-later
// The game window as it is built: geometry, fonts, status bar, tab order, menu, the board's
// lines, and that a cover really hides the picture under it.

#include "fixeddraws.h"
#include "modalanswerer.h"
#include "ui/application.h"
#include "window/demin.h"
#include "window/pictureset.h"
#include "window/statuspanels.h"
#include "windowprobe.h"

#include <QAbstractButton>
#include <QDate>
#include <QGroupBox>
#include <QLabel>
#include <QLocale>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QStatusBar>
#include <QTest>
#include <QTime>

using namespace volcanelle;
using namespace volcanelle::testing;

namespace {

QWidget* named(QWidget& window, const QString& name)
{
    return window.findChild<QWidget*>(name);
}

// Pixels of the red background of the mine picture, inside `area` of `image`.
int reddish(const QImage& image, const QRect& area)
{
    int count = 0;
    for (int y = area.top(); y <= area.bottom(); ++y)
        for (int x = area.left(); x <= area.right(); ++x) {
            const QColor c = image.pixelColor(x, y);
            count += c.red() > 200 && c.green() < 80 && c.blue() < 80 ? 1 : 0;
        }
    return count;
}

} // namespace

class TestLayout : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() { prepareApplication(); }

    void windowIsFixedWithCloseBoxOnly()
    {
        demin window;
        QVERIFY(showActive(window));
        QCOMPARE(window.windowTitle(), QStringLiteral("Volcanelle"));

        // Client area below the menu bar: 547 x 426, of which the status bar takes 17.
        QCOMPARE(window.centralWidget()->size(), QSize(547, 409));
        QCOMPARE(window.statusBar()->height(), 17);
        const int menuHeight = window.menuBar()->height();
        QVERIFY(menuHeight > 0);
        QCOMPARE(window.size(), QSize(547, menuHeight + 426));
        QCOMPARE(window.centralWidget()->geometry().top(), menuHeight);
        QCOMPARE(window.statusBar()->geometry().top(), menuHeight + 409);
        QCOMPARE(window.statusBar()->width(), 547);

        QVERIFY(!window.windowIcon().isNull());
        // Nothing starts hidden or disabled but what speaks only to screen readers.
        for (QWidget* widget : window.centralWidget()->findChildren<QWidget*>())
            QVERIFY2((!widget->isHidden() || widget->objectName() == QLatin1String("announcer")) &&
                         widget->isEnabled(),
                     qPrintable(widget->objectName()));

        QCOMPARE(window.minimumSize(), window.maximumSize());
        QCOMPARE(window.minimumSize(), window.size());

        const Qt::WindowFlags flags = window.windowFlags();
        QVERIFY(!flags.testFlag(Qt::WindowMinimizeButtonHint));
        QVERIFY(!flags.testFlag(Qt::WindowMaximizeButtonHint));
        QVERIFY(flags.testFlag(Qt::WindowCloseButtonHint));
        QVERIFY(flags.testFlag(Qt::WindowSystemMenuHint));
    }

    void cellsOverlapByOnePixel()
    {
        demin window;
        for (const auto& [index, where] :
             {std::pair{0, QPoint(168, 24)}, std::pair{1, QPoint(192, 24)},
              std::pair{14, QPoint(504, 24)}, std::pair{15, QPoint(168, 48)},
              std::pair{210, QPoint(168, 360)}, std::pair{224, QPoint(504, 360)}}) {
            QVERIFY(cover(window, index));
            QVERIFY(picture(window, index));
            QCOMPARE(inClient(window, cover(window, index)), QRect(where, QSize(25, 25)));
            QCOMPARE(inClient(window, picture(window, index)), QRect(where, QSize(25, 25)));
        }
        QCOMPARE(inClient(window, cover(window, 0)).right(),
                 inClient(window, cover(window, 1)).left());
        QVERIFY(!cover(window, 225));
        QVERIFY(!picture(window, 225));
    }

    void everyCoverLiesAbovePictures()
    {
        demin window;
        QWidget* board = cover(window, 0)->parentWidget();
        const QObjectList order = board->children();
        qsizetype lastPicture = -1;
        for (int index = 0; index < kCells; ++index)
            lastPicture = std::max(lastPicture, order.indexOf(picture(window, index)));
        for (int index = 0; index < kCells; ++index) {
            QAbstractButton* button = cover(window, index);
            QVERIFY2(order.indexOf(button) > lastPicture, qPrintable(button->objectName()));
            QCOMPARE(window.centralWidget()->childAt(inClient(window, button).center()), button);
        }
    }

    void panelsLabelsAndButtonsSitAtTheirPlaces()
    {
        demin window;
        const auto geometryOf = [&window](const char* name) {
            QWidget* widget = named(window, QLatin1String(name));
            return widget ? widget->geometry() : QRect();
        };
        QCOMPARE(geometryOf("frameJoueur(0)"), QRect(16, 24, 113, 81));
        QCOMPARE(geometryOf("frameJoueur(1)"), QRect(16, 136, 113, 81));
        QCOMPARE(geometryOf("lblScore(1)"), QRect(8, 32, 97, 25));
        QCOMPARE(geometryOf("lblPartie1"), QRect(8, 56, 97, 17));
        QCOMPARE(geometryOf("lblMain"), QRect(16, 232, 145, 33));
        QCOMPARE(geometryOf("cmdNouvellePartie"), QRect(24, 280, 97, 25));
        QCOMPARE(geometryOf("Command2"), QRect(24, 312, 97, 25));
        QCOMPARE(geometryOf("Command1"), QRect(24, 344, 97, 25));

        // Each player's labels stand in that player's panel; the points labels are numbered
        // by the player, so there is no lblScore(0).
        const auto parentOf = [&window](const char* name) {
            QWidget* widget = named(window, QLatin1String(name));
            return widget ? widget->parentWidget() : nullptr;
        };
        QCOMPARE(parentOf("lblScore(1)"), named(window, QStringLiteral("frameJoueur(0)")));
        QCOMPARE(parentOf("lblPartie1"), named(window, QStringLiteral("frameJoueur(0)")));
        QCOMPARE(parentOf("lblScore(2)"), named(window, QStringLiteral("frameJoueur(1)")));
        QCOMPARE(parentOf("lblPartie2"), named(window, QStringLiteral("frameJoueur(1)")));
        QVERIFY(!named(window, QStringLiteral("lblScore(0)")));

        const auto titleOf = [&window](const char* name) {
            auto* frame = window.findChild<QGroupBox*>(QLatin1String(name));
            return frame ? frame->title() : QString();
        };
        QCOMPARE(titleOf("frameJoueur(0)"), QStringLiteral("Joueur 1 :"));
        QCOMPARE(titleOf("frameJoueur(1)"), QStringLiteral("Joueur 2 :"));
        QCOMPARE(caption(window, QStringLiteral("lblScore(1)")), QStringLiteral("Score : 0 point"));
        QCOMPARE(caption(window, QStringLiteral("lblPartie2")),
                 QStringLiteral("Partie gagnée : 0"));
        QCOMPARE(caption(window, QStringLiteral("lblMain")), QString());

        // No access keys, no default button: Enter must not start a command by surprise.
        const QList<QPushButton*> buttons = window.findChildren<QPushButton*>();
        QCOMPARE(buttons.size(), 3);
        for (QPushButton* button : buttons) {
            QVERIFY2(!button->isDefault() && !button->autoDefault(),
                     qPrintable(button->objectName()));
            QVERIFY2(!button->text().contains(QLatin1Char('&')), qPrintable(button->text()));
        }
    }

    void fontsOfCaptionsAndLabels()
    {
        demin window;
        for (const char* name : {"frameJoueur(0)", "frameJoueur(1)"}) {
            const QFont font = named(window, QLatin1String(name))->font();
            QVERIFY2(font.bold() && font.italic(), name);
            QCOMPARE(font.pointSizeF(), 12.0);
        }
        // The labels inside the frames must not take the frames' bold italic.
        for (const char* name : {"lblScore(1)", "lblScore(2)", "lblPartie1", "lblPartie2"}) {
            const QFont font = named(window, QLatin1String(name))->font();
            QVERIFY2(!font.bold() && !font.italic(), name);
            QCOMPARE(font.pointSizeF(), 8.25);
        }
        const QFont main = named(window, QStringLiteral("lblMain"))->font();
        QVERIFY(main.bold());
        QVERIFY(!main.italic());
        QCOMPARE(main.pointSizeF(), 8.25);
        QCOMPARE(named(window, QStringLiteral("cmdNouvellePartie"))->font().pointSizeF(), 8.25);
    }

    void statusBarHasThreeFixedPanels()
    {
        const QString timeBefore = QTime::currentTime().toString(QStringLiteral("HH:mm"));
        demin window;
        QVERIFY(showActive(window));
        const QString timeAfter = QTime::currentTime().toString(QStringLiteral("HH:mm"));

        const QList<QLabel*> panels =
            window.statusBar()->findChildren<QLabel*>(QString(), Qt::FindDirectChildrenOnly);
        QCOMPARE(panels.size(), 3);
        QStringList names;
        for (QLabel* panel : panels)
            names << panel->objectName();
        QCOMPARE(names, QStringList({"Panel1", "Panel2", "Panel3"}));
        QVERIFY(panels[0]->x() < panels[1]->x() && panels[1]->x() < panels[2]->x());

        // Flush from the left edge, side by side: 1000, 700 and 2000 twips.
        const std::array<int, 3> lefts{0, 67, 114};
        const std::array<int, 3> widths{67, 47, 133};
        for (int i = 0; i < 3; ++i) {
            QCOMPARE(panels[i]->x(), lefts[static_cast<std::size_t>(i)]);
            QCOMPARE(panels[i]->width(), widths[static_cast<std::size_t>(i)]);
            QVERIFY(panels[i]->isVisible());
        }
        QCOMPARE(panels[0]->alignment() & Qt::AlignHorizontal_Mask, Qt::AlignHCenter);
        QCOMPARE(panels[1]->alignment() & Qt::AlignHorizontal_Mask, Qt::AlignHCenter);
        QCOMPARE(panels[2]->alignment() & Qt::AlignHorizontal_Mask, Qt::AlignLeft);

        const QLocale french(QLocale::French, QLocale::France);
        QCOMPARE(panels[0]->text(), french.toString(QDate::currentDate(), QLocale::ShortFormat));
        QVERIFY2(panels[1]->text() == timeBefore || panels[1]->text() == timeAfter,
                 qPrintable(panels[1]->text()));
        QCOMPARE(panels[2]->text(), QString());
    }

    void clockAndDateKeepUp()
    {
        // A clock that the test moves on: a second before midnight, then across it.
        QDateTime now(QDate(2006, 12, 31), QTime(23, 59, 59, 900));
        QStatusBar bar;
        bar.setFixedHeight(17);
        StatusPanels panels(&bar, [&now] { return now; });
        const auto shown = [&bar](const char* name) {
            return bar.findChild<QLabel*>(QLatin1String(name))->text();
        };
        QCOMPARE(shown("Panel1"), QStringLiteral("31/12/2006"));
        QCOMPARE(shown("Panel2"), QStringLiteral("23:59"));

        now = QDateTime(QDate(2007, 1, 1), QTime(0, 0, 59, 950));
        QTRY_COMPARE_WITH_TIMEOUT(shown("Panel2"), QStringLiteral("00:00"), 2000);
        QCOMPARE(shown("Panel1"), QStringLiteral("01/01/2007"));
        // And again at the next minute: the clock does not stop after one step.
        now = QDateTime(QDate(2007, 1, 1), QTime(0, 1, 30));
        QTRY_COMPARE_WITH_TIMEOUT(shown("Panel2"), QStringLiteral("00:01"), 2000);
    }

    void tabGoesThroughTheCellsThenTheCommands()
    {
        demin window;
        QStringList expected;
        for (int index = 0; index < kCells; ++index)
            expected << QStringLiteral("cmdCase(%1)").arg(index);
        expected << QStringLiteral("cmdNouvellePartie") << QStringLiteral("Command1")
                 << QStringLiteral("Command2");

        QStringList chain;
        QWidget* start = cover(window, 0);
        QWidget* widget = start;
        do {
            if (widget->focusPolicy() & Qt::TabFocus)
                chain << widget->objectName();
            widget = widget->nextInFocusChain();
        } while (widget != start && chain.size() <= expected.size());
        QCOMPARE(chain, expected);

        // The same seen from the keyboard, across the end of the board and round the loop.
        QVERIFY(showActive(window));
        cover(window, 224)->setFocus();
        QVERIFY(cover(window, 224)->hasFocus());
        for (const char* next : {"cmdNouvellePartie", "Command1", "Command2", "cmdCase(0)"}) {
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
            QVERIFY(QApplication::focusWidget());
            QCOMPARE(QApplication::focusWidget()->objectName(), QLatin1String(next));
        }
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Backtab);
        QCOMPARE(QApplication::focusWidget()->objectName(), QStringLiteral("Command2"));
    }

    void menuHoldsTheCommands()
    {
        demin window;
        const QList<QAction*> bar = window.menuBar()->actions();
        QCOMPARE(bar.size(), 2);
        QCOMPARE(bar[0]->text(), QStringLiteral("&Partie"));
        QVERIFY(bar[0]->menu());
        QCOMPARE(bar[1]->text(), QStringLiteral("&A propos"));
        QCOMPARE(bar[1]->objectName(), QStringLiteral("aPropos"));
        QVERIFY(!bar[1]->menu());

        const QList<QAction*> partie = bar[0]->menu()->actions();
        QCOMPARE(partie.size(), 3);
        QCOMPARE(partie[0]->objectName(), QStringLiteral("nouvPartie"));
        QCOMPARE(partie[0]->text(), QStringLiteral("&Nouvelle manche"));
        QCOMPARE(partie[0]->shortcut(), QKeySequence(Qt::CTRL | Qt::Key_N));
        QVERIFY(partie[1]->isSeparator());
        QCOMPARE(partie[2]->objectName(), QStringLiteral("quitte"));
        QCOMPARE(partie[2]->text(), QStringLiteral("&Quitter"));

        // Ctrl+N is the one shortcut of the window.
        QStringList shortcuts;
        for (QAction* action : window.findChildren<QAction*>())
            for (const QKeySequence& key : action->shortcuts())
                shortcuts << key.toString();
        for (QAbstractButton* button : window.findChildren<QAbstractButton*>())
            if (!button->shortcut().isEmpty())
                shortcuts << button->shortcut().toString();
        QCOMPARE(shortcuts, QStringList{QKeySequence(Qt::CTRL | Qt::Key_N).toString()});
    }

    void boardLinesFrameAndGrid()
    {
        demin window;
        const auto line = [&window](const QString& name) { return named(window, name); };
        for (int i = 0; i < 4; ++i) {
            QWidget* frameLine = line(QStringLiteral("Line2(%1)").arg(i));
            QVERIFY(frameLine);
            const QImage painted = frameLine->grab().toImage();
            QCOMPARE(painted.pixelColor(painted.width() / 2, painted.height() / 2),
                     QColor(0, 0, 0));
            const QSize size = frameLine->size();
            QCOMPARE(std::min(size.width(), size.height()), 3);
        }
        QVERIFY(!line(QStringLiteral("Line2(4)")));
        QCOMPARE(inClient(window, line(QStringLiteral("Line2(0)"))), QRect(167, 23, 363, 3));
        QCOMPARE(inClient(window, line(QStringLiteral("Line2(3)"))), QRect(527, 23, 3, 363));

        for (int i = 0; i < 14; ++i) {
            QWidget* across = line(QStringLiteral("Line1(%1)").arg(i));
            QWidget* down = line(QStringLiteral("Line5(%1)").arg(i));
            QVERIFY(across && down);
            QCOMPARE(inClient(window, across), QRect(168, 48 + 24 * i, 361, 1));
            QCOMPARE(inClient(window, down), QRect(192 + 24 * i, 24, 1, 361));
            QVERIFY(across->testAttribute(Qt::WA_TransparentForMouseEvents));
            QVERIFY(down->testAttribute(Qt::WA_TransparentForMouseEvents));
        }
        QVERIFY(!line(QStringLiteral("Line1(14)")));
        QVERIFY(!line(QStringLiteral("Line5(14)")));

        // As drawn on the window: the grid in the grey of an inactive window's border, across
        // and down, between the covers of row 0 and column 0.
        QVERIFY(showActive(window));
        const QImage client = window.centralWidget()->grab().toImage();
        const QColor grid(212, 208, 200);
        QCOMPARE(client.pixelColor(192, 36), grid);
        QCOMPARE(client.pixelColor(180, 48), grid);
        QCOMPARE(client.pixelColor(516, 360), grid);
    }

    void digitsInTheirColours()
    {
        // The colour of each digit's ink, named by the nearest of these.
        const std::vector<std::pair<const char*, QColor>> named{
            {"blue", QColor(0, 0, 220)},   {"dark green", QColor(0, 120, 0)},
            {"red", QColor(255, 0, 0)},    {"purple", QColor(128, 0, 128)},
            {"brown", QColor(128, 64, 0)}, {"bright green", QColor(0, 200, 0)},
            {"navy", QColor(0, 0, 100)},   {"grey", QColor(128, 128, 128)}};
        const QColor background(236, 233, 216);
        const auto distance = [](const QColor& a, const QColor& b) {
            return std::abs(a.red() - b.red()) + std::abs(a.green() - b.green()) +
                   std::abs(a.blue() - b.blue());
        };
        PictureSet pictures;
        QStringList seen;
        for (int count = 1; count <= 8; ++count) {
            const QImage image = pictures.pixmap(countPicture(count)).toImage();
            long red = 0, green = 0, blue = 0, ink = 0;
            for (int y = 0; y < image.height(); ++y)
                for (int x = 0; x < image.width(); ++x) {
                    const QColor colour = image.pixelColor(x, y);
                    if (distance(colour, background) < 150)
                        continue;
                    red += colour.red();
                    green += colour.green();
                    blue += colour.blue();
                    ++ink;
                }
            QVERIFY(ink > 20);
            const QColor mean(int(red / ink), int(green / ink), int(blue / ink));
            const auto nearest =
                std::min_element(named.begin(), named.end(), [&](const auto& a, const auto& b) {
                    return distance(a.second, mean) < distance(b.second, mean);
                });
            seen << QString::fromLatin1(nearest->first);
        }
        QCOMPARE(seen, QStringList({"blue", "dark green", "red", "purple", "brown", "bright green",
                                    "navy", "grey"}));
    }

    void coverHidesItsPictureCompletely()
    {
        // 100 mines on the even cells 0 to 198: plenty of red under the covers.
        std::vector<int> mines;
        for (int cell = 0; cell < 200; cell += 2)
            mines.push_back(cell);
        FixedDraws draws(mines);
        demin window(&draws);
        ModalAnswerer answerer;
        QVERIFY(startDuel(window, answerer, QStringLiteral("100")));
        QVERIFY(showActive(window));

        const QRect board(168, 24, 361, 361);
        QCOMPARE(reddish(window.centralWidget()->grab().toImage(), board), 0);

        clickCell(window, 0);
        QVERIFY(cover(window, 0)->isHidden());
        const QImage after = window.centralWidget()->grab().toImage();
        QVERIFY2(reddish(after, inClient(window, cover(window, 0))) > 150,
                 "the mine picture should show once its cover is gone");
        // The 99 mines still covered show nothing of their red.
        QCOMPARE(reddish(after, board), reddish(after, inClient(window, cover(window, 0))));
        QVERIFY(answerer.unexpected.isEmpty());
    }
};

QTEST_MAIN(TestLayout)
#include "test_layout.moc"
