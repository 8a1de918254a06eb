// The ZII printer tools: each button's command has its effect on the simulated printer, and on
// Ethernet the diagnostics buttons refuse while the others still send.
#include <gtest/gtest.h>

#include <functional>
#include <variant>

#include "resources/stringtable.h"
#include "resources/templates_zii_tools.h"
#include "support/simdevice.h"
#include "ui/testhost.h"
#include "zii/printertool_zii_dlg.h"

namespace velmora::testing {
namespace {

using namespace resources;
using zii::CPrinterTool_ZII_Dlg;

std::string firstText(const sim::LabelRecord& r) {
    const auto* t = r.fields.empty() ? nullptr : std::get_if<sim::ZiiTextField>(&r.fields[0]);
    return t ? t->data : "";
}

struct ToolCase {
    int button;
    std::function<void(link::CComm&)> before;  // what stands before the press
    std::function<void(const sim::Printer&)> check;
};

const std::vector<ToolCase>& toolCases() {
    static const std::vector<ToolCase> cases = {
        {IDC_ZT_CONFIG_LABEL, nullptr,
         [](const sim::Printer& p) {
             ASSERT_EQ(p.printedLabels().size(), 1u);
             EXPECT_EQ(firstText(p.printedLabels()[0]), "PRINTER CONFIGURATION");
         }},
        {IDC_ZT_FEED, nullptr, [](const sim::Printer& p) { EXPECT_EQ(p.media().feeds, 1u); }},
        {IDC_ZT_OBJECT_LIST, nullptr,
         [](const sim::Printer& p) {
             ASSERT_EQ(p.printedLabels().size(), 1u);
             EXPECT_EQ(firstText(p.printedLabels()[0]), "OBJECT LIST *:*.*");
         }},
        {IDC_ZT_CALIBRATE, [](link::CComm& c) { c.WriteText("*MXs,1000,5\r~PH\r\n"); },
         [](const sim::Printer& p) {
             const sim::MediaState m = p.media();
             EXPECT_EQ(m.calibrations, 1u);
             ASSERT_TRUE(m.zii);
             EXPECT_TRUE(m.separates(m.zii->value));
             EXPECT_EQ(m.zii->gapCount, 5);
             EXPECT_FALSE(p.status("gap-error"));
         }},
        {IDC_ZT_FACTORY_DEFAULTS, [](link::CComm& c) { c.WriteText("~SD25\r\n^XA^PR6,6^XZ\r\n^XA^JUS^XZ\r\n"); },
         [](const sim::Printer& p) {
             EXPECT_EQ(p.zii().current.darkness, 15);
             EXPECT_EQ(p.zii().current.printSpeed, 4);
         }},
        {IDC_ZT_RESET, [](link::CComm& c) { c.WriteText("~SD25\r\n~JD\r\n"); },
         [](const sim::Printer& p) {
             EXPECT_EQ(p.zii().current.darkness, 15);  // not saved: lost at the power cycle
             EXPECT_EQ(p.media().resets, 1u);
             EXPECT_FALSE(p.media().diagnostics);
         }},
        {IDC_ZT_DIAGNOSTICS_ON, nullptr, [](const sim::Printer& p) { EXPECT_TRUE(p.media().diagnostics); }},
        {IDC_ZT_DIAGNOSTICS_OFF, [](link::CComm& c) { c.WriteText("~JD\r\n"); },
         [](const sim::Printer& p) { EXPECT_FALSE(p.media().diagnostics); }},
    };
    return cases;
}

TEST(PrinterToolOnSimulator, EachButtonHasItsEffect) {
    for (const ToolCase& c : toolCases()) {
        SCOPED_TRACE(c.button);
        SimLink link;
        ASSERT_EQ(link.comm.Open(), 1);
        if (c.before) c.before(link.comm);
        ui::TestHost host;
        app::ToolContext ctx{link.comm, link.clock, host};
        CPrinterTool_ZII_Dlg dlg(ctx);
        dlg.Create();
        dlg.click(c.button);
        c.check(link.printer);
        EXPECT_TRUE(host.messages.empty());
    }
}

TEST(PrinterToolOnSimulator, OnEthernetOnlyTheDiagnosticsButtonsRefuse) {
    SimLink link("ETHERNET");
    ASSERT_EQ(link.comm.Open(), 1);
    ASSERT_EQ(link.comm.kind, link::kEthernet);
    ui::TestHost host;
    app::ToolContext ctx{link.comm, link.clock, host};
    CPrinterTool_ZII_Dlg dlg(ctx);
    dlg.Create();
    dlg.click(IDC_ZT_DIAGNOSTICS_ON);
    dlg.click(IDC_ZT_DIAGNOSTICS_OFF);
    EXPECT_EQ(host.messageTexts(), std::vector<std::string>(2, LoadString(272)));
    EXPECT_FALSE(link.printer.media().diagnostics);
    dlg.click(IDC_ZT_FEED);
    dlg.click(IDC_ZT_FEED);  // twice is twice
    EXPECT_EQ(link.printer.media().feeds, 2u);
    EXPECT_EQ(host.messages.size(), 2u);
}

}  // namespace
}  // namespace velmora::testing
