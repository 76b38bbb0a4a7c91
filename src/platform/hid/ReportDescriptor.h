#pragma once
// Parsed HID report descriptor of one top-level application collection, with
// the queries the usual HID parser offers: capabilities, button and value
// capabilities per report type, usage list lengths, and decoding of a
// received report into active usages and (scaled) values.

#include <cstdint>
#include <memory>
#include <span>
#include <vector>

#include "platform/hid/HidTypes.h"

namespace keyloom::hid {

struct CollectionModel;  // parser-internal field layout

class CollectionDescriptor {
public:
    CollectionDescriptor();
    explicit CollectionDescriptor(std::shared_ptr<const CollectionModel> model);
    CollectionDescriptor(const CollectionDescriptor&);
    CollectionDescriptor& operator=(const CollectionDescriptor&);
    CollectionDescriptor(CollectionDescriptor&&) noexcept;
    CollectionDescriptor& operator=(CollectionDescriptor&&) noexcept;
    ~CollectionDescriptor();

    const Caps& caps() const;
    std::span<const ButtonCaps> buttonCaps(ReportType type) const;
    std::span<const ValueCaps> valueCaps(ReportType type) const;

    // Largest number of usages the report type can report active at once on
    // `usagePage` (0: all pages).
    std::uint32_t maxUsageListLength(ReportType type, std::uint16_t usagePage) const;

    // Active usages of every button field on `usagePage` (link collection 0:
    // any). `usageLength` is the list's capacity in and the count out.
    // BufferTooSmall when more are active than fit (the list holds the first).
    std::uint32_t getUsages(ReportType type, std::uint16_t usagePage, std::uint16_t linkCollection,
                            std::uint16_t* usageList, std::uint32_t& usageLength,
                            std::span<const std::uint8_t> report) const;

    std::uint32_t getUsageValue(ReportType type, std::uint16_t usagePage,
                                std::uint16_t linkCollection, std::uint16_t usage,
                                std::uint32_t& value, std::span<const std::uint8_t> report) const;

    std::uint32_t getScaledUsageValue(ReportType type, std::uint16_t usagePage,
                                      std::uint16_t linkCollection, std::uint16_t usage,
                                      std::int32_t& value,
                                      std::span<const std::uint8_t> report) const;

    // True when the collection declares report ids at all.
    bool usesReportIds() const;
    // True when a report of this type with this first byte belongs to this
    // collection (always true for collections without report ids).
    bool ownsReportId(ReportType type, std::uint8_t reportId) const;

private:
    std::shared_ptr<const CollectionModel> model_;
};

// Splits a raw report descriptor into its top-level application collections
// in descriptor order. A malformed or hostile descriptor gives false and an
// empty list; it never reads outside `bytes`.
bool parseReportDescriptor(std::span<const std::uint8_t> bytes,
                           std::vector<CollectionDescriptor>& collections);

}  // namespace keyloom::hid
