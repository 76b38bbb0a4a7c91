// keyloom: the keyboard's configuration program with its window and tray icon.

#include <malloc.h>

#include <QApplication>
#include <cstdio>
#include <string_view>
#include <vector>

#include "KeyloomVersion.h"
#include "platform/instance/StartupArguments.h"
#include "shell/CKeyloomApp.h"

int main(int argc, char** argv) {
    // The program lives in the tray for the whole session: blocks of a
    // megabyte and more (decoded pictures, slot file buffers) are mapped on
    // their own, so that freeing them gives the memory back instead of
    // leaving it in the heap; a fixed threshold also stops glibc from
    // raising it after the first such block is freed.
    mallopt(M_MMAP_THRESHOLD, 1024 * 1024);
    // --version and --help need no display, so they are answered before Qt starts.
    for (int i = 1; i < argc; ++i) {
        if (std::string_view(argv[i]) == "--version") {
            std::printf("keyloom %.*s\n", static_cast<int>(keyloom::kKeyloomVersion.size()),
                        keyloom::kKeyloomVersion.data());
            return 0;
        }
    }
    if (keyloom::instance::parseStartupArguments(argc, argv).help) {
        keyloom::shell::CKeyloomApp::printUsage(stdout);
        return 0;
    }
    QApplication application(argc, argv);
    // Docks and taskbars match the window to keyloom.desktop by this name.
    QGuiApplication::setDesktopFileName(QStringLiteral("keyloom"));
    std::vector<std::string_view> arguments;
    for (int i = 1; i < argc; ++i)
        arguments.emplace_back(argv[i]);
    keyloom::shell::CKeyloomApp app;
    return app.run(arguments);
}
