#include "controls/PathWrap.h"

namespace keyloom::controls {

namespace {

constexpr QChar kBreakHere(0x200B);  // zero width space: a break may go here
constexpr QChar kNoBreak(0x2060);    // word joiner: never a break here

bool startsPath(const QString& text, qsizetype at) {
    if (at > 0 && !text[at - 1].isSpace() && text[at - 1] != u'(' && text[at - 1] != u'"')
        return false;
    return text[at] == u'/' || (text[at] == u'~' && at + 1 < text.size() && text[at + 1] == u'/');
}

}  // namespace

QString withPathBreaks(const QString& text) {
    QString out;
    out.reserve(text.size() + text.size() / 4);
    bool inPath = false;
    bool firstSlash = false;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text[i];
        if (c.isSpace()) {
            inPath = false;
        } else if (!inPath && startsPath(text, i)) {
            inPath = true;
            firstSlash = true;
        }
        if (inPath && c == u'/') {
            // Breaks go before the inner slashes; the first one keeps to what
            // precedes it ("~", or a space, which offers a break anyway).
            if (!firstSlash)
                out += kBreakHere;
            firstSlash = false;
            out += c;
            out += kNoBreak;
            continue;
        }
        out += c;
        // A hyphen in a file name is no place to break either.
        if (inPath && c == u'-')
            out += kNoBreak;
    }
    return out;
}

QString withoutPathBreaks(const QString& text) {
    QString out = text;
    out.remove(kBreakHere);
    out.remove(kNoBreak);
    return out;
}

}  // namespace keyloom::controls
