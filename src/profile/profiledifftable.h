// The profile's diff table: what differs between a profile and the printer, shown before anything
// is written ("Apply" then writes it), and the per-key results after an apply.
#pragma once

#include <vector>

#include "app/profileservice.h"
#include "app/toolcontext.h"
#include "ui/dialog.h"

namespace velmora::profile {

class CProfileDiffTable : public ui::Dialog {
  public:
    enum class Mode { Compare, ConfirmApply, Results };
    explicit CProfileDiffTable(app::ToolContext& ctx);

    void setRows(const std::vector<app::ProfileRow>& rows, Mode mode);
    // One list line: the columns padded so the table reads as one.
    static std::string rowText(const app::ProfileRow& row, Mode mode);

  protected:
    bool OnInitDialog() override;

  private:
    std::vector<app::ProfileRow> rows_;
    Mode mode_ = Mode::Compare;
};

}  // namespace velmora::profile
