#include "controls/BackgroundDecode.h"

#include <sys/resource.h>
#include <unistd.h>

#include <QString>

namespace keyloom::controls {

void yieldToOtherThreads() {
    // On Linux the nice value belongs to each thread, named by its id.
    static_cast<void>(::setpriority(PRIO_PROCESS, static_cast<id_t>(::gettid()), 10));
}

std::future<QImage> decodeInBackground(const std::string& path) {
    return runInBackground([path] { return QImage(QString::fromStdString(path)); });
}

std::future<QImage> decodeBeside(const std::string& path) {
    return runBeside([path] { return QImage(QString::fromStdString(path)); });
}

}  // namespace keyloom::controls
