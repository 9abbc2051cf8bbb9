// SPDX-License-Identifier: GPL-3.0-or-later
// Draws the game window at a few moments of a duel on a fixed board, as PNG files for the
// README and the issues (names end in "-2x" under QT_SCALE_FACTOR=2). From the project's folder:
// cmake --build build --target screenshots && xvfb-run -a build/tools/screenshots/screenshots docs

#include "engine/texts.h"
#include "fixeddraws.h"
#include "ui/application.h"
#include "window/demin.h"
#include "window/frmabout.h"

#include <QAbstractButton>
#include <QApplication>
#include <QDir>
#include <QInputDialog>
#include <QMessageBox>
#include <QPixmap>
#include <QTextStream>
#include <QTimer>
#include <functional>
#include <utility>

using namespace volcanelle;

namespace {

QTextStream err(stderr);

// 45 mines, with room for a blank area in the top-left corner and a crowd in the bottom-right
// corner, so that the uncovered board shows every count from 1 to 8.
const std::vector<int> kMines = testing::minesOf({
    "...........*..*",
    "......*.....*..",
    "...........*..*",
    ".....*..*......",
    "*.........*....",
    "..*..*.*.......",
    ".*..*......*..*",
    "....*.*........",
    "*.*............",
    "........***....",
    ".*......*.*.*..",
    "...*....***.**.",
    "*.........****.",
    "..*..*.......*.",
    ".*.........*.*.",
});

bool isCount(Picture picture)
{
    return picture != Picture::None && picture != Picture::Mine && picture != Picture::Blank;
}

/// Saves the pictures, and answers the game's modal boxes as they come.
class Shooter {
public:
    explicit Shooter(const QString& folder) : folder_(folder)
    {
        // The boxes are modal: answer them from the event loop they run.
        timer_.setInterval(10);
        QObject::connect(&timer_, &QTimer::timeout, [this] { answerBox(); });
        timer_.start();
    }

    /// Writes <name>.png, or <name>-2x.png when the screen has two pixels per logical pixel.
    void save(QWidget* widget, const QString& name)
    {
        QApplication::processEvents();
        const QPixmap picture = widget->grab();
        const QString suffix = picture.devicePixelRatio() >= 2 ? QStringLiteral("-2x") : QString();
        const QString path = QDir(folder_).filePath(name + suffix + QStringLiteral(".png"));
        if (!picture.save(path)) {
            err << "could not write " << path << Qt::endl;
            ok_ = false;
        }
    }

    /// Called, once, for the next box whose title is `title`, before it is answered.
    void onBox(const QString& title, std::function<void(QWidget*)> look)
    {
        lookTitle_ = title;
        look_ = std::move(look);
    }

    void fail(const QString& why)
    {
        err << why << Qt::endl;
        ok_ = false;
    }

    bool ok() const { return ok_; }

private:
    void answerBox()
    {
        QWidget* box = QApplication::activeModalWidget();
        if (!box)
            return;
        if (look_ && box->windowTitle() == lookTitle_)
            std::exchange(look_, nullptr)(box);
        // Every box is closed here, so that exec() returns even after a failure.
        if (auto* input = qobject_cast<QInputDialog*>(box)) {
            input->setTextValue(QStringLiteral("45"));
            press(box, QStringLiteral("OK"));
        } else if (box->windowTitle() == texts::askQuit().title) {
            press(box, QStringLiteral("Non"));
        } else {
            press(box, QStringLiteral("OK"));
        }
    }

    void press(QWidget* box, const QString& text)
    {
        for (auto* button : box->findChildren<QAbstractButton*>()) {
            if (button->text() == text) {
                button->click();
                return;
            }
        }
        fail(QStringLiteral("no button \"%1\" on the box \"%2\"").arg(text, box->windowTitle()));
        box->close();
    }

    QString folder_;
    QTimer timer_;
    QString lookTitle_;
    std::function<void(QWidget*)> look_;
    bool ok_ = true;
};

/// The first covered cell from `from` on, in reading order and round the board, that holds
/// a picture accepted by `wanted`; -1 when there is none.
int coveredCell(const Board& board, int from, const std::function<bool(Picture)>& wanted)
{
    for (int step = 0; step < kCells; ++step) {
        const int index = (from + step) % kCells;
        if (board.isCovered(index) && wanted(board.picture(index)))
            return index;
    }
    return -1;
}

} // namespace

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    prepareApplication();
    if (argc != 2) {
        err << "usage: screenshots <folder for the PNG files>" << Qt::endl;
        return 2;
    }
    if (!QDir().mkpath(QString::fromLocal8Bit(argv[1]))) {
        err << "cannot make the folder " << argv[1] << Qt::endl;
        return 1;
    }
    Shooter shooter(QString::fromLocal8Bit(argv[1]));

    testing::FixedDraws draws(kMines);
    demin window(&draws);
    if (!window.Form_Load())
        return 1;
    window.show();
    Duel& duel = window.duel();
    Board& board = duel.board();
    shooter.save(&window, QStringLiteral("round-start"));

    for (int index = 0; index < kCells; ++index)
        board.uncover(index);
    shooter.save(&window, QStringLiteral("board-revealed"));
    for (int index = 0; index < kCells; ++index)
        board.cover(index);

    // Player 1 opens the blank corner; player 2 finds two mines and misses; player 1 finds
    // one and misses, so that player 2 has the turn.
    const auto mine = [](Picture p) { return p == Picture::Mine; };
    duel.cmdCase_Click(0);
    duel.cmdCase_Click(coveredCell(board, 40, mine));
    duel.cmdCase_Click(coveredCell(board, 100, mine));
    duel.cmdCase_Click(coveredCell(board, 120, isCount));
    duel.cmdCase_Click(coveredCell(board, 160, mine));
    duel.cmdCase_Click(coveredCell(board, 200, isCount));
    shooter.save(&window, QStringLiteral("mid-round"));
    shooter.save(&window, QStringLiteral("screenshot"));

    window.Command2_Click();
    if (auto* about = window.aboutWindow()) {
        shooter.save(about, QStringLiteral("about"));
        about->close();
    } else {
        shooter.fail(QStringLiteral("the information window did not open"));
    }

    bool questionSeen = false;
    shooter.onBox(texts::askQuit().title, [&](QWidget* box) {
        questionSeen = true;
        shooter.save(box, QStringLiteral("quit-question"));
    });
    window.Command1_Click();
    if (!questionSeen)
        shooter.fail(QStringLiteral("no \"Quitter ?\" box"));

    // The rest of the mines, with a miss after every third so that both players score.
    for (int found = 0; duel.roundInPlay(); ++found) {
        const int next = coveredCell(board, 0, mine);
        if (next < 0) {
            shooter.fail(QStringLiteral("mines are left but none is covered"));
            break;
        }
        duel.cmdCase_Click(next);
        const int miss = coveredCell(board, 0, [](Picture p) { return p != Picture::Mine; });
        if (found % 3 == 2 && duel.roundInPlay() && miss >= 0)
            duel.cmdCase_Click(miss);
    }
    shooter.save(&window, QStringLiteral("round-end"));

    return shooter.ok() ? 0 : 1;
}
