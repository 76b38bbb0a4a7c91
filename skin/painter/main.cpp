// Draws every picture of the default skin from the geometry of the main skin
// file (and of the key assignment window's "Composite.ini" beside it). Run at
// build time:
//   keyloom_skin_painter SKIN_FILE OUTPUT_FOLDER FONT_FOLDER
// The same inputs always give the same pictures: the fonts come from
// FONT_FOLDER and nothing depends on the screen.

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QGuiApplication>
#include <QImageWriter>
#include <QString>
#include <cstdio>

#include "CompositePictures.h"
#include "Fonts.h"
#include "Icons.h"
#include "LightingPictures.h"
#include "MainPictures.h"
#include "ProfileDialogPictures.h"
#include "SkinLayout.h"
#include "SmallPictures.h"
#include "UpdateDialogPictures.h"
#include "UserModeTemplate.h"

namespace {

using namespace keyloom::painter;

constexpr int kDesktopIconSizes[] = {16, 22, 24, 32, 48, 64, 128, 256};

class PictureWriter {
public:
    explicit PictureWriter(QString folder) : folder_(std::move(folder)) {}

    void write(const QImage& image, const QString& name) {
        if (image.isNull()) {
            std::fprintf(stderr, "keyloom_skin_painter: nothing to draw for %s\n",
                         qPrintable(name));
            failed_ = true;
            return;
        }
        QImageWriter writer(folder_ + "/" + name);
        if (name.endsWith(".jpg")) {
            // High quality: the controls show slices of these pictures side by
            // side, so compression seams would show.
            writer.setQuality(95);
        }
        if (!writer.write(image)) {
            std::fprintf(stderr, "keyloom_skin_painter: cannot write %s: %s\n", qPrintable(name),
                         qPrintable(writer.errorString()));
            failed_ = true;
        }
    }

    void writeText(const QByteArray& text, const QString& name) {
        QFile file(folder_ + "/" + name);
        if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate) ||
            file.write(text) != text.size()) {
            std::fprintf(stderr, "keyloom_skin_painter: cannot write %s\n", qPrintable(name));
            failed_ = true;
        }
    }

    bool failed() const { return failed_; }

private:
    QString folder_;
    bool failed_ = false;
};

}  // namespace

int main(int argc, char** argv) {
    QGuiApplication application(argc, argv);
    if (argc != 4) {
        std::fprintf(stderr, "usage: keyloom_skin_painter SKIN_FILE OUTPUT_FOLDER FONT_FOLDER\n");
        return 2;
    }
    const SkinLayout layout(argv[1]);
    const QString output = QString::fromLocal8Bit(argv[2]);
    if (layout.windowSize().isEmpty()) {
        std::fprintf(stderr, "keyloom_skin_painter: %s has no [ARTWORK] WINDOW size\n", argv[1]);
        return 1;
    }
    if (!loadFonts(QString::fromLocal8Bit(argv[3]))) {
        std::fprintf(stderr, "keyloom_skin_painter: DejaVu Sans not found in %s\n", argv[3]);
        return 1;
    }
    if (!QDir().mkpath(output)) {
        std::fprintf(stderr, "keyloom_skin_painter: cannot create %s\n", argv[2]);
        return 1;
    }

    PictureWriter writer(output);
    writer.write(drawMainSheet(layout, Sheet::Normal), "main_normal.jpg");
    writer.write(drawMainSheet(layout, Sheet::Over), "main_over.jpg");
    writer.write(drawMainSheet(layout, Sheet::Down), "main_down.jpg");
    writer.write(drawMainSheet(layout, Sheet::Disable), "main_disable.jpg");
    writer.write(drawMainSheet(layout, Sheet::ToggleOff), "main_color0.jpg");
    writer.write(drawMainSheet(layout, Sheet::ToggleOn), "main_color1.jpg");
    writer.write(drawArrowSheet(layout), "Arrow.jpg");
    writer.write(drawWindowMask(layout), "main_mask.png");

    const std::vector<QImage> frames = drawBusyFrames(layout);
    for (std::size_t i = 0; i < frames.size(); ++i) {
        writer.write(frames[i], QString("jdt%1.bmp").arg(i + 1));
    }

    writer.write(drawProgramIcon(256), "keyloom.png");
    // The desktop's menu and window icons, one per size of its icon theme.
    for (int side : kDesktopIconSizes) {
        writer.write(drawProgramIcon(side), QString("icon_%1.png").arg(side));
    }
#ifdef KEYLOOM_PAINTER_SVG
    writer.writeText(drawProgramIconSvg(), "icon_scalable.svg");
#endif
    writer.write(drawTrayIcon(TrayState::NoKeyboard, 64), "tray_disconnected.png");
    writer.write(drawTrayIcon(TrayState::Connected, 64), "tray_connected.png");
    writer.write(drawTrayIcon(TrayState::Indicator, 64), "tray_indicator.png");

    for (const NamedPicture& picture : drawLightingPictures(layout)) {
        writer.write(picture.image, picture.name);
    }
    writer.writeText(userModeTemplate(layout), "UserDengColor_3.userd");

    // The dialogs' skin files lie beside the main one.
    const std::string skinFolder = QFileInfo(QString::fromLocal8Bit(argv[1])).path().toStdString();
    for (const NamedPicture& picture :
         drawProfileDialogPictures(SkinLayout(skinFolder + "/Profile.ini")))
        writer.write(picture.image, picture.name);
    for (const NamedPicture& picture :
         drawUpdateDialogPictures(SkinLayout(skinFolder + "/UpdateDlg.ini")))
        writer.write(picture.image, picture.name);
    const QString composite =
        QFileInfo(QString::fromLocal8Bit(argv[1])).dir().filePath("Composite.ini");
    if (QFileInfo::exists(composite)) {
        for (const NamedPicture& picture :
             drawCompositePictures(SkinLayout(composite.toStdString()))) {
            writer.write(picture.image, picture.name);
        }
    }
    return writer.failed() ? 1 : 0;
}
