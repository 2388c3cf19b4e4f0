// The browser tests: the web build in headless chromium (driven by puppeteer-core), as the single
// file (file://) and the served folder, compared with the desktop build (geometry.cpp).
//   node browser_tests.js --web DIR --nodata DIR --geometry PROGRAM [--only NAME]
'use strict';

const path = require('path'), h = require('./harness');
const web = path.resolve(h.arg('web')), single = `file://${web}/kestor.html`, tests = [];
const desktop = (...a) => h.desktopDump(h.arg('geometry'), web + '/KESTOR_11.KSQ', ...a);
const RATE_4 = 3, RATE_8 = 4, COUNT_1 = 0, COUNT_200 = 7, COUNT_1000 = 9;  // entries of the lists
const CLOCK = [1000, 0.25];  // the clock the series run with, on both sides: start, step (s)
const XGA = {width: 1024, height: 768}, VGA = {width: 800, height: 600};
const shown = async (page, name) => (await h.read(page, name)) !== null;

// A count of one, chosen with real mouse moves and presses, and its value shown.
async function countOne(page) {
  await h.clicks(page, {}, ['LANCER', , 'LANCER_N'], ['LANCER_N', COUNT_1, 'N1COMPTE']);
  await h.waitFor(page, 'NBCOMPTAGE', ' Nombre de comptage = 1 ');
}

// A series at 4 imp/s chosen as a user does (clicks, or taps), with the clock fixed as on the
// desktop side; returns at rest, the series over. A right click on the entry first does nothing.
async function series(page, entry, touch) {
  await page.evaluate(([s, d]) => Module._kestor_seam_clock(s, d), CLOCK);
  await h.clicks(page, {touch}, ['ACTIVITES', , 'ACTIV'], ['ACTIV', RATE_4]);
  if (await shown(page, 'ATTENTION')) await h.clicks(page, {touch}, ['OUI']);
  await h.clicks(page, {touch}, ['LANCER', , 'LANCER_N']);
  if (!touch) await h.clicks(page, {button: 'right'}, ['LANCER_N', entry]);
  const s = [await shown(page, 'LANCER_N'), await h.read(page, 'NBCOMPTAGE'),
             await page.$('[data-name="LANCER_N"] .kestor-selected')];
  h.expect(`${s}` === 'true, Nombre de comptage = 0 ,', 'right click: list open, no count: ' + s);
  await h.clicks(page, {touch}, ['LANCER_N', entry, 'LANCER']);
}

// Moves across the histogram, left to right, below the mean label: each class the query shows
// [caption, x, y], at least three.
async function queryAcross(page, moveTo) {
  const [bottom, width] = await page.$eval('[data-name="N1MOYEN"]', (el) =>
    [el.getBoundingClientRect().bottom, document.querySelector('.kestor-stage').offsetWidth]);
  const y = Math.round(bottom + 40), seen = [];
  for (let i = 0; i <= 60; ++i) {
    const x = Math.round(4 + (width - 8) * i / 60);
    await moveTo(x, y, i === 0, i === 60), await h.settle(page, true);
    const c = await h.read(page, 'EFF1');
    if (c !== null && seen[seen.length - 1]?.[0] !== c) seen.push([c, x, y]);
  }
  h.expect(seen.length >= 3, 'the query shows several classes: ' + JSON.stringify(seen));
  return seen;
}

// The histogram query, moved over each class in turn, reads as on the desktop; then a rate change
// cleared with OUI.
async function queryThenRate(page) {
  const [caption, x, y] = (await queryAcross(page, (x, y) => page.mouse.move(x, y)))[1];
  const want = desktop(1024, 768, ...CLOCK, RATE_4, COUNT_1000, x, y).caption.EFF1;
  h.expect(caption === want, `the query reads "${caption}", on the desktop "${want}"`);
  await h.clicks(page, {}, ['ACTIVITES', , 'ACTIV'], ['ACTIV', RATE_8, 'ATTENTION'],
    ['OUI', , ['ACTIVIT', ' Taux de comptage = 8 imp/s ']]);
  await h.waitFor(page, 'NBCOMPTAGE', ' Nombre de comptage = 0 ');
  h.expect(!(await shown(page, 'ATTENTION')), 'the warning is gone');
}

// A viewport that grows later scales the whole stage, the layout of the viewport at load in
// proportion, and clicks still land.
async function growThenCount(page, want) {
  await page.setViewport({width: 1600, height: 1000});
  await h.until(page, () =>
    Math.abs(document.querySelector('.kestor-stage').getBoundingClientRect().height - 1000) < 1);
  await h.sameAsDesktop(page, want), await countOne(page);
}

// With taps alone: a finger dragged over the histogram is the query, and a page opens and closes.
async function dragThenPage(page) {
  const t = page.touchscreen;
  await queryAcross(page, (x, y, first, last) =>
    (first ? t.touchStart(x, y) : t.touchMove(x, y)).then(() => last && t.touchEnd()));
  await h.clicks(page, {touch: true}, ['INFORMATION', , 'INFOS'], ['INFOS', 0, 'BLANCS'],
    ['BLANCS', , 'FIN']);
}

