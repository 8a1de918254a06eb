// Settings pages as profile sections.
#include "profile/pageprovider.h"

namespace velmora::profile {

std::string describeReply(const app::ReadValue& v) {
    if (!v.replied) return "no reply";
    std::string text;
    for (unsigned char b : v.raw) text += b >= 0x20 && b != 0x7F ? static_cast<char>(b) : '.';
    std::string out = "reply " + app::hexBytes(v.raw) + " (\"" + text + "\")";
    if (!v.why.empty()) out += ": " + v.why;
    return out;
}

namespace {

class PageProvider final : public SectionProvider {
public:
    PageProvider(const app::SettingsPage& page, link::CComm& comm, platform::Clock& clock)
        : page_(page), comm_(comm), clock_(clock) {}
    std::string section() const override { return page_.section(); }
    bool forMenuMode(int menuMode) const override { return page_.forMenuMode(menuMode); }
    bool identity() const override { return page_.identity(); }

    std::optional<PageValues> read() override {
        const app::Outcome got = page_.read(comm_, clock_, {});
        PageValues out;
        bool answered = false;
        for (const auto& v : got.values) {
            answered = answered || v.replied;
            if (page_.readOnly(v.key)) continue;
            if (v.valid)
                out.values.emplace_back(v.key, v.text);
            else if (v.replied)
                out.invalid.emplace_back(v.key, describeReply(v));
        }
        // A page none of whose queries was answered is not on this printer (an encoder missing).
        if (!answered) return std::nullopt;
        // A key with no reply among answered ones is no value either.
        for (const auto& v : got.values)
            if (!v.replied && !page_.readOnly(v.key)) out.invalid.emplace_back(v.key, "no reply");
        return out;
    }

    std::string check(const std::string& key, const std::string& value) const override {
        if (!page_.writable(key)) return "[" + page_.section() + "] has no setting " + key;
        if (const std::string why = page_.check(key, value); !why.empty())
            return "[" + page_.section() + "] has no setting " + key + " that takes " + quotedValue(value) + " (" +
                   why.substr(0, 200) + ")";
        return {};
    }

    bool write(const KeyValues& changes) override { return page_.write(comm_, clock_, changes).done(); }

private:
    const app::SettingsPage& page_;
    link::CComm& comm_;
    platform::Clock& clock_;
};

}  // namespace

std::unique_ptr<SectionProvider> pageProvider(const app::SettingsPage& page, link::CComm& comm,
                                              platform::Clock& clock) {
    return std::make_unique<PageProvider>(page, comm, clock);
}

}  // namespace velmora::profile
