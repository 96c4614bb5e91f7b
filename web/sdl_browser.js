// Emscripten's SDL 1.2 (library_sdl.js), brought back to what classic
// SDL 1.2 does where the game depends on it, and its fsync. A function of the same name
// here replaces Emscripten's; $TirevaneSdl patches the few internals that
// have no function of their own when the script starts.
mergeInto(LibraryManager.library, {
  $TirevaneSdl__deps: ['$SDL'],
  $TirevaneSdl__postset: 'TirevaneSdl.install();',
  $TirevaneSdl: {
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
          SDL.events.push({ type: 'tirevane-pointer', inside: type === 'mouseenter' });
          TirevaneSdl.wake();
        });
      });
      // Every page event Emscripten's SDL queues wakes a game asleep in
      // tirevane_wait_page_event. Its listeners are added later, by
      // SDL_Init and SDL_SetVideoMode, so they take this one.
      var receive = SDL.receiveEvent;
      SDL.receiveEvent = function(event) {
        var result = receive.apply(SDL, arguments);
        TirevaneSdl.wake();
        return result;
      };
      document.addEventListener('visibilitychange', function() {
        TirevaneSdl.wake();
      });
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
  tirevane_wait_page_event__deps: ['$TirevaneSdl'],
  tirevane_wait_page_event: function() {
    Asyncify.handleSleep(function(wakeUp) {
      if (SDL.events.length > 0) return wakeUp();
      TirevaneSdl.sleeper = wakeUp;
    });
  },

  // The game's waits between frames. While the tab is hidden nobody sees
  // the frames: an animation (the intro, a menu sliding in) waits until
  // the page shows again or has a new event. The tab's hiding itself, not
  // yet taken by the game, lets it run on to take it: the match pauses on it.
  SDL_Delay__deps: ['$TirevaneSdl', 'emscripten_sleep'],
  SDL_Delay: function(ms) {
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

  // Shows what the screen surface holds now.
  SDL_Flip: function(surf) {
    var data = SDL.surfaces[surf];
    // The back buffer is opaque: drawn over, it replaces the whole picture.
    if (data && data.frontCtx) data.frontCtx.drawImage(data.canvas, 0, 0);
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
