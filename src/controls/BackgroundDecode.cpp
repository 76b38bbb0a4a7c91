#include "controls/BackgroundDecode.h"

#include <sys/mman.h>
#include <unistd.h>

#include <QImageReader>
#include <QString>
#include <cstdint>

namespace keyloom::controls {

QImage decodePicture(const QString& path) {
    QImageReader reader(path);
    QImage picture;
    // A window-sized picture decoded into fresh memory spends about a third
    // of its time taking that memory's page faults one at a time: the
    // picture's memory is made at its size and format and faulted in at
    // once, and the reader decodes into it. The size comes from the file, so
    // only a picture of a skin's size is made ahead; any other is left to
    // the reader and its allocation limit.
    const QSize size = reader.size();
    const QImage::Format format = reader.imageFormat();
    constexpr qint64 kMadeAheadBytes = 64 * 1024 * 1024;
    if (size.isValid() && format != QImage::Format_Invalid &&
        qint64{size.width()} * size.height() * 4 <= kMadeAheadBytes)
        picture = QImage(size, format);
    if (!picture.isNull()) {
        const auto page = static_cast<std::uintptr_t>(::sysconf(_SC_PAGESIZE));
        const auto first = reinterpret_cast<std::uintptr_t>(picture.bits());
        const std::uintptr_t begin = (first + page - 1) & ~(page - 1);
        const std::uintptr_t end =
            (first + static_cast<std::uintptr_t>(picture.sizeInBytes())) & ~(page - 1);
        // An older kernel refuses the advice: the faults come one at a time.
        if (end > begin)
            static_cast<void>(
                ::madvise(reinterpret_cast<void*>(begin), end - begin, MADV_POPULATE_WRITE));
    }
    if (!reader.read(&picture))
        return {};
    return picture;
}

std::future<QImage> decodeInBackground(const std::string& path, DecodePriority priority) {
    const auto decode = [path] { return decodePicture(QString::fromStdString(path)); };
    return priority == DecodePriority::Own ? runBeside(decode) : runInBackground(decode);
}

}  // namespace keyloom::controls
