#include "controls/BackgroundDecode.h"

#include <sys/resource.h>
#include <unistd.h>

#include <QString>

namespace keyloom::controls {

void yieldToOtherThreads() {
    // On Linux the nice value belongs to each thread, named by its id.
    static_cast<void>(::setpriority(PRIO_PROCESS, static_cast<id_t>(::gettid()), 10));
}

std::future<QImage> decodeInBackground(const std::string& path, DecodePriority priority) {
    const auto decode = [path] { return QImage(QString::fromStdString(path)); };
    return priority == DecodePriority::Own ? runBeside(decode) : runInBackground(decode);
}

}  // namespace keyloom::controls
