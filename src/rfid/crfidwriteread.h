// The RFID write dialog: tag data composed byte by byte in 64 cells (hexadecimal pairs or single
// characters) for EPC or user memory, the tag's passwords changed, its memory locked or
// unlocked; "Write" sends the chosen steps and, for a label tag, prints the label that carries it.
#pragma once

#include <array>
#include <string>

#include "app/toolcontext.h"
#include "resources/templates_rfid.h"
#include "rfid/rfidtagops.h"
#include "ui/dialog.h"

namespace velmora::rfid {

class CRFIDWriteRead : public ui::Dialog {
public:
    explicit CRFIDWriteRead(app::ToolContext& ctx);

    // The passwords the tag has now, which a password change must present. The dialog always
    // sends the tags' initial passwords; the command line may name others.
    std::string currentAccess = kDefaultPassword;
    std::string currentKill = kDefaultPassword;

    int start() const { return start_; }
    int count() const { return countPos_ + 2; }
    int cellLimit() const { return cellLimit_; }
    std::uint32_t lockPayload() const;

    void OnSetData();
    void OnResetData();
    void OnPassword();
    void OnWrite();

protected:
    bool OnInitDialog() override;
    void DoDataExchange(ui::DataExchange& dx) override;

private:
    void OnCellChange(int number);
    void OnMemoryChoice();
    void updateWriteEnable();
    void setCellsEnabled(int from, int to);  // cell numbers, inclusive; others disabled
    // What Write sends, from the controls.
    TagWriteRequest writeRequest() const;
    bool dataSet() const;

    app::ToolContext& ctx_;
    std::string access_, kill_;
    int memory_ = 0, tagKind_ = -1;
    int start_ = 4, countPos_ = 10, format_ = 0;
    std::array<std::string, resources::kRfidCells> cells_;
    int cellLimit_ = 2;
    bool doData_ = false, doLock_ = false, doUnlock_ = false;
    std::array<bool, 20> lockBits_{};  // by payload bit
};

}  // namespace velmora::rfid
