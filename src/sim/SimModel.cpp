#include "sim/SimModel.h"

#include <cstdio>

namespace keyloom::sim {

namespace {

bool parseHex16(std::string_view text, std::uint16_t& value) {
    if (text.size() != 4)
        return false;
    unsigned result = 0;
    for (char c : text) {
        unsigned digit;
        if (c >= '0' && c <= '9') {
            digit = static_cast<unsigned>(c - '0');
        } else if (c >= 'a' && c <= 'f') {
            digit = static_cast<unsigned>(c - 'a' + 10);
        } else if (c >= 'A' && c <= 'F') {
            digit = static_cast<unsigned>(c - 'A' + 10);
        } else {
            return false;
        }
        result = result << 4 | digit;
    }
    value = static_cast<std::uint16_t>(result);
    return true;
}

}  // namespace

const SimModel* findModel(std::uint16_t vendorId, std::uint16_t productId) {
    for (const SimModel* model : {&kModel652F, &kModel5064})
        if (model->vendorId == vendorId && model->productId == productId)
            return model;
    return nullptr;
}

const SimModel* parseModelName(std::string_view text) {
    std::uint16_t vendorId = 0;
    std::uint16_t productId = 0;
    if (text.size() != 9 || text[4] != ':')
        return nullptr;
    if (!parseHex16(text.substr(0, 4), vendorId) || !parseHex16(text.substr(5), productId))
        return nullptr;
    return findModel(vendorId, productId);
}

std::string modelName(const SimModel& model) {
    char text[16];
    std::snprintf(text, sizeof text, "%04x:%04x", model.vendorId, model.productId);
    return text;
}

}  // namespace keyloom::sim
