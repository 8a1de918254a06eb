// The RFID tools in velmora's real window on a simulated printer: the encoder's settings read and
// written, tag data typed cell after cell as the focus moves on, a write, and a read of the tag.
#include <gtest/gtest.h>

#include <QApplication>
#include <QLineEdit>
#include <QTest>

#include "resources/stringtable.h"
#include "resources/templates_main.h"
#include "resources/templates_rfid.h"
#include "resources/templates_shell.h"
#include "windowdriver.h"

namespace velmora::testing {
namespace {

using namespace resources;

int cell(int number) { return IDC_RW_CELL_FIRST + number - 1; }

TEST(WindowRfid, ConfigurationGetAndSet) {
    MainWindowOnSim w(IDC_MAIN_ETHERNET);
    w.openTool(IDC_ZII_RFID_SETTING, [&](QWidget* tool) {
        std::string said;
        answerMessage(&said);
        press(tool, IDC_RS_GET);
        EXPECT_EQ(said, LoadString(204));
        EXPECT_FALSE(shownText(tool, IDC_RS_POWER).empty());
        w.received();
        answerMessage(&said);
        press(tool, IDC_RS_SET);
        EXPECT_EQ(said, LoadString(202));
        EXPECT_EQ(w.received().rfind(">RFS,", 0), 0u);
    });
}

TEST(WindowRfid, CellsTypedInARowAreWrittenAndReadBackAndAnotherFormatSendsNothing) {
    MainWindowOnSim w(IDC_MAIN_ETHERNET);
    const std::string data = "300833B2DDD9014000000001";
    w.openTool(IDC_ZII_RFID_WRITE_READ, [&](QWidget* tool) {
        press(tool, IDC_RW_LABEL);
        press(tool, IDC_RW_SET_DATA);
        // Typing goes on from cell to cell as each fills.
        controlWidget(tool, cell(5))->setFocus(Qt::MouseFocusReason);
        typeAtFocus(QString::fromStdString(data));
        for (int n = 5; n <= 16; ++n) EXPECT_EQ(shownText(tool, cell(n)), data.substr(2 * (n - 5), 2)) << n;
        press(tool, IDC_RW_DO_DATA);
        std::string said;
        answerMessage(&said);
        press(tool, IDC_RW_WRITE);
        EXPECT_EQ(said, LoadString(211));
        EXPECT_EQ(w.received(), ">RFW,H,4,12,'" + data + "'\rP1\r");

        // The tag as the printer has it now.
        whenToolOpens([&](QWidget* read) {
            answerMessage(&said);
            press(read, IDC_RR_READ);
            EXPECT_EQ(said, LoadString(200));
            for (int n = 5; n <= 16; ++n)
                EXPECT_EQ(shownText(read, cell(n)), data.substr(2 * (n - 5), 2)) << n;
        });
        press(tool, IDC_RW_POPUP_READ);
        w.received();

        // The format list is open again after a write: pairs of digits are no characters.
        chooseItem(tool, IDC_RW_FORMAT, 1);
        answerMessage(&said);
        press(tool, IDC_RW_WRITE);
        EXPECT_EQ(said, LoadString(209));
        EXPECT_EQ(w.received(), "");
    });
}

}  // namespace
}  // namespace velmora::testing
