// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "engine/grid.h"
#include "engine/picture.h"
#include "window/pictureset.h"

#include <QPointer>
#include <QWidget>
#include <array>

class QLabel;

namespace volcanelle {

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
    /// the keyboard focus takes the focus away until finishMove() places it.
    void setCovered(int index, bool covered);
    /// Ends a player's move: the focus, if the move took it, goes once to the next covered
    /// cell, or past the board when none is left, and that cell's accessible description
    /// becomes `description` (what the move uncovered and whose turn it is now). When the
    /// move left the focus on a covered cell, that cell gets the description.
    void finishMove(const QString& description);
    /// Puts `picture` under the cover of cell `index` (0 <= index < 225).
    void setPicture(int index, Picture picture);
    /// Gives the keyboard focus to the first covered cell after `index` in reading order,
    /// wrapping round the board; false, focus untouched, when no cell is left covered.
    bool focusNextCover(int index);

    /// The cover of cell `index`, to chain the window's tab order after the board's.
    CoverButton* cover(int index) const { return covers_[static_cast<std::size_t>(index)]; }
    /// The cell whose cover is `object`, or -1.
    int cellOf(const QObject* object) const;
    /// Whether cell `index` (0 <= index < 225) is covered, and what lies under it.
    bool isCovered(int index) const { return covered_[static_cast<std::size_t>(index)]; }
    Picture shownAt(int index) const { return shown_[static_cast<std::size_t>(index)]; }

signals:
    /// The players clicked the cover of cell `index`.
    void clicked(int index);

protected:
    /// Arrow keys, Home and End on a cover move the focus across the board.
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    /// Where `key` takes the focus from cell `index`: an arrow to the nearest covered cell in
    /// its direction, Home and End to the first and last covered cells; -1 to stay, at the
    /// board's edge or with nothing covered beyond.
    int cellForKey(int index, int key) const;
    /// The first covered cell after `index` in reading order, round the board; -1 for none.
    int nextCovered(int index) const;
    void buildCells();
    void buildLines();
    QLabel* picture(int index) const { return pictures_[static_cast<std::size_t>(index)]; }

    PictureSet pictureSet_;
    std::array<CoverButton*, kCells> covers_{};
    std::array<QLabel*, kCells> pictures_{};
    // What each cell shows and whether it is covered, as last set: a cover's own visibility
    // says nothing until the window is first shown.
    std::array<Picture, kCells> shown_{};
    std::array<bool, kCells> covered_{};
    // The cell whose lifted cover had the focus during the move in progress, or -1.
    int focusTakenFrom_ = -1;
    // The cover that tells what the last move did.
    QPointer<QWidget> described_;
};

} // namespace volcanelle
