#pragma once
// Full-window test pictures whose every pixel tells where it came from, and
// a check that a control shows exactly the expected part of one.

#include <QImage>
#include <QPixmap>
#include <QPoint>
#include <string>

namespace keyloom::testing {

// A picture in which no two pixels are alike, and which differs in every
// pixel from the pictures of the other seeds.
QImage patternPicture(int width, int height, int seed);

// Whether `shown` (a grab of a control) equals the rectangle of `picture`
// starting at `topLeft` of the same size. On a mismatch `why` says where.
bool showsPart(const QImage& shown, const QImage& picture, QPoint topLeft, std::string* why);

}  // namespace keyloom::testing
