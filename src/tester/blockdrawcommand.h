// The line and box builder: one "BD" command.
#pragma once

#include "tester/tavlcommands.h"
#include "tester/testerbuilder.h"

namespace velmora::tester {

class CBlockDrawCommand : public TesterBuilder {
public:
    explicit CBlockDrawCommand(app::ToolContext& ctx);

    std::string InsertText() const override;
    const BlockDraw& values() const { return values_; }

    void OnTypeChange();
    void OnTestPrint();

protected:
    bool OnInitDialog() override;
    void DoDataExchange(ui::DataExchange& dx) override;
    bool PrepareInsert() override;

private:
    void enableOptional(int type);

    BlockDraw values_;
    int savedType_ = 0;
};

}  // namespace velmora::tester
