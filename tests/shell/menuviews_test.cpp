// The menu views: buttons disabled until connect, calibration refused on Ethernet, the ZII
// setting manager under the wait cursor, and tools not built yet opening nothing.
#include <gtest/gtest.h>

#include "app/dialogcatalog.h"
#include "resources/stringtable.h"
#include "resources/templates_shell.h"
#include "shell/main_kdrmenuview.h"
#include "shell/main_ziimenuview.h"
#include "shell/usersettingdialog.h"
#include "support/linkfixture.h"
#include "ui/testhost.h"

namespace velmora::testing {
namespace {

using namespace resources;

class MenuViews : public ::testing::Test {
  protected:
    void SetUp() override {
        kdr.Create();
        zii.Create();
    }
    // Both views, with the ids their template must have.
    struct View {
        shell::MenuView* view;
        std::vector<int> ids;
    };
    std::vector<View> views() {
        return {
            {&kdr, {1008, 1152, 1007, 1009, 1294, 1295, 1022}},
            {&zii, {1008, 1016, 1152, 1007, 1019, 1017, 1020, 1073, 1076, 1077}},
        };
    }

    ScriptedLink l;
    ui::TestHost host;
    app::ToolContext ctx{l.comm, l.clock, host};
    shell::CMain_KDRMenuView kdr{ctx};
    shell::CMain_ZIIMenuView zii{ctx};
};

TEST_F(MenuViews, ButtonsStartDisabledAndEnableButtonsSwitchesAllOfThem) {
    for (auto& [view, ids] : views()) {
        SCOPED_TRACE(view->dialogTemplate().resourceId);
        std::vector<int> buttons;
        for (const auto& c : view->controls())
            if (c->kind() == ui::ControlKind::PushButton) buttons.push_back(c->id());
        EXPECT_EQ(buttons, ids);
        for (const bool on : {false, true, false}) {
            if (view->control(ids[0]).enabled() != on) view->EnableButtons(on);
            for (int id : ids) EXPECT_EQ(view->control(id).enabled(), on) << id;
        }
        // A disabled button does nothing when pressed.
        for (int id : ids) view->click(id);
        EXPECT_TRUE(host.modalTemplates.empty());
        EXPECT_TRUE(host.messages.empty());
    }
}

TEST_F(MenuViews, EnablingBeforeCreationTakesEffectWhenCreated) {
    shell::CMain_ZIIMenuView late{ctx};
    late.EnableButtons(true);
    late.Create();
    EXPECT_TRUE(late.control(IDC_ZII_RFID_WRITE_READ).enabled());
}

TEST_F(MenuViews, CalibrationIsRefusedOnEthernetOnly) {
    const bool catalogued = app::findDialog(app::kToolCalibration) != nullptr;
    struct Case {
        link::InterfaceKind kind;
        bool refused;
    };
    const Case cases[] = {
        {link::kEthernet, true}, {link::kSerial, false}, {link::kParallel, false}, {link::kUsb, false}};
    for (auto& [view, ids] : views()) {
        view->EnableButtons(true);
        for (const auto& c : cases) {
            SCOPED_TRACE(c.kind);
            host.clear();
            l.comm.kind = c.kind;
            view->click(IDC_MENU_CALIBRATION);
            if (c.refused) {
                EXPECT_EQ(host.messageTexts(), std::vector<std::string>{LoadString(219)});
                EXPECT_TRUE(host.modalTemplates.empty());
            } else {
                EXPECT_TRUE(host.messages.empty());
                EXPECT_EQ(host.modalTemplates.size(), catalogued ? 1u : 0u);
            }
        }
    }
}

TEST_F(MenuViews, UserSettingButtonsRunTheManagerModally) {
    // The ZII view shows the wait cursor while the manager is built, and not while it is open.
    struct Case {
        shell::MenuView* view;
        int waitCursorsShown;
    };
    const Case cases[] = {{&kdr, 0}, {&zii, 1}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.view->dialogTemplate().resourceId);
        host.clear();
        host.waitCursorShown = 0;
        c.view->EnableButtons(true);
        int depthWhileOpen = -1;
        bool isManager = false;
        host.modalScripts.push_back([&](ui::Dialog& d) {
            depthWhileOpen = host.waitCursorDepth;
            isManager = dynamic_cast<shell::CUserSettingDialog*>(&d) != nullptr;
            d.click(IDC_USERSETTING_CLOSE);
            return ui::IDOK;
        });
        c.view->click(IDC_MENU_USER_SETTING);
        EXPECT_EQ(host.modalTemplates, std::vector<int>{156});
        EXPECT_TRUE(isManager);
        EXPECT_EQ(depthWhileOpen, 0);
        EXPECT_EQ(host.waitCursorShown, c.waitCursorsShown);
        EXPECT_EQ(host.waitCursorDepth, 0);
    }
}

TEST_F(MenuViews, ToolsNotInTheCatalogOpenNothing) {
    l.comm.kind = link::kSerial;
    for (auto& [view, ids] : views()) {
        view->EnableButtons(true);
        for (const shell::MenuButton& b : view->buttons()) {
            SCOPED_TRACE(b.tool);
            host.clear();
            view->click(b.id);
            EXPECT_EQ(host.modalTemplates.size(), app::findDialog(b.tool) ? 1u : 0u);
        }
        EXPECT_EQ(host.waitCursorDepth, 0);
    }
}

}  // namespace
}  // namespace velmora::testing
