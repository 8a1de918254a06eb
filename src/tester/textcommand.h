// The bitmap text builder: one "T" command for the tester's editor or a test label.
#pragma once

#include "tester/tavlcommands.h"
#include "tester/testerbuilder.h"

namespace velmora::tester {

class CTextCommand : public TesterBuilder {
public:
    explicit CTextCommand(app::ToolContext& ctx);

    std::string InsertText() const override;
    const BitmapText& values() const { return values_; }

    void OnTestPrint();
    void OnFindFont();

protected:
    bool OnInitDialog() override;
    void DoDataExchange(ui::DataExchange& dx) override;
    bool PrepareInsert() override;

private:
    BitmapText values_;
    int savedRotation_ = 0;
};

}  // namespace velmora::tester
