// SPDX-License-Identifier: GPL-3.0-or-later
// The game's network messages as the page reads and writes them: one WebSocket binary frame
// carries one message body, whose first byte names the message. A name that is not known, a
// body cut short or running on, a value out of its range or text that is not UTF-8 is refused
// whole (decode answers null); reading never goes past the bytes it was given. The layout is
// the desktop program's, byte for byte.

export const kVersion = 3;
/// A side's count of boxes received when it does not know it (a page opened again).
export const kBoxesUnknown = 0xFFFFFFFF;
export const kCellCount = 225;
export const kTokenSize = 16;
export const kMaxFrame = 16 * 1024;
export const kMaxText = 4 * 1024;
export const kRoomCodeLimit = 2 ** 40;
const kMaxSnapshotText = 2000;
const kLargestCode = 999999;
const kLastPicture = 10;
const kMagic = [0x56, 0x4c, 0x43, 0x4e]; // "VLCN"

// The first byte of every body, in the order the desktop program numbers them from 1.
const kKinds = ['Hello', 'Welcome', 'Refused', 'Ping', 'Bye', 'Click', 'NewRound', 'Quit',
    'Count', 'Cell', 'Caption', 'Announce', 'AskCount', 'CountBeingChosen', 'Enter', 'Entered',
    'Opponent', 'Rejoin', 'Snapshot', 'Farewell'];
const kindNumber = (type) => kKinds.indexOf(type) + 1;

export const Action = Object.freeze({ Open: 1, Join: 2, Resume: 3 });
export const Slot = Object.freeze({ Turn: 0, Score1: 1, Score2: 2, Won1: 3, Won2: 4, MinesLeft: 5 });
export const Reason = Object.freeze({ WrongCode: 1, Busy: 2, LockedOut: 3, BadVersion: 4,
    NoSuchRoom: 5 });

class Reader {
    constructor(bytes) {
        this.bytes = bytes;
        this.pos = 0;
        this.failed = false;
    }
    u8() {
        if (this.pos >= this.bytes.length) {
            this.failed = true;
            return 0;
        }
        return this.bytes[this.pos++];
    }
    u16() { return this.u8() * 0x100 + this.u8(); }
    u32() { return this.u16() * 0x10000 + this.u16(); }
    u40() { return this.u8() * 0x100000000 + this.u32(); }
    magic() {
        const fits = this.bytes.length - this.pos >= kMagic.length &&
            kMagic.every((b, i) => this.bytes[this.pos + i] === b);
        if (!fits) {
            this.failed = true;
            return false;
        }
        this.pos += kMagic.length;
        return true;
    }
    token() {
        const length = this.u8();
        if (this.failed || (length !== 0 && length !== kTokenSize) ||
            length > this.bytes.length - this.pos) {
            this.failed = true;
            return new Uint8Array(0);
        }
        const t = this.bytes.slice(this.pos, this.pos + length);
        this.pos += length;
        return t;
    }
    text(most = kMaxText) {
        const length = this.u16();
        if (this.failed || length > most || length > this.bytes.length - this.pos) {
            this.failed = true;
            return '';
        }
        const part = this.bytes.subarray(this.pos, this.pos + length);
        this.pos += length;
        try {
            return new TextDecoder('utf-8', { fatal: true }).decode(part);
        } catch {
            this.failed = true;
            return '';
        }
    }
    skipRest() { this.pos = this.bytes.length; }
    done() { return !this.failed && this.pos === this.bytes.length; }
}

