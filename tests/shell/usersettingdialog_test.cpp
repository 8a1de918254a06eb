// The user-setting manager: the tabs of each menu mode, one page per tab, any change of tab
// (mouse or keyboard alike) showing exactly that tab's page, and "Close".
#include "shell/usersettingdialog.h"

#include <gtest/gtest.h>

#include "app/menumode.h"
#include "resources/stringtable.h"
#include "resources/templates_shell.h"
#include "support/linkfixture.h"
#include "ui/testhost.h"

namespace velmora::testing {
namespace {

using namespace resources;

class UserSettingManager : public ::testing::Test {
  protected:
    void TearDown() override { app::MenuMode = savedMode; }

    ScriptedLink l;
    ui::TestHost host;
    app::ToolContext ctx{l.comm, l.clock, host};
    int savedMode = app::MenuMode;
};

TEST_F(UserSettingManager, TabsAndPagesFollowTheMenuMode) {
    struct Case {
        int mode;
        std::vector<int> titles;
        std::vector<int> pageTemplates;
    };
    const Case cases[] = {
        {0, {240, 241, 242, 243, 244}, {157, 158, 159, 160, 161}},
        // Six tabs, the last "Others" holding the printer information page.
        {1, {240, 245, 246, 247, 241, 271}, {144, 202, 203, 137, 158, 161}},
        {7, {240, 245, 246, 247, 241, 271}, {144, 202, 203, 137, 158, 161}},  // only 0 is native
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.mode);
        app::MenuMode = c.mode;
        shell::CUserSettingDialog dlg(ctx);
        dlg.Create();
        EXPECT_EQ(dlg.caption(), "User Setting Manager");
        std::vector<std::string> titles;
        for (int id : c.titles) titles.push_back(LoadString(id));
        EXPECT_EQ(dlg.control(IDC_USERSETTING_TAB).items(), titles);
        auto& tabs = dlg.tabCtrl();
        ASSERT_EQ(tabs.pageCount(), static_cast<int>(c.pageTemplates.size()));
        std::vector<int> templates;
        for (int i = 0; i < tabs.pageCount(); ++i) {
            templates.push_back(tabs.page(i).dialogTemplate().resourceId);
            EXPECT_EQ(tabs.page(i).parent(), &dlg);
            EXPECT_EQ(dlg.tabPages(IDC_USERSETTING_TAB).at(i), &tabs.page(i));
        }
        EXPECT_EQ(templates, c.pageTemplates);
    }
}

TEST_F(UserSettingManager, EveryTabChangeShowsExactlyItsPage) {
    for (int mode : {0, 1}) {
        SCOPED_TRACE(mode);
        app::MenuMode = mode;
        shell::CUserSettingDialog dlg(ctx);
        dlg.Create();
        auto& tabs = dlg.tabCtrl();
        auto visiblePages = [&] {
            std::vector<int> out;
            for (int i = 0; i < tabs.pageCount(); ++i)
                if (tabs.page(i).visible()) out.push_back(i);
            return out;
        };
        EXPECT_EQ(visiblePages(), std::vector<int>{0});
        EXPECT_EQ(tabs.shownIndex(), 0);
        // Arrow keys step to the neighbour, clicks jump anywhere, and re-selecting the shown
        // tab changes nothing: the window reports all of them as the same tab change.
        const int n = tabs.pageCount();
        std::vector<int> order;
        for (int i = 1; i < n; ++i) order.push_back(i);
        for (int i = n - 2; i >= 0; --i) order.push_back(i);
        order.insert(order.end(), {n - 1, n - 1, 2, 0});
        for (int pos : order) {
            dlg.selectTab(IDC_USERSETTING_TAB, pos);
            EXPECT_EQ(visiblePages(), std::vector<int>{pos});
            EXPECT_EQ(tabs.shownIndex(), pos);
        }
    }
}

TEST_F(UserSettingManager, CloseEndsWithOk) {
    shell::CUserSettingDialog dlg(ctx);
    host.modalScripts.push_back([](ui::Dialog& d) {
        d.click(IDC_USERSETTING_CLOSE);
        return ui::IDCANCEL;  // not reached: the dialog already ended
    });
    EXPECT_EQ(dlg.DoModal(), ui::IDOK);
    EXPECT_EQ(host.modalTemplates, std::vector<int>{156});
}

}  // namespace
}  // namespace velmora::testing
