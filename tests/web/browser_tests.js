// The browser tests: the web build of KESTOR in headless chromium (the
// system's own, driven by puppeteer-core), opened as the single file
// (file://) and from the served folder (a static server on 127.0.0.1).
// Geometry, captions and the drawing surface are compared with what the
// desktop build shows for the same actions (tests/web/geometry.cpp).
//
//   node browser_tests.js --web DIR --nodata DIR --geometry PROGRAM [--only NAME]
'use strict';

const h = require('./harness');

const args = h.parseArgs(process.argv.slice(2), ['web', 'nodata', 'geometry']);
const single = 'file://' + args.web + '/kestor.html';
const nodata = 'file://' + args.nodata + '/kestor.html';
const dataFile = args.web + '/KESTOR_11.KSQ';
const desktop = (w, hgt, ...more) => h.desktopDump(args.geometry, w, hgt, dataFile, ...more);

// Entries of the lists, as the window fills them (0-based).
const RATE_4 = 3, RATE_8 = 4;
const COUNT_1 = 0, COUNT_1000 = 9, COUNT_200 = 7;
// The clock the series run with, on both sides: start and step in seconds.
const CLOCK = [1000, 0.25];

const tests = [];
function test(name, fn) { tests.push({name, fn}); }

// ------------------------------------------------------------ geometry

for (const [w, hgt] of [[1024, 768], [800, 600]]) {
  for (const where of ['single', 'site']) {
    test(`geometry ${w}x${hgt} ${where}`, async (b, site) => {
      const want = desktop(w, hgt);
      const page = await h.open(b, where === 'single' ? single : site, {width: w, height: hgt});
      const got = await h.widgets(page);
      h.sameWidgets(got, want.widgets, 1);
      // The start screen's drawn panel, read from the canvas.
      h.sameSurface(await h.surface(page), want.surface);
      await h.close(page);
    });
  }
}

// ------------------------------------------------------------ counting

test('a count with the mouse', async (b, site) => {
  const page = await h.open(b, site, {width: 1024, height: 768});
  await h.click(page, 'LANCER');
  await h.waitShown(page, 'LANCER_N');
  await h.releaseOnEntry(page, 'LANCER_N', COUNT_1);
  await h.waitCaption(page, 'NBCOMPTAGE', ' Nombre de comptage = 1 ');
  h.expect(await h.shown(page, 'N1COMPTE'), 'the value of the count is shown');
  await h.close(page);
});

// A series chosen with real mouse moves and presses, with the clock fixed
// as on the desktop side: the same captions and the same histogram.
async function series(b, url, rate, entry, view) {
  const page = await h.open(b, url, view);
  await page.evaluate(([s, d]) => Module._kestor_seam_clock(s, d), CLOCK);
  await h.click(page, 'ACTIVITES');
  await h.waitShown(page, 'ACTIV');
  await h.pressOnEntry(page, 'ACTIV', rate);
  if (await h.shown(page, 'ATTENTION')) await h.click(page, 'OUI');
  await h.click(page, 'LANCER');
  await h.waitShown(page, 'LANCER_N');
  await h.releaseOnEntry(page, 'LANCER_N', entry);
  await h.waitShown(page, 'LANCER');  // back at rest: the series is over
  return page;
}

test('a series of 1000 at 4 imp/s agrees with the desktop', async (b, site) => {
  const want = desktop(1024, 768, ...CLOCK, RATE_4, COUNT_1000);
  const page = await series(b, site, RATE_4, COUNT_1000, {width: 1024, height: 768});
  h.expect(want.widgets.find((x) => x.name === 'NBCOMPTAGE').caption ===
           ' Nombre de comptages = 1000 ', 'the desktop made 1000 counts');
  h.sameWidgets(await h.widgets(page), want.widgets, 1);
  h.sameSurface(await h.surface(page), want.surface);
  await h.close(page);
});

test('a series of 200 at 4 imp/s in the single file agrees with the desktop', async (b) => {
  const want = desktop(800, 600, ...CLOCK, RATE_4, COUNT_200);
  const page = await series(b, single, RATE_4, COUNT_200, {width: 800, height: 600});
  h.sameWidgets(await h.widgets(page), want.widgets, 1);
  h.sameSurface(await h.surface(page), want.surface);
  await h.close(page);
});

test('on a HiDPI screen the surface has twice the pixels, and the same picture', async (b) => {
  const want = desktop(800, 600, ...CLOCK, RATE_4, COUNT_200);
  const page = await series(b, single, RATE_4, COUNT_200,
                            {width: 800, height: 600, deviceScaleFactor: 2});
  const size = await page.$eval('.kestor-surface', (c) => [c.width, c.height, c.offsetWidth]);
  h.expect(size[0] === 1600 && size[1] === 1200 && size[2] === 800,
           'canvas of 1600 x 1200 device pixels shown on 800 CSS pixels: ' + size);
  h.sameWidgets(await h.widgets(page), want.widgets, 1);
  // Text drawn at twice the size is placed to the device pixel, and may
  // reach a pixel further from its line than at the desktop's size: its
  // surroundings are left out, and a few of its pixels may differ (a bar or
  // a line one pixel off would differ by hundreds).
  h.sameSurface(await h.surface(page), want.surface, 3, 40);
  await h.close(page);
});

