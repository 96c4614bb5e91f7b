// Emscripten's SDL 1.2 (library_sdl.js), brought back to what classic
// SDL 1.2 does where the game depends on it, and its fsync. A function of the same name
// here replaces Emscripten's; $TirevaneSdl patches the few internals that
// have no function of their own when the script starts.
mergeInto(LibraryManager.library, {
  $TirevaneSdl__deps: ['$SDL'],
  $TirevaneSdl__postset: 'TirevaneSdl.install();',
  $TirevaneSdl: {
    // Over the canvas until a mouse is seen leaving it; a finger never is.
    pointerInside: true,
    // Where the pointer or finger last was on the page, once seen.
    lastPointer: null,
    notePointer: function(event) {
      if (/^mouse(move|down|up)$/.test(event.type)) TirevaneSdl.lastPointer = { pageX: event.pageX, pageY: event.pageY };
    },
    install: function() {
      var makeSurface = SDL.makeSurface;
      SDL.makeSurface = function(width, height, flags, usePageCanvas, source, rmask, gmask, bmask, amask) {
        var surf = makeSurface.apply(SDL, arguments);
        var data = SDL.surfaces[surf];
        // Every surface here has an alpha channel; classic SDL gives one
        // only to those made with an alpha mask (blended text).
        data.ownAlpha = !!amask;
        if (usePageCanvas) {
          // The screen is drawn off the page and shown by SDL_Flip, as on
          // a desktop: what a screen draws after its flip (the menus'
          // clearing) must not be what the player sees.
          data.frontCtx = data.ctx;
          data.canvas = document.createElement('canvas');
          data.canvas.width = width;
          data.canvas.height = height;
          data.ctx = data.canvas.getContext('2d', { alpha: false });
        }
        return surf;
      };
      // The pointer entering or leaving the canvas, which Emscripten's SDL
      // does not report, comes out of tirevane_take_page_event as a window
      // event.
      ['mouseenter', 'mouseleave'].forEach(function(type) {
        Module['canvas'].addEventListener(type, function() {
          TirevaneSdl.pointerInside = type === 'mouseenter';
          SDL.events.push({ type: 'tirevane-pointer', inside: TirevaneSdl.pointerInside });
          TirevaneSdl.wake();
        });
      });
      // Every page event Emscripten's SDL queues wakes a game asleep in
      // tirevane_wait_page_event. Its listeners are added later, by
      // SDL_Init and SDL_SetVideoMode, so they take this one.
      var receive = SDL.receiveEvent;
      SDL.receiveEvent = function(event) {
        TirevaneSdl.notePointer(event);
        var result = receive.apply(SDL, arguments);
        TirevaneSdl.wake();
        return result;
      };
      document.addEventListener('visibilitychange', function() {
        TirevaneSdl.wake();
      });
      TirevaneSdl.takeTouches();
      // The page's "Échap" button, for a hand without a keyboard: the
      // Escape key pressed (down true) or released.
      // A mouse reaching the button has left the canvas, which pauses a
      // match, and a paused match takes no key: while the button is held
      // the pointer counts as over the game.
      Module['escapeKey'] = function(down) {
        if (!SDL.keyboardState) return;
        var away = !TirevaneSdl.pointerInside;
        if (away && down) SDL.events.push({ type: 'tirevane-pointer', inside: true });
        SDL.events.push({ type: down ? 'keydown' : 'keyup', keyCode: 27 });
        if (away && !down) SDL.events.push({ type: 'tirevane-pointer', inside: false });
        TirevaneSdl.wake();
      };
      // Browsers start sound at a gesture, and a touch counts only once it
      // ends: Emscripten's SDL tries at the touch's start, once.
      document.addEventListener('touchend', function() {
        if (SDL.audioContext && SDL.audioContext.state === 'suspended') SDL.audioContext.resume();
      }, true);
    },

    // A finger is the mouse with its left button: where it lands the
    // pointer moves, then presses (the cursor or visor is drawn under it
    // before the shot); it drags the pointer and releases where it lifts.
    // Only the first finger down counts. Emscripten's SDL would press
    // before moving, press again for every other finger and release at
    // each lift. Its canvas listeners call SDL.receiveEvent, so touches
    // are taken there, before the wrapper that wakes the game; preventing their default keeps the browser from
    // scrolling, zooming and making mouse events of them (no enter or
    // leave: a lifted finger is no pointer leaving the canvas).
    takeTouches: function() {
      var receive = SDL.receiveEvent;
      var finger = null;
      SDL.receiveEvent = function(event) {
        if (!/^touch/.test(event.type)) return receive(event);
        event.preventDefault();
        var held = Array.prototype.some.call(event.touches, function(t) { return t.identifier === finger; });
        if (event.type === 'touchstart' && !held) finger = event.changedTouches[0].identifier;
        var touch = Array.prototype.find.call(event.changedTouches, function(t) { return t.identifier === finger; });
        if (!touch) return;
        var at = function(type) {
          var made = { type: type, button: 0, pageX: touch.pageX, pageY: touch.pageY };
          TirevaneSdl.notePointer(made);
          return made;
        };
        if (event.type !== 'touchend' && event.type !== 'touchcancel') SDL.events.push(at('mousemove'));
        if (event.type === 'touchstart') SDL.events.push(at('mousedown'));
        if (event.type === 'touchend' || event.type === 'touchcancel') {
          SDL.events.push(at('mouseup'));
          finger = null;
        }
        TirevaneSdl.wake();
      };
    },

    // The game's wake-up while it sleeps waiting for the page, if it does.
    sleeper: null,
    wake: function() {
      var wakeUp = TirevaneSdl.sleeper;
      if (!wakeUp) return;
      TirevaneSdl.sleeper = null;
      // Resumed from the browser's own turn, never from inside the game.
      setTimeout(wakeUp, 0);
    },
  },

  // Sleeps until the page has an event for the game (asyncify): the screens
  // that wait for the player cost nothing meanwhile. The sound is fed by its
  // own timers all along.
  tirevane_wait_page_event__deps: ['$TirevaneSdl', '$TirevaneAudio'],
  tirevane_wait_page_event: function() {
    Asyncify.handleSleep(function(wakeUp) {
      TirevaneAudio.startedSounds();
      if (SDL.events.length > 0) return wakeUp();
      TirevaneSdl.sleeper = wakeUp;
    });
  },

  // The game's waits between frames. While the tab is hidden nobody sees
  // the frames: an animation (the intro, a menu sliding in) waits until
  // the page shows again or has a new event. The tab's hiding itself, not
  // yet taken by the game, lets it run on to take it: the match pauses on it.
  SDL_Delay__deps: ['$TirevaneSdl', '$TirevaneAudio', 'emscripten_sleep'],
  SDL_Delay: function(ms) {
    TirevaneAudio.startedSounds();
    var hiding = SDL.events.some(function(event) { return event.type === 'visibilitychange'; });
    if (!document.hidden || hiding) return _emscripten_sleep(ms);
    Asyncify.handleSleep(function(wakeUp) {
      TirevaneSdl.sleeper = wakeUp;
    });
  },

  // Per-surface alpha: ignored on a surface with its own alpha channel, as
  // classic SDL 1.2 does (the menu labels end at full green).
  SDL_SetAlpha__deps: ['$TirevaneSdl'],
  SDL_SetAlpha: function(surf, flag, alpha) {
    var data = SDL.surfaces[surf];
    data.alpha = (data.ownAlpha || !(flag & 0x00010000 /* SDL_SRCALPHA */)) ? 255 : alpha;
    return 0;
  },

  // The colour key, made transparent once in the surface's pixels; the
  // pictures keyed by the game are never drawn into afterwards.
  SDL_SetColorKey: function(surf, flag, key) {
    if (!(flag & 0x00020000 /* SDL_SRCCOLORKEY */)) return 0;
    var data = SDL.surfaces[surf];
    var r = key & 255, g = (key >> 8) & 255, b = (key >> 16) & 255;
    var image = data.ctx.getImageData(0, 0, data.width, data.height);
    var px = image.data;
    for (var i = 0; i < px.length; i += 4) {
      if (px[i] === r && px[i + 1] === g && px[i + 2] === b) px[i + 3] = 0;
    }
    data.ctx.putImageData(image, 0, 0);
    return 0;
  },

  // Shows what the screen surface holds now, and the sounds that go with it.
  SDL_Flip__deps: ['$TirevaneAudio'],
  SDL_Flip: function(surf) {
    var data = SDL.surfaces[surf];
    // The back buffer is opaque: drawn over, it replaces the whole picture.
    if (data && data.frontCtx) data.frontCtx.drawImage(data.canvas, 0, 0);
    TirevaneAudio.startedSounds();
    return 0;
  },

  // Emscripten's drops its first slot with the last one freed, after which
  // every SDL_RWFromFile returns 0, read as NULL.
  SDL_FreeRW: function(id) {
    SDL.rwops[id] = null;
    while (SDL.rwops.length > 1 && SDL.rwops[SDL.rwops.length - 1] === null) {
      SDL.rwops.pop();
    }
  },

  // A page cannot move the player's pointer (Emscripten's does nothing):
  // the game is told where it is instead, as the motion a warp makes, so a
  // match starts with its visor under the pointer, not at the centre.
  SDL_WarpMouse__deps: ['$TirevaneSdl'],
  SDL_WarpMouse: function(x, y) {
    var at = TirevaneSdl.lastPointer;
    if (!at) return;
    SDL.events.push({ type: 'mousemove', pageX: at.pageX, pageY: at.pageY });
    TirevaneSdl.wake();
  },

  // Hides the browser's pointer over the canvas (Emscripten's would lock
  // it in full screen); returns whether it was shown.
  SDL_ShowCursor: function(toggle) {
    var style = Module['canvas'].style;
    var shown = style.cursor !== 'none';
    if (toggle === 0) style.cursor = 'none';
    if (toggle === 1) style.cursor = '';
    return shown ? 1 : 0;
  },

  // F11: the page's frame around the canvas in and out of the browser's
  // full screen. The key was pressed moments ago, which browsers accept as
  // the gesture they ask for.
  SDL_WM_ToggleFullScreen: function(surf) {
    var frame = Module['fullscreenFrame'] || Module['canvas'];
    if (document.fullscreenElement) {
      document.exitFullscreen();
      return 1;
    }
    if (!document.fullscreenEnabled || !frame.requestFullscreen) return 0;
    frame.requestFullscreen().catch(function(e) {
      err('tirevane: the browser refused full screen: ' + e.message);
    });
    return 1;
  },

  // fsync on the saves' folder waits for IndexedDB (asyncify). Emscripten
  // 3.1.6 hands a failure back as a function, which the game reads as
  // success: a refused save must fail with EIO, for the game to say so.
  fd_sync__deps: ['$SYSCALLS'],
  fd_sync__sig: 'ii',
  fd_sync: function(fd) {
    var stream = SYSCALLS.getStreamFromFD(fd);
    return Asyncify.handleSleep(function(wakeUp) {
      var mount = stream.node.mount;
      if (!mount.type.syncfs) return wakeUp(0);
      mount.type.syncfs(mount, false, function(error) {
        wakeUp(error ? {{{ cDefine('EIO') }}} : 0);
      });
    });
  },

  // The sound, scheduled ahead on the audio clock in buffers the game's
  // callback fills. How far ahead follows the player: while they play
  // (a key, a click or the pointer moved in the last seconds) short buffers
  // close behind the clock; at rest long buffers further ahead, so the page
  // wakes about once a second. Either way a sound the game starts is heard
  // at once: when the game flips or waits, what it started since the last
  // buffer is mixed alone and played over the queue, up to where the next
  // buffer takes it on. Emscripten's own pump kept 85 ms queued, woke for
  // every 11.6 ms buffer whatever the game did, and a shot waited behind
  // the queue. Only the game's format: 16-bit signed samples, mono or stereo.
  $TirevaneAudio__deps: ['$SDL', '$autoResumeAudioContext', 'malloc', 'free'],
  $TirevaneAudio: {
    kActiveMs: 3000,
    // [callbacks per buffer, seconds kept ahead, seconds of margin past the clock]
    kPlaying: [2, 0.06, 0.015],
    kResting: [32, 1.0, 0.05],
    // How soon after the game's flip or wait a sound it started begins.
    kHeadStartS: 0.004,
    lastInput: -1e9,
    pump: function() {
      var audio = SDL.audio;
      if (!audio || audio.paused) return;
      audio.timer = null;
      var context = SDL.audioContext;
      var playing = performance.now() - TirevaneAudio.lastInput < TirevaneAudio.kActiveMs;
      var mode = playing ? TirevaneAudio.kPlaying : TirevaneAudio.kResting;
      var now = context.currentTime;
      if (audio.nextPlayTime < now + mode[2]) {
        // Silence played for want of sound (not at the start): counted
        // for tools/figures.
        if (audio.nextPlayTime > 0 && audio.nextPlayTime < now && context.state === 'running') {
          audio.gaps.push(performance.now());
        }
        audio.nextPlayTime = now + mode[2];
      }
      while (audio.nextPlayTime - now < mode[1]) {
        var frames = mode[0] * audio.samples;
        var buffer = context.createBuffer(2, frames, audio.freq);
        for (var i = 0; i < mode[0]; i++) {
          {{{ makeDynCall('viii', 'audio.callback') }}}(audio.userdata, audio.buffer, audio.bufferSize);
          audio.pushAudio(audio.buffer, audio.bufferSize, buffer, i * audio.samples);
        }
        audio.schedule(buffer, audio.nextPlayTime);
        audio.nextPlayTime += frames / audio.freq;
      }
      // Woken again once the queue is down to its margin, in good time.
      var wait = (audio.nextPlayTime - context.currentTime - mode[1] + mode[0] * audio.samples / audio.freq / 2) * 1000;
      audio.timer = setTimeout(TirevaneAudio.pump, Math.max(0, wait));
    },
    // Called as the game flips or is about to wait, never while asyncify
    // unwinds or rewinds it: the sounds it started since the last buffer,
    // from just after now to where the queue ends.
    startedSounds: function() {
      var audio = SDL.audio;
      if (!audio || audio.paused || !audio.nextPlayTime || Asyncify.state !== Asyncify.State.Normal) return;
      var context = SDL.audioContext;
      var frames = Math.floor((audio.nextPlayTime - context.currentTime - TirevaneAudio.kHeadStartS) * audio.freq);
      if (frames <= 0) return;
      if (frames > audio.headStartFrames) {
        _free(audio.headStart);
        audio.headStart = _malloc(frames * 4);
        audio.headStartFrames = frames;
      }
      if (!_tirevane_mix_started(audio.headStart, frames)) return;
      var buffer = context.createBuffer(2, frames, audio.freq);
      audio.pushAudio(audio.headStart, frames * 4, buffer, 0);
      audio.schedule(buffer, audio.nextPlayTime - frames / audio.freq);
    },
    // The player's input: from then on the sound stays close behind the
    // clock; what was queued far ahead plays out first.
    input: function() {
      var resting = performance.now() - TirevaneAudio.lastInput >= TirevaneAudio.kActiveMs;
      TirevaneAudio.lastInput = performance.now();
      var audio = SDL.audio;
      if (resting && audio && audio.timer) {
        clearTimeout(audio.timer);
        TirevaneAudio.pump();
      }
    },
  },

  SDL_OpenAudio__deps: ['$TirevaneAudio', 'malloc'],
  SDL_OpenAudio: function(desired, obtained) {
    var format = {{{ makeGetValue('desired', C_STRUCTS.SDL_AudioSpec.format, 'i16', 0, 1) }}};
    var channels = {{{ makeGetValue('desired', C_STRUCTS.SDL_AudioSpec.channels, 'i8', 0, 1) }}} || 1;
    var samples = {{{ makeGetValue('desired', C_STRUCTS.SDL_AudioSpec.samples, 'i16', 0, 1) }}};
    var freq = {{{ makeGetValue('desired', C_STRUCTS.SDL_AudioSpec.freq, 'i32', 0, 1) }}};
    if (format !== {{{ cDefine('AUDIO_S16LSB') }}} || channels > 2 || samples <= 0) return -1;
    try {
      if (!SDL.audioContext) {
        SDL.audioContext = new AudioContext({ sampleRate: freq, latencyHint: 'interactive' });
        autoResumeAudioContext(SDL.audioContext);
        ['keydown', 'mousedown', 'mousemove', 'touchstart'].forEach(function(type) {
          document.addEventListener(type, TirevaneAudio.input, { capture: true, passive: true });
        });
      }
    } catch (e) {
      err('tirevane: no sound: ' + e);
      return -1;
    }
    var audio = SDL.audio = {
      freq: SDL.audioContext.sampleRate, format: format, channels: channels, samples: samples,
      callback: {{{ makeGetValue('desired', C_STRUCTS.SDL_AudioSpec.callback, 'void*', 0, 1) }}},
      userdata: {{{ makeGetValue('desired', C_STRUCTS.SDL_AudioSpec.userdata, 'void*', 0, 1) }}},
      paused: true, timer: null, bufferSize: samples * channels * 2,
      bufferingDelay: 0, nextPlayTime: 0, gaps: [], queued: [],
      headStart: 0, headStartFrames: 0,
    };
    audio.buffer = _malloc(audio.bufferSize);
    // Plays `buffer` from `when` on the audio clock; kept until it has
    // played, so that pausing silences what is queued at once.
    audio.schedule = function(buffer, when) {
      var context = SDL.audioContext;
      var source = context.createBufferSource();
      source.buffer = buffer;
      source.connect(context.destination);
      source.start(when);
      var now = context.currentTime;
      audio.queued = audio.queued.filter(function(q) { return q.end > now; });
      audio.queued.push({ source: source, end: when + buffer.duration });
    };
    // One callback's samples into `into` from frame `at`, mono doubled.
    audio.pushAudio = function(ptr, size, into, at) {
      var left = into.getChannelData(0), right = into.getChannelData(1);
      var frames = size / 2 / audio.channels, first = ptr >> 1;
      for (var i = 0; i < frames; i++) {
        left[at + i] = HEAP16[first + i * audio.channels] / 32768;
        right[at + i] = HEAP16[first + i * audio.channels + audio.channels - 1] / 32768;
      }
    };
    if (obtained) {
      {{{ makeSetValue('obtained', C_STRUCTS.SDL_AudioSpec.freq, 'audio.freq', 'i32') }}};
      {{{ makeSetValue('obtained', C_STRUCTS.SDL_AudioSpec.format, 'format', 'i16') }}};
      {{{ makeSetValue('obtained', C_STRUCTS.SDL_AudioSpec.channels, 'channels', 'i8') }}};
      {{{ makeSetValue('obtained', C_STRUCTS.SDL_AudioSpec.silence, '0', 'i8') }}};
      {{{ makeSetValue('obtained', C_STRUCTS.SDL_AudioSpec.samples, 'samples', 'i16') }}};
      {{{ makeSetValue('obtained', C_STRUCTS.SDL_AudioSpec.callback, 'audio.callback', '*') }}};
      {{{ makeSetValue('obtained', C_STRUCTS.SDL_AudioSpec.userdata, 'audio.userdata', '*') }}};
    }
    return 0;
  },

  SDL_PauseAudio__deps: ['$TirevaneAudio'],
  SDL_PauseAudio: function(pauseOn) {
    var audio = SDL.audio;
    if (!audio || audio.paused === !!pauseOn) return;
    audio.paused = !!pauseOn;
    if (audio.timer) clearTimeout(audio.timer);
    audio.timer = null;
    audio.queued.forEach(function(q) { q.source.stop(); });
    audio.queued = [];
    if (!audio.paused) {
      audio.nextPlayTime = 0;
      TirevaneAudio.pump();
    }
  },

  SDL_CloseAudio__deps: ['SDL_PauseAudio', 'free'],
  SDL_CloseAudio: function() {
    var audio = SDL.audio;
    if (!audio) return;
    _SDL_PauseAudio(1);
    _free(audio.buffer);
    _free(audio.headStart);
    SDL.audio = null;
  },

  SDL_GetAudioStatus: function() {
    if (!SDL.audio) return 0; /* SDL_AUDIO_STOPPED */
    return SDL.audio.paused ? 2 /* SDL_AUDIO_PAUSED */ : 1 /* SDL_AUDIO_PLAYING */;
  },

  // The next event of the page for sdl_events.cpp, in its order: those
  // Emscripten's SDL makes, and the pointer entering or leaving the canvas,
  // which it does not report, as window events.
  tirevane_take_page_event__deps: ['$TirevaneSdl'],
  tirevane_take_page_event: function(ptr) {
    while (SDL.events.length > 0) {
      var event = SDL.events.shift();
      if (event.type === 'tirevane-pointer') {
        {{{ makeSetValue('ptr', C_STRUCTS.SDL_WindowEvent.type, '0x200' /* SDL_WINDOWEVENT */, 'i32') }}};
        {{{ makeSetValue('ptr', C_STRUCTS.SDL_WindowEvent.event, 'event.inside ? 10 : 11' /* ENTER, LEAVE */, 'i8') }}};
        return 1;
      }
      if (typeof event === 'number') continue;  // pushed by Emscripten's own SDL_PushEvent: never used
      if (SDL.makeCEvent(event, ptr) !== false) return 1;
    }
    return 0;
  },
});
