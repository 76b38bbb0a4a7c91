#pragma once
// How the editors' plain logic asks the user something or tells them: the
// dialog implements this with message boxes. The logic never holds a store
// lock while it calls these.

#include <cstdint>
#include <string_view>

namespace keyloom::editors {

struct EditorPrompts {
    virtual ~EditorPrompts() = default;
    // A Yes/No question with No preselected; true for Yes.
    virtual bool askYesNo(std::string_view languageKey) = 0;
    // A message whose language text is a format taking one integer.
    virtual void tell(std::string_view languageKey, std::int64_t value) = 0;
};

}  // namespace keyloom::editors
