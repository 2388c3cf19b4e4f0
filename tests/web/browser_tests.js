// The browser tests: the web build in headless chromium (the system's own, driven by puppeteer-core), as the
// single file (file://) and the served folder, compared with the desktop build (tests/web/geometry.cpp).
//   node browser_tests.js --web DIR --nodata DIR --geometry PROGRAM [--only NAME]
'use strict';

const h = require('./harness');

const args = h.parseArgs(process.argv.slice(2), ['web', 'nodata', 'geometry']);
const single = 'file://' + args.web + '/kestor.html';
const desktop = (...a) => h.desktopDump(args.geometry, a[0], a[1], args.web + '/KESTOR_11.KSQ', ...a.slice(2));
const RATE_4 = 3, RATE_8 = 4, COUNT_1 = 0, COUNT_200 = 7, COUNT_1000 = 9;  // entries of the lists (0-based)
const CLOCK = [1000, 0.25];  // the clock the series run with, on both sides: start and step in seconds
const tests = [], test = (name, fn) => tests.push({name, fn});

// A count of one, chosen with real mouse moves and presses.
async function countOne(page) {
  await h.click(page, 'LANCER', {next: 'LANCER_N'});
  await h.click(page, 'LANCER_N', {entry: COUNT_1, next: 'N1COMPTE'});  // the value of the count
  await h.waitCaption(page, 'NBCOMPTAGE', ' Nombre de comptage = 1 ');
}

// A series at 4 imp/s chosen as a user does (clicks, or taps), with the clock fixed as on the desktop
// side; returns at rest, the series over. With the mouse, a right click on the entry first does nothing.
async function series(page, entry, touch) {
  await page.evaluate(([s, d]) => Module._kestor_seam_clock(s, d), CLOCK);
  await h.click(page, 'ACTIVITES', {touch, next: 'ACTIV'});
  await h.click(page, 'ACTIV', {entry: RATE_4, touch});
  if (await h.shown(page, 'ATTENTION')) await h.click(page, 'OUI', {touch});
  await h.click(page, 'LANCER', {touch, next: 'LANCER_N'});
  if (!touch) {
    const p = await h.pointAt(page, 'LANCER_N', entry);
    await page.mouse.move(p.x, p.y), await page.mouse.down({button: 'right'}), await page.mouse.up({button: 'right'});
    await h.settle(page);
    const selected = await page.$('[data-name="LANCER_N"] .kestor-selected');
    const state = [await h.shown(page, 'LANCER_N'), await h.caption(page, 'NBCOMPTAGE'), selected];
    h.expect(state.join() === 'true, Nombre de comptage = 0 ,', 'right click: list open, no count, none selected: ' + state);
  }
  await h.click(page, 'LANCER_N', {entry, touch, next: 'LANCER'});
}

// A viewport that grows later scales the whole stage, the layout of the viewport at load in
// proportion, and clicks still land.
async function growThenCount(page, want) {
  await page.setViewport({width: 1600, height: 1000});
  await h.until(page, () => Math.abs(document.querySelector('.kestor-stage').getBoundingClientRect().height - 1000) < 1);
  await h.sameWidgets(page, want);
  await countOne(page);
}

// The histogram query, moving over each class in turn left to right, reads as on the desktop; then a
// rate change cleared with OUI.
async function queryThenRate(page) {
  const seen = await h.queryAcross(page, (x, y) => page.mouse.move(x, y));
  h.expect(seen.length >= 3, 'the query shows several classes: ' + JSON.stringify(seen));
  const want = desktop(1024, 768, ...CLOCK, RATE_4, COUNT_1000, ...seen[1].at);
  h.expect(want.widgets.find((x) => x.name === 'EFF1').caption === seen[1].caption,
           `the query reads as on the desktop: ${seen[1].caption}`);
  await h.click(page, 'ACTIVITES', {next: 'ACTIV'});
  await h.click(page, 'ACTIV', {entry: RATE_8, next: 'ATTENTION'});
  await h.click(page, 'OUI');
  await h.waitCaption(page, 'NBCOMPTAGE', ' Nombre de comptage = 0 ');
  await h.waitCaption(page, 'ACTIVIT', ' Taux de comptage = 8 imp/s ');
  h.expect(!(await h.shown(page, 'ATTENTION')), 'the warning is gone');
}

