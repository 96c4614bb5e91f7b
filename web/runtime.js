// What the game finds around it before main: its video driver and its
// data files.
//
// The page is the game's display: said as a player who chose a driver
// would say it, so the game does not look for an X display.
Module['preRun'] = Module['preRun'] || [];
Module['preRun'].push(function() {
  ENV['SDL_VIDEODRIVER'] = 'emscripten';
});

// The player's options and save file live in the browser's IndexedDB:
// /saves is an IDBFS folder, read back before the game starts, and the
// game's two data files are links into it (main.cpp). The game writes them
// as on the desktop (a temporary file, fsync, rename, fsync of the folder)
// and each fsync waits until IndexedDB holds the change; a refusal fails
// that fsync, which the game reports and plays on.
Module['preRun'].push(function() {
  FS.mkdir('/saves');
  FS.mount(IDBFS, {}, '/saves');
  addRunDependency('tirevane-saves');
  FS.syncfs(true, function(error) {
    if (error) {
      console.error('tirevane: this browser keeps no saves (' + error +
                    '); the game starts from its defaults and plays on');
    }
    removeRunDependency('tirevane-saves');
  });
});
