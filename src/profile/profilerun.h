// Saving, comparing and applying a profile against one printer. Each settings page takes part
// through a section provider; the list of providers is the list of pages, so a page added later
// (an encoder's settings) is one more provider. A page the printer does not answer has no section.
#pragma once

#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "profile/profile.h"

namespace velmora::profile {

// What a page read: the keys whose reply was valid, and those whose reply came but was not valid
// with what came ("reply 7A 7A (\"zz\")").
struct PageValues {
    KeyValues values;
    KeyValues invalid;
};

class SectionProvider {
public:
    virtual ~SectionProvider() = default;
    virtual std::string section() const = 0;
    virtual bool forMenuMode(int menuMode) const = 0;
    // Identity strings: saved for reference, applied only when asked for, to one printer.
    virtual bool identity() const { return false; }
    // The page's keys as the printer reports them; nothing when the page did not answer.
    virtual std::optional<PageValues> read() = 0;
    // Empty when the page takes `value` for `key`; else why not.
    virtual std::string check(const std::string& key, const std::string& value) const = 0;
    // Writes only these keys through the page (the page keeps its other settings and locks).
    virtual bool write(const KeyValues& changes) = 0;
};

using Providers = std::vector<std::unique_ptr<SectionProvider>>;

struct PrinterFacts {
    std::string model;
    std::string firmware;
};

// Reads every page of the menu mode; pages that do not answer are left out. A page that answers
// with a value that is not valid refuses the whole profile: nothing, with `error` naming the keys.
std::optional<Profile> saveProfile(Providers& providers, const PrinterFacts& facts, int menuMode, std::string& error);

// Refuses, before anything is written, a profile from another model or menu mode, or with a
// section or key no page of this menu mode has, or a value its page would not take.
std::optional<ProfileError> checkProfile(const Profile& profile, Providers& providers, const PrinterFacts& facts,
                                         int menuMode);

struct KeyDiff {
    std::string section;
    std::string key;
    std::string printer;  // what the printer reports; "(no answer)" or "(not valid: ...)" when none
    std::string profile;
};
// The keys whose printer value is not the profile's, in profile order.
std::vector<KeyDiff> diffProfile(const Profile& profile, Providers& providers, int menuMode);

enum class KeyOutcome { Applied, Unchanged, Failed, Skipped };
const char* outcomeName(KeyOutcome outcome);
struct KeyResult {
    std::string section;
    std::string key;
    KeyOutcome outcome;
    std::string detail;  // why it failed or was skipped
};
struct ApplyReport {
    std::vector<KeyResult> keys;
    int applied() const;
    bool failed() const;
};
// Writes only what differs, page by page, then reads each page back and checks every key it
// wrote. Identity sections are skipped unless `includeIdentity`. A page whose write or read-back
// fails stops the apply: its keys and those of later pages are reported failed or not written.
ApplyReport applyProfile(const Profile& profile, Providers& providers, int menuMode, bool includeIdentity);

}  // namespace velmora::profile
