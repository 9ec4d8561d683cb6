// The page in headless Chromium: the show lights up, the panel applies the dialogs' rules,
// templates and links carry the settings, the same seed draws the same frame and mixes the same
// sound track as glintora-render, the Sound toggle is heard, bad input leaves the show and its
// server running, Record keeps a video with its sound, and the page works offline.
// Usage: node tests/web/browser_test.js BUILD_WEB RENDER
'use strict';
const fs = require('fs');
const os = require('os');
const path = require('path');
const http = require('http');
const crypto = require('crypto');
const { execFileSync, spawn } = require('child_process');
const { serve, waitFor, Browser } = require('./browser.js');

const [webDir, renderTool] = process.argv.slice(2);
const W = 640, H = 400;
const tmp = fs.mkdtempSync(path.join(os.tmpdir(), 'glintora-web-'));

function expectEqual(actual, expected, what) {
  if (JSON.stringify(actual) !== JSON.stringify(expected)) {
    throw new Error(what + ': expected ' + JSON.stringify(expected) + ', got ' + JSON.stringify(actual));
  }
}

// The panel's field values by key, as the page shows them.
const kValues = `Object.fromEntries([...document.querySelectorAll('#fields input')]
  .map((i) => [i.name, i.type === 'checkbox' ? (i.checked ? '1' : '0') : i.value]))`;

// Lit pixels of the canvas, and in how many of twelve hue sectors at least 20 of them fall.
const kLitHues = `(() => {
  const c = document.getElementById('show');
  const d = c.getContext('2d').getImageData(0, 0, c.width, c.height).data;
  const sectors = new Array(12).fill(0); let lit = 0;
  for (let i = 0; i < d.length; i += 4) {
    const r = d[i], g = d[i + 1], b = d[i + 2], max = Math.max(r, g, b), min = Math.min(r, g, b);
    if (max < 64) continue;
    ++lit;
    if (max - min < 40) continue;
    let h = max === r ? (g - b) / (max - min) : max === g ? 2 + (b - r) / (max - min) : 4 + (r - g) / (max - min);
    sectors[Math.floor(((h * 60) + 360) % 360 / 30)]++;
  }
  return { lit, hues: sectors.filter((n) => n >= 20).length, sectors };
})()`;

// Whether the canvas shows exactly the engine's framebuffer (checked between two frames).
const kCanvasIsFramebuffer = `(() => {
  const c = document.getElementById('show');
  const d = c.getContext('2d').getImageData(0, 0, c.width, c.height).data;
  const fb = new Uint32Array(HEAPU8.buffer, glintora.api.framebuffer(), c.width * c.height);
  for (let i = 0; i < fb.length; ++i) {
    if ((d[4 * i] | (d[4 * i + 1] << 8) | (d[4 * i + 2] << 16)) !== (fb[i] & 0xFFFFFF)) return 'pixel ' + i;
  }
  return 'same';
})()`;

// Types text into a field and leaves it, as a user does.
function enter(page, key, text) {
  return page.eval(`(() => { const i = document.querySelector('#fields input[name=${key}]');
    i.focus(); i.value = ${JSON.stringify(text)}; i.dispatchEvent(new Event('change')); i.blur(); })()`);
}

async function importFile(page, name, text) {
  const file = path.join(tmp, name);
  fs.writeFileSync(file, text);
  const { root } = await page.send('DOM.getDocument', {});
  const { nodeId } = await page.send('DOM.querySelector', { nodeId: root.nodeId, selector: '#open' });
  await page.send('DOM.setFileInputFiles', { nodeId, files: [file] });
}

// A click as the user makes it (the gesture browsers want before they play sound).
async function click(page, selector) {
  await page.eval(`document.getElementById('panel').classList.remove('closed')`);
  const [x, y] = await page.eval(`(() => { const b = document.querySelector('${selector}').getBoundingClientRect();
    return [b.x + b.width / 2, b.y + b.height / 2]; })()`);
  for (const type of ['mousePressed', 'mouseReleased']) {
    await page.send('Input.dispatchMouseEvent', { type, x, y, button: 'left', clickCount: 1 });
  }
}

