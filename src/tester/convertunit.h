// The unit converter: inches, millimetres and printer dots at 8 dots per millimetre.
#pragma once

#include <string>

#include "app/toolcontext.h"
#include "ui/dialog.h"

namespace velmora::tester {

class CConvertUnit : public ui::Dialog {
public:
    explicit CConvertUnit(app::ToolContext& ctx);

    void OnDirection();
    void OnConvert();

protected:
    bool OnInitDialog() override;
    void DoDataExchange(ui::DataExchange& dx) override;

private:
    int direction_ = 0;
    float input_ = 0, result_ = 0;
    std::string inputUnit_ = "inch", resultUnit_ = "mm";
};

}  // namespace velmora::tester
