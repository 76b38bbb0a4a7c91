#include "platform/instance/NamedEvents.h"

#include <fcntl.h>
#include <semaphore.h>

#include <cstdio>
#include <utility>

namespace keyloom::instance {

std::string namedEventName(std::string_view prefix, int number) {
    char digits[16];
    std::snprintf(digits, sizeof digits, "%02d", number);
    std::string name(prefix);
    name += "Main_";
    name += digits;
    return name;
}

NamedEvents NamedEvents::create(std::string_view prefix) {
    NamedEvents events;
    events.events_.reserve(kNamedEventCount);
    for (int number = 1; number <= kNamedEventCount; ++number) {
        std::string name = "/" + namedEventName(prefix, number);
        sem_t* handle = ::sem_open(name.c_str(), O_CREAT, 0600, 0);
        if (handle == SEM_FAILED)
            continue;
        // The name keeps the event alive for other programs; holding it open
        // here would only keep a mapped page per event.
        ::sem_close(handle);
        events.events_.push_back(std::move(name));
    }
    return events;
}

NamedEvents::~NamedEvents() {
    close();
}

NamedEvents& NamedEvents::operator=(NamedEvents&& other) noexcept {
    if (this != &other) {
        close();
        events_ = std::move(other.events_);
        other.events_.clear();
    }
    return *this;
}

void NamedEvents::close() {
    for (const std::string& name : events_)
        ::sem_unlink(name.c_str());
    events_.clear();
}

}  // namespace keyloom::instance
