// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "engine/grid.h"
#include "engine/picture.h"
#include "window/pictureset.h"

#include <QPointer>
#include <QWidget>
#include <array>

namespace volcanelle {

class Announcer;
class CellPicture;
class CoverButton;

/// The board of 15 x 15 cells, its grid and its black frame, as one widget over the board's
/// rectangle of the game window. Each cell is a picture under a cover button of the same
/// rectangle; neighbouring cells overlap by one pixel, and the lines lie above both.
///
/// The cells are children of this widget rather than of the window's client area, so that a
/// repaint walks the board's children only, and painting the window's siblings does not
/// recurse through some 500 widgets on one stack.
class BoardWidget : public QWidget {
    Q_OBJECT
public:
    explicit BoardWidget(QWidget* parent = nullptr);

    /// Shows or lifts the cover of cell `index` (0 <= index < 225). Lifting the cover that has
    /// the keyboard focus holds the focus until finishMove() places it.
    void setCovered(int index, bool covered);
    /// Ends a move, whoever made it, and tells it to the players who cannot see it. When the
    /// move lifted the focused cover, the focus goes on to the nearest covered cell after it
    /// (before it when none is left after), whose name then begins with `description`, so that
    /// a screen reader says what the move did before anything else; otherwise the description
    /// is announced where the focus is. `description` tells what the move uncovered and whose
    /// turn it is now; the focused cell keeps it as its description until the next move.
    void finishMove(const QString& description);
    /// Makes a screen reader say `text` without moving the focus.
    void announce(const QString& text);
    /// What a screen reader says of cell `index`: the news of the last move first when the
    /// focus was brought there by it, then the cell's place and what it shows.
    QString spokenName(int index) const;
    /// Puts `picture` under the cover of cell `index` (0 <= index < 225).
    void setPicture(int index, Picture picture);
    /// Gives the keyboard focus to the first covered cell after `index` in reading order,
    /// wrapping round the board; false, focus untouched, when no cell is left covered.
    bool focusNextCover(int index);
    /// Gives the keyboard focus to cell `index`: its cover, or its picture once uncovered.
    void focusCell(int index);

    /// The cover of cell `index`, to chain the window's tab order after the board's.
    CoverButton* cover(int index) const { return covers_[static_cast<std::size_t>(index)]; }
    /// What stands for cell `index` on screen and for assistive technology: its cover while
    /// covered, then its picture.
    QWidget* cellWidget(int index) const;
    /// The cell whose cover or picture is `object`, or -1.
    int cellOf(const QObject* object) const;
    /// Whether cell `index` (0 <= index < 225) is covered, and what lies under it.
    bool isCovered(int index) const { return covered_[static_cast<std::size_t>(index)]; }
    Picture shownAt(int index) const { return shown_[static_cast<std::size_t>(index)]; }

signals:
    /// The players clicked the cover of cell `index`.
    void clicked(int index);
    /// A player asked, with S on the board, for the scores and the mines left.
    void summaryAsked();

protected:
    /// On a cell: an arrow moves the focus one cell, Ctrl with an arrow to the nearest covered
    /// cell in its direction, Home and End to the first and last covered cells; S asks for the
    /// scores.
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    /// Where `key` takes the focus from cell `index`: an arrow to the next cell in its
    /// direction, or with `toCovered` to the nearest covered one, Home and End to the first and
    /// last covered cells; -1 to stay, at the board's edge or with nothing covered beyond.
    int cellForKey(int index, int key, bool toCovered) const;
    /// The first covered cell after `index` in reading order, round the board; -1 for none.
    int nextCovered(int index) const;
    void buildCells();
    void buildLines();
    CellPicture* picture(int index) const { return pictures_[static_cast<std::size_t>(index)]; }
    /// Writes `text` as the description of `cell`, which a screen reader speaks at once when
    /// that cell has the focus; what an earlier move wrote elsewhere is no longer news.
    void describe(QWidget* cell, const QString& text);
    /// Makes `news` the beginning of cell `cell`'s name (-1: of none).
    void setNews(int cell, const QString& news);
    /// The covered cell nearest after `index` in reading order, else the nearest before; -1.
    int nearestCovered(int index) const;

    PictureSet pictureSet_;
    std::array<CoverButton*, kCells> covers_{};
    std::array<CellPicture*, kCells> pictures_{};
    // What each cell shows and whether it is covered, as last set: a cover's own visibility
    // says nothing until the window is first shown.
    std::array<Picture, kCells> shown_{};
    std::array<bool, kCells> covered_{};
    // The cell whose lifted cover had the focus during the move in progress, or -1.
    int focusTakenFrom_ = -1;
    // The cell that tells what the last move did.
    QPointer<QWidget> described_;
    // The cell that the last move brought the focus to, and what that move did: told before
    // the cell's name until the focus leaves it.
    int newsCell_ = -1;
    QString news_;
    Announcer* announcer_ = nullptr;
};

} // namespace volcanelle
