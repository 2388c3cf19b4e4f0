// Before the program starts: the embedded faces loaded (text is measured
// with them from the first caption on), and the data file served beside the
// page, if any, put in the page's folder of the virtual file system (/page).
// Opened from a file (file://) the browser fetches nothing: the page uses
// the data file it carries.
Module.preRun = Module.preRun || [];
Module.preRun.push(function () {
  'use strict';
  FS.mkdir('/page');
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
  Promise.all([fonts.catch(function () {}), data]).then(function () {
    removeRunDependency('kestor-start');
  });
});
Module.print = Module.print || function (t) { console.log(t); };
Module.printErr = Module.printErr || function (t) { console.warn(t); };
