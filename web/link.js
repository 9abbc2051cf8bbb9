// SPDX-License-Identifier: GPL-3.0-or-later
// The page's connection to the duel server that served it: a WebSocket on the same origin,
// one wire message to a binary frame. It pings every 2 s, as game programs do, and takes a
// connection silent for 6 s, or one that sent something unreadable, as lost.
import { decode, encode } from './wire.js';

const kPingMs = 2000;
const kSilenceMs = 6000;

export function serverUrl(place = window.location) {
    return `${place.protocol === 'https:' ? 'wss:' : 'ws:'}//${place.host}/ws`;
}

export class Link {
    /// `onMessage(message)` for each message read; `onEnd(why)` once, with 'closed' (the
    /// server closed or could not be reached), 'silent' or 'garbled'. Sends `first` once open.
    constructor(first, onMessage, onEnd) {
        this.onMessage = onMessage;
        this.onEnd = onEnd;
        this.opened = false;
        this.ended = false;
        this.heard = Date.now();
        this.socket = new WebSocket(serverUrl());
        this.socket.binaryType = 'arraybuffer';
        this.socket.addEventListener('open', () => {
            this.opened = true;
            this.heard = Date.now();
            this.send(first);
        });
        this.socket.addEventListener('message', (event) => this.take(event.data));
        this.socket.addEventListener('close', () => this.end('closed'));
        this.timer = setInterval(() => this.tick(), kPingMs);
    }

    take(data) {
        if (this.ended) return;
        const message = data instanceof ArrayBuffer ? decode(new Uint8Array(data)) : null;
        if (!message) {
            this.end('garbled');
            return;
        }
        this.heard = Date.now();
        if (message.type !== 'Ping') this.onMessage(message);
    }

    tick() {
        if (this.ended) return;
        if (Date.now() - this.heard >= kSilenceMs) {
            this.end('silent');
            return;
        }
        if (this.opened) this.send({ type: 'Ping' });
    }

    send(message) {
        if (!this.ended && this.socket.readyState === WebSocket.OPEN)
            this.socket.send(encode(message));
    }

    /// Closes without telling the owner: it is the one leaving.
    close() {
        this.ended = true;
        clearInterval(this.timer);
        this.socket.close();
    }

    end(why) {
        if (this.ended) return;
        this.close();
        this.onEnd(why);
    }
}
