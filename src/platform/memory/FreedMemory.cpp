#include "platform/memory/FreedMemory.h"

#include <malloc.h>

namespace keyloom::platform {

void returnFreedMemory() {
#if defined(__GLIBC__)
    ::malloc_trim(0);
#endif
}

}  // namespace keyloom::platform
