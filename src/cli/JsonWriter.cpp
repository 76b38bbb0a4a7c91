#include "cli/JsonWriter.h"

namespace keyloom::cli {

std::string JsonWriter::quote(std::string_view text) {
    std::string out = "\"";
    for (unsigned char c : text) {
        switch (c) {
            case '"':
                out += "\\\"";
                break;
            case '\\':
                out += "\\\\";
                break;
            case '\n':
                out += "\\n";
                break;
            case '\r':
                out += "\\r";
                break;
            case '\t':
                out += "\\t";
                break;
            default:
                if (c < 0x20) {
                    char escaped[8];
                    std::snprintf(escaped, sizeof escaped, "\\u%04x", c);
                    out += escaped;
                } else {
                    out += static_cast<char>(c);
                }
        }
    }
    out += '"';
    return out;
}

void JsonWriter::prefix(std::string_view name) {
    if (!first_.empty()) {
        std::fputs(first_.back() ? "\n" : ",\n", out_);
        first_.back() = false;
        for (std::size_t i = 0; i < first_.size(); ++i)
            std::fputs("  ", out_);
    }
    if (!name.empty())
        std::fprintf(out_, "%s: ", quote(name).c_str());
}

void JsonWriter::beginObject(std::string_view name) {
    prefix(name);
    std::fputc('{', out_);
    first_.push_back(true);
}

void JsonWriter::beginArray(std::string_view name) {
    prefix(name);
    std::fputc('[', out_);
    first_.push_back(true);
}

void JsonWriter::close(char bracket) {
    const bool empty = first_.back();
    first_.pop_back();
    if (!empty) {
        std::fputc('\n', out_);
        for (std::size_t i = 0; i < first_.size(); ++i)
            std::fputs("  ", out_);
    }
    std::fputc(bracket, out_);
}

void JsonWriter::endObject() {
    close('}');
}
void JsonWriter::endArray() {
    close(']');
}

void JsonWriter::field(std::string_view name, std::string_view text) {
    prefix(name);
    std::fputs(quote(text).c_str(), out_);
}

void JsonWriter::field(std::string_view name, long long number) {
    prefix(name);
    std::fprintf(out_, "%lld", number);
}

void JsonWriter::field(std::string_view name, bool flag) {
    prefix(name);
    std::fputs(flag ? "true" : "false", out_);
}

void JsonWriter::value(std::string_view text) {
    field({}, text);
}
void JsonWriter::value(long long number) {
    field({}, number);
}

void JsonWriter::finish() {
    std::fputc('\n', out_);
}

}  // namespace keyloom::cli
