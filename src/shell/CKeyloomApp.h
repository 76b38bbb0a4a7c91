#pragma once
// The program's start and end: command line, paths, registry and language
// files, simulated keyboard and report trace, single-instance control, the
// companion program, then the main window until Exit or a KILL request.

#include <cstdio>
#include <string_view>
#include <vector>

namespace keyloom::shell {

class CKeyloomApp {
public:
    // Runs the program inside an existing QApplication; `arguments` are the
    // arguments after the program name. Returns the exit code.
    int run(const std::vector<std::string_view>& arguments);

    static void printUsage(std::FILE* out);
};

}  // namespace keyloom::shell
