// SPDX-License-Identifier: GPL-3.0-or-later
#include "window/demin.h"

#include "engine/minecount.h"
#include "engine/texts.h"
#include "ui/classicstyle.h"
#include "ui/controls.h"
#include "ui/dialogs.h"
#include "ui/fonts.h"
#include "ui/twips.h"
#include "window/accessiblenames.h"
#include "window/boardwidget.h"
#include "window/coverbutton.h"
#include "window/frmabout.h"
#include "window/statuspanels.h"

#include <QCloseEvent>
#include <QGroupBox>
#include <QLabel>
#include <QMenuBar>
#include <QPushButton>
#include <QStatusBar>

namespace volcanelle {

namespace {

// Client area, status bar included, and the status bar's own height.
constexpr int kClientWidth = 8205;
constexpr int kClientHeight = 6390;
constexpr int kStatusHeight = 255;

// What the labels that change during play show, for assistive technology.
QString turnRole()
{
    return QStringLiteral("Tour");
}
QString playerRole(int joueur, texts::Opponent opponent)
{
    return joueur == 2 && opponent == texts::Opponent::Computer
               ? QStringLiteral("L'ordinateur")
               : QStringLiteral("Joueur %1").arg(joueur);
}

texts::Opponent opponentOf(const Seats& seats)
{
    return seats.seat(2) == Seat::Computer ? texts::Opponent::Computer : texts::Opponent::Person;
}

QPushButton* addButton(QWidget* parent, const QString& name, const QString& caption,
                       const QRect& rect)
{
    auto* button = new QPushButton(caption, parent);
    button->setObjectName(name);
    button->setGeometry(rect);
    button->setAutoDefault(false);
    pressOnEnter(button);
    return button;
}

} // namespace

demin::demin(RandomSource* random, QWidget* parent, Contents contents, Seats seats)
    : QMainWindow(parent), ownRandom_(random ? nullptr : std::make_unique<SystemRandom>()),
      opponent_(opponentOf(seats)), control_(random ? *random : *ownRandom_, opponent_)
{
    setObjectName(QStringLiteral("demin"));
    keepClassicLook(this);
    const bool computer = seats.seat(2) == Seat::Computer;
    // A network duel titles the window itself, with its code.
    setWindowTitle(computer ? texts::computerWindowTitle() : texts::gameTitle());
    control_.addView(this);
    control_.setSeat(1, this);
    control_.setSeat(2, this);
    setWindowFlags(Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                   Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint);
    if (contents == Contents::Now)
        buildContents(false);
}

void demin::buildContents(bool catchUp)
{
    built_ = true;
    auto* client = new QWidget(this);
    client->setObjectName(QStringLiteral("client"));
    client->setFixedSize(twips(kClientWidth), twips(kClientHeight - kStatusHeight));
    setCentralWidget(client);

    buildPlayerPanels(client);
    buildCommands(client);
    board_ = new BoardWidget(client);
    connect(board_, &BoardWidget::clicked, this, &demin::cmdCase_Click);
    connect(board_, &BoardWidget::summaryAsked, this, [this] {
        const Duel& shown = duel();
        board_->announce(accessible::duelSummary(status_->text(), shown.score(1),
                                                 shown.partiesGagnees(1), shown.score(2),
                                                 shown.partiesGagnees(2), opponent_));
    });
    buildMenu();
    orderTabs();

    QStatusBar* bar = statusBar();
    bar->setObjectName(QStringLiteral("StatusBar1"));
    bar->setSizeGripEnabled(false);
    bar->setFixedHeight(twips(kStatusHeight));
    status_ = new StatusPanels(bar);

    setFixedSize(sizeHint());
    if (!catchUp)
        return;

    const Board& board = duel().board();
    for (int index = 0; index < kCells; ++index) {
        board_->setPicture(index, board.picture(index));
        board_->setCovered(index, board.isCovered(index));
    }
    if (!early_.turn.isNull())
        showTurn(early_.turn);
    for (int joueur = 1; joueur <= 2; ++joueur) {
        const std::size_t slot = static_cast<std::size_t>(joueur - 1);
        if (!early_.score[slot].isNull())
            showScore(joueur, early_.score[slot]);
        if (!early_.roundsWon[slot].isNull())
            showRoundsWon(joueur, early_.roundsWon[slot]);
    }
    if (!early_.minesLeft.isNull())
        showMinesLeft(early_.minesLeft);
    early_ = {};
}

void demin::setVisible(bool visible)
{
    if (visible && !built_)
        buildContents(true);
    QMainWindow::setVisible(visible);
}

demin::~demin()
{
    delete about_;
}

void demin::buildPlayerPanels(QWidget* client)
{
    const std::array<int, 2> tops{360, 2040};
    for (int player = 1; player <= 2; ++player) {
        const std::size_t slot = static_cast<std::size_t>(player - 1);
        auto* frame = new QGroupBox(texts::playerFrameCaption(player, opponent_), client);
        frame->setObjectName(arrayName("frameJoueur", player - 1));
        frame->setGeometry(twipsRect(240, tops[slot], 1695, 1215));
        frame->setFont(fonts::playerFrame());

        lblScore_[slot] =
            addLabel(frame, arrayName("lblScore", player), QStringLiteral("Score : 0 point"),
                     twipsRect(120, 480, 1455, 375), fonts::window());
        lblPartie_[slot] = addLabel(frame, QStringLiteral("lblPartie%1").arg(player),
                                    QStringLiteral("Partie gagnée : 0"),
                                    twipsRect(120, 840, 1455, 255), fonts::window());
        showCaption(lblScore_[slot], playerRole(player, opponent_), lblScore_[slot]->text());
        showCaption(lblPartie_[slot], playerRole(player, opponent_), lblPartie_[slot]->text());
    }
    lblMain_ = addLabel(client, QStringLiteral("lblMain"), QString(),
                        twipsRect(240, 3480, 2175, 495), fonts::windowBold());
    showCaption(lblMain_, turnRole(), QString());
}

void demin::buildCommands(QWidget* client)
{
    cmdNouvellePartie_ =
        addButton(client, QStringLiteral("cmdNouvellePartie"), QStringLiteral("Nouvelle manche"),
                  twipsRect(360, 4200, 1455, 375));
    Command2_ = addButton(client, QStringLiteral("Command2"), QStringLiteral("A propos"),
                          twipsRect(360, 4680, 1455, 375));
    Command1_ = addButton(client, QStringLiteral("Command1"), QStringLiteral("Quitter"),
                          twipsRect(360, 5160, 1455, 375));
    connect(cmdNouvellePartie_, &QPushButton::clicked, this, &demin::cmdNouvellePartie_Click);
    connect(Command1_, &QPushButton::clicked, this, &demin::Command1_Click);
    connect(Command2_, &QPushButton::clicked, this, &demin::Command2_Click);
}

void demin::buildMenu()
{
    QMenuBar* bar = menuBar();
    QMenu* partie = bar->addMenu(QStringLiteral("&Partie"));
    partie->setObjectName(QStringLiteral("Menu"));
    partie->menuAction()->setObjectName(QStringLiteral("MenuAction"));

    QAction* nouvPartie = partie->addAction(QStringLiteral("&Nouvelle manche"));
    nouvPartie->setObjectName(QStringLiteral("nouvPartie"));
    nouvPartie->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_N));
    connect(nouvPartie, &QAction::triggered, this, &demin::nouvPartie_Click);

    partie->addSeparator()->setObjectName(QStringLiteral("separ"));

    QAction* quitte = partie->addAction(QStringLiteral("&Quitter"));
    quitte->setObjectName(QStringLiteral("quitte"));
    connect(quitte, &QAction::triggered, this, &demin::quitte_Click);

    QAction* aPropos = bar->addAction(QStringLiteral("&A propos"));
    aPropos->setObjectName(QStringLiteral("aPropos"));
    connect(aPropos, &QAction::triggered, this, &demin::aPropos_Click);
}