// Each page, at its viewport (CSS pixels, device scale), shows the desktop's window at the same screen
// size (or the whole factor smaller one a too large viewport is magnified from): the same widgets
// within a pixel and the same surface, on a canvas [w, h, CSS w] of the layout's size times the scale,
// at the start and after a series of `count`; `then` goes on with the page. Text drawn at twice the size
// is placed to the device pixel and may reach a pixel further from its line: its surroundings are left
// out (radius 3) and a few pixels may differ (a bar or a line one pixel off would differ by hundreds).
for (const [name, served, view, layout, canvas, count, near, then] of [
  ['1024x768 single: count', false, [1024, 768], [1024, 768], [1024, 768, 1024], 0, [1], countOne],
  ['1024x768 site: series 1000, query, rate', true, [1024, 768], [1024, 768], [1024, 768, 1024], 1000, [1], queryThenRate],
  ['800x600 single: series 200', false, [800, 600], [800, 600], [800, 600, 800], 200, [1]],
  ['800x600 site: grown, count', true, [800, 600], [800, 600], [800, 600, 800], 0, [1], growThenCount],
  ['3840x2160 site: magnified, count', true, [3840, 2160], [1920, 1080], [3840, 2160, 1920], 0, [3, 40], countOne],
  ['800x600 HiDPI single: series 200', false, [800, 600, 2], [800, 600], [1600, 1200, 800], 200, [3, 40]],
]) {
  test(name, async (b, site) => {
    const page = await h.open(b, served ? site : single, {width: view[0], height: view[1], deviceScaleFactor: view[2] || 1});
    const sizes = await page.$eval('.kestor-surface', (c) => [c.width, c.height, c.offsetWidth]);
    h.expect(sizes.join() === canvas.join(), `canvas ${sizes}, expected ${canvas}`);
    const entry = count === 1000 ? COUNT_1000 : COUNT_200;
    let want = desktop(...layout);
    for (let i = 0; i <= (count ? 1 : 0); ++i) {
      if (i) await series(page, entry), want = desktop(...layout, ...CLOCK, RATE_4, entry);
      h.expect(want.widgets.find((x) => x.name === 'NBCOMPTAGE').caption.includes(` = ${i * count} `), 'the desktop counted');
      await h.sameWidgets(page, want);
      await h.sameSurface(page, want, ...near);
    }
    if (then) await then(page, want);
    await h.close(page);
  });
}

test('pages open and close, Quitter leaves a tab that may not close ended', async (b, site) => {
  const page = await h.open(b, site, {width: 1024, height: 768}, () => { window.close = () => {}; });
  for (let i = 0; i < 4; ++i) {
    await h.click(page, 'INFORMATION', {next: 'INFOS'});
    await h.click(page, 'INFOS', {entry: i, next: 'BLANCS'});
    h.expect(!(await h.shown(page, 'FIN')), `page ${i}: the quit command is hidden`);
    await h.click(page, 'BLANCS', {next: 'FIN'});
    h.expect(!(await h.shown(page, 'BLANCS')), `page ${i} closed`);
  }
  await h.click(page, 'FIN');
  await h.until(page, () => document.documentElement.dataset.ended === '1');
  const [stage, text] = await page.evaluate(() =>
    [document.querySelector('.kestor-stage')?.style.display ?? 'gone', document.body.innerText.trim()]);
  h.expect(['none', 'gone'].includes(stage) && text === 'KESTOR est terminé. Vous pouvez fermer cet onglet.',
           `the window is gone (${stage}), the page says it has ended: ${text}`);
  // Nothing runs any more: a click where the commands were changes nothing.
  await page.mouse.click(40, 64), await page.mouse.click(960, 27);
  h.expect(await page.evaluate(() => document.querySelectorAll('.kestor-ended').length === 1 && Module.stage.pending() === 0),
           'no handler ran after the end');
  await h.close(page);
});

