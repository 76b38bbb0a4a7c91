#include "platform/hid/DescriptorParser.h"

#include <algorithm>
#include <array>

#include "platform/hid/DescriptorItems.h"

namespace keyloom::hid {

namespace {

// Bounds on what a descriptor may declare; past them it is refused.
constexpr std::size_t kMaxPushDepth = 32;
constexpr std::size_t kMaxCollectionDepth = 64;
constexpr std::size_t kMaxLocalUsages = 4096;
constexpr std::uint32_t kMaxCount16 = 0xFFFF;  // caps counts and data indices are 16-bit

namespace tag {
// Main items
constexpr std::uint8_t Input = 0x8;
constexpr std::uint8_t Output = 0x9;
constexpr std::uint8_t Collection = 0xA;
constexpr std::uint8_t Feature = 0xB;
constexpr std::uint8_t EndCollection = 0xC;
// Global items
constexpr std::uint8_t UsagePage = 0x0;
constexpr std::uint8_t LogicalMin = 0x1;
constexpr std::uint8_t LogicalMax = 0x2;
constexpr std::uint8_t PhysicalMin = 0x3;
constexpr std::uint8_t PhysicalMax = 0x4;
constexpr std::uint8_t UnitExponent = 0x5;
constexpr std::uint8_t Unit = 0x6;
constexpr std::uint8_t ReportSize = 0x7;
constexpr std::uint8_t ReportId = 0x8;
constexpr std::uint8_t ReportCount = 0x9;
constexpr std::uint8_t Push = 0xA;
constexpr std::uint8_t Pop = 0xB;
// Local items
constexpr std::uint8_t Usage = 0x0;
constexpr std::uint8_t UsageMin = 0x1;
constexpr std::uint8_t UsageMax = 0x2;
constexpr std::uint8_t Delimiter = 0xA;
}  // namespace tag

constexpr std::uint8_t kApplicationCollection = 0x01;

struct GlobalState {
    std::uint16_t usagePage = 0;
    DescriptorItem logicalMin, logicalMax, physicalMin, physicalMax;
    std::uint32_t unitExponent = 0;
    std::uint32_t unit = 0;
    std::uint32_t reportSize = 0;
    std::uint32_t reportCount = 0;
    std::uint8_t reportId = 0;
};

struct ExtendedUsage {
    std::uint16_t page = 0;
    std::uint16_t usage = 0;
};

struct LocalState {
    std::vector<UsageSpan> usages;
    bool haveMin = false, haveMax = false;
    ExtendedUsage min, max;
    bool inDelimiter = false;
    std::size_t delimiterStart = 0;

    void clear() { *this = LocalState{}; }
};

// The usual HID rule: the minimum is signed; the maximum is signed only when
// the minimum is negative, so "0 .. 0xFF" in one byte each means 0 .. 255.
void resolveRange(const DescriptorItem& minItem, const DescriptorItem& maxItem, std::int32_t& min,
                  std::int32_t& max) {
    min = minItem.signedData();
    max = min < 0 ? maxItem.signedData() : static_cast<std::int32_t>(maxItem.data);
}

class Parser {
public:
    bool run(std::span<const std::uint8_t> bytes) {
        DescriptorItems items(bytes);
        DescriptorItem item;
        for (;;) {
            auto step = items.next(item);
            if (step == DescriptorItems::Step::Truncated)
                return false;
            if (step == DescriptorItems::Step::End)
                break;
            bool ok = true;
            switch (item.type) {
                case ItemType::Main:
                    ok = mainItem(item);
                    local_.clear();
                    break;
                case ItemType::Global:
                    ok = globalItem(item);
                    break;
                case ItemType::Local:
                    ok = localItem(item);
                    break;
                case ItemType::Reserved:
                    break;
            }
            if (!ok)
                return false;
        }
        if (depth_ != 0)
            return false;  // a collection never ended
        finish();
        return true;
    }

