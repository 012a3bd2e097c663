#pragma once

// Makes SIGINT, SIGTERM and SIGHUP end the event loop normally (so that
// destructors run and the --link symlink is removed) and ignores SIGPIPE.
// Call once, after the application object exists.
void quitOnTerminationSignals();
