// The printer's facts, counter resets and USB serial number.
#include "settings/printerinfoops.h"

#include "app/typedtext.h"
#include "platform/codepage.h"
#include "resources/messages.h"
#include "settings/nativereplies.h"
#include "settings/settingexchange.h"

namespace velmora::settings {

const std::array<InfoFact, kInfoFactCount>& printerInfoFacts() {
    static const std::array<InfoFact, kInfoFactCount> facts = {{
        {"model", "^PI0\r\n", nullptr, false},
        {"firmware", "^PI2\r\n", nullptr, false},
        {"motor", "^PI3,0,0\r\n", " meter", false},
        {"motor-permanent", "^PI3,0,1\r\n", " meter", false},
        {"tph", "^PI3,1,0\r\n", " meter", false},
        {"tph-permanent", "^PI3,1,1\r\n", " meter", false},
        {"cutter", "^PI3,2,0\r\n", " times", true},
        {"cutter-permanent", "^PI3,2,1\r\n", " times", true},
    }};
    return facts;
}

namespace {

constexpr std::size_t kMaxCounterDigits = 10;

app::ReadValue factValue(const InfoFact& fact, const std::string& raw) {
    app::ReadValue v{fact.name, {}, !raw.empty(), false, raw, {}};
    const std::string_view body = app::withoutLineEnd(raw);
    if (!fact.suffix) {
        v.text = platform::fromCodePage(body);
        if (!v.replied) return v;
        if (!app::endsWithLine(raw))
            v.why = "no line end: the reply is cut short";
        else if (body.empty() || !app::printable(body))
            v.why = body.empty() ? "empty" : "not printable text";
        else
            v.valid = true;
        return v;
    }
    std::string number(body);
    if (number.empty() && fact.emptyIsZero) number = "0";
    v.text = platform::fromCodePage(number) + fact.suffix;
    if (!v.replied) return v;
    const bool digits = !number.empty() && number.size() <= kMaxCounterDigits &&
                        number.find_first_not_of("0123456789") == std::string::npos;
    if (!app::endsWithLine(raw))
        v.why = "no line end: the reply is cut short";
    else if (!digits)
        v.why = "not a whole number";
    else
        v.valid = true;
    if (v.valid) v.text = std::to_string(std::stoull(number)) + fact.suffix;
    return v;
}

// The queries of the facts from `first` up to `end` (the action is the caller's).
app::Outcome readFacts(link::CComm& comm, platform::Clock& clock, std::size_t first, std::size_t end) {
    app::Outcome out;
    ReplyOrder order;
    for (std::size_t i = first; i < end; ++i) {
        const InfoFact& fact = printerInfoFacts()[i];
        const auto raw = queryOnce(comm, clock, fact.query, kInfoReplyWaitMs, kInfoReplyLimit);
        if (!raw) return out.fail(msg::kInfoGetFailed, fact.name);  // the link failed: the rest would too
        app::ReadValue v = factValue(fact, *raw);
        order.take(v, lineEnded(*raw, kInfoReplyLimit));
        out.values.push_back(std::move(v));
    }
    for (const auto& v : out.values)
        if (!v.valid) return out.fail(msg::kInfoGetFailed, v.key);
    return out.finish(msg::kInfoGetOk);
}

}  // namespace

app::Outcome getPrinterInfo(link::CComm& comm, platform::Clock& clock) {
    comm.BeginAction();
    return readFacts(comm, clock, 0, kInfoFactCount);
}

app::Outcome readPrinterFacts(link::CComm& comm, platform::Clock& clock) {
    comm.BeginAction();
    app::Outcome out = readFacts(comm, clock, 0, 2);
    if (out.done()) out.finish(0);
    return out;
}

app::Outcome readPrinterCounters(link::CComm& comm, platform::Clock& clock) {
    comm.BeginAction();
    app::Outcome out = readFacts(comm, clock, 2, kInfoFactCount);
    if (out.done()) out.finish(0);
    return out;
}

app::Outcome resetCounter(link::CComm& comm, InfoCounter counter) {
    app::Outcome out;
    std::string bytes = "*MBY\x0f";
    bytes += static_cast<char>(counter);
    const char* name = counter == InfoCounter::Motor ? "motor" : counter == InfoCounter::Tph ? "tph" : "cutter";
    if (writeRaw(comm, bytes) == 0) return out.fail(0, name);
    out.written.emplace_back(name, "0");
    return out.finish(0);
}

app::Outcome setUsbSerial(link::CComm& comm, const std::string& text) {
    app::Outcome out;
    // Only the count is checked, in characters, not that they are digits; a control character
    // would end or break the command, so it is no serial number either.
    if (characterCount(text) != static_cast<std::size_t>(kUsbSerialLength) || !app::printable(text))
        return out.refuse(msg::kUsbSerialNot13Digits, {}, "usb-serial");
    if (std::string why = app::codePageRefusal(text); !why.empty())
        return out.refuse(0, std::move(why), "usb-serial");
    if (comm.WriteText("\x1b\x1c\x1d" + text + "\r\n") == 0) return out.fail(0, "usb-serial");
    out.written.emplace_back("usb-serial", text);
    return out.finish(0);
}

}  // namespace velmora::settings
