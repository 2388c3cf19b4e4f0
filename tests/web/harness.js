// What the browser tests share: chromium, the static server, opening a page,
// reading widgets, captions and the canvas, and acting as a user does.
'use strict';

const fs = require('fs');
const http = require('http');
const os = require('os');
const path = require('path');
const {execFileSync} = require('child_process');
const puppeteer = require('puppeteer-core');

const CHROMIUM = process.env.KESTOR_CHROMIUM || '/usr/bin/chromium';
const WAIT = Number(process.env.KESTOR_WAIT_MS || 120000);  // the longest any awaited state may take (ms)

function parseArgs(argv, required) {
  const a = {};
  for (let i = 0; i < argv.length; i += 2) a[argv[i].replace(/^--/, '')] = argv[i + 1];
  for (const r of required) {
    if (!a[r]) throw new Error('missing --' + r);
    if (r !== 'only') a[r] = path.resolve(a[r]);
  }
  return a;
}

class Failure extends Error {}
function expect(ok, what) {
  if (!ok) throw new Failure(what);
}

// What the desktop build shows (tests/web/geometry.cpp), once per set of arguments.
const dumps = new Map();
function desktopDump(program, ...args) {
  const key = args.join(' ');
  if (!dumps.has(key)) {
    const out = execFileSync(program, args.map(String),
                             {maxBuffer: 1 << 28, stdio: ['ignore', 'pipe', 'ignore']});
    dumps.set(key, JSON.parse(out.toString('utf8')));
  }
  return dumps.get(key);
}

// A static server of dir on 127.0.0.1, on a port of its own.
function serve(dir) {
  const types = {'.html': 'text/html; charset=utf-8', '.js': 'text/javascript',
                 '.wasm': 'application/wasm', '.ttf': 'font/ttf'};
  const server = http.createServer((req, res) => {
    const name = decodeURIComponent(req.url.split('?')[0]).replace(/^\/+/, '');
    const file = path.join(dir, name);
    if (!file.startsWith(dir) || !fs.existsSync(file) || !fs.statSync(file).isFile()) {
      res.writeHead(404);
      res.end();
      return;
    }
    res.writeHead(200, {'Content-Type': types[path.extname(file)] || 'application/octet-stream',
                        'Cache-Control': 'no-store'});
    const stream = fs.createReadStream(file);
    stream.on('error', () => res.destroy());
    res.on('close', () => stream.destroy());  // a page closed while it was loading
    stream.pipe(res);
  });
  return new Promise((resolve) => server.listen(0, '127.0.0.1', () => resolve(server)));
}

async function launch() {
  const profile = fs.mkdtempSync(path.join(os.tmpdir(), 'kestor-chromium-'));
  const browser = await puppeteer.launch({
    executablePath: CHROMIUM, userDataDir: profile, headless: true,
    args: ['--headless', '--no-sandbox', '--disable-gpu', '--disable-quic', '--no-first-run',
           '--disable-background-networking', '--disable-component-update', '--disable-sync',
           '--allow-file-access-from-files']});
  browser.profile = profile;
  return browser;
}

// Opens url in a new page of that viewport and waits until the program has
// started (its window shown). Script errors are collected for close().
async function open(browser, url, view, beforeLoad) {
  const page = await browser.newPage();
  if (beforeLoad) await page.evaluateOnNewDocument(beforeLoad);
  page.errors = [];
  page.on('pageerror', (e) => page.errors.push(e.message));
  page.on('console', (m) => { if (m.type() === 'error') page.errors.push(m.text()); });
  await page.setViewport(view);
  // The program's start is awaited below; the page's own load event may
  // come later than usual on a busy machine.
  await page.goto(url, {waitUntil: 'domcontentloaded', timeout: WAIT});
  await page.waitForFunction(() => {
    const s = document.querySelector('.kestor-stage');
    return s && s.style.display === '';
  }, {timeout: WAIT});
  return page;
}

async function close(page) {
  const errors = page.errors;
  if (!page.isClosed()) await page.close();
  expect(errors.length === 0, 'script errors: ' + errors.join(' | '));
}

