// "Find..." in velmora's real window: with the printer disconnected, the user types a loopback
// network, agrees to the search, and the address and port of the printer chosen reach the panel.
#include <gtest/gtest.h>

#include <QListWidget>

#include "resources/templates_fleet.h"
#include "resources/templates_main.h"
#include "support/processes.h"
#include "windowdriver.h"

namespace velmora::testing {
namespace {

using namespace resources;

TEST(WindowFind, TheChosenPrintersAddressReachesThePanel) {
    SimProcess printer({"--listen", "127.0.0.3", "--model", "LX-FOUND"});
    ASSERT_FALSE(printer.address.empty());
    const std::string port = printer.address.substr(printer.address.rfind(':') + 1);
    MainWindowOnSim w(IDC_MAIN_ETHERNET, MainWindowOnSim::Over::Tcp);
    press(w.window(), IDC_MAIN_DISCONNECT);
    typeInto(w.window(), IDC_MAIN_TCPPORT, QString::fromStdString(port));

    std::string asked;
    int listed = 0;
    std::string first;
    whenToolOpens([&](QWidget* find) {
        EXPECT_EQ(shownText(find, IDC_FIND_PORT), port);
        typeInto(find, IDC_FIND_SUBNET, "127.0.0.3/32");
        answerMessage(&asked, QMessageBox::Yes);
        press(find, IDC_FIND_SEARCH);
        EXPECT_TRUE(allAnswered());
        if (auto* list = controlAs<QListWidget>(find, IDC_FIND_LIST)) {
            listed = list->count();
            if (listed) first = list->item(0)->text().toStdString();
        }
        press(find, ui::IDOK);
    });
    press(w.window(), IDC_MAIN_FIND);
    EXPECT_TRUE(allAnswered());
    EXPECT_EQ(asked.rfind("Search the one address of 127.0.0.3/32 for printers on port " + port, 0), 0u) << asked;
    EXPECT_EQ(listed, 1);
    EXPECT_EQ(first, "127.0.0.3:" + port + "   LX-FOUND   V1.00");
    EXPECT_EQ(shownText(w.window(), IDC_MAIN_IP), "127.0.0.3");
    EXPECT_EQ(shownText(w.window(), IDC_MAIN_TCPPORT), port);
}

}  // namespace
}  // namespace velmora::testing
