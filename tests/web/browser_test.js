// The page in headless Chromium: the show lights up at the screen's own pixels, the panel applies
// the dialogs' rules and fits a phone, templates and links carry the settings, the same seed draws
// the same frame and mixes the same sound track as glintora-render, the Sound toggle is heard,
// bad input leaves the show and its server running, Record keeps a video with its sound and
// leaves nothing behind, and the page works offline without taking over its site.
// Usage: node tests/web/browser_test.js BUILD_WEB RENDER   (ONLY=text runs the cases naming it)
'use strict';
const fs = require('fs');
const os = require('os');
const path = require('path');
const crypto = require('crypto');
const { execFileSync } = require('child_process');
const { serve, waitFor, Browser } = require('./browser.js');

const [webDir, renderTool] = process.argv.slice(2);
const W = 640, H = 400;
const tmp = fs.mkdtempSync(path.join(os.tmpdir(), 'glintora-web-'));
const downloads = path.join(tmp, 'downloads');

const expectEqual = (actual, expected, what) => { const [a, e] = [JSON.stringify(actual), JSON.stringify(expected)];
  if (a !== e) throw new Error(`${what}: expected ${e}, got ${a}`); };

// The panel's field values by key, as the page shows them.
const kValues = `Object.fromEntries([...document.querySelectorAll('#fields input')]
  .map((i) => [i.name, i.type === 'checkbox' ? (i.checked ? '1' : '0') : i.value]))`;

// The canvas's lit pixels, in how many of twelve hue sectors at least 20 of them fall, and whether
// it shows exactly the engine's framebuffer (true between two frames).
const kCanvas = `(() => {
  const c = document.getElementById('show'), d = c.getContext('2d').getImageData(0, 0, c.width, c.height).data;
  const fb = new Uint32Array(HEAPU8.buffer, glintora.api.framebuffer(), c.width * c.height);
  const sectors = new Array(12).fill(0); let lit = 0, same = 'same';
  for (let i = 0; i < d.length; i += 4) {
    const r = d[i], g = d[i + 1], b = d[i + 2], max = Math.max(r, g, b), span = max - Math.min(r, g, b);
    if ((r | (g << 8) | (b << 16)) !== (fb[i / 4] & 0xFFFFFF) && same === 'same') same = 'pixel ' + i / 4;
    if (max < 64) continue;
    ++lit;
    const h = max === r ? (g - b) / span : max === g ? 2 + (b - r) / span : 4 + (r - g) / span;
    if (span >= 40) sectors[Math.floor((h * 60 + 360) % 360 / 30)]++;
  }
  return { lit, hues: sectors.filter((n) => n >= 20).length, same }; })()`;
// Waits for the show to light over 50 pixels of at least that many hues.
const lights = (page, ms = 5000, hues = 0) => page.until(`(({ lit, hues }) => lit > 50 && hues >= ${hues})(${kCanvas})`,
                                                        ms, `${hues} hues lit`);

// Types text into a field and leaves it, as a user does.
function enter(page, key, text) {
  return page.eval(`(() => { const i = document.querySelector('#fields input[name=${key}]');
    i.focus(); i.value = ${JSON.stringify(text)}; i.dispatchEvent(new Event('change')); i.blur(); })()`);
}

async function importFile(page, name, text) {
  fs.writeFileSync(path.join(tmp, name), text);
  await (await page.$('#open')).uploadFile(path.join(tmp, name));
}

// The loudest sample an analyser on the page's sound output has seen since it was attached.
const kListen = `(() => { const s = glintora.sound, a = s.context.createAnalyser(), d = new Float32Array(a.fftSize);
  s.node.connect(a); window.loudest = 0;
  (function look() { a.getFloatTimeDomainData(d); for (const x of d) loudest = Math.max(loudest, Math.abs(x)); setTimeout(look, 10); })(); })()`;

