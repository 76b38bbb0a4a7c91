#include "platform/hid/ReportDescriptor.h"

#include <algorithm>

#include "platform/hid/CollectionModel.h"
#include "platform/hid/DescriptorParser.h"

namespace keyloom::hid {

namespace {

const CollectionModel& emptyModel() {
    static const CollectionModel model;
    return model;
}

bool validType(ReportType type) {
    return static_cast<std::uint8_t>(type) <= 2;
}

}  // namespace

CollectionDescriptor::CollectionDescriptor() = default;
CollectionDescriptor::CollectionDescriptor(std::shared_ptr<const CollectionModel> model)
    : model_(std::move(model)) {}
CollectionDescriptor::CollectionDescriptor(const CollectionDescriptor&) = default;
CollectionDescriptor& CollectionDescriptor::operator=(const CollectionDescriptor&) = default;
CollectionDescriptor::CollectionDescriptor(CollectionDescriptor&&) noexcept = default;
CollectionDescriptor& CollectionDescriptor::operator=(CollectionDescriptor&&) noexcept = default;
CollectionDescriptor::~CollectionDescriptor() = default;

const Caps& CollectionDescriptor::caps() const {
    return model_ ? model_->caps : emptyModel().caps;
}

std::span<const ButtonCaps> CollectionDescriptor::buttonCaps(ReportType type) const {
    if (!model_ || !validType(type))
        return {};
    return model_->of(type).buttonCaps;
}

std::span<const ValueCaps> CollectionDescriptor::valueCaps(ReportType type) const {
    if (!model_ || !validType(type))
        return {};
    return model_->of(type).valueCaps;
}

std::uint32_t CollectionDescriptor::maxUsageListLength(ReportType type,
                                                       std::uint16_t usagePage) const {
    if (!model_ || !validType(type))
        return 0;
    const auto& m = model_->of(type);
    std::uint32_t total = 0;
    std::uint32_t lastArrayField = UINT32_MAX;
    for (std::size_t i = 0; i < m.buttonCaps.size(); ++i) {
        const auto& caps = m.buttonCaps[i];
        if (usagePage != 0 && caps.usagePage != usagePage)
            continue;
        const auto& slice = m.buttonSlices[i];
        const auto& field = model_->fields[slice.field];
        if (field.isArray()) {
            // An array reports at most one usage per slot, whatever its
            // number of usages.
            if (slice.field == lastArrayField)
                continue;
            lastArrayField = slice.field;
            total += field.reportCount;
        } else {
            total += slice.count;
        }
    }
    return total;
}

bool CollectionDescriptor::usesReportIds() const {
    return model_ && model_->usesReportIds;
}

bool CollectionDescriptor::ownsReportId(ReportType type, std::uint8_t reportId) const {
    if (!model_ || !validType(type))
        return false;
    if (!model_->usesReportIds)
        return true;
    return model_->of(type).report(reportId) != nullptr;
}

bool parseReportDescriptor(std::span<const std::uint8_t> bytes,
                           std::vector<CollectionDescriptor>& collections) {
    collections.clear();
    std::vector<std::shared_ptr<const CollectionModel>> models;
    if (!parseCollectionModels(bytes, models))
        return false;
    collections.reserve(models.size());
    for (auto& model : models)
        collections.emplace_back(std::move(model));
    return true;
}

}  // namespace keyloom::hid
