// The copies builder: one "P" print command (quantity, copies).
#pragma once

#include "tester/testerbuilder.h"

namespace velmora::tester {

class CPrinterCopies : public TesterBuilder {
public:
    explicit CPrinterCopies(app::ToolContext& ctx);

    std::string InsertText() const override;
    int quantity() const { return quantity_; }
    int copies() const { return copies_; }

protected:
    bool OnInitDialog() override;
    void DoDataExchange(ui::DataExchange& dx) override;

private:
    int quantity_ = 1, copies_ = 1;
};

}  // namespace velmora::tester
