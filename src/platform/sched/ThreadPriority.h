#pragma once
// How the program's threads share the processor: the keyboard's threads
// ahead of long background work.

namespace keyloom::platform {

// For a thread that works in short bursts between waits (the keyboard's
// exchanges): asks for a short time slice, so that when it is woken while
// every core is busy with long work (the window's start) it runs within a
// fraction of a millisecond instead of after the others' slices. The
// thread's share of the processor is unchanged. Kernels that do not take a
// slice request (before Linux 6.12) leave the thread as it was.
void preferPromptWakeups();

// Lowers the calling thread's priority (nice 10; nothing where it cannot), for
// work that may take the processor only when the keyboard's exchanges and the
// window leave it free.
void yieldToOtherThreads();

}  // namespace keyloom::platform
