// WebKitGTK's MiniBrowser on an Xvfb display of its own, driven through W3C WebDriver (plain HTTP
// calls to WebKitWebDriver), behind the few calls of puppeteer's browser and page the tests make.
// A window a page opens is a page of its own.
'use strict';

const {spawn} = require('child_process'), net = require('net');
const MINIBROWSER = '/usr/lib/x86_64-linux-gnu/webkit2gtk-4.1/MiniBrowser';
const DOWN = {type: 'pointerDown', button: 0}, UP = {type: 'pointerUp', button: 0};  // left only
const KEYS = {Control: '\uE009', Meta: '\uE03D'};
// fn()'s first truthy value, asked every `ms` (at most `tries` times), else undefined.
const poll = async (fn, tries = Infinity, ms = 100) => {
  for (let v; tries--; await new Promise((r) => setTimeout(r, ms))) if ((v = await fn())) return v;
};

async function launch(wait) {
  const x = spawn('Xvfb', ['-displayfd', '1', '-screen', '0', '4000x2400x24', '-nolisten', 'tcp'],
    {stdio: ['ignore', 'pipe', 'inherit']});
  const display = ':' + await new Promise((ok, no) => x.on('error', no).on('exit', no).stdout
    .once('data', (d) => ok(String(d).trim())));  // the display's number, once it is there
  // A session (a MiniBrowser) per device pixel ratio (GTK's GDK_SCALE), kept till the end.
  const drivers = [], sessions = {};
  const connect = (scale) => sessions[scale] ??= (async () => {
    const port = await new Promise((ok, _, p = net.createServer()) => p.listen(0, '127.0.0.1',
      () => p.close(ok.bind(null, p.address().port))));  // a port free a moment ago
    drivers.push(spawn('WebKitWebDriver', [`--port=${port}`], {stdio: 'ignore',
      env: {...process.env, DISPLAY: display, GDK_SCALE: scale}}));
    const s = {base: `http://127.0.0.1:${port}`};
    await poll(() => fetch(s.base + '/status').then((r) => r.ok, () => false), 100);
    s.id = '/session/' + (await call(s.base, 'POST', '/session', {capabilities: {alwaysMatch:
      {'webkitgtk:browserOptions': {binary: MINIBROWSER, args: ['--automation',
        '--javascript-can-open-windows-automatically=true']}}}})).sessionId;
    await call(s.base, 'POST', s.id + '/timeouts', {script: wait + 10000, pageLoad: wait});
    s.main = s.current = await call(s.base, 'GET', s.id + '/window');
    s.known = [s.main];
    return s;
  })();
  const stop = () => [x, ...drivers].forEach((p) => p.kill());
  process.once('exit', stop).once('SIGTERM', () => process.exit(143));  // tests ended early
  return {newPage: () => page(connect, wait), close: () => Promise.all(Object.values(sessions)
    .map((p) => p.then((s) => call(s.base, 'DELETE', s.id)))).finally(stop)};
}

// One WebDriver call: its value, or an error with the driver's message.
const call = (base, method, path, body) => fetch(base + path, {method, body: body &&
  JSON.stringify(body), headers: {'Content-Type': 'application/json'},
  signal: AbortSignal.timeout(180000)}).then((r) => r.json()).then(({value}) => (value?.error ?
  Promise.reject(new Error(`${path}: ${value.error}: ${value.message}`)) : value));

// A page: the window `handle` of the session `s` (its ratio's, once set: the main window, reused).
function page(connect, wait, s = null, handle = null) {
  const owner = s, listeners = {};
  let at = {x: 0, y: 0}, queued = [], flushing = null, closed = false;  // at: the pointer's place
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
  // Mouse actions given one after another in one turn of node's loop go in one call. The driver
  // makes mouse events of touch actions: the touchscreen is the mouse here.
  const act = (...steps) => {
    queued.push(...steps);
    return flushing ??= new Promise((r) => setImmediate(r)).then(() => {
      const actions = queued;
      queued = [], flushing = null;
      return send('POST', '/actions', {actions: [{type: 'pointer', id: 'mouse', actions}]});
    });
  };
  const moves = (x, y, n = 1, from = at) => (at = {x, y}) && [...Array(n)].map((_, i) =>
    ({type: 'pointerMove', origin: 'viewport', x: Math.round(from.x + (x - from.x) * (i + 1) / n),
      y: Math.round(from.y + (y - from.y) * (i + 1) / n)}));
  const click = (x, y) => act(...moves(x, y), DOWN, UP);
  // Keys: the modifiers stay held from one call to the next, as in the driver.
  const keys = (...types) => (k) => send('POST', '/actions', {actions: [{type: 'key', id: 'keys',
    actions: types.map((type) => ({type, value: KEYS[k] ?? k}))}]});
  const handles = () => send('GET', '/window/handles');
  const self = {
    on: (event, fn) => ((listeners[event] ??= []).push(fn), self),
    once: (event, fn) => poll(() => handles().then((h) => !h.includes(handle)))  // 'close'
      .then(() => (closed = true, fn())),
    browser: () => ({once: (event, fn) => poll(() => handles().then((h) =>  // 'targetcreated'
      h.find((k) => !s.known.includes(k)))).then((added) => (s.known.push(added),
      fn({page: async () => page(connect, wait, s, added)})))}),
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
    waitForFunction: async (fn, {timeout = wait} = {}, ...args) => await poll(() =>
      evaluate(fn, ...args), timeout / 10, 10) || Promise.reject(new Error('waited for ' + fn)),
    mouse: {move: (x, y, {steps = 1} = {}) => act(...moves(x, y, steps)), click,
      down: () => act(DOWN), up: () => act(UP)},
    touchscreen: {touchStart: (x, y) => act(...moves(x, y), DOWN), tap: click,
      touchMove: (x, y) => act(...moves(x, y)), touchEnd: () => act(UP)},
    keyboard: {down: keys('keyDown'), up: keys('keyUp'), press: keys('keyDown', 'keyUp')},
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
