// The user-setting manager's profile buttons over the installed service: Save Profile, then
// Apply shows the diff table first, writes nothing when it is cancelled, and shows the results.
#include <gtest/gtest.h>

#include <filesystem>

#include "app/menumode.h"
#include "profile/profiledifftable.h"
#include "profile/profilepages.h"
#include "resources/templates_profile.h"
#include "shell/usersettingdialog.h"
#include "sim/zii.h"
#include "support/simdevice.h"
#include "ui/testhost.h"

namespace velmora::testing {
namespace {

using resources::IDC_PD_APPLY;
using resources::IDC_PD_LIST;

TEST(ProfileButtons, ApplyShowsTheDiffTableBeforeWriting) {
    app::MenuMode = 1;
    profile::installProfileService();
    SimLink link("ETHERNET");
    link.comm.socket.SetTarget("127.0.0.1", 9100);
    ASSERT_TRUE(link.comm.Open());
    ui::TestHost host;
    app::ToolContext ctx{link.comm, link.clock, host};
    shell::CUserSettingDialog manager(ctx);
    manager.Create();
    const std::string path = (std::filesystem::temp_directory_path() / ("velmora-manager-" + std::to_string(::getpid()) + ".ini")).string();

    host.fileAnswers.push_back(path);
    manager.click(resources::IDC_USERSETTING_SAVE_PROFILE);
    ASSERT_EQ(host.messageTexts().size(), 1u);
    EXPECT_EQ(host.messageTexts()[0].rfind("Saved 30 settings in 5 sections", 0), 0u) << host.messageTexts()[0];

    link.printer.editZii([](sim::ZiiState& s) { sim::runZiiCommand(s, "~SD22"); });
    std::vector<std::string> table;
    for (int answer : {ui::IDCANCEL, ui::IDOK}) {
        host.fileAnswers.push_back(path);
        host.modalScripts.push_back([&table, answer](ui::Dialog& d) {
            table = d.control(IDC_PD_LIST).items();
            EXPECT_TRUE(d.control(IDC_PD_APPLY).enabled());
            return answer;
        });
        host.modalScripts.push_back([&table](ui::Dialog& d) {
            table = d.control(IDC_PD_LIST).items();
            EXPECT_FALSE(d.control(IDC_PD_APPLY).visible());
            return ui::IDOK;
        });
        manager.click(resources::IDC_USERSETTING_APPLY);
        if (answer == ui::IDCANCEL) {
            ASSERT_EQ(table.size(), 2u);  // the heading and the one setting that differs
            EXPECT_EQ(table[1], profile::CProfileDiffTable::rowText({"zii.basic.darkness", "22", "15", ""},
                                                                profile::CProfileDiffTable::Mode::ConfirmApply));
            EXPECT_EQ(link.printer.zii().current.darkness, 22);  // cancelled: nothing written
            host.modalScripts.clear();
        }
    }
    EXPECT_EQ(link.printer.zii().current.darkness, 15);
    ASSERT_EQ(table.size(), 31u);  // the results: every setting of the profile, the encoder's too
    EXPECT_NE(table[5].find("applied"), std::string::npos) << table[5];
    std::filesystem::remove(path);
    app::setProfileService(nullptr);
}

}  // namespace
}  // namespace velmora::testing
