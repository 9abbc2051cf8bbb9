// SPDX-License-Identifier: GPL-3.0-or-later
#include "window/boardaccessible.h"

#include "window/accessiblenames.h"
#include "window/boardwidget.h"
#include "window/cellpicture.h"
#include "window/coverbutton.h"

#include <QAccessibleWidget>

namespace volcanelle {

namespace {

BoardWidget* boardOf(QWidget* cell)
{
    return qobject_cast<BoardWidget*>(cell->parentWidget());
}

// The board as a table; its children are the cells, in reading order.
class BoardTable : public QAccessibleWidget, public QAccessibleTableInterface {
public:
    explicit BoardTable(BoardWidget* board) : QAccessibleWidget(board, QAccessible::Table) {}

    BoardWidget* board() const { return static_cast<BoardWidget*>(widget()); }

    void* interface_cast(QAccessible::InterfaceType type) override
    {
        if (type == QAccessible::TableInterface)
            return static_cast<QAccessibleTableInterface*>(this);
        return QAccessibleWidget::interface_cast(type);
    }

    QString text(QAccessible::Text t) const override
    {
        return t == QAccessible::Name ? QStringLiteral("Plateau") : QAccessibleWidget::text(t);
    }

    int childCount() const override { return kCells; }
    QAccessibleInterface* child(int index) const override
    {
        if (!isCell(index))
            return nullptr;
        return QAccessible::queryAccessibleInterface(board()->cellWidget(index));
    }
    int indexOfChild(const QAccessibleInterface* child) const override
    {
        return child ? board()->cellOf(child->object()) : -1;
    }
    QAccessibleInterface* childAt(int x, int y) const override
    {
        for (int index = 0; index < kCells; ++index)
            if (QAccessibleInterface* cell = child(index); cell && cell->rect().contains(x, y))
                return cell;
        return nullptr;
    }

    // QAccessibleTableInterface
    QAccessibleInterface* caption() const override { return nullptr; }
    QAccessibleInterface* summary() const override { return nullptr; }
    QAccessibleInterface* cellAt(int row, int column) const override
    {
        if (row < 0 || row >= kRows || column < 0 || column >= kColumns)
            return nullptr;
        return child(indexOf(row, column));
    }
    int selectedCellCount() const override { return 0; }
    QList<QAccessibleInterface*> selectedCells() const override { return {}; }
    QString columnDescription(int column) const override
    {
        return QStringLiteral("Colonne %1").arg(column + 1);
    }
    QString rowDescription(int row) const override
    {
        return QStringLiteral("Ligne %1").arg(row + 1);
    }
    int selectedColumnCount() const override { return 0; }
    int selectedRowCount() const override { return 0; }
    int columnCount() const override { return kColumns; }
    int rowCount() const override { return kRows; }
    QList<int> selectedColumns() const override { return {}; }
    QList<int> selectedRows() const override { return {}; }
    bool isColumnSelected(int) const override { return false; }
    bool isRowSelected(int) const override { return false; }
    bool selectRow(int) override { return false; }
    bool selectColumn(int) override { return false; }
    bool unselectRow(int) override { return false; }
    bool unselectColumn(int) override { return false; }
    void modelChange(QAccessibleTableModelChangeEvent*) override {}
};

// A cell of the board: while covered its cover, a button that a press uncovers; then its
// picture, which tells what it shows and can still take the focus, so that the numbers around
// a covered cell can be read. Buttons and text rather than table cells: a screen reader would
// read a table cell's whole row whenever the focus changes rows.
class BoardCell : public QAccessibleWidget, public QAccessibleTableCellInterface {
public:
    explicit BoardCell(QWidget* cell)
        : QAccessibleWidget(cell, qobject_cast<CoverButton*>(cell) ? QAccessible::Button
                                                                   : QAccessible::StaticText)
    {
    }

    BoardWidget* board() const { return boardOf(widget()); }
    int index() const { return board() ? board()->cellOf(widget()) : -1; }
    bool covered() const { return board() && board()->isCovered(index()); }
    bool isCover() const { return qobject_cast<CoverButton*>(widget()) != nullptr; }

    void* interface_cast(QAccessible::InterfaceType type) override
    {
        if (type == QAccessible::TableCellInterface)
            return static_cast<QAccessibleTableCellInterface*>(this);
        return QAccessibleWidget::interface_cast(type);
    }

    bool isValid() const override { return QAccessibleWidget::isValid() && index() >= 0; }

    QString text(QAccessible::Text t) const override
    {
        if (t != QAccessible::Name || !isValid())
            return QAccessibleWidget::text(t);
        return board()->spokenName(index());
    }

    QAccessible::State state() const override
    {
        QAccessible::State s = QAccessibleWidget::state();
        // Every cell is on the board and can be read; only a covered one can be pressed.
        s.invisible = !board()->isVisible();
        s.focusable = true;
        s.focused = widget()->hasFocus();
        s.disabled = false;
        return s;
    }

    QRect rect() const override
    {
        // The cell's place, also while its widget is hidden.
        return QRect(widget()->mapToGlobal(QPoint(0, 0)), widget()->size());
    }

    QStringList actionNames() const override
    {
        return covered() && isCover() ? QStringList{pressAction(), setFocusAction()}
                                      : QStringList{setFocusAction()};
    }
    void doAction(const QString& action) override
    {
        if (action == pressAction() && covered() && isCover())
            static_cast<CoverButton*>(widget())->click();
        else if (action == setFocusAction() && isValid())
            board()->focusCell(index());
    }

    // QAccessibleTableCellInterface
    bool isSelected() const override { return false; }
    QList<QAccessibleInterface*> columnHeaderCells() const override { return {}; }
    QList<QAccessibleInterface*> rowHeaderCells() const override { return {}; }
    int columnIndex() const override { return columnOf(index()); }
    int rowIndex() const override { return rowOf(index()); }
    int columnExtent() const override { return 1; }
    int rowExtent() const override { return 1; }
    QAccessibleInterface* table() const override { return parent(); }
};

} // namespace

QAccessibleInterface* boardAccessible(const QString&, QObject* object)
{
    // Asked for the object's own class first: the board and its cells by their types.
    if (auto* board = qobject_cast<BoardWidget*>(object))
        return new BoardTable(board);
    if (qobject_cast<CoverButton*>(object) || qobject_cast<CellPicture*>(object)) {
        auto* cell = static_cast<QWidget*>(object);
        if (boardOf(cell))
            return new BoardCell(cell);
    }
    return nullptr;
}

} // namespace volcanelle
