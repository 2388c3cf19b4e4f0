// What the browser tests and benchmark share: chromium and a static server of the site, opening a
// page, reading its widgets and canvas against the desktop's, acting as a user does.
'use strict';

const fs = require('fs'), http = require('http'), path = require('path');
const {execFileSync} = require('child_process');
const puppeteer = require('puppeteer-core');

const WAIT = Number(process.env.KESTOR_WAIT_MS || 120000);  // the longest any awaited state may take (ms)
const sel = (name) => `[data-name="${name}"]`;

class Failure extends Error {}
const expect = (ok, what) => { if (!ok) throw new Failure(what); };

// --name value pairs, the required ones as absolute paths.
function parseArgs(argv, required) {
  const a = Object.fromEntries(argv.flatMap((v, i) => (i % 2 ? [] : [[v.replace(/^--/, ''), argv[i + 1]]])));
  for (const r of required) expect(a[r], 'missing --' + r), a[r] = path.resolve(a[r]);
  return a;
}

// What the desktop build shows (tests/web/geometry.cpp), once per set of arguments.
const dumps = {};
const desktopDump = (program, ...args) => dumps[args] ??= ((d) => ({...d, rgb: Buffer.from(d.rgb, 'hex')}))(
  JSON.parse(execFileSync(program, args.map(String), {maxBuffer: 1 << 28, stdio: ['ignore', 'pipe', 'ignore']})));
// Runs fn(browser, url of the served site) with chromium and a static server of webDir/site on 127.0.0.1.
async function session(webDir, fn) {
  const dir = path.join(webDir, 'site');
  const types = {'.html': 'text/html; charset=utf-8', '.js': 'text/javascript', '.wasm': 'application/wasm'};
  const server = http.createServer((req, res) => {
    const file = path.join(dir, decodeURIComponent(req.url.split('?')[0]));
    fs.readFile(file.startsWith(dir) ? file : dir, (e, data) => e ? res.writeHead(404).end() :
      res.writeHead(200, {'Content-Type': types[path.extname(file)] || 'application/octet-stream'}).end(data));
  });
  await new Promise((resolve) => server.listen(0, '127.0.0.1', resolve));
  const browser = await puppeteer.launch({executablePath: process.env.KESTOR_CHROMIUM || '/usr/bin/chromium', headless: true,
    args: ['--headless', '--no-sandbox', '--disable-gpu', '--disable-quic', '--no-first-run', '--disable-background-networking',
           '--disable-component-update', '--disable-sync', '--allow-file-access-from-files']});
  try {
    return await fn(browser, `http://127.0.0.1:${server.address().port}/kestor.html`);
  } finally {
    await browser.close();
    server.close();
  }
}

const until = (page, fn, ...args) => page.waitForFunction(fn, {timeout: WAIT}, ...args);
const started = (page) => until(page, () => document.querySelector('.kestor-stage')?.style.display === '');

// A new page of that viewport at url, once the program has started (its window shown); script errors
// are collected for close(). The page's load event may come late on a busy machine, and is not awaited.
async function open(browser, url, view, beforeLoad) {
  const page = await browser.newPage();
  if (beforeLoad) await page.evaluateOnNewDocument(beforeLoad);
  page.errors = [];
  page.on('pageerror', (e) => page.errors.push(e.message)).on('console', (m) => m.type() === 'error' && page.errors.push(m.text()));
  await page.setViewport(view);
  await page.goto(url, {waitUntil: 'domcontentloaded', timeout: WAIT});
  await started(page);
  return page;
}

async function close(page) {
  if (!page.isClosed()) await page.close();
  expect(page.errors.length === 0, 'script errors: ' + page.errors.join(' | '));
}

// The shown widgets (in creation order; rectangle relative to the window in CSS pixels, caption of a
// label) are the desktop's, each within a pixel.
async function sameWidgets(page, want) {
  const got = await page.evaluate(() => {
    const stage = document.querySelector('.kestor-stage'), origin = stage.getBoundingClientRect();
    const at = (v) => Math.round(v * stage.offsetWidth / origin.width);
    return [...stage.querySelectorAll('[data-name]')].filter((el) => el.checkVisibility()).map((el) => {
      const r = el.getBoundingClientRect();
      return {name: el.dataset.name, x: at(r.left - origin.left), y: at(r.top - origin.top), w: at(r.width),
              h: at(r.height), caption: el.dataset.kind === 'label' ? el.textContent : ''};
    });
  });
  const names = (l) => l.map((w) => w.name).join(' ');
  const problems = names(got) === names(want.widgets) ? [] : [`shown: browser [${names(got)}] desktop [${names(want.widgets)}]`];
  for (const [i, w] of want.widgets.entries()) {
    const g = got[i] || {};
    for (const k of ['x', 'y', 'w', 'h'])
      if (!(Math.abs(g[k] - w[k]) <= 1)) problems.push(`${w.name}.${k}: browser ${g[k]} desktop ${w[k]}`);
    if (g.caption !== w.caption) problems.push(`${w.name}: browser "${g.caption}" desktop "${w.caption}"`);
  }
  expect(problems.length === 0, problems.slice(0, 12).join('; '));
}

