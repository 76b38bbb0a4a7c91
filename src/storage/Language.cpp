#include "storage/Language.h"

#include <cstdio>
#include <mutex>
#include <utility>

#include "platform/ini/Ini.h"
#include "platform/ini/IniCache.h"
#include "storage/LanguageTables.h"
#include "storage/SettingsKey.h"

namespace keyloom {

LanguageFiles::LanguageFiles(std::string programFolder,
                             std::shared_ptr<registry::Registry> registry,
                             std::uint16_t systemLanguageId)
    : programFolder_(std::move(programFolder)),
      registry_(std::move(registry)),
      systemLanguageId_(systemLanguageId) {
    for (int index = 0; index < 3; ++index) {
        char name[32];
        std::snprintf(name, sizeof name, "Lang%04X.ini", languageIdOfIndex(index));
        languageFiles_[static_cast<std::size_t>(index)] = programFolder_ + name;
    }
}

int LanguageFiles::currentLanguageIndex() const {
    std::uint32_t stored = 0;
    if (registry_) {
        registry::ValueState state =
            registry_->readDword(kSettingsKeyPath, kLanguageIdValue, stored);
        // Missing or not a DWORD counts as 0; the resolved id is stored below.
        if (state != registry::ValueState::Present)
            stored = 0;
    }
    if (stored == 0) {
        std::uint16_t id = foldRegionalLanguage(systemLanguageId_);
        if (indexOfLanguage(id) < 0)
            id = kFallbackLanguage;
        stored = id;
        if (registry_)
            registry_->writeDword(kSettingsKeyPath, kLanguageIdValue, stored);
    }
    const int index = stored <= 0xFFFF ? indexOfLanguage(static_cast<std::uint16_t>(stored)) : -1;
    return index < 0 ? 0 : index;
}

std::string LanguageFiles::languageFilePath(int languageIndex) const {
    if (languageIndex < 0 || languageIndex > 2)
        languageIndex = 0;
    return languageFiles_[static_cast<std::size_t>(languageIndex)];
}

void LanguageFiles::loadCurrentLanguage() const {
    static_cast<void>(ini::loadFile(languageFilePath(currentLanguageIndex())));
}

std::string LanguageFiles::lookup(std::string_view section, std::string_view key,
                                  int languageIndex) const {
    if (languageIndex < 0 || languageIndex > 2)
        languageIndex = 0;
    return ini::readString(languageFiles_[static_cast<std::size_t>(languageIndex)], section, key,
                           kMissingText);
}

std::string LanguageFiles::lookupText(std::string_view key, int languageIndex) const {
    return lookup("TEXT", key, languageIndex);
}

std::string LanguageFiles::lookupLight(std::string_view key, int languageIndex) const {
    return lookup("LIGHT", key, languageIndex);
}

std::string LanguageFiles::lookupMode(std::string_view key, int languageIndex) const {
    return lookup("MODE", key, languageIndex);
}

std::string LanguageFiles::lookupText(std::string_view key) const {
    return lookupText(key, currentLanguageIndex());
}

std::string LanguageFiles::lookupLight(std::string_view key) const {
    return lookupLight(key, currentLanguageIndex());
}

std::string LanguageFiles::lookupMode(std::string_view key) const {
    return lookupMode(key, currentLanguageIndex());
}

namespace {

struct Installed {
    std::mutex mutex;
    std::shared_ptr<const LanguageFiles> files;
};

Installed& installed() {
    static Installed instance;
    return instance;
}

// The innermost ThreadLanguageFiles living on this thread. A plain pointer:
// a thread-local with a destructor is registered, at its first use on each
// thread, under the dynamic loader's lock, and so waits for any library the
// window thread is loading (the keyboard's first read did, by milliseconds).
thread_local const ThreadLanguageFiles* threadFiles = nullptr;

}  // namespace

void installLanguageFiles(std::shared_ptr<const LanguageFiles> files) {
    std::lock_guard lock(installed().mutex);
    installed().files = std::move(files);
}

ThreadLanguageFiles::ThreadLanguageFiles(std::shared_ptr<const LanguageFiles> files)
    : files_(std::move(files)), previous_(std::exchange(threadFiles, this)) {}

ThreadLanguageFiles::~ThreadLanguageFiles() {
    threadFiles = previous_;
}

std::shared_ptr<const LanguageFiles> installedLanguageFiles() {
    if (threadFiles && threadFiles->files_)
        return threadFiles->files_;
    std::lock_guard lock(installed().mutex);
    return installed().files;
}

std::string lookupText(std::string_view key) {
    auto files = installedLanguageFiles();
    return files ? files->lookupText(key) : std::string(kMissingText);
}

std::string lookupLight(std::string_view key) {
    auto files = installedLanguageFiles();
    return files ? files->lookupLight(key) : std::string(kMissingText);
}

std::string lookupMode(std::string_view key) {
    auto files = installedLanguageFiles();
    return files ? files->lookupMode(key) : std::string(kMissingText);
}

std::string lookupText(std::string_view key, int languageIndex) {
    auto files = installedLanguageFiles();
    return files ? files->lookupText(key, languageIndex) : std::string(kMissingText);
}

std::string lookupLight(std::string_view key, int languageIndex) {
    auto files = installedLanguageFiles();
    return files ? files->lookupLight(key, languageIndex) : std::string(kMissingText);
}

std::string lookupMode(std::string_view key, int languageIndex) {
    auto files = installedLanguageFiles();
    return files ? files->lookupMode(key, languageIndex) : std::string(kMissingText);
}

int currentLanguageIndex() {
    auto files = installedLanguageFiles();
    return files ? files->currentLanguageIndex() : 0;
}

}  // namespace keyloom
