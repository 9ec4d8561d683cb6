// The page's own work per frame (engine, copy and canvas upload, and with sound the mixing, timed
// with performance.now in the page) and how late frames start against their delay, in headless
// Chromium at a given size with the factory settings, sound off or on (then also the wait from a
// burst being mixed to its boom leaving the output).
// Usage: node bench/web_frame.js [BUILD_WEB] [WIDTHxHEIGHT] [SECONDS] [sound]
'use strict';
const { serve } = require('../web/serve.js');
const { Browser, waitFor } = require('../tests/web/browser.js');

const [dir = 'build/web', size = '1920x1080', seconds = '20', sound = ''] = process.argv.slice(2);
const [width, height] = size.split('x').map(Number);

function summary(values) {
  const v = [...values].sort((a, b) => a - b);
  const at = (q) => v[Math.min(v.length - 1, Math.floor(q * v.length))];
  const mean = v.reduce((a, b) => a + b, 0) / v.length;
  return 'mean ' + mean.toFixed(2) + ' ms, median ' + at(0.5).toFixed(2) + ', p95 ' + at(0.95).toFixed(2) +
         ', max ' + v[v.length - 1].toFixed(2);
}

(async () => {
  const { server, origin } = await serve(dir);
  const browser = await Browser.launch();
  try {
    const page = await browser.open(origin + '/#seed=1' + (sound ? '&SoundFX_ON=1' : ''), width, height);
    await page.ready();
    if (sound) {
      // The click browsers want before they play.
      for (const type of ['mousePressed', 'mouseReleased']) {
        await page.send('Input.dispatchMouseEvent', { type, x: 10, y: 10, button: 'left', clickCount: 1 });
      }
      await waitFor(() => page.eval(`!!glintora.sound.node && glintora.sound.context.state === 'running'`), 10000, 'sound');
    }
    // Past the first launches, into bursts; then the last frames' figures.
    await new Promise((r) => setTimeout(r, Number(seconds) * 1000));
    const s = await page.eval(`({ work: glintora.stats.work.slice(-400), late: glintora.stats.late.slice(-400),
                                   frames: glintora.stats.frames, delay: glintora.api.delay(),
                                   sound: glintora.stats.soundDelay.slice(-400),
                                   size: [innerWidth, innerHeight] })`);
    console.log('page ' + s.size.join('x') + ', delay ' + s.delay + ' ms, ' + s.frames + ' frames in ' + seconds + ' s; last ' +
                s.work.length + ' frames:');
    console.log('  work per frame: ' + summary(s.work));
    console.log('  start after due: ' + summary(s.late));
    if (sound) console.log('  burst mixed to boom heard (without the distance): ' + summary(s.sound));
  } finally {
    await browser.close();
    server.close();
  }
})().catch((e) => { console.error(e); process.exit(1); });
