// Paths in wrapped text break between folder names at every width, never
// right after a slash, and the text comes back whole without the hints.

#include <gtest/gtest.h>

#include <QFontDatabase>
#include <QTextLayout>

#include "controls/PathWrap.h"

namespace keyloom::testing {
namespace {

// The lines `text` is laid out in at `width` pixels, as a word-wrapped label does.
QStringList linesAt(const QString& text, int width) {
    QTextLayout layout(text, QFontDatabase::systemFont(QFontDatabase::GeneralFont));
    QTextOption option;
    option.setWrapMode(QTextOption::WordWrap);
    layout.setTextOption(option);
    layout.beginLayout();
    QStringList lines;
    for (QTextLine line = layout.createLine(); line.isValid(); line = layout.createLine()) {
        line.setLineWidth(width);
        lines << controls::withoutPathBreaks(text.mid(line.textStart(), line.textLength()));
    }
    layout.endLayout();
    return lines;
}

TEST(PathWrapTest, PathsBreakBeforeInnerSlashesOnly) {
    const QString messages[] = {
        QStringLiteral("Your settings were saved to "
                       "/home/someone/.local/share/ORVK_Keyboard/before-update-20261210.klm; "
                       "restore them from that file."),
        QStringLiteral("Saved to ~/.local/share/ORVK_Keyboard/profiles/gaming-profile.klm."),
    };
    for (const QString& message : messages) {
        EXPECT_EQ(controls::withoutPathBreaks(controls::withPathBreaks(message)), message);
        for (int width = 120; width <= 520; width += 40) {
            const QStringList lines = linesAt(controls::withPathBreaks(message), width);
            EXPECT_EQ(lines.join(QString()), message) << width;
            for (qsizetype i = 0; i + 1 < lines.size(); ++i) {
                EXPECT_FALSE(lines[i].endsWith(u'/')) << lines[i].toStdString() << " at " << width;
                // A line that ends inside the path leaves the next to start a folder.
                if (!lines[i].endsWith(u' ') && lines[i].contains(u'/')) {
                    EXPECT_TRUE(lines[i + 1].startsWith(u'/'))
                        << lines[i + 1].toStdString() << " at " << width;
                }
            }
        }
    }
}

}  // namespace
}  // namespace keyloom::testing
