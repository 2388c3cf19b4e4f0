// The browser's figures for make bench, in headless chromium on this
// machine: a series of 100000 counts at 16 imp/s (its time, the repaints
// per second during it), the counts made after a stop click, the time from
// opening the single file to its first painted frame, and its size.
//
//   node bench/web.js --web DIR   (puppeteer-core from tests/web: npm ci there)
'use strict';

const fs = require('fs');
const path = require('path');
const h = require('../tests/web/harness');

const web = path.resolve(h.arg('web')), single = 'file://' + web + '/kestor.html';
const RATE_16 = 5, COUNT_100000 = 15;
const counts = (text) => Number(text.replace(/[^0-9]/g, ''));

async function chooseRate(page) {
  await h.clicks(page, {}, ['ACTIVITES', , 'ACTIV'], ['ACTIV', RATE_16]);
  if ((await h.read(page, 'ATTENTION')) !== null) await h.clicks(page, {}, ['OUI']);
}

async function startSeries(page) {
  await h.clicks(page, {}, ['LANCER', , 'LANCER_N']);
  const p = await h.pointAt(page, 'LANCER_N', COUNT_100000);
  await page.mouse.move(p.x, p.y, {steps: 3});
  await page.mouse.down();
  const start = await page.evaluate(() => [performance.now(), Module.stage.frames()]);
  await page.mouse.up();
  return start;
}

h.session(web, async (browser, site) => {
  const out = [];
  // Time to the first painted frame of the single file (best of three).
  let first = Infinity;
  for (let i = 0; i < 3; ++i) {
    const page = await h.open(browser, single, {width: 1024, height: 768});
    await page.waitForFunction(() => Module.stage.firstFrameAt > 0);
    first = Math.min(first, await page.evaluate(() => Module.stage.firstFrameAt));
    await h.close(page);
  }
  out.push(['kestor.html: opening to the first painted frame', first.toFixed(0) + ' ms']);
  out.push(['kestor.html: size', (fs.statSync(path.join(web, 'kestor.html')).size / 1048576).toFixed(1) + ' MiB']);

  // A series of 100000 at 16 imp/s, to its end.
  let page = await h.open(browser, site, {width: 1024, height: 768});
  await chooseRate(page);
  const [t0, f0] = await startSeries(page);
  await page.waitForFunction(() => {
    const el = document.querySelector('[data-name="NBCOMPTAGE"]');
    return el && el.textContent === ' Nombre de comptages = 100000 ';
  }, {timeout: 600000});
  const [t1, f1] = await page.evaluate(() => [performance.now(), Module.stage.frames()]);
  const seconds = (t1 - t0) / 1000;
  out.push(['series of 100000 at 16 imp/s', seconds.toFixed(2) + ' s']);
  out.push(['repaints per second during it', ((f1 - f0) / seconds).toFixed(0)]);
  await h.close(page);

  // A stop click early in a series: the counts made after the release, as
  // far as the page had shown them when the release reached it, against
  // one frame's worth of counts (the series' counts per repaint).
  page = await h.open(browser, site, {width: 1024, height: 768});
  await chooseRate(page);
  await startSeries(page);
  await h.waitFor(page, 'Label34');
  const stop = await h.pointAt(page, 'Label34');
  await page.mouse.move(stop.x, stop.y);
  await page.mouse.down();
  await page.mouse.up();
  const before = counts(await h.read(page, 'NBCOMPTAGE'));
  await h.waitFor(page, 'LANCER');
  await h.settle(page);
  const after = counts(await h.read(page, 'NBCOMPTAGE'));
  out.push(['counts after a stop click (stopped at ' + after + ')', String(after - before)]);
  out.push(['one frame of that series, in counts', (100000 / (f1 - f0)).toFixed(0)]);
  await h.close(page);
  console.log('Browser (headless chromium):');
  for (const [what, v] of out) console.log(`  ${what.padEnd(50)} ${v}`);
}).catch((e) => { console.error(e); process.exit(1); });
