// The printer model: status bytes, ZII state, native labels and link faults behind one lock.
#include "sim/printer.h"

#include <utility>

namespace velmora::sim {

namespace {
constexpr StatusBit kStatusBits[] = {
    {"paper-empty", 0, 0x80},    {"cover-open", 0, 0x40},     {"cutter-jammed", 0, 0x20},
    {"head-overheat", 0, 0x10},  {"gap-error", 0, 0x08},      {"ribbon-end", 0, 0x04},
    {"building-label", 1, 0x80}, {"printing-label", 1, 0x40}, {"paused", 1, 0x20},
};
}  // namespace

std::span<const StatusBit> statusBits() { return kStatusBits; }

const StatusBit* findStatusBit(std::string_view name) {
    for (const StatusBit& bit : kStatusBits) {
        if (bit.name == name) return &bit;
    }
    return nullptr;
}

Printer::StatusBytes Printer::statusBytes() const {
    std::lock_guard lock(mutex_);
    return status_;
}

void Printer::setStatusBytes(std::uint8_t byte0, std::uint8_t byte1) {
    std::lock_guard lock(mutex_);
    status_ = {byte0, byte1};
}

bool Printer::setStatus(std::string_view name, bool on) {
    const StatusBit* bit = findStatusBit(name);
    if (!bit) return false;
    std::lock_guard lock(mutex_);
    std::uint8_t& byte = status_[bit->byte];
    byte = on ? (byte | bit->mask) : (byte & ~bit->mask);
    return true;
}

bool Printer::status(std::string_view name) const {
    const StatusBit* bit = findStatusBit(name);
    if (!bit) return false;
    std::lock_guard lock(mutex_);
    return (status_[bit->byte] & bit->mask) != 0;
}

NativeState Printer::native() const {
    std::lock_guard lock(mutex_);
    return native_;
}

ZiiState Printer::zii() const {
    std::lock_guard lock(mutex_);
    return zii_;
}

void Printer::setZii(const ZiiState& state) {
    std::lock_guard lock(mutex_);
    zii_ = state;
}

void Printer::powerCycle() {
    editZii([](ZiiState& state) { sim::powerCycle(state); });
}

void Printer::printLabel(int quantity, int copies) {
    // Labels print by the hundred thousand: the record is copied only when a sink wants it.
    LabelSink sink;
    std::optional<LabelRecord> forSink;
    {
        std::lock_guard lock(mutex_);
        const LabelRecord& kept = labels_.print(quantity, copies);
        labelPrinted(rfid_);  // the tag inside the label is encoded as it prints
        if (labelSink_) {
            sink = labelSink_;
            forSink = kept;
        }
    }
    // A sink may write a file; other connections and queries are not held up meanwhile.
    if (sink) sink(*forSink);
}

void Printer::printRecord(LabelRecord record) {
    LabelSink sink;
    std::optional<LabelRecord> forSink;
    {
        std::lock_guard lock(mutex_);
        const LabelRecord& kept = labels_.keep(std::move(record));
        if (labelSink_) {
            sink = labelSink_;
            forSink = kept;
        }
    }
    if (sink) sink(*forSink);
}

RfidState Printer::rfid() const {
    std::lock_guard lock(mutex_);
    return rfid_;
}

LabelFormat Printer::labelFormat() const {
    std::lock_guard lock(mutex_);
    return labels_.format();
}

LabelRecord Printer::pendingLabel() const {
    std::lock_guard lock(mutex_);
    return labels_.pending();
}

std::vector<LabelRecord> Printer::printedLabels() const {
    std::lock_guard lock(mutex_);
    return labels_.printed();
}

std::uint64_t Printer::totalPrintedLabels() const {
    std::lock_guard lock(mutex_);
    return labels_.totalPrinted();
}

void Printer::setLabelSink(LabelSink sink) {
    std::lock_guard lock(mutex_);
    labelSink_ = std::move(sink);
}

void Printer::setSaveHook(SaveHook hook) {
    std::lock_guard lock(saveMutex_);
    saveHook_ = std::move(hook);
}

void Printer::notifySaved() {
    std::lock_guard lock(saveMutex_);
    if (saveHook_) saveHook_(*this);
}

Faults Printer::faults() const {
    std::lock_guard lock(mutex_);
    return faults_;
}

void Printer::setFaults(const Faults& faults) {
    std::lock_guard lock(mutex_);
    faults_ = faults;
}

void Printer::setSilent(bool on) {
    std::lock_guard lock(mutex_);
    faults_.silent = on;
}

void Printer::setShortReplies(bool on) {
    std::lock_guard lock(mutex_);
    faults_.shortReplies = on;
}

void Printer::setDelayMs(unsigned ms) {
    std::lock_guard lock(mutex_);
    faults_.delayMs = ms;
}

void Printer::setDropAfterBytes(std::uint64_t bytes) {
    std::lock_guard lock(mutex_);
    faults_.dropAfterBytes = bytes;
}

}  // namespace velmora::sim
