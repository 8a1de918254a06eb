// The ZII advanced settings: their table, the page's Get and Set, and the page as the command
// line and profiles read and write it.
#include "zii/ziiadvancedops.h"

#include <algorithm>
#include <memory>

#include "app/settingspage.h"
#include "zii/ziiprotocol.h"

namespace velmora::zii {

const std::array<AdvancedKey, kAdvancedRowCount>& advancedKeys() {
    static const std::array<AdvancedKey, kAdvancedRowCount> keys = {{
        {"media-handling",
         kMediaHandlingQuery,
         {{"tear-off", "T", "^MMT,N"}, {"peel-off", "P", "^MMP,N"}, {"cutter", "C", "^MMC,N"}},
         "^MMA,N"},
        {"feed",
         kMediaFeedQuery,
         {{"next-label", "F", "^MFF,F"},
          {"calibrate", "C", "^MFC,C"},
          {"label-length", "L", "^MFL,L"},
          {"none", "N", "^MFN,N"}},
         "^MFN,N"},
        {"mirror", 0, {{"0", nullptr, "^PMN"}, {"1", nullptr, "^PMY"}}, "^PMN"},
    }};
    return keys;
}

namespace {

int fromReply(const AdvancedKey& key, std::string_view reply) {
    for (std::size_t i = 0; i < key.choices.size(); ++i)
        if (key.choices[i].letter && reply == key.choices[i].letter) return static_cast<int>(i);
    return -1;
}

std::string lineFor(const AdvancedKey& key, int position) {
    if (position < 0 || position >= static_cast<int>(key.choices.size())) return key.noneLine;
    return key.choices[static_cast<std::size_t>(position)].line;
}

std::string expectation(const AdvancedKey& key) {
    std::string letters;
    for (const auto& c : key.choices) letters += (letters.empty() ? "" : ", ") + std::string(c.letter);
    return "one of the letters " + letters;
}

}  // namespace

int choiceOfWord(const AdvancedKey& key, std::string_view word) {
    for (std::size_t i = 0; i < key.choices.size(); ++i)
        if (word == key.choices[i].word) return static_cast<int>(i);
    return -1;
}

int mediaHandlingFromReply(std::string_view reply) { return fromReply(advancedKeys()[kMediaHandlingRow], reply); }
int mediaFeedFromReply(std::string_view reply) { return fromReply(advancedKeys()[kMediaFeedRow], reply); }
std::string mediaHandlingLine(int position) { return lineFor(advancedKeys()[kMediaHandlingRow], position); }
std::string mediaFeedLine(int position) { return lineFor(advancedKeys()[kMediaFeedRow], position); }

app::Outcome getAdvancedSettings(link::CComm& comm, platform::Clock& clock) {
    app::Outcome out;
    comm.BeginAction();
    // Each reply is read into a cleared area: a short reply after a longer one must not be
    // judged together with the older reply's leftover bytes.
    ReplyArea area;
    bool silentBefore = false;
    for (const AdvancedKey& key : advancedKeys()) {
        if (key.query == 0) continue;
        const int got = querySetting(comm, clock, area, key.query, kAdvancedReplyWaitMs);
        // After a failed write the next query is not sent: the link has said so once.
        if (got < 0) return out.fail(0, kLinkStep);
        const int position = fromReply(key, area.text());
        out.values.push_back(settingValue(key.name, got, area,
                                          position < 0 ? std::nullopt : std::optional<std::string>(key.choices[static_cast<std::size_t>(position)].word),
                                          expectation(key), silentBefore));
        silentBefore = silentBefore || got <= 0;
    }
    for (const auto& v : out.values)
        if (!v.valid) return out.fail(0, v.key);
    return out.finish(0);
}

app::Outcome setAdvancedSettings(link::CComm& comm, const AdvancedSetRequest& request) {
    app::Outcome out;
    CommandText text;
    text.beginBlock();
    for (std::size_t row = 0; row < kAdvancedRowCount; ++row)
        if (request.use[row]) text.line(lineFor(advancedKeys()[row], request.choice[row]));
    text.endBlockAndSave();
    if (!text.send(comm)) return out.fail(0, kLinkStep);
    for (std::size_t row = 0; row < kAdvancedRowCount; ++row) {
        const AdvancedKey& key = advancedKeys()[row];
        const int c = request.choice[row];
        if (request.use[row])
            out.written.emplace_back(key.name, c >= 0 && c < static_cast<int>(key.choices.size())
                                                   ? key.choices[static_cast<std::size_t>(c)].word
                                                   : "");
    }
    return out.finish(0);
}

namespace {

// The page for the command line and profiles. Each row stands alone in the block, so a write
// sends only the rows it names and needs nothing read first.
class AdvancedPage final : public app::SettingsPage {
public:
    std::string section() const override { return "zii.advanced"; }
    bool forMenuMode(int menuMode) const override { return menuMode == 1; }
    std::vector<std::string> keys() const override {
        std::vector<std::string> out;
        for (const auto& k : advancedKeys())
            if (k.query != 0) out.push_back(k.name);
        return out;
    }
    bool writable(const std::string& name) const override { return find(name) != nullptr; }

    app::Outcome read(link::CComm& comm, platform::Clock& clock, const std::vector<std::string>& names) const override {
        app::Outcome got = getAdvancedSettings(comm, clock);
        if (stoppedAtFailedWrite(got)) return got;
        return app::selectValues(std::move(got), names);
    }

    std::string check(const std::string& name, const std::string& value) const override {
        const AdvancedKey* key = find(name);
        if (!key) return "no setting " + name;
        if (choiceOfWord(*key, value) >= 0) return {};
        std::string words;
        for (const auto& c : key->choices) words += (words.empty() ? "" : ", ") + std::string(c.word);
        return name + " takes " + words;
    }

    app::Outcome write(link::CComm& comm, platform::Clock&, const app::KeyValues& changes) const override {
        AdvancedSetRequest request;
        for (const auto& [name, value] : changes) {
            if (const std::string why = check(name, value); !why.empty()) return app::Outcome{}.refuse(0, why, name);
            const auto row = static_cast<std::size_t>(find(name) - advancedKeys().data());
            request.use[row] = true;
            request.choice[row] = choiceOfWord(*find(name), value);
        }
        return setAdvancedSettings(comm, request);
    }

private:
    static const AdvancedKey* find(std::string_view name) {
        for (const auto& k : advancedKeys())
            if (name == k.name) return &k;
        return nullptr;
    }
};

const bool registered = app::registerSettingsPage(20, std::make_unique<AdvancedPage>());

}  // namespace

}  // namespace velmora::zii