void demin::orderTabs()
{
    // The board chains its own cells; the buttons follow its last cell.
    QWidget* previous = board_->cover(kCells - 1);
    const auto chain = [&previous](QWidget* next) {
        QWidget::setTabOrder(previous, next);
        previous = next;
    };
    chain(cmdNouvellePartie_);
    chain(Command1_);
    chain(Command2_);
    // The chain is a ring that starts after the window with the buttons, built before the
    // board; the players start on the first cell, as the tab order says.
    board_->cover(0)->setFocus(Qt::OtherFocusReason);
}

bool demin::Form_Load()
{
    if (!duel().startDuel())
        return false;
    if (!built_)
        buildContents(true);
    return true;
}

void demin::cmdCase_Click(int index)
{
    commands_->cellClicked(index);
}

void demin::OwnDuel::cellClicked(int index)
{
    // Refused when the side whose turn it is is not played at this desk.
    window_.control_.play(window_.control_.playerOf(&window_), index);
}

void demin::OwnDuel::newRoundChosen()
{
    if (!window_.duel().askNewRound(window_.control_.playerOf(&window_)))
        window_.endGame();
}

void demin::OwnDuel::quitChosen()
{
    if (window_.duel().askQuit(window_.control_.playerOf(&window_)))
        window_.endGame();
}