// Each page opens over the window, hiding the quit command, and closes; Quitter in a tab that may
// not close leaves the page saying it has ended, and a click where the commands were does nothing.
async function pagesThenQuit(page) {
  await page.evaluate(() => { window.close = () => {}; });
  for (let i = 0; i < 4; ++i) {
    await h.clicks(page, {}, ['INFORMATION', , 'INFOS'], ['INFOS', i, 'BLANCS']);
    h.expect(!(await shown(page, 'FIN')), `page ${i}: the quit command is hidden`);
    await h.clicks(page, {}, ['BLANCS', , 'FIN']);
    h.expect(!(await shown(page, 'BLANCS')), `page ${i} closed`);
  }
  await h.clicks(page, {}, ['FIN']);
  await h.until(page, () => document.documentElement.dataset.ended === '1');
  await page.mouse.click(40, 64), await page.mouse.click(960, 27);
  const end = await page.evaluate(() => [document.body.innerText.trim(),
    !document.querySelector('.kestor-stage')?.checkVisibility(),
    document.querySelectorAll('.kestor-ended').length, Module.stage.pending()].join('|'));
  h.expect(end === 'KESTOR est terminé. Vous pouvez fermer cet onglet.|true|1|0', 'ended: ' + end);
}

// Each page, at its viewport, shows the desktop's window at the same screen size (or the whole
// factor smaller one a too large viewport is magnified from): the stage covers the viewport, the
// canvas has its device pixels and the layout's CSS width; the same widgets and surface at the
// start and after a series of `count` (by mouse, or taps on a touch screen); then `then`. Text
// drawn at twice the size is placed to the device pixel and may reach a pixel further from its
// line: its surroundings are left out (radius 3) and a few pixels may differ (a bar or a line one
// pixel off would differ by hundreds).
for (const [name, url, view, layout, count, near, ...then] of [
  ['1024x768 single: count, pages, Quitter', single, XGA, [1024, 768], 0, [1], countOne,
   pagesThenQuit],
  ['1024x768 site: series 1000, query, rate', '', XGA, [1024, 768], 1000, [1], queryThenRate],
  ['1024x768 site, touch: series 1000, drag, page', '', {...XGA, hasTouch: true}, [1024, 768], 1000,
   [1], dragThenPage],
  ['800x600 single: series 200', single, VGA, [800, 600], 200, [1]],
  ['800x600 site: grown, count', '', VGA, [800, 600], 0, [1], growThenCount],
  ['3840x2160 site: magnified, count', '', {width: 3840, height: 2160}, [1920, 1080], 0, [3, 40],
   countOne],
  ['800x600 HiDPI single: series 200', single, {...VGA, deviceScaleFactor: 2}, [800, 600], 200,
   [3, 40]],
]) {
  tests.push([name, async (b, site) => {
    const page = await h.open(b, url || site, view), scale = view.deviceScaleFactor || 1;
    const got = await page.$eval('.kestor-surface', (c, r = c.parentNode.getBoundingClientRect()) =>
      [c.width, c.height, c.offsetWidth, r.width, r.height].map(Math.round).join());
    const expected = [view.width * scale, view.height * scale, layout[0], view.width, view.height];
    h.expect(got === `${expected}`, `canvas w h, CSS w, stage w h: ${got}, not ${expected}`);
    const entry = count === 1000 ? COUNT_1000 : COUNT_200;
    let want = desktop(...layout);
    for (const n of count ? [0, count] : [0]) {
      if (n) await series(page, entry, view.hasTouch);
      if (n) want = desktop(...layout, ...CLOCK, RATE_4, entry);
      h.expect(want.caption.NBCOMPTAGE.includes(` = ${n} `), 'the desktop counted ' + n);
      await h.sameAsDesktop(page, want, ...near);
    }
    for (const next of then) await next(page, want);
    await h.close(page);
  }]);
}

tests.push(['Quitter closes the tab a script opened', async (b, site) => {
  const opener = await b.newPage(), opened = new Promise((ok) => b.once('targetcreated', ok));
  await opener.evaluate((url) => { window.open(url, '_blank', 'width=1024,height=768'); }, site);
  const page = await (await opened).page(), closed = new Promise((ok) => page.once('close', ok));
  await h.started(page);
  await h.clicks(page, {}, ['FIN']).catch(() => {});  // the tab may go before the click returns
  await closed, await opener.close();
}], ['without the data file the page shows the missing-file panel', async (b) => {
  const page = await h.open(b, `file://${path.resolve(h.arg('nodata'))}/kestor.html`, XGA);
  await h.clicks(page, {}, ['LANCER', , 'LANCER_N'],
    ['LANCER_N', COUNT_1, ['DISK_2', 'Il manque un fichier']]);
  await h.close(page);
}], ['a mouse fuzzer: thousands of random events, no script error', async (b, site) => {
  const page = await h.open(b, site, XGA), m = page.mouse, sent = [];
  let seed = 12345, held = false;
  const rnd = (n) => (seed = (seed * 1103515245 + 12345) % 2147483648) % n;
  // Events sent in order without waiting for each, awaited by the hundred; then, until the program
  // ends, what the desktop fuzzer holds true: at most one list open, a page or the quit command, no
  // missing-file panel.
  for (let i = 0, s = []; i < 3000 && s; ++i) {
    const x = rnd(1024), y = rnd(768), r = rnd(10);
    if (r < 6) sent.push(m.move(x, y));
    else if (r < 8 && !held) sent.push(m.move(x, y), m.down()), held = true;
    else if (held) sent.push(m.up()), held = false;
    if (i % 100 !== 99) continue;
    await Promise.all(sent.splice(0)).then(() => h.settle(page));
    s = await page.evaluate(() => document.documentElement.dataset.ended ? null :
      ['LANCER_N ACTIV INFOS', 'FIN BLANCS', 'DISK_0'].map((names) => names.split(' ')
        .filter((n) => document.querySelector(`[data-name="${n}"]`)?.style.display === '').length));
    h.expect(!s || (s[0] <= 1 && s[1] === 1 && s[2] === 0), `event ${i}: ${s} shown`);
  }
  await h.close(page);
}]);

h.main(tests, web, h.arg('only'));