// Every shown widget, in creation order: name, kind, rectangle relative to
// the window in CSS pixels, caption of a label.
function widgets(page) {
  return page.evaluate(() => {
    const stage = document.querySelector('.kestor-stage');
    const origin = stage.getBoundingClientRect();
    const f = stage.offsetWidth ? origin.width / stage.offsetWidth : 1;
    const out = [];
    for (const el of stage.querySelectorAll('[data-name]')) {
      let shown = true;
      for (let e = el; e && e !== stage; e = e.parentElement) shown = shown && e.style.display !== 'none';
      if (!shown) continue;
      const r = el.getBoundingClientRect();
      out.push({name: el.dataset.name, kind: el.dataset.kind,
                x: Math.round((r.left - origin.left) / f), y: Math.round((r.top - origin.top) / f),
                w: Math.round(r.width / f), h: Math.round(r.height / f),
                caption: el.dataset.kind === 'label' ? el.textContent : ''});
    }
    return out;
  });
}

function sameWidgets(got, want, tolerance) {
  const problems = [];
  const names = (l) => l.map((w) => w.name).join(' ');
  if (names(got) !== names(want)) problems.push(`shown widgets: browser [${names(got)}] desktop [${names(want)}]`);
  for (const w of want) {
    const g = got.find((x) => x.name === w.name);
    if (!g) continue;
    for (const k of ['x', 'y', 'w', 'h']) {
      if (Math.abs(g[k] - w[k]) > tolerance) problems.push(`${w.name}.${k}: browser ${g[k]} desktop ${w[k]}`);
    }
    if (g.caption !== w.caption) problems.push(`${w.name} caption: browser "${g.caption}" desktop "${w.caption}"`);
  }
  expect(problems.length === 0, problems.slice(0, 12).join('; '));
}

// The canvas, one row a string of "rrggbb*n" runs (the desktop's dump format),
// read at one device pixel per CSS pixel.
function surface(page) {
  return page.evaluate(() => {
    const c = document.querySelector('.kestor-surface');
    const s = c.width / c.offsetWidth;
    const d = c.getContext('2d').getImageData(0, 0, c.width, c.height).data;
    const w = c.offsetWidth, hgt = c.offsetHeight;
    const hex = (i) => ((d[i] << 16) | (d[i + 1] << 8) | d[i + 2]).toString(16).padStart(6, '0');
    const rows = [];
    for (let y = 0; y < hgt; ++y) {
      const runs = [];
      let x = 0;
      while (x < w) {
        const at = (y * s * c.width + x * s) * 4;
        const v = hex(at);
        let n = 1;
        while (x + n < w && hex((y * s * c.width + (x + n) * s) * 4) === v) ++n;
        runs.push(v + '*' + n);
        x += n;
      }
      rows.push(runs.join(' '));
    }
    return rows;
  });
}

function decode(rows) {
  return rows.map((r) => {
    const out = [];
    for (const run of r.split(' ')) {
      const [v, n] = run.split('*');
      for (let i = 0; i < Number(n); ++i) out.push(v);
    }
    return out;
  });
}

// Every pixel of the desktop's surface whose neighbourhood (3 x 3, or wider
// with a larger radius) has one colour (lines, bars, boxes, background; not
// the edges of antialiased text) has that colour in the browser, but for at
// most `allowed` of them.
function sameSurface(gotRows, wantRows, radius = 1, allowed = 0) {
  const got = decode(gotRows), want = decode(wantRows);
  expect(got.length === want.length && got[0].length === want[0].length,
         `surface size: browser ${got[0].length}x${got.length} desktop ${want[0].length}x${want.length}`);
  const wrong = [];
  let compared = 0;
  for (let y = radius; y + radius < want.length; ++y) {
    for (let x = radius; x + radius < want[y].length; ++x) {
      const v = want[y][x];
      let uniform = true;
      for (let j = -radius; j <= radius && uniform; ++j)
        for (let i = -radius; i <= radius && uniform; ++i) uniform = want[y + j][x + i] === v;
      if (!uniform) continue;
      ++compared;
      if (got[y][x] !== v) wrong.push(`(${x},${y}) browser ${got[y][x]} desktop ${v}`);
    }
  }
  expect(compared > 0 && wrong.length <= allowed,
         `${wrong.length} of ${compared} pixels differ: ${wrong.slice(0, 8).join('; ')}`);
}

// Waits for the program to have taken every queued event and for the page to
// have painted what it did.
async function settle(page) {
  await page.waitForFunction(() => Module.stage.pending() === 0, {timeout: WAIT});
  await page.evaluate(() => new Promise((r) => requestAnimationFrame(() => requestAnimationFrame(r))));
  await page.waitForFunction(() => Module.stage.pending() === 0, {timeout: WAIT});
}

async function centre(page, name) {
  const r = await page.$eval(`[data-name="${name}"]`, (el) => {
    const b = el.getBoundingClientRect();
    return {x: b.left + b.width / 2, y: b.top + b.height / 2};
  });
  return {x: Math.round(r.x), y: Math.round(r.y)};
}

