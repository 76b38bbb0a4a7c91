#pragma once
// The system's default language as a Windows language id, taken from the
// locale that governs messages: LC_ALL, else LC_MESSAGES, else LANG (the first
// one set and not empty). "ll_CC.codeset@modifier" names are understood
// ("-" works as well as "_"); a language known without its region gives that
// language's main id; "C", "POSIX" and unknown languages give 0x0409.

#include <cstdint>
#include <string>
#include <string_view>

namespace keyloom {

std::uint16_t languageIdOfLocale(std::string_view locale);

// The governing locale name from the three variables' values (null = unset).
std::string messagesLocale(const char* lcAll, const char* lcMessages, const char* lang);

// languageIdOfLocale of this process's governing locale.
std::uint16_t systemLanguageId();

}  // namespace keyloom
