// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "engine/duelcontrol.h"
#include "engine/duelview.h"
#include "engine/seats.h"
#include "window/deskcommands.h"

#include <QMainWindow>
#include <QPointer>
#include <array>
#include <memory>

class QAction;
class QLabel;
class QPushButton;

namespace volcanelle {

class BoardWidget;
class StatusPanels;
class frmAbout;

/// The game window: the board of 225 cells, the two players' panels, the turn label, the
/// commands and the status bar. It shows the duel and hands the players' clicks to it.
class demin : public QMainWindow, public DuelView, public DuelSeat {
    Q_OBJECT
public:
    /// When the window's widgets are built: at once, or only when the window is first
    /// needed on screen (the first round's count accepted, or the window shown), so that at
    /// start-up nothing but the mine-count box is built while that box waits for the players.
    enum class Contents { Now, WhenShown };

    /// `random` is the mine draw's source; the window uses a clock-seeded one when none is
    /// given. The source must outlive the window.
    /// `seats` says who plays each side; by default both sides play at this desk. When the
    /// computer holds a side, the window says so in its title and names it in its captions;
    /// the computer itself takes its seat through control().
    explicit demin(RandomSource* random = nullptr, QWidget* parent = nullptr,
                   Contents contents = Contents::Now, Seats seats = Seats());
    ~demin() override;

    /// Starts the duel: sets its state and asks for the first round's mine count. Call before
    /// the window is first shown; false when the players cancelled and the game should end.
    bool Form_Load();

    void setVisible(bool visible) override;

    Duel& duel() { return control_.duel(); }
    /// The duel with its seats and views: a seat or view of another kind joins here.
    DuelControl& control() { return control_; }
    /// The information window while it is open, else null.
    frmAbout* aboutWindow() const;

    /// Hands this window's clicks and commands to `commands`, whose duel this window shows or
    /// waits for. Null gives them back to the window's own duel. `commands` must outlive the
    /// window or be removed first.
    void setCommands(DeskCommands* commands) { commands_ = commands ? commands : &ownDuel_; }
    /// Writes the status bar of this window alone: a state of the connection, not of the
    /// duel, which the duel's other views do not show.
    void showConnectionStatus(const QString& text) { showMinesLeft(text); }

    /// Ends a move the window was shown rather than played (the joiner's window): the
    /// focus is placed and told that `opened` cells from `index` were uncovered.
    void finishShownMove(int index, int opened, int finder = 0, int points = 0);
    /// The text the status bar shows now.
    QString statusText() const;
    /// Answers `question` at this desk with its modal box.
    void answerHere(Duel& duel, const Question& question);

signals:
    /// The players confirmed "Quitter" and have been given the verdict.
    void quitRequested();

public slots:
    void cmdCase_Click(int index);
    void cmdNouvellePartie_Click();
    void Command1_Click();
    void Command2_Click();
    void nouvPartie_Click();
    void quitte_Click();
    void aPropos_Click();

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    // BoardObserver
    void coverChanged(int index, bool covered) override;
    void pictureChanged(int index, Picture picture) override;
    // DuelView
    void showTurn(const QString& caption) override;
    void showScore(int joueur, const QString& caption) override;
    void showRoundsWon(int joueur, const QString& caption) override;
    void showMinesLeft(const QString& caption) override;
    void moved(int index, int opened) override;
    // DuelSeat: the desk answers with its modal boxes.
    void ask(Duel& duel, const Question& question) override;
    bool readsNotices() const override { return true; }
    void othersAsked(const Question& question) override;

    /// Builds every widget of the window; with `catchUp`, then shows on them what the duel has
    /// shown so far.
    void buildContents(bool catchUp);
    void buildPlayerPanels(QWidget* client);
    void buildCommands(QWidget* client);
    void buildMenu();
    void orderTabs();
    /// The players have confirmed quitting and had the verdict: close everything.
    void endGame();
    /// Where modal boxes attach: the window once it is on screen, the screen before that.
    QWidget* boxParent();

    std::unique_ptr<RandomSource> ownRandom_;
    // How the texts name player 2: the computer when it holds that side.
    texts::Opponent opponent_;
    DuelControl control_;

    BoardWidget* board_ = nullptr;
    std::array<QLabel*, 2> lblScore_{};  // players 1 and 2
    std::array<QLabel*, 2> lblPartie_{}; // lblPartie1, lblPartie2
    QLabel* lblMain_ = nullptr;
    QPushButton* cmdNouvellePartie_ = nullptr;
    QPushButton* Command1_ = nullptr;
    QPushButton* Command2_ = nullptr;
    StatusPanels* status_ = nullptr;
    QPointer<frmAbout> about_;

    // What the duel wrote while the widgets were not built yet; empty for what it has not.
    struct Captions {
        QString turn;
        std::array<QString, 2> score;
        std::array<QString, 2> roundsWon;
        QString minesLeft;
    };
    Captions early_;
    bool built_ = false;

    // The window's own duel: a click is played by whoever this desk plays, the commands ask
    // this desk's questions.
    class OwnDuel : public DeskCommands {
    public:
        explicit OwnDuel(demin& window) : window_(window) {}
        void cellClicked(int index) override;
        void newRoundChosen() override;
        void quitChosen() override;

    private:
        demin& window_;
    };
    OwnDuel ownDuel_{*this};
    DeskCommands* commands_ = &ownDuel_;
};

} // namespace volcanelle
