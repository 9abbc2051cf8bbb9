// SPDX-License-Identifier: GPL-3.0-or-later
// The page around the duel: its fixed texts put in place, the start page, the room's link to
// share, and this tab's side of a room kept so that reloading the page comes back to it
// instead of joining the room a second time.
import * as texts from './texts.js';
import * as dialogs from './dialogs.js';

const $ = (id) => document.getElementById(id);

/// What the page is doing, for whoever drives it: accueil, connexion, salle.
export function setState(name) {
    document.body.dataset.etat = name;
}

export function showHome(message = '') {
    $('jeu').hidden = true;
    $('accueil').hidden = false;
    $('accueil-message').textContent = message;
    document.title = texts.gameTitle;
    if (window.location.hash) history.replaceState(null, '', window.location.pathname);
    setState('accueil');
}

export function fillTexts() {
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

/// Copies the room's link, or says to copy it by hand where the browser will not.
export async function copyLink() {
    const link = $('lien');
    link.select();
    try {
        await navigator.clipboard.writeText(link.value);
        $('copie-message').textContent = texts.linkCopied;
    } catch {
        $('copie-message').textContent = texts.linkNotCopied;
    }
}

const kept = (room) => `volcanelle-salle-${room}`;
const hex = (bytes) => Array.from(bytes, (b) => b.toString(16).padStart(2, '0')).join('');
const unhex = (text) => Uint8Array.from(text.match(/../g) ?? [], (h) => parseInt(h, 16));

export function keptToken(room) {
    try {
        const token = unhex(sessionStorage.getItem(kept(room)) ?? '');
        return token.length > 0 ? token : null;
    } catch {
        return null;
    }
}

export function keepToken(room, token) {
    try {
        if (token) sessionStorage.setItem(kept(room), hex(token));
        else sessionStorage.removeItem(kept(room));
    } catch {
        // Without storage a reload joins anew, as a new visitor would.
    }
}
