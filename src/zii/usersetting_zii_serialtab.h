// The ZII serial interface page: reads the printer's serial parameters with a setting query and
// writes them with one saved "^SC" command; they take effect when the printer is restarted.
#pragma once

#include <array>
#include <string>
#include <string_view>

#include "app/toolcontext.h"
#include "ui/dialog.h"

namespace velmora::zii {

// The five lists in page order.
enum SerialField {
    kBaudField = 0,
    kDataLengthField,
    kParityField,
    kStopBitField,
    kProtocolField,
    kSerialFieldCount
};

// List positions a serial-settings reply names, one per field, -1 where a field is missing or
// not recognised. The reply's text before its first digit is skipped, then it is split at commas
// with empty fields skipped; fields after the fifth are ignored.
std::array<int, kSerialFieldCount> parseSerialReply(std::string_view reply);

// The whole "^SC" text for the entry texts of the five lists, CR LF included.
std::string serialSetCommand(const std::string& baud, const std::string& dataLength,
                             const std::string& parity, const std::string& stopBit,
                             const std::string& protocol);

class CUserSetting_ZII_SerialTab : public ui::Dialog {
  public:
    explicit CUserSetting_ZII_SerialTab(app::ToolContext& ctx);

    void OnGet();
    void OnSet();
    void OnDefaultSetting();

    static constexpr int kSerialQuery = 11;
    static constexpr unsigned kReplyWaitMs = 30;
    static constexpr unsigned kAfterReadWaitMs = 30;
    static constexpr int kMsgSetSucceeded = 222;
    static constexpr int kMsgRestartPrinter = 223;
    static constexpr int kMsgSetFailed = 225;
    // "Please, select ..." for an empty list, one per field in page order.
    static constexpr std::array<int, kSerialFieldCount> kMsgSelectField = {276, 277, 278, 279, 280};
    // Control ids of the five lists in page order.
    static const std::array<int, kSerialFieldCount> kListIds;

    // Bound fields: list positions, -1 for none.
    std::array<int, kSerialFieldCount> positions{-1, -1, -1, -1, -1};

  protected:
    bool OnInitDialog() override;
    void DoDataExchange(ui::DataExchange& dx) override;

  private:
    void enableEditing();

    app::ToolContext& ctx_;
};

}  // namespace velmora::zii
