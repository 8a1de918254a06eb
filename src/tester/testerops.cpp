// Sending, reading and command files of the command tester and the communication window.
#include "tester/testerops.h"

#include <array>

#include "app/sent.h"
#include "app/typedtext.h"
#include "platform/codepage.h"
#include "platform/userfiles.h"
#include "resources/messages.h"
#include "resources/stringtable.h"
#include "resources/templates_tester.h"
#include "tester/testerbuilder.h"
#include "tester/testerformat.h"
#include "ui/dataexchange.h"

namespace velmora::tester {

namespace {
constexpr std::size_t kLargeText = 1500;  // longer texts wait before each copy
constexpr unsigned kLargeTextPauseMs = 100;
constexpr std::size_t kMaxFileBytes = 64u << 20;
}  // namespace

app::Outcome multiSend(link::CComm& comm, platform::Clock& clock, const std::string& text, int count,
                       const app::Steps& steps) {
    app::Outcome out;
    if (std::string why = app::codePageRefusal(text); !why.empty()) {
        out.written.emplace_back("sends", "0");
        return out.refuse(0, std::move(why), "text");
    }
    const std::string bytes = platform::toCodePage(text);
    int sent = 0;
    for (int i = 1; i <= count; ++i) {
        if (bytes.size() > kLargeText) clock.sleepMs(kLargeTextPauseMs);
        // The port object has reported a failed write; the copies after it would fail too.
        if (!app::wrote(comm.WriteText(text), bytes.size())) break;
        sent = i;
        if (steps) steps({app::Step::Kind::Progress, nullptr, nullptr, static_cast<std::size_t>(i),
                          static_cast<std::size_t>(count)});
    }
    app::noteSent(out.written, "text", bytes);
    out.written.emplace_back("sends", std::to_string(sent));
    if (sent < count) return out.fail(0, "sends");
    return out.finish(0);
}

app::Outcome readFromPrinter(link::CComm& comm) {
    app::Outcome out;
    comm.BeginAction();
    std::array<std::uint8_t, kReceiveReadSize> buffer{};
    const int got = comm.ReadBytes(buffer.data(), buffer.size());
    app::ReadValue v{kReceivedKey, {}, got > 0, got > 0, {}, {}};
    if (got > 0) v.raw.assign(reinterpret_cast<const char*>(buffer.data()), static_cast<std::size_t>(got));
    v.text = v.raw;
    if (!v.valid) v.why = "the printer sent nothing";
    out.values.push_back(std::move(v));
    if (got <= 0) return out.fail(0, kReceivedKey);
    return out.finish(0);
}

app::Outcome printCharsetTest(link::CComm& comm, const CharsetRequest& r) {
    app::Outcome out;
    const int sets = static_cast<int>(resources::kCharsetNames.size());
    const int tables = static_cast<int>(resources::kCodeTableNames.size());
    if (r.set < 0 || r.set >= sets) return out.refuse(0, "choose an international character set", "set");
    if (r.table < 0 || r.table >= tables) return out.refuse(0, "choose a code table", "table");
    std::vector<std::string> writes;
    switch (r.test) {
        case CharsetTest::Under80: writes = charsetUnder80(r.font, r.set, r.table); break;
        case CharsetTest::Over80: writes = charsetOver80(r.font, r.set, r.table); break;
        case CharsetTest::AllTables: writes = charsetAllTables(r.font, r.set, tables); break;
        case CharsetTest::International: writes = charsetInternational(r.font, r.table); break;
    }
    std::size_t done = 0, bytes = 0;
    // The first failed write ends the series (the port object has reported it), so a dead link
    // gives one report, not one per label.
    for (const std::string& w : writes) {
        if (comm.WriteBytes(reinterpret_cast<const std::uint8_t*>(w.data()), w.size()) <= 0) break;
        ++done;
        bytes += w.size();
    }
    out.written.emplace_back("writes", std::to_string(done));
    app::noteSent(out.written, "labels", bytes, writes.empty() ? std::string_view{} : writes.front());
    if (done < writes.size()) return out.fail(0, "writes");
    return out.finish(0);
}

app::Outcome writeTestPrint(link::CComm& comm, const std::string& text) {
    app::Outcome out;
    if (std::string why = app::codePageRefusal(text); !why.empty())
        return out.refuse(0, std::move(why), "label");
    const std::string bytes = platform::toCodePage(text);
    // The port object has reported a failed write.
    if (!app::wrote(comm.WriteText(text), bytes.size())) return out.fail(0, "label");
    app::noteSent(out.written, "label", bytes);
    return out.finish(0);
}

std::optional<std::string> loadCommandFile(const std::string& path, std::string& problem) {
    const auto bytes = platform::readUserFile(path, kMaxFileBytes);
    if (!bytes) {
        problem = ui::fillMessage(resources::LoadString(msg::kCannotReadFile), path);
        return std::nullopt;
    }
    return decodeCommandFile(*bytes, [](std::string_view b) { return platform::fromCodePage(b); });
}

std::string cannotWriteMessage(const std::string& path) {
    return ui::fillMessage(resources::LoadString(msg::kCannotWriteFile), path);
}

}  // namespace velmora::tester
