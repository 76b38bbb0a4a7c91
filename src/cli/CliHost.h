#pragma once
// A running Keyloom whose core keyloomctl's commands act on instead of
// opening the keyboard themselves, so that one program owns the keyboard's
// state. The command runs as a job of that core's keyboard queue.

namespace keyloom {
class KeyloomCore;
namespace window {
class Prompter;
}
}  // namespace keyloom

namespace keyloom::cli {

class CliHost {
public:
    virtual ~CliHost() = default;
    virtual KeyloomCore& core() = 0;
    // While a command runs, the core's message boxes go to `prompts`
    // instead of the window; null gives them back to the window.
    virtual void routePrompts(window::Prompter* prompts) = 0;
    // True once the program is ending: a long command (watch) stops early.
    virtual bool ending() const { return false; }
};

}  // namespace keyloom::cli