// Centre of entry i of a list, scrolled into view first.
async function entryCentre(page, name, i) {
  const r = await page.$eval(`[data-name="${name}"]`, (el, i) => {
    const row = el.childNodes[i];
    const top = row.offsetTop, rowH = row.offsetHeight;
    if (top < el.scrollTop) el.scrollTop = top;
    if (top + rowH > el.scrollTop + el.clientHeight) el.scrollTop = top + rowH - el.clientHeight;
    const b = row.getBoundingClientRect();
    return {x: b.left + b.width / 2, y: b.top + b.height / 2};
  }, i);
  return {x: Math.round(r.x), y: Math.round(r.y)};
}

async function pressAt(page, p) {
  await page.mouse.move(p.x, p.y, {steps: 3});
  await page.mouse.down();
  await page.mouse.up();
  await settle(page);
}

async function click(page, name) { await pressAt(page, await centre(page, name)); }
async function pressOnEntry(page, name, i) { await pressAt(page, await entryCentre(page, name, i)); }
const releaseOnEntry = pressOnEntry;

function shown(page, name) {
  return page.evaluate((name) => {
    const stage = document.querySelector('.kestor-stage');
    const el = document.querySelector(`[data-name="${name}"]`);
    if (!el || stage.style.display === 'none') return false;
    for (let e = el; e && e !== stage; e = e.parentElement) if (e.style.display === 'none') return false;
    return true;
  }, name);
}

function caption(page, name) {
  return page.$eval(`[data-name="${name}"]`, (el) => el.textContent);
}

async function waitShown(page, name) {
  await page.waitForFunction((name) => {
    const stage = document.querySelector('.kestor-stage');
    const el = document.querySelector(`[data-name="${name}"]`);
    if (!el) return false;
    for (let e = el; e && e !== stage; e = e.parentElement) if (e.style.display === 'none') return false;
    return true;
  }, {timeout: WAIT}, name);
}

async function waitCaption(page, name, text) {
  await page.waitForFunction((name, text) => {
    const el = document.querySelector(`[data-name="${name}"]`);
    return el && el.textContent === text;
  }, {timeout: WAIT}, name, text);
}

// Moves across the histogram, left to right, below the mean label: each
// class shown by the query, with where it was read.
async function queryAcross(page, moveTo) {
  const box = await page.$eval('[data-name="N1MOYEN"]', (el) => {
    const b = el.getBoundingClientRect();
    return {bottom: b.bottom, width: document.querySelector('.kestor-stage').offsetWidth};
  });
  const y = Math.round(box.bottom + 40);
  const seen = [];
  const steps = 60;
  for (let i = 0; i <= steps; ++i) {
    const x = Math.round(4 + (box.width - 8) * i / steps);
    await moveTo(x, y, i === 0, i === steps);
    await settle(page);
    if (!(await shown(page, 'EFF1'))) continue;
    const c = await caption(page, 'EFF1');
    if (!seen.length || seen[seen.length - 1].caption !== c) seen.push({caption: c, at: [x, y]});
  }
  return seen;
}

// What the desktop fuzzer holds true, read from the page.
function invariants(page) {
  return page.evaluate(() => {
    if (document.documentElement.dataset.ended === '1') return {ended: true};
    const vis = (n) => {
      const el = document.querySelector(`[data-name="${n}"]`);
      return !!el && el.style.display !== 'none';
    };
    return {ended: false, lists: ['LANCER_N', 'ACTIV', 'INFOS'].filter(vis).length,
            fin: vis('FIN'), page: vis('BLANCS'), disk: vis('DISK_0')};
  });
}

async function main(tests, args) {
  const server = await serve(path.join(args.web, 'site'));
  const site = `http://127.0.0.1:${server.address().port}/kestor.html`;
  const browser = await launch();
  let failed = 0;
  try {
    for (const t of tests) {
      if (args.only && !t.name.includes(args.only)) continue;
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
  } finally {
    await browser.close();
    fs.rmSync(browser.profile, {recursive: true, force: true});
    server.close();
  }
  console.log(failed ? `${failed} browser test(s) failed` : 'all browser tests passed');
  process.exit(failed ? 1 : 0);
}

module.exports = {parseArgs, expect, desktopDump, launch, serveDir: serve, open, close, widgets, sameWidgets, surface,
                  sameSurface, settle, centre, entryCentre, click, pressOnEntry, releaseOnEntry,
                  shown, caption, waitShown, waitCaption, queryAcross, invariants, main};
