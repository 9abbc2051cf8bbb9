// SPDX-License-Identifier: GPL-3.0-or-later
#include "window/boardwidget.h"

#include "ui/controls.h"
#include "ui/twips.h"
#include "window/accessiblenames.h"
#include "window/announcer.h"
#include "window/boardaccessible.h"
#include "window/cellpicture.h"
#include "window/coverbutton.h"
#include "window/gridline.h"

#include <QAccessible>
#include <QKeyEvent>
#include <QLabel>
#include <algorithm>
#include <utility>

namespace volcanelle {

namespace {

// In the window's client area: cell 0 at (2520, 360), one cell every 360 twips, each 375
// twips square, so neighbouring cells overlap by one pixel.
constexpr int kBoardLeft = 2520;
constexpr int kBoardTop = 360;
constexpr int kPitch = 360;
constexpr int kCellSize = 375;
constexpr int kBoardRight = kBoardLeft + kPitch * kColumns;
constexpr int kBoardBottom = kBoardTop + kPitch * kRows;
// The frame lines are 3 pixels thick, centred on the board's edges: one pixel sticks out.
constexpr int kFrameWidth = 3;
constexpr int kFrameOutside = kFrameWidth / 2;

// An inactive window border in the classic desktop scheme.
const QColor kGridColour(212, 208, 200);

// Where a point of the window's client area, in twips, lies in the board widget, in pixels.
QPoint onBoard(int x, int y)
{
    return {twips(x) - twips(kBoardLeft) + kFrameOutside,
            twips(y) - twips(kBoardTop) + kFrameOutside};
}

// A straight line of the board's frame or grid: a filled strip `width` pixels thick, centred
// on the line from (x1, y1) to (x2, y2) given in twips of the client area. It takes no input.
void addLine(QWidget* board, const QString& name, int x1, int y1, int x2, int y2, int width,
             const QColor& colour)
{
    auto* line = new GridLine(colour, board);
    line->setObjectName(name);
    const int half = width / 2;
    const QPoint from = onBoard(x1, y1) - QPoint(half, half);
    const QPoint to = onBoard(x2, y2) + QPoint(width - 1 - half, width - 1 - half);
    line->setGeometry(QRect(from, to));
}

} // namespace

BoardWidget::BoardWidget(QWidget* parent) : QWidget(parent)
{
    // Assistive technology sees the board as one table of cells.
    static const bool tableForAssistiveTechnology =
        (QAccessible::installFactory(&boardAccessible), true);
    Q_UNUSED(tableForAssistiveTechnology);
    setObjectName(QStringLiteral("board"));
    const QPoint topLeft(twips(kBoardLeft) - kFrameOutside, twips(kBoardTop) - kFrameOutside);
    const QPoint bottomRight =
        topLeft + onBoard(kBoardRight, kBoardBottom) +
        QPoint(kFrameWidth - 1 - kFrameOutside, kFrameWidth - 1 - kFrameOutside);
    setGeometry(QRect(topLeft, bottomRight));
    shown_.fill(Picture::None);
    covered_.fill(true);
    buildCells();
    buildLines();
    announcer_ = new Announcer(this);
}

void BoardWidget::buildCells()
{
    // Pictures first and covers after, so that every cover lies above every picture; later
    // covers lie above earlier ones where neighbours overlap.
    for (int index = 0; index < kCells; ++index) {
        auto* label = new CellPicture(this);
        label->setObjectName(arrayName("imgCase", index));
        label->setGeometry(
            QRect(onBoard(kBoardLeft + kPitch * columnOf(index), kBoardTop + kPitch * rowOf(index)),
                  QSize(twips(kCellSize), twips(kCellSize))));
        label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
        label->setAccessibleName(accessible::pictureName(index, Picture::None, true));
        // Under its cover until the cover is lifted: see setCovered().
        label->setUpdatesEnabled(false);
        label->installEventFilter(this);
        pictures_[static_cast<std::size_t>(index)] = label;
    }
    for (int index = 0; index < kCells; ++index) {
        auto* button = new CoverButton(this);
        button->setObjectName(arrayName("cmdCase", index));
        button->setGeometry(picture(index)->geometry());
        button->setAccessibleName(accessible::cellName(index));
        pressOnEnter(button);
        button->installEventFilter(this);
        connect(button, &QAbstractButton::clicked, this, [this, index] { emit clicked(index); });
        covers_[static_cast<std::size_t>(index)] = button;
    }
    for (int index = 1; index < kCells; ++index)
        QWidget::setTabOrder(cover(index - 1), cover(index));
}

void BoardWidget::buildLines()
{
    for (int row = 1; row < kRows; ++row) {
        const int y = kBoardTop + kPitch * row;
        addLine(this, arrayName("Line1", row - 1), kBoardLeft, y, kBoardRight, y, 1, kGridColour);
    }
    for (int column = 1; column < kColumns; ++column) {
        const int x = kBoardLeft + kPitch * column;
        addLine(this, arrayName("Line5", column - 1), x, kBoardTop, x, kBoardBottom, 1,
                kGridColour);
    }
    const QColor black(0, 0, 0);
    addLine(this, arrayName("Line2", 0), kBoardLeft, kBoardTop, kBoardRight, kBoardTop, kFrameWidth,
            black);
    addLine(this, arrayName("Line2", 1), kBoardLeft, kBoardBottom, kBoardRight, kBoardBottom,
            kFrameWidth, black);
    addLine(this, arrayName("Line2", 2), kBoardLeft, kBoardTop, kBoardLeft, kBoardBottom,
            kFrameWidth, black);
    addLine(this, arrayName("Line2", 3), kBoardRight, kBoardTop, kBoardRight, kBoardBottom,
            kFrameWidth, black);
}

void BoardWidget::setCovered(int index, bool covered)
{
    covered_[static_cast<std::size_t>(index)] = covered;
    CoverButton* button = cover(index);
    CellPicture* label = picture(index);
    // Left alone, Qt hands the focus of a hidden widget to the next one in the tab chain, and
    // a blank area would then pull it through one cell after another as it opens, each move
    // of the focus spoken by a screen reader. Hold it until the move is over. The window's
    // focus counts even while another window is active: a move made from the other side of
    // a network duel must not leave the focus on a lifted cover.
    if (!covered && window()->focusWidget() == button) {
        focusTakenFrom_ = index;
        button->clearFocus();
    }
    const bool pictureHadFocus = covered && label->hasFocus();
    button->setVisible(covered);
    if (pictureHadFocus)
        button->setFocus(Qt::OtherFocusReason);
    // A new round: what the last one's moves said is no longer news.
    if (covered) {
        describe(nullptr, QString());
        setNews(-1, QString());
    }
    // A picture under its opaque cover cannot be seen, so it is not repainted while covered:
    // a round setup then changes up to 225 pictures without queueing 225 repaints that Qt
    // would each clip against every widget above. Lifting the cover repaints that area anyway.
    label->setUpdatesEnabled(!covered);
    label->setAccessibleName(
        accessible::pictureName(index, shown_[static_cast<std::size_t>(index)], covered));
}

void BoardWidget::setPicture(int index, Picture picture)
{
    shown_[static_cast<std::size_t>(index)] = picture;
    CellPicture* label = this->picture(index);
    label->setPixmap(pictureSet_.pixmap(picture));
    label->setAccessibleName(
        accessible::pictureName(index, picture, covered_[static_cast<std::size_t>(index)]));
}

int BoardWidget::cellOf(const QObject* object) const
{
    if (const auto found = std::find(covers_.begin(), covers_.end(), object);
        found != covers_.end())
        return static_cast<int>(found - covers_.begin());
    const auto found = std::find(pictures_.begin(), pictures_.end(), object);
    return found == pictures_.end() ? -1 : static_cast<int>(found - pictures_.begin());
}

QWidget* BoardWidget::cellWidget(int index) const
{
    return isCovered(index) ? static_cast<QWidget*>(cover(index)) : picture(index);
}

void BoardWidget::focusCell(int index)
{
    cellWidget(index)->setFocus(Qt::OtherFocusReason);
}

int BoardWidget::nextCovered(int index) const
{
    for (int step = 1; step < kCells; ++step) {
        const int next = (index + step) % kCells;
        if (covered_[static_cast<std::size_t>(next)])
            return next;
    }
    return -1;
}

bool BoardWidget::focusNextCover(int index)
{
    const int next = nextCovered(index);
    if (next >= 0)
        cover(next)->setFocus(Qt::TabFocusReason);
    return next >= 0;
}

void BoardWidget::finishMove(const QString& description)
{
    if (focusTakenFrom_ < 0) {
        // Someone else's move, or one made away from the focus: said without moving the
        // focus, and without taking back what the player's own last move still has to say.
        // The focused cell keeps it too, for whoever asks that cell; the window's focus counts
        // even while another window is active.
        if (description.isEmpty())
            return;
        if (const int focused = cellOf(window()->focusWidget()); focused >= 0)
            describe(cellWidget(focused), description);
        announce(description);
        return;
    }
    setNews(-1, QString());
    const int from = std::exchange(focusTakenFrom_, -1);
    const int cell = nearestCovered(from);
    QWidget* next = cell >= 0 ? cover(cell) : nullptr;
    // With no cell left covered, the focus goes on to what follows the board.
    for (QWidget* after = cover(kCells - 1)->nextInFocusChain(); !next && after != cover(0);
         after = after->nextInFocusChain())
        if ((after->focusPolicy() & Qt::TabFocus) && after->isVisibleTo(window()) &&
            !isAncestorOf(after))
            next = after;
    if (!next)
        return;
    // Told before the focus arrives, so that it is read out first, with the cell's name.
    if (cell >= 0 && !description.isEmpty())
        setNews(cell, description);
    describe(next, description);
    next->setFocus(Qt::OtherFocusReason);
}

void BoardWidget::setNews(int cell, const QString& news)
{
    const int before = std::exchange(newsCell_, cell);
    news_ = news;
    // Screen readers keep the names they were told: tell them both names changed.
    for (const int changed : {before, cell}) {
        if (changed < 0)
            continue;
        QAccessibleEvent event(cellWidget(changed), QAccessible::NameChanged);
        QAccessible::updateAccessibility(&event);
    }
}

void BoardWidget::announce(const QString& text)
{
    announcer_->announce(text);
}

QString BoardWidget::spokenName(int index) const
{
    const QString name =
        accessible::pictureName(index, shown_[static_cast<std::size_t>(index)], isCovered(index));
    return index == newsCell_ ? news_ + QLatin1Char(' ') + name : name;
}

int BoardWidget::nearestCovered(int index) const
{
    for (int cell = index + 1; cell < kCells; ++cell)
        if (isCovered(cell))
            return cell;
    for (int cell = index - 1; cell >= 0; --cell)
        if (isCovered(cell))
            return cell;
    return -1;
}

void BoardWidget::describe(QWidget* cell, const QString& text)
{
    if (described_ && described_ != cell)
        described_->setAccessibleDescription(QString());
    described_ = cell;
    if (cell)
        cell->setAccessibleDescription(text);
}

bool BoardWidget::eventFilter(QObject* watched, QEvent* event)
{
    // The news is said once, as the focus arrives: read again later, the cell is itself.
    if (event->type() == QEvent::FocusOut) {
        if (newsCell_ >= 0 && cellOf(watched) == newsCell_)
            setNews(-1, QString());
        if (watched == described_)
            describe(nullptr, QString());
    }
    if (event->type() != QEvent::KeyPress)
        return false;
    const auto* key = static_cast<QKeyEvent*>(event);
    const Qt::KeyboardModifiers modifiers = key->modifiers() & ~Qt::KeypadModifier;
    const int index = cellOf(watched);
    if (index < 0 || (modifiers != Qt::NoModifier && modifiers != Qt::ControlModifier))
        return false;
    switch (key->key()) {
    case Qt::Key_Up:
    case Qt::Key_Down:
    case Qt::Key_Left:
    case Qt::Key_Right:
        break;
    case Qt::Key_Home:
    case Qt::Key_End:
        if (modifiers != Qt::NoModifier)
            return false;
        break;
    case Qt::Key_S:
        if (modifiers != Qt::NoModifier)
            return false;
        emit summaryAsked();
        return true;
    default:
        return false;
    }
    const int target = cellForKey(index, key->key(), modifiers == Qt::ControlModifier);
    if (target >= 0)
        focusCell(target);
    // Taken even when the focus stays: left to the button, an arrow would walk the tab chain.
    return true;
}

int BoardWidget::cellForKey(int index, int key, bool toCovered) const
{
    const auto covered = [this](int cell) { return covered_[static_cast<std::size_t>(cell)]; };
    int rowStep = 0;
    int columnStep = 0;
    switch (key) {
    case Qt::Key_Home:
        for (int cell = 0; cell < kCells; ++cell)
            if (covered(cell))
                return cell;
        return -1;
    case Qt::Key_End:
        for (int cell = kCells - 1; cell >= 0; --cell)
            if (covered(cell))
                return cell;
        return -1;
    case Qt::Key_Up:
        rowStep = -1;
        break;
    case Qt::Key_Down:
        rowStep = 1;
        break;
    case Qt::Key_Left:
        columnStep = -1;
        break;
    default:
        columnStep = 1;
    }
    // The board's edges are not crossed; with `toCovered`, uncovered cells are passed over.
    int row = rowOf(index) + rowStep;
    int column = columnOf(index) + columnStep;
    for (; row >= 0 && row < kRows && column >= 0 && column < kColumns;
         row += rowStep, column += columnStep)
        if (!toCovered || covered(indexOf(row, column)))
            return indexOf(row, column);
    return -1;
}

} // namespace volcanelle