void demin::moved(int index, int opened)
{
    // A mine keeps the turn with its finder, but for the last one, after which the turn passes.
    const Duel& played = duel();
    int finder = 0;
    int points = 0;
    if (opened > 0 && played.board().picture(index) == Picture::Mine) {
        finder = played.roundInPlay() ? played.joueur() : 3 - played.joueur();
        points = played.score(finder);
    }
    finishShownMove(index, opened, finder, points);
}

void demin::finishShownMove(int index, int opened, int finder, int points)
{
    if (!built_)
        return;
    board_->finishMove(opened > 0 ? accessible::moveDescription(index, board_->shownAt(index),
                                                                opened, finder, points,
                                                                lblMain_->text(), opponent_)
                                  : QString());
}

void demin::cmdNouvellePartie_Click()
{
    commands_->newRoundChosen();
}

void demin::Command1_Click()
{
    commands_->quitChosen();
}

void demin::endGame()
{
    if (about_)
        about_->close();
    emit quitRequested();
}

void demin::Command2_Click()
{
    // A window closed a moment ago is only waiting for its deferred deletion: showing it
    // again would make it vanish as soon as the event loop runs.
    if (about_ && about_->isHidden())
        about_ = nullptr;
    // A window of its own, not one owned by the game window: the window manager would keep
    // an owned window above the board, over the cells under (156, 129).
    if (!about_)
        about_ = new frmAbout();
    about_->show();
    about_->raise();
    about_->activateWindow();
}

frmAbout* demin::aboutWindow() const
{
    return about_;
}

void demin::nouvPartie_Click()
{
    cmdNouvellePartie_Click();
}

void demin::quitte_Click()
{
    Command1_Click();
}

void demin::aPropos_Click()
{
    Command2_Click();
}

void demin::closeEvent(QCloseEvent* event)
{
    if (about_)
        about_->close();
    event->accept();
}

// Until the widgets are built, the board keeps its own state and the captions wait in early_.

void demin::coverChanged(int index, bool covered)
{
    if (built_)
        board_->setCovered(index, covered);
}

void demin::pictureChanged(int index, Picture picture)
{
    if (built_)
        board_->setPicture(index, picture);
}

void demin::showTurn(const QString& caption)
{
    if (!built_)
        early_.turn = caption;
    else
        showCaption(lblMain_, turnRole(), caption);
}

void demin::showScore(int joueur, const QString& caption)
{
    const std::size_t slot = static_cast<std::size_t>(joueur - 1);
    if (!built_)
        early_.score[slot] = caption;
    else
        showCaption(lblScore_[slot], playerRole(joueur, opponent_), caption);
}

void demin::showRoundsWon(int joueur, const QString& caption)
{
    const std::size_t slot = static_cast<std::size_t>(joueur - 1);
    if (!built_)
        early_.roundsWon[slot] = caption;
    else
        showCaption(lblPartie_[slot], playerRole(joueur, opponent_), caption);
}

void demin::showMinesLeft(const QString& caption)
{
    if (!built_)
        early_.minesLeft = caption;
    else
        status_->setText(caption);
}

QString demin::statusText() const
{
    return built_ ? status_->text() : early_.minesLeft;
}

QWidget* demin::boxParent()
{
    return isVisible() ? this : nullptr;
}

void demin::ask(Duel& duel, const Question& question)
{
    answerHere(duel, question);
}

void demin::othersAsked(const Question& question)
{
    // The other side of a network duel chooses the count: this side is told so meanwhile.
    if (question.kind == Question::Kind::Count && built_)
        status_->setText(texts::countBeingChosen());
}

void demin::answerHere(Duel& duel, const Question& question)
{
    switch (question.kind) {
    case Question::Kind::None:
        return;
    case Question::Kind::Notice:
        dialogs::announce(boxParent(), question.text, question.title);
        duel.acknowledge();
        return;
    case Question::Kind::NewRound:
    case Question::Kind::Quit:
        duel.answer(dialogs::confirm(boxParent(), question.text, question.title));
        return;
    case Question::Kind::Count:
        // The players are only ever asked for a mine count.
        if (const std::optional<QString> typed =
                dialogs::askText(boxParent(), question.text, question.title, kMineEntryMaxLength)) {
            duel.answerCount(*typed);
            // A round set up anew: the players go on from the board's first cell, not from
            // the button that asked for it.
            if (built_ && duel.roundInPlay() && duel.board().coveredCount() == kCells)
                board_->focusCell(0);
        } else
            duel.cancel();
        return;
    }
}

} // namespace volcanelle
