// The web build in a browser, as the single file and the served site, against the desktop.
//   node browser_tests.js [--engine chromium|firefox|webkit] --web DIR --nodata DIR
//     --geometry PROGRAM [--only NAME]
'use strict';

const fs = require('fs'), path = require('path'), h = require('./harness');
const {execFileSync} = require('child_process');
const web = path.resolve(h.arg('web')), single = `file://${web}/kestor.html`;
const nodata = `file://${path.resolve(h.arg('nodata'))}/kestor.html`;
const RATE_4 = 3, RATE_8 = 4;  // entries of the list
const CLOCK = [1000, 0.25];  // the clock the series run with, on both sides: start, step (s)

// The desktop's window (geometry.cpp) of the scenario t's layout and data file, after `args`.
const desktop = (t, ...args) => execFileSync(h.arg('geometry'), [t.data, ...t.layout, ...args]
  .map(String), {maxBuffer: 1 << 28, encoding: 'utf8'}).split('\n').map((l) => l.split('\t'));

// The image at `src` shows the program's bitmap `file`, each pixel `scale` times as large.
async function shows(page, src, file, scale = 1) {
  const rows = [...fs.readFileSync(path.join(__dirname, '../../resources', file), 'utf8')
    .matchAll(/"([^"]*)"/g)].map((m) => m[1]), [, , n, cpp] = rows[0].split(' ').map(Number);
  const rgb = Object.fromEntries(rows.slice(1, n + 1).map((r) => [r.slice(0, cpp), r.slice(-6)]));
  const want = rows.slice(n + 1).join('').match(RegExp(`.{${cpp}}`, 'g')).map((c) => rgb[c]);
  const got = await page.evaluate((src, step, img = Object.assign(new Image(), {src})) =>
    img.decode().then(() => {
      const w = img.naturalWidth, c = new OffscreenCanvas(w, img.naturalHeight).getContext('2d');
      c.drawImage(img, 0, 0);
      return [...c.getImageData(0, 0, w, img.naturalHeight).data].filter((_, k) => (k >> 2) %
        step === step >> 1 && Math.floor((k >> 2) / w) % step === step >> 1)
        .map((v, k) => (k % 4 === 3 ? '' : v.toString(16).padStart(2, '0'))).join('');
    }), src, scale);
  h.expect(got === want.join(''), `${file} at ${src.slice(-24)}: ${got.slice(0, 300)}`);
}

// Each step below is step(page, t), t the scenario's view. Looks: the pictures pixel for pixel as
// their files say; the labels' text and ground colours, border, alignment (a disabled one's grey).
async function looks(page) {
  for (const [name, file] of [['KESTOR_Image1', 'logo.xpm'], ['SIGMA2', 'sigma2.xpm']])
    await shows(page, await page.$eval(`[data-name="${name}"]`, (img) => img.src), file);
  const labels = await page.evaluate(() => ['TITRE', 'FIN', 'LANCER', 'EFFACER', 'ACTIVIT'].map(
    (n, _, __, s = getComputedStyle(document.querySelector(`[data-name="${n}"]`))) =>
      [n, s.color, s.backgroundColor, s.borderTopWidth, s.textAlign].join()).join(' | '));
  h.expect(labels === 'TITRE,rgb(0, 0, 192),rgb(192, 192, 255),0px,center | ' +
    'FIN,rgb(255, 255, 255),rgb(255, 0, 0),0px,center | ' +
    'LANCER,rgb(0, 0, 0),rgb(192, 192, 192),1px,center | ' +
    'EFFACER,rgb(128, 128, 128),rgb(192, 192, 192),1px,center | ' +
    'ACTIVIT,rgb(255, 0, 0),rgb(255, 255, 255),0px,left', 'looks: ' + labels);
}

