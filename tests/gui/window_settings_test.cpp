// The settings tools in velmora's real window on a simulated printer: the user-setting manager
// (no busy cursor while the user works in it, and a profile saved from it), print quality, the
// printer tools, the calibration (refused on Ethernet), and the connection doctor opened by name.
#include <gtest/gtest.h>

#include <QApplication>
#include <QTabBar>
#include <QTest>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "app/dialogcatalog.h"
#include "profile/profilepages.h"
#include "qtapp.h"
#include "resources/stringtable.h"
#include "resources/templates_calibration.h"
#include "resources/templates_doctor.h"
#include "resources/templates_main.h"
#include "resources/templates_profile.h"
#include "resources/templates_settings.h"
#include "resources/templates_shell.h"
#include "resources/templates_zii_tools.h"
#include "ui/testhost.h"
#include "windowdriver.h"

namespace velmora::testing {
namespace {

using namespace resources;

std::string readAll(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

TEST(WindowUserSettings, NoBusyCursorWhileOpenAndTheProfileIsSaved) {
    profile::installProfileService();
    MainWindowOnSim w(IDC_MAIN_ETHERNET, MainWindowOnSim::Over::Tcp);
    const std::string profilePath =
        (std::filesystem::path(tempFile("marker", "")).parent_path() / "saved.ini").string();
    std::filesystem::remove(profilePath);
    w.openTool(IDC_MENU_USER_SETTING, [&](QWidget* tool) {
        EXPECT_EQ(QApplication::overrideCursor(), nullptr);

        // The Others page reads the model.
        auto* tabs = controlAs<QTabBar>(tool, IDC_USERSETTING_TAB);
        ASSERT_NE(tabs, nullptr);
        ASSERT_EQ(tabs->count(), 6);
        QTest::mouseClick(tabs, Qt::LeftButton, {}, tabs->tabRect(5).center());
        std::string said;
        answerMessage(&said);
        press(tool, IDC_PI_GET);
        EXPECT_EQ(said, LoadString(151));
        const std::string model =
            QString::fromStdString(shownText(tool, IDC_PI_MODEL)).trimmed().toStdString();
        EXPECT_FALSE(model.empty());

        answerFile(profilePath);
        answerMessage(&said);
        press(tool, IDC_USERSETTING_SAVE_PROFILE);
        EXPECT_EQ(said.rfind("Saved ", 0), 0u) << said;
        EXPECT_NE(readAll(profilePath).find(model), std::string::npos);
    });
}

TEST(WindowZiiTools, PrintQualityAndPrinterTool) {
    MainWindowOnSim w(IDC_MAIN_ETHERNET);
    w.openTool(IDC_ZII_PRINT_QUALITY, [&](QWidget* tool) {
        press(tool, IDC_ZQ_MANUAL);
        chooseItem(tool, IDC_ZQ_SPEED, 2);
        chooseItem(tool, IDC_ZQ_DARKNESS, 3);
        press(tool, IDC_ZQ_PRINT);
        const std::string sample = w.received();
        EXPECT_NE(sample.find("^XA"), std::string::npos) << sample;
        EXPECT_NE(sample.find("^XZ"), std::string::npos) << sample;
    });
    w.openTool(IDC_ZII_PRINTER_TOOL, [&](QWidget* tool) {
        press(tool, IDC_ZT_FEED);
        EXPECT_FALSE(w.received().empty());
    });
}

TEST(WindowCalibration, RefusedOnEthernetAndSampledOnSerial) {
    {
        MainWindowOnSim w(IDC_MAIN_ETHERNET);
        std::string said;
        answerMessage(&said);
        press(w.window(), IDC_MENU_CALIBRATION);
        EXPECT_EQ(said, LoadString(219));
    }
    MainWindowOnSim w(IDC_MAIN_SERIAL);
    w.openTool(IDC_MENU_CALIBRATION, [&](QWidget* tool) {
        press(tool, IDC_CAL_CHECK);
        EXPECT_FALSE(w.received().empty());
        EXPECT_NE(shownText(tool, IDC_CAL_VALUE_FIRST), "");
        press(tool, IDC_CAL_SAVE);
        EXPECT_FALSE(w.received().empty());
    });
}

TEST(WindowDiagnose, OpenedByNameItExaminesTheLinkItWasGiven) {
    qtApp();
    SimLink link("ETHERNET");
    link.comm.socket.SetTarget("127.0.0.1", 45123);  // as --tcp 127.0.0.1:45123 sets it
    ui::TestHost host;
    app::ToolContext ctx{link.comm, link.clock, host};
    auto dialog = app::findDialog("diagnose")->make(ctx);
    gui::QtRenderer renderer(*dialog);
    EXPECT_EQ(shownText(renderer.widget(), IDC_DOCTOR_TARGET), "Examined: Ethernet 127.0.0.1:45123");
}

}  // namespace
}  // namespace velmora::testing