// The loudest sample an analyser on the page's sound output has seen since it was attached.
const kListen = `(() => { const s = glintora.sound, a = s.context.createAnalyser();
  a.fftSize = 2048; s.node.connect(a); const d = new Float32Array(a.fftSize); window.loudest = 0;
  (function look() { a.getFloatTimeDomainData(d);
    for (const x of d) loudest = Math.max(loudest, Math.abs(x)); setTimeout(look, 10); })(); })()`;

// The 16-bit samples of a WAV file's data chunk.
function wavData(file) {
  const b = fs.readFileSync(file);
  for (let at = 12; at + 8 <= b.length; at += 8 + b.readUInt32LE(at + 4)) {
    if (b.toString('latin1', at, at + 4) === 'data') return b.subarray(at + 8, at + 8 + b.readUInt32LE(at + 4));
  }
  throw new Error(file + ': no data chunk');
}

function render(args) {
  return execFileSync(renderTool, ['--width', String(W), '--height', String(H), '--frames', '200', '--hash', ...args])
    .toString().trim();
}

// Runs act, which the page must refuse with a notice, the settings and the show going on as before.
async function refused(page, before, what, act) {
  const notices = await page.eval('glintora.stats.notices.length');
  await act();
  await waitFor(() => page.eval(`glintora.stats.notices.length > ${notices}`), 5000, 'a notice for ' + what);
  expectEqual(await page.eval(kValues), before, 'settings after ' + what);
  await stillRunning(page);
}

// The show goes on: more frames are drawn after the check than before it.
async function stillRunning(page) {
  const before = await page.eval('glintora.stats.frames');
  await waitFor(() => page.eval(`glintora.stats.frames > ${before + 10}`), 10000, 'more frames');
}

const kTemplate = [
  '[Admin]', 'Product=Glintora Fireworks', '[Advanced]', 'Adv_TimeDelay=30', 'LockMessage=Happy new year',
  'FocalLength=1.5', '[General]', 'ColorRed=80', '[PixelColor]', 'ColorHueWheel=90',
  '[Fireworks]', 'FireWorks=20', 'FireSparks=900', 'FireSpeed=4.5', 'FireMultiMoment=0', ''].join('\r\n');
const kTemplateValues = { Adv_TimeDelay: '30', LockMessage: 'Happy new year', FocalLength: '1.5', ColorRed: '80',
  ColorHueWheel: '90', FireWorks: '20', FireSparks: '900', FireSpeed: '4.5', FireMultiMoment: '0' };

