// SPDX-License-Identifier: GPL-3.0-or-later
// What the server shows this side, on the page's window: the cells, the captions (turn,
// points, rounds won), the status bar, and the last move told to assistive technology. The
// status bar says it while this side or the other is away, and gets its text back after.
import * as texts from './texts.js';
import { Slot } from './wire.js';

const $ = (id) => document.getElementById(id);

export class Screen {
    constructor(board) {
        this.board = board;
        this.reset();
    }

    /// The window as it opens: all covered, captions as laid out, nothing said.
    reset() {
        for (let i = 0; i < this.board.pictures.length; ++i) this.board.show(i, 0);
        for (const player of [1, 2]) {
            $(`lblScore${player}`).textContent = texts.firstScore;
            $(`lblPartie${player}`).textContent = texts.firstRoundsWon;
        }
        for (const id of ['lblMain', 'etat', 'annonce']) $(id).textContent = '';
        Object.assign(this, { turn: 0, won: [0, 0], away: false, opponentAway: false,
            move: null, status_: '', statusBehind: '', quiet: false });
    }

    status(text) {
        if (this.away || this.opponentAway) this.statusBehind = text;
        else $('etat').textContent = text;
        this.status_ = text;
    }

    /// This side lost its connection (true) or is back (false).
    setAway(away) {
        if (away === this.away) return;
        if (away && !this.opponentAway) this.statusBehind = this.status_;
        this.away = away;
        if (away) {
            $('etat').textContent = texts.connectionInterrupted;
        } else {
            // The snapshot that follows a comeback writes the status bar over again.
            this.opponentAway = false;
            $('etat').textContent = this.statusBehind;
        }
    }

    opponent(present) {
        if (present !== this.opponentAway) return;
        this.opponentAway = !present;
        if (!present) {
            if (!this.away) this.statusBehind = this.status_;
            $('etat').textContent = texts.opponentAway;
        } else if (!this.away) {
            $('etat').textContent = this.statusBehind;
        }
    }

    cell({ index, covered, picture }) {
        const lifted = this.board.isCovered(index) && !covered;
        this.board.show(index, covered ? 0 : picture);
        if (!lifted) return;
        // The rest of the move comes in the same breath: tell it once it is all in.
        if (!this.move) {
            this.move = { index, opened: 0 };
            setTimeout(() => this.finishMove(), 60);
        }
        ++this.move.opened;
    }

    finishMove() {
        const move = this.move;
        this.move = null;
        if (!move || this.quiet) return;
        $('annonce').textContent = texts.moveDescription(move.index,
            this.board.pictures[move.index], move.opened, $('lblMain').textContent);
    }

    caption({ slot, value, text }) {
        if (slot === Slot.Turn) {
            this.turn = value;
            $('lblMain').textContent = text;
        } else if (slot === Slot.Score1 || slot === Slot.Score2) {
            $(`lblScore${slot}`).textContent = text;
        } else if (slot === Slot.Won1 || slot === Slot.Won2) {
            const player = slot === Slot.Won1 ? 1 : 2;
            this.won[player - 1] = value;
            $(`lblPartie${player}`).textContent = text;
        } else {
            this.status(text);
        }
    }

    snapshot(state) {
        state.cells.forEach((picture, index) => this.board.show(index, picture));
        // A caption never written stays as it is.
        if (state.turn !== 0)
            this.caption({ slot: Slot.Turn, value: state.turn, text: state.turnText });
        for (const player of [1, 2]) {
            if (state.score[player - 1])
                $(`lblScore${player}`).textContent = state.score[player - 1];
            if (state.wonText[player - 1]) {
                this.won[player - 1] = state.won[player - 1];
                $(`lblPartie${player}`).textContent = state.wonText[player - 1];
            }
        }
        if (state.countBeingChosen) this.status(texts.countBeingChosen);
        else if (state.minesLeft) this.status(state.minesLeft);
    }
}
