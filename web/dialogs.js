// SPDX-License-Identifier: GPL-3.0-or-later
// The game's boxes as in-page dialogs: an announcement with OK, a question with Oui and Non
// (Non by default, Escape answers it), the text box with OK and Annuler, and the information
// window. Each is modal: the page behind it takes no input, the focus stays inside, and it
// goes back where it was when the box closes. Boxes come one after the other, never two at
// once. Every text is written with textContent.
import * as texts from './texts.js';

const box = document.getElementById('boite');
const title = document.getElementById('boite-titre');
const text = document.getElementById('boite-texte');
const field = document.getElementById('boite-champ');
const prompt = document.getElementById('boite-invite');
const input = document.getElementById('boite-saisie');
const buttons = document.getElementById('boite-boutons');

let queue = Promise.resolve();
let fallback = () => null;

/// Where the focus goes after a box when what had it is gone (the board's current cell).
export function setFocusFallback(find) {
    fallback = find;
}

/// True while a box is open.
export const isOpen = () => box.open;

function restore(previous) {
    // What had the focus may have gone, or been hidden, while the box was open.
    const usable = previous && previous.isConnected && !previous.disabled &&
        previous.getClientRects().length > 0 && previous !== document.body;
    const target = usable ? previous : fallback();
    if (target) target.focus();
}

// Opens the box with `choices` ({ label, value }); the first with `initial` takes the focus,
// Escape answers `escape`. Resolves with the value chosen (and the text typed, if asked).
function open({ heading, message, choices, escape, ask }) {
    const shown = queue.then(() => new Promise((resolve) => {
        const previous = document.activeElement;
        title.textContent = heading;
        text.textContent = message;
        field.hidden = !ask;
        input.value = '';
        if (ask) {
            prompt.textContent = ask.prompt;
            input.maxLength = ask.maxLength;
        }
        buttons.replaceChildren();
        let focus = null;
        const finish = (value) => {
            box.removeEventListener('cancel', onCancel);
            input.removeEventListener('keydown', onKey);
            const typed = input.value;
            box.close();
            restore(previous);
            resolve(ask ? (value ? typed : null) : value);
        };
        const onCancel = (event) => {
            event.preventDefault();
            finish(escape);
        };
        const onKey = (event) => {
            if (event.key === 'Enter') {
                event.preventDefault();
                finish(true);
            }
        };
        for (const choice of choices) {
            const button = document.createElement('button');
            button.type = 'button';
            button.textContent = choice.label;
            button.addEventListener('click', () => finish(choice.value), { once: true });
            buttons.append(button);
            if (choice.initial) focus = button;
        }
        box.addEventListener('cancel', onCancel);
        input.addEventListener('keydown', onKey);
        box.showModal();
        (ask ? input : focus ?? buttons.firstChild).focus();
    }));
    queue = shown.catch(() => {});
    return shown;
}

/// A box with a single OK button, as the server or this page tells something.
export function announce(message, heading) {
    return open({ heading, message, escape: true,
        choices: [{ label: texts.ok, value: true, initial: true }] }).then(() => undefined);
}

/// A question: true for Oui, false for Non or Escape.
export function confirm(message, heading) {
    return open({ heading, message, escape: false,
        choices: [{ label: texts.yes, value: true }, { label: texts.no, value: false, initial: true }] });
}

/// The text box: what was typed, or null when cancelled.
export function askText(promptText, heading, maxLength) {
    return open({ heading, message: '', escape: false, ask: { prompt: promptText, maxLength },
        choices: [{ label: texts.ok, value: true }, { label: texts.cancel, value: false }] });
}

/// The information window: its title, version and description, closed by OK or Escape. It
/// holds up nothing that the server sends.
export function showAbout() {
    const about = document.getElementById('apropos');
    if (about.open) return;
    const previous = document.activeElement;
    about.showModal();
    document.getElementById('apropos-ok').focus();
    about.addEventListener('close', () => restore(previous), { once: true });
}

export function setUpAbout() {
    const about = document.getElementById('apropos');
    document.getElementById('apropos-titre').textContent = texts.aboutTitle;
    document.getElementById('apropos-nom').textContent = texts.gameTitle;
    document.getElementById('apropos-version').textContent = texts.aboutVersion;
    document.getElementById('apropos-texte').textContent = texts.aboutDescription;
    const ok = document.getElementById('apropos-ok');
    ok.textContent = texts.ok;
    ok.addEventListener('click', () => about.close());
}
