#pragma once
// The window thread, and a check that code meant for it runs there. Widgets
// may only be touched from the window thread; a call that reaches one from a
// keyboard job or the discovery thread is a bug that shows only sometimes,
// so it is made to fail at once. The check is on in debug builds and once
// enableWindowThreadCheck() was called (the window test suites); off, it
// costs one atomic load.

namespace keyloom::window {

// The calling thread is the window thread (the main window calls it as it
// is built).
void markWindowThread();
// True when no window thread was marked, or the caller is it.
bool onWindowThread();
void enableWindowThreadCheck();
bool windowThreadCheckEnabled();
// With the check on, prints `what` and aborts when the caller is not the
// marked window thread.
void expectWindowThread(const char* what);

}  // namespace keyloom::window
