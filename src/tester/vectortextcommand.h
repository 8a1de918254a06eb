// The vector text builder: one "V" command in the printer's scalable font.
#pragma once

#include "tester/tavlcommands.h"
#include "tester/testerbuilder.h"

namespace velmora::tester {

class CVectorTextCommand : public TesterBuilder {
public:
    explicit CVectorTextCommand(app::ToolContext& ctx);

    std::string InsertText() const override;
    const VectorText& values() const { return values_; }

    void OnTestPrint();

protected:
    bool OnInitDialog() override;
    void DoDataExchange(ui::DataExchange& dx) override;
    bool PrepareInsert() override;

private:
    VectorText values_;
    int font_ = -1;
};

}  // namespace velmora::tester
