// keyloom: the keyboard's configuration program with its window and tray icon.

#include <QApplication>
#include <string_view>
#include <vector>

#include "platform/instance/StartupArguments.h"
#include "shell/CKeyloomApp.h"

int main(int argc, char** argv) {
    // --help needs no display, so it is answered before Qt starts.
    if (keyloom::instance::parseStartupArguments(argc, argv).help) {
        keyloom::shell::CKeyloomApp::printUsage(stdout);
        return 0;
    }
    QApplication application(argc, argv);
    std::vector<std::string_view> arguments;
    for (int i = 1; i < argc; ++i)
        arguments.emplace_back(argv[i]);
    keyloom::shell::CKeyloomApp app;
    return app.run(arguments);
}
