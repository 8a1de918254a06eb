// End to end: a KS5601 "print all" from either two-byte code page print, taken by the in-process
// simulated printer, gives one printed label per lead byte holding every character of its row.
#include <gtest/gtest.h>

#include <memory>
#include <variant>

#include "app/toolcontext.h"
#include "resources/templates_terminal.h"
#include "sim/labelrecord.h"
#include "support/hex.h"
#include "support/simdevice.h"
#include "tester/twobytescodedlg.h"
#include "ui/testhost.h"
#include "zii/zii_twobytescodedlg.h"

namespace velmora::testing {
namespace {

using namespace resources;

TEST(TwoByteToPrinter, Ks5601PrintAllGivesOneLabelPerLeadByte) {
    for (const bool zii : {false, true}) {
        SCOPED_TRACE(zii ? "ZII" : "native");
        SimLink link;
        ASSERT_EQ(link.comm.Open(), 1);
        ui::TestHost host;
        app::ToolContext ctx{link.comm, link.clock, host};
        std::unique_ptr<tester::TwoByteCodeDialog> dlg;
        if (zii)
            dlg = std::make_unique<zii::CZII_TwobytesCodeDlg>(ctx);
        else
            dlg = std::make_unique<tester::CTwobytesCodeDlg>(ctx);
        dlg->Create();
        dlg->click(IDC_TB_ALL);
        dlg->click(IDC_TB_PRINT);
        EXPECT_TRUE(host.messages.empty());

        const auto labels = link.printer.printedLabels();
        ASSERT_EQ(labels.size(), 87u);
        for (std::size_t i = 0; i < labels.size(); ++i) {
            const int lead = 0xA1 + static_cast<int>(i);
            std::string row;
            for (int trail = 0xA1; trail <= 0xFE; ++trail) row += {static_cast<char>(lead), static_cast<char>(trail)};
            const sim::LabelRecord& label = labels[i];
            ASSERT_EQ(label.fields.size(), 1u) << i;
            EXPECT_TRUE(label.errors.empty()) << i;
            if (zii) {
                const auto* text = std::get_if<sim::ZiiTextField>(&label.fields[0]);
                ASSERT_NE(text, nullptr);
                EXPECT_EQ(text->font, '6');
                EXPECT_EQ(text->codePage, 51);
                EXPECT_EQ(text->height, 35);
                EXPECT_EQ(text->width, 35);
                EXPECT_EQ(hex(text->data), hex(row)) << i;
            } else {
                const auto* text = std::get_if<sim::TextField>(&label.fields[0]);
                ASSERT_NE(text, nullptr);
                EXPECT_EQ(text->font, 'd');
                EXPECT_EQ(label.quantity, 1);
                EXPECT_EQ(hex(text->data), hex(row)) << i;
            }
        }
    }
}

}  // namespace
}  // namespace velmora::testing
