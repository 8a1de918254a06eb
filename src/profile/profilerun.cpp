// Save, diff and apply over the section providers.
#include "profile/profilerun.h"

#include <algorithm>
#include <map>

namespace velmora::profile {

namespace {

SectionProvider* providerFor(Providers& providers, const std::string& section, int menuMode) {
    for (auto& p : providers)
        if (p->section() == section && p->forMenuMode(menuMode)) return p.get();
    return nullptr;
}

std::optional<std::string> valueOf(const KeyValues& values, const std::string& key) {
    for (const auto& [k, v] : values)
        if (k == key) return v;
    return std::nullopt;
}

}  // namespace

std::optional<Profile> saveProfile(Providers& providers, const PrinterFacts& facts, int menuMode, std::string& error) {
    Profile p{facts.model, facts.firmware, menuModeName(menuMode), {}};
    std::string invalid;
    for (auto& provider : providers) {
        if (!provider->forMenuMode(menuMode)) continue;
        auto read = provider->read();
        if (!read) continue;
        for (const auto& [key, what] : read->invalid)
            invalid += (invalid.empty() ? "" : "; ") + provider->section() + "." + key + " (" + what + ")";
        p.sections.push_back({provider->section(), std::move(read->values), {}, 0});
        p.sections.back().lines.assign(p.sections.back().values.size(), 0);
    }
    if (!invalid.empty()) {
        error = "the printer gave no valid value for " + invalid;
        return std::nullopt;
    }
    return p;
}

std::optional<ProfileError> checkProfile(const Profile& profile, Providers& providers, const PrinterFacts& facts,
                                         int menuMode) {
    if (profile.menuMode != menuModeName(menuMode))
        return ProfileError{profile.menuModeLine, "the profile is for the " + profile.menuMode + " menu mode, the session uses " +
                                   menuModeName(menuMode)};
    if (profile.model != facts.model)
        return ProfileError{profile.modelLine, "the profile is for model \"" + profile.model + "\", the printer is \"" + facts.model +
                                   "\""};
    for (const auto& section : profile.sections) {
        SectionProvider* provider = providerFor(providers, section.name, menuMode);
        if (!provider)
            return ProfileError{section.line, "no settings page [" + section.name + "] in the " +
                                                  menuModeName(menuMode) + " menu mode"};
        for (std::size_t i = 0; i < section.values.size(); ++i) {
            const auto& [key, value] = section.values[i];
            if (const std::string why = provider->check(key, value); !why.empty())
                return ProfileError{section.lines.empty() ? 0 : section.lines[i], why};
        }
    }
    return std::nullopt;
}

std::vector<KeyDiff> diffProfile(const Profile& profile, Providers& providers, int menuMode) {
    std::vector<KeyDiff> out;
    for (const auto& section : profile.sections) {
        SectionProvider* provider = providerFor(providers, section.name, menuMode);
        const auto current = provider ? provider->read() : std::nullopt;
        for (const auto& [key, value] : section.values) {
            const auto now = current ? valueOf(current->values, key) : std::nullopt;
            if (now && *now == value) continue;
            const auto bad = current ? valueOf(current->invalid, key) : std::nullopt;
            out.push_back({section.name, key, now ? *now : bad ? "(not valid: " + *bad + ")" : "(no answer)", value});
        }
    }
    return out;
}

const char* outcomeName(KeyOutcome outcome) {
    switch (outcome) {
        case KeyOutcome::Applied:
            return "applied";
        case KeyOutcome::Unchanged:
            return "unchanged";
        case KeyOutcome::Failed:
            return "failed";
        case KeyOutcome::Skipped:
            return "skipped";
    }
    return "";
}

int ApplyReport::applied() const {
    return static_cast<int>(
        std::count_if(keys.begin(), keys.end(), [](const KeyResult& k) { return k.outcome == KeyOutcome::Applied; }));
}

bool ApplyReport::failed() const {
    return std::any_of(keys.begin(), keys.end(), [](const KeyResult& k) { return k.outcome == KeyOutcome::Failed; });
}

ApplyReport applyProfile(const Profile& profile, Providers& providers, int menuMode, bool includeIdentity) {
    ApplyReport report;
    bool stopped = false;
    for (const auto& section : profile.sections) {
        SectionProvider* provider = providerFor(providers, section.name, menuMode);
        auto all = [&](KeyOutcome outcome, const std::string& detail) {
            for (const auto& [key, value] : section.values) report.keys.push_back({section.name, key, outcome, detail});
        };
        if (!provider) {
            all(KeyOutcome::Failed, "no such page");  // checkProfile refuses this before
            continue;
        }
        if (provider->identity() && !includeIdentity) {
            all(KeyOutcome::Skipped, "identity (give --include-identity)");
            continue;
        }
        if (stopped) {
            all(KeyOutcome::Failed, "not written: an earlier page failed");
            continue;
        }
        const auto before = provider->read();
        if (!before) {
            all(KeyOutcome::Failed, "the printer did not answer this page; nothing written");
            stopped = true;
            continue;
        }
        KeyValues changes;
        for (const auto& [key, value] : section.values)
            if (valueOf(before->values, key) != value) changes.emplace_back(key, value);
        if (changes.empty()) {
            all(KeyOutcome::Unchanged, "");
            continue;
        }
        const bool wrote = provider->write(changes);
        // What the printer holds now says which keys took, even after a write that failed midway.
        const auto after = provider->read();
        for (const auto& [key, value] : section.values) {
            const bool changed = valueOf(changes, key).has_value();
            if (!changed) {
                report.keys.push_back({section.name, key, KeyOutcome::Unchanged, ""});
            } else if (after && valueOf(after->values, key) == value) {
                report.keys.push_back({section.name, key, KeyOutcome::Applied, ""});
            } else {
                const auto now = after ? valueOf(after->values, key) : std::nullopt;
                const auto bad = after ? valueOf(after->invalid, key) : std::nullopt;
                report.keys.push_back({section.name, key, KeyOutcome::Failed,
                                       !after ? "not verified: the read-back got no answer"
                                       : now  ? "the printer reports " + *now
                                       : bad  ? "the printer reports no valid value: " + *bad
                                              : "the printer reports nothing"});
            }
        }
        if (!wrote || !after) stopped = true;
    }
    return report;
}

}  // namespace velmora::profile
