// The player's folder in the browser's storage (IndexedDB), read into the page's file system
// before the game starts, so that it finds its progress and settings as a desktop copy does.
// The folder's name is web_program_folder.cpp's PlayerFolder. Linked with --pre-js.
Module["preRun"] = Module["preRun"] || [];
Module["preRun"].push(function () {
  const folder = "/player";
  FS.mkdir(folder);
  FS.mount(IDBFS, {}, folder);
  addRunDependency("player-folder");
  FS.syncfs(true, function (error) {
    if (error) {
      console.error("could not read the player's files from the browser's storage: " + error);
    }
    removeRunDependency("player-folder");
  });
});
