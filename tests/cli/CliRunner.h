#pragma once
// Runs the built keyloomctl (or another program of the build) with arguments and collects its exit
// code and output, so the tests see exactly what a user or a script sees.

#include <string>
#include <vector>

namespace keyloom::testing {

struct CliRun {
    int exitCode = -1;
    std::string out;
    std::string err;
};

CliRun runKeyloomctl(const std::vector<std::string>& args, const std::string& workDir);

// Any program of the build's bin folder, with `unset` taken out of its
// environment.
CliRun runBuiltProgram(const std::string& program, const std::vector<std::string>& args,
                       const std::string& workDir, const std::vector<std::string>& unset = {});

}  // namespace keyloom::testing
