// The diff table dialog.
#include "profile/profiledifftable.h"

#include <algorithm>

#include "app/dialogcatalog.h"
#include "resources/messages.h"
#include "resources/stringtable.h"
#include "resources/templates_profile.h"

namespace velmora::profile {

namespace {

std::string padded(std::string text, std::size_t width) {
    if (text.size() < width) text.resize(width, ' ');
    return text;
}

}  // namespace

CProfileDiffTable::CProfileDiffTable(app::ToolContext& ctx) : ui::Dialog(ctx.host, resources::ProfileDiffTemplate()) {}

bool CProfileDiffTable::OnInitDialog() {
    ui::Dialog::OnInitDialog();
    on(ui::Event::Clicked, resources::IDC_PD_APPLY, [this] { EndDialog(ui::IDOK); });
    on(ui::Event::Clicked, resources::IDC_PD_CLOSE, [this] { EndDialog(ui::IDCANCEL); });
    setRows(rows_, mode_);
    return true;
}

std::string CProfileDiffTable::rowText(const app::ProfileRow& row, Mode mode) {
    std::string text = padded(row.key, 30) + "  " + padded(row.printer, 16) + "  " + row.profile;
    if (mode == Mode::Results) text = padded(text, 66) + "  " + row.result;
    return text;
}

void CProfileDiffTable::setRows(const std::vector<app::ProfileRow>& rows, Mode mode) {
    rows_ = rows;
    mode_ = mode;
    if (!created()) return;  // OnInitDialog fills the table
    const int summary = mode == Mode::Results ? msg::kProfileResults : rows.empty() ? msg::kProfileNoDifference : msg::kProfileDifferences;
    control(resources::IDC_PD_SUMMARY).setText(resources::LoadString(summary));
    ui::Control& list = control(resources::IDC_PD_LIST);
    list.resetContent();
    list.addItem(rowText({"Setting", "Printer", "Profile", "Result"}, mode));
    for (const auto& row : rows) list.addItem(rowText(row, mode));
    // Apply is offered only where there is something to write and the user has not yet seen it go.
    control(resources::IDC_PD_APPLY).show(mode == Mode::ConfirmApply);
    control(resources::IDC_PD_APPLY).enable(mode == Mode::ConfirmApply && !rows.empty());
}

namespace {
const bool registered = app::registerDialog({
    "profile-diff",
    [](app::ToolContext& ctx) { return std::make_unique<CProfileDiffTable>(ctx); },
    {{"confirm-apply",
      [](ui::Dialog& d) {
          static_cast<CProfileDiffTable&>(d).setRows(
              {{"zii.basic.darkness", "22", "15", ""}, {"zii.basic.lock.speed", "1", "0", ""},
               {"codepage.ics", "France", "U.S.A", ""}},
              CProfileDiffTable::Mode::ConfirmApply);
      }},
     {"results",
      [](ui::Dialog& d) {
          static_cast<CProfileDiffTable&>(d).setRows(
              {{"zii.basic.darkness", "22", "15", "applied"},
               {"zii.basic.speed", "4", "4", "unchanged"},
               {"codepage.ics", "France", "U.S.A", "failed (the printer reports France)"}},
              CProfileDiffTable::Mode::Results);
      }}},
    {},
});
}  // namespace

}  // namespace velmora::profile
