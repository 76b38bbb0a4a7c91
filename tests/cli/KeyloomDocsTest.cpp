// What users read agrees with the program: keyloomctl --help lists its
// commands in a readable column, the help page, the README and the manual
// page name every one of them, and the no-keyboard message says how to go on.

#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <regex>
#include <sstream>
#include <string>
#include <string_view>
#include <vector>

#include "cli/CliRunner.h"
#include "storage/Language.h"
#include "support/TempDir.h"

namespace keyloom::testing {
namespace {

const std::string kSource = KEYLOOM_SOURCE_DIR;

std::string readFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::stringstream buffer;
    buffer << in.rdbuf();
    return buffer.str();
}

struct ListedCommand {
    std::string name;
    std::size_t gap = 0;            // blanks between the name and its summary
    std::size_t summaryColumn = 0;  // where the summary starts
};

// The lines after "Commands:" in keyloomctl --help, up to the blank line.
std::vector<ListedCommand> listedCommands() {
    TempDir dir;
    const CliRun help = runKeyloomctl({"--help"}, dir.path());
    EXPECT_EQ(help.exitCode, 0);
    std::vector<ListedCommand> commands;
    std::istringstream in(help.out);
    std::string line;
    bool inList = false;
    const std::regex commandLine("  ([a-z][a-z-]*)( +)\\S.*");
    while (std::getline(in, line)) {
        if (!inList) {
            inList = line == "Commands:";
            continue;
        }
        if (line.empty())
            break;
        std::smatch match;
        if (!std::regex_match(line, match, commandLine)) {
            ADD_FAILURE() << "not a command line: '" << line << "'";
            continue;
        }
        commands.push_back({match[1].str(), static_cast<std::size_t>(match[2].length()),
                            static_cast<std::size_t>(match.position(2) + match[2].length())});
    }
    EXPECT_FALSE(commands.empty()) << help.out;
    return commands;
}

TEST(KeyloomDocs, HelpListsEachCommandApartFromItsSummaryInOneColumn) {
    TempDir dir;
    const std::vector<ListedCommand> commands = listedCommands();
    for (const ListedCommand& command : commands) {
        EXPECT_GE(command.gap, 2u) << command.name;
        EXPECT_EQ(command.summaryColumn, commands.front().summaryColumn) << command.name;
        // A name run into its summary would not be a command.
        EXPECT_EQ(runKeyloomctl({command.name, "--help"}, dir.path()).exitCode, 0) << command.name;
    }
}

TEST(KeyloomDocs, HelpPageReadmeAndManualPageNameEveryCommand) {
    TempDir dir;
    const std::string manPage = dir.path() + "/keyloomctl.1";
    const std::string make = "sh '" + kSource + "/packaging/man/manpage.sh' '" +
                             std::string(KEYLOOM_BUILD_DIR) + "/bin/keyloomctl' keyloomctl 0 " +
                             "summary '" + manPage + "'";
    ASSERT_EQ(std::system(make.c_str()), 0) << make;

    const std::string helpPage = readFile(kSource + "/skin/Help/index.html");
    const std::size_t from = helpPage.find("<section id=\"keyloomctl\">");
    const std::size_t to = helpPage.find("id=\"assign-actions\"", from);
    ASSERT_NE(to, std::string::npos) << "the help page's keyloomctl commands table";

    struct Document {
        const char* name;
        std::string text;
        std::string before;  // what stands before a command's name
        const char* after;   // the characters that may follow it
    };
    const Document documents[] = {
        {"help page", helpPage.substr(from, to - from), "<td><code>", " <"},
        {"README", readFile(kSource + "/README.md"), "| `", " `"},
        {"manual page", readFile(manPage), ".SS ", "\n"},
    };
    for (const ListedCommand& command : listedCommands())
        for (const Document& document : documents) {
            bool found = false;
            const std::string start = document.before + command.name;
            for (std::size_t at = document.text.find(start); at != std::string::npos && !found;
                 at = document.text.find(start, at + 1)) {
                const std::size_t next = at + start.size();
                found = next < document.text.size() &&
                        std::string_view(document.after).find(document.text[next]) !=
                            std::string_view::npos;
            }
            EXPECT_TRUE(found) << document.name << " lacks " << command.name;
        }
}

TEST(KeyloomDocs, NoKeyboardMessageNamesDoctorAndTheSimulatedKeyboardInEveryLanguage) {
    for (std::uint16_t language : {0x0409, 0x0407, 0x0804}) {
        const LanguageFiles files(kSource + "/skin/", nullptr, language);
        const std::string text = files.lookupText("MAIN_NO_DEVICE_PROMPT");
        EXPECT_NE(text.find("keyloomctl doctor"), std::string::npos) << language;
        // Last in the text, so a text cut short by the reader loses it.
        const std::string simulate = "keyloom --simulate 0c45:652f";
        EXPECT_TRUE(text.size() > simulate.size() &&
                    text.compare(text.size() - simulate.size(), simulate.size(), simulate) == 0)
            << language << ": " << text;
    }
}

}  // namespace
}  // namespace keyloom::testing
