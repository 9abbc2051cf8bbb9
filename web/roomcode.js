// SPDX-License-Identifier: GPL-3.0-or-later
// Room codes as players see them: 40 bits written as eight characters from an alphabet
// without look-alikes, XXXX-XXXX, read case-insensitively with or without the dash.

const kAlphabet = '23456789ABCDEFGHJKLMNPQRSTUVWXYZ';
const kLength = 8;

/// The code's text, XXXX-XXXX.
export function roomCodeText(code) {
    let out = '';
    let rest = code;
    for (let i = 0; i < kLength; ++i) {
        out = kAlphabet[rest % 32] + out;
        rest = Math.floor(rest / 32);
        if (i === kLength / 2 - 1) out = `-${out}`;
    }
    return out;
}

/// The code a player typed, or null when it is not one.
export function readRoomCode(typed) {
    let text = String(typed).trim().toUpperCase();
    if (text.length === kLength + 1 && text[kLength / 2] === '-')
        text = text.slice(0, kLength / 2) + text.slice(kLength / 2 + 1);
    if (text.length !== kLength) return null;
    let code = 0;
    for (const c of text) {
        const digit = kAlphabet.indexOf(c);
        if (digit < 0) return null;
        code = code * 32 + digit;
    }
    return code;
}
