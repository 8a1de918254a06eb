// The identity strings: "^MBX" reads, "^MBY" writes and resets, each store waited out; and the
// page as the command line and profiles read and write it.
#include "settings/identityops.h"

#include <algorithm>

#include "app/settingspage.h"
#include "app/typedtext.h"
#include "platform/codepage.h"
#include "resources/messages.h"
#include "resources/stringtable.h"
#include "settings/nativereplies.h"
#include "settings/settingexchange.h"

namespace velmora::settings {

const std::array<IdentityKey, kIdentityCount>& identityKeys() {
    static const std::array<IdentityKey, kIdentityCount> keys = {{
        {"version", 4, "^MBX0\r\n", 100, 7, msg::kVersionIs, msg::kVersionEmpty, msg::kVersionSetOk, msg::kVersionSetFailed,
         msg::kVersionInitOk, msg::kVersionInitFailed, msg::kVersionTooLong},
        {"serial", 16, "^MBX1\r", 1000, 18, msg::kSerialNumberIs, msg::kSerialNumberEmpty, msg::kSerialNumberSetOk, msg::kSerialNumberSetFailed,
         msg::kSerialNumberInitOk, msg::kSerialNumberInitFailed, msg::kSerialNumberTooLong},
        {"id", 7, "^MBX2\r", 100, 12, msg::kPrinterIdIs, msg::kPrinterIdEmpty, msg::kPrinterIdSetOk, msg::kPrinterIdSetFailed,
         msg::kPrinterIdInitOk, msg::kPrinterIdInitFailed, msg::kPrinterIdTooLong},
    }};
    return keys;
}

std::optional<Identity> findIdentity(const std::string& name) {
    for (int i = 0; i < kIdentityCount; ++i)
        if (name == identityKeys()[i].name) return static_cast<Identity>(i);
    return std::nullopt;
}

namespace {

std::string setCommand(Identity which, const std::string& converted) {
    return "^MBY" + std::to_string(which) + "," + converted + "\r\n";
}

// The Get's exchange (the action is the caller's).
app::ReadValue readIdentity(link::CComm& comm, platform::Clock& clock, Identity which, bool& sent) {
    const IdentityKey& key = identityKeys()[which];
    app::ReadValue v{key.name, {}, false, false, {}, {}};
    const auto reply = queryOnce(comm, clock, key.getCommand, key.getWaitMs, key.readLimit);
    sent = reply.has_value();
    if (!sent) return v;
    v.raw = *reply;
    v.replied = !v.raw.empty();
    const std::string_view body = app::withoutLineEnd(v.raw);
    v.text = platform::fromCodePage(body);
    if (!v.replied) return v;
    if (!app::endsWithLine(v.raw))
        v.why = "no line end: the reply is cut short";
    else if (!app::printable(body))
        v.why = "not printable text";
    else if (characterCount(v.text) > static_cast<std::size_t>(key.limit))
        v.why = "longer than " + std::to_string(key.limit) + " characters";
    else
        v.valid = true;
    return v;
}

// Why a Set would not send `text`: the page's over-the-limit message, or a text for a control
// character; nothing when it would.
app::Result refusalOf(Identity which, const std::string& text) {
    const IdentityKey& key = identityKeys()[which];
    // The converted bytes, not only the character count, decide whether the command fits: a code
    // page with several bytes a character would otherwise overrun the printer's command area.
    const std::string converted = platform::toCodePage(text);
    if (characterCount(text) > static_cast<std::size_t>(key.limit) ||
        setCommand(which, converted.substr(0, 256)).size() > kIdentityCommandRoom)
        return {app::Status::Refused, key.tooLong, {}, key.name};
    if (std::string why = app::codePageRefusal(text); !why.empty())
        return {app::Status::Refused, 0, std::move(why), key.name};
    if (!app::printable(converted))
        return {app::Status::Refused, 0, std::string(key.name) + " can't hold control characters", key.name};
    return {};
}

}  // namespace

std::string identityRefusal(Identity which, const std::string& text) {
    const app::Result r = refusalOf(which, text);
    return r.messageId ? resources::LoadString(r.messageId) : r.message;
}

app::Outcome getIdentity(link::CComm& comm, platform::Clock& clock, Identity which) {
    comm.BeginAction();
    app::Outcome out;
    bool sent = false;
    out.values.push_back(readIdentity(comm, clock, which, sent));
    if (!out.values.front().valid) return out.fail(0, identityKeys()[which].name);
    return out.finish(0);
}

app::Outcome setIdentity(link::CComm& comm, platform::Clock& clock, Identity which, const std::string& text) {
    const IdentityKey& key = identityKeys()[which];
    app::Outcome out;
    if (const app::Result refused = refusalOf(which, text); refused.status == app::Status::Refused) {
        out.result = refused;
        return out;
    }
    const int written = writeRaw(comm, setCommand(which, platform::toCodePage(text)));
    clock.sleepMs(kIdentityStoreWaitMs);
    if (written == 0) return out.fail(key.setFailed, key.name);
    out.written.emplace_back(key.name, text);
    return out.finish(key.setOk);
}

app::Outcome initializeIdentity(link::CComm& comm, platform::Clock& clock, Identity which) {
    const IdentityKey& key = identityKeys()[which];
    app::Outcome out;
    std::string command = "^MBY\x0f,";
    command += static_cast<char>('0' + which);
    command += "\r\n";
    const int written = writeRaw(comm, command);
    clock.sleepMs(kIdentityStoreWaitMs);
    if (written == 0) return out.fail(key.initFailed, key.name);
    out.written.emplace_back(key.name, "initialized");
    return out.finish(key.initOk);
}

namespace {

// The identity strings for the command line and profiles: a read takes the strings asked for as
// one action (a reply after one that did not end is not taken), and a write sets each string
// given, in order, stopping at the first that fails.
class IdentityPage final : public app::SettingsPage {
public:
    std::string section() const override { return "identity"; }
    bool forMenuMode(int menuMode) const override { return menuMode == 0; }
    bool identity() const override { return true; }
    std::vector<std::string> keys() const override {
        std::vector<std::string> out;
        for (const auto& k : identityKeys()) out.push_back(k.name);
        return out;
    }

