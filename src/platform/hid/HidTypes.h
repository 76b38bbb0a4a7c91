#pragma once
// Plain HID types shared by the descriptor parser, the backends and the
// device class above them. Field names follow the HID class definitions so
// that code written against the usual HID parser reads the same here.

#include <cstdint>

namespace keyloom::hid {

// A time limit that waits without limit.
inline constexpr std::uint32_t kInfinite = 0xFFFFFFFFu;

enum class ReportType : std::uint8_t { Input = 0, Output = 1, Feature = 2 };

// Status codes of the HID parser, with the values callers compare against.
namespace status {
inline constexpr std::uint32_t Success = 0x00110000u;
inline constexpr std::uint32_t Null = 0x80110001u;
inline constexpr std::uint32_t InvalidPreparsedData = 0xC0110001u;
inline constexpr std::uint32_t InvalidReportType = 0xC0110002u;
inline constexpr std::uint32_t InvalidReportLength = 0xC0110003u;
inline constexpr std::uint32_t UsageNotFound = 0xC0110004u;
inline constexpr std::uint32_t ValueOutOfRange = 0xC0110005u;
inline constexpr std::uint32_t BadLogPhyValues = 0xC0110006u;
inline constexpr std::uint32_t BufferTooSmall = 0xC0110007u;
inline constexpr std::uint32_t InternalError = 0xC0110008u;
inline constexpr std::uint32_t IncompatibleReportId = 0xC011000Au;
inline constexpr std::uint32_t NotValueArray = 0xC011000Bu;
inline constexpr std::uint32_t IsValueArray = 0xC011000Cu;
inline constexpr std::uint32_t DataIndexNotFound = 0xC011000Du;
inline constexpr std::uint32_t DataIndexOutOfRange = 0xC011000Eu;
inline constexpr std::uint32_t ButtonNotPressed = 0xC011000Fu;
inline constexpr std::uint32_t ReportDoesNotExist = 0xC0110010u;
inline constexpr std::uint32_t NotImplemented = 0xC0110020u;
}  // namespace status

struct Attributes {
    std::uint16_t vendorId = 0;
    std::uint16_t productId = 0;
    std::uint16_t versionNumber = 0;
};

// Capabilities of one top-level collection. Report lengths count the report
// id byte: the longest report of that type plus one.
struct Caps {
    std::uint16_t usage = 0;
    std::uint16_t usagePage = 0;
    std::uint16_t inputReportByteLength = 0;
    std::uint16_t outputReportByteLength = 0;
    std::uint16_t featureReportByteLength = 0;
    std::uint16_t numberLinkCollectionNodes = 0;
    std::uint16_t numberInputButtonCaps = 0;
    std::uint16_t numberInputValueCaps = 0;
    std::uint16_t numberInputDataIndices = 0;
    std::uint16_t numberOutputButtonCaps = 0;
    std::uint16_t numberOutputValueCaps = 0;
    std::uint16_t numberOutputDataIndices = 0;
    std::uint16_t numberFeatureButtonCaps = 0;
    std::uint16_t numberFeatureValueCaps = 0;
    std::uint16_t numberFeatureDataIndices = 0;
};

// One button capability (a 1-bit variable field or an array field).
// usageMin == usageMax when it is not a range.
struct ButtonCaps {
    std::uint16_t usagePage = 0;
    std::uint8_t reportId = 0;
    std::uint16_t bitField = 0;  // the main item's data bits
    std::uint16_t linkCollection = 0;
    std::uint16_t linkUsage = 0;
    std::uint16_t linkUsagePage = 0;
    bool isRange = false;
    bool isAbsolute = true;
    std::uint16_t usageMin = 0;
    std::uint16_t usageMax = 0;
    std::uint16_t dataIndexMin = 0;
    std::uint16_t dataIndexMax = 0;
};

// One value capability. usageMin == usageMax when it is not a range.
struct ValueCaps {
    std::uint16_t usagePage = 0;
    std::uint8_t reportId = 0;
    std::uint16_t bitField = 0;
    std::uint16_t linkCollection = 0;
    std::uint16_t linkUsage = 0;
    std::uint16_t linkUsagePage = 0;
    bool isRange = false;
    bool isAbsolute = true;
    bool hasNull = false;
    std::uint16_t bitSize = 0;
    std::uint16_t reportCount = 0;
    std::uint32_t units = 0;
    std::uint32_t unitsExp = 0;
    std::int32_t logicalMin = 0;
    std::int32_t logicalMax = 0;
    std::int32_t physicalMin = 0;
    std::int32_t physicalMax = 0;
    std::uint16_t usageMin = 0;
    std::uint16_t usageMax = 0;
    std::uint16_t dataIndexMin = 0;
    std::uint16_t dataIndexMax = 0;
};

struct OpenOptions {
    bool read = false;
    bool write = false;
    bool overlapped = false;
    // true: others may share reading only; false: reading and writing.
    bool exclusive = false;
};

enum class TransferResult { Done, TimedOut, Cancelled, Failed };

}  // namespace keyloom::hid
