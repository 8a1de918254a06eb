// The character-set test: labels that print every character of a code table, or the characters
// that differ between the national sets, in a bitmap or the vector font.
#pragma once

#include <string>
#include <vector>

#include "tester/testerbuilder.h"
#include "tester/testerformat.h"
#include "tester/testerops.h"

namespace velmora::tester {

class CCharacterSetCommand : public ui::Dialog {
public:
    explicit CCharacterSetCommand(app::ToolContext& ctx);

    void OnBitmapFont();
    void OnVectorFont();
    void OnUnder80();
    void OnOver80();
    void OnAllTables();
    void OnInternational();

protected:
    bool OnInitDialog() override;
    void DoDataExchange(ui::DataExchange& dx) override;

private:
    CharsetFont font() const;
    void setSizes(int lo, int hi, int value, const char* hLabel, const char* vLabel, bool fontList);
    void print(CharsetTest test);

    app::ToolContext& ctx_;
    int set_ = 0, table_ = 0, fontType_ = 0;
    double x_ = 20, y_ = 20;
    std::string font_ = "3";
    int hSize_ = 1, vSize_ = 1;
    std::string hLabel_ = "H Multi", vLabel_ = "V Multi";
};

}  // namespace velmora::tester
