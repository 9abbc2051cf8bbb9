// SPDX-License-Identifier: GPL-3.0-or-later
// The page: one side of a room on the duel server that served it. The start offers to create
// a room or join one by its code (a link ending in #XXXX-XXXX joins at once); then the page
// shows what the server tells this side and sends what its player does, as the desktop
// program does. The rules are the server's: the page only shows.
import * as texts from './texts.js';
import * as dialogs from './dialogs.js';
import { Board } from './board.js';
import { Link } from './link.js';
import { readRoomCode, roomCodeText } from './roomcode.js';
import { Action, Slot } from './wire.js';

const $ = (id) => document.getElementById(id);
const kComebackMs = 60000;
const kRetryMs = 1500;

const duel = {
    link: null, side: 0, token: null, room: 0, turn: 0, won: [0, 0],
    away: false, awaySince: 0, opponentAway: false, ended: true,
    status: '', statusBehind: '', move: null,
};
let board = null;
// Messages and commands, one after the other: a box holds up what comes after it.
let chain = Promise.resolve();
const inTurn = (job) => {
    chain = chain.then(job).catch((error) => console.error(error));
    return chain;
};

function setState(name) {
    document.body.dataset.etat = name;
}

function showStatus(text) {
    if (duel.away || duel.opponentAway) duel.statusBehind = text;
    else $('etat').textContent = text;
    duel.status = text;
}

function showHome(message = '') {
    $('jeu').hidden = true;
    $('accueil').hidden = false;
    $('accueil-message').textContent = message;
    document.title = texts.gameTitle;
    if (window.location.hash) history.replaceState(null, '', window.location.pathname);
    setState('accueil');
}

function resetWindow() {
    for (let i = 0; i < 225; ++i) board.show(i, 0);
    for (const player of [1, 2]) {
        $(`lblScore${player}`).textContent = texts.firstScore;
        $(`lblPartie${player}`).textContent = texts.firstRoundsWon;
    }
    $('lblMain').textContent = '';
    $('etat').textContent = '';
    $('annonce').textContent = '';
    Object.assign(duel, { turn: 0, won: [0, 0], away: false, opponentAway: false, move: null,
        status: '', statusBehind: '' });
}

// --- Entering a room ---------------------------------------------------------------------

function enter(action, room = 0) {
    resetWindow();
    duel.ended = false;
    duel.token = null;
    $('jeu').hidden = true;
    $('accueil').hidden = false;
    $('accueil-message').textContent = texts.connecting;
    setState('connexion');
    duel.link = new Link({ type: 'Enter', action, room }, (m) => inTurn(() => take(m)), lost);
}

function entered(message) {
    const first = duel.token === null;
    Object.assign(duel, { side: message.side, token: message.token, room: message.room });
    if (!first) {
        comeBack();
        return;
    }
    const code = roomCodeText(message.room);
    document.title = texts.roomTitle(code);
    $('demin-titre').textContent = texts.roomTitle(code);
    $('cote').textContent = texts.youAre(message.side);
    $('frameJoueur0').classList.toggle('moi', message.side === 1);
    $('frameJoueur1').classList.toggle('moi', message.side === 2);
    history.replaceState(null, '', `#${code}`);
    const sharing = message.side === 1;
    $('partage').hidden = !sharing;
    $('lien').value = `${window.location.origin}/#${code}`;
    $('copie-message').textContent = '';
    $('accueil').hidden = true;
    $('jeu').hidden = false;
    if (sharing) showStatus(texts.waitingForOpponent);
    board.moveTo(0, !sharing);
    if (sharing) $('lien').focus();
    setState('salle');
    // When the page became ready to play, for whoever measures it.
    performance.mark('volcanelle-salle');
}

async function refused(message) {
    const why = texts.refusals[message.reason] ?? texts.unreachable;
    duel.link?.close();
    if (duel.token === null) {
        duel.ended = true;
        showHome();
        await dialogs.announce(why, texts.onlineTitle);
        return;
    }
    // The room is gone while this side was away.
    await endLost(texts.connectionLost);
}

// --- What the server shows ------------------------------------------------------------------

