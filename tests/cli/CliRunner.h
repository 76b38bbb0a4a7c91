#pragma once
// Runs the built keyloomctl with arguments and collects its exit code and
// output, so the tests see exactly what a user or a script sees.

#include <string>
#include <vector>

namespace keyloom::testing {

struct CliRun {
    int exitCode = -1;
    std::string out;
    std::string err;
};

CliRun runKeyloomctl(const std::vector<std::string>& args, const std::string& workDir);

}  // namespace keyloom::testing