    std::vector<std::shared_ptr<const CollectionModel>> take() {
        std::vector<std::shared_ptr<const CollectionModel>> out;
        for (auto& model : done_)
            out.push_back(std::move(model));
        done_.clear();
        return out;
    }

private:
    bool globalItem(const DescriptorItem& item) {
        switch (item.tag) {
            case tag::UsagePage:
                global_.usagePage = static_cast<std::uint16_t>(item.data);
                break;
            case tag::LogicalMin:
                global_.logicalMin = item;
                break;
            case tag::LogicalMax:
                global_.logicalMax = item;
                break;
            case tag::PhysicalMin:
                global_.physicalMin = item;
                break;
            case tag::PhysicalMax:
                global_.physicalMax = item;
                break;
            case tag::UnitExponent:
                global_.unitExponent = item.data;
                break;
            case tag::Unit:
                global_.unit = item.data;
                break;
            case tag::ReportSize:
                global_.reportSize = item.data;
                break;
            case tag::ReportId:
                // Id 0 is reserved for "no report ids"; ids are one byte.
                if (item.data == 0 || item.data > 0xFF)
                    return false;
                global_.reportId = static_cast<std::uint8_t>(item.data);
                break;
            case tag::ReportCount:
                global_.reportCount = item.data;
                break;
            case tag::Push:
                if (pushed_.size() >= kMaxPushDepth)
                    return false;
                pushed_.push_back(global_);
                break;
            case tag::Pop:
                if (pushed_.empty())
                    return false;
                global_ = pushed_.back();
                pushed_.pop_back();
                break;
            default:
                break;
        }
        return true;
    }

    ExtendedUsage extendedUsage(const DescriptorItem& item) const {
        // A four-byte usage carries its own page in the high half.
        if (item.size == 4)
            return {static_cast<std::uint16_t>(item.data >> 16),
                    static_cast<std::uint16_t>(item.data & 0xFFFF)};
        return {global_.usagePage, static_cast<std::uint16_t>(item.data & 0xFFFF)};
    }

    bool addUsageSpan(const UsageSpan& span) {
        if (local_.usages.size() >= kMaxLocalUsages)
            return false;
        local_.usages.push_back(span);
        return true;
    }

    bool localItem(const DescriptorItem& item) {
        switch (item.tag) {
            case tag::Usage: {
                auto u = extendedUsage(item);
                return addUsageSpan({u.page, u.usage, u.usage, false});
            }
            case tag::UsageMin:
                local_.min = extendedUsage(item);
                local_.haveMin = true;
                return completeRange();
            case tag::UsageMax:
                local_.max = extendedUsage(item);
                local_.haveMax = true;
                return completeRange();
            case tag::Delimiter:
                // Only the first usage of a delimited set of alternatives
                // counts.
                if (item.data == 1 && !local_.inDelimiter) {
                    local_.inDelimiter = true;
                    local_.delimiterStart = local_.usages.size();
                } else if (item.data == 0 && local_.inDelimiter) {
                    local_.inDelimiter = false;
                    if (local_.usages.size() > local_.delimiterStart + 1)
                        local_.usages.resize(local_.delimiterStart + 1);
                }
                return true;
            default:
                return true;
        }
    }

    bool completeRange() {
        if (!local_.haveMin || !local_.haveMax)
            return true;
        local_.haveMin = local_.haveMax = false;
        // A reversed range or one spanning two pages names nothing sensible;
        // it is dropped rather than guessed at.
        if (local_.min.page != local_.max.page || local_.min.usage > local_.max.usage)
            return true;
        return addUsageSpan({local_.min.page, local_.min.usage, local_.max.usage, true});
    }

    bool mainItem(const DescriptorItem& item) {
        switch (item.tag) {
            case tag::Collection:
                return beginCollection(static_cast<std::uint8_t>(item.data));
            case tag::EndCollection:
                return endCollection();
            case tag::Input:
                return addField(ReportType::Input, item.data);
            case tag::Output:
                return addField(ReportType::Output, item.data);
            case tag::Feature:
                return addField(ReportType::Feature, item.data);
            default:
                return true;
        }
    }

    bool beginCollection(std::uint8_t type) {
        if (depth_ >= kMaxCollectionDepth)
            return false;
        ExtendedUsage usage{global_.usagePage, 0};
        if (!local_.usages.empty())
            usage = {local_.usages.front().page, local_.usages.front().min};
        ++depth_;
        if (depth_ == 1) {
            // Only application collections become interfaces; anything else
            // at the top level is passed over with its contents.
            if (type != kApplicationCollection)
                return true;
            current_ = std::make_shared<CollectionModel>();
            dataIndices_ = {};
            current_->caps.usagePage = usage.page;
            current_->caps.usage = usage.usage;
            current_->links.push_back({usage.page, usage.usage, 0, type});
            linkStack_.assign(1, 0);
            return true;
        }
        if (!current_)
            return true;
        if (current_->links.size() >= kMaxCount16)
            return false;
        auto parent = linkStack_.back();
        linkStack_.push_back(static_cast<std::uint16_t>(current_->links.size()));
        current_->links.push_back({usage.page, usage.usage, parent, type});
        return true;
    }

