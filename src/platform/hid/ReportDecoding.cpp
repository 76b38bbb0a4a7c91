// Decoding of received reports: active usages of button fields and raw or
// scaled values of value fields.

#include <algorithm>

#include "platform/hid/CollectionModel.h"
#include "platform/hid/ReportBits.h"
#include "platform/hid/ReportDescriptor.h"

namespace keyloom::hid {

namespace {

bool validType(ReportType type) {
    return static_cast<std::uint8_t>(type) <= 2;
}

template <typename CapsT>
bool matches(const CapsT& caps, std::uint16_t usagePage, std::uint16_t linkCollection) {
    return caps.usagePage == usagePage &&
           (linkCollection == 0 || caps.linkCollection == linkCollection);
}

// The report must hold every data byte of its report id.
bool longEnough(const ReportTypeModel& m, std::span<const std::uint8_t> report) {
    const ReportLayout* layout = m.report(report[0]);
    return layout && report.size() >= 1u + (layout->bits + 7u) / 8u;
}

// Collects usages into the caller's list; counts what did not fit.
class UsageSink {
public:
    UsageSink(std::uint16_t* list, std::uint32_t capacity) : list_(list), capacity_(capacity) {}

    void add(std::uint16_t usage) {
        // Usage 0 means "no control" and is never reported.
        if (usage == 0)
            return;
        if (written_ < capacity_ && list_)
            list_[written_++] = usage;
        else
            overflow_ = true;
    }
    std::uint32_t written() const { return written_; }
    bool overflow() const { return overflow_; }

private:
    std::uint16_t* list_;
    std::uint32_t capacity_;
    std::uint32_t written_ = 0;
    bool overflow_ = false;
};

// Value of an array or value control, signed when the logical minimum is.
std::int64_t logicalValue(const FieldModel& field, std::uint32_t raw) {
    if (field.logicalMin < 0)
        return signExtend(raw, field.bitSize);
    return raw;
}

// An array field: each slot holds a usage index (value - logical minimum).
// 0 and values outside the logical range mean "nothing in this slot": 0 is
// what devices put in unused slots, whatever their logical minimum. The field's
// caps are m.buttonCaps[begin, end), ordered by their index slices.
void decodeArray(const CollectionModel& model, const ReportTypeModel& m, std::size_t begin,
                 std::size_t end, std::uint16_t usagePage, std::uint16_t linkCollection,
                 std::span<const std::uint8_t> report, UsageSink& sink) {
    const FieldModel& field = model.fields[m.buttonSlices[begin].field];
    auto sliceBegin = m.buttonSlices.begin() + static_cast<std::ptrdiff_t>(begin);
    auto sliceEnd = m.buttonSlices.begin() + static_cast<std::ptrdiff_t>(end);
    for (std::uint32_t slot = 0; slot < field.reportCount; ++slot) {
        std::uint32_t raw = readReportBits(report, field.controlBit(slot), field.bitSize);
        std::int64_t v = logicalValue(field, raw);
        if (raw == 0 || v < field.logicalMin || v > field.logicalMax)
            continue;
        auto index = static_cast<std::uint32_t>(v - field.logicalMin);
        auto after =
            std::upper_bound(sliceBegin, sliceEnd, index,
                             [](std::uint32_t i, const CapsSlice& s) { return i < s.first; });
        if (after == sliceBegin)
            continue;
        auto slice = after - 1;
        if (index >= slice->first + slice->count)
            continue;
        const ButtonCaps& caps =
            m.buttonCaps[static_cast<std::size_t>(slice - m.buttonSlices.begin())];
        if (!matches(caps, usagePage, linkCollection))
            continue;
        sink.add(usageAt(caps, index - slice->first));
    }
}

struct FoundValue {
    const ValueCaps* caps = nullptr;
    const FieldModel* field = nullptr;
    std::uint32_t control = 0;
};

std::uint32_t findValue(const CollectionModel* model, ReportType type, std::uint16_t usagePage,
                        std::uint16_t linkCollection, std::uint16_t usage,
                        std::span<const std::uint8_t> report, FoundValue& found) {
    if (!model)
        return status::InvalidPreparsedData;
    if (!validType(type))
        return status::InvalidReportType;
    if (report.empty())
        return status::InvalidReportLength;
    const auto& m = model->of(type);
    bool usageExists = false;
    for (std::size_t i = 0; i < m.valueCaps.size(); ++i) {
        const auto& caps = m.valueCaps[i];
        if (!matches(caps, usagePage, linkCollection))
            continue;
        if (usage < caps.usageMin || usage > caps.usageMax)
            continue;
        usageExists = true;
        if (caps.reportId != report[0])
            continue;
        if (!longEnough(m, report))
            return status::InvalidReportLength;
        const auto& slice = m.valueSlices[i];
        found.caps = &caps;
        found.field = &model->fields[slice.field];
        // A value array under a single usage gives its first element.
        found.control = slice.first + (caps.isRange ? usage - caps.usageMin : 0u);
        return status::Success;
    }
    return usageExists ? status::IncompatibleReportId : status::UsageNotFound;
}

// physMin + (v - logMin) * (physMax - physMin) / (logMax - logMin), exactly,
// without overflow: every difference fits 32 bits unsigned and v <= logMax.
std::int32_t scale(std::int64_t v, std::int64_t logMin, std::int64_t logMax, std::int64_t physMin,
                   std::int64_t physMax) {
    auto num = static_cast<std::uint64_t>(v - logMin);
    auto den = static_cast<std::uint64_t>(logMax - logMin);
    auto span = static_cast<std::uint64_t>(physMax - physMin);
    std::uint64_t offset = (span / den) * num + ((span % den) * num) / den;
    return static_cast<std::int32_t>(physMin + static_cast<std::int64_t>(offset));
}

}  // namespace

std::uint32_t CollectionDescriptor::getUsages(ReportType type, std::uint16_t usagePage,
                                              std::uint16_t linkCollection,
                                              std::uint16_t* usageList, std::uint32_t& usageLength,
                                              std::span<const std::uint8_t> report) const {
    const std::uint32_t capacity = usageLength;
    usageLength = 0;
    if (!model_)
        return status::InvalidPreparsedData;
    if (!validType(type))
        return status::InvalidReportType;
    if (report.empty())
        return status::InvalidReportLength;
    const auto& m = model_->of(type);
    bool anyField = false, anyWithId = false;
    for (const auto& caps : m.buttonCaps) {
        if (!matches(caps, usagePage, linkCollection))
            continue;
        anyField = true;
        anyWithId = anyWithId || caps.reportId == report[0];
    }
    if (!anyField)
        return status::UsageNotFound;
    if (!anyWithId)
        return status::IncompatibleReportId;
    if (!longEnough(m, report))
        return status::InvalidReportLength;

    UsageSink sink(usageList, capacity);
    for (std::size_t i = 0; i < m.buttonCaps.size();) {
        const auto& slice = m.buttonSlices[i];
        const FieldModel& field = model_->fields[slice.field];
        if (field.reportId != report[0]) {
            ++i;
            continue;
        }
        if (field.isArray()) {
            // All caps of one array field are decoded together, slot by slot.
            std::size_t end = i + 1;
            while (end < m.buttonCaps.size() && m.buttonSlices[end].field == slice.field)
                ++end;
            decodeArray(*model_, m, i, end, usagePage, linkCollection, report, sink);
            i = end;
            continue;
        }
        const auto& caps = m.buttonCaps[i];
        if (matches(caps, usagePage, linkCollection)) {
            for (std::uint32_t c = 0; c < slice.count; ++c)
                if (readReportBits(report, field.controlBit(slice.first + c), 1) != 0)
                    sink.add(usageAt(caps, c));
        }
        ++i;
    }
    // On overflow the list holds the first usages and the count says how
    // many were written, so a caller never reads past its own list.
    usageLength = sink.written();
    return sink.overflow() ? status::BufferTooSmall : status::Success;
}

std::uint32_t CollectionDescriptor::getUsageValue(ReportType type, std::uint16_t usagePage,
                                                  std::uint16_t linkCollection, std::uint16_t usage,
                                                  std::uint32_t& value,
                                                  std::span<const std::uint8_t> report) const {
    value = 0;
    FoundValue found;
    std::uint32_t result =
        findValue(model_.get(), type, usagePage, linkCollection, usage, report, found);
    if (result != status::Success)
        return result;
    value = readReportBits(report, found.field->controlBit(found.control), found.field->bitSize);
    return status::Success;
}

std::uint32_t CollectionDescriptor::getScaledUsageValue(
    ReportType type, std::uint16_t usagePage, std::uint16_t linkCollection, std::uint16_t usage,
    std::int32_t& value, std::span<const std::uint8_t> report) const {
    value = 0;
    FoundValue found;
    std::uint32_t result =
        findValue(model_.get(), type, usagePage, linkCollection, usage, report, found);
    if (result != status::Success)
        return result;
    const ValueCaps& caps = *found.caps;
    std::int64_t logMin = caps.logicalMin, logMax = caps.logicalMax;
    std::int64_t physMin = caps.physicalMin, physMax = caps.physicalMax;
    // Without a physical range the logical one stands in: the value is
    // returned as it is.
    if (physMin == 0 && physMax == 0) {
        physMin = logMin;
        physMax = logMax;
    }
    if (logMin >= logMax || physMin >= physMax)
        return status::BadLogPhyValues;
    std::uint32_t raw =
        readReportBits(report, found.field->controlBit(found.control), found.field->bitSize);
    std::int64_t v = logicalValue(*found.field, raw);
    if (v < logMin || v > logMax)
        return caps.hasNull ? status::Null : status::ValueOutOfRange;
    value = scale(v, logMin, logMax, physMin, physMax);
    return status::Success;
}

}  // namespace keyloom::hid
