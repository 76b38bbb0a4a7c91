#pragma once
// The program's start and end: command line, paths, registry and language
// files, simulated keyboard and report trace, single-instance control and the
// keyboard's core before the toolkit starts; then the companion program and
// the main window until Exit or a KILL request.

#include <cstdio>
#include <memory>
#include <optional>
#include <string_view>
#include <vector>

namespace keyloom::shell {

class CKeyloomApp {
public:
    CKeyloomApp();
    ~CKeyloomApp();
    CKeyloomApp(const CKeyloomApp&) = delete;
    CKeyloomApp& operator=(const CKeyloomApp&) = delete;

    // Before the QApplication is built, on the thread that will run the
    // window: everything up to the keyboard's core, which is started here so
    // that finding and reading the keyboard overlaps the toolkit's start-up.
    // `arguments` are the arguments after the program name (the toolkit's
    // own are passed over). Returns the exit code when the program ends here.
    std::optional<int> prepare(const std::vector<std::string_view>& arguments);
    // Inside the QApplication built after prepare(): the window, the
    // session-bus service and the event loop. Returns the exit code.
    int run();

    static void printUsage(std::FILE* out);

private:
    struct Prepared;
    std::unique_ptr<Prepared> prepared_;
};

}  // namespace keyloom::shell
