#pragma once
// A small streaming JSON writer for keyloomctl's --json output: objects,
// arrays, strings (escaped), integers and booleans, two-space indented.

#include <cstdio>
#include <string>
#include <string_view>
#include <vector>

namespace keyloom::cli {

class JsonWriter {
public:
    explicit JsonWriter(std::FILE* out) : out_(out) {}

    void beginObject(std::string_view name = {});
    void endObject();
    void beginArray(std::string_view name = {});
    void endArray();

    void field(std::string_view name, std::string_view value);
    void field(std::string_view name, const char* value) { field(name, std::string_view(value)); }
    void field(std::string_view name, const std::string& value) {
        field(name, std::string_view(value));
    }
    void field(std::string_view name, long long value);
    void field(std::string_view name, int value) { field(name, static_cast<long long>(value)); }
    void field(std::string_view name, bool value);

    void value(std::string_view text);
    void value(long long number);

    // Ends the document with a newline.
    void finish();

    static std::string quote(std::string_view text);

private:
    void prefix(std::string_view name);
    void close(char bracket);

    std::FILE* out_;
    std::vector<bool> first_;  // per open container: no element written yet
};

}  // namespace keyloom::cli
