#include "storage/AppPaths.h"

#include <initializer_list>
#include <vector>

#include "platform/fs/FileIo.h"
#include "platform/paths/PathRules.h"
#include "platform/paths/ProgramFolder.h"

namespace keyloom {

namespace {

constexpr const char* kDataFolderName = "ORVK_Keyboard";

std::string withSlash(std::string folder) {
    if (folder.empty() || folder.back() != '/')
        folder += '/';
    return folder;
}

// Paths built later from the fields, so that they too are known to fit.
std::vector<std::string> derivedPaths(const AppPaths& p) {
    return {p.programFolder + "Lang0409.ini",     p.helpFolder + "index.html",
            p.userModeTemplatePrefix + "3.userd", p.userModeFilePrefix + "0.userd",
            p.dataFolder + "/$Profile0",          p.registryFile + ".damaged-999"};
}

bool allFit(const AppPaths& p) {
    for (const std::string* field :
         {&p.programFileName, &p.executableFolder, &p.programFolder, &p.helpFolder, &p.skinFolder,
          &p.mainSkinFile, &p.compositeSkinFile, &p.profileSkinFile, &p.updateSkinFile,
          &p.userModeTemplatePrefix, &p.firmwarePackageFolder, &p.companionProgram, &p.dataFolder,
          &p.settingsFile, &p.userModeFilePrefix, &p.registryFile}) {
        if (!paths::fitsPathLimit(*field))
            return false;
    }
    for (const std::string& path : derivedPaths(p)) {
        if (!paths::fitsPathLimit(path))
            return false;
    }
    return true;
}

}  // namespace

AppPathsStatus buildAppPaths(const AppPathsOptions& options, AppPaths& out) {
    std::string executable =
        options.executablePath.empty() ? paths::executablePath() : options.executablePath;
    // The link reads "... (deleted)" once the binary was replaced on disk.
    const std::string deleted = " (deleted)";
    if (executable.size() > deleted.size() &&
        executable.compare(executable.size() - deleted.size(), deleted.size(), deleted) == 0) {
        executable.resize(executable.size() - deleted.size());
    }
    if (executable.empty() || executable.find('/') == std::string::npos) {
        return AppPathsStatus::NoExecutable;
    }
    if (!paths::fitsPathLimit(executable))
        return AppPathsStatus::PathTooLong;

    AppPaths p;
    p.programFileName = paths::fileNameOf(executable);
    std::string exeFolder = paths::normalizeFolder(paths::parentFolder(executable));
    if (exeFolder.empty())
        return AppPathsStatus::NoExecutable;
    p.executableFolder = withSlash(exeFolder);
    p.programFolder = options.programFolder.empty()
                          ? paths::programFolderFor(exeFolder)
                          : withSlash(paths::normalizeFolder(options.programFolder));
    p.helpFolder = p.programFolder + "Help/";
    p.skinFolder = p.programFolder + "Skins/";
    p.mainSkinFile = p.skinFolder + "Main.ini";
    p.compositeSkinFile = p.skinFolder + "Composite.ini";
    p.profileSkinFile = p.skinFolder + "Profile.ini";
    p.updateSkinFile = p.skinFolder + "UpdateDlg.ini";
    p.userModeTemplatePrefix = p.skinFolder + "UserDengColor_";
    p.firmwarePackageFolder = p.programFolder + "Package/";
    p.companionProgram = p.executableFolder + "KbDaemon";

    paths::UserEnvironment env =
        options.environment ? *options.environment : paths::processEnvironment();
    if (!options.dataFolder.empty()) {
        p.dataFolder = paths::normalizeFolder(options.dataFolder);
    } else {
        std::string base = paths::dataHome(env);
        if (base.empty())
            return AppPathsStatus::NoHomeFolder;
        p.dataFolder = (base == "/" ? "" : base) + "/" + kDataFolderName;
    }
    p.settingsFile = p.dataFolder + "/tzkb.ini";
    p.userModeFilePrefix = p.dataFolder + "/UserDengColor_";

    if (!options.registryFile.empty()) {
        p.registryFile = options.registryFile;
    } else {
        std::string base = paths::configHome(env);
        if (base.empty())
            return AppPathsStatus::NoHomeFolder;
        p.registryFile = (base == "/" ? "" : base) + "/" + kDataFolderName + "/registry.ini";
    }

    if (!allFit(p))
        return AppPathsStatus::PathTooLong;
    out = std::move(p);
    return AppPathsStatus::Ok;
}

const char* describeAppPathsStatus(AppPathsStatus status) {
    switch (status) {
        case AppPathsStatus::Ok:
            return "ok";
        case AppPathsStatus::NoExecutable:
            return "cannot determine the program's own location (/proc/self/exe)";
        case AppPathsStatus::NoHomeFolder:
            return "no home folder: set HOME, XDG_DATA_HOME and XDG_CONFIG_HOME";
        case AppPathsStatus::PathTooLong:
            return "a folder path is too long for this system (at most 4095 bytes)";
    }
    return "unknown";
}

bool prepareDataFolder(const AppPaths& p) {
    if (paths::isDirectory(p.dataFolder))
        return true;
    if (!fs::makeDirectories(p.dataFolder))
        return false;
    std::vector<std::uint8_t> bytes;
    if (fs::readFile(p.userModeTemplatePrefix + "3.userd", bytes)) {
        for (int i = 0; i < 3; ++i) {
            fs::writeFileAtomically(p.userModeFilePrefix + std::to_string(i) + ".userd", bytes);
        }
    }
    return true;
}

}  // namespace keyloom