// glintora-render at the page's seed and settings (its .glx), at W x H.
async function render(page, ...args) {
  const glx = path.join(tmp, 'page.glx');
  fs.writeFileSync(glx, await page.eval('glintora.api.exportText()'));
  return execFileSync(renderTool, ['--width', String(W), '--height', String(H), '--seed', String(await page.eval('glintora.stats.seed')),
                                   '--template', glx, ...args]).toString().trim();
}

// The show goes on: more frames are drawn after the check than before it.
async function stillRunning(page) {
  await page.until(`glintora.stats.frames > ${await page.eval('glintora.stats.frames') + 10}`);
}

// Runs act, which the page must refuse with a notice, the settings and the show going on as before.
async function refused(page, before, what, act) {
  const notices = await page.eval('glintora.stats.notices.length');
  await act();
  await page.until(`glintora.stats.notices.length > ${notices}`, 5000, 'a notice for ' + what);
  expectEqual(await page.eval(kValues), before, 'settings after ' + what);
  await stillRunning(page);
}

const kTemplate = ['[Admin]', 'Product=Glintora Fireworks', '[Advanced]', 'Adv_TimeDelay=10', 'LockMessage=Happy new year',
  'FocalLength=1.5', '[General]', 'ColorRed=80', '[PixelColor]', 'ColorHueWheel=90',
  '[Fireworks]', 'FireWorks=20', 'FireSparks=900', 'FireSpeed=4.5', 'FireMultiMoment=0', ''].join('\r\n');

