// The native "Hardware Info" page: three identity strings the printer keeps (hardware version,
// serial number, user-defined printer ID), each with its own Get, Set and Initialize.
#pragma once

#include <array>
#include <string>

#include "app/toolcontext.h"
#include "ui/dialog.h"

namespace velmora::settings {

enum Identity { kHardwareVersion = 0, kSerialNumber, kPrinterId, kIdentityCount };

class CHardwareInfoSetting : public ui::Dialog {
  public:
    explicit CHardwareInfoSetting(app::ToolContext& ctx);

    // The printer stores a Set or Initialize before it takes the next command.
    static constexpr unsigned kStoreWaitMs = 5700;
    // The whole "^MBY" command must fit the printer's 31-byte command area.
    static constexpr std::size_t kCommandRoom = 31;

    struct IdentityRules {
        int limit;
        const char* getCommand;
        unsigned getWaitMs;
        std::size_t readLimit;
        int prefix, empty, setOk, setFailed, initOk, initFailed, tooLong;
    };
    static const std::array<IdentityRules, kIdentityCount> kRules;

    std::array<std::string, kIdentityCount> texts;

    void OnGet(Identity which);
    void OnSet(Identity which);
    void OnInitialize(Identity which);
    void OnTextChange(Identity which);

  protected:
    bool OnInitDialog() override;
    void DoDataExchange(ui::DataExchange& dx) override;

  private:
    app::ToolContext& ctx_;
};

}  // namespace velmora::settings
