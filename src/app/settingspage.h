// A settings page as the command line, profiles and the fleet reach it: its keys, a read of
// them as one action, the check of a value as text, and a write of some of them. Each tool folder
// registers its pages here, built on the same operations as its dialog, so every caller sends the
// dialog's bytes and learns whether each reply was valid.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "app/operation.h"
#include "platform/clock.h"

namespace velmora::app {

class SettingsPage {
public:
    virtual ~SettingsPage() = default;
    // The profile section and the command-line name: "native.page", "zii.basic".
    virtual std::string section() const = 0;
    virtual bool forMenuMode(int menuMode) const = 0;
    // Identity strings: saved for reference, applied to one printer only when asked for.
    virtual bool identity() const { return false; }
    // Every key a read reports, in the order it reports them.
    virtual std::vector<std::string> keys() const = 0;
    // Keys a read reports that no write takes (counters): left out of profiles.
    virtual bool readOnly(const std::string& key) const {
        (void)key;
        return false;
    }
    // Whether a write takes `key`: by default every key a read reports but the read-only ones.
    virtual bool writable(const std::string& key) const;
    // Reads `keys` (every key when empty) as one action: a value for each, valid or not.
    virtual Outcome read(link::CComm& comm, platform::Clock& clock, const std::vector<std::string>& keys) const = 0;
    // Empty when a write takes `value` for `key`; else what the page says of it.
    virtual std::string check(const std::string& key, const std::string& value) const = 0;
    // Writes these keys, in order, reading first what the page needs; other settings and locks
    // keep what the printer has. Stops at the first failure.
    virtual Outcome write(link::CComm& comm, platform::Clock& clock, const KeyValues& changes) const = 0;
};

// Adds a page; `order` places it among the others (profiles apply in this order, interface
// pages last). Returns true so it can initialise a static.
bool registerSettingsPage(int order, std::unique_ptr<SettingsPage> page);
// Every page, in order.
std::vector<const SettingsPage*> settingsPages();
const SettingsPage* findSettingsPage(const std::string& section);

// Keys a page's read does not report (or its write does not take, when `forWrite`), or given
// twice; empty when none.
std::string unknownKeys(const SettingsPage& page, const std::vector<std::string>& keys, bool forWrite = false);

}  // namespace velmora::app
