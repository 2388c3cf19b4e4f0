// The web build in headless chromium, as the single file and the served site, against the desktop.
//   node browser_tests.js --web DIR --nodata DIR --geometry PROGRAM [--only NAME]
'use strict';

const fs = require('fs'), path = require('path'), h = require('./harness');
const web = path.resolve(h.arg('web')), single = `file://${web}/kestor.html`;
const nodata = `file://${path.resolve(h.arg('nodata'))}/kestor.html`;
const desktop = (...a) => h.desktopDump(h.arg('geometry'), web + '/KESTOR_11.KSQ', ...a);
const RATE_4 = 3, RATE_8 = 4, COUNT_1 = 0, COUNT_200 = 7, COUNT_1000 = 9;  // entries of the lists
const CLOCK = [1000, 0.25];  // the clock the series run with, on both sides: start, step (s)
const XGA = {width: 1024, height: 768}, VGA = {width: 800, height: 600};

// A count of one, chosen with real mouse moves and presses, and what it shows then.
const countOne = (page, _, shown = ['N1COMPTE', , ['NBCOMPTAGE', ' Nombre de comptage = 1 ']]) =>
  h.clicks(page, {}, ['LANCER', , 'LANCER_N'], ['LANCER_N', COUNT_1, ...shown]);

// The pictures as their files say: each colour of the picture's table on as many pixels;
// the labels' looks.
async function pictures(page) {
  for (const [name, file] of [['KESTOR_Image1', 'logo.xpm'], ['SIGMA2', 'sigma2.xpm']]) {
    const rows = [...fs.readFileSync(path.join(__dirname, '../../resources', file), 'utf8')
      .matchAll(/"([^"]*)"/g)].map((m) => m[1]), [w, ht, n, cpp] = rows[0].split(' ').map(Number);
    const rgb = Object.fromEntries(rows.slice(1, n + 1).map((r) => [r.slice(0, cpp),
      r.slice(r.indexOf('#', cpp) + 1).toLowerCase()])), want = {};
    for (const r of rows.slice(n + 1, n + 1 + ht))
      for (let i = 0, c; i < w * cpp; i += cpp) want[c = rgb[r.substr(i, cpp)]] = ~~want[c] + 1;
    const got = await page.$eval(`[data-name="${name}"]`, (img) => img.decode().then(() => {
      const c = Object.assign(document.createElement('canvas'), {width: img.naturalWidth,
        height: img.naturalHeight}).getContext('2d'), seen = {};
      c.drawImage(img, 0, 0);
      const d = c.getImageData(0, 0, img.naturalWidth, img.naturalHeight).data;
      for (let k = 0; k < d.length; k += 4) {
        const x = ((d[k] << 16) | (d[k + 1] << 8) | d[k + 2]).toString(16).padStart(6, '0');
        seen[x] = ~~seen[x] + 1;
      }
      return seen;
    }));
    const sorted = (o) => JSON.stringify(Object.entries(o).sort());
    h.expect(sorted(got) === sorted(want), `${name}: ${sorted(got).slice(0, 300)}`);
  }
  // Labels: text and ground colours, border, alignment (a disabled command's text grey).
  const looks = await page.evaluate(() => ['TITRE', 'FIN', 'LANCER', 'EFFACER', 'ACTIVIT'].map(
    (n, _, __, s = getComputedStyle(document.querySelector(`[data-name="${n}"]`))) =>
      [n, s.color, s.backgroundColor, s.borderTopWidth, s.textAlign].join()).join(' | '));
  h.expect(looks === 'TITRE,rgb(0, 0, 192),rgb(192, 192, 255),0px,center | ' +
    'FIN,rgb(255, 255, 255),rgb(255, 0, 0),0px,center | ' +
    'LANCER,rgb(0, 0, 0),rgb(192, 192, 192),1px,center | ' +
    'EFFACER,rgb(128, 128, 128),rgb(192, 192, 192),1px,center | ' +
    'ACTIVIT,rgb(255, 0, 0),rgb(255, 255, 255),0px,left', 'looks: ' + looks);
}