async function take(message) {
    if (duel.ended && message.type !== 'Entered') return;
    if (['Cell', 'Caption', 'AskCount', 'CountBeingChosen', 'Announce'].includes(message.type))
        opponentCame();
    switch (message.type) {
    case 'Entered': return entered(message);
    case 'Refused': return refused(message);
    case 'Cell': return cell(message);
    case 'Caption': return caption(message);
    case 'Announce': return dialogs.announce(message.text, message.title);
    case 'AskCount': return chooseCount();
    case 'CountBeingChosen': return showStatus(texts.countBeingChosen);
    case 'Snapshot': return snapshot(message);
    case 'Opponent': return opponent(message.present);
    case 'Bye': return bye();
    default: return undefined; // nothing else means anything from the server in play
    }
}

// The duel began: the link has been used, and nobody is waited for any more.
function opponentCame() {
    if ($('partage').hidden) return;
    $('partage').hidden = true;
    if (duel.status === texts.waitingForOpponent) showStatus('');
}

function cell({ index, covered, picture }) {
    const lifted = board.isCovered(index) && !covered;
    board.show(index, covered ? 0 : picture);
    if (!lifted) return;
    // The rest of the move comes in the same breath: tell it once it is all in.
    if (!duel.move) {
        duel.move = { index, opened: 0 };
        setTimeout(finishMove, 60);
    }
    ++duel.move.opened;
}

function finishMove() {
    const move = duel.move;
    duel.move = null;
    if (!move || duel.ended) return;
    $('annonce').textContent = texts.moveDescription(move.index, board.pictures[move.index],
        move.opened, $('lblMain').textContent);
}

function caption({ slot, value, text }) {
    if (slot === Slot.Turn) {
        duel.turn = value;
        $('lblMain').textContent = text;
    } else if (slot === Slot.Score1 || slot === Slot.Score2) {
        $(`lblScore${slot}`).textContent = text;
    } else if (slot === Slot.Won1 || slot === Slot.Won2) {
        const player = slot === Slot.Won1 ? 1 : 2;
        duel.won[player - 1] = value;
        $(`lblPartie${player}`).textContent = text;
    } else {
        showStatus(text);
    }
}

function snapshot(state) {
    state.cells.forEach((picture, index) => board.show(index, picture));
    // A caption never written stays as it is.
    if (state.turn !== 0) caption({ slot: Slot.Turn, value: state.turn, text: state.turnText });
    for (const player of [1, 2]) {
        if (state.score[player - 1])
            $(`lblScore${player}`).textContent = state.score[player - 1];
        if (state.wonText[player - 1]) {
            duel.won[player - 1] = state.won[player - 1];
            $(`lblPartie${player}`).textContent = state.wonText[player - 1];
        }
    }
    if (state.countBeingChosen) showStatus(texts.countBeingChosen);
    else if (state.minesLeft) showStatus(state.minesLeft);
}

function opponent(present) {
    if (present === duel.opponentAway) {
        duel.opponentAway = !present;
        if (!present) {
            duel.statusBehind = duel.status;
            $('etat').textContent = texts.opponentAway;
        } else if (!duel.away) {
            $('etat').textContent = duel.statusBehind;
        }
    }
}

function bye() {
    duel.ended = true;
    duel.link?.close();
    showHome(texts.duelOver);
}

async function chooseCount() {
    for (;;) {
        const typed = await dialogs.askText(texts.mineCountPrompt, texts.mineCountTitle,
            texts.mineEntryMaxLength);
        if (duel.ended) return;
        if (typed !== null) {
            // Blanks around the digits mean nothing to the count.
            duel.link.send({ type: 'Count', given: true, text: typed.replace(/^ +| +$/g, '') });
            return;
        }
        // Cancelled: as at one desk, the player may leave, or is asked the count again.
        if (await confirmQuit()) return;
    }
}

// --- What the player does -------------------------------------------------------------------

function cellClicked(index) {
    if (duel.ended || duel.away || dialogs.isOpen() || duel.turn !== duel.side ||
        !board.isCovered(index))
        return;
    duel.link.send({ type: 'Click', index });
}

async function confirmQuit() {
    const question = texts.askQuit;
    if (!(await dialogs.confirm(question.text, question.title)) || duel.ended) return false;
    duel.link.send({ type: 'Quit' });
    duel.ended = true;
    duel.link.close();
    await sayVerdict();
    showHome(texts.duelOver);
    return true;
}

async function newRoundChosen() {
    if (duel.ended || duel.away) return;
    const question = texts.askNewRound;
    if (await dialogs.confirm(question.text, question.title) && !duel.ended)
        duel.link.send({ type: 'NewRound' });
}