test('Quitter closes the tab a script opened', async (b, site) => {
  const opener = await b.newPage(), opened = new Promise((resolve) => b.once('targetcreated', (t) => resolve(t.page())));
  await opener.evaluate((url) => { window.open(url, '_blank', 'width=1024,height=768'); }, site);
  const page = await opened, closed = new Promise((resolve) => page.once('close', resolve));
  await h.started(page);
  await h.click(page, 'FIN').catch(() => {});  // the tab may go before the click returns
  await closed, await opener.close();
});

test('without the data file the page shows the missing-file panel', async (b) => {
  const page = await h.open(b, 'file://' + args.nodata + '/kestor.html', {width: 1024, height: 768});
  await h.click(page, 'LANCER', {next: 'LANCER_N'});
  await h.click(page, 'LANCER_N', {entry: COUNT_1, next: 'DISK_0'});
  h.expect((await h.caption(page, 'DISK_2')) === 'Il manque un fichier', 'the panel says so');
  await h.close(page);
});

test('a session with touch alone', async (b, site) => {
  const page = await h.open(b, site, {width: 1024, height: 768, hasTouch: true, isMobile: false});
  await series(page, COUNT_1000, true);
  h.expect((await h.caption(page, 'NBCOMPTAGE')) === ' Nombre de comptages = 1000 ', 'a series of 1000');
  // A finger dragged over the histogram is the query.
  const seen = await h.queryAcross(page, async (x, y, first, last) => {
    await (first ? page.touchscreen.touchStart(x, y) : page.touchscreen.touchMove(x, y));
    if (last) await page.touchscreen.touchEnd();
  });
  h.expect(seen.length >= 3, 'the drag shows several classes: ' + JSON.stringify(seen));
  await h.click(page, 'INFORMATION', {touch: true, next: 'INFOS'});
  await h.click(page, 'INFOS', {entry: 0, touch: true, next: 'BLANCS'});
  await h.click(page, 'BLANCS', {touch: true, next: 'FIN'});
  await h.close(page);
});

test('a mouse fuzzer: thousands of random events, no script error', async (b, site) => {
  const page = await h.open(b, site, {width: 1024, height: 768});
  let seed = 12345, held = false, ended = false, sent = [];
  const rnd = (n) => (seed = (seed * 1103515245 + 12345) % 2147483648) % n;
  // Events sent in order without waiting for each, awaited by the hundred; then what the desktop fuzzer
  // holds true: at most one list open, only a page hides the quit command, no missing-file panel.
  for (let i = 0; i < 3000 && !ended; ++i) {
    const x = rnd(1024), y = rnd(768), r = rnd(10);
    if (r < 6) sent.push(page.mouse.move(x, y));
    else if (r < 8 && !held) sent.push(page.mouse.move(x, y), page.mouse.down()), held = true;
    else if (held) sent.push(page.mouse.up()), held = false;
    if (i % 100 !== 99) continue;
    await Promise.all(sent.splice(0)).then(() => h.settle(page));
    const s = await page.evaluate((vis = (n) => document.querySelector(`[data-name="${n}"]`)?.style.display === '') =>
      document.documentElement.dataset.ended === '1' ? null :
        [['LANCER_N', 'ACTIV', 'INFOS'].filter(vis).length <= 1, vis('FIN') !== vis('BLANCS'), !vis('DISK_0')]);
    h.expect((ended = !s) || s.every(Boolean), `event ${i}: invariants (one list, quit or page, no panel) ${s}`);
  }
  await h.close(page);
});

h.main(tests, args);