// A series of n counts at 4 imp/s by clicks or taps, as on the desktop; a right click first does
// nothing (but in WebKit, whose driver loses the release of a right button).
const series = (n, entry = {1: 0, 100: 6, 200: 7, 1000: 9}[n]) => async (page, t) => {
  await page.evaluate(([s, d]) => Module._kestor_seam_clock(s, d), CLOCK);
  await h.clicks(page, t, ['ACTIVITES', , 'ACTIV'], ['ACTIV', RATE_4], ['LANCER', , 'LANCER_N']);
  if (!t.hasTouch && h.engine !== 'webkit')
    await h.clicks(page, {button: 'right'}, ['LANCER_N', entry]);
  h.expect(await page.$eval('[data-name="LANCER_N"]', (el) => el.checkVisibility() &&
    !el.querySelector('.kestor-selected')), 'a right click leaves the list open, unselected');
  await h.clicks(page, t, ['LANCER_N', entry, 'LANCER']);
  t.state = [...CLOCK, RATE_4, entry];
  await h.sameAsDesktop(page, desktop(t, ...t.state), ...t.near);
  const [tip, grey, busy] = await page.$eval('[data-name="EFFACER"]', (el, s =
    getComputedStyle(el)) => [el.title, s.color === 'rgb(128, 128, 128)', s.cursor !== 'default']);
  h.expect(tip === (grey ? '' : ' Cliquez pour Effacer ') && !busy, `"Effacer" (grey: ${grey},` +
    ` busy: ${busy}): "${tip}"`);
};

// After the series of 1000: the query where the mouse moves (a finger drags) is the desktop's.
async function query(page, t, [x, y] = [200, 289], ts = page.touchscreen) {
  if (t.hasTouch) await ts.touchStart(4, y), await ts.touchMove(x, y), await ts.touchEnd();
  else await page.mouse.move(x, y);
  const want = desktop(t, ...t.state, x, y);
  h.expect(want.some(([n]) => n === 'EFF1'), `the desktop shows no query at ${x} ${y}`);
  await h.settle(page), await h.sameAsDesktop(page, want, ...t.near);
}

// Ctrl+S downloads the file the desktop's window saves after the same series (the date line
// aside); ⌘C copies its lines, tab-separated, without the byte-order mark.
async function saved(page, t) {
  await page.evaluate(() => {
    navigator.clipboard.writeText = (text) => Promise.resolve(window.copied = text);
    document.addEventListener('click', (e) => e.target.download && (e.preventDefault(),
      window.saved = fetch(e.target.href).then((r) => r.arrayBuffer()).then((b) =>
        [e.target.download, [...new Uint8Array(b)]])), true);
  });
  for (const [held, key] of [['Control', 's'], ['Meta', 'c']])
    await page.keyboard.down(held), await page.keyboard.press(key), await page.keyboard.up(held);
  await h.until(page, () => window.copied && window.saved);
  const [name, got, copied] = await page.evaluate(async () =>
    [...await window.saved, window.copied]);
  process.env.KESTOR_SAVE = path.join(copy, 'desktop.csv'), desktop(t, ...t.state);
  const dated = (s) => s.replace(/^\ufeffKESTOR;\d{4}-\d\d-\d\d \d\d:\d\d:\d\d\n/, '#');
  const want = dated(fs.readFileSync(process.env.KESTOR_SAVE, 'utf8'));
  delete process.env.KESTOR_SAVE;
  h.expect(want[0] === '#' && dated(Buffer.from(got).toString()) === want &&
    dated('\ufeff' + copied.replaceAll('\t', ';')) === want &&
    /^kestor-\d{4}-\d\d-\d\d-\d\dh\d\d\.csv$/.test(name), `${name}: ${copied.slice(0, 300)}`);
}

// A rate change asks first; OUI clears the counts.
const rate = (page) => h.clicks(page, {}, ['ACTIVITES', , 'ACTIV'], ['ACTIV', RATE_8, 'ATTENTION'],
  ['OUI', , ['ACTIVIT', ' Taux de comptage = 8 imp/s '], 'ATTENTION',
    ['NBCOMPTAGE', ' Nombre de comptage = 0 ']]);

// The viewport made width x height, once the surface has the desktop's size there: its dump.
async function turn(page, t, width, height) {
  await page.setViewport({...t, width, height}), t.layout = [width, height];
  const want = desktop(t, ...t.state);
  await h.until(page, ([w, ht], c = document.querySelector('.kestor-surface')) =>
    c.offsetWidth === +w && c.offsetHeight === +ht, want[0].slice(0, 2));
  return h.settle(page).then(() => want);
}

// Full screen, a tablet turned: the page laid out again, its histogram and labels kept.
const resized = (width, height) => async (page, t) =>
  h.sameAsDesktop(page, await turn(page, t, width, height), ...t.near);