    bool endCollection() {
        if (depth_ == 0)
            return false;
        --depth_;
        if (!current_)
            return true;
        if (depth_ == 0) {
            done_.push_back(std::move(current_));
            current_.reset();
            linkStack_.clear();
        } else {
            linkStack_.pop_back();
        }
        return true;
    }

    bool addField(ReportType type, std::uint32_t bitField) {
        auto t = static_cast<std::size_t>(type);
        std::uint64_t bits = static_cast<std::uint64_t>(global_.reportSize) * global_.reportCount;
        std::uint32_t& used = bitsUsed_[t][global_.reportId];
        if (used + bits > kMaxReportBits)
            return false;
        std::uint32_t offset = used;
        used += static_cast<std::uint32_t>(bits);
        // Outside an application collection the bits still take report space
        // but belong to no interface.
        if (!current_ || bits == 0)
            return true;

        auto& typeModel = current_->of(type);
        if (!typeModel.report(global_.reportId))
            typeModel.reports.push_back({global_.reportId, 0});
        if (global_.reportId != 0)
            current_->usesReportIds = true;

        // A constant item without usages is padding: space, no capability.
        bool constant = (bitField & 0x01) != 0;
        if (constant && local_.usages.empty())
            return true;

        FieldModel field;
        field.type = type;
        field.reportId = global_.reportId;
        field.bitOffset = offset;
        field.bitSize = static_cast<std::uint16_t>(global_.reportSize);
        field.reportCount = global_.reportCount;
        field.bitField = static_cast<std::uint16_t>(bitField & 0x1FF);
        field.linkCollection = linkStack_.back();
        resolveRange(global_.logicalMin, global_.logicalMax, field.logicalMin, field.logicalMax);

        std::vector<UsageSpan> spans = local_.usages;
        if (spans.empty())
            spans.push_back({global_.usagePage, 0, 0, false});

        auto fieldIndex = static_cast<std::uint32_t>(current_->fields.size());
        current_->fields.push_back(field);
        if (field.isArray())
            return addArrayCaps(typeModel, fieldIndex, spans);
        return addVariableCaps(typeModel, fieldIndex, spans);
    }

    // Fills what button and value caps have in common.
    template <typename CapsT>
    void fillCommon(CapsT& caps, const FieldModel& field, const UsageSpan& span,
                    std::uint16_t usageMax) const {
        const auto& link = current_->links[field.linkCollection];
        caps.usagePage = span.page;
        caps.reportId = field.reportId;
        caps.bitField = field.bitField;
        caps.linkCollection = field.linkCollection;
        caps.linkUsage = link.usage;
        caps.linkUsagePage = link.usagePage;
        caps.isRange = span.isRange;
        caps.isAbsolute = (field.bitField & 0x04) == 0;
        caps.usageMin = span.min;
        caps.usageMax = usageMax;
    }

    bool takeDataIndices(ReportType type, std::uint32_t count, std::uint16_t& first,
                         std::uint16_t& last) {
        std::uint32_t& next = dataIndices_[static_cast<std::size_t>(type)];
        if (count == 0 || next + count > kMaxCount16)
            return false;
        first = static_cast<std::uint16_t>(next);
        last = static_cast<std::uint16_t>(next + count - 1);
        next += count;
        return true;
    }

    // An array field reports usage indexes; each usage span of the item is one
    // button capability covering its share of the index space.
    bool addArrayCaps(ReportTypeModel& model, std::uint32_t fieldIndex,
                      const std::vector<UsageSpan>& spans) {
        const FieldModel& field = current_->fields[fieldIndex];
        std::uint32_t position = 0;
        for (const auto& span : spans) {
            if (model.buttonCaps.size() >= kMaxCount16)
                return false;
            ButtonCaps caps;
            fillCommon(caps, field, span, span.max);
            if (!takeDataIndices(field.type, span.size(), caps.dataIndexMin, caps.dataIndexMax))
                return false;
            model.buttonCaps.push_back(caps);
            model.buttonSlices.push_back({fieldIndex, position, span.size()});
            position += span.size();
        }
        return true;
    }

