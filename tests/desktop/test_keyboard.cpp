// SPDX-License-Identifier: GPL-3.0-or-later
// Keyboard-only play and what assistive technology is told: the focus walks the covers in
// board order, Space uncovers the focused cell, the focus stays on the board when its cover
// goes, and every cell, label and button carries a French name that follows the game.

#include "duelboard.h"
#include "engine/texts.h"
#include "ui/application.h"
#include "window/boardwidget.h"
#include "window/coverbutton.h"
#include "window/demin.h"

#include <QAbstractButton>
#include <QAccessible>
#include <QApplication>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QRegularExpression>
#include <QTest>
#include <cmath>
#include <functional>

using namespace volcanelle;
using namespace volcanelle::testing;

namespace {

QAbstractButton* coverOf(QWidget& window, int index)
{
    return window.findChild<QAbstractButton*>(QStringLiteral("cmdCase(%1)").arg(index));
}

// A key pressed and released where the keyboard focus is, as a player's keyboard would.
void key(Qt::Key key, Qt::KeyboardModifiers modifiers = Qt::NoModifier)
{
    QWidget* focus = QApplication::focusWidget();
    QVERIFY(focus);
    QTest::keyClick(focus, key, modifiers);
}

QString focusName()
{
    QWidget* focus = QApplication::focusWidget();
    return focus ? focus->objectName() : QStringLiteral("<none>");
}

QString coverName(int index)
{
    return QStringLiteral("cmdCase(%1)").arg(index);
}

// Counts the times the keyboard focus arrives on a widget, anywhere in the application.
class FocusCount : public QObject {
public:
    FocusCount() { qApp->installEventFilter(this); }
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        count += event->type() == QEvent::FocusIn && watched->isWidgetType() ? 1 : 0;
        return false;
    }
    int count = 0;
};

// The WCAG contrast ratio of two colours.
double contrast(const QColor& a, const QColor& b)
{
    const auto luminance = [](const QColor& colour) {
        const auto channel = [](double value) {
            return value <= 0.04045 ? value / 12.92 : std::pow((value + 0.055) / 1.055, 2.4);
        };
        return 0.2126 * channel(colour.redF()) + 0.7152 * channel(colour.greenF()) +
               0.0722 * channel(colour.blueF());
    };
    const double la = luminance(a), lb = luminance(b);
    return (std::max(la, lb) + 0.05) / (std::min(la, lb) + 0.05);
}

} // namespace

