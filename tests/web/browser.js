// What the browser tests and the page benchmark share: the page's static server, the
// system's Chromium in headless mode, and a small client of its DevTools protocol.
'use strict';
const fs = require('fs');
const os = require('os');
const path = require('path');
const net = require('net');
const crypto = require('crypto');
const { spawn } = require('child_process');
const { serve } = require('../../web/serve.js');

// Polls check() until it returns a true value or the deadline passes; returns the last value.
async function waitFor(check, ms, what) {
  const end = Date.now() + ms;
  for (;;) {
    const value = await check();
    if (value) return value;
    if (Date.now() > end) throw new Error('timed out after ' + ms + ' ms waiting for ' + what);
    await new Promise((r) => setTimeout(r, 50));
  }
}

// The client side of a WebSocket (text frames only), enough for the DevTools protocol on any Node.
class Socket {
  static connect(url) {
    const u = new URL(url);
    return new Promise((resolve, reject) => {
      const conn = net.connect(Number(u.port), u.hostname);
      const key = crypto.randomBytes(16).toString('base64');
      conn.once('error', reject);
      conn.on('connect', () => conn.write('GET ' + u.pathname + ' HTTP/1.1\r\nHost: ' + u.host +
        '\r\nUpgrade: websocket\r\nConnection: Upgrade\r\nSec-WebSocket-Key: ' + key +
        '\r\nSec-WebSocket-Version: 13\r\n\r\n'));
      let head = Buffer.alloc(0);
      const onHead = (d) => {
        head = Buffer.concat([head, d]);
        const end = head.indexOf('\r\n\r\n');
        if (end < 0) return;
        conn.off('data', onHead);
        if (!/^HTTP\/1\.1 101/.test(head.toString('latin1', 0, end))) { reject(new Error('no upgrade')); return; }
        const s = new Socket(conn);
        s.receive(head.subarray(end + 4));
        resolve(s);
      };
      conn.on('data', onHead);
    });
  }
  constructor(conn) {
    this.conn = conn;
    this.buffer = Buffer.alloc(0);
    this.parts = [];
    this.onmessage = () => {};
    conn.on('data', (d) => this.receive(d));
  }
  receive(data) {
    this.buffer = Buffer.concat([this.buffer, data]);
    for (;;) {
      const b = this.buffer;
      if (b.length < 2) return;
      let length = b[1] & 127, at = 2;
      if (length === 126) { if (b.length < 4) return; length = b.readUInt16BE(2); at = 4; }
      else if (length === 127) { if (b.length < 10) return; length = Number(b.readBigUInt64BE(2)); at = 10; }
      if (b.length < at + length) return;
      const opcode = b[0] & 15, fin = (b[0] & 128) !== 0;
      this.parts.push(b.subarray(at, at + length));
      this.buffer = b.subarray(at + length);
      if (opcode === 8) { this.conn.end(); return; }
      if (fin) {
        const text = Buffer.concat(this.parts).toString('utf8');
        this.parts = [];
        if (opcode === 1 || opcode === 0) this.onmessage({ data: text });
      }
    }
  }
  send(text) {
    const payload = Buffer.from(text, 'utf8');
    const n = payload.length;
    const head = n < 126 ? Buffer.from([0x81, 0x80 | n])
      : n < 65536 ? Buffer.from([0x81, 0x80 | 126, n >> 8, n & 255])
        : Buffer.concat([Buffer.from([0x81, 0x80 | 127]), (() => { const x = Buffer.alloc(8); x.writeBigUInt64BE(BigInt(n)); return x; })()]);
    const mask = crypto.randomBytes(4);
    for (let i = 0; i < n; ++i) payload[i] ^= mask[i & 3];
    this.conn.write(Buffer.concat([head, mask, payload]));
  }
}

class Browser {
  static async launch() {
    const profile = fs.mkdtempSync(path.join(os.tmpdir(), 'glintora-chromium-'));
    const proc = spawn(process.env.CHROMIUM || '/usr/bin/chromium', [
      '--headless', '--no-sandbox', '--disable-gpu', '--disable-background-networking',
      '--disable-component-update', '--disable-sync', '--no-first-run', '--mute-audio',
      '--disable-background-timer-throttling', '--disable-renderer-backgrounding',
      '--user-data-dir=' + profile, '--remote-debugging-port=0', 'about:blank'],
      { stdio: ['ignore', 'ignore', 'pipe'] });
    let log = '';
    const url = await new Promise((resolve, reject) => {
      const timer = setTimeout(() => reject(new Error('chromium did not start:\n' + log)), 60000);
      proc.stderr.on('data', (d) => {
        log += d;
        const m = /DevTools listening on (ws:\/\/\S+)/.exec(log);
        if (m) { clearTimeout(timer); resolve(m[1]); }
      });
      proc.on('exit', () => reject(new Error('chromium ended:\n' + log)));
    });
    return new Browser(proc, profile, await Socket.connect(url));
  }

  constructor(proc, profile, ws) {
    this.proc = proc;
    this.profile = profile;
    this.ws = ws;
    this.next = 1;
    this.pending = new Map();
    this.listeners = [];
    ws.onmessage = (e) => {
      const m = JSON.parse(e.data);
      if (m.id && this.pending.has(m.id)) {
        const { resolve, reject } = this.pending.get(m.id);
        this.pending.delete(m.id);
        if (m.error) reject(new Error(m.error.message)); else resolve(m.result);
      } else if (m.method) {
        for (const l of this.listeners) l(m);
      }
    };
  }

  send(method, params = {}, sessionId) {
    const id = this.next++;
    this.ws.send(JSON.stringify({ id, method, params, sessionId }));
    return new Promise((resolve, reject) => this.pending.set(id, { resolve, reject }));
  }

  // A new tab of width x height CSS pixels, showing url.
  async open(url, width, height) {
    const { targetId } = await this.send('Target.createTarget', { url: 'about:blank' });
    const { sessionId } = await this.send('Target.attachToTarget', { targetId, flatten: true });
    const page = new Page(this, targetId, sessionId);
    await page.send('Emulation.setDeviceMetricsOverride', { width, height, deviceScaleFactor: 1, mobile: false });
    await page.send('Page.enable');
    await page.send('Runtime.enable');
    await page.send('Page.navigate', { url });
    return page;
  }

  async close() {
    this.send('Browser.close').catch(() => {});
    await new Promise((r) => {
      if (this.proc.exitCode !== null) { r(); return; }
      const timer = setTimeout(() => this.proc.kill('SIGKILL'), 10000);
      this.proc.on('exit', () => { clearTimeout(timer); r(); });
    });
    fs.rmSync(this.profile, { recursive: true, force: true });
  }
}

class Page {
  constructor(browser, targetId, sessionId) {
    Object.assign(this, { browser, targetId, sessionId });
  }
  send(method, params) { return this.browser.send(method, params, this.sessionId); }
  // The value of a JavaScript expression in the page (awaited when it is a promise).
  async eval(expression) {
    const r = await this.send('Runtime.evaluate', { expression, awaitPromise: true, returnByValue: true });
    if (r.exceptionDetails) throw new Error('in page: ' + (r.exceptionDetails.exception?.description || r.exceptionDetails.text));
    return r.result.value;
  }
  // Waits until the module has started the show.
  ready() { return waitFor(() => this.eval('!!(window.glintora && glintora.stats.frames > 0)'), 30000, 'the show to start'); }
  close() { return this.browser.send('Target.closeTarget', { targetId: this.targetId }); }
}

module.exports = { serve, waitFor, Browser };
