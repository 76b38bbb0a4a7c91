#include "cli/CliContext.h"

namespace keyloom::cli {

int fail(const CliContext& context, const std::string& message) {
    std::fprintf(context.err, "keyloomctl: %s\n", message.c_str());
    return kExitFailure;
}

int usageError(const CliContext& context, const std::string& message) {
    std::fprintf(context.err, "keyloomctl: %s\nTry 'keyloomctl --help'.\n", message.c_str());
    return kExitUsage;
}

}  // namespace keyloom::cli
