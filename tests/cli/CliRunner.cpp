#include "cli/CliRunner.h"

#include <sys/wait.h>

#include <cstdio>
#include <fstream>
#include <sstream>

namespace keyloom::testing {

namespace {

std::string shellQuote(const std::string& text) {
    std::string out = "'";
    for (char c : text)
        out += (c == '\'') ? std::string("'\\''") : std::string(1, c);
    return out + "'";
}

std::string slurp(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::stringstream buffer;
    buffer << in.rdbuf();
    return buffer.str();
}

}  // namespace

CliRun runKeyloomctl(const std::vector<std::string>& args, const std::string& workDir) {
    return runBuiltProgram("keyloomctl", args, workDir);
}

CliRun runBuiltProgram(const std::string& program, const std::vector<std::string>& args,
                       const std::string& workDir, const std::vector<std::string>& unset) {
    std::string command = "cd " + shellQuote(workDir) + " && env";
    for (const std::string& name : unset)
        command += " -u " + shellQuote(name);
    command += " " + shellQuote(std::string(KEYLOOM_BUILD_DIR) + "/bin/" + program);
    for (const std::string& arg : args)
        command += " " + shellQuote(arg);
    std::string outPath = workDir + "/.cli-out";
    std::string errPath = workDir + "/.cli-err";
    command += " >" + shellQuote(outPath) + " 2>" + shellQuote(errPath) + " </dev/null";
    CliRun run;
    int status = std::system(command.c_str());
    run.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    run.out = slurp(outPath);
    run.err = slurp(errPath);
    std::remove(outPath.c_str());
    std::remove(errPath.c_str());
    return run;
}

}  // namespace keyloom::testing
