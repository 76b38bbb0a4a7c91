#pragma once
// Finding the running instance among the processes of this user through
// /proc, and telling whether a process still runs.

#include <sys/types.h>

#include <string>
#include <string_view>

namespace keyloom::instance {

// The running executable's file name without its folder ("keyloom"); empty
// when /proc/self/exe cannot be read.
std::string currentProgramFileName();

// The process id of the lowest-numbered process of this user, other than
// this process, whose executable's file name equals `programFileName`
// (compared without regard to ASCII case); 0 when none matches or `procRoot`
// cannot be read. A program file replaced while it runs still counts (the
// kernel reports it with a " (deleted)" tail). `procRoot` is replaceable for
// tests.
pid_t findInstanceProcess(std::string_view programFileName, const std::string& procRoot = "/proc");

// True while `pid` names a process this user may signal.
bool isProcessAlive(pid_t pid);

// A decimal process id (a /proc entry name, a pid file's text); 0 when the
// text is not one.
pid_t parsePid(std::string_view text);

}  // namespace keyloom::instance
