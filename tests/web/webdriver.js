// WebKitGTK's MiniBrowser driven through W3C WebDriver (WebKitWebDriver, plain HTTP calls), on an
// Xvfb display of its own, behind the few calls of puppeteer's browser and page the tests make.
// One session (one MiniBrowser) per device pixel ratio, its window each page in turn; a window a
// page opens is a page of its own.
'use strict';

const {spawn} = require('child_process'), net = require('net');
const MINIBROWSER = '/usr/lib/x86_64-linux-gnu/webkit2gtk-4.1/MiniBrowser';
const BUTTONS = {left: 0, middle: 1, right: 2}, DOWN = {type: 'pointerDown', button: 0},
  UP = {type: 'pointerUp', button: 0}, KEYS = {Control: '\uE009', Meta: '\uE03D'};

async function launch(wait) {
  const x = spawn('Xvfb', ['-displayfd', '1', '-screen', '0', '4000x2400x24', '-nolisten', 'tcp'],
    {stdio: ['ignore', 'pipe', 'inherit']});
  const display = ':' + await new Promise((ok, no) => x.on('error', no).on('exit', no).stdout
    .once('data', (d) => ok(String(d).trim())));  // the display's number, once it is there
  let driver = null, scaled = null, session = null;
  // The session, started again for another device pixel ratio (GTK scales it by GDK_SCALE).
  const connect = (scale) => (scale === scaled ? session : session = (async () => {
    const old = await session;
    if (old) await call(old.base, 'DELETE', old.id), driver.kill();
    scaled = scale;
    const port = await new Promise((ok) => {  // a port free a moment ago
      const probe = net.createServer().listen(0, '127.0.0.1', () => {
        const {port: p} = probe.address();
        probe.close(() => ok(p));
      });
    });
    driver = spawn('WebKitWebDriver', [`--port=${port}`, '--replace-on-new-session'], {
      stdio: 'ignore', env: {...process.env, DISPLAY: display, GDK_SCALE: scale}});
    const s = {base: `http://127.0.0.1:${port}`};
    for (let i = 0; i < 100 && !await fetch(s.base + '/status').then((r) => r.ok, () => false); ++i)
      await new Promise((r) => setTimeout(r, 100));
    s.id = '/session/' + (await call(s.base, 'POST', '/session', {capabilities: {alwaysMatch:
      {'webkitgtk:browserOptions': {binary: MINIBROWSER, args: ['--automation',
        '--javascript-can-open-windows-automatically=true']}}}})).sessionId;
    await call(s.base, 'POST', s.id + '/timeouts', {script: wait + 10000, pageLoad: wait});
    s.main = s.current = await call(s.base, 'GET', s.id + '/window');
    s.known = [s.main];
    return s;
  })());
  const stop = () => [x, driver].forEach((p) => p?.kill());
  process.once('exit', stop).once('SIGTERM', () => process.exit(143));  // tests ended early
  return {newPage: () => page(connect, wait), close: () => session?.then((s) =>
    call(s.base, 'DELETE', s.id)).finally(stop)};
}

// One WebDriver call: its value, or an error with the driver's message.
const call = (base, method, path, body) => fetch(base + path, {method, body: body &&
  JSON.stringify(body), headers: {'Content-Type': 'application/json'},
  signal: AbortSignal.timeout(180000)}).then((r) => r.json())
  .then(({value}) => {
    if (value?.error) throw new Error(`${path}: ${value.error}: ${value.message}`);
    return value;
  });