test('a viewport that grows later scales the whole stage, and clicks still land', async (b, site) => {
  const page = await h.open(b, site, {width: 800, height: 600});
  await page.setViewport({width: 1600, height: 1000});
  await page.waitForFunction(() => {
    const r = document.querySelector('.kestor-stage').getBoundingClientRect();
    return Math.abs(r.width - 800 * 1000 / 600) < 1 && Math.abs(r.height - 1000) < 1;
  });
  // The layout is the one of the viewport at load, in proportion.
  const want = desktop(800, 600);
  h.sameWidgets(await h.widgets(page), want.widgets, 1);
  await h.click(page, 'LANCER');
  await h.waitShown(page, 'LANCER_N');
  await h.releaseOnEntry(page, 'LANCER_N', COUNT_1);
  await h.waitCaption(page, 'NBCOMPTAGE', ' Nombre de comptage = 1 ');
  await h.close(page);
});

test('a viewport too large for the layout runs magnified and covered, as on the desktop', async (b, site) => {
  const page = await h.open(b, site, {width: 3840, height: 2160});
  const sizes = await page.$eval('.kestor-surface', (c) => {
    const r = document.querySelector('.kestor-stage').getBoundingClientRect();
    return [c.width, c.height, c.offsetWidth, Math.round(r.width), Math.round(r.height)];
  });
  h.expect(sizes.join() === '3840,2160,1920,3840,2160',
           'a 1920 x 1080 stage scaled by 2 over the viewport, its canvas at 3840 x 2160: ' + sizes);
  h.sameWidgets(await h.widgets(page), desktop(1920, 1080).widgets, 1);
  await h.click(page, 'LANCER');
  await h.waitShown(page, 'LANCER_N');
  await h.close(page);
});

test('the histogram query follows the mouse', async (b, site) => {
  const page = await series(b, site, RATE_4, COUNT_1000, {width: 1024, height: 768});
  // Over each class in turn, left to right: the class shown grows.
  const seen = await h.queryAcross(page, async (x, y) => page.mouse.move(x, y, {steps: 2}));
  h.expect(seen.length >= 3, 'the query shows several classes: ' + JSON.stringify(seen));
  const want = desktop(1024, 768, ...CLOCK, RATE_4, COUNT_1000, ...seen[1].at);
  h.expect(want.widgets.find((x) => x.name === 'EFF1').caption === seen[1].caption,
           `the query reads as on the desktop: "${seen[1].caption}"`);
  await h.close(page);
});

test('clearing with OUI on a rate change', async (b, site) => {
  const page = await series(b, site, RATE_4, COUNT_1000, {width: 1024, height: 768});
  await h.click(page, 'ACTIVITES');
  await h.waitShown(page, 'ACTIV');
  await h.pressOnEntry(page, 'ACTIV', RATE_8);
  await h.waitShown(page, 'ATTENTION');
  await h.click(page, 'OUI');
  await h.waitCaption(page, 'NBCOMPTAGE', ' Nombre de comptage = 0 ');
  await h.waitCaption(page, 'ACTIVIT', ' Taux de comptage = 8 imp/s ');
  h.expect(!(await h.shown(page, 'ATTENTION')), 'the warning is gone');
  await h.close(page);
});

// ------------------------------------------------------------ pages, end

test('each information page opens and closes', async (b, site) => {
  const page = await h.open(b, site, {width: 1024, height: 768});
  for (let i = 0; i < 4; ++i) {
    await h.click(page, 'INFORMATION');
    await h.waitShown(page, 'INFOS');
    await h.releaseOnEntry(page, 'INFOS', i);
    await h.waitShown(page, 'BLANCS');
    h.expect(!(await h.shown(page, 'FIN')), `page ${i}: the quit command is hidden`);
    await h.click(page, 'BLANCS');
    await h.waitShown(page, 'FIN');
    h.expect(!(await h.shown(page, 'BLANCS')), `page ${i} closed`);
  }
  await h.close(page);
});

test('Quitter ends the program and closes the tab it opened in', async (b, site) => {
  // A browser lets a script close only a tab a script opened.
  const opener = await b.newPage();
  const opened = new Promise((resolve) => b.once('targetcreated', (t) => resolve(t.page())));
  await opener.evaluate((url) => { window.open(url, '_blank', 'width=1024,height=768'); }, site);
  const page = await opened;
  await page.waitForFunction(() => {
    const s = document.querySelector('.kestor-stage');
    return s && s.style.display === '';
  });
  const closed = new Promise((resolve) => page.once('close', resolve));
  await h.click(page, 'FIN').catch(() => {});  // the tab may go before the click returns
  await closed;
  h.expect(page.isClosed(), 'the tab is closed');
  await opener.close();
});