// Sound off, on (heard, through the ring or not), in a link, paused in a hidden tab, off again.
async function toggleSound(open, page, ring) {
  await page.ready();
  // Off: the show bursts, and no sound is made at all.
  await lights(page);
  expectEqual(await page.eval('[glintora.sound.context, glintora.sound.sent]'), [null, 0], 'sound while off');
  await page.click('#toggle');
  await page.click('#sound');
  await page.until('!!glintora.sound.node');
  expectEqual(await page.eval('!!glintora.sound.ring'), ring, 'a shared ring');
  await page.eval(kListen);
  await page.until('loudest > 0.01', 20000);
  // The link carries the sound; a tab in the background stops drawing and its sound, and in front
  // again both go on (once: the ring and the messages pause alike).
  if (ring) {
    await page.click('#copylink');
    if (!/[#&]SoundFX_ON=1(&|$)/.test(await page.eval(`link.value`))) throw new Error('no sound in the link');
    const other = await open('#seed=4');
    await page.until(`document.hidden && glintora.sound.context.state === 'suspended'`);
    const [frames, sent] = await page.eval('[glintora.stats.frames, glintora.sound.sent]');
    await other.until('glintora.stats.frames > 20', 30000);
    expectEqual(await page.eval('[glintora.stats.frames, glintora.sound.sent]'), [frames, sent], 'frames and sound while hidden');
    await page.bringToFront();
    await page.until(`glintora.sound.context.state === 'running' && glintora.stats.frames > ${frames + 10} &&
      glintora.sound.sent > ${sent + 4800}`);
  }
  await page.click('#sound');
  await page.until(`glintora.sound.context === null && !document.getElementById('sound').checked`);
}

// A window of width x height CSS pixels at a device pixel ratio draws its device pixels, up to
// 8192 a side, and past a 4K screen's worth (3840 x 2160) no finer than needed.
const kSizes = [[500, 300, 1, 500, 300], [9000, 200, 1, 8192, 200], [200, 9000, 1, 200, 8192], [1920, 1080, 3, 3840, 2160]];

const cases = [
  ['the show lights pixels of several hues within two seconds, frames come no faster than the delay, and a resize starts it again at its device pixels', async ({ open }) => {
    // Without launches the first shells burst at once (a launch climbs for 60 frames, 2.4 s).
    const page = await open('#seed=3&FireLaunchPct=0');
    await lights(page, 2000, 3);
    expectEqual((await page.eval(kCanvas)).same, 'same', 'the canvas against the framebuffer');
    // Counted in display frames, on the clock the page paces by: a frame is due a delay after the
    // last was due, 8 ms early at most, and a stall's backlog is caught up by one delay at most.
    await enter(page, 'Adv_TimeDelay', '100');
    const kAtFrame = 'new Promise((r) => requestAnimationFrame((t) => r([t, glintora.stats.frames])))';
    const start = await page.eval(kAtFrame);
    await page.until(`performance.now() - ${start[0]} > 1500`);
    const end = await page.eval(kAtFrame);
    const most = Math.floor((end[0] - start[0] + 108) / 100) + 2;
    if (end[1] - start[1] > most) throw new Error((end[1] - start[1]) + ' frames in ' + (end[0] - start[0]) + ' ms');
    for (const [width, height, deviceScaleFactor, drawnWidth, drawnHeight] of kSizes) {
      await page.setViewport({ width, height, deviceScaleFactor });
      await page.until(`(({ width, height }) => [show.width, show.height, width, height])(show.getBoundingClientRect()).join() ===
        '${[drawnWidth, drawnHeight, width, height]}'`);
      await stillRunning(page);
      if (width === 500) await lights(page, 10000);
      expectEqual((await page.eval(kCanvas)).same, 'same', `the canvas at ${width} x ${height} against the framebuffer`);
    }
  }],

  ['on a phone the show is drawn at its device pixels and the settings panel fits the screen', async ({ open }) => {
    for (const [width, height, scale] of [[390, 844, 3], [320, 568, 2]]) {
      const page = await open('#seed=3', width, height, scale, true);
      expectEqual(await page.eval(`[innerWidth, devicePixelRatio, show.width, show.height]`),
                  [width, scale, width * scale, height * scale], 'window and canvas');
      await page.click('#toggle');
      // Every part of the panel lies within the screen, and none is wider than the panel.
      const outside = await page.eval(`[...document.querySelectorAll('#panel, #panel > :not([hidden]), #panel .row > *')]
        .filter((e) => { const b = e.getBoundingClientRect(); return b.left < 0 || b.right > innerWidth || b.width === 0; })
        .map((e) => e.id || e.tagName).concat(panel.scrollWidth > panel.clientWidth ? ['the panel scrolls sideways'] : [])`);
      expectEqual(outside, [], `parts outside ${width} x ${height}`);
    }
  }],

  ['theme 13 fills the fields, a typed field is clamped and balanced as in the dialog, and a link carries it all to a fresh page', async ({ open }) => {
    // At the shortest delay a display frame allows, frame 200 comes sooner.
    const first = await open('#seed=11&Adv_TimeDelay=10');
    await first.select('#theme', '13');
    const v = await first.eval(kValues);
    expectEqual([v.FireWorks, v.FireSparks, v.FireLength, v.FireSpeed, v.FireDamping, v.FireDecayMSize, v.FireMultiMoment],
                ['14', '1000', '4', '7', '0.175', '500', '1'], 'theme 13');
    // Shells x sparks stays within 30000; a field left below or above its range takes the bound.
    const typed = [['FireSparks', '9999', { FireWorks: '3', FireSparks: '9999' }], ['FireWorks', '99', { FireWorks: '99', FireSparks: '303' }],
                   ['FireWorks', '0', { FireWorks: '1', FireSparks: '303' }], ['FirePersist', '0.01', { FirePersist: '0.25' }],
                   ['FocalLength', '20', { FocalLength: '10' }], ['FireSplinePct', '70', { FireSplinePct: '70', FirePatternPct: '25' }],
                   ['FirePatternPct', '60', { FireSplinePct: '40', FirePatternPct: '60' }],
                   ['ColorPctInt', '70', { ColorPctInt: '70', ColorPctHue: '30' }], ['LockMessage', 'a&b=c #1', { LockMessage: 'a&b=c #1' }]];
    for (const [key, text, expected] of typed) {
      await enter(first, key, text);
      const now = await first.eval(kValues);
      for (const k in expected) expectEqual(now[k], expected[k], key + ' typed ' + text + ': ' + k);
    }
    await first.eval(`document.getElementById('copylink').click()`);
    const link = await first.eval(`document.getElementById('link').value`);
    // A tab in the background draws nothing, so the first page reaches frame 200 before the second opens.
    const hash = await first.until('glintora.stats.hash200', 60000);
    const second = await open(link.slice(link.indexOf('#')));
    const [a, b] = [await first.eval(kValues), await second.eval(kValues)];
    expectEqual([b, b.FireDecayMSize, b.LockMessage, b.Adv_TimeDelay], [a, '500', 'a&b=c #1', '10'], 'settings in the fresh page');
    expectEqual(await second.until('glintora.stats.hash200', 60000), hash, 'frame 200 of the linked show');
  }],

  ['the Sound toggle plays the show through the audio graph, is carried in a link, and pauses with its tab', async ({ open, browser }) => {
    // Isolated, the samples go through a shared ring; served plainly, as messages.
    const plain = await serve(webDir, 0, false);
    try {
      await toggleSound(open, await open('#seed=3&FireLaunchPct=0'), true);
      await toggleSound(open, await browser.open(plain.origin + '/#seed=3&FireLaunchPct=0', W, H), false);
      // Sound on by a link waits for the first gesture, saying so, then plays.
      const linked = await open('#seed=3&SoundFX_ON=1');
      await linked.until(`glintora.stats.notices.includes('Sound is on: click or press a key to hear it.')`);
      expectEqual(await linked.eval(`[glintora.sound.context.state, glintora.sound.sent]`), ['suspended', 0], 'before a gesture');
      await linked.keyboard.press('a');
      await linked.until(`glintora.sound.context.state === 'running' && glintora.sound.sent > 0`);
    } finally {
      plain.server.close();
    }
  }],

  ['the same seed and settings, from a link or an imported .glx, draw the same frame 200 and mix the same sound track as glintora-render, at the same device pixels, and the .glx exports as imported', async ({ open }) => {
    // Sound on or off, at the page's frame delay; the third window is half the size at a device
    // pixel ratio of 2, drawing the same pixels; the last show takes its settings from a .glx.
    for (const [fragment, scale, glx] of [['#seed=5&SoundFX_ON=1&Adv_TimeDelay=10', 1], ['#seed=7&Adv_TimeDelay=10', 1],
                                          ['#seed=123456789&SoundFX_ON=1&FireLaunchPct=0&Adv_TimeDelay=20', 2], ['#seed=3', 1, kTemplate]]) {
      const page = await open(fragment, W / scale, H / scale, scale);
      if (glx) {
        await importFile(page, 'in.glx', glx);
        await page.until(`document.querySelector('input[name=FireWorks]').value === '20'`, 5000);
        await page.eval(`document.getElementById('save').click()`);
        const file = path.join(downloads, 'glintora.glx');
        await waitFor(() => fs.existsSync(file) && fs.statSync(file).size > 0, 10000, 'the download');
        const lines = fs.readFileSync(file, 'utf8').split('\r\n');
        expectEqual(glx.split('\r\n').slice(3).concat('FireSparkPix=5').filter((l) => l.includes('=') && !lines.includes(l)), [],
                    'settings missing from the exported file');
      }
      const hash = await page.until('glintora.stats.hash200', 60000);
      const [track, loudest] = await page.eval(`(async () => {
        const samples = new Int16Array(HEAP16.buffer, glintora.api.track(200), glintora.api.trackSize()).slice();
        const hash = new Uint8Array(await crypto.subtle.digest('SHA-256', samples));
        return [[...hash].map((x) => x.toString(16).padStart(2, '0')).join(''), samples.reduce((m, x) => Math.max(m, Math.abs(x)), 0)];
      })()`);
      const wavFile = path.join(tmp, 'page.wav'), rendered = await render(page, '--frames', '200', '--hash', '--wav', wavFile);
      const wav = fs.readFileSync(wavFile), data = wav.indexOf('data', 12);
      const wavHash = crypto.createHash('sha256').update(wav.subarray(data + 8, data + 8 + wav.readUInt32LE(data + 4))).digest('hex');
      expectEqual([hash, track, loudest > 1000], [rendered, wavHash, fragment.includes('SoundFX_ON=1')],
                  'frame 200, the sound track and whether it is heard, of ' + fragment);
    }
  }],

  ['a broken or oversized .glx or link, or a heap without room, leave the show and its settings as they were', async ({ open }) => {
    const page = await open('#seed=3&FireWorks=7');
    const before = await page.eval(kValues);
    const broken = [['binary.glx', '\u0000\u0001PNG garbage'], ['huge.glx', '[Fireworks]\r\nFireWorks=20\r\nFireSparks=99999\r\n'],
                    ['word.glx', '[Fireworks]\r\nFireSpeed=fast\r\n']];
    for (const [name, text] of broken) await refused(page, before, name, () => importFile(page, name, text));
    // A link of valid parts is refused too when it is far longer than any the page makes.
    for (const fragment of ['#seed=3&FireWorks=abc', '#seed=-1', '#seed=3&NoSuchKey=1', '#seed=3&FireWorks=%E0%A4%A',
                            '#seed=3&FireWorks=7' + '&seed=3'.repeat(2000)]) {
      await refused(page, before, fragment.slice(0, 40), () => page.eval(`location.hash = ${JSON.stringify(fragment)}`));
    }
    // Over 1.3 million characters a text would not fit the module's 5 MB stack (4 bytes a character).
    await refused(page, before, 'a long message typed', () => enter(page, 'LockMessage', 'a'.repeat(1400000)));
    await page.eval(`(() => { const malloc = _malloc; window.restoreMalloc = () => { _malloc = malloc; }; _malloc = () => 0; })()`);
    await refused(page, before, 'a template', () => importFile(page, 'small.glx', kTemplate));
    await refused(page, before, 'a link', () => page.eval(`location.hash = '#seed=3&FireWorks=9'`));
    await refused(page, before, 'a typed text', () => enter(page, 'FireWorks', '9'));
    await page.eval('restoreMalloc()');
    // A .glx over 64 KB is refused unread; one of 64 KB is read.
    const padded = (size) => kTemplate + '\n'.repeat(size - kTemplate.length);
    await page.eval(`(() => { const read = Blob.prototype.arrayBuffer; window.reads = 0;
      Blob.prototype.arrayBuffer = function () { ++window.reads; return read.call(this); }; })()`);
    await refused(page, before, 'a template of 65537 bytes', () => importFile(page, 'big.glx', padded(65537)));
    expectEqual(await page.eval('[window.reads, glintora.stats.notices.slice(-1)[0]]'),
                [0, 'Template not used: the file is larger than a template can be.'], 'reads and notice of 65537 bytes');
    await importFile(page, 'full.glx', padded(65536));
    await page.until(`document.querySelector('input[name=FireWorks]').value === '20'`, 5000);
    const fresh = await open('#seed=3&FireWorks=100');
    await fresh.until('glintora.stats.notices.length === 1', 5000);
    await lights(fresh);
  }],

  ['Record keeps the show as a .webm named after its seed, with its sound when on, stops itself at its limit, and leaves no tap or track behind', async ({ open }) => {
    // The sound taps made: whether each is still connected, and its track's state.
    const kTaps = `(() => { const connect = AudioNode.prototype.connect, disconnect = AudioNode.prototype.disconnect; window.taps = [];
      AudioNode.prototype.connect = function (to) { if (to instanceof MediaStreamAudioDestinationNode) taps.push(Object.assign(to, { linked: true }));
        return connect.apply(this, arguments); };
      AudioNode.prototype.disconnect = function (to) { if (to) to.linked = false; return disconnect.apply(this, arguments); }; })()`;
    // Seed, sound on, the size limit in bytes (none: stopped by hand after three seconds).
    for (const [seed, sound, limit] of [[4, '0', 0], [5, '1', 60000]]) {
      const page = await open(`#seed=${seed}&FireLaunchPct=0&SoundFX_ON=${sound}`);
      await page.keyboard.press('a');  // the gesture that lets the sound start
      await page.until(`${sound === '0'} || glintora.sound.context.state === 'running'`);
      await page.eval(kTaps + (limit ? `; glintora.recordLimit = ${limit}` : ''));
      await page.click('#record');
      const start = await page.eval('performance.now()');
      if (limit) {
        await page.until(`record.textContent === 'Record'`, 30000);
        expectEqual(await page.eval(`glintora.stats.notices.slice(-1)[0].startsWith('Recording stopped: it reached')`), true, 'a notice');
      } else {
        await page.until(`performance.now() - ${start} > 3000`);
        await page.click('#record');
      }
      const file = path.join(downloads, `glintora-seed-${seed}.webm`);
      await waitFor(() => fs.existsSync(file), 10000, 'the recording of seed ' + seed);
      expectEqual(await page.eval('taps.map((t) => [t.linked, t.stream.getTracks()[0].readyState])'),
                  sound === '1' ? [[false, 'ended']] : [], 'the sound tap after');
      const probe = (args) => execFileSync('ffprobe', ['-v', 'error', ...args, '-of', 'csv=p=0', file]).toString().trim().split('\n');
      expectEqual(probe(['-show_entries', 'stream=codec_type,width,height']).sort(), [...(sound === '1' ? ['audio'] : []), `video,${W},${H}`], 'streams');
      const ends = Math.max(...probe(['-select_streams', 'v', '-show_entries', 'packet=pts_time']).map(parseFloat).filter(Number.isFinite));
      const frames = execFileSync('ffmpeg', ['-v', 'error', '-i', file, '-map', '0:v', '-fps_mode', 'passthrough',
                                             '-vf', 'scale=80:50,format=gray', '-f', 'rawvideo', '-'], { maxBuffer: 1 << 26 });
      const lit = frames.subarray(frames.length - 4000).filter((v) => v > 64).length, size = fs.statSync(file).size;
      // Every frame decodes; stopped by hand, the video lasts the three seconds and the show lit its
      // last frame; stopped at its limit, it holds that much.
      if (frames.length < 10 * 4000 || (limit ? size < limit : ends <= 2.5 || lit < 5)) {
        throw new Error(`${frames.length / 4000} frames decoded over ${ends} s, ${lit} lit pixels in the last, ${size} bytes`);
      }
    }
  }],

  ['the worker keeps the page alone: other pages and 404s reach the server, offline the page runs, a rebuild or removal reaches returning visitors, and the retiring worker ends it', async ({ browser }) => {
    // A copy on its own origin, so the worker keeps nothing of the other cases' server; beside
    // the page, a site's other pages.
    const dir = path.join(tmp, 'app'), index = path.join(dir, 'index.html');
    fs.cpSync(webDir, dir, { recursive: true });
    fs.mkdirSync(path.join(dir, 'blog'));
    for (const [file, title] of [['other.html', 'Other'], ['blog/post.html', 'Post']]) fs.writeFileSync(path.join(dir, file), `<title>${title}</title>`);
    let { server, origin } = await serve(dir);
    // Across a navigation a page may have no document to ask for a moment.
    const ask = (p, expression) => p.eval(expression).catch(() => null);
    const visit = async (p, address) => [(await p.goto(origin + address, { waitUntil: 'domcontentloaded' })).status(),
                                         await ask(p, 'document.title')];
    try {
      const page = await browser.open(origin + '/#seed=3&FireLaunchPct=0', W, H);
      await page.ready();
      expectEqual(await page.send('Page.getInstallabilityErrors'), { installabilityErrors: [] }, 'installability');
      const kept = await waitFor(() => ask(page, `navigator.serviceWorker.getRegistration()
        .then((r) => r && r.active && r.active.state === 'activated' && caches.keys())`), 30000, 'the worker');
      const other = await browser.open(origin + '/other.html', W, H);
      for (const [address, status, title] of [['/other.html', 200, 'Other'], ['/blog/post.html', 200, 'Post'], ['/gone.html', 404]]) {
        const [gotStatus, gotTitle] = await visit(other, address);
        expectEqual([gotStatus, title && gotTitle], [status, title], 'the answer to ' + address);
      }
      // A new build shows from the next load, and what was kept is replaced.
      await page.bringToFront();
      fs.writeFileSync(index, fs.readFileSync(index, 'utf8').replace('<title>Glintora Fireworks', '<title>Rebuilt'));
      execFileSync(process.execPath, [path.join(__dirname, '../../web/make_worker.js'), dir]);
      await page.reload({ waitUntil: 'domcontentloaded' });
      await waitFor(async () => { const k = await ask(page, 'document.title.startsWith("Rebuilt") && caches.keys()');
        return k && k.length === 1 && k[0] !== kept[0]; }, 30000, 'the new build kept in place of ' + JSON.stringify(kept));
      // The server stopped, the kept page runs.
      server.closeAllConnections();
      await new Promise((resolve) => server.close(resolve));
      await page.reload({ waitUntil: 'domcontentloaded' });
      await waitFor(() => ask(page, `document.title.startsWith('Rebuilt') && glintora.stats.frames > 0`), 30000, 'the new build offline');
      await stillRunning(page);
      await lights(page);
      // Back online without the page, its address answers 404; the retiring worker ends what was kept.
      ({ server } = await serve(dir, Number(new URL(origin).port)));
      fs.rmSync(index);
      expectEqual((await visit(page, '/'))[0], 404, 'the removed page');
      fs.copyFileSync(path.join(dir, 'service-worker-retire.js'), path.join(dir, 'service-worker.js'));
      await visit(other, '/other.html');
      await waitFor(() => ask(other, `navigator.serviceWorker.getRegistrations().then(async (r) => r.length === 0 &&
        (await caches.keys()).length === 0)`), 30000, 'the worker and its files gone');
    } finally {
      server.closeAllConnections();
      server.close();
    }
  }],

  ['the server answers a malformed address with 400 and goes on serving', async ({ origin }) => {
    const answers = [];
    for (const address of ['/%00', '/%', '/%E0%A4%A', '//', '/index.html']) answers.push((await fetch(origin + address)).status);
    expectEqual(answers, [400, 400, 400, 400, 200], 'answers');
  }],
];

(async () => {
  const { server, origin } = await serve(webDir);
  const browser = await Browser.launch(downloads);
  const [blank] = await browser.pages();
  // A tab of the page at the fragment, once its show has started.
  const open = async (fragment, ...size) => {
    const page = await browser.open(origin + '/' + fragment, ...(size.length ? size : [W, H]));
    return (await page.ready(), page);
  };
  let passed = 0, failed = 0;
  try {
    for (const [name, run] of cases.filter(([name]) => name.includes(process.env.ONLY || ''))) {
      const t0 = Date.now();
      try {
        await run({ open, browser, origin });
        ++passed;
        console.log('ok ' + name + ' (' + ((Date.now() - t0) / 1000).toFixed(1) + ' s)');
      } catch (e) {
        ++failed;
        console.log('FAILED ' + name + '\n  ' + e.message);
      }
      for (const p of await browser.pages()) if (p !== blank) await p.close().catch(() => {});
    }
  } finally {
    await browser.close();
    server.close();
    fs.rmSync(tmp, { recursive: true, force: true });
  }
  console.log(passed + ' passed, ' + failed + ' failed');
  process.exit(failed ? 1 : 0);
})().catch((e) => { console.error(e); process.exit(2); });