// Each reader returns the message, or null when its values are out of range.
const readers = {
    Hello(r) {
        if (!r.magic()) return null;
        const m = { version: r.u16(), code: r.u32() };
        return m.code <= kLargestCode ? m : null;
    },
    Welcome(r) {
        if (!r.magic()) return null;
        const version = r.u16();
        // Another version's welcome says only its number.
        if (version !== kVersion) {
            r.skipRest();
            return { version, token: new Uint8Array(0) };
        }
        return { version, token: r.token() };
    },
    Refused(r) {
        const reason = r.u8();
        const version = r.u16();
        return reason >= 1 && reason <= 5 ? { reason, version } : null;
    },
    Ping: () => ({}),
    Bye: () => ({}),
    Click(r) {
        const index = r.u8();
        return index < kCellCount ? { index } : null;
    },
    NewRound: () => ({}),
    Quit: () => ({}),
    Count(r) {
        const given = r.u8();
        const text = r.text();
        return given <= 1 && (given === 1 || text === '') ? { given: given === 1, text } : null;
    },
    Cell(r) {
        const index = r.u8();
        const covered = r.u8();
        const picture = r.u8();
        const pictureFits = covered === 1 ? picture === 0 : picture >= 1 && picture <= kLastPicture;
        return index < kCellCount && covered <= 1 && pictureFits
            ? { index, covered: covered === 1, picture } : null;
    },
    Caption(r) {
        const slot = r.u8();
        const value = r.u16();
        const text = r.text();
        let valueFits = value === 0;
        if (slot === Slot.Turn) valueFits = value === 1 || value === 2;
        else if (slot === Slot.Won1 || slot === Slot.Won2) valueFits = true;
        return slot <= 5 && valueFits ? { slot, value, text } : null;
    },
    Announce: (r) => ({ text: r.text(), title: r.text() }),
    AskCount: () => ({}),
    CountBeingChosen: () => ({}),
    Enter(r) {
        if (!r.magic()) return null;
        const m = { action: r.u8(), version: r.u16(), room: r.u40(), token: r.token(),
            boxesSeen: r.u32() };
        const hasToken = m.token.length > 0;
        const fits = (m.action === Action.Open && m.room === 0 && !hasToken) ||
            (m.action === Action.Join && !hasToken) || (m.action === Action.Resume && hasToken);
        return m.room < kRoomCodeLimit && fits ? m : null;
    },
    Entered(r) {
        if (!r.magic()) return null;
        const m = { version: r.u16(), room: r.u40(), side: r.u8(), token: r.token() };
        return (m.side === 1 || m.side === 2) && m.room < kRoomCodeLimit && m.token.length > 0
            ? m : null;
    },
    Opponent(r) {
        const present = r.u8();
        return present <= 1 ? { present: present === 1 } : null;
    },
    Rejoin(r) {
        if (!r.magic()) return null;
        const m = { version: r.u16(), token: r.token(), boxesSeen: r.u32() };
        return m.token.length > 0 ? m : null;
    },
    Farewell: (r) => ({ text: r.text() }),
    Snapshot(r) {
        const cells = Array.from({ length: kCellCount }, () => r.u8());
        const m = { cells, turn: r.u8(), turnText: r.text(kMaxSnapshotText) };
        m.score = [r.text(kMaxSnapshotText), r.text(kMaxSnapshotText)];
        m.won = [0, 0];
        m.wonText = ['', ''];
        for (const player of [0, 1]) {
            m.won[player] = r.u16();
            m.wonText[player] = r.text(kMaxSnapshotText);
        }
        m.minesLeft = r.text(kMaxSnapshotText);
        const choosing = r.u8();
        m.countBeingChosen = choosing === 1;
        m.boxesSeen = r.u32();
        const fits = cells.every((c) => c <= kLastPicture);
        return fits && m.turn <= 2 && choosing <= 1 ? m : null;
    },
};

/// The message in one frame body (a Uint8Array), as { type, ...values }; null when refused.
export function decode(bytes) {
    if (!(bytes instanceof Uint8Array) || bytes.length === 0 || bytes.length > kMaxFrame)
        return null;
    const r = new Reader(bytes);
    const type = kKinds[r.u8() - 1];
    if (!type) return null;
    const values = readers[type](r);
    if (!values || !r.done()) return null;
    return { type, ...values };
}

class Writer {
    constructor(type) {
        this.bytes = [];
        this.u8(kindNumber(type));
    }
    u8(v) { this.bytes.push(v & 0xff); }
    u16(v) { this.u8(v >>> 8); this.u8(v); }
    u32(v) { this.u16(Math.floor(v / 0x10000)); this.u16(v % 0x10000); }
    u40(v) { this.u8(Math.floor(v / 0x100000000)); this.u32(v % 0x100000000); }
    magic() { this.bytes.push(...kMagic); }
    token(t) {
        // Anything but a whole token goes as none.
        const whole = t instanceof Uint8Array && t.length === kTokenSize;
        this.u8(whole ? kTokenSize : 0);
        if (whole) this.bytes.push(...t);
    }
    text(s, most = kMaxText) {
        let utf8 = new TextEncoder().encode(s ?? '');
        if (utf8.length > most) {
            // Cut before a continuation byte never splits a character.
            let end = most;
            while (end > 0 && (utf8[end] & 0xc0) === 0x80) --end;
            utf8 = utf8.subarray(0, end);
        }
        this.u16(utf8.length);
        this.bytes.push(...utf8);
    }
}

// What the page sends, and the server's messages it may need to write in tests.
const writers = {
    Ping() {},
    Bye() {},
    NewRound() {},
    Quit() {},
    AskCount() {},
    CountBeingChosen() {},
    Click(w, m) { w.u8(m.index); },
    Count(w, m) {
        w.u8(m.given ? 1 : 0);
        w.text(m.given ? m.text : '');
    },
    Cell(w, m) {
        w.u8(m.index);
        w.u8(m.covered ? 1 : 0);
        w.u8(m.covered ? 0 : m.picture);
    },
    Caption(w, m) {
        w.u8(m.slot);
        w.u16(m.value);
        w.text(m.text);
    },
    Announce(w, m) {
        w.text(m.text);
        w.text(m.title);
    },
    Refused(w, m) {
        w.u8(m.reason);
        w.u16(m.version ?? kVersion);
    },
    Opponent(w, m) { w.u8(m.present ? 1 : 0); },
    Farewell(w, m) { w.text(m.text); },
    Enter(w, m) {
        w.magic();
        w.u8(m.action);
        w.u16(m.version ?? kVersion);
        w.u40(m.room ?? 0);
        w.token(m.token);
        w.u32(m.boxesSeen ?? kBoxesUnknown);
    },
    Entered(w, m) {
        w.magic();
        w.u16(m.version ?? kVersion);
        w.u40(m.room);
        w.u8(m.side);
        w.token(m.token);
    },
};

/// The frame body of `message` ({ type, ...values }), as a Uint8Array.
export function encode(message) {
    const write = writers[message.type];
    if (!write) throw new Error(`no writer for ${message.type}`);
    const w = new Writer(message.type);
    write(w, message);
    return Uint8Array.from(w.bytes);
}