function sayVerdict() {
    const verdict = texts.duelVerdict(duel.won[0], duel.won[1]);
    return dialogs.announce(verdict.text, verdict.title);
}

// --- A connection lost, and found again -----------------------------------------------------

function lost(why) {
    if (duel.ended) return;
    inTurn(async () => {
        if (duel.ended) return;
        if (duel.token === null) {
            duel.ended = true;
            showHome();
            await dialogs.announce(why === 'garbled' ? texts.garbled : texts.unreachable,
                texts.onlineTitle);
        } else if (why === 'garbled') {
            await endLost(texts.garbled);
        } else {
            goAway();
        }
    });
}

function goAway() {
    if (!duel.away) {
        duel.away = true;
        duel.awaySince = Date.now();
        duel.statusBehind = duel.opponentAway ? duel.statusBehind : duel.status;
        $('etat').textContent = texts.connectionInterrupted;
    }
    if (Date.now() - duel.awaySince >= kComebackMs) {
        endLost(texts.connectionLost);
        return;
    }
    setTimeout(() => {
        if (duel.ended) return;
        duel.link = new Link({ type: 'Enter', action: Action.Resume, room: duel.room,
            token: duel.token }, (m) => inTurn(() => take(m)), lost);
    }, kRetryMs);
}

function comeBack() {
    duel.away = false;
    duel.opponentAway = false;
    // The server's snapshot comes next and writes the status bar over again.
    $('etat').textContent = duel.statusBehind;
}

async function endLost(text) {
    duel.ended = true;
    duel.link?.close();
    await dialogs.announce(text, texts.onlineTitle);
    await sayVerdict();
    showHome(texts.duelOver);
}

// --- Start ----------------------------------------------------------------------------------

function fillTexts() {
    $('accueil-titre').textContent = texts.gameTitle;
    $('accueil-intro').textContent = texts.intro;
    $('creer').textContent = texts.createRoom;
    $('rejoindre-titre').textContent = texts.joinRoom;
    $('code-etiquette').textContent = texts.codeLabel;
    $('rejoindre').textContent = texts.joinButton;
    $('lien-etiquette').textContent = texts.shareLabel;
    $('copier').textContent = texts.copyLink;
    for (const player of [1, 2]) $(`nomJoueur${player}`).textContent = texts.playerFrame(player);
    $('cmdNouvellePartie').textContent = texts.newRound;
    $('Command2').textContent = texts.about;
    $('Command1').textContent = texts.quit;
    $('StatusBar1').setAttribute('aria-label', texts.statusName);
    dialogs.setUpAbout();
}

function joinTyped() {
    const code = readRoomCode($('code').value);
    if (code === null) {
        $('accueil-message').textContent = texts.badCode;
        $('code').focus();
        return;
    }
    enter(Action.Join, code);
}

async function copyLink() {
    const link = $('lien');
    link.select();
    try {
        await navigator.clipboard.writeText(link.value);
        $('copie-message').textContent = texts.linkCopied;
    } catch {
        $('copie-message').textContent = texts.linkNotCopied;
    }
}

function start() {
    fillTexts();
    board = new Board($('plateau'), cellClicked);
    dialogs.setFocusFallback(() => (duel.ended ? null : board.currentButton()));
    $('creer').addEventListener('click', () => enter(Action.Open));
    $('rejoindre').addEventListener('click', joinTyped);
    $('code').addEventListener('keydown', (event) => {
        if (event.key === 'Enter') joinTyped();
    });
    $('copier').addEventListener('click', copyLink);
    $('cmdNouvellePartie').addEventListener('click', () => inTurn(newRoundChosen));
    $('Command2').addEventListener('click', dialogs.showAbout);
    $('Command1').addEventListener('click', () => inTurn(async () => {
        if (!duel.ended) await confirmQuit();
    }));
    // Ctrl+N is the window's one shortcut, as on the desktop.
    document.addEventListener('keydown', (event) => {
        if (event.ctrlKey && !event.altKey && event.key.toLowerCase() === 'n' && !$('jeu').hidden) {
            event.preventDefault();
            inTurn(newRoundChosen);
        }
    });
    const hash = decodeURIComponent(window.location.hash.slice(1));
    const code = hash ? readRoomCode(hash) : null;
    if (code !== null) {
        enter(Action.Join, code);
        return;
    }
    showHome(hash ? texts.badCode : '');
}

start();