    // A variable field has one control per report count. Usages are handed
    // to the controls in order; the last usage also takes any controls left
    // over, and usages beyond the last control are dropped.
    bool addVariableCaps(ReportTypeModel& model, std::uint32_t fieldIndex,
                         const std::vector<UsageSpan>& spans) {
        const FieldModel& field = current_->fields[fieldIndex];
        const GlobalState& g = global_;
        std::uint32_t controls = field.reportCount;
        std::uint32_t next = 0;
        for (std::size_t k = 0; k < spans.size() && next < controls; ++k) {
            const auto& span = spans[k];
            std::uint32_t covered = std::min(span.size(), controls - next);
            std::uint32_t count = (k + 1 == spans.size()) ? controls - next : covered;
            auto usageMax = static_cast<std::uint16_t>(span.min + covered - 1);
            if (field.isButton()) {
                if (model.buttonCaps.size() >= kMaxCount16)
                    return false;
                ButtonCaps caps;
                fillCommon(caps, field, span, usageMax);
                if (!takeDataIndices(field.type, covered, caps.dataIndexMin, caps.dataIndexMax))
                    return false;
                model.buttonCaps.push_back(caps);
                model.buttonSlices.push_back({fieldIndex, next, count});
            } else {
                if (model.valueCaps.size() >= kMaxCount16)
                    return false;
                ValueCaps caps;
                fillCommon(caps, field, span, usageMax);
                if (!takeDataIndices(field.type, covered, caps.dataIndexMin, caps.dataIndexMax))
                    return false;
                caps.hasNull = (field.bitField & 0x40) != 0;
                caps.bitSize = field.bitSize;
                caps.reportCount = static_cast<std::uint16_t>(count);
                caps.units = g.unit;
                caps.unitsExp = g.unitExponent;
                caps.logicalMin = field.logicalMin;
                caps.logicalMax = field.logicalMax;
                resolveRange(g.physicalMin, g.physicalMax, caps.physicalMin, caps.physicalMax);
                model.valueCaps.push_back(caps);
                model.valueSlices.push_back({fieldIndex, next, count});
            }
            next += count;
        }
        return true;
    }

    // Report lengths are known only once every item has been seen.
    void finish() {
        for (auto& model : done_) {
            Caps& caps = model->caps;
            std::array<std::uint16_t*, 3> lengths = {&caps.inputReportByteLength,
                                                     &caps.outputReportByteLength,
                                                     &caps.featureReportByteLength};
            for (std::size_t t = 0; t < 3; ++t) {
                auto& typeModel = model->types[t];
                std::uint32_t longest = 0;
                for (auto& report : typeModel.reports) {
                    report.bits = bitsUsed_[t][report.id];
                    longest = std::max(longest, 1 + (report.bits + 7) / 8);
                }
                *lengths[t] = static_cast<std::uint16_t>(longest);
            }
            caps.numberLinkCollectionNodes = static_cast<std::uint16_t>(model->links.size());
            caps.numberInputButtonCaps = count16(model->types[0].buttonCaps.size());
            caps.numberInputValueCaps = count16(model->types[0].valueCaps.size());
            caps.numberOutputButtonCaps = count16(model->types[1].buttonCaps.size());
            caps.numberOutputValueCaps = count16(model->types[1].valueCaps.size());
            caps.numberFeatureButtonCaps = count16(model->types[2].buttonCaps.size());
            caps.numberFeatureValueCaps = count16(model->types[2].valueCaps.size());
            caps.numberInputDataIndices = dataIndexCount(*model, ReportType::Input);
            caps.numberOutputDataIndices = dataIndexCount(*model, ReportType::Output);
            caps.numberFeatureDataIndices = dataIndexCount(*model, ReportType::Feature);
        }
    }

    static std::uint16_t count16(std::size_t n) { return static_cast<std::uint16_t>(n); }

    // Data indices are numbered per collection and report type.
    static std::uint16_t dataIndexCount(const CollectionModel& model, ReportType type) {
        std::uint32_t count = 0;
        for (const auto& c : model.of(type).buttonCaps)
            count = std::max<std::uint32_t>(count, c.dataIndexMax + 1u);
        for (const auto& c : model.of(type).valueCaps)
            count = std::max<std::uint32_t>(count, c.dataIndexMax + 1u);
        return static_cast<std::uint16_t>(count);
    }

    GlobalState global_;
    std::vector<GlobalState> pushed_;
    LocalState local_;
    std::size_t depth_ = 0;
    std::shared_ptr<CollectionModel> current_;
    std::vector<std::uint16_t> linkStack_;
    std::vector<std::shared_ptr<CollectionModel>> done_;
    std::array<std::array<std::uint32_t, 256>, 3> bitsUsed_{};
    std::array<std::uint32_t, 3> dataIndices_{};  // next free index of the current collection
};

}  // namespace

bool parseCollectionModels(std::span<const std::uint8_t> bytes,
                           std::vector<std::shared_ptr<const CollectionModel>>& models) {
    Parser parser;
    if (!parser.run(bytes))
        return false;
    for (auto& model : parser.take())
        models.push_back(std::move(model));
    return true;
}

}  // namespace keyloom::hid
