// SPDX-License-Identifier: GPL-3.0-or-later
// The page's message reader and writer against the frames the desktop program's own codec
// wrote (writeframes.cpp): the same bodies read to the same values, the same bodies refused,
// and the page's messages written byte for byte as the desktop writes them.
import { test } from 'node:test';
import assert from 'node:assert/strict';
import { readFileSync } from 'node:fs';
import { decode, encode } from '../../web/wire.js';
import { readRoomCode, roomCodeText } from '../../web/roomcode.js';

const framesPath = process.env.VOLCANELLE_FRAMES;
const frames = framesPath ? JSON.parse(readFileSync(framesPath, 'utf8')) : null;
const skip = frames ? false : 'VOLCANELLE_FRAMES names no frames file (run through ctest)';

const bytes = (hex) => Uint8Array.from(hex.match(/../g) ?? [], (h) => parseInt(h, 16));
const hexOf = (u8) => Array.from(u8, (b) => b.toString(16).padStart(2, '0')).join('');

// A decoded message with its tokens as hex, as the desktop side wrote them.
function plain(message) {
    const out = { ...message };
    if (out.token instanceof Uint8Array) out.token = hexOf(out.token);
    return out;
}

// The values the desktop side wrote, with their tokens as bytes again.
function fromFile(values) {
    const out = { ...values };
    if (typeof out.token === 'string') out.token = bytes(out.token);
    return out;
}

test('every body the desktop reader reads, the page reads to the same values', { skip }, () => {
    assert.ok(frames.read.length > 100, 'too few frames to mean anything');
    for (const { hex, message } of frames.read) {
        const got = decode(bytes(hex));
        assert.notEqual(got, null, `refused ${hex} (${message.type})`);
        assert.deepEqual(plain(got), message, hex);
    }
});

test('every body the desktop reader refuses, the page refuses', { skip }, () => {
    assert.ok(frames.refused.length > 100, 'too few frames to mean anything');
    for (const hex of frames.refused)
        assert.equal(decode(bytes(hex)), null, `read ${hex.slice(0, 80)}`);
});

test('the page writes its messages byte for byte as the desktop program', { skip }, () => {
    const pageSends = ['Enter', 'Click', 'Count', 'NewRound', 'Quit', 'Ping'];
    const sent = frames.written.filter(({ message }) => pageSends.includes(message.type));
    assert.deepEqual(new Set(sent.map(({ message }) => message.type)), new Set(pageSends));
    for (const { hex, message } of sent)
        assert.equal(hexOf(encode(fromFile(message))), hex, message.type);
});

test('what is not a frame body is refused, not thrown on', () => {
    for (const odd of [undefined, null, 'abc', [4], new ArrayBuffer(1)])
        assert.equal(decode(odd), null);
});

test('room codes are written and read as the desktop program does', { skip }, () => {
    for (const { code, text } of frames.codes) assert.equal(roomCodeText(code), text);
    for (const { typed, code } of frames.typed) assert.equal(readRoomCode(typed), code, typed);
});
