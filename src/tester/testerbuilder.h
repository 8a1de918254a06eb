// What every builder dialog of the command tester shares: the insert loop's two flags, the
// command text it hands to the tester, spins that write whole numbers into their edit boxes,
// range-checked numeric fields, and the refusal of quoted text that would end its command.
#pragma once

#include <string>

#include "app/toolcontext.h"
#include "tester/builderforms.h"
#include "ui/dataexchange.h"
#include "ui/dialog.h"

namespace velmora::tester {

class TesterBuilder : public ui::Dialog {
public:
    TesterBuilder(app::ToolContext& ctx, const ui::DialogTemplate& tmpl);

    bool insertRequested() const { return insertRequested_; }
    void clearInsertRequest() { insertRequested_ = false; }
    bool restored() const { return restored_; }
    // The lines "Insert to label" hands to the tester, each followed by CR LF.
    virtual std::string InsertText() const = 0;
    // Shows the builder modally; a builder shown before opens again from the values it keeps.
    int ShowModal();

protected:
    // The user pressed "Insert to label": pull, let the builder save what it must, set the flags,
    // push, and close with the cancel result so the tester inserts and reopens it.
    void OnInsertToLabel();
    // Saves what is not exchanged automatically; false keeps the builder open (nothing inserted).
    virtual bool PrepareInsert() { return true; }
    // The spin `spinId` steps the edit `editId` through lo..hi in whole numbers, going on at the
    // other end past either one when it wraps.
    enum class Ends { Stop, Wrap };
    void bindSpin(int spinId, int editId, int lo, int hi, Ends ends = Ends::Stop);
    void setSpinRange(int spinId, int lo, int hi);
    // Puts each bound spin at the number its edit shows (after a push).
    void syncSpins();
    // Pushes the fields, then the spins.
    void push();
    // Refuses text that would end its quoted field, with a message; true when it is fine.
    bool quotedFieldFits(const std::string& text);
    // Writes `text` for a test print; the port object reports a failure itself.
    void writeTestPrint(const std::string& text);
    void openConverter();

    app::ToolContext& ctx_;
    bool restored_ = false;
    bool insertRequested_ = false;

private:
    struct SpinBinding {
        int spin, edit;
    };
    std::vector<SpinBinding> spins_;
};

// Numeric fields refused beyond what the command can carry, with the range message; a value
// beyond the integer type is refused the same way, never converted.
void exchangeInt(ui::DataExchange& dx, int id, int& value, int lo, int hi);
void exchangeReal(ui::DataExchange& dx, int id, double& value, double lo, double hi);
// Real positions whose only bound is the command's integer.
void exchangePosition(ui::DataExchange& dx, int id, double& value);

// The item text at a list's selection ("" for none).
std::string selectedText(const ui::Dialog& dialog, int listId);

}  // namespace velmora::tester