// A page open when the tablet turns is built again on the new stage: sheet centred, one picture.
async function turnedOnPage(page, t) {
  await h.clicks(page, t, ['INFORMATION', , 'INFOS'], ['INFOS', 2, 'BLANCS']);
  await turn(page, t, t.height, t.width);
  const got = await page.$eval('[data-name="BLANCS"]', (b) => [Math.abs(2 * b.offsetLeft +
    b.offsetWidth - b.parentNode.offsetWidth) <= 1, [...b.children].filter((i) =>
    i.checkVisibility() && i.dataset.kind === 'image').length].join());
  h.expect(got === 'true,1', `sheet centred, pictures shown: ${got}`);
}

// Each page from the information list hides the quit command till it is closed; its pictures show.
const pages = (...entries) => async (page, t) => {
  for (const i of entries) {
    await h.clicks(page, t, ['INFORMATION', , 'INFOS'], ['INFOS', i, 'BLANCS', 'FIN']);
    await h.until(page, () => [...document.images].every((im) => !im.checkVisibility() ||
      im.naturalWidth > 0));
    await h.clicks(page, t, ['BLANCS', , 'FIN', 'BLANCS']);
  }
};

// Quitter in a tab a script opened: the page ends, takes no input, then closes (its close held).
async function quit(page) {
  const opened = new Promise((ok) => page.browser().once('targetcreated', ok));
  await page.evaluate(() => { window.open(location.href, '_blank', 'width=1024,height=768'); });
  const tab = h.watch(await (await opened).page());
  const closed = new Promise((ok) => tab.once('close', ok));
  await h.waitFor(tab, 'FIN'), await tab.evaluate((close = window.close.bind(window)) => {
    window.close = () => new Promise((go) => { window.go = go; }).then(close); });
  await h.clicks(tab, {}, ['FIN']), await tab.mouse.click(40, 64), await tab.mouse.click(960, 27);
  const end = await tab.evaluate(() => [document.body.innerText.trim(), Module.stage.pending()]);
  h.expect(`${end}` === 'KESTOR est terminé. Vous pouvez fermer cet onglet.,0', 'ended: ' + end);
  await tab.evaluate(() => window.go()).catch(() => {}), await closed, await h.close(tab);
}

// Served from a server that then stops (chromium): the site is installable, its manifest says so in
// French, its icons are the logo 6 and 16 times as large; the page kept reloads and counts offline.
async function offline(page) {
  await h.until(page, () => navigator.serviceWorker.controller);
  const cdp = await page.createCDPSession(), [{data}, {installabilityErrors: errors}] = await
    Promise.all(['getAppManifest', 'getInstallabilityErrors'].map((c) => cdp.send('Page.' + c)));
  const m = JSON.parse(data), icons = m.icons.map((i) => `${i.src} ${i.sizes}`).join();
  h.expect(`${[m.name, m.lang, m.start_url, m.display, m.orientation, icons, errors.length]}` ===
    'KESTOR,fr,kestor.html,fullscreen,landscape,kestor-192.png 192x192,kestor-512.png 512x512,0',
  `manifest: ${data} ${JSON.stringify(errors)}`);
  for (const n of [192, 512]) await shows(page, `kestor-${n}.png`, 'logo.xpm', n / 32);
  await new Promise((ok) => served.close(ok) && served.closeAllConnections());
  await page.reload({waitUntil: 'domcontentloaded'}), await h.waitFor(page, 'FIN');
}

// A new build served (its program changed) is what the next visit runs.
async function update(page) {
  fs.appendFileSync(path.join(copy, 'kestor.js'), '\nwindow.kestorBuild = 2;\n');
  execFileSync('python3', [path.join(__dirname, '../../tools/mkpage.py'), '--worker', copy]);
  await new Promise((ok) => served.listen(+new URL(page.url()).port, '127.0.0.1', ok));
  await page.goto(page.url()), await h.until(page, () => window.kestorBuild === 2);
  await h.waitFor(page, 'FIN');
}

