// A poll: the link's failures become the reading's "why", never a message on the terminal.
#include "cli/printerpoll.h"

#include <system_error>

#include "cli/escapes.h"
#include "link/comm.h"
#include "settings/printerinfoops.h"
#include "status/statusops.h"

namespace velmora::cli {

namespace {

// The link's messages (connect failed, port error) are the monitor's to word, not a user's box.
class QuietMessages final : public link::LinkMessages {
  public:
    void showMessage(int stringId) override { last = stringId; }
    int last = 0;
};

std::string openWhy(const link::CComm& comm) {
    const auto& failure = comm.openFailure();
    const std::string what =
        comm.kind == link::kEthernet ? "cannot connect" : "cannot open " + failure.device;
    return failure.error ? what + ": " + std::generic_category().message(failure.error) : what;
}

const settings::InfoFact* infoFact(const std::string& key) {
    for (const settings::InfoFact& fact : settings::printerInfoFacts())
        if (key == fact.name) return &fact;
    return nullptr;
}

void takeCounters(const app::Outcome& outcome, fleet::PollReading& r) {
    for (const app::ReadValue& v : outcome.values) {
        r.countersAnswered = r.countersAnswered || v.replied;
        const settings::InfoFact* fact = infoFact(v.key);
        if (!v.valid || !fact || !fact->suffix) continue;
        const std::string number = v.text.substr(0, v.text.find(' '));
        std::string unit = fact->suffix;
        unit.erase(0, unit.find_first_not_of(' '));
        r.counters.push_back({v.key, unit, std::stoull(number)});
    }
}

}  // namespace

fleet::PollReading pollPrinter(const CliOptions& printer, const PollAsk& ask,
                               platform::DeviceFactory& devices, platform::Clock& clock) {
    fleet::PollReading r;
    r.time = clock.wallNow();
    const std::uint64_t start = clock.nowMs();
    QuietMessages messages;
    link::CComm comm(devices, clock, messages);
    frontend::configureLink(comm, printer);
    auto finish = [&]() -> fleet::PollReading {
        comm.Close();
        comm.CloseTcp();
        r.took = std::chrono::milliseconds(clock.nowMs() - start);
        return r;
    };
    if (!comm.Open()) {
        r.why = openWhy(comm);
        return finish();
    }
    const status::StatusQuery& query = status::cpQuery();
    const app::Outcome status = status::queryStatus(comm, clock, query);
    const app::ReadValue* v = status.find(status::kStatusKey);
    r.up = v && v->raw.size() == query.length;
    if (!r.up) {
        r.why = !v           ? "the status query could not be sent"
                : v->replied ? "no whole reply to the status query: " + hexBytes(v->raw)
                             : "no answer to the status query";
        return finish();
    }
    r.statusValid = v->valid;
    if (r.statusValid) {
        const auto bytes = status::replyBytes(*v);
        for (const status::StatusBit& bit : query.bits)
            r.flags.push_back({bit.name, (bytes[static_cast<std::size_t>(bit.byte)] & bit.mask) != 0});
    } else {
        r.why = v->why + ": " + hexBytes(v->raw);
    }
    if (ask.counters) {
        r.countersAsked = true;
        takeCounters(settings::readPrinterCounters(comm, clock), r);
    }
    if (ask.facts) {
        const app::Outcome facts = settings::readPrinterFacts(comm, clock);
        if (const app::ReadValue* model = facts.find("model"); model && model->valid) r.model = model->text;
        if (const app::ReadValue* firmware = facts.find("firmware"); firmware && firmware->valid)
            r.firmware = firmware->text;
    }
    return finish();
}

}  // namespace velmora::cli
