#include "Fonts.h"

#include <QFontDatabase>
#include <QStringList>

namespace keyloom::painter {
namespace {

QString& loadedFamily() {
    static QString family;
    return family;
}

}  // namespace

bool loadFonts(const QString& fontFolder) {
    QString family;
    for (const char* file : {"DejaVuSans.ttf", "DejaVuSans-Bold.ttf"}) {
        const int id = QFontDatabase::addApplicationFont(fontFolder + "/" + file);
        if (id < 0) {
            return false;
        }
        const QStringList families = QFontDatabase::applicationFontFamilies(id);
        if (families.isEmpty()) {
            return false;
        }
        family = families.front();
    }
    loadedFamily() = family;
    return true;
}

QFont skinFont(int pixelSize, bool bold) {
    QFont font(loadedFamily());
    font.setPixelSize(pixelSize);
    font.setBold(bold);
    // Vertical hinting keeps small legends crisp without depending on the
    // machine's font settings.
    font.setHintingPreference(QFont::PreferVerticalHinting);
    font.setStyleStrategy(QFont::PreferAntialias);
    return font;
}

}  // namespace keyloom::painter
