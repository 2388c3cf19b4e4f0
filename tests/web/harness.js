// For the browser tests and benchmark: each engine, a server of the site, pages against the
// desktop's window.
'use strict';

const fs = require('fs'), http = require('http'), path = require('path');
const puppeteer = require('puppeteer-core');

const WAIT = 120000;  // the longest any wait may take (ms)
const expect = (ok, what) => { if (!ok) throw Object.assign(new Error(what), {stack: what}); };
const arg = (name, i = process.argv.indexOf('--' + name)) => process.argv[i > 1 ? i + 1 : -1];
const engine = arg('engine') || 'chromium';

// The engines, each launched as the tests drive it (--engine NAME; chromium if none given).
const ENGINES = {
  chromium: () => puppeteer.launch({executablePath: process.env.KESTOR_CHROMIUM ||
    '/usr/bin/chromium', args: ['--no-sandbox', '--allow-file-access-from-files']}),
  firefox: () => puppeteer.launch({browser: 'firefox', executablePath: '/usr/bin/firefox-esr'}),
  webkit: () => require('./webdriver').launch(WAIT),
};

// Runs fn(browser, url of the served site) with the engine and a server of webDir/site (or `dir`)
// on 127.0.0.1; fn's `server.close()` stops serving.
async function session(webDir, fn, dir = path.join(webDir, 'site')) {
  const types = {'.html': 'text/html', '.js': 'text/javascript', '.wasm': 'application/wasm'};
  const server = http.createServer(({url}, res) => fs.readFile(path.join(dir, url),
    (e, data) => res.writeHead(e ? 404 : 200, {'Content-Type': types[path.extname(url)] ||
      'application/octet-stream'}).end(data)));
  await new Promise((resolve) => server.listen(0, '127.0.0.1', resolve));
  expect(ENGINES[engine], `no engine ${engine}: ${Object.keys(ENGINES)}`);
  const browser = await ENGINES[engine]();
  return fn(browser, `http://127.0.0.1:${server.address().port}/kestor.html`, server)
    .finally(() => browser.close().then(() => server.close()));
}

const until = (page, fn, ...args) => page.waitForFunction(fn, {timeout: WAIT}, ...args);

// A page of that viewport at url, once the program has started; close() reports its script errors.
async function open(browser, url, view) {
  const page = watch(await browser.newPage());
  await page.setViewport(view);
  await page.goto(url, {waitUntil: 'domcontentloaded', timeout: WAIT});
  return waitFor(page, 'FIN').then(() => page);  // the program has started
}
const watch = (page) => Object.assign(page, {errors: []})
  .on('pageerror', (e) => page.errors.push(e.message))
  .on('console', (m) => m.type() === 'error' && page.errors.push(m.text()));

const close = (page) => (page.isClosed() ? Promise.resolve() : page.close()).then(() =>
  expect(!page.errors.length, 'script errors: ' + page.errors.join(' | ')));

// The caption of a widget if it is shown, else null; waitFor awaits it shown (with that caption).
const read = (page, name) => page.evaluate((s, el = document.querySelector(s)) =>
  (el?.checkVisibility() ? el.textContent : null), `[data-name="${name}"]`);
const waitFor = (page, name, text = null) => until(page, (s, c, el = document.querySelector(s)) =>
  el?.checkVisibility() && (c === null || el.textContent === c), `[data-name="${name}"]`, text);

