// Before the program starts: the embedded faces loaded (text is measured
// with them from the first caption on); the data file the page carries
// (gzip, base64), if any, unpacked into /embedded; and the data file served
// beside the page, if any, put in the page's folder (/page) of the virtual
// file system. Opened from a file (file://) the browser fetches nothing.
Module.preRun = Module.preRun || [];
Module.preRun.push(function () {
  'use strict';
  FS.mkdir('/page');
  FS.mkdir('/embedded');
  var carried = Promise.resolve();
  var block = document.getElementById('kestor-data');
  if (block && typeof DecompressionStream === 'function') {
    var text = atob(block.textContent.trim());
    var packed = new Uint8Array(text.length);
    for (var i = 0; i < text.length; ++i) packed[i] = text.charCodeAt(i);
    var stream = new Blob([packed]).stream().pipeThrough(new DecompressionStream('gzip'));
    carried = new Response(stream).arrayBuffer().then(function (b) {
      FS.writeFile('/embedded/KESTOR_11.KSQ', new Uint8Array(b));
    }).catch(function () { /* a damaged page: the search finds no file */ });
  }
  addRunDependency('kestor-start');
  var faces = ['16px "Kestor Sans"', 'bold 16px "Kestor Sans"', '16px "Kestor Serif"',
               'bold 16px "Kestor Serif"'];
  var fonts = document.fonts ? Promise.all(faces.map(function (f) {
    return document.fonts.load(f);
  })) : Promise.resolve();
  var data = Promise.resolve();
  if (location.protocol === 'http:' || location.protocol === 'https:') {
    data = fetch('KESTOR_11.KSQ', {cache: 'no-cache'}).then(function (r) {
      return r.ok ? r.arrayBuffer() : null;
    }).then(function (b) {
      if (b) FS.writeFile('/page/KESTOR_11.KSQ', new Uint8Array(b));
    }).catch(function () { /* no data file beside the page */ });
  }
  Promise.all([fonts.catch(function () {}), data, carried]).then(function () {
    removeRunDependency('kestor-start');
  });
});
Module.print = Module.print || function (t) { console.log(t); };
Module.printErr = Module.printErr || function (t) { console.warn(t); };