// The canvas, read at one device pixel per CSS pixel: every pixel of the desktop's surface whose
// neighbourhood (3 x 3, or wider with a larger radius) has one colour (lines, bars, boxes; not the
// edges of antialiased text) has it there, but for at most `allowed` of them.
async function sameSurface(page, want, radius = 1, allowed = 0) {
  const [w, h, rgb] = await page.evaluate(() => {
    const c = document.querySelector('.kestor-surface'), w = c.offsetWidth, h = c.offsetHeight, s = c.width / w;
    const d = new Uint32Array(c.getContext('2d').getImageData(0, 0, c.width, c.height).data.buffer);
    const out = new Uint32Array(w * h);
    for (let y = 0; y < h; ++y) for (let x = 0; x < w; ++x) out[y * w + x] = d[(y * c.width + x) * s];
    let bin = '';
    for (let k = 0, b = new Uint8Array(out.buffer); k < b.length; k += 8192) bin += String.fromCharCode(...b.subarray(k, k + 8192));
    return [w, h, btoa(bin)];
  });
  expect(w === want.w && h === want.h, `surface: browser ${w}x${h} desktop ${want.w}x${want.h}`);
  const got = Buffer.from(rgb, 'base64'), px = (b, x, y) => b.readUIntBE((y * w + x) * 4, 3), wrong = [];
  for (let y = radius; y + radius < h; ++y) {
    for (let x = radius; x + radius < w; ++x) {
      const v = px(want.rgb, x, y);
      let uniform = px(got, x, y) !== v;
      for (let j = -radius; j <= radius && uniform; ++j)
        for (let i = -radius; i <= radius && uniform; ++i) uniform = px(want.rgb, x + i, y + j) === v;
      if (uniform) wrong.push(`(${x},${y}) browser ${px(got, x, y).toString(16)} desktop ${v.toString(16)}`);
    }
  }
  expect(wrong.length <= allowed, `${wrong.length} pixels differ: ${wrong.slice(0, 8).join('; ')}`);
}

// Waits for the program to have taken every queued event and, unless `quick`, for the page to have painted.
async function settle(page, quick) {
  await until(page, () => Module.stage.pending() === 0);
  if (!quick) await page.evaluate(() => new Promise((r) => requestAnimationFrame(() => requestAnimationFrame(r)))), await settle(page, true);
}

// The centre of a widget, or of entry i of a list (scrolled into view first), in the viewport.
const pointAt = (page, name, entry = -1) => page.$eval(sel(name), (el, i) => {
  if (i >= 0) (el = el.childNodes[i]).scrollIntoView({block: 'nearest'});
  const b = el.getBoundingClientRect();
  return {x: Math.round(b.left + b.width / 2), y: Math.round(b.top + b.height / 2)};
}, entry);

// A press and release on a widget (or a list's entry) with the mouse moved there, or a tap; then waits for `next`.
async function click(page, name, {entry, touch, next} = {}) {
  const p = await pointAt(page, name, entry);
  if (touch) await page.touchscreen.tap(p.x, p.y);
  else await page.mouse.move(p.x, p.y, {steps: 3}), await page.mouse.down(), await page.mouse.up();
  await settle(page);
  if (next) await waitShown(page, next);
}

const visible = (name) => !!document.querySelector(`[data-name="${name}"]`)?.checkVisibility();
const shown = (page, name) => page.evaluate(visible, name);
const waitShown = (page, name) => until(page, visible, name);
const caption = (page, name) => page.$eval(sel(name), (el) => el.textContent);
const waitCaption = (page, name, text) => until(page, (s, t) => document.querySelector(s)?.textContent === t, sel(name), text);

// Moves across the histogram, left to right, below the mean label: each class the query shows, and where.
async function queryAcross(page, moveTo) {
  const [bottom, width] = await page.$eval(sel('N1MOYEN'), (el) =>
    [el.getBoundingClientRect().bottom, document.querySelector('.kestor-stage').offsetWidth]);
  const y = Math.round(bottom + 40), seen = [];
  for (let i = 0; i <= 60; ++i) {
    const x = Math.round(4 + (width - 8) * i / 60);
    await moveTo(x, y, i === 0, i === 60);
    await settle(page, true);
    const c = (await shown(page, 'EFF1')) && await caption(page, 'EFF1');
    if (c && seen[seen.length - 1]?.caption !== c) seen.push({caption: c, at: [x, y]});
  }
  return seen;
}

// Runs each test {name, fn(browser, site)} (those whose name holds `only`, if given).
async function main(tests, args) {
  let failed = 0;
  await session(args.web, async (browser, site) => {
    for (const t of tests.filter((t) => t.name.includes(args.only || ''))) {
      const start = Date.now();
      try {
        await t.fn(browser, site);
        console.log(`ok   ${t.name} (${((Date.now() - start) / 1000).toFixed(1)} s)`);
      } catch (e) {
        ++failed;
        console.log(`FAIL ${t.name}: ${e instanceof Failure ? e.message : e.stack}`);
        for (const p of await browser.pages()) if (p.url() !== 'about:blank') await p.close();
      }
    }
  });
  console.log(failed ? `${failed} browser test(s) failed` : 'all browser tests passed');
  process.exit(failed ? 1 : 0);
}

module.exports = {parseArgs, expect, desktopDump, session, until, started, open, close, sameWidgets, sameSurface, settle,
  pointAt, click, shown, waitShown, caption, waitCaption, queryAcross, main};
