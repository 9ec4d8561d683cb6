// What the browser tests and the page benchmark share: the page's static server, and the
// system's Chromium in headless mode, driven through puppeteer-core (installed into
// tests/web/node_modules by `npm ci`, which scripts/deps runs).
'use strict';
const puppeteer = require('puppeteer-core');
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

// Chromium on a fresh profile (puppeteer makes it and removes it on close); downloads, when
// given a folder, are saved there unasked.
async function launch(downloadPath) {
  const browser = await puppeteer.launch({
    executablePath: process.env.CHROMIUM || '/usr/bin/chromium', headless: true, defaultViewport: null,
    args: ['--no-sandbox', '--disable-gpu', '--disable-quic', '--no-first-run', '--disable-background-networking',
           '--disable-component-update', '--disable-sync'],
    downloadBehavior: downloadPath && { policy: 'allow', downloadPath }, protocolTimeout: 120000 });
  // A new tab of width x height CSS pixels (scale device pixels each, a phone's when mobile),
  // showing url; page.response is its navigation's answer.
  browser.open = async (url, width, height, scale = 1, mobile = false) => {
    const page = await browser.newPage();
    page.setDefaultTimeout(60000);
    await page.setViewport({ width, height, deviceScaleFactor: scale, isMobile: mobile, hasTouch: mobile });
    const cdp = await page.createCDPSession();
    page.send = (method, params) => cdp.send(method, params);
    // The value of a JavaScript expression in the page (awaited when it is a promise); unlike
    // page.evaluate, not a user's gesture, which would let sound start unasked.
    page.eval = async (expression) => {
      const r = await cdp.send('Runtime.evaluate', { expression, awaitPromise: true, returnByValue: true });
      if (r.exceptionDetails) throw new Error('in page: ' + (r.exceptionDetails.exception?.description || r.exceptionDetails.text));
      return r.result.value;
    };
    // Waits until the expression is true (its value); ready: until the module has started the show.
    page.until = (expression, ms = 10000) => waitFor(() => page.eval(expression), ms, expression);
    page.ready = () => page.until('!!(window.glintora && glintora.stats.frames > 0)', 30000);
    page.response = await page.goto(url, { waitUntil: 'domcontentloaded' });
    return page;
  };
  return browser;
}

module.exports = { serve, waitFor, Browser: { launch } };
