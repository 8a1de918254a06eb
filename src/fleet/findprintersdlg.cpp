// The window's printer search.
#include "fleet/findprintersdlg.h"

#include <charconv>

#include "app/dialogcatalog.h"
#include "fleet/networksearch.h"
#include "platform/netscan.h"
#include "resources/messages.h"
#include "resources/stringtable.h"
#include "resources/templates_fleet.h"

namespace velmora::fleet {

using namespace resources;

std::string foundLine(const FoundPrinter& printer) {
    std::string line = printer.host + ":" + std::to_string(printer.port);
    line += "   " + (printer.model.empty() ? std::string("(model unknown)") : printer.model);
    if (!printer.firmware.empty()) line += "   " + printer.firmware;
    return line;
}

CFindPrintersDlg::CFindPrintersDlg(app::ToolContext& ctx, unsigned port)
    : ui::Dialog(ctx.host, FindPrintersTemplate()),
      proposals(proposedSubnets(platform::localIpv4Addresses())),
      ctx_(ctx),
      port_(port) {}

bool CFindPrintersDlg::OnInitDialog() {
    on(ui::Event::Clicked, IDC_FIND_SEARCH, [this] { OnSearch(); });
    on(ui::Event::SelChange, IDC_FIND_LIST, [this] { control(ui::IDOK).enable(control(IDC_FIND_LIST).curSel() >= 0); });
    ui::Control& subnets = control(IDC_FIND_SUBNET);
    for (const Ipv4Subnet& s : proposals) subnets.addItem(s.text());
    if (!proposals.empty()) subnets.setText(proposals.front().text());
    control(IDC_FIND_PORT).setText(std::to_string(port_));
    control(IDC_FIND_SUMMARY).setText(LoadString(proposals.empty() ? msg::kFindNoNetwork : msg::kFindChoose));
    control(ui::IDOK).enable(false);
    return true;
}

void CFindPrintersDlg::OnSearch() {
    std::string error;
    const auto subnet = parseSubnet(control(IDC_FIND_SUBNET).text(), error);
    if (!subnet) {
        host().message(error);
        return;
    }
    const std::string portText = control(IDC_FIND_PORT).text();
    unsigned port = 0;
    const auto [end, ec] = std::from_chars(portText.data(), portText.data() + portText.size(), port);
    if (portText.empty() || ec != std::errc() || end != portText.data() + portText.size() || port == 0 ||
        port > 65535) {
        host().message(LoadString(msg::kFindBadPort));
        return;
    }
    // Other makes' printers print what comes to their raw port: nothing is sent unasked.
    const std::size_t count = subnet->hosts().size();
    const std::string ask = app::FilledString(
        msg::kFindAsk, {(count == 1 ? std::string("the one address") : "the " + std::to_string(count) + " addresses"),
                        subnet->text(), std::to_string(port)});
    if (host().messageBox(ask, dialogTemplate().caption, ui::Icon::Question, ui::Buttons::YesNo) != ui::IDYES) return;

    DiscoveryReport report;
    {
        ui::WaitCursor wait(host());
        searchNetwork({{*subnet}, port}, ctx_.comm.devices(), ctx_.clock, report);
    }
    showResults(report);
}

void CFindPrintersDlg::showResults(const DiscoveryReport& report) {
    found = report.printers;
    ui::Control& list = control(IDC_FIND_LIST);
    list.resetContent();
    for (const FoundPrinter& p : found) list.addItem(foundLine(p));
    if (!found.empty()) list.setCurSel(0);
    control(ui::IDOK).enable(!found.empty());
    std::string summary = report.summary.empty() ? std::string() : report.summary.front();
    if (!report.others.empty()) summary += "\n" + report.others.front() + (report.others.size() > 1 ? ", ..." : "");
    control(IDC_FIND_SUMMARY).setText(summary);
}

void CFindPrintersDlg::OnOK() {
    const int chosen = control(IDC_FIND_LIST).curSel();
    if (chosen < 0 || chosen >= static_cast<int>(found.size())) return;
    chosenHost = found[chosen].host;
    chosenPort = found[chosen].port;
    EndDialog(ui::IDOK);
}

namespace {
// The pictures propose a documentation network rather than the drawing machine's own, and show
// a search's results without searching.
void pictureResults(CFindPrintersDlg& d) {
    DiscoveryReport report;
    for (const auto& [host, model] : {std::pair{"192.168.1.20", "LX-12"}, std::pair{"192.168.1.31", ""}}) {
        FoundPrinter p;
        p.host = host;
        p.port = 9100;
        p.model = model;
        p.firmware = *model ? "V1.00" : "";
        report.printers.push_back(p);
    }
    report.summary.push_back(
        "192.168.1.0/24 on port 9100: 254 addresses in 1.1 s: 2 printers, 1 not answering as printers, 3 refused, "
        "248 silent");
    report.others.push_back("192.168.1.40:9100: took the connection, no answer to the status query");
    d.showResults(report);
}

const bool registered = app::registerDialog({
    "find-printers",
    [](app::ToolContext& ctx) {
        auto d = std::make_unique<CFindPrintersDlg>(ctx, 9100);
        d->proposals = {Ipv4Subnet{0xC0A80100u, 24}};
        return d;
    },
    {{"found", [](ui::Dialog& d) { pictureResults(static_cast<CFindPrintersDlg&>(d)); }}},
    {},
});
}  // namespace

}  // namespace velmora::fleet