// A page: the window `handle` of the session `s` (those of its pixel ratio, once set).
function page(connect, wait, s = null, handle = null) {
  const owner = s, listeners = {};
  const at = {mouse: {x: 0, y: 0}, touch: {x: 0, y: 0}};  // where each pointer is
  let queued = [], flushing = null, closed = false;
  const send = async (method, path, body) => {
    if (handle && s.current !== handle) await call(s.base, 'POST', `${s.id}/window`, {handle});
    s.current = handle;
    return call(s.base, method, s.id + path, body);
  };
  // Runs fn(...args) in the page (a promise awaited), with its value or exception.
  const evaluate = (fn, ...args) => send('POST', '/execute/async', {args, script:
    `const done = arguments[arguments.length - 1];
     Promise.resolve().then(() => (${fn})(...[...arguments].slice(0, -1))).then(
       (v) => done({v}), (e) => done({e: String(e?.message ?? e)}));`})
    .then(({v, e}) => { if (e !== undefined) throw new Error(e); return v; });
  // Pointer actions given one after another in one turn of node's loop go in one call.
  const act = (pointer, ...steps) => {
    queued.push(...steps.map((a) => ({pointer, ...a})));
    return flushing ??= new Promise((r) => setImmediate(r)).then(() => {
      const all = queued;
      queued = [], flushing = null;
      const sources = ['mouse', 'touch'].map((t) => ({type: 'pointer', id: t,
        parameters: {pointerType: t}, actions: all.map(({pointer, ...a}) => (pointer === t ? a :
          {type: 'pause', duration: 0}))}));
      return send('POST', '/actions', {actions: sources});
    });
  };
  const keys = (...actions) => send('POST', '/actions', {actions: [{type: 'key', id: 'keys',
    actions}]});
  const moves = (p, x, y, n = 1, from = at[p]) => (at[p] = {x, y}) && [...Array(n)].map((_, i) =>
    ({type: 'pointerMove', origin: 'viewport', x: Math.round(from.x + (x - from.x) * (i + 1) / n),
      y: Math.round(from.y + (y - from.y) * (i + 1) / n)}));
  const self = {
    on: (event, fn) => ((listeners[event] ??= []).push(fn), self),
    once: (event, fn) => {  // 'close': the window gone
      const poll = () => send('GET', '/window/handles').then((h) => (h.includes(handle) ?
        setTimeout(poll, 100) : (closed = true, fn())));
      poll();
    },
    browser: () => ({once: (event, fn) => send('GET', '/window/handles').then(function poll(h) {
      const added = h.find((k) => !s.known.includes(k));  // 'targetcreated': a window opened
      return added ? (s.known.push(added), fn({page: async () => page(connect, wait, s, added)})) :
        new Promise((r) => setTimeout(r, 100)).then(() => send('GET', '/window/handles'))
          .then(poll);
    })}),
    setViewport: async ({width, height, deviceScaleFactor = 1}) => {
      if (!s) s = await connect(deviceScaleFactor), handle = s.main;
      const [w, h] = await evaluate(() => [outerWidth - innerWidth, outerHeight - innerHeight]);
      await send('POST', '/window/rect', {width: width + w, height: height + h});
      return self.waitForFunction((w, h) => innerWidth === w && innerHeight === h, {}, width,
        height);
    },
    goto: async (to) => {
      await send('POST', '/url', {url: to});
      await evaluate(() => {  // errors from now on, kept for close()
        const kept = window.kestorErrors = [], error = console.error.bind(console);
        addEventListener('error', (e) => kept.push(e.message));
        addEventListener('unhandledrejection', (e) => kept.push(String(e.reason)));
        console.error = (...a) => (kept.push(a.join(' ')), error(...a));
      });
    },
    evaluate,
    $eval: (selector, fn, ...args) => evaluate(`(s, ...a) => (${fn})(document.querySelector(s),
      ...a)`, selector, ...args),
    waitForFunction: (fn, {timeout = wait} = {}, ...args) => evaluate(`(...a) =>
      new Promise((ok, no, end = Date.now() + ${timeout}) => (function poll() {
        Promise.resolve((${fn})(...a)).then((v) => (v ? ok(v) : Date.now() > end ?
          no(new Error('waited too long for ${String(fn).replace(/[`'\\\n]/g, ' ')}')) :
          setTimeout(poll, 10)), no);
      })())`, ...args),
    mouse: {
      move: (x, y, {steps = 1} = {}) => act('mouse', ...moves('mouse', x, y, steps)),
      down: ({button = 'left'} = {}) => act('mouse', {...DOWN, button: BUTTONS[button]}),
      up: ({button = 'left'} = {}) => act('mouse', {...UP, button: BUTTONS[button]}),
      click: (x, y) => act('mouse', ...moves('mouse', x, y), DOWN, UP),
    },
    touchscreen: {
      touchStart: (x, y) => act('touch', ...moves('touch', x, y), DOWN),
      touchMove: (x, y) => act('touch', ...moves('touch', x, y)),
      touchEnd: () => act('touch', UP),
      tap: (x, y) => act('touch', ...moves('touch', x, y), DOWN, UP),
    },
    keyboard: {  // the modifiers stay held from one call to the next, as in the driver
      down: (k) => keys({type: 'keyDown', value: KEYS[k] ?? k}),
      up: (k) => keys({type: 'keyUp', value: KEYS[k] ?? k}),
      press: (k) => keys({type: 'keyDown', value: k}, {type: 'keyUp', value: k}),
    },
    isClosed: () => closed,
    close: async () => {
      for (const e of await evaluate(() => window.kestorErrors ?? []).catch(() => []))
        (listeners.pageerror ?? []).forEach((fn) => fn({message: e}));
      closed = true;
      await (owner ? send('DELETE', '/window') : send('POST', '/url', {url: 'about:blank'}));
    },
  };
  return self;
}

module.exports = {launch};
