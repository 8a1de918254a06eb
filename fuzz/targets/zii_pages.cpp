// The ZII setting pages as a user drives them against a printer whose replies are the input: Get
// on the basic, advanced and serial pages (every setting query, the lock status), then Set with
// whatever the replies put on the pages. Nothing a printer answers may crash a page, and what a
// Get puts in a list is one of its entries.
#include <string>

#include "app/toolcontext.h"
#include "fuzzcheck.h"
#include "fuzzlink.h"
#include "fuzztargets.h"
#include "ui/testhost.h"
#include "zii/usersetting_zii_advancedtab.h"
#include "zii/usersetting_zii_basictab.h"
#include "zii/usersetting_zii_serialtab.h"

namespace velmora::fuzz {

int fuzzOneZiiPages(const std::uint8_t* data, std::size_t size) {
    FuzzLink link(data, size);
    ui::TestHost host;
    app::ToolContext ctx{link.comm, link.clock, host};

    zii::CUserSetting_ZII_BasicTab basic(ctx);
    basic.Create();
    basic.OnGetFromPrinter();
    fuzzCheck(basic.repliesReceived() >= 0 && basic.repliesReceived() <= basic.kRepliesPerGet,
              "more replies than queries");
    basic.OnSetToPrinter();

    zii::CUserSetting_ZII_AdvancedTab advanced(ctx);
    advanced.Create();
    advanced.OnGetFromPrinter();
    advanced.OnSetToPrinter();

    zii::CUserSetting_ZII_SerialTab serial(ctx);
    serial.Create();
    serial.OnGet();
    for (int i = 0; i < zii::kSerialFieldCount; ++i) {
        const int pos = serial.positions[i];
        fuzzCheck(pos >= -1 && pos < serial.control(serial.kListIds[i]).count(),
                  "a serial list past its end");
    }
    serial.OnSet();
    return 0;
}

}  // namespace velmora::fuzz