    app::Outcome read(link::CComm& comm, platform::Clock& clock, const std::vector<std::string>& names) const override {
        app::Outcome out;
        comm.BeginAction();
        ReplyOrder order;
        for (const auto& name : names.empty() ? keys() : names) {
            bool sent = false;
            app::ReadValue v = readIdentity(comm, clock, *findIdentity(name), sent);
            if (!sent) return out.fail(0, name);  // the link failed: the rest would fail the same way
            order.take(v, lineEnded(v.raw, identityKeys()[*findIdentity(name)].readLimit));
            out.values.push_back(std::move(v));
        }
        for (const auto& v : out.values)
            if (!v.valid) return out.fail(0, v.key);
        return out.finish(0);
    }

    std::string check(const std::string& key, const std::string& value) const override {
        const auto which = findIdentity(key);
        return which ? identityRefusal(*which, value) : "no setting " + key;
    }

    app::Outcome write(link::CComm& comm, platform::Clock& clock, const app::KeyValues& changes) const override {
        app::Outcome out;
        comm.BeginAction();
        for (const auto& [key, text] : changes) {
            const auto which = findIdentity(key);
            if (!which) return out.refuse(0, "no setting " + key, key);
            const app::Outcome set = setIdentity(comm, clock, *which, text);
            out.written.insert(out.written.end(), set.written.begin(), set.written.end());
            if (!set.done()) {
                out.result = set.result;
                return out;
            }
        }
        return out.finish(0);
    }
};

const bool registered = app::registerSettingsPage(50, std::make_unique<IdentityPage>());

}  // namespace

}  // namespace velmora::settings
