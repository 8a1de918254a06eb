// The file transfer and the PCX image manager in velmora's real window on a simulated printer: a
// file without a dot chosen through the file dialog, the bar moving all the way while the file
// goes, and the image buttons that do not use the recall position unhindered by it.
#include <gtest/gtest.h>

#include <QApplication>
#include <QProgressBar>
#include <QTest>

#include "resources/stringtable.h"
#include "resources/templates_download.h"
#include "resources/templates_main.h"
#include "resources/templates_shell.h"
#include "ui/dataexchange.h"
#include "windowdriver.h"

namespace velmora::testing {
namespace {

using namespace resources;

std::string someBytes(std::size_t n) {
    std::string bytes(n, '\0');
    for (std::size_t i = 0; i < n; ++i) bytes[i] = static_cast<char>('A' + i % 23);
    return bytes;
}

TEST(WindowFileTransfer, AFileWithoutADotGoesWholeWithTheBarFilling) {
    const std::string bytes = someBytes(300 * 1024);
    const std::string file = tempFile("firmware", bytes);
    for (const int interface : {IDC_MAIN_ETHERNET, IDC_MAIN_SERIAL}) {
        SCOPED_TRACE(interface == IDC_MAIN_ETHERNET ? "Ethernet" : "serial");
        MainWindowOnSim w(interface);
        w.openTool(IDC_ZII_SEND_FILE, [&](QWidget* tool) {
            answerFile(file);
            press(tool, IDC_FT_BROWSE);
            EXPECT_EQ(shownText(tool, IDC_FT_NAME), "firmware");
            EXPECT_EQ(shownText(tool, IDC_FT_SIZE), std::to_string(bytes.size()) + " Bytes");

            auto* bar = controlAs<QProgressBar>(tool, IDC_FT_PROGRESS);
            ASSERT_NE(bar, nullptr);
            std::vector<int> shown;
            int fullAt = -1;
            QObject::connect(bar, &QProgressBar::valueChanged, bar, [&](int v) {
                shown.push_back(v);
                if (v == bar->maximum()) fullAt = static_cast<int>(shown.size());
            });
            std::string said;
            answerMessage(&said);
            press(tool, IDC_FT_DOWNLOAD);
            EXPECT_EQ(said, LoadString(237));
            EXPECT_TRUE(sameBytes(w.received(), bytes));
            // Up step by step, full once every byte went, then back to the start.
            EXPECT_GT(shown.size(), 5u);
            EXPECT_TRUE(std::is_sorted(shown.begin(), shown.end() - 1));
            EXPECT_EQ(fullAt, static_cast<int>(shown.size()) - 1);
            EXPECT_EQ(shown.back(), 0);
        });
    }
}

TEST(WindowPcx, OnlyImageRecallReadsTheRecallPosition) {
    MainWindowOnSim w(IDC_MAIN_ETHERNET);
    const std::string image = someBytes(3000);
    const std::string file = tempFile("LOGO.pcx", image);
    w.openTool(IDC_MENU_PCX_DOWNLOADER, [&](QWidget* tool) {
        answerFile(file);
        press(tool, IDC_PCX_BROWSE);
        for (int id : {IDC_PCX_STORE_NAME, IDC_PCX_DELETE_NAME, IDC_PCX_RECALL_NAME})
            EXPECT_EQ(shownText(tool, id), "LOGO") << id;

        // An emptied position hinders nothing that does not use it.
        typeInto(tool, IDC_PCX_RECALL_X, "");
        std::string said;
        answerMessage(&said);
        press(tool, IDC_PCX_DOWNLOAD);
        EXPECT_EQ(said, LoadString(146));
        EXPECT_TRUE(sameBytes(w.received(), "IS3000,'LOGO'" + image + "\r\rIR100,100,'LOGO'\rP1\r"));
        press(tool, IDC_PCX_DELETE);
        EXPECT_EQ(w.received(), "ID'LOGO'\r\nII\r\n");
        press(tool, IDC_PCX_INFORMATION);
        EXPECT_EQ(w.received(), "II\r\n");

        // Image Recall wants whole numbers, and the box it refused has the focus.
        answerMessage(&said);
        press(tool, IDC_PCX_RECALL);
        EXPECT_EQ(said, ui::ddx_text::kEnterInteger);
        EXPECT_EQ(w.received(), "");
        EXPECT_TRUE(QTest::qWaitFor(
            [&] { return QApplication::focusWidget() == controlWidget(tool, IDC_PCX_RECALL_X); }, 2000));
        typeInto(tool, IDC_PCX_RECALL_X, "30");
        typeInto(tool, IDC_PCX_RECALL_Y, "40");
        press(tool, IDC_PCX_RECALL);
        EXPECT_EQ(w.received(), "IR30,40,'LOGO'\rP1\r");
    });
}

}  // namespace
}  // namespace velmora::testing
