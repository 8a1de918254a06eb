// The simulated printer's state: what it reports when asked (status bytes), its ZII settings, the
// labels it printed, the faults it is told to show on its link, and the journal of what it
// received. The server thread
// and test threads share one Printer, so every accessor takes the lock.
#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <mutex>
#include <optional>
#include <span>
#include <string_view>
#include <vector>

#include "sim/images.h"
#include "sim/journal.h"
#include "sim/labelrecord.h"
#include "sim/media.h"
#include "sim/native_settings.h"
#include "sim/rfid.h"
#include "sim/zii.h"

namespace velmora::sim {

// One named bit of the two status bytes, as the status check decodes them.
struct StatusBit {
    std::string_view name;
    unsigned byte;  // 0 or 1
    std::uint8_t mask;
};

// Every named status bit: "paper-empty", "cover-open", "cutter-jammed", "head-overheat",
// "gap-error", "ribbon-end" (byte 0) and "building-label", "printing-label", "paused" (byte 1).
std::span<const StatusBit> statusBits();
// nullptr for a name that is not in the table.
const StatusBit* findStatusBit(std::string_view name);

// Link faults, switched on by tests or by the program's options.
struct Faults {
    bool silent = false;               // commands are taken but never answered
    bool shortReplies = false;         // every reply loses its last byte
    unsigned delayMs = 0;              // every reply leaves this late
    std::uint64_t dropAfterBytes = 0;  // the link drops once this many bytes came in on it; 0 never
    unsigned baud = 0;  // serial line: bytes at any other speed are noise to the printer; 0 any
    bool garbage = false;              // every byte of every reply is 'z': answers of the right length, nonsense
};

class Printer {
  public:
    using StatusBytes = std::array<std::uint8_t, 2>;

    Printer() = default;
    // A journal that keeps the last `journalTailBytes` bytes received (a test of a large transfer).
    explicit Printer(std::size_t journalTailBytes) : journal_(journalTailBytes) {}

    StatusBytes statusBytes() const;
    // Sets both bytes raw, including the bits that have no name.
    void setStatusBytes(std::uint8_t byte0, std::uint8_t byte1);
    // Sets or clears a named bit; false (and nothing changes) for an unknown name.
    bool setStatus(std::string_view name, bool on);
    bool status(std::string_view name) const;

    // The ZII settings, locks and clock (zii.h).
    ZiiState zii() const;
    void setZii(const ZiiState& state);
    // Runs `edit` on the ZII state under the lock, so a change that reads before it writes (an
    // omitted value keeps the current one, a lock holds a setting) sees no other change midway.
    template <typename Edit>
    void editZii(Edit&& edit) {
        std::lock_guard lock(mutex_);
        edit(zii_);
    }
    // The same for an edit that may not need the state at all: `edit` gets a ZiiStateSource,
    // and the lock is taken when it first asks and held until the edit returns.
    template <typename Edit>
    void editZiiWhenNeeded(Edit&& edit) {
        std::unique_lock lock(mutex_, std::defer_lock);
        const ZiiStateSource state = [this, &lock]() -> ZiiState& {
            if (!lock.owns_lock()) lock.lock();
            return zii_;
        };
        edit(state);
    }
    // The native settings (native_settings.h). Every change to them goes through editNative, so
    // a change that should outlive the simulator has one place to be noticed.
    NativeState native() const;
    template <typename Edit>
    void editNative(Edit&& edit) {
        std::lock_guard lock(mutex_);
        edit(native_);
    }
    // The RFID encoder and its tag (rfid.h).
    RfidState rfid() const;
    template <typename Edit>
    void editRfid(Edit&& edit) {
        std::lock_guard lock(mutex_);
        edit(rfid_);
    }
    // The media path and its sensor (media.h).
    MediaState media() const {
        std::lock_guard lock(mutex_);
        return media_;
    }
    template <typename Edit>
    void editMedia(Edit&& edit) {
        std::lock_guard lock(mutex_);
        edit(media_);
    }
    // Off and on again: settings not saved are lost, saved serial parameters take effect.
    void powerCycle();

    // Native labels (native.h): the format in force, the label being built and the printed ones.
    template <typename Edit>
    void editLabels(Edit&& edit) {
        std::lock_guard lock(mutex_);
        edit(labels_);
    }
    // Prints the label being built and hands its record to the label sink (outside the lock).
    void printLabel(int quantity, int copies);
    // Numbers, keeps and hands to the sink a label built outside the book (a ZII format).
    void printRecord(LabelRecord record);
    LabelFormat labelFormat() const;
    LabelRecord pendingLabel() const;
    // The newest printed labels (at most LabelBook::kKeptRecords), oldest first.
    std::vector<LabelRecord> printedLabels() const;
    std::uint64_t totalPrintedLabels() const;
    // Called with each printed label on the thread whose command printed it.
    using LabelSink = std::function<void(const LabelRecord&)>;
    void setLabelSink(LabelSink sink);
    // Non-volatile memory. A command that stores settings (^JUS, a native commit) calls
    // notifySaved() after its change, outside editZii; the hook then runs with the printer, one
    // call at a time, so a hook that writes the saved settings to a file writes the latest.
    using SaveHook = std::function<void(const Printer& printer)>;
    void setSaveHook(SaveHook hook);
    void notifySaved();

    Faults faults() const;
    void setFaults(const Faults& faults);
    void setSilent(bool on);
    void setShortReplies(bool on);
    void setDelayMs(unsigned ms);
    void setDropAfterBytes(std::uint64_t bytes);

    // The journal guards itself.
    // Stored images (images.h); the store has its own lock.
    ImageStore& images() { return images_; }
    const ImageStore& images() const { return images_; }

    Journal& journal() { return journal_; }
    const Journal& journal() const { return journal_; }

  private:
    mutable std::mutex mutex_;
    StatusBytes status_{};
    ZiiState zii_;
    LabelBook labels_;
    LabelSink labelSink_;
    NativeState native_;
    RfidState rfid_;
    MediaState media_;
    Faults faults_;
    Journal journal_;
    std::mutex saveMutex_;  // held while the hook runs; never with mutex_
    SaveHook saveHook_;     // guarded by saveMutex_
    ImageStore images_;
};

}  // namespace velmora::sim
