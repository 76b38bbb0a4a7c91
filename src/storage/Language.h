#pragma once
// User-visible texts from the language file "Lang%04X.ini" in the program
// folder: section "TEXT" for captions, prompts and names, "LIGHT" for the
// lighting labels, "MODE" for effect names (key = effect number in decimal).
// A missing file, section or key gives "#Error"; a key with an empty value
// gives the empty text. Texts are UTF-8.
//
// Texts that take values are formats: fill them with text/SafeFormat.h, never
// with printf (the file is user-editable).
//
// Which file is used follows the language id stored in the registry
// ("dwLanguageId" in the settings key) and, when that is 0 or missing, the
// system's language: English (0x0409, Lang0409.ini), German (0x0407) or
// Simplified Chinese (0x0804), and English for any other id. The language index is fetched anew for
// each lookup, so a change of the stored id applies to every later text.

#include <array>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

#include "platform/registry/Registry.h"

namespace keyloom {

inline constexpr std::string_view kMissingText = "#Error";

class LanguageFiles {
public:
    // `programFolder` ends with '/'. Without a registry the language follows
    // the system language rules and nothing is stored.
    LanguageFiles(std::string programFolder, std::shared_ptr<registry::Registry> registry,
                  std::uint16_t systemLanguageId);

    // 0, 1 or 2 (the position of the resolved language id among the
    // supported ids; 0 for an id not among them). Stores the resolved id when none or 0 was stored,
    // and 0 over a value that is not a DWORD before resolving.
    int currentLanguageIndex() const;

    // Index above 2 (or below 0) counts as 0.
    std::string lookupText(std::string_view key, int languageIndex) const;
    std::string lookupLight(std::string_view key, int languageIndex) const;
    std::string lookupMode(std::string_view key, int languageIndex) const;

    // With the current language index.
    std::string lookupText(std::string_view key) const;
    std::string lookupLight(std::string_view key) const;
    std::string lookupMode(std::string_view key) const;

    std::string languageFilePath(int languageIndex) const;
    // Reads the current language's file now, so that the first lookup on
    // a thread that must not wait (the keyboard's read) finds it parsed.
    void loadCurrentLanguage() const;
    const std::string& programFolder() const { return programFolder_; }

private:
    std::string lookup(std::string_view section, std::string_view key, int languageIndex) const;

    std::string programFolder_;
    std::array<std::string, 3> languageFiles_;  // path per language index
    std::shared_ptr<registry::Registry> registry_;
    std::uint16_t systemLanguageId_;
};

// The process-wide language files that the free functions below use; set at
// start-up (and by tests). Until one is installed every lookup gives "#Error"
// and the language index is 0.
void installLanguageFiles(std::shared_ptr<const LanguageFiles> files);
// The calling thread's files while a ThreadLanguageFiles lives on it, else
// the installed ones.
std::shared_ptr<const LanguageFiles> installedLanguageFiles();

// Lookups on the constructing thread use `files` until it is destroyed (a
// command that reads and prints English names inside the window program).
class ThreadLanguageFiles {
public:
    explicit ThreadLanguageFiles(std::shared_ptr<const LanguageFiles> files);
    ~ThreadLanguageFiles();
    ThreadLanguageFiles(const ThreadLanguageFiles&) = delete;
    ThreadLanguageFiles& operator=(const ThreadLanguageFiles&) = delete;

private:
    friend std::shared_ptr<const LanguageFiles> installedLanguageFiles();
    std::shared_ptr<const LanguageFiles> files_;
    const ThreadLanguageFiles* previous_;
};

std::string lookupText(std::string_view key);
std::string lookupLight(std::string_view key);
std::string lookupMode(std::string_view key);
std::string lookupText(std::string_view key, int languageIndex);
std::string lookupLight(std::string_view key, int languageIndex);
std::string lookupMode(std::string_view key, int languageIndex);
int currentLanguageIndex();

}  // namespace keyloom