test('Quitter where the tab may not close leaves the page plainly ended', async (b, site) => {
  const p = await h.open(b, site, {width: 1024, height: 768}, () => { window.close = () => {}; });
  await h.click(p, 'FIN');
  await p.waitForFunction(() => document.documentElement.dataset.ended === '1');
  const state = await p.evaluate(() => {
    const stage = document.querySelector('.kestor-stage');
    return {stage: stage ? stage.style.display : 'gone', text: document.body.innerText.trim()};
  });
  h.expect(state.stage === 'none' || state.stage === 'gone', 'the window is gone');
  h.expect(state.text === 'KESTOR est terminé. Vous pouvez fermer cet onglet.',
           'the page says it has ended: ' + state.text);
  // Nothing runs any more: a click where the commands were changes nothing.
  await p.mouse.click(40, 64);
  await p.mouse.click(960, 27);
  h.expect(await p.evaluate(() => document.querySelectorAll('.kestor-ended').length === 1 &&
                                  Module.stage.pending() === 0),
           'no handler ran after the end');
  await h.close(p);
});

test('without the data file the page shows the missing-file panel', async (b) => {
  const page = await h.open(b, nodata, {width: 1024, height: 768});
  await h.click(page, 'LANCER');
  await h.waitShown(page, 'LANCER_N');
  await h.releaseOnEntry(page, 'LANCER_N', COUNT_1);
  await h.waitShown(page, 'DISK_0');
  h.expect((await h.caption(page, 'DISK_2')) === 'Il manque un fichier', 'the panel says so');
  await h.close(page);
});

// ------------------------------------------------------------ touch, right button

test('a session with touch alone', async (b, site) => {
  const page = await h.open(b, site, {width: 1024, height: 768, hasTouch: true, isMobile: false});
  await page.evaluate(([s, d]) => Module._kestor_seam_clock(s, d), CLOCK);
  const tap = async (name, entry) => {
    const p = entry === undefined ? await h.centre(page, name) : await h.entryCentre(page, name, entry);
    await page.touchscreen.tap(p.x, p.y);
  };
  await tap('ACTIVITES');
  await h.waitShown(page, 'ACTIV');
  await tap('ACTIV', RATE_4);
  if (await h.shown(page, 'ATTENTION')) await tap('OUI');
  await tap('LANCER');
  await h.waitShown(page, 'LANCER_N');
  await tap('LANCER_N', COUNT_1000);
  await h.waitCaption(page, 'NBCOMPTAGE', ' Nombre de comptages = 1000 ');
  await h.waitShown(page, 'LANCER');
  // A finger dragged over the histogram is the query.
  const seen = await h.queryAcross(page, async (x, y, first, last) => {
    if (first) await page.touchscreen.touchStart(x, y);
    else await page.touchscreen.touchMove(x, y);
    if (last) await page.touchscreen.touchEnd();
  });
  h.expect(seen.length >= 3, 'the drag shows several classes: ' + JSON.stringify(seen));
  await tap('INFORMATION');
  await h.waitShown(page, 'INFOS');
  await tap('INFOS', 0);
  await h.waitShown(page, 'BLANCS');
  await tap('BLANCS');
  await h.waitShown(page, 'FIN');
  await h.close(page);
});

test('a right click on a list entry changes nothing', async (b, site) => {
  const page = await h.open(b, site, {width: 1024, height: 768});
  await h.click(page, 'LANCER');
  await h.waitShown(page, 'LANCER_N');
  const p = await h.entryCentre(page, 'LANCER_N', COUNT_1);
  await page.mouse.move(p.x, p.y);
  await page.mouse.down({button: 'right'});
  await page.mouse.up({button: 'right'});
  await h.settle(page);
  h.expect(await h.shown(page, 'LANCER_N'), 'the list is still open');
  h.expect((await h.caption(page, 'NBCOMPTAGE')) === ' Nombre de comptage = 0 ', 'no count');
  h.expect(await page.evaluate(() => !document.querySelector('[data-name="LANCER_N"] .kestor-selected')),
           'no entry selected');
  await h.close(page);
});

// ------------------------------------------------------------ fuzzer

test('a mouse fuzzer: thousands of random events, no script error', async (b, site) => {
  const page = await h.open(b, site, {width: 1024, height: 768});
  let seed = 12345;
  const rnd = (n) => { seed = (seed * 1103515245 + 12345) % 2147483648; return seed % n; };
  let held = false, ended = false;
  for (let i = 0; i < 3000 && !ended; ++i) {
    const x = rnd(1024), y = rnd(768);
    const r = rnd(10);
    if (r < 6) await page.mouse.move(x, y);
    else if (r < 8 && !held) { await page.mouse.move(x, y); await page.mouse.down(); held = true; }
    else if (held) { await page.mouse.up(); held = false; }
    if (i % 100 === 99) {
      const s = await h.invariants(page);
      ended = s.ended;
      if (!ended) {
        h.expect(s.lists <= 1, `event ${i}: at most one list open (${s.lists})`);
        h.expect(s.fin !== s.page, `event ${i}: only a page hides the quit command`);
        h.expect(!s.disk, `event ${i}: no missing-file panel`);
      }
    }
  }
  if (held) await page.mouse.up();
  await h.close(page);
});

h.main(tests, args);
