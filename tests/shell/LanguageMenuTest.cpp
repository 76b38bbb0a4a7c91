// The language choice of the ≡ menu: each language is stored as the
// registry's language id and the window's words follow at once.

#include <QAction>

#include "ShellFixture.h"
#include "shell/LanguageMenu.h"
#include "shell/MainControls.h"
#include "storage/LanguageTables.h"

namespace keyloom::testing {
namespace {

namespace id = shell::control;

class LanguageMenuTest : public ShellFixture {
protected:
    std::uint32_t stored() {
        std::uint32_t value = 0xFFFF;
        registry->readDword(kSettingsKeyPath, kLanguageIdValue, value);
        return value;
    }
    QAction* item(std::uint32_t languageId) {
        for (QAction* a : dialog->languageMenu()->menu().actions())
            if (a->data().toUInt() == languageId)
                return a;
        ADD_FAILURE() << "no item for " << languageId;
        return nullptr;
    }
};

TEST_F(LanguageMenuTest, EachChoiceIsStoredAndTheWindowSpeaksIt) {
    openWindow();
    dialog->buttonMenu();
    ASSERT_NE(dialog->languageMenu(), nullptr);
    const struct {
        std::uint32_t id;
        const char* cancel;
        const char* macros;
    } cases[] = {
        {0x0407, "Abbrechen", "Makros"},
        {0x0804, "取消", "宏"},
        {0x0409, "Cancel", "Macros"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.id);
        item(c.id)->trigger();
        EXPECT_EQ(stored(), c.id);
        EXPECT_EQ(button(id::kCancel).text().toStdString(), c.cancel);
        EXPECT_EQ(button(id::kMacro).text().toStdString(), c.macros);
        dialog->languageMenu()->refresh();
        EXPECT_TRUE(item(c.id)->isChecked());
    }
    // The desktop's language: the lookups resolve 0 to the desktop's id and
    // keep that, as at a first start.
    item(0x0407)->trigger();
    item(0)->trigger();
    std::uint16_t desktop = foldRegionalLanguage(systemLanguageId());
    if (indexOfLanguage(desktop) < 0)
        desktop = kFallbackLanguage;
    EXPECT_EQ(stored(), desktop);
    EXPECT_EQ(button(id::kCancel).text().toStdString(),
              lookupText("KEYLOOM_CANCEL", indexOfLanguage(desktop)));
}

}  // namespace
}  // namespace keyloom::testing
