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
import { copyLink, fillTexts, keepToken, keptToken, setState, showHome } from './home.js';
import { Screen } from './screen.js';
import { Action } from './wire.js';

const $ = (id) => document.getElementById(id);
const kComebackMs = 60000;
const kRetryMs = 1500;

// boxesSeen: the boxes received since the duel began, for a comeback; unknown (null) in a
// page opened again on a side, until the server's snapshot says.
const duel = { link: null, side: 0, token: null, room: 0, entered: false, awaySince: 0,
    ended: true, boxesSeen: null };
let board = null;
let screen = null;
// Messages and commands, one after the other: a box holds up what comes after it.
let chain = Promise.resolve();
const inTurn = (job) => {
    chain = chain.then(job).catch((error) => console.error(error));
    return chain;
};

// --- Entering a room ---------------------------------------------------------------------

function enter(action, room = 0, token = null) {
    screen.reset();
    duel.ended = false;
    duel.entered = false;
    duel.token = null;
    duel.room = room;
    $('jeu').hidden = true;
    $('accueil').hidden = false;
    $('accueil-message').textContent = texts.connecting;
    setState('connexion');
    countAsked = false;
    duel.boxesSeen = action === Action.Resume ? null : 0;
    duel.link = new Link({ type: 'Enter', action, room, token }, deliver, lost);
}

function entered(message) {
    const first = !duel.entered;
    Object.assign(duel, { side: message.side, token: message.token, room: message.room,
        entered: true });
    if (!first) {
        screen.setAway(false);
        return;
    }
    keepToken(message.room, message.token);
    const code = roomCodeText(message.room);
    document.title = texts.roomTitle(code);
    $('demin-titre').textContent = texts.roomTitle(code);
    $('cote').textContent = texts.youAre(message.side);
    $('frameJoueur0').classList.toggle('moi', message.side === 1);
    $('frameJoueur1').classList.toggle('moi', message.side === 2);
    history.replaceState(null, '', `#${code}`);
    // Shown until the duel begins, a page reloaded while the room waited included.
    const sharing = message.side === 1;
    $('partage').hidden = !sharing;
    $('lien').value = `${window.location.origin}/#${code}`;
    $('copie-message').textContent = '';
    $('accueil').hidden = true;
    $('jeu').hidden = false;
    if (sharing) screen.status(texts.waitingForOpponent);
    board.moveTo(0, !sharing);
    if (sharing) $('lien').focus();
    setState('salle');
    // When the page became ready to play, for whoever measures it.
    performance.mark('volcanelle-salle');
}

async function refused(message) {
    const why = texts.refusals[message.reason] ?? texts.unreachable;
    duel.link?.close();
    if (!duel.entered) {
        duel.ended = true;
        keepToken(duel.room, null);
        showHome();
        await dialogs.announce(why, texts.onlineTitle);
        return;
    }
    // The room is gone while this side was away.
    await endLost(texts.connectionLost);
}

// --- What the server shows ------------------------------------------------------------------

// True from a count asked until it is answered: the question asked again after a comeback,
// while its box is open or waiting, is the same question.
let countAsked = false;

function deliver(message) {
    // Counted as they come, whatever waits behind an open box: the count is what reached
    // this page.
    if (message.type === 'Snapshot') duel.boxesSeen = message.boxesSeen;
    else if (message.type === 'Announce' && duel.boxesSeen !== null) duel.boxesSeen += 1;
    if (message.type === 'AskCount') {
        if (countAsked) return;
        countAsked = true;
    }
    inTurn(() => take(message));
}

async function take(message) {
    if (duel.ended && message.type !== 'Entered') return;
    const begun = ['Cell', 'Caption', 'AskCount', 'CountBeingChosen', 'Announce', 'Snapshot'];
    if (begun.includes(message.type))
        opponentCame();
    switch (message.type) {
    case 'Entered': return entered(message);
    case 'Refused': return refused(message);
    case 'Cell': return screen.cell(message);
    case 'Caption': return screen.caption(message);
    case 'Announce': return dialogs.announce(message.text, message.title);
    case 'AskCount': return chooseCount();
    case 'CountBeingChosen': return screen.status(texts.countBeingChosen);
    case 'Snapshot': return screen.snapshot(message);
    case 'Opponent': return screen.opponent(message.present);
    case 'Farewell': return dialogs.announce(message.text, texts.onlineTitle);
    case 'Bye': return bye();
    default: return undefined; // nothing else means anything from the server in play
    }
}

// The duel began: the link has been used, and nobody is waited for any more.
function opponentCame() {
    if ($('partage').hidden) return;
    $('partage').hidden = true;
    if (screen.status_ === texts.waitingForOpponent) screen.status('');
}

function bye() {
    duel.ended = true;
    screen.quiet = true;
    keepToken(duel.room, null);
    duel.link?.close();
    showHome(texts.duelOver);
}

async function chooseCount() {
    try {
        await askCount();
    } finally {
        countAsked = false;
    }
}

async function askCount() {
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
    // While either side is away the duel waits: no move is sent.
    if (duel.ended || screen.away || screen.opponentAway || dialogs.isOpen() ||
        screen.turn !== duel.side || !board.isCovered(index))
        return;
    duel.link.send({ type: 'Click', index });
}

async function confirmQuit() {
    const question = texts.askQuit;
    if (!(await dialogs.confirm(question.text, question.title)) || duel.ended) return false;
    duel.link.send({ type: 'Quit' });
    duel.ended = true;
    keepToken(duel.room, null);
    duel.link.close();
    await sayVerdict();
    showHome(texts.duelOver);
    return true;
}

async function newRoundChosen() {
    if (duel.ended || screen.away || screen.opponentAway) return;
    const question = texts.askNewRound;
    if (await dialogs.confirm(question.text, question.title) && !duel.ended)
        duel.link.send({ type: 'NewRound' });
}

function sayVerdict() {
    const verdict = texts.duelVerdict(screen.won[0], screen.won[1]);
    return dialogs.announce(verdict.text, verdict.title);
}

// --- A connection lost, and found again -----------------------------------------------------

function lost(why) {
    if (duel.ended) return;
    inTurn(async () => {
        if (duel.ended) return;
        if (!duel.entered) {
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
    if (!screen.away) {
        duel.awaySince = Date.now();
        screen.setAway(true);
    }
    if (Date.now() - duel.awaySince >= kComebackMs) {
        endLost(texts.connectionLost);
        return;
    }
    setTimeout(() => {
        if (duel.ended) return;
        duel.link = new Link({ type: 'Enter', action: Action.Resume, room: duel.room,
            token: duel.token, boxesSeen: duel.boxesSeen ?? undefined }, deliver, lost);
    }, kRetryMs);
}

async function endLost(text) {
    duel.ended = true;
    keepToken(duel.room, null);
    duel.link?.close();
    await dialogs.announce(text, texts.onlineTitle);
    await sayVerdict();
    showHome(texts.duelOver);
}

// --- Start ----------------------------------------------------------------------------------

function joinTyped() {
    const code = readRoomCode($('code').value);
    if (code === null) {
        $('accueil-message').textContent = texts.badCode;
        $('code').focus();
        return;
    }
    enter(Action.Join, code);
}

function start() {
    fillTexts();
    board = new Board($('plateau'), cellClicked);
    screen = new Screen(board);
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
        const token = keptToken(code);
        if (token) enter(Action.Resume, code, token);
        else enter(Action.Join, code);
        return;
    }
    showHome(hash ? texts.badCode : '');
}

start();