// Random mouse events: at most one list open, a page or the quit command, no missing-file panel.
async function fuzz(page, t, seed = 12345, held = false, m = page.mouse) {
  const rnd = (n) => (seed = (seed * 1103515245 + 12345) % 2147483648) % n;
  for (let i = 100, s = []; i <= 3000 && s; i += 100) {
    await Promise.all([...Array(100)].flatMap(() => [m.move(rnd(1024), rnd(768)),
      rnd(10) < 3 && ((held = !held) ? m.down() : m.up())])).then(() => h.settle(page));
    s = await page.evaluate(() => document.documentElement.dataset.ended ? null :
      ['LANCER_N ACTIV INFOS', 'FIN BLANCS', 'DISK_0'].map((names) => names.split(' ')
        .filter((n) => document.querySelector(`[data-name="${n}"]`)?.style.display === '').length));
    h.expect(!s || (s[0] <= 1 && s[1] === 1 && s[2] === 0), `event ${i}: ${s} shown`);
  }
}

// The page: stage over the viewport, canvas at device pixels, the desktop's window of that size (or
// `layout`) at the start and after each step, within `near` where text is drawn twice as large.
const XGA = {width: 1024, height: 768}, VGA = {width: 800, height: 600}, NEAR = {near: [3, 40]};
const MAG = {width: 3840, height: 2160, layout: [1920, 1080], ...NEAR};
const HIDPI = {...VGA, deviceScaleFactor: 2, ...NEAR}, TOUCH = {...XGA, hasTouch: true};
const TABLET = {...TOUCH, width: 834, height: 1194};
async function run(b, url, view, steps) {
  const {width: w, height: ht, deviceScaleFactor: s = 1} = view;
  const t = {layout: [w, ht], near: [], data: web + '/KESTOR_11.KSQ', ...view};
  const page = await h.open(b, url, view);
  const got = await page.$eval('.kestor-surface', (c, r = c.parentNode.getBoundingClientRect()) =>
    [c.width, c.height, r.x, r.y, r.width, r.height].map(Math.round).join());
  const high = 5 * w < 6 * ht ? Math.floor(w * 3 / 4) : ht;  // upright: a 4:3 stage, centred
  h.expect(got === `${[w * s, high * s, 0, (ht - high) >> 1, w, high]}`, `canvas, stage: ${got}`);
  await h.sameAsDesktop(page, desktop(t), ...t.near);
  for (const step of steps) await step(page, t);
  await h.close(page);
}
const tests = [
  ['1024x768 single: looks, count, pages, random mouse events', single, XGA, looks, series(1),
    pages(0, 1, 2, 3), fuzz],
  ['1024x768 site: series 1000, query moved a class, saved, rate, Quitter', '', XGA, series(1000),
    query, (page, t) => query(page, t, [180, 289]), saved, rate, quit],
  ['1024x768 site, touch: series 1000, drag, page', '', TOUCH, series(1000), query, pages(0)],
  ['1366x633 single: series 200, full screen, turned upright', single, {width: 1366, height: 633},
    series(200), resized(1366, 768), resized(768, 1366)],
  ['834x1194 site, touch: series 200, turned and back, turned on a page', '', TABLET, series(200),
    resized(1194, 834), resized(834, 1194), turnedOnPage],
  ['3840x2160 site: magnified, count', '', MAG, series(1)],
  ['800x600 HiDPI single: series 200', single, HIDPI, series(200)],
  ['1024x768 single, no data file: count', nodata, {...XGA, data: '/none'}, series(1)],
  ['1024x768 site kept: offline, series 100, new build', '', XGA, offline, series(100), update],
];

// Runs the scenarios (those whose name holds --only NAME; the site kept, the last as it changes the
// site, in chromium) on the single file and a copy of the site.
const copy = fs.mkdtempSync(path.join(require('os').tmpdir(), 'kestor-site-'));
fs.cpSync(path.join(web, 'site'), copy, {recursive: true});
let served;
h.session(web, async (b, site, server, only = h.arg('only') || '', failed = 0) => {
  served = server;
  for (const [name, url, view, ...steps] of tests.filter(([name]) => name.includes(only) &&
    (h.engine === 'chromium' || !name.includes('kept')))) {
    const e = await run(b, url || site, view, steps).then(() => null, (e) => e);
    console.log(e ? `FAIL ${name}: ${e.stack}` : `ok   ${name}`), failed += !!e;
  }
  process.exitCode = failed ? 1 : 0;
}, copy).finally(() => fs.rmSync(copy, {recursive: true}));
