// keyloom: the keyboard's configuration program with its window and tray icon.

#include <fontconfig/fontconfig.h>
#include <malloc.h>

#include <QApplication>
#include <cstdio>
#include <cstdlib>
#include <optional>
#include <string_view>
#include <thread>
#include <vector>

#include "KeyloomVersion.h"
#include "platform/instance/StartupArguments.h"
#include "platform/sched/ThreadPriority.h"
#include "shell/CKeyloomApp.h"
#include "shell/DarkLook.h"
#include "shell/ScreenFit.h"
#include "storage/AppPaths.h"

namespace {

bool variableSet(const char* name) {
    const char* value = std::getenv(name);
    return value && *value;
}

// Whether the environment names a display, or a toolkit platform that may
// need none (offscreen and the like).
bool displayNamed() {
    return variableSet("DISPLAY") || variableSet("WAYLAND_DISPLAY") ||
           variableSet("QT_QPA_PLATFORM");
}

}  // namespace

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
    const keyloom::instance::StartupArguments parsed =
        keyloom::instance::parseStartupArguments(argc, argv);
    if (!parsed.unknown.empty()) {
        std::fprintf(stderr, "keyloom: unknown argument '%s'\n\n", parsed.unknown.front().c_str());
        keyloom::shell::CKeyloomApp::printUsage(stderr);
        return 2;
    }
    if (parsed.help) {
        keyloom::shell::CKeyloomApp::printUsage(stdout);
        return 0;
    }
    // Without a display the toolkit would abort; say why instead.
    if (!parsed.platformGiven && !displayNamed()) {
        std::fprintf(stderr,
                     "keyloom: there is no display to show the window on (neither DISPLAY nor "
                     "WAYLAND_DISPLAY is set); start it in a desktop session, or use "
                     "keyloomctl.\n");
        return 1;
    }
    // Up to the keyboard's core before the toolkit: the keyboard is read
    // while the toolkit starts.
    std::vector<std::string_view> arguments(argv + 1, argv + argc);
    keyloom::shell::CKeyloomApp app;
    if (const std::optional<int> code = app.prepare(arguments))
        return *code;
    // Loading the font configuration is the first text's largest cost: it
    // is loaded beside the toolkit's start, behind the keyboard's read, which
    // it would otherwise hold up on a busy machine; the read mostly waits,
    // so the fonts lose little.
    std::jthread fonts([] {
        keyloom::platform::yieldToOtherThreads();
        FcInit();
    });
    // The skin windows' sizes decide the scale the program is drawn at.
    std::vector<std::string> skinFiles;
    if (keyloom::AppPaths paths; keyloom::buildAppPaths({}, paths) == keyloom::AppPathsStatus::Ok)
        skinFiles = {paths.mainSkinFile, paths.compositeSkinFile, paths.profileSkinFile,
                     paths.updateSkinFile};
    keyloom::shell::FittedApplication application(argc, argv, skinFiles);
    fonts.join();
    keyloom::shell::applyDarkLook();
    // Docks and taskbars match the window to keyloom.desktop by this name.
    QGuiApplication::setDesktopFileName(QStringLiteral("keyloom"));
    return app.run();
}
