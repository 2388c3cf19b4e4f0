// WebKitGTK's MiniBrowser driven through W3C WebDriver (WebKitWebDriver, plain HTTP calls), on an
// Xvfb display of its own, behind the few calls of puppeteer's browser and page the tests make.
// Each page is a session (its own MiniBrowser); a window it opens is a page of the same session.
'use strict';

const {spawn} = require('child_process'), net = require('net');
const MINIBROWSER = '/usr/lib/x86_64-linux-gnu/webkit2gtk-4.1/MiniBrowser';
const BUTTONS = {left: 0, middle: 1, right: 2}, DOWN = {type: 'pointerDown', button: 0},
  UP = {type: 'pointerUp', button: 0};

// A process started for the tests, once it has written its first line (Xvfb: its display number).
const start = (cmd, args, env) => new Promise((ok, no) => {
  const p = spawn(cmd, args, {env: {...process.env, ...env}, stdio: ['ignore', 'pipe', 'pipe']});
  let err = '';
  p.on('error', no).on('exit', (c) => no(new Error(`${cmd} ended (${c}): ${err}`)));
  p.stderr.on('data', (d) => { err += d; });
  p.stdout.once('data', (d) => ok(Object.assign(p, {line: String(d).trim()})));
});

async function launch(wait) {
  const x = await start('Xvfb', ['-displayfd', '1', '-screen', '0', '4000x2400x24', '-nolisten',
    'tcp']), drivers = {}, ports = {};
  // A driver per device pixel ratio: GTK scales the whole browser by GDK_SCALE.
  const url = async (scale) => ports[scale] ??= (async () => {
    const port = await new Promise((ok) => {  // a port free a moment ago
      const probe = net.createServer().listen(0, '127.0.0.1', () => {
        const {port: p} = probe.address();
        probe.close(() => ok(p));
      });
    });
    const d = spawn('WebKitWebDriver', [`--port=${port}`, '--replace-on-new-session'], {
      stdio: 'ignore', env: {...process.env, DISPLAY: ':' + x.line, GDK_SCALE: scale}});
    drivers[scale] = d;
    for (let i = 0; i < 100; ++i, await new Promise((r) => setTimeout(r, 100)))
      if (await fetch(`http://127.0.0.1:${port}/status`).then((r) => r.ok, () => false))
        return `http://127.0.0.1:${port}`;
    throw new Error('WebKitWebDriver gave no answer');
  })();
  const stop = () => [x, ...Object.values(drivers)].forEach((p) => p.kill());
  process.once('exit', stop);  // even when the tests end early
  return {newPage: () => page(url, wait), close: async () => stop()};
}

// One WebDriver call: its value, or an error with the driver's message.
const call = (base, method, path, body) => fetch(base + path, {method, body: body &&
  JSON.stringify(body), headers: {'Content-Type': 'application/json'}}).then((r) => r.json())
  .then(({value}) => {
    if (value?.error) throw new Error(`${path}: ${value.error}: ${value.message}`);
    return value;
  });

// A page: the session's window `handle` (none yet: a new session at the first viewport set).
function page(url, wait, owner = null, handle = null) {
  const s = owner ?? {current: null}, listeners = {};
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
      return added ? (s.known.push(added), fn({page: async () => page(url, wait, s, added)})) :
        new Promise((r) => setTimeout(r, 100)).then(() => send('GET', '/window/handles'))
          .then(poll);
    })}),
    setViewport: async ({width, height, deviceScaleFactor = 1}) => {
      if (!s.id) {
        s.base = await url(deviceScaleFactor);
        s.id = '/session/' + (await call(s.base, 'POST', '/session', {capabilities: {alwaysMatch:
          {'webkitgtk:browserOptions': {binary: MINIBROWSER, args: ['--automation',
            '--javascript-can-open-windows-automatically=true']}}}})).sessionId;
        await send('POST', '/timeouts', {script: wait + 10000, pageLoad: wait});
        handle = s.current = await send('GET', '/window');
        s.known = [handle];
      }
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
    isClosed: () => closed,
    close: async () => {
      for (const e of await evaluate(() => window.kestorErrors ?? []).catch(() => []))
        (listeners.pageerror ?? []).forEach((fn) => fn({message: e}));
      closed = true;
      if (owner) await send('DELETE', '/window');
      else if (s.id) await call(s.base, 'DELETE', s.id);
    },
  };
  return self;
}

module.exports = {launch};
