#include "cli/BusClient.h"

#include <systemd/sd-bus.h>

#include <cstdint>
#include <memory>
#include <string_view>

#include "cli/BusNames.h"

namespace keyloom::cli {

namespace {

struct BusUnref {
    void operator()(sd_bus* bus) const { sd_bus_flush_close_unref(bus); }
};
struct MessageUnref {
    void operator()(sd_bus_message* message) const { sd_bus_message_unref(message); }
};
using Bus = std::unique_ptr<sd_bus, BusUnref>;
using Message = std::unique_ptr<sd_bus_message, MessageUnref>;

// Frees an sd_bus_error however the call ended.
struct ErrorHolder {
    sd_bus_error error = SD_BUS_ERROR_NULL;
    ~ErrorHolder() { sd_bus_error_free(&error); }
};

Bus openSessionBus() {
    sd_bus* bus = nullptr;
    if (sd_bus_open_user(&bus) < 0)
        return nullptr;
    return Bus(bus);
}

bool nameHasOwner(sd_bus* bus) {
    ErrorHolder error;
    sd_bus_message* reply = nullptr;
    if (sd_bus_call_method(bus, "org.freedesktop.DBus", "/org/freedesktop/DBus",
                           "org.freedesktop.DBus", "NameHasOwner", &error.error, &reply, "s",
                           bus::kServiceName) < 0)
        return false;
    Message held(reply);
    int owned = 0;
    return sd_bus_message_read(reply, "b", &owned) >= 0 && owned != 0;
}

CommandRun failed(const std::string& why) {
    return {kExitFailure, {}, "keyloomctl: " + why + "\n"};
}

}  // namespace

std::optional<CommandRun> runInRunningKeyloom(const std::vector<std::string>& args,
                                              double seconds) {
    Bus bus = openSessionBus();
    if (!bus || !nameHasOwner(bus.get()))
        return std::nullopt;

    sd_bus_message* raw = nullptr;
    if (sd_bus_message_new_method_call(bus.get(), &raw, bus::kServiceName, bus::kObjectPath,
                                       bus::kInterface, "Run") < 0)
        return failed("cannot build the call to the running Keyloom");
    Message call(raw);
    // A Keyloom that ended since the look-up is not started again.
    sd_bus_message_set_auto_start(call.get(), 0);
    if (sd_bus_message_open_container(call.get(), 'a', "s") < 0)
        return failed("cannot build the call to the running Keyloom");
    for (const std::string& arg : args)
        if (sd_bus_message_append_basic(call.get(), 's', arg.c_str()) < 0)
            return failed("cannot build the call to the running Keyloom");
    if (sd_bus_message_close_container(call.get()) < 0)
        return failed("cannot build the call to the running Keyloom");

    ErrorHolder error;
    sd_bus_message* reply = nullptr;
    const auto timeout = static_cast<std::uint64_t>(seconds * 1e6);
    if (sd_bus_call(bus.get(), call.get(), timeout, &error.error, &reply) < 0) {
        const std::string_view name = error.error.name != nullptr ? error.error.name : "";
        // The owner went away before the call reached it: nothing ran.
        if (name == SD_BUS_ERROR_SERVICE_UNKNOWN || name == SD_BUS_ERROR_NAME_HAS_NO_OWNER)
            return std::nullopt;
        if (name.starts_with(bus::kErrorPrefix))
            return failed(error.error.message != nullptr ? error.error.message : "refused");
        if (name == SD_BUS_ERROR_NO_REPLY || name == SD_BUS_ERROR_DISCONNECTED ||
            name == "org.freedesktop.DBus.Error.Timeout")
            return failed(
                "the running Keyloom did not finish the command (it ended or stopped "
                "answering); check the keyboard with 'keyloomctl show'");
        return failed("the running Keyloom did not take the command (" + std::string(name) + ")");
    }
    Message held(reply);
    int code = kExitFailure;
    const char* out = nullptr;
    const char* err = nullptr;
    if (sd_bus_message_read(reply, "iss", &code, &out, &err) < 0)
        return failed("the running Keyloom gave an answer keyloomctl does not understand");
    return CommandRun{code, out, err};
}

}  // namespace keyloom::cli