// A series at 4 imp/s by clicks or taps, on the desktop's clock; a right click first does nothing.
async function series(page, entry, o) {
  await page.evaluate(([s, d]) => Module._kestor_seam_clock(s, d), CLOCK);
  await h.clicks(page, o, ['ACTIVITES', , 'ACTIV'], ['ACTIV', RATE_4], ['LANCER', , 'LANCER_N']);
  if (!o.touch) await h.clicks(page, {button: 'right'}, ['LANCER_N', entry]);
  const s = [(await h.read(page, 'LANCER_N')) !== null, await h.read(page, 'NBCOMPTAGE'),
             await page.$('[data-name="LANCER_N"] .kestor-selected')];
  h.expect(`${s}` === 'true, Nombre de comptage = 0 ,', 'right click: list open, no count: ' + s);
  await h.clicks(page, o, ['LANCER_N', entry, 'LANCER']);
}

// Moves across the histogram below the mean label: the classes the query shows [caption, x, y].
async function queryAcross(page, moveTo, seen = []) {
  const [bottom, width] = await page.$eval('[data-name="N1MOYEN"]', (el) =>
    [el.getBoundingClientRect().bottom, document.querySelector('.kestor-stage').offsetWidth]);
  for (let i = 0, y = Math.round(bottom + 40); i <= 60; ++i) {
    const x = Math.round(4 + (width - 8) * i / 60);
    await moveTo(x, y, i === 0, i === 60), await h.settle(page, true);
    const c = await h.read(page, 'EFF1');
    if (c !== null && seen[seen.length - 1]?.[0] !== c) seen.push([c, x, y]);
  }
  h.expect(seen.length >= 3, 'the query shows several classes: ' + JSON.stringify(seen));
  return seen;
}

// The query reads as on the desktop; then a rate change is cleared with OUI.
async function queryThenRate(page) {
  const [caption, x, y] = (await queryAcross(page, (x, y) => page.mouse.move(x, y)))[1];
  const want = desktop(1024, 768, ...CLOCK, RATE_4, COUNT_1000, x, y).caption.EFF1;
  h.expect(caption === want, `the query reads "${caption}", on the desktop "${want}"`);
  await h.clicks(page, {}, ['ACTIVITES', , 'ACTIV'], ['ACTIV', RATE_8, 'ATTENTION'],
    ['OUI', , ['ACTIVIT', ' Taux de comptage = 8 imp/s '], 'ATTENTION']);
  await h.waitFor(page, 'NBCOMPTAGE', ' Nombre de comptage = 0 ');
}

// A viewport that grows scales the stage, the layout at load in proportion; clicks still land.
async function growThenCount(page, want) {
  await page.setViewport({width: 1600, height: 1000});
  await h.until(page, () =>
    Math.abs(document.querySelector('.kestor-stage').getBoundingClientRect().height - 1000) < 1);
  await h.sameAsDesktop(page, want), await countOne(page);
}

// With taps alone: a finger dragged over the histogram is the query, and a page opens and closes.
async function dragThenPage(page, _, t = page.touchscreen) {
  await queryAcross(page, (x, y, first, last) =>
    (first ? t.touchStart(x, y) : t.touchMove(x, y)).then(() => last && t.touchEnd()));
  await h.clicks(page, {touch: true}, ['INFORMATION', , 'INFOS'], ['INFOS', 0, 'BLANCS'],
    ['BLANCS', , 'FIN']);
}

// Pages hide the quit command till closed; Quitter where the tab may not close ends the page.
async function pagesThenQuit(page) {
  await page.evaluate(() => { window.close = () => {}; });
  await h.clicks(page, {}, ...[0, 1, 2, 3].flatMap((i) => [['INFORMATION', , 'INFOS'],
    ['INFOS', i, 'BLANCS', 'FIN'], ['BLANCS', , 'FIN', 'BLANCS']]), ['FIN']);
  await h.until(page, () => document.documentElement.dataset.ended === '1');
  await page.mouse.click(40, 64), await page.mouse.click(960, 27);
  const end = await page.evaluate(() => [document.body.innerText.trim(),
    !document.querySelector('.kestor-stage')?.checkVisibility(),
    document.querySelectorAll('.kestor-ended').length, Module.stage.pending()].join('|'));
  h.expect(end === 'KESTOR est terminé. Vous pouvez fermer cet onglet.|true|1|0', 'ended: ' + end);
}