class TestKeyboard : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() { prepareApplication(); }

    void playsWithTabAndSpaceOnly()
    {
        FixedDraws draws(mineRowsBoard());
        ModalAnswerer answerer;
        demin window(&draws);
        QVERIFY(startShown(window, answerer));

        // The focus starts on the first cell and Tab walks the board in reading order.
        QCOMPARE(focusName(), coverName(0));
        key(Qt::Key_Tab);
        QCOMPARE(focusName(), coverName(1));
        key(Qt::Key_Tab, Qt::ShiftModifier);
        QCOMPARE(focusName(), coverName(0));

        // Space on a blank cell opens rows 0 to 11; the focus moves on to the first cover
        // left, at the start of the mine rows, and the turn passes.
        // The focus moves once, when the area has opened, and the cell it lands on tells
        // what the move uncovered and who plays now.
        FocusCount arrivals;
        key(Qt::Key_Space);
        QVERIFY(coverOf(window, 0)->isHidden());
        QCOMPARE(window.duel().board().coveredCount(), 45);
        QCOMPARE(focusName(), coverName(180));
        QCOMPARE(arrivals.count, 1);
        QCOMPARE(coverOf(window, 180)->accessibleDescription(),
                 QStringLiteral("Ligne 1, colonne 1 : vide, 180 cases découvertes. Le joueur "
                                "n°2 a la main."));
        QCOMPARE(window.duel().joueur(), 2);

        // A mine: player 2 scores and plays again from the next cover.
        key(Qt::Key_Space);
        QVERIFY(coverOf(window, 180)->isHidden());
        QCOMPARE(window.duel().score(2), 1);
        QCOMPARE(focusName(), coverName(181));
        QCOMPARE(coverOf(window, 181)->accessibleDescription(),
                 QStringLiteral("Ligne 13, colonne 1 : mine. Le joueur n°2 a la main."));

        // Tab skips the uncovered cells and ends the board with the three buttons.
        for (int index = 182; index < 225; ++index) {
            key(Qt::Key_Tab);
            QCOMPARE(focusName(), coverName(index));
        }
        key(Qt::Key_Tab);
        QCOMPARE(focusName(), QStringLiteral("cmdNouvellePartie"));
        key(Qt::Key_Tab);
        QCOMPARE(focusName(), QStringLiteral("Command1"));
        key(Qt::Key_Tab);
        QCOMPARE(focusName(), QStringLiteral("Command2"));
        for (int back = 0; back < 3; ++back)
            key(Qt::Key_Tab, Qt::ShiftModifier);
        QCOMPARE(focusName(), coverName(224));

        // The last cell of the board: its cover goes and the focus wraps round to the first
        // cover left instead of leaving the board for "Nouvelle manche".
        key(Qt::Key_Space);
        QVERIFY(coverOf(window, 224)->isHidden());
        QCOMPARE(window.duel().joueur(), 1);
        QCOMPARE(focusName(), coverName(181));
        QVERIFY(answerer.unexpected.isEmpty());
        QCOMPARE(answerer.seen.size(), 1); // only the mine count
    }

    void focusLeavesTheBoardWithItsLastCover()
    {
        QWidget window;
        auto* board = new BoardWidget(&window);
        auto* after = new QPushButton(QStringLiteral("Nouvelle manche"), &window);
        after->setObjectName(QStringLiteral("after"));
        QWidget::setTabOrder(board->cover(kCells - 1), after);
        window.show();
        QApplication::setActiveWindow(&window);
        QVERIFY(QTest::qWaitForWindowActive(&window));
        for (int index = 0; index < kCells; ++index)
            if (index != 7)
                board->setCovered(index, false);
        board->cover(7)->setFocus();
        board->setCovered(7, false);
        board->finishMove(QString());
        QCOMPARE(focusName(), QStringLiteral("after"));
        QVERIFY(!board->focusNextCover(7));
    }

    void arrowsCrossTheBoard()
    {
        FixedDraws draws(mineRowsBoard());
        ModalAnswerer answerer;
        demin window(&draws);
        QVERIFY(startShown(window, answerer));

        // The focused cell wears a frame from the start of the round, at least 3:1 against
        // the cover's face around it (WCAG contrast, from the pixels drawn).
        const QImage drawn = coverOf(window, 0)->grab().toImage();
        const double ratio = contrast(drawn.pixelColor(4, 12), drawn.pixelColor(12, 12));
        qInfo("focus frame contrast %.1f:1", ratio);
        QVERIFY(ratio >= 3.0);
        QVERIFY(contrast(coverOf(window, 1)->grab().toImage().pixelColor(4, 12),
                         drawn.pixelColor(12, 12)) < 1.5);

        // One column or row per arrow, held at the edges; Home and End.
        const std::vector<std::pair<Qt::Key, int>> walk{
            {Qt::Key_Up, 0},      {Qt::Key_Left, 0},  {Qt::Key_Right, 1},
            {Qt::Key_Down, 16},   {Qt::Key_End, 224}, {Qt::Key_Down, 224},
            {Qt::Key_Right, 224}, {Qt::Key_Up, 209},  {Qt::Key_Home, 0}};
        for (const auto& [arrow, cell] : walk) {
            key(arrow);
            QCOMPARE(focusName(), coverName(cell));
        }

        // Uncovered cells are skipped: rows 0 to 11 open, and Up from row 12 has nowhere to go.
        key(Qt::Key_Space);
        QCOMPARE(focusName(), coverName(180));
        for (const auto& [arrow, cell] :
             std::vector<std::pair<Qt::Key, int>>{{Qt::Key_Up, 180},
                                                  {Qt::Key_Right, 181},
                                                  {Qt::Key_Down, 196},
                                                  {Qt::Key_Home, 180}}) {
            key(arrow);
            QCOMPARE(focusName(), coverName(cell));
        }
        // Tab keeps to reading order.
        key(Qt::Key_Tab);
        QCOMPARE(focusName(), coverName(181));
    }

    void enterPressesTheFocusedControl()
    {
        FixedDraws draws(mineRowsBoard());
        ModalAnswerer answerer;
        demin window(&draws);
        QVERIFY(startShown(window, answerer));
        answerer.seen.clear();

        // Return on a cover, keypad Enter on the next one.
        coverOf(window, 180)->setFocus();
        key(Qt::Key_Return);
        QVERIFY(coverOf(window, 180)->isHidden());
        QCOMPARE(focusName(), coverName(181));
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Enter, Qt::KeypadModifier);
        QVERIFY(coverOf(window, 181)->isHidden());
        QCOMPARE(window.duel().score(1), 2);

        // The three commands, each focused in turn; none is a default button.
        answerer.press(QStringLiteral("Non"));
        answerer.press(QStringLiteral("Non"));
        for (const char* name : {"cmdNouvellePartie", "Command1", "Command2"}) {
            auto* button = window.findChild<QPushButton*>(QLatin1String(name));
            QVERIFY(!button->isDefault() && !button->autoDefault());
            // Sent to the button: offscreen, a closed box does not give the window back its
            // activation, and with it the focus.
            QTest::keyClick(button, Qt::Key_Return);
        }
        QCOMPARE(answerer.seen,
                 QStringList({texts::askNewRound().title + u'|' + texts::askNewRound().text,
                              texts::askQuit().title + u'|' + texts::askQuit().text}));
        QVERIFY(window.aboutWindow());
    }

    void namesFollowThePlay()
    {
        FixedDraws draws(mineRowsBoard());
        ModalAnswerer answerer;
        demin window(&draws);
        QVERIFY(startShown(window, answerer));

        // The board is one table of 15 x 15 cells; rows and columns are counted from 1, as
        // players count them, and a covered cell does not give away what lies under it.
        QAccessibleInterface* table =
            QAccessible::queryAccessibleInterface(window.findChild<BoardWidget*>());
        QVERIFY(table && table->tableInterface());
        QCOMPARE(table->role(), QAccessible::Table);
        QCOMPARE(table->tableInterface()->rowCount(), 15);
        QCOMPARE(table->tableInterface()->columnCount(), 15);
        QCOMPARE(table->childCount(), kCells);
        const auto cell = [table](int row, int column) {
            QAccessibleInterface* face = table->tableInterface()->cellAt(row, column);
            return face && face->role() == QAccessible::Cell ? face->text(QAccessible::Name)
                                                             : QStringLiteral("<no cell>");
        };
        QCOMPARE(cell(0, 0), QStringLiteral("Case ligne 1, colonne 1 : couverte"));
        QCOMPARE(cell(2, 7), QStringLiteral("Case ligne 3, colonne 8 : couverte"));
        QCOMPARE(cell(14, 14), QStringLiteral("Case ligne 15, colonne 15 : couverte"));
        // A screen reader moving along a row or a column asks each cell where it stands.
        QAccessibleTableCellInterface* place =
            table->tableInterface()->cellAt(2, 7)->tableCellInterface();
        QVERIFY(place);
        QCOMPARE(place->rowIndex(), 2);
        QCOMPARE(place->columnIndex(), 7);
        QCOMPARE(place->table(), table);
        QCOMPARE(accessibleName(coverOf(window, 180)),
                 QStringLiteral("Case ligne 13, colonne 1 : couverte"));
        // Nothing in the whole tree tells more: no picture, no line, no hidden content.
        QStringList told;
        const std::function<void(QAccessibleInterface*)> walk = [&](QAccessibleInterface* face) {
            told << face->text(QAccessible::Name);
            QVERIFY2(!qobject_cast<QLabel*>(face->object()) ||
                         !face->object()->objectName().startsWith(QLatin1String("imgCase")),
                     "a picture in the tree");
            QVERIFY2(!face->object()->objectName().startsWith(QLatin1String("Line")),
                     "a grid line in the tree");
            for (int i = 0; i < face->childCount(); ++i)
                if (QAccessibleInterface* child = face->child(i))
                    walk(child);
        };
        walk(QAccessible::queryAccessibleInterface(&window));
        QCOMPARE(told.filter(QStringLiteral("Case ligne")).size(), kCells);
        QCOMPARE(
            told.filter(QRegularExpression(QStringLiteral("^Case ligne .* : (mine|vide|\\d)$"))),
            QStringList());

        window.cmdCase_Click(0);
        window.cmdCase_Click(180);
        QCOMPARE(cell(0, 0), QStringLiteral("Case ligne 1, colonne 1 : vide"));
        QCOMPARE(cell(11, 0), QStringLiteral("Case ligne 12, colonne 1 : 2"));
        QCOMPARE(cell(12, 0), QStringLiteral("Case ligne 13, colonne 1 : mine"));
        QCOMPARE(cell(12, 1), QStringLiteral("Case ligne 13, colonne 2 : couverte"));
        QVERIFY(table->tableInterface()->cellAt(12, 0)->state().disabled);
        QVERIFY(table->tableInterface()->cellAt(12, 1)->state().focusable);

        // The labels that change during play say what they are and what they show now.
        const auto label = [&window](const char* name) {
            return accessibleName(window.findChild<QLabel*>(QLatin1String(name)));
        };
        QCOMPARE(label("lblMain"), QStringLiteral("Tour : ") + texts::turnCaption(2));
        QCOMPARE(label("lblScore(2)"), QStringLiteral("Joueur 2 : ") + texts::scoreCaption(1));
        QCOMPARE(label("lblPartie1"), QStringLiteral("Joueur 1 : ") + texts::roundsWonCaption(0));
        QCOMPARE(label("Panel3"),
                 QStringLiteral("Compteur de bombes : ") + texts::minesLeftCaption(29));
        QVERIFY(label("Panel1").startsWith(QStringLiteral("Date : ")));
        QVERIFY(label("Panel2").startsWith(QStringLiteral("Heure : ")));

        // The next round covers the board again, and the names with it.
        answerer.press(QStringLiteral("Oui"));
        answerer.type(QStringLiteral("30"));
        window.cmdNouvellePartie_Click();
        QCOMPARE(answerer.pending(), 0);
        QCOMPARE(cell(12, 0), QStringLiteral("Case ligne 13, colonne 1 : couverte"));
    }

    void everyControlHasAName()
    {
        FixedDraws draws(mineRowsBoard());
        ModalAnswerer answerer;
        demin window(&draws);
        QVERIFY(startShown(window, answerer));

        QStringList unnamed;
        for (QWidget* widget : window.findChildren<QWidget*>()) {
            const bool control = (widget->focusPolicy() & Qt::TabFocus) ||
                                 qobject_cast<QLabel*>(widget) || qobject_cast<QGroupBox*>(widget);
            if (control && accessibleName(widget).isEmpty())
                unnamed << widget->objectName();
        }
        QVERIFY2(unnamed.isEmpty(), qPrintable(unnamed.join(u' ')));

        // Buttons go by their captions.
        for (const char* name : {"cmdNouvellePartie", "Command1", "Command2"}) {
            auto* button = window.findChild<QAbstractButton*>(QLatin1String(name));
            QCOMPARE(accessibleName(button), button->text());
        }
    }
};

QTEST_MAIN(TestKeyboard)
#include "test_keyboard.moc"
