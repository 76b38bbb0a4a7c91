// A picture decoded into memory made ahead at its size is the picture the
// toolkit reads from the file, whatever its format; an unreadable file gives
// a null picture.

#include <gtest/gtest.h>

#include <QFile>
#include <QImage>

#include "controls/BackgroundDecode.h"
#include "support/TempDir.h"

namespace keyloom::testing {
namespace {

TEST(PictureDecodeTest, GivesThePictureTheFileHolds) {
    TempDir dir;
    const std::pair<const char*, QImage::Format> cases[] = {{"colour.jpg", QImage::Format_RGB32},
                                                            {"grey.jpg", QImage::Format_Grayscale8},
                                                            {"alpha.png", QImage::Format_ARGB32},
                                                            {"opaque.png", QImage::Format_RGB32}};
    for (const auto& [file, format] : cases) {
        QImage picture(61, 37, format);
        for (int y = 0; y < picture.height(); ++y)
            for (int x = 0; x < picture.width(); ++x)
                picture.setPixel(x, y, qRgba((x * 7) & 0xFF, (y * 11) & 0xFF, 90, (x + y) & 0xFF));
        const QString path = QString::fromStdString(dir.file(file));
        ASSERT_TRUE(picture.save(path)) << file;
        const QImage read = controls::decodePicture(path);
        EXPECT_FALSE(read.isNull()) << file;
        EXPECT_EQ(read, QImage(path)) << file;
    }
    QFile broken(QString::fromStdString(dir.file("broken.jpg")));
    ASSERT_TRUE(broken.open(QIODevice::WriteOnly) && broken.write("\xff\xd8\xff\xe0 not") > 0);
    broken.close();
    EXPECT_TRUE(controls::decodePicture(broken.fileName()).isNull());
    EXPECT_TRUE(controls::decodePicture(QString::fromStdString(dir.file("missing.jpg"))).isNull());
}

}  // namespace
}  // namespace keyloom::testing