// Sound off, on (heard, through the ring or not), in a link, paused in a hidden tab, off again.
async function toggleSound(browser, open, page, ring) {
  await page.ready();
  // Off: the show bursts, and no sound is made at all.
  await waitFor(async () => (await page.eval(kLitHues)).lit > 50, 5000, 'bursts');
  expectEqual(await page.eval('[glintora.sound.context, glintora.sound.sent]'), [null, 0], 'sound while off');
  await click(page, '#sound');
  await waitFor(() => page.eval('!!glintora.sound.node'), 10000, 'the sound output');
  expectEqual(await page.eval('!!glintora.sound.ring'), ring, 'a shared ring');
  await page.eval(kListen);
  await waitFor(() => page.eval('loudest > 0.01'), 20000, 'sound reaching the graph');
  await page.eval(`document.getElementById('copylink').click()`);
  const link = await page.eval(`document.getElementById('link').value`);
  if (!/[#&]SoundFX_ON=1(&|$)/.test(link)) throw new Error('no sound in the link ' + link);
  // A tab in the background stops drawing and its sound; in front again, both go on.
  const other = await open('#seed=4');
  await waitFor(() => page.eval(`document.hidden && glintora.sound.context.state === 'suspended'`), 10000, 'a paused tab');
  const [frames, sent] = await page.eval('[glintora.stats.frames, glintora.sound.sent]');
  await other.ready();
  await waitFor(() => other.eval('glintora.stats.frames > 50'), 10000, 'the other tab drawing');
  expectEqual(await page.eval('[glintora.stats.frames, glintora.sound.sent]'), [frames, sent], 'frames and sound while hidden');
  await browser.send('Target.activateTarget', { targetId: page.targetId });
  await waitFor(() => page.eval(`glintora.sound.context.state === 'running' && glintora.stats.frames > ${frames + 10} &&
    glintora.sound.sent > ${sent + 4800}`), 10000, 'the show and its sound going on');
  // Off again: the output ends.
  await click(page, '#sound');
  await waitFor(() => page.eval(`glintora.sound.context === null && !document.getElementById('sound').checked`), 5000, 'sound off');
}

const cases = [
  ['the show lights pixels of several hues within two seconds of starting', async ({ open }) => {
    // Without launches the first shells burst at once (a launch climbs for 60 frames, 2.4 s).
    const page = await open('#seed=3&FireLaunchPct=0');
    await page.ready();
    await waitFor(async () => { const s = await page.eval(kLitHues); return s.lit > 50 && s.hues >= 3; }, 2000,
                  'lit pixels of three hues');
    expectEqual(await page.eval(kCanvasIsFramebuffer), 'same', 'the canvas against the framebuffer');
  }],

  ['frames come no faster than the delay, and a resize starts the show again at the new size', async ({ open }) => {
    const page = await open('#seed=3&FireLaunchPct=0&Adv_TimeDelay=100');
    await page.ready();
    // Counted in display frames, on the clock the page paces by: a frame is due a delay after the
    // last was due, 8 ms early at most, and a stall's backlog is caught up by one delay at most.
    const kAtFrame = 'new Promise((r) => requestAnimationFrame((t) => r([t, glintora.stats.frames])))';
    const start = await page.eval(kAtFrame);
    await waitFor(() => page.eval(`performance.now() - ${start[0]} > 1500`), 10000, 'a second and a half');
    const end = await page.eval(kAtFrame);
    const most = Math.floor((end[0] - start[0] + 108) / 100) + 2;
    if (end[1] - start[1] > most) throw new Error((end[1] - start[1]) + ' frames in ' + (end[0] - start[0]) + ' ms');
    // The show draws at most 8192 pixels a side; the canvas has the size drawn.
    const sizes = [[500, 300, 500, 300], [9000, 200, 8192, 200], [200, 9000, 200, 8192]];
    for (const [width, height, drawnWidth, drawnHeight] of sizes) {
      await page.send('Emulation.setDeviceMetricsOverride', { width, height, deviceScaleFactor: 1, mobile: false });
      await waitFor(() => page.eval(`(() => { const c = document.getElementById('show');
        return c.width === ${drawnWidth} && c.height === ${drawnHeight}; })()`), 10000, `the show at ${width} x ${height}`);
      await stillRunning(page);
      if (width === 500) await waitFor(async () => (await page.eval(kLitHues)).lit > 50, 10000, 'the resized show lighting up');
      expectEqual(await page.eval(kCanvasIsFramebuffer), 'same', `the canvas at ${width} x ${height} against the framebuffer`);
    }
  }],

  ['theme 13 fills the fields, and a typed field is clamped and balanced as in the dialog', async ({ open }) => {
    const page = await open('#seed=3');
    await page.ready();
    await page.eval(`(() => { const t = document.getElementById('theme'); t.value = '13';
      t.dispatchEvent(new Event('change')); })()`);
    const v = await page.eval(kValues);
    expectEqual([v.FireWorks, v.FireSparks, v.FireLength, v.FireSpeed, v.FireDamping, v.FireDecayMSize, v.FireMultiMoment],
                ['14', '1000', '4', '7', '0.175', '500', '1'], 'theme 13');
    // Shells x sparks stays within 30000; a field left below or above its range takes the bound.
    const cases = [['FireSparks', '9999', { FireWorks: '3', FireSparks: '9999' }],
                   ['FireWorks', '99', { FireWorks: '99', FireSparks: '303' }],
                   ['FireWorks', '0', { FireWorks: '1', FireSparks: '303' }],
                   ['FirePersist', '0.01', { FirePersist: '0.25' }],
                   ['FocalLength', '20', { FocalLength: '10' }],
                   ['FireSplinePct', '70', { FireSplinePct: '70', FirePatternPct: '25' }],
                   ['FirePatternPct', '60', { FireSplinePct: '40', FirePatternPct: '60' }],
                   ['ColorPctInt', '70', { ColorPctInt: '70', ColorPctHue: '30' }]];
    for (const [key, typed, expected] of cases) {
      await enter(page, key, typed);
      const now = await page.eval(kValues);
      for (const k in expected) expectEqual(now[k], expected[k], key + ' typed ' + typed + ': ' + k);
    }
  }],

  ['a .glx imported then exported gives the same values', async ({ open, browser }) => {
    const page = await open('#seed=3');
    await page.ready();
    await importFile(page, 'in.glx', kTemplate);
    await waitFor(() => page.eval(`document.querySelector('input[name=FireWorks]').value === '20'`), 5000, 'the import');
    const downloads = fs.mkdtempSync(path.join(tmp, 'dl-'));
    await browser.send('Browser.setDownloadBehavior', { behavior: 'allow', downloadPath: downloads });
    await page.eval(`document.getElementById('save').click()`);
    const file = path.join(downloads, 'glintora.glx');
    await waitFor(() => fs.existsSync(file) && fs.statSync(file).size > 0, 10000, 'the download');
    const text = fs.readFileSync(file, 'utf8');
    const values = {};
    for (const line of text.split('\r\n')) {
      const eq = line.indexOf('=');
      if (eq > 0) values[line.slice(0, eq)] = line.slice(eq + 1);
    }
    for (const k in kTemplateValues) expectEqual(values[k], kTemplateValues[k], 'exported ' + k);
    expectEqual(values.FireSparkPix, '5', 'exported factory FireSparkPix');
    // The glintora-render import of the exported file draws what the page draws with it.
    const seed = await page.eval('glintora.stats.seed');
    const hash = await waitFor(() => page.eval('glintora.stats.hash200'), 60000, 'frame 200');
    expectEqual(hash, render(['--seed', String(seed), '--template', file]), 'frame 200 of the imported show');
  }],

  ['a link opened in a fresh page reproduces the settings and the show', async ({ open }) => {
    const first = await open('#seed=11');
    await first.ready();
    await enter(first, 'FireWorks', '9');
    await enter(first, 'LockMessage', 'a&b=c #1');
    await enter(first, 'ColorHueWheel', '200');
    await first.eval(`document.getElementById('copylink').click()`);
    const link = await first.eval(`document.getElementById('link').value`);
    // A tab in the background draws nothing, so the first page reaches frame 200 before the second opens.
    const hash = await waitFor(() => first.eval('glintora.stats.hash200'), 60000, 'frame 200');
    const second = await open(link.slice(link.indexOf('#')));
    await second.ready();
    const [a, b] = [await first.eval(kValues), await second.eval(kValues)];
    expectEqual(b, a, 'settings in the fresh page');
    expectEqual([b.FireWorks, b.LockMessage, b.ColorHueWheel], ['9', 'a&b=c #1', '200'], 'linked values');
    expectEqual(await waitFor(() => second.eval('glintora.stats.hash200'), 60000, 'frame 200'), hash,
                'frame 200 of the linked show');
  }],

  ['the same seed and settings draw the same frame 200 as glintora-render', async ({ open }) => {
    const runs = [['#seed=7', ['--seed', '7']],
                  ['#seed=123456789', ['--seed', '123456789']]];
    for (const [fragment, args] of runs) {
      const page = await open(fragment);
      const hash = await waitFor(() => page.eval('window.glintora && glintora.stats.hash200'), 60000, 'frame 200');
      expectEqual(hash, render(args), 'frame 200 for ' + fragment);
    }
  }],

  ['the Sound toggle plays the show through the audio graph, is carried in a link, and pauses with its tab', async ({ open, browser }) => {
    // Isolated, the samples go through a shared ring; served plainly, as messages.
    const plain = await serve(webDir, 0, false);
    let plainPage = null;
    try {
      await toggleSound(browser, open, await open('#seed=3&FireLaunchPct=0'), true);
      plainPage = await browser.open(plain.origin + '/#seed=3&FireLaunchPct=0', W, H);
      await toggleSound(browser, open, plainPage, false);
      // Sound on by a link waits for the first gesture, saying so, then plays.
      const linked = await open('#seed=3&SoundFX_ON=1');
      await linked.ready();
      await waitFor(() => linked.eval(`glintora.stats.notices.includes('Sound is on: click or press a key to hear it.')`),
                    10000, 'the notice');
      expectEqual(await linked.eval(`[glintora.sound.context.state, glintora.sound.sent]`), ['suspended', 0], 'before a gesture');
      for (const type of ['keyDown', 'keyUp']) await linked.send('Input.dispatchKeyEvent', { type, key: 'a' });
      await waitFor(() => linked.eval(`glintora.sound.context.state === 'running' && glintora.sound.sent > 0`), 10000,
                    'sound after a key');
    } finally {
      if (plainPage) await plainPage.close().catch(() => {});
      plain.server.close();
    }
  }],
  ['the sound track of a seed is the one glintora-render --wav writes', async ({ open }) => {
    // Settings reach glintora-render through the page's .glx, sound on or off as the page has it.
    const runs = [['#seed=5&SoundFX_ON=1', 200], ['#seed=123456789&SoundFX_ON=1&FireLaunchPct=0&Adv_TimeDelay=30', 120],
                  ['#seed=7', 100]];
    for (const [fragment, frames] of runs) {
      const page = await open(fragment);
      await page.ready();
      const [seed, hash, loudest] = await page.eval(`(async () => {
        const at = glintora.api.track(${frames}), n = glintora.api.trackSize();
        const samples = new Int16Array(HEAP16.buffer, at, n).slice();
        const hash = new Uint8Array(await crypto.subtle.digest('SHA-256', samples));
        return [glintora.stats.seed, [...hash].map((x) => x.toString(16).padStart(2, '0')).join(''),
                samples.reduce((m, x) => Math.max(m, Math.abs(x)), 0)];
      })()`);
      const glx = path.join(tmp, 'track.glx'), wav = path.join(tmp, 'track.wav');
      fs.writeFileSync(glx, await page.eval('glintora.api.exportText()'));
      execFileSync(renderTool, ['--width', String(W), '--height', String(H), '--frames', String(frames),
                                '--seed', String(seed), '--template', glx, '--wav', wav]);
      expectEqual([hash, loudest > 1000], [crypto.createHash('sha256').update(wavData(wav)).digest('hex'),
                                            fragment.includes('SoundFX_ON=1')], 'the sound track (hash, heard) of ' + fragment);
    }
  }],

  ['a broken .glx and a broken link leave the show and its settings as they were', async ({ open }) => {
    const page = await open('#seed=3&FireWorks=7');
    await page.ready();
    const before = await page.eval(kValues);
    const broken = [['binary.glx', '\u0000\u0001PNG garbage'], ['huge.glx', '[Fireworks]\r\nFireWorks=20\r\nFireSparks=99999\r\n'],
                    ['word.glx', '[Fireworks]\r\nFireSpeed=fast\r\n']];
    for (const [name, text] of broken) await refused(page, before, name, () => importFile(page, name, text));
    // Over 1.3 million characters a text would not fit the module's 5 MB stack (4 bytes a character);
    // a link of valid parts is refused too when it is far longer than any the page makes.
    const long = 'a'.repeat(1400000);
    for (const fragment of ['#seed=3&FireWorks=abc', '#seed=-1', '#seed=3&NoSuchKey=1', '#seed=3&FireWorks=%E0%A4%A',
                            '#seed=3&LockMessage=' + long, '#seed=3&FireWorks=7' + '&seed=3'.repeat(2000)]) {
      await refused(page, before, fragment.slice(0, 40), () => page.eval(`location.hash = ${JSON.stringify(fragment)}`));
    }
    await refused(page, before, 'a long message typed', () => enter(page, 'LockMessage', long));
    const fresh = await open('#seed=3&FireWorks=100');
    await fresh.ready();
    await waitFor(() => fresh.eval('glintora.stats.notices.length === 1'), 5000, 'a notice in the fresh page');
    await waitFor(async () => (await fresh.eval(kLitHues)).lit > 50, 5000, 'the fresh page lighting up');
  }],

  ['a .glx over 64 KB is refused unread, and a heap without room refuses a template, a link and a text', async ({ open }) => {
    const page = await open('#seed=3&FireWorks=7');
    await page.ready();
    const before = await page.eval(kValues);
    await page.eval(`(() => { const malloc = _malloc; window.restoreMalloc = () => { _malloc = malloc; };
      _malloc = () => 0; })()`);
    await refused(page, before, 'a template', () => importFile(page, 'small.glx', kTemplate));
    await refused(page, before, 'a link', () => page.eval(`location.hash = '#seed=3&FireWorks=9'`));
    await refused(page, before, 'a typed text', () => enter(page, 'FireWorks', '9'));
    await page.eval('restoreMalloc()');
    const padded = (size) => kTemplate + '\n'.repeat(size - kTemplate.length);
    await page.eval(`(() => { const read = Blob.prototype.arrayBuffer; window.reads = 0;
      Blob.prototype.arrayBuffer = function () { ++window.reads; return read.call(this); }; })()`);
    await refused(page, before, 'a template of 65537 bytes', () => importFile(page, 'big.glx', padded(65537)));
    expectEqual(await page.eval('[window.reads, glintora.stats.notices.slice(-1)[0]]'),
                [0, 'Template not used: the file is larger than a template can be.'], 'reads and notice of 65537 bytes');
    await importFile(page, 'full.glx', padded(65536));
    await waitFor(() => page.eval(`document.querySelector('input[name=FireWorks]').value === '20'`), 5000,
                  'the import of 65536 bytes');
  }],

  ['Record keeps three seconds of the show as a .webm named after its seed, with its sound when on', async ({ open, browser }) => {
    const downloads = fs.mkdtempSync(path.join(tmp, 'dl-'));
    await browser.send('Browser.setDownloadBehavior', { behavior: 'allow', downloadPath: downloads });
    for (const [seed, sound, streams] of [[4, '0', ['video']], [5, '1', ['audio', 'video']]]) {
      const page = await open(`#seed=${seed}&FireLaunchPct=0&SoundFX_ON=${sound}`);
      await page.ready();
      if (sound === '1') {
        // A key is the gesture that lets the page's sound start.
        for (const type of ['keyDown', 'keyUp']) await page.send('Input.dispatchKeyEvent', { type, key: 'a' });
        await waitFor(() => page.eval(`!!glintora.sound.node && glintora.sound.context.state === 'running'`), 10000,
                      'the sound of seed ' + seed);
      }
      // Clicked as a user does, whose gesture lets sound start.
      const click = () => page.send('Runtime.evaluate', { expression: `document.getElementById('record').click()`, userGesture: true });
      await click();
      const start = await page.eval('performance.now()');
      await waitFor(() => page.eval(`performance.now() - ${start} > 3000`), 10000, 'three seconds of recording');
      await click();
      const file = path.join(downloads, `glintora-seed-${seed}.webm`);
      await waitFor(() => fs.existsSync(file), 10000, 'the recording of seed ' + seed);
      const probe = (args) => execFileSync('ffprobe', ['-v', 'error', ...args, '-of', 'csv=p=0', file]).toString().trim().split('\n');
      expectEqual(probe(['-show_entries', 'stream=codec_type']).sort(), streams, 'streams of seed ' + seed);
      expectEqual(probe(['-select_streams', 'v', '-show_entries', 'stream=width,height']), [W + ',' + H], 'video size');
      const times = probe(['-select_streams', 'v', '-show_entries', 'packet=pts_time']).map(parseFloat).filter(Number.isFinite);
      if (!(Math.max(...times) > 2.5)) throw new Error('the video ends at ' + Math.max(...times) + ' s');
      // Every frame decodes, and the show lit the last one.
      const frames = execFileSync('ffmpeg', ['-v', 'error', '-i', file, '-map', '0:v', '-fps_mode', 'passthrough',
                                             '-vf', 'scale=80:50,format=gray', '-f', 'rawvideo', '-'], { maxBuffer: 1 << 26 });
      const last = frames.subarray(frames.length - 4000);
      if (frames.length < 20 * 4000 || last.filter((v) => v > 64).length < 5) {
        throw new Error((frames.length / 4000) + ' frames decoded, ' + last.filter((v) => v > 64).length + ' lit pixels in the last');
      }
    }
  }],

  ['the page installs, runs with its server stopped after one load, and a new build replaces what it kept', async ({ browser }) => {
    // A copy on its own origin, so the worker keeps nothing of the other cases' server.
    const dir = path.join(tmp, 'app');
    fs.cpSync(webDir, dir, { recursive: true });
    const { server, origin } = await serve(dir);
    const page = await browser.open(origin + '/#seed=3&FireLaunchPct=0', W, H);
    // Across a reload the page may have no document to ask for a moment.
    const ask = (expression) => page.eval(expression).catch(() => null);
    try {
      await page.ready();
      expectEqual(await page.send('Page.getInstallabilityErrors'), { installabilityErrors: [] }, 'installability');
      const kept = await waitFor(() => ask(`navigator.serviceWorker.getRegistration()
        .then((r) => r && r.active && r.active.state === 'activated' && caches.keys())`), 30000, 'the worker');
      const index = path.join(dir, 'index.html');
      fs.writeFileSync(index, fs.readFileSync(index, 'utf8').replace('<title>Glintora Fireworks', '<title>Rebuilt'));
      execFileSync(process.execPath, [path.join(__dirname, '../../web/make_worker.js'), dir]);
      await page.send('Page.reload');
      await waitFor(async () => { const k = await ask('caches.keys()'); return k && k.length === 1 && k[0] !== kept[0]; },
                    30000, 'the new build kept in place of ' + JSON.stringify(kept));
      server.close();
      server.closeAllConnections();
      await new Promise((resolve, reject) => http.get(origin, () => reject(new Error('the server still answers')))
        .on('error', resolve));
      await page.send('Page.reload');
      await waitFor(() => ask(`document.title.startsWith('Rebuilt') && glintora.stats.frames > 0`), 30000,
                    'the new build showing offline');
      await stillRunning(page);
      await waitFor(async () => (await page.eval(kLitHues)).lit > 50, 5000, 'the offline show lighting up');
    } finally {
      server.close();
      await page.close().catch(() => {});
    }
  }],

  ['the server answers a malformed address with 400 and goes on serving', async () => {
    // The program as users start it, so that a throw ends only the child.
    const server = spawn(process.execPath, [path.join(__dirname, '../../web/serve.js'), webDir, '0'],
                         { stdio: ['ignore', 'pipe', 'inherit'] });
    try {
      let said = '';
      server.stdout.on('data', (d) => { said += d; });
      const origin = await waitFor(() => (/http:\/\/127\.0\.0\.1:\d+/.exec(said) || [])[0], 10000, 'the server');
      const status = (address) => new Promise((resolve, reject) => {
        const req = http.get(origin + address, (res) => { res.resume(); resolve(res.statusCode); });
        req.setTimeout(10000, () => req.destroy(new Error('no answer to ' + address)));
        req.on('error', reject);
      });
      const answers = [];
      for (const address of ['/%00', '/%', '/%E0%A4%A', '//', '/index.html']) answers.push(await status(address));
      expectEqual(answers, [400, 400, 400, 400, 200], 'answers');
    } finally {
      server.kill();
    }
  }],
];

(async () => {
  const { server, origin } = await serve(webDir);
  const browser = await Browser.launch();
  let passed = 0, failed = 0;
  try {
    for (const [name, run] of cases) {
      const pages = [];
      const open = async (fragment) => { const p = await browser.open(origin + '/' + fragment, W, H); pages.push(p); return p; };
      try {
        await run({ open, browser });
        ++passed;
        console.log('ok ' + name);
      } catch (e) {
        ++failed;
        console.log('FAILED ' + name + '\n  ' + e.message);
      }
      for (const p of pages) await p.close().catch(() => {});
    }
  } finally {
    await browser.close();
    server.close();
    fs.rmSync(tmp, { recursive: true, force: true });
  }
  console.log(passed + ' passed, ' + failed + ' failed');
  process.exit(failed ? 1 : 0);
})().catch((e) => { console.error(e); process.exit(2); });