// Random mouse events, then at most one list open, a page or the quit command, no missing file.
async function fuzz(page) {
  let seed = 12345, held = false, m = page.mouse, sent = [];
  const rnd = (n) => (seed = (seed * 1103515245 + 12345) % 2147483648) % n;
  for (let i = 0, s = []; i < 3000 && s; ++i) {
    sent.push(m.move(rnd(1024), rnd(768)), rnd(10) < 3 && ((held = !held) ? m.down() : m.up()));
    if (i % 100 !== 99) continue;
    await Promise.all(sent.splice(0)).then(() => h.settle(page));
    s = await page.evaluate(() => document.documentElement.dataset.ended ? null :
      ['LANCER_N ACTIV INFOS', 'FIN BLANCS', 'DISK_0'].map((names) => names.split(' ')
        .filter((n) => document.querySelector(`[data-name="${n}"]`)?.style.display === '').length));
    h.expect(!s || (s[0] <= 1 && s[1] === 1 && s[2] === 0), `event ${i}: ${s} shown`);
  }
}

const missing = (page) => countOne(page, 0, [['DISK_2', 'Il manque un fichier']]);  // no data file

// Pages show the desktop's window of the viewport's size (or `layout`, magnified): the stage covers
// the viewport, the canvas has its device pixels; the same widgets and surface at the start and
// after a series of `count`; then `then`. Text drawn twice the size may reach a pixel further.
const MAG = {width: 3840, height: 2160, layout: [1920, 1080]}, TOUCH = {...XGA, hasTouch: true};
const tests = [
  ['1024x768 single: looks, count, pages, Quitter', single, XGA, 0, [1], pictures, countOne,
    pagesThenQuit],
  ['1024x768 site: series 1000, query, rate', '', XGA, 1000, [1], queryThenRate],
  ['1024x768 site, touch: series 1000, drag, page', '', TOUCH, 1000, [1], dragThenPage],
  ['800x600 single: series 200', single, VGA, 200, [1]],
  ['800x600 site: grown, count', '', VGA, 0, [1], growThenCount],
  ['3840x2160 site: magnified, count', '', MAG, 0, [3, 40], countOne],
  ['800x600 HiDPI single: series 200', single, {...VGA, deviceScaleFactor: 2}, 200, [3, 40]],
  ['1024x768 single without the data file: count', nodata, XGA, 0, [1], missing],
  ['1024x768 site: random mouse events', '', XGA, 0, [1], fuzz],
].map(([name, url, view, count, near, ...then]) => [name, async (b, site) => {
  const {width: w, height: ht, layout = [w, ht], deviceScaleFactor: s = 1} = view;
  const page = await h.open(b, url || site, view);
  const got = await page.$eval('.kestor-surface', (c, r = c.parentNode.getBoundingClientRect()) =>
    [c.width, c.height, c.offsetWidth, r.width, r.height].map(Math.round).join());
  h.expect(got === `${[w * s, ht * s, layout[0], w, ht]}`, `canvas, stage: ${got}`);
  let want, entry = count === 1000 ? COUNT_1000 : COUNT_200;
  for (const n of count ? [0, count] : [0]) {
    if (n) await series(page, entry, {touch: view.hasTouch});
    want = desktop(...layout, ...(n ? [...CLOCK, RATE_4, entry] : []));
    h.expect(want.caption.NBCOMPTAGE.includes(` = ${n} `), 'the desktop counted ' + n);
    await h.sameAsDesktop(page, want, ...near);
  }
  for (const next of then) await next(page, want);
  await h.close(page);
}]);

tests.push(['Quitter closes the tab a script opened', async (b, site) => {
  const opener = await b.newPage(), opened = new Promise((ok) => b.once('targetcreated', ok));
  await opener.evaluate((url) => { window.open(url, '_blank', 'width=1024,height=768'); }, site);
  const page = await (await opened).page(), closed = new Promise((ok) => page.once('close', ok));
  await h.waitFor(page, 'FIN'), await h.clicks(page, {}, ['FIN']).catch(() => {});  // may end first
  await closed, await opener.close();
}]);

h.main(tests, web, h.arg('only'));
