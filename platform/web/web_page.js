// web_page.js - the page around a Vantrel game (run before the program's
// own script). It queues the page's keys, pointer and focus for the host,
// puts frames on the canvas, shows boxes as a modal dialog, serves the
// replay entry (?replay=SCRIPT-URL&frames=LIST), plays the module's sounds
// through the Web Audio API and keeps the figures that whoever drives the
// page reads from Module.vantrelPage.
(function () {
  'use strict';
  var canvas = document.getElementById('vantrel-screen');
  var context = canvas.getContext('2d', { alpha: false });
  var status = document.getElementById('vantrel-status');
  var dialog = document.getElementById('vantrel-box');
  var params = new URLSearchParams(window.location.search);
  var replayScript = params.get('replay');

  // Keys the browser would act on itself (scrolling, focus moves, its help).
  var kept = { ArrowLeft: 1, ArrowRight: 1, ArrowUp: 1, ArrowDown: 1, Space: 1, PageUp: 1,
               PageDown: 1, Home: 1, End: 1, Tab: 1, Backspace: 1, F1: 1, F3: 1, F10: 1,
               AltLeft: 1, AltRight: 1, ContextMenu: 1, Quote: 1, Slash: 1 };

  var page = {
    events: [],
    waiting: null,
    boxOpen: false,
    ended: null,
    replay: null,
    kept: {},
    frameTimes: [],
    presentTimes: [],
    framesShown: 0,
    firstFrameAt: 0,
    lastFrameAt: 0,
    boxes: []
  };

  function say(text) { status.textContent = text; status.hidden = text === ''; }

  function push(kind, fields) {
    // A replay takes its input from its script; an ended game and an open box take none.
    if (page.ended !== null || replayScript !== null || page.boxOpen) return;
    fields.kind = kind;
    page.events.push(fields);
    if (page.waiting) { var wake = page.waiting; page.waiting = null; wake(); }
  }

  function pointerFields(e, button) {
    var r = canvas.getBoundingClientRect();
    return { x: e.clientX - r.left, y: e.clientY - r.top, w: r.width, h: r.height, button: button };
  }

  window.addEventListener('keydown', function (e) {
    if (page.boxOpen) return; // the dialog has the keyboard
    if (kept[e.code]) e.preventDefault();
    push(1, { code: e.code, repeat: e.repeat, alt: e.altKey });
  });
  window.addEventListener('keyup', function (e) {
    if (page.boxOpen) return;
    if (kept[e.code]) e.preventDefault();
    push(2, { code: e.code, repeat: false, alt: e.altKey });
  });
  canvas.addEventListener('pointermove', function (e) { push(3, pointerFields(e, 0)); });
  canvas.addEventListener('pointerdown', function (e) {
    canvas.setPointerCapture(e.pointerId);
    e.preventDefault();
    push(4, pointerFields(e, e.button));
  });
  canvas.addEventListener('pointerup', function (e) { push(5, pointerFields(e, e.button)); });
  canvas.addEventListener('contextmenu', function (e) { e.preventDefault(); });
  window.addEventListener('blur', function () { push(7, {}); });
  window.addEventListener('focus', function () { push(6, {}); });
  document.addEventListener('visibilitychange', function () {
    push(document.visibilityState === 'hidden' ? 7 : 6, {});
  });

  page.takeEvent = function (ints, numbers, code, codeSize) {
    var e = page.events.shift();
    if (e === undefined) return 0;
    HEAP32[(ints >> 2) + 0] = e.kind;
    HEAP32[(ints >> 2) + 1] = e.button || 0;
    HEAP32[(ints >> 2) + 2] = e.repeat ? 1 : 0;
    HEAP32[(ints >> 2) + 3] = e.alt ? 1 : 0;
    HEAPF64[(numbers >> 3) + 0] = e.x || 0;
    HEAPF64[(numbers >> 3) + 1] = e.y || 0;
    HEAPF64[(numbers >> 3) + 2] = e.w || 0;
    HEAPF64[(numbers >> 3) + 3] = e.h || 0;
    stringToUTF8(e.code || '', code, codeSize);
    return 1;
  };

  page.nextEventArrives = function () {
    if (page.events.length > 0) return Promise.resolve();
    return new Promise(function (resolve) { page.waiting = resolve; });
  };

  page.putFrame = function (rgba, width, height) {
    if (canvas.width !== width || canvas.height !== height) {
      canvas.width = width;
      canvas.height = height;
    }
    // `rgba` is a view of the program's memory: put on the canvas, not copied first.
    context.putImageData(new ImageData(rgba, width, height), 0, 0);
  };

  // The canvas as it is now, read back: width, height and RGBA bytes.
  page.keepCanvas = function (n) {
    var image = context.getImageData(0, 0, canvas.width, canvas.height);
    page.kept[n] = { width: image.width, height: image.height, rgba: image.data };
  };

  // A kept frame as base64 of its RGB bytes (for a test driver), or null.
  page.keptFrameRgb = function (n) {
    var f = page.kept[n];
    if (!f) return null;
    var rgb = new Uint8Array(f.width * f.height * 3);
    for (var i = 0, j = 0; i < f.rgba.length; i += 4, j += 3) {
      rgb[j] = f.rgba[i]; rgb[j + 1] = f.rgba[i + 1]; rgb[j + 2] = f.rgba[i + 2];
    }
    var text = '';
    for (var k = 0; k < rgb.length; k += 0x8000) {
      text += String.fromCharCode.apply(null, rgb.subarray(k, k + 0x8000));
    }
    return { width: f.width, height: f.height, rgb: btoa(text) };
  };

  page.noteFrameTime = function (frameMs, presentMs) {
    var now = performance.now();
    if (page.framesShown === 0) page.firstFrameAt = now;
    page.lastFrameAt = now;
    page.framesShown++;
    page.frameTimes.push(frameMs);
    page.presentTimes.push(presentMs);
    if (page.frameTimes.length > 10000) { page.frameTimes.shift(); page.presentTimes.shift(); }
  };

  function summary(times) {
    var t = times.slice().sort(function (a, b) { return a - b; });
    var sum = 0;
    t.forEach(function (v) { sum += v; });
    return { meanMs: t.length ? sum / t.length : 0,
             medianMs: t.length ? t[Math.floor(t.length / 2)] : 0,
             p95Ms: t.length ? t[Math.min(t.length - 1, Math.floor(t.length * 0.95))] : 0,
             worstMs: t.length ? t[t.length - 1] : 0 };
  }

  // Frame figures since the last reset: frames shown, frames a second, and
  // the frame and present times (mean, median, 95th percentile, worst).
  page.figures = function () {
    var seconds = (page.lastFrameAt - page.firstFrameAt) / 1000;
    return { frames: page.framesShown,
             fps: seconds > 0 ? (page.framesShown - 1) / seconds : 0,
             frame: summary(page.frameTimes), present: summary(page.presentTimes) };
  };
  page.resetFigures = function () {
    page.frameTimes = []; page.presentTimes = []; page.framesShown = 0;
    page.firstFrameAt = page.lastFrameAt = 0;
  };

  // A box with the buttons of its set (left to right, with the answers
  // Windows gives). Return presses the default button; Escape answers
  // `onEscape` (IDCANCEL where the box has a Cancel button, IDOK on an OK
  // box) and does nothing where it is 0: a Yes/No box waits for a button.
  page.askBox = function (text, caption, buttons, defaultIndex, onEscape) {
    page.boxes.push({ caption: caption, text: text, buttons: buttons.map(function (b) { return b.label; }) });
    document.getElementById('vantrel-box-caption').textContent = caption;
    document.getElementById('vantrel-box-text').textContent = text;
    var form = dialog.querySelector('form');
    form.textContent = '';
    var chosen = null;
    buttons.forEach(function (b, i) {
      var button = document.createElement('button');
      button.textContent = b.label;
      button.value = String(b.answer);
      if (i === 0) button.id = 'vantrel-box-ok';
      form.appendChild(button);
      if (i === defaultIndex) chosen = button;
    });
    page.boxOpen = true;
    return new Promise(function (resolve) {
      // Escape is the box's own: the dialog's default close is kept from it,
      // so a box without Cancel stays, and one with Cancel answers it.
      function onKey(event) {
        if (event.key !== 'Escape') return;
        event.preventDefault();
        if (onEscape !== 0) dialog.close(String(onEscape));
      }
      function answered() {
        var answer = parseInt(dialog.returnValue, 10);
        dialog.returnValue = '';
        if (isNaN(answer) && onEscape === 0) {
          dialog.showModal(); // closed some other way: a box without Cancel stays
          return;
        }
        dialog.removeEventListener('close', answered);
        dialog.removeEventListener('keydown', onKey, true);
        page.boxOpen = false;
        canvas.focus();
        resolve(isNaN(answer) ? onEscape : answer);
      }
      dialog.returnValue = '';
      dialog.addEventListener('keydown', onKey, true);
      dialog.addEventListener('close', answered);
      dialog.showModal();
      (chosen || form.firstChild).focus();
    });
  };

  page.runEnded = function (code) {
    page.ended = code;
    say('The game has ended.' + (code !== 0 ? ' (exit code ' + code + ')' : ''));
    document.body.classList.add('vantrel-ended');
  };

  page.replayFrames = function () {
    return replayScript === null ? null : (params.get('frames') || '');
  };
  page.replayEnded = function (summary) {
    page.replay = summary;
    page.ended = summary.exitCode;
    say('Replay ended: ' + summary.framesPresented + ' frames presented, ' + summary.framesKept +
        ' kept' + (summary.error ? ' (' + summary.error + ')' : '') + '.');
  };

  // Sound: the module's one sound through the Web Audio API. A browser keeps
  // an AudioContext suspended until the person presses a key or clicks; until
  // then a sound is timed on the page's clock, not heard. `started` keeps
  // what each start was and how it ended ('played' or 'stopped'), for
  // whoever drives the page.
  var sound = { context: null, none: false, current: null, started: [], hint: false };
  page.sound = sound;

  // 0: no audio at all; 1: heard; 2: suspended until a key or click.
  sound.ready = function () {
    if (sound.context === null && !sound.none) {
      var Context = window.AudioContext || window.webkitAudioContext;
      try {
        sound.context = Context ? new Context() : null;
      } catch (e) {
        sound.context = null;
      }
      sound.none = sound.context === null;
    }
    if (sound.none) return 0;
    if (sound.context.state === 'running') return 1;
    if (!sound.hint && page.ended === null && status.hidden) {
      sound.hint = true;
      say('Sound starts at the first key or click.');
    }
    return 2;
  };

  // The sound's PCM bytes (8-bit unsigned or 16-bit signed, interleaved) as
  // an AudioBuffer at its own rate. A rate the browser does not take (below
  // its least, often 3000 or 8000) is raised by repeating each frame.
  function makeBuffer(at, bytes, channels, bits, rate) {
    var frames = Math.floor(bytes / (channels * bits / 8));
    var repeat = 1;
    var buffer = null;
    for (;;) {
      try {
        buffer = sound.context.createBuffer(channels, frames * repeat, rate * repeat);
        break;
      } catch (e) {
        if (rate * repeat >= 8000) return null;
        repeat = Math.ceil(8000 / rate);
      }
    }
    var view = bits === 16 ? new DataView(HEAPU8.buffer, at, frames * channels * 2) : null;
    for (var c = 0; c < channels; c++) {
      var out = buffer.getChannelData(c);
      for (var i = 0, o = 0; i < frames; i++) {
        var k = i * channels + c;
        var v = view ? view.getInt16(k * 2, true) / 32768 : (HEAPU8[at + k] - 128) / 128;
        for (var r = 0; r < repeat; r++) out[o++] = v;
      }
    }
    return buffer;
  }

  function finish(entry, how) {
    if (entry.record.end !== null) return;
    entry.record.end = how;
    entry.record.endedAt = performance.now();
    if (entry.timer !== null) clearTimeout(entry.timer);
    entry.resolve();
  }

  // Plays the entry's buffer from its start.
  function hear(entry) {
    var source = sound.context.createBufferSource();
    source.buffer = entry.buffer;
    source.loop = entry.record.loop;
    source.connect(sound.context.destination);
    source.onended = function () {
      if (entry.source === source) { entry.source = null; finish(entry, 'played'); }
    };
    entry.source = source;
    entry.endsAt = sound.context.currentTime + entry.buffer.duration;
    entry.record.heard = true;
    source.start();
  }

  sound.start = function (at, bytes, channels, bits, rate, loop) {
    sound.stop();
    if (sound.context === null) return false;
    var buffer = makeBuffer(at, bytes, channels, bits, rate);
    if (buffer === null) return false;
    var frames = Math.floor(bytes / (channels * bits / 8));
    var entry = { buffer: buffer, source: null, endsAt: 0, timer: null, resolve: null,
                  silentUntil: 0,
                  record: { frames: frames, rate: rate, channels: channels, bits: bits, loop: loop,
                            heard: false, end: null, startedAt: performance.now(), endedAt: 0 } };
    entry.done = new Promise(function (resolve) { entry.resolve = resolve; });
    sound.current = entry;
    sound.started.push(entry.record);
    if (sound.started.length > 1000) sound.started.shift();
    if (sound.context.state === 'running') {
      hear(entry);
    } else if (!loop) {
      // Not heard: it plays out on the page's clock.
      var ms = frames * 1000 / rate;
      entry.silentUntil = performance.now() + ms;
      entry.timer = setTimeout(function () { entry.timer = null; finish(entry, 'played'); }, ms);
    }
    return true;
  };

  sound.stop = function () {
    var entry = sound.current;
    if (entry === null) return;
    sound.current = null;
    if (entry.source !== null) {
      var source = entry.source;
      entry.source = null;
      source.stop();
      source.disconnect();
    }
    finish(entry, 'stopped');
  };

  sound.playing = function () {
    var entry = sound.current;
    if (entry === null || entry.record.end !== null) return false;
    if (entry.record.loop) return true;
    if (entry.source !== null) return sound.context.currentTime < entry.endsAt;
    return performance.now() < entry.silentUntil;
  };

  // Settles when the sound that plays has ended (at the latest a little after
  // its length, should the browser never say so).
  sound.ended = function () {
    var entry = sound.current;
    if (!sound.playing()) return Promise.resolve();
    var left = entry.source !== null ? (entry.endsAt - sound.context.currentTime) * 1000
                                     : entry.silentUntil - performance.now();
    return Promise.race([entry.done, new Promise(function (resolve) {
      setTimeout(resolve, Math.max(0, left) + 500);
    })]);
  };

  // The first key or click lets the page's audio start; a sound looping
  // unheard is heard from then on.
  function wake() {
    var context = sound.context;
    if (context === null || context.state === 'running') return;
    context.resume().then(function () {
      var entry = sound.current;
      if (entry !== null && entry.record.end === null && entry.record.loop && entry.source === null) {
        hear(entry);
      }
      if (sound.hint && status.textContent === 'Sound starts at the first key or click.') say('');
    }, function () {});
  }
  window.addEventListener('keydown', wake, true);
  window.addEventListener('pointerdown', wake, true);

  Module.vantrelPage = page;
  Module.canvas = canvas;
  // Standard error (the boxes' lines, OutputDebugStringA), also kept for
  // whoever drives the page.
  page.log = [];
  Module.printErr = function (text) {
    page.log.push(text);
    if (page.log.length > 1000) page.log.shift();
    console.warn(text);
  };
  Module.print = function (text) { console.log(text); };
  Module.onAbort = function (what) { page.ended = -1; say('The game stopped: ' + what); };
  Module.preRun = Module.preRun || [];
  if (replayScript !== null) {
    page.replay = null;
    Module.preRun.push(function () {
      addRunDependency('vantrel-replay-script');
      fetch(replayScript).then(function (r) {
        if (!r.ok) throw new Error(replayScript + ': ' + r.status);
        return r.text();
      }).then(function (text) {
        FS.writeFile('/vantrel-replay.script', text);
      }).catch(function (err) {
        console.warn('vantrel: the replay script could not be fetched: ' + err);
      }).finally(function () {
        removeRunDependency('vantrel-replay-script');
      });
    });
  }
  say('Loading\u2026');
  Module.onRuntimeInitialized = function () { if (page.ended === null) say(''); };
})();
