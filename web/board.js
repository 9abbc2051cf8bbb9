// SPDX-License-Identifier: GPL-3.0-or-later
// The board of 15 x 15 cells as an ARIA grid: 15 rows of cells, each cell a button named
// « couverte » or what it shows, drawn with the game's own pictures. One cell at a time is in
// the tab order; the arrows move one cell (with Ctrl, to the next covered cell), Home and
// End to the first and last covered cells, never across the board's edges, as in the desktop
// game. Space and Enter uncover, as a click or a tap does.
import * as texts from './texts.js';

export const kRows = 15;
export const kColumns = 15;
export const kCells = kRows * kColumns;

export class Board {
    /// Builds the cells inside `grid`; `onClick(index)` hears every cell pressed.
    constructor(grid, onClick) {
        this.grid = grid;
        this.buttons = [];
        this.pictures = new Array(kCells).fill(0); // 0 while covered
        this.current = 0;
        grid.setAttribute('role', 'grid');
        grid.setAttribute('aria-label', texts.boardName);
        grid.setAttribute('aria-rowcount', String(kRows));
        grid.setAttribute('aria-colcount', String(kColumns));
        for (let row = 0; row < kRows; ++row) {
            const line = document.createElement('div');
            line.setAttribute('role', 'row');
            line.setAttribute('aria-rowindex', String(row + 1));
            for (let column = 0; column < kColumns; ++column) {
                const index = row * kColumns + column;
                const cell = document.createElement('div');
                cell.setAttribute('role', 'gridcell');
                cell.setAttribute('aria-colindex', String(column + 1));
                const button = document.createElement('button');
                button.type = 'button';
                button.className = 'case';
                button.dataset.index = String(index);
                button.tabIndex = index === 0 ? 0 : -1;
                button.setAttribute('aria-label', texts.covered);
                cell.append(button);
                line.append(cell);
                this.buttons.push(button);
            }
            grid.append(line);
        }
        grid.addEventListener('click', (event) => {
            const button = event.target.closest('button.case');
            if (!button) return;
            const index = Number(button.dataset.index);
            this.moveTo(index, false);
            onClick(index);
        });
        grid.addEventListener('keydown', (event) => this.key(event));
    }

    isCovered(index) {
        return this.pictures[index] === 0;
    }

    /// Shows cell `index` covered (picture 0) or uncovered with picture 1 to 10.
    show(index, picture) {
        const button = this.buttons[index];
        this.pictures[index] = picture;
        button.className = picture === 0 ? 'case' : `case p${picture}`;
        button.setAttribute('aria-label', picture === 0 ? texts.covered : texts.pictureWord(picture));
    }

    /// The cell in the tab order, focused when `focus` is true.
    moveTo(index, focus = true) {
        this.buttons[this.current].tabIndex = -1;
        this.current = index;
        this.buttons[index].tabIndex = 0;
        if (focus) this.buttons[index].focus();
    }

    currentButton() {
        return this.buttons[this.current];
    }

    /// The cell a key leads to from `index`, or -1 when it leads nowhere.
    target(index, key, toCovered) {
        if (key === 'Home') return this.pictures.findIndex((p) => p === 0);
        if (key === 'End') return this.pictures.findLastIndex((p) => p === 0);
        const steps = { ArrowUp: [-1, 0], ArrowDown: [1, 0], ArrowLeft: [0, -1], ArrowRight: [0, 1] };
        const [rowStep, columnStep] = steps[key];
        let row = Math.floor(index / kColumns) + rowStep;
        let column = (index % kColumns) + columnStep;
        for (; row >= 0 && row < kRows && column >= 0 && column < kColumns;
            row += rowStep, column += columnStep) {
            const cell = row * kColumns + column;
            if (!toCovered || this.isCovered(cell)) return cell;
        }
        return -1;
    }

    key(event) {
        const button = event.target.closest('button.case');
        if (!button || event.altKey || event.metaKey || event.shiftKey) return;
        const arrows = ['ArrowUp', 'ArrowDown', 'ArrowLeft', 'ArrowRight'];
        const ctrl = event.ctrlKey;
        if (!arrows.includes(event.key) && (ctrl || !['Home', 'End'].includes(event.key))) return;
        // Taken even when the focus stays, so that the page does not scroll instead.
        event.preventDefault();
        const target = this.target(Number(button.dataset.index), event.key, ctrl);
        if (target >= 0) this.moveTo(target);
    }
}