// The page shows the desktop's window (geometry.cpp's lines split at tabs): the same widgets in
// order, each rectangle (CSS pixels) within one, each label's text the same and whole in its box;
// a surface of that size, its right column (where the time axis ends) the same, and each other
// pixel the desktop has amid one colour (the square of `radius` around it, the edges too), or of a
// line or bar on white (where a box may move), that colour, but for `allowed` of them. WebKit
// measures texts 1 to 3 % wider, a row of commands adding them up: x may be off by 1 % of the
// width, a width by that or 3 % of itself, surface text as far as x; 5 more pixels may differ.
async function sameAsDesktop(page, [[w, h, rgb], ...widgets], radius = 1, allowed = 0) {
  const webkit = engine === 'webkit', slack = webkit ? w / 100 : 1;
  const [bad, wrong] = await page.evaluate((w, h, rgb, widgets, r, slack, wide) => {
    const stage = document.querySelector('.kestor-stage'), o = stage.getBoundingClientRect();
    const at = (v) => Math.round(v * stage.offsetWidth / o.width), bad = [], wrong = [];
    const whole = (el, t = el.firstChild?.data ?? '', r = document.createRange(), b =
      el.getBoundingClientRect()) => !t.trim() || (r.setStart(el.firstChild, t.search(/\S/)),
      r.setEnd(el.firstChild, t.trimEnd().length), r.getBoundingClientRect().left >= b.left &&
      r.getBoundingClientRect().right <= b.right);
    const got = [...stage.querySelectorAll('[data-name]')].filter((el) => el.checkVisibility())
      .map((el, _, __, b = el.getBoundingClientRect()) => [el.dataset.name, ...[b.x - o.x,
        b.y - o.y, b.width, b.height].map(at), el.dataset.kind !== 'label' ? '' :
        el.textContent + (whole(el) ? '' : ' [cut]')]);
    widgets.forEach((x, i, _, g = got[i], near = [slack, 1, Math.max(slack, x[3] * wide), 1]) =>
      (g?.[0] !== x[0] || g[5] !== x[5] || near.some((d, k) => Math.abs(g[k + 1] - x[k + 1]) > d))
      && bad.push(`${x} (${g})`));
    if (got.length !== widgets.length) bad.push(`shown: ${got.map((x) => x[0])}`);
    const c = document.querySelector('.kestor-surface'), cw = c.offsetWidth, s = c.width / cw;
    if (cw !== w || c.offsetHeight !== h) return [[...bad, `surface ${cw} ${c.offsetHeight}`], []];
    const d = c.getContext('2d').getImageData(0, 0, c.width, c.height).data, n = 2 * r + 1;
    const px = (x, y, k = (y * c.width + x) * s * 4) => [...d.subarray(k, k + 3)]
      .map((v) => v.toString(16).padStart(2, '0')).join('');  // rrggbb, as the desktop's
    const want = (x, y) => rgb.substr((y * w + x) * 6, 6);
    // Lines, bars and points (never text) on white, where they stand or as far aside as a box.
    const clean = (c) => ['ffffff', '0000ff', 'ff00ff'].includes(c), far = Math.ceil(slack);
    const placed = (c, at, x, y) => c === 'ffffff' || [...Array(2 * far + 1)].some((_, i) =>
      at(x - far + i, y) === c);
    for (let y = 0; y < h; ++y)
      for (let x = 0, v, g; x < w; ++x)
        if ((g = px(x, y)) !== (v = want(x, y)) && (x === w - 1 || (clean(v) && clean(g) &&
          !(placed(v, px, x, y) && placed(g, want, x, y))) ||
          [...Array(n * n)].every((_, j, __, i = x + j % n - r, k = y + (j - j % n) / n - r) =>
            i < 0 || k < 0 || i >= w || k >= h || want(i, k) === v)))
          (x < w - 1 ? wrong : bad).push(`${x},${y}: ${g} not ${v}`);
    return [bad, wrong];
  }, +w, +h, rgb, widgets, webkit ? Math.max(radius, Math.ceil(slack)) : radius, slack,
  webkit ? 0.03 : 0);
  expect(!bad.length && wrong.length <= allowed + (webkit ? 5 : 0),
    [...bad, `${wrong.length} pixels: ${wrong}`].join('; ').slice(0, 1500));
}

// Waits till the program has taken every queued event, and has them still after a repaint.
const settle = (page) => until(page, () => Module.stage.pending() === 0 && new Promise((r) =>
  requestAnimationFrame(() => requestAnimationFrame(() => r(Module.stage.pending() === 0)))));

// The centre of a widget, or of entry i of a list (scrolled into view first), in the viewport.
const pointAt = (page, name, entry = -1) => page.$eval(`[data-name="${name}"]`, (el, i) => {
  if (i >= 0) (el = el.childNodes[i]).scrollIntoView({block: 'nearest'});
  const b = el.getBoundingClientRect();
  return {x: Math.round(b.left + b.width / 2), y: Math.round(b.top + b.height / 2)};
}, entry);

// Clicks in turn, each [name, list entry?, a widget to await shown (or [it, its caption]), one then
// hidden, more to await]: a press and release of that button with the mouse moved there, or a tap.
async function clicks(page, {hasTouch, button = 'left'}, ...steps) {
  for (const [name, entry, next, gone, ...more] of steps) {
    const p = await pointAt(page, name, entry), m = page.mouse;
    if (hasTouch) await page.touchscreen.tap(p.x, p.y);
    else await m.move(p.x, p.y, {steps: 3}), await m.down({button}), await m.up({button});
    await settle(page);
    for (const n of next ? [next, ...more] : []) await waitFor(page, ...[n].flat());
    if (gone) expect((await read(page, gone)) === null, `${gone} hidden after ${name} ${entry}`);
  }
}

module.exports = {arg, engine, expect, session, until, open, watch, close, read, waitFor,
  sameAsDesktop, settle, pointAt, clicks};
