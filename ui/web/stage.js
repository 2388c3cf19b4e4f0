// The browser side of the web backend: the stage (the form), one DOM element
// per widget, the drawing surface's canvas, text measured and drawn with the
// embedded faces, and the pointer input queued for the program.
//
// The program (C++) calls Module.stage.*; input is never delivered from a
// browser event handler straight into the program: it is queued here and
// taken by the program when it yields (ui::DoEvents) or waits for input, so
// that a handler never runs inside another one's suspended stack.
Module.stage = (function () {
  'use strict';
  var els = {};          // widget number -> element
  var kinds = {};        // widget number -> kind (0 form, 1 label, 2 box, 3 list, 4 image)
  var lists = {};        // list number -> {rowPx, index}
  var queue = [];        // input waiting for the program
  var dropFrom = 0, dropTo = 0;  // presses and releases made in [dropFrom, dropTo) are dropped
  var ended = false;
  var root = null;       // the stage element (the form)
  var canvas = null, ctx = null;
  var measureCtx = null;
  var textCanvas = null, textCtx = null;
  var readW = 0, readH = 0;  // the viewport the program last read, CSS pixels
  var viewW = 0, viewH = 0;  // the same over mag
  var mag = 1;               // whole factor that divides a viewport too large for the program
  var scale = 1;             // device pixels per CSS pixel of the surface
  var frames = 0;            // surface repaints pushed to the canvas
  var channel = new MessageChannel();
  var resumes = [];          // the program's yields waiting for their turn
  channel.port1.onmessage = function () {
    var f = resumes.shift();
    if (f) f();
  };

  // The viewport in CSS pixels. As on the desktop, a viewport beyond the
  // program's 16-bit layout (32767 twips wide, the base line at 9500/11520
  // of the height) runs magnified by the smallest whole factor that fits:
  // the stage is that much smaller and scaled up, its surface drawn at the
  // full resolution.
  function readViewport() {
    var v = viewport(), w = v[0], h = v[1];
    readW = w, readH = h;
    mag = 1;
    while (mag < 64 && (w * 15 / mag > 32767 || h * 15 / mag > 32767 * 11520 / 9500)) mag++;
    viewW = Math.max(1, Math.floor(w / mag));
    viewH = Math.max(1, Math.floor(h / mag));
    scale = v[2] * mag;
  }

  // The viewport's width and height in CSS pixels and its device pixels per
  // CSS pixel, whole.
  function viewport() {
    return [Math.max(1, Math.floor(window.innerWidth || document.documentElement.clientWidth || 1024)),
            Math.max(1, Math.floor(window.innerHeight || document.documentElement.clientHeight || 768)),
            Math.max(1, Math.round(window.devicePixelRatio || 1))];
  }

  // Queues an event of the page's own (not a pointer's) for the program.
  function queueOwn(type, id, x, time) {
    queue.push({type: type, id: id, x: x, y: 0, row: -1, inside: 0, buttons: 0, time: time});
  }

  // A viewport of another size (a resized window, full screen, a projector,
  // a tablet turned) is reported to the program, once however many resize
  // events come before it takes it: it lays the window out again.
  function resized() {
    if (ended || queue.some(function (e) { return e.type === 6; })) return;
    var v = viewport();
    if (v[0] === readW && v[1] === readH && v[2] * mag === scale) return;
    queueOwn(6, 0, 0, performance.now());
  }

  // Position of a pointer event in twips relative to an element.
  function twipsOf(el, e) {
    var r = el.getBoundingClientRect();
    var f = el.offsetWidth > 0 ? r.width / el.offsetWidth : 1;
    if (!(f > 0)) f = 1;
    return [(e.clientX - r.left) / f * 15, (e.clientY - r.top) / f * 15,
            (e.clientX - r.left) / f, (e.clientY - r.top) / f];
  }

  function listRow(id, el, cssY) {
    var l = lists[id];
    if (!l || !(l.rowPx > 0)) return -1;
    var row = Math.floor((cssY + el.scrollTop) / l.rowPx);
    return row >= 0 && row < el.childNodes.length ? row : -1;
  }

  function push(type, id, el, e, extra) {
    if (ended) return;
    var p = twipsOf(el, e);
    var inside = p[2] >= 0 && p[3] >= 0 && p[2] < el.offsetWidth && p[3] < el.offsetHeight;
    var row = kinds[id] === 3 ? listRow(id, el, p[3]) : -1;
    queue.push({type: type, id: id, x: p[0], y: p[1], row: row, inside: inside ? 1 : 0,
                buttons: extra, time: e.timeStamp});
  }

  // Only the left button, a finger or a pen tip acts.
  function acting(e) {
    return e.button === 0 && e.isPrimary !== false;
  }

  function listen(el, id) {
    el.addEventListener('pointerdown', function (e) {
      e.stopPropagation();
      if (!acting(e)) { e.preventDefault(); return; }
      if (kinds[id] !== 3) e.preventDefault();
      try { el.setPointerCapture(e.pointerId); } catch (err) { /* pointer gone */ }
      if (e.timeStamp >= dropFrom && e.timeStamp < dropTo) return;
      // A finger or a pen has no hover: its tap is a move to its place first.
      if (e.pointerType !== 'mouse') push(1, id, el, e, 0);
      push(2, id, el, e, 1);
    });
    el.addEventListener('pointermove', function (e) {
      e.stopPropagation();
      var held = (e.buttons & 1) ? 1 : 0;
      if (e.pointerType !== 'mouse' && !held) return;
      push(1, id, el, e, held);
    });
    el.addEventListener('pointerup', function (e) {
      e.stopPropagation();
      if (!acting(e)) return;
      if (e.timeStamp >= dropFrom && e.timeStamp < dropTo) return;
      push(3, id, el, e, 0);
    });
    el.addEventListener('pointercancel', function (e) {
      e.stopPropagation();
      push(4, id, el, e, 0);
    });
    el.addEventListener('contextmenu', function (e) { e.preventDefault(); e.stopPropagation(); });
  }

  // Ctrl (or ⌘ on a Mac keyboard) with C or S: the copy and save shortcuts go to the program (the
  // form, number id), not to the browser, whose own Ctrl+S would save the page.
  function shortcuts(id) {
    document.addEventListener('keydown', function (e) {
      var k = (e.key || '').toLowerCase(), which = k === 'c' ? 0 : k === 's' ? 1 : -1;
      if (ended || which < 0 || !(e.ctrlKey || e.metaKey) || e.altKey) return;
      e.preventDefault();
      if (!e.repeat) queueOwn(5, id, which, e.timeStamp);
    });
  }

  function css(el, text) { el.style.cssText = text; }

  var api = {
    // The viewport read now: its width and height (CSS pixels over the
    // magnification), the magnification and the surface's device pixels per
    // CSS pixel, into four ints at out.
    screen: function (out) {
      readViewport();
      HEAP32.set([viewW, viewH, mag, scale], out >> 2);
    },
    frames: function () { return frames; },

    create: function (id, parent, kind, name) {
      var el;
      if (kind === 0) {
        el = document.createElement('div');
        el.className = 'kestor-stage';
        canvas = document.createElement('canvas');
        canvas.className = 'kestor-surface';
        el.appendChild(canvas);
        ctx = canvas.getContext('2d');
        root = el;
        el.style.display = 'none';
        document.body.appendChild(el);
        window.addEventListener('resize', resized);
        shortcuts(id);
      } else if (kind === 4) {
        el = document.createElement('img');
        el.draggable = false;
        el.alt = '';
      } else {
        el = document.createElement('div');
      }
      el.dataset.name = name;
      el.dataset.kind = ['form', 'label', 'box', 'list', 'image'][kind];
      if (kind !== 0) {
        el.className = 'kestor-' + el.dataset.kind;
        el.style.display = 'none';
        (els[parent] || root || document.body).appendChild(el);
      }
      els[id] = el;
      kinds[id] = kind;
      if (kind === 3) lists[id] = {rowPx: 0, index: -1};
      listen(el, id);
    },
    detach: function (id) {
      var el = els[id];
      if (el && el.parentNode) el.parentNode.removeChild(el);
      delete els[id];
      delete kinds[id];
      delete lists[id];
    },
    geometry: function (id, x, y, w, h) {
      var el = els[id];
      if (!el) return;
      el.style.left = x + 'px';
      el.style.top = y + 'px';
      el.style.width = w + 'px';
      el.style.height = h + 'px';
    },
    visible: function (id, v) {
      var el = els[id];
      if (el) el.style.display = v ? '' : 'none';
    },
    tip: function (id, text) {
      var el = els[id];
      if (!el) return;
      if (text) el.title = text; else el.removeAttribute('title');
    },
    label: function (id, caption, font, fore, back, border, center, lineHeight) {
      var el = els[id];
      if (!el) return;
      if (el.textContent !== caption) el.textContent = caption;
      var s = el.style;
      s.font = font;
      // A line exactly as high as the face's ascender and descender puts the
      // text at the top of the label, as on the desktop; the label's own
      // height (whole pixels) is its geometry.
      var m = /^(bold )?(\d+)px "([^"]+)"/.exec(font);
      var em = m && (Module.lineEm || {})[(m[1] ? 'bold ' : 'normal ') + m[3]];
      s.lineHeight = em > 0 ? (em * Number(m[2])) + 'px' : lineHeight + 'px';
      s.color = fore;
      s.background = back;
      s.border = border ? '1px solid #000' : 'none';
      s.textAlign = center ? 'center' : 'left';
    },
    box: function (id, back) {
      var el = els[id];
      if (el) el.style.background = back;
    },
    list: function (id, items, rowPx, font, back, index) {
      var el = els[id], l = lists[id];
      if (!el || !l) return;
      var s = el.style;
      s.font = font;
      s.background = back;
      var fresh = l.rowPx !== rowPx;
      l.rowPx = rowPx;
      for (var i = el.childNodes.length; i < items.length; ++i) {
        var row = document.createElement('div');
        row.className = 'kestor-row';
        row.textContent = items[i];
        el.appendChild(row);
        fresh = true;
      }
      if (fresh) {
        for (var j = 0; j < el.childNodes.length; ++j) {
          el.childNodes[j].style.height = rowPx + 'px';
          el.childNodes[j].style.lineHeight = rowPx + 'px';
        }
      }
      if (l.index !== index) {
        if (l.index >= 0 && el.childNodes[l.index]) el.childNodes[l.index].classList.remove('kestor-selected');
        if (index >= 0 && el.childNodes[index]) el.childNodes[index].classList.add('kestor-selected');
        l.index = index;
      }
    },
    // A list's selection moved by the pointer, shown at once.
    select: function (id, index) {
      var l = lists[id];
      if (l) api.list(id, [], l.rowPx, els[id].style.font, els[id].style.background, index);
    },
    imagePng: function (id, ptr, len, stretch) {
      var el = els[id];
      if (!el) return;
      var bytes = HEAPU8.slice(ptr, ptr + len);
      if (el.dataset.url) URL.revokeObjectURL(el.dataset.url);
      var url = URL.createObjectURL(new Blob([bytes], {type: 'image/png'}));
      el.dataset.url = url;
      el.src = url;
      el.style.imageRendering = stretch ? 'auto' : 'pixelated';
    },
    imageRgba: function (id, ptr, w, h, stretch) {
      var el = els[id];
      if (!el || !(w > 0) || !(h > 0)) return;
      var c = document.createElement('canvas');
      c.width = w;
      c.height = h;
      var data = new Uint8ClampedArray(HEAPU8.buffer, ptr, w * h * 4);
      c.getContext('2d').putImageData(new ImageData(new Uint8ClampedArray(data), w, h), 0, 0);
      el.src = c.toDataURL('image/png');
      el.style.imageRendering = stretch ? 'auto' : 'pixelated';
    },
    form: function (id, title, busy, back) {
      if (document.title !== title) document.title = title;
      if (root) {
        root.classList.toggle('kestor-busy', !!busy);
        root.style.background = back;
      }
    },
    // The form's place on the viewport (CSS pixels of the stage); its
    // canvas is cleared only when its size changes.
    place: function (x, y, w, h) {
      var s = root.style;
      s.left = x * mag + 'px';
      s.top = y * mag + 'px';
      s.width = w + 'px';
      s.height = h + 'px';
      s.transform = mag > 1 ? 'scale(' + mag + ')' : '';
      canvas.style.width = w + 'px';
      canvas.style.height = h + 'px';
      if (canvas.width !== w * scale || canvas.height !== h * scale) {
        canvas.width = w * scale;
        canvas.height = h * scale;
      }
    },
    show: function () {
      root.style.display = '';
      // When the window was first painted (the benchmark reads it).
      requestAnimationFrame(function () { api.firstFrameAt = performance.now(); });
    },
    // Copies rows y0..y1, columns x0..x1 (device pixels) of the surface.
    paint: function (ptr, w, h, x0, y0, x1, y1) {
      if (!ctx || x1 < x0 || y1 < y0) return;
      var rows = y1 - y0 + 1;
      var data = new Uint8ClampedArray(HEAPU8.buffer, ptr + y0 * w * 4, w * rows * 4);
      ctx.putImageData(new ImageData(data, w, rows), 0, y0, x0, 0, x1 - x0 + 1, rows);
      frames++;
    },
    measure: function (font, text) {
      if (!measureCtx) measureCtx = document.createElement('canvas').getContext('2d');
      measureCtx.font = font;
      return measureCtx.measureText(text).width;
    },
    // Height of a line of text: the face's ascender and descender (from the
    // page's table of the embedded faces), unrounded, at px pixels.
    lineHeight: function (family, bold, px) {
      var em = (Module.lineEm || {})[(bold ? 'bold ' : 'normal ') + family];
      if (!(em > 0)) {
        if (!measureCtx) measureCtx = document.createElement('canvas').getContext('2d');
        measureCtx.font = (bold ? 'bold ' : '') + px + 'px "' + family + '"';
        var m = measureCtx.measureText('Hg');
        return m.fontBoundingBoxAscent + m.fontBoundingBoxDescent;
      }
      return em * px;
    },
    // Draws a text into the surface's pixels at (x, y) (device pixels, top
    // left of the line) and returns its box width in device pixels.
    text: function (ptr, w, h, x, y, font, text, r, g, b) {
      if (!textCanvas) {
        textCanvas = document.createElement('canvas');
        textCtx = textCanvas.getContext('2d', {willReadFrequently: true});
      }
      textCtx.font = font;
      var m = textCtx.measureText(text);
      var tw = Math.ceil(m.width) + 2;
      var th = Math.ceil(m.fontBoundingBoxAscent + m.fontBoundingBoxDescent) + 2;
      if (tw <= 0 || th <= 0) return 0;
      if (textCanvas.width < tw) textCanvas.width = tw;
      if (textCanvas.height < th) textCanvas.height = th;
      textCtx.clearRect(0, 0, textCanvas.width, textCanvas.height);
      textCtx.font = font;
      textCtx.fillStyle = '#000';
      textCtx.textBaseline = 'alphabetic';
      textCtx.fillText(text, 0, Math.round(m.fontBoundingBoxAscent));
      var img = textCtx.getImageData(0, 0, tw, th).data;
      var heap = HEAPU8;
      for (var j = 0; j < th; ++j) {
        var py = y + j;
        if (py < 0 || py >= h) continue;
        for (var i = 0; i < tw; ++i) {
          var px = x + i;
          if (px < 0 || px >= w) continue;
          var a = img[(j * tw + i) * 4 + 3];
          if (!a) continue;
          var o = ptr + (py * w + px) * 4;
          heap[o] = (heap[o] * (255 - a) + r * a + 127) / 255;
          heap[o + 1] = (heap[o + 1] * (255 - a) + g * a + 127) / 255;
          heap[o + 2] = (heap[o + 2] * (255 - a) + b * a + 127) / 255;
        }
      }
      return tw;
    },
    // Input for the program: the oldest queued event into out (six floats:
    // type, widget, x, y, list row, inside; then the buttons), 0 when none.
    take: function (out) {
      var e = queue.shift();
      if (!e) return 0;
      HEAPF32[(out >> 2)] = e.type;
      HEAPF32[(out >> 2) + 1] = e.id;
      HEAPF32[(out >> 2) + 2] = e.x;
      HEAPF32[(out >> 2) + 3] = e.y;
      HEAPF32[(out >> 2) + 4] = e.row;
      HEAPF32[(out >> 2) + 5] = e.inside;
      HEAPF32[(out >> 2) + 6] = e.buttons;
      return 1;
    },
    pending: function () { return queue.length; },
    // A text on the clipboard; where the browser refuses it, by the page's copy command.
    copy: function (text) {
      var byCommand = function () {
        var t = document.createElement('textarea');
        t.value = text;
        document.body.appendChild(t);
        t.select();
        try { document.execCommand('copy'); } catch (err) { /* nothing copied */ }
        document.body.removeChild(t);
      };
      if (navigator.clipboard && navigator.clipboard.writeText) {
        navigator.clipboard.writeText(text).catch(byCommand);
      } else {
        byCommand();
      }
    },
    // A download of that name, of the len bytes at ptr.
    download: function (name, ptr, len) {
      var a = document.createElement('a');
      a.href = URL.createObjectURL(new Blob([HEAPU8.slice(ptr, ptr + len)], {type: 'text/csv'}));
      a.download = name;
      document.body.appendChild(a);
      a.click();
      document.body.removeChild(a);
      setTimeout(function () { URL.revokeObjectURL(a.href); }, 60000);
    },
    // Runs f in a task of its own, after what the browser has queued.
    post: function (f) {
      resumes.push(f);
      channel.port2.postMessage(0);
    },
    // A handler held the thread from start until now: the presses and
    // releases made meanwhile (queued here, or still in the browser's own
    // queue) are dropped; moves, the shortcuts, a new viewport and what was
    // made before are kept.
    dropClicks: function (start) {
      dropFrom = start;
      dropTo = performance.now();
      queue = queue.filter(function (e) {
        return e.type === 1 || e.type >= 5 || e.time < dropFrom;
      });
    },
    // The program has ended: nothing reaches it any more. The tab closes
    // where the browser allows it; otherwise the page says so, and nothing else.
    end: function () {
      ended = true;
      queue = [];
      if (root) root.style.display = 'none';
      var p = document.createElement('p');
      p.className = 'kestor-ended';
      p.textContent = 'KESTOR est terminé. Vous pouvez fermer cet onglet.';
      document.body.appendChild(p);
      document.documentElement.dataset.ended = '1';
      try { window.close(); } catch (err) { /* not allowed */ }
    },
    ended: function () { return ended; }
  };
  return api;
})();
