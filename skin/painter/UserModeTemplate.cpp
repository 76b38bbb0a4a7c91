#include "UserModeTemplate.h"

#include <QColor>
#include <QString>
#include <functional>
#include <set>
#include <vector>

#include "storage/SkinGeometry.h"

namespace keyloom::painter {
namespace {

// Where each key's colour lives in the keyboard's key colour area, by scan
// code (0x1NN for extended keys). Keys without a colour position are left
// out; Fn is added separately.
struct ColourPosition {
    unsigned scanCode;
    int index;
};

constexpr ColourPosition kColourPositions[] = {
    {0x001, 18},  {0x002, 19},  {0x003, 20},  {0x004, 21},  {0x005, 22},  {0x006, 23},
    {0x007, 24},  {0x008, 25},  {0x009, 26},  {0x00A, 27},  {0x00B, 28},  {0x00C, 29},
    {0x00D, 30},  {0x00E, 98},  {0x00F, 35},  {0x010, 36},  {0x011, 37},  {0x012, 38},
    {0x013, 39},  {0x014, 40},  {0x015, 41},  {0x016, 42},  {0x017, 43},  {0x018, 44},
    {0x019, 45},  {0x01A, 46},  {0x01B, 47},  {0x01C, 81},  {0x01D, 86},  {0x01E, 53},
    {0x01F, 54},  {0x020, 55},  {0x021, 56},  {0x022, 57},  {0x023, 58},  {0x024, 59},
    {0x025, 60},  {0x026, 61},  {0x027, 62},  {0x028, 63},  {0x02A, 69},  {0x02B, 48},
    {0x02C, 70},  {0x02D, 71},  {0x02E, 72},  {0x02F, 73},  {0x030, 74},  {0x031, 75},
    {0x032, 76},  {0x033, 77},  {0x034, 78},  {0x035, 79},  {0x036, 80},  {0x037, 33},
    {0x038, 88},  {0x039, 89},  {0x03A, 52},  {0x03B, 2},   {0x03C, 3},   {0x03D, 4},
    {0x03E, 5},   {0x03F, 6},   {0x040, 7},   {0x041, 8},   {0x042, 9},   {0x043, 10},
    {0x044, 11},  {0x045, 108}, {0x046, 107}, {0x048, 49},  {0x049, 50},  {0x04A, 116},
    {0x04B, 65},  {0x04C, 66},  {0x04D, 67},  {0x04E, 117}, {0x04F, 82},  {0x050, 83},
    {0x051, 84},  {0x052, 99},  {0x053, 100}, {0x056, 105}, {0x057, 12},  {0x058, 13},
    {0x11C, 101}, {0x11D, 93},  {0x135, 32},  {0x138, 90},  {0x145, 31},  {0x147, 111},
    {0x148, 96},  {0x149, 112}, {0x14B, 94},  {0x14D, 97},  {0x14F, 114}, {0x150, 95},
    {0x151, 115}, {0x152, 110}, {0x153, 113}, {0x15B, 87},  {0x15C, 112}, {0x15D, 92},
};

constexpr int kFnColourIndex = 91;

struct PlacedKey {
    unsigned scanCode;  // 0 for Fn
    int index;
    double x;  // 0 at the board's left edge, 1 at its right
    double y;  // 0 at the top row, 1 at the bottom row
};

struct KeyPaint {
    QColor colour;
    bool inBaseGroup;
};

struct UserMode {
    const char* name;
    int tool;
    QColor baseColour;
    QColor singleColour;
    std::function<KeyPaint(const PlacedKey&)> paint;
};

bool isOneOf(unsigned code, std::initializer_list<unsigned> codes) {
    for (unsigned c : codes) {
        if (c == code) {
            return true;
        }
    }
    return false;
}

bool isLetter(unsigned code) {
    return (code >= 0x10 && code <= 0x19) || (code >= 0x1E && code <= 0x26) ||
           (code >= 0x2C && code <= 0x32);
}

QColor blend(const QColor& a, const QColor& b, double t) {
    return QColor::fromRgbF(a.redF() + (b.redF() - a.redF()) * t,
                            a.greenF() + (b.greenF() - a.greenF()) * t,
                            a.blueF() + (b.blueF() - a.blueF()) * t);
}

std::vector<UserMode> userModes() {
    const QColor white(255, 255, 255);
    const QColor orange(255, 130, 0);
    auto all = [](QColor c) { return [c](const PlacedKey&) { return KeyPaint{c, true}; }; };
    return {
        {"Ember", 1, orange, white, all(orange)},
        {"Glacier", 1, QColor(90, 200, 255), white, all(QColor(90, 200, 255))},
        {"Rainbow", 0, white, QColor(255, 0, 0),
         [](const PlacedKey& k) {
             return KeyPaint{QColor::fromHsvF(0.83 * k.x, 1.0, 1.0), false};
         }},
        {"Sunset", 0, white, orange,
         [](const PlacedKey& k) {
             return KeyPaint{blend(QColor(255, 180, 0), QColor(190, 0, 140), k.y), false};
         }},
        {"Arena", 0, QColor(30, 60, 255), QColor(255, 40, 40),
         [](const PlacedKey& k) {
             // Movement keys stand out from a calm base.
             if (isOneOf(k.scanCode, {0x11, 0x1E, 0x1F, 0x20, 0x148, 0x14B, 0x150, 0x14D, 0x39})) {
                 return KeyPaint{QColor(255, 40, 40), false};
             }
             return KeyPaint{QColor(30, 60, 255), true};
         }},
        {"Typist", 0, white, orange,
         [=](const PlacedKey& k) {
             return isLetter(k.scanCode) ? KeyPaint{white, true} : KeyPaint{orange, false};
         }},
        {"Forest", 1, QColor(40, 200, 80), QColor(180, 255, 60),
         [](const PlacedKey& k) {
             const bool accent = k.y < 0.1 || k.x > 0.8;
             return accent ? KeyPaint{QColor(180, 255, 60), false}
                           : KeyPaint{QColor(40, 200, 80), true};
         }},
        {"Ocean", 0, white, QColor(0, 220, 200),
         [](const PlacedKey& k) {
             return KeyPaint{blend(QColor(0, 220, 200), QColor(20, 60, 255), k.x), false};
         }},
        {"Studio", 1, white, orange, all(white)},
        // All dark: a blank canvas to paint on.
        {"Canvas", 1, QColor(0, 0, 0), orange, all(QColor(0, 0, 0))},
    };
}

std::vector<PlacedKey> placedKeys(const SkinLayout& layout) {
    struct Found {
        unsigned scanCode;
        int index;
        QRect rect;
    };
    std::vector<Found> found;
    std::set<int> used;
    auto add = [&](unsigned code, int index, const std::string& key) {
        // The first key claims a shared colour position.
        if (!used.insert(index).second) {
            return;
        }
        if (const auto rect = layout.controlArt(key.c_str())) {
            found.push_back({code, index, *rect});
        }
    };
    for (const ColourPosition& position : kColourPositions) {
        add(position.scanCode, position.index, keyButtonSkinKey(position.scanCode));
    }
    add(0, kFnColourIndex, "KEY_FN");

    QRect board;
    for (const Found& key : found) {
        board = board.united(key.rect);
    }
    std::vector<PlacedKey> keys;
    for (const Found& key : found) {
        const QPointF c = QRectF(key.rect).center();
        keys.push_back({key.scanCode, key.index, (c.x() - board.left()) / board.width(),
                        (c.y() - board.top()) / board.height()});
    }
    return keys;
}

QString rgb(const QColor& c) {
    return QString("%1,%2,%3").arg(c.red()).arg(c.green()).arg(c.blue());
}

}  // namespace

QByteArray userModeTemplate(const SkinLayout& layout) {
    const std::vector<UserMode> modes = userModes();
    const std::vector<PlacedKey> keys = placedKeys(layout);
    QString text;
    text += "; Ready-made per-key lighting modes, copied for each profile on first run.\n";
    text += "[PRESENTMODE]\nmode=0\n\n[MODENAME]\n";
    for (std::size_t m = 0; m < modes.size(); ++m) {
        text += QString("%1=%2\n").arg(m).arg(modes[m].name);
    }
    for (std::size_t m = 0; m < modes.size(); ++m) {
        const UserMode& mode = modes[m];
        text += QString("\n[Mode%1]\ntool=%2\njcolor=%3\ncolor=%4\n")
                    .arg(m)
                    .arg(mode.tool)
                    .arg(rgb(mode.baseColour), rgb(mode.singleColour));
        for (const PlacedKey& key : keys) {
            const KeyPaint paint = mode.paint(key);
            text += QString("%1=%2,%3\n")
                        .arg(key.index)
                        .arg(rgb(paint.colour))
                        .arg(paint.inBaseGroup ? 1 : 0);
        }
    }
    return text.toUtf8();
}

}  // namespace keyloom::painter
