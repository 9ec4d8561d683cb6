// The page around the module: the show on a canvas and its sound, the settings panel, templates,
// links and recording.
// Appended to the module's loader, so the page loads one script.
'use strict';

// Installed as an app, the page runs offline from the files its worker keeps.
if ('serviceWorker' in navigator) {
  navigator.serviceWorker.register('service-worker.js').catch(() => {});
}

Module['onRuntimeInitialized'] = function () {
  // A full link is about 3 KB; anything far longer is refused before it reaches the module.
  const kMaxText = 8192;
  const kNoMemory = 'there is not enough memory';

  // Texts go to the module on its heap, not on its stack (ccall's way), which a long one overruns.
  // Null when the heap has no room.
  function withText(text, call) {
    const size = lengthBytesUTF8(text) + 1;
    const ptr = _malloc(size);
    if (!ptr) return null;
    try {
      stringToUTF8(text, ptr, size);
      return call(ptr);
    } finally {
      _free(ptr);
    }
  }

  const setText = cwrap('gw_set', 'number', ['string', 'number']);
  const linkText = cwrap('gw_link', 'string', ['number', 'number']);
  const api = {
    start: cwrap('gw_start', null, ['number', 'number', 'number']),
    width: cwrap('gw_width', 'number', []),
    height: cwrap('gw_height', 'number', []),
    frame: cwrap('gw_frame', 'number', []),
    pixels: cwrap('gw_pixels', 'number', []),
    framebuffer: cwrap('gw_framebuffer', 'number', []),
    frames: cwrap('gw_frames', 'number', []),
    delay: cwrap('gw_delay', 'number', []),
    hash: cwrap('gw_hash', 'string', []),
    message: cwrap('gw_message', 'string', []),
    fields: cwrap('gw_fields', 'string', []),
    values: cwrap('gw_values', 'string', []),
    set: (key, text) => withText(text, (ptr) => setText(key, ptr)),
    theme: cwrap('gw_theme', null, ['number']),
    factory: cwrap('gw_factory', null, []),
    exportText: cwrap('gw_export', 'string', []),
    changed: cwrap('gw_changed', 'string', []),
    link: (lines, seed) => withText(lines, (ptr) => linkText(ptr, seed)),
    templateLimit: cwrap('gw_template_limit', 'number', []),
    hear: cwrap('gw_hear', null, ['number']),
    mix: cwrap('gw_mix', 'number', ['number']),
    track: cwrap('gw_track', 'number', ['number']),
    trackSize: cwrap('gw_track_size', 'number', []),
  };
  const help = window.GLINTORA_HELP || { topics: {}, parts: {} };
  const $ = (id) => document.getElementById(id);
  const canvas = $('show');
  const context = canvas.getContext('2d', { alpha: false });

  // What the tests and the benchmark read: frames drawn, the page's work per frame (the sound
  // mixed since the last frame included), lateness, and from a burst to its boom in ms.
  const stats = { frames: 0, work: [], late: [], hash200: null, notices: [], seed: 0, soundDelay: [] };
  window.glintora = { stats, api };

  let seed = 0;
  let picture = null;
  let due = 0;
  let lastMessageCount = -1;
  let asked = [0, 0];  // the size asked of the module when the show last started

  function newSeed() { return Math.floor(Math.random() * 4294967296); }

  // After the module started a show again (a new size, seed or setting).
  function restarted() {
    picture = null;
    due = performance.now();
    stats.hash200 = null;
    stats.seed = seed;
    lastMessageCount = -1;
  }

  // The show draws at the screen's own pixels, as the native hosts do: a phone's 390 CSS pixels
  // at a ratio of 3 are 1170. Past a 4K screen's worth (the engine's work grows with the pixels,
  // and a frame has its delay to run in) it draws coarser, but never coarser than a CSS pixel.
  const kMaxPixels = 3840 * 2160;
  function drawnSize() {
    const w = Math.max(1, window.innerWidth), h = Math.max(1, window.innerHeight);
    const scale = Math.min(window.devicePixelRatio || 1, Math.max(1, Math.sqrt(kMaxPixels / (w * h))));
    return [Math.max(1, Math.round(w * scale)), Math.max(1, Math.round(h * scale))];
  }

  // The module draws at most 8192 pixels a side: the canvas takes the size it draws.
  function restart() {
    asked = drawnSize();
    api.start(asked[0], asked[1], seed);
    canvas.width = api.width();
    canvas.height = api.height();
    restarted();
  }

  // Puts the rectangles that changed (a count, then left, top, right, bottom each) on the canvas.
  function upload(rects) {
    const w = canvas.width, h = canvas.height;
    if (!picture || picture.data.buffer !== HEAPU8.buffer) {
      picture = new ImageData(new Uint8ClampedArray(HEAPU8.buffer, api.pixels(), w * h * 4), w, h);
    }
    const count = HEAP32[rects >> 2];
    for (let i = 0, at = (rects >> 2) + 1; i < count; ++i, at += 4) {
      const left = HEAP32[at], top = HEAP32[at + 1], right = HEAP32[at + 2], bottom = HEAP32[at + 3];
      if (right > left && bottom > top) context.putImageData(picture, 0, 0, left, top, right - left, bottom - top);
    }
  }

  function showMessage() {
    const m = JSON.parse(api.message());
    if (m.count === lastMessageCount) return;
    lastMessageCount = m.count;
    const label = $('message');
    label.textContent = m.text;
    const c = m.colour;
    label.style.color = 'rgb(' + (c & 255) + ',' + ((c >> 8) & 255) + ',' + ((c >> 16) & 255) + ')';
  }

  // Paced at the frame delay: a frame is due delay ms after the last was due; half a display
  // refresh early counts as on time, so a 40 ms delay at 60 Hz alternates 33 and 50 ms.
  function tick(now) {
    requestAnimationFrame(tick);
    if (now >= due - 8) drawFrame(now);
    feedSound();
  }

  function drawFrame(now) {
    const delay = api.delay();
    stats.late.push(Math.max(0, now - due));
    due = Math.max(due + delay, now - delay);
    const t0 = performance.now();
    upload(api.frame());
    stats.work.push(performance.now() - t0 + sound.work);
    sound.work = 0;
    if (stats.work.length > 2000) { stats.work.splice(0, 1000); stats.late.splice(0, 1000); }
    stats.frames = api.frames();
    if (stats.frames === 200) stats.hash200 = api.hash();
    showMessage();
  }

  function notice(text) {
    stats.notices.push(text);
    const n = $('notice');
    n.textContent = text;
    n.hidden = false;
    clearTimeout(notice.timer);
    notice.timer = setTimeout(() => { n.hidden = true; }, 6000);
  }

  // --- sound ---
  // The module mixes on this thread, kLead ahead of what the audio thread plays; the worklet only
  // copies queued samples out, so a late page leaves a gap, never a late audio callback. Samples
  // go through a shared ring where the page is cross-origin isolated, else as messages (each
  // costs the page a few tenths of a millisecond, more than mixing it).

  const kRate = 48000;
  const kLead = 0.05;  // seconds
  const kRingFrames = 16384;
  const kWorklet = `'use strict';
class GlintoraSound extends AudioWorkletProcessor {
  constructor(options) {
    super();
    const ring = options.processorOptions.ring;
    if (ring) {
      this.index = new Int32Array(ring, 0, 2);  // sample frames written, read
      this.data = new Int16Array(ring, 8);
    }
    this.queue = [];  // chunks of interleaved 16-bit stereo
    this.at = 0;
    this.played = 0;  // sample frames taken from the queue
    this.quanta = 0;
    this.port.onmessage = (e) => { this.queue.push(e.data); };
  }
  process(inputs, outputs) {
    const [left, right] = outputs[0];
    let i = 0;
    if (this.data) {
      const mask = this.data.length / 2 - 1;
      let read = Atomics.load(this.index, 1);
      const n = Math.min(left.length, (Atomics.load(this.index, 0) - read) | 0);
      for (; i < n; ++i, read = (read + 1) | 0) {
        const k = 2 * (read & mask);
        left[i] = this.data[k] / 32768;
        right[i] = this.data[k + 1] / 32768;
      }
      Atomics.store(this.index, 1, read);
      return true;
    }
    while (i < left.length && this.queue.length) {
      const chunk = this.queue[0];
      for (; i < left.length && this.at < chunk.length; ++i, this.at += 2) {
        left[i] = chunk[this.at] / 32768;
        right[i] = chunk[this.at + 1] / 32768;
      }
      if (this.at >= chunk.length) { this.queue.shift(); this.at = 0; }
    }
    this.played += i;
    if (++this.quanta % 8 === 0) this.port.postMessage({ played: this.played, time: currentTime });
    return true;
  }
}
registerProcessor('glintora-sound', GlintoraSound);
`;
  // sent: sample frames handed over; ring: the shared one; played and time: the worklet's last
  // report, without a ring.
  const sound = { context: null, node: null, ring: null, sent: 0, played: 0, time: 0, work: 0 };
  window.glintora.sound = sound;

  function soundWanted() { return JSON.parse(api.values()).SoundFX_ON === '1'; }

  // Starts the output in the toggle's click; a page opened with sound on by a link or template
  // waits for the first click or key, as browsers allow.
  function startSound() {
    const context = new AudioContext({ sampleRate: kRate, latencyHint: 'interactive' });
    let ring = null;
    if (window.crossOriginIsolated) {
      const shared = new SharedArrayBuffer(8 + 4 * kRingFrames);
      ring = { shared, index: new Int32Array(shared, 0, 2), data: new Int16Array(shared, 8) };
    }
    Object.assign(sound, { context, node: null, ring, sent: 0, played: 0, time: 0 });
    const url = URL.createObjectURL(new Blob([kWorklet], { type: 'text/javascript' }));
    context.audioWorklet.addModule(url).then(() => {
      URL.revokeObjectURL(url);
      if (sound.context !== context) return;
      const node = new AudioWorkletNode(context, 'glintora-sound', {
        numberOfInputs: 0, numberOfOutputs: 1, outputChannelCount: [2],
        processorOptions: { ring: ring && ring.shared } });
      node.port.onmessage = (e) => { if (sound.node === node) Object.assign(sound, e.data); };
      node.connect(context.destination);
      sound.node = node;
      heard();
    }, () => notice('Sound cannot play in this browser.'));
    context.onstatechange = heard;
    if (document.hidden) context.suspend();
    else context.resume().catch(() => {});
  }

  function stopSound() {
    const context = sound.context;
    Object.assign(sound, { context: null, node: null });
    if (context) context.close().catch(() => {});
    heard();
  }

  // The module mixes the show's events only while the output runs.
  function heard() {
    const on = !!(sound.node && sound.context.state === 'running');
    api.hear(on ? 1 : 0);
    if (!on && sound.context && !document.hidden && sound.context.state === 'suspended' && !heard.asked) {
      heard.asked = true;
      notice('Sound is on: click or press a key to hear it.');
    }
  }

  // Record's share of the sound: a tap on the worklet's output while it plays, null while silent.
  // Released, it leaves the graph and its track ends, or every recording would leave one behind.
  function soundTap() {
    if (!sound.node) return null;
    const node = sound.node, tap = sound.context.createMediaStreamDestination();
    node.connect(tap);
    return {
      tracks: tap.stream.getAudioTracks(),
      release() {
        try { node.disconnect(tap); } catch (e) { /* its context is closed: nothing is connected */ }
        tap.stream.getTracks().forEach((t) => t.stop());
      },
    };
  }

  function syncSound() {
    const wanted = soundWanted();
    $('sound').checked = wanted;
    if (wanted && !sound.context) startSound();
    else if (!wanted && sound.context) stopSound();
  }

  // Tops the worklet's queue up to kLead ahead of what it has played (without a ring, estimated
  // from its last report and the audio clock since).
  function feedSound() {
    if (!sound.node || sound.context.state !== 'running') return;
    const t0 = performance.now();
    const queued = sound.ring ? (sound.sent - Atomics.load(sound.ring.index, 1)) | 0
      : sound.sent - Math.min(sound.sent, sound.played + Math.max(0, sound.context.currentTime - sound.time) * kRate);
    const frames = Math.floor(kLead * kRate - queued);
    if (frames >= 128) {
      const at = api.mix(frames) >> 1;
      const samples = HEAP16.subarray(at, at + 2 * frames);
      if (sound.ring) {
        const data = sound.ring.data, from = (2 * sound.sent) % data.length;
        const first = Math.min(samples.length, data.length - from);
        data.set(samples.subarray(0, first), from);
        data.set(samples.subarray(first), 0);
        Atomics.store(sound.ring.index, 0, (sound.sent + frames) | 0);
      } else {
        const chunk = samples.slice();
        sound.node.port.postMessage(chunk, [chunk.buffer]);
      }
      sound.sent += frames;
      // What a boom mixed now waits: the queue ahead of it, then the output's own latency.
      const delay = queued / kRate + sound.context.baseLatency + (sound.context.outputLatency || 0);
      stats.soundDelay.push(delay * 1000);
      if (stats.soundDelay.length > 2000) stats.soundDelay.splice(0, 1000);
    }
    sound.work += performance.now() - t0;
  }

  // A hidden tab draws nothing; its sound pauses with it, what was queued waiting.
  function soundVisibility() {
    if (!sound.context) return;
    if (document.hidden) sound.context.suspend();
    else sound.context.resume().catch(() => {});
  }

  // --- the panel ---

  const inputs = {};
  function helpOf(topic) { return help.topics[topic] || { title: '', text: '' }; }

  function addField(parent, key, caption, kind, topic, range) {
    const row = document.createElement('label');
    row.className = 'field';
    const name = document.createElement('span');
    name.textContent = caption;
    const input = document.createElement('input');
    input.type = kind === 'check' ? 'checkbox' : 'text';
    input.name = key;
    input.title = helpOf(topic).text;
    if (range) input.dataset.range = range;
    input.addEventListener('change', () => {
      const text = kind === 'check' ? (input.checked ? '1' : '0') : input.value;
      const why = text.length > kMaxText ? 'the text is longer than ' + kMaxText + ' characters'
        : api.set(key, text) === null ? kNoMemory : '';
      if (why) notice('Setting not used: ' + why + '.');
      else restarted();
      refresh();
    });
    input.addEventListener('focus', () => {
      $('help').textContent = helpOf(topic).text;
    });
    row.append(name, input);
    parent.append(row);
    inputs[key] = input;
  }

  function group(title, open) {
    const d = document.createElement('details');
    d.open = !!open;
    const s = document.createElement('summary');
    s.textContent = title;
    d.append(s);
    $('fields').append(d);
    return d;
  }

  function buildPanel() {
    const f = JSON.parse(api.fields());
    const themes = $('theme');
    f.themes.forEach((name, i) => themes.add(new Option(name, String(i + 1))));
    const pages = { '-1': group(help.parts['0'] || 'Main properties', true) };
    for (let p = 0; p <= 8; ++p) pages[p] = group(help.parts[String(p + 1)] || 'Page ' + (p + 1));
    for (const x of f.fire) addField(pages[x.page], x.key, x.caption, 'text', x.help, x.lo + '..' + x.hi);
    for (const x of f.checks) addField(pages[x.page], x.key, x.caption, 'check', x.help);
    const colours = group(help.parts['10'] || 'Colours');
    for (const x of f.colour) {
      addField(colours, x.key, helpOf(x.help).title + ' (' + x.lo + ' - ' + x.hi + '):', 'text', x.help,
               x.lo + '..' + x.hi);
    }
    const advanced = group('Advanced');
    const advCaptions = { Adv_TimeDelay: 'Frame delay in ms', FocalLength: 'Focal length',
                          Adv_FontHueV: 'Message hue', LockMessage: 'Message' };
    for (const x of f.advanced) {
      const caption = advCaptions[x.key] + (x.text ? ':' : ' (' + x.lo + ' - ' + x.hi + '):');
      addField(advanced, x.key, caption, 'text', 500, x.text ? '' : x.lo + '..' + x.hi);
    }
  }

  function refresh() {
    const v = JSON.parse(api.values());
    for (const key in inputs) {
      const input = inputs[key];
      if (input.type === 'checkbox') input.checked = v[key] === '1';
      else input.value = v[key];
    }
    syncSound();
  }

  // --- templates ---

  function importBytes(bytes) {
    const ptr = _malloc(bytes.length + 1);
    if (!ptr) { notice('Template not used: ' + kNoMemory + '.'); return; }
    HEAPU8.set(bytes, ptr);
    const why = ccall('gw_import', 'string', ['number', 'number'], [ptr, bytes.length]);
    _free(ptr);
    if (why) notice('Template not used: ' + why + '.');
    else { $('theme').value = '0'; restarted(); }
    refresh();
  }

  function importFile(file) {
    if (!file) return;
    if (file.size > api.templateLimit()) {
      notice('Template not used: the file is larger than a template can be.');
      return;
    }
    file.arrayBuffer().then((b) => importBytes(new Uint8Array(b)),
                            () => notice('Template not used: the file cannot be read.'));
  }

  function download(blob, name) {
    const a = document.createElement('a');
    a.href = URL.createObjectURL(blob);
    a.download = name;
    document.body.append(a);
    a.click();
    a.remove();
    setTimeout(() => URL.revokeObjectURL(a.href), 10000);
  }

  function exportTemplate() {
    download(new Blob([api.exportText()], { type: 'application/octet-stream' }), 'glintora.glx');
  }

  // --- links ---

  function currentLink() {
    const parts = ['seed=' + seed];
    for (const line of api.changed().split('\n')) {
      if (!line) continue;
      const eq = line.indexOf('=');
      parts.push(line.slice(0, eq) + '=' + encodeURIComponent(line.slice(eq + 1)));
    }
    return location.href.split('#')[0] + '#' + parts.join('&');
  }

  function copyLink() {
    const url = currentLink();
    history.replaceState(null, '', url);
    $('link').value = url;
    $('link').hidden = false;
    $('link').select();
    if (navigator.clipboard) navigator.clipboard.writeText(url).catch(() => {});
  }

  // Applies a link's fragment; false (with a notice) when it is refused, nothing changed.
  function applyLink(fragment) {
    if (fragment.length > kMaxText) {
      notice('Link not used: it is longer than ' + kMaxText + ' characters.');
      return false;
    }
    let linkSeed = null;
    const lines = [];
    try {
      for (const part of fragment.split('&')) {
        if (!part) continue;
        const eq = part.indexOf('=');
        const key = eq < 0 ? part : part.slice(0, eq);
        const value = eq < 0 ? '' : decodeURIComponent(part.slice(eq + 1));
        if (key === 'seed') {
          if (!/^\d{1,15}$/.test(value)) throw new Error('the seed is not a whole number');
          linkSeed = Number(value);
        } else {
          if (/[\n=]/.test(key) || value.includes('\n')) throw new Error('a setting is malformed');
          lines.push(key + '=' + value);
        }
      }
    } catch (e) {
      notice('Link not used: ' + (e instanceof URIError ? 'it is not a valid address' : e.message) + '.');
      return false;
    }
    const chosen = linkSeed === null ? newSeed() : linkSeed;
    const why = api.link(lines.join('\n'), chosen);
    if (why !== '') {
      notice('Link not used: ' + (why === null ? kNoMemory : why) + '.');
      return false;
    }
    seed = chosen;
    const size = drawnSize();
    if (asked[0] !== size[0] || asked[1] !== size[1]) restart();
    else restarted();
    $('theme').value = '0';
    refresh();
    return true;
  }

  // --- recording ---

  // The show to a .webm named after its seed: the canvas, and the sound when the page has some.
  // The parts stay in memory until the end, so a recording stops itself at recordLimit bytes
  // (1 GiB, about 17 minutes at 1920x1080; a test may lower it).
  let recorder = null;
  window.glintora.recordLimit = 2 ** 30;

  function recordingState(on) {
    $('record').textContent = on ? 'Stop recording' : 'Record';
    $('record').classList.toggle('on', on);
  }

  function startRecording() {
    if (typeof MediaRecorder === 'undefined' || !canvas.captureStream) {
      notice('Recording is not possible in this browser.');
      return;
    }
    const tap = soundTap();
    const video = canvas.captureStream().getVideoTracks();
    const sound = tap ? tap.tracks : [];
    const release = () => { video.forEach((t) => t.stop()); if (tap) tap.release(); };
    const codecs = sound.length ? ['vp9,opus', 'vp8,opus'] : ['vp9', 'vp8'];
    const type = codecs.map((c) => 'video/webm;codecs=' + c).find((t) => MediaRecorder.isTypeSupported(t)) || 'video/webm';
    const name = 'glintora-seed-' + seed + '.webm';
    const chunks = [];
    let kept = 0;
    let r;
    try {
      // Sparks are small and many: about 8 Mbit/s at 1920x1080 keeps them sharp.
      r = new MediaRecorder(new MediaStream([...video, ...sound]),
                            { mimeType: type, videoBitsPerSecond: Math.min(25e6, canvas.width * canvas.height * 4) });
    } catch (e) {
      release();
      notice('Recording is not possible: ' + e.message);
      return;
    }
    r.ondataavailable = (e) => {
      if (!e.data.size) return;
      chunks.push(e.data);
      kept += e.data.size;
      const limit = window.glintora.recordLimit;
      if (kept >= limit && r.state === 'recording') {
        r.stop();
        const mb = Math.round(limit / 2 ** 20 * 10) / 10;
        notice('Recording stopped: it reached ' + mb + ' MB, the most one recording keeps. It is saved.');
      }
    };
    r.onerror = (e) => notice('Recording stopped: ' + (e.error ? e.error.message : 'the recorder failed') + '.');
    r.onstop = () => {
      release();
      recorder = null;
      recordingState(false);
      if (chunks.length) download(new Blob(chunks, { type: 'video/webm' }), name);
    };
    r.start(1000);
    recorder = r;
    recordingState(true);
  }

  function toggleRecording() {
    if (recorder) recorder.stop();
    else startRecording();
  }

  // --- wiring ---

  buildPanel();
  seed = newSeed();
  const fragment = location.hash.slice(1);
  restart();
  if (fragment) applyLink(fragment);
  refresh();
  requestAnimationFrame(tick);

  window.addEventListener('hashchange', () => { if (location.hash.length > 1) applyLink(location.hash.slice(1)); });
  let resizeTimer = 0;
  const resized = () => {
    clearTimeout(resizeTimer);
    resizeTimer = setTimeout(restart, 150);
  };
  window.addEventListener('resize', resized);
  // Moved to a screen of another density, the window may keep its size but not its pixels.
  (function watchDensity() {
    matchMedia('(resolution: ' + window.devicePixelRatio + 'dppx)').addEventListener('change', () => {
      resized();
      watchDensity();
    }, { once: true });
  })();
  $('toggle').addEventListener('click', () => { $('panel').classList.toggle('closed'); });
  $('fullscreen').addEventListener('click', () => {
    document.documentElement.requestFullscreen().catch(() => notice('Full screen is not allowed here.'));
  });
  $('theme').addEventListener('change', () => {
    const n = Number($('theme').value);
    if (n >= 1) { api.theme(n); restarted(); refresh(); }
  });
  $('factory').addEventListener('click', () => { api.factory(); $('theme').value = '0'; restarted(); refresh(); });
  $('newshow').addEventListener('click', () => { seed = newSeed(); restart(); });
  $('open').addEventListener('change', () => { importFile($('open').files[0]); $('open').value = ''; });
  $('save').addEventListener('click', exportTemplate);
  $('record').addEventListener('click', toggleRecording);
  $('copylink').addEventListener('click', copyLink);
  $('sound').addEventListener('change', () => { api.set('SoundFX_ON', $('sound').checked ? '1' : '0'); syncSound(); });
  document.addEventListener('visibilitychange', soundVisibility);
  for (const gesture of ['pointerdown', 'keydown']) {
    window.addEventListener(gesture, () => { if (sound.context && !document.hidden) sound.context.resume().catch(() => {}); });
  }
  window.addEventListener('dragover', (e) => e.preventDefault());
  window.addEventListener('drop', (e) => {
    e.preventDefault();
    importFile(e.dataTransfer.files[0]);
  });
};
