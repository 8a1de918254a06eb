// The block range, the sizes and the print series of the two-byte code page prints.
#include "tester/twobytecodedialog.h"

#include <algorithm>

#include "resources/templates_terminal.h"
#include "ui/dataexchange.h"

namespace velmora::tester {

using namespace resources;

TwoByteCodeDialog::TwoByteCodeDialog(app::ToolContext& ctx, const ui::DialogTemplate& tmpl)
    : ui::Dialog(ctx.host, tmpl), ctx_(ctx) {}

bool TwoByteCodeDialog::OnInitDialog() {
    on(ui::Event::SelChange, IDC_TB_TABLE, [this] { OnSelchangeTable(); });
    on(ui::Event::Clicked, IDC_TB_ALL, [this] { OnAllBlocks(); });
    on(ui::Event::Clicked, IDC_TB_PRINT, [this] { OnPrintCharacters(); });
    on(ui::Event::Clicked, IDC_TB_CLOSE, [this] { EndDialog(ui::IDOK); });
    all_ = false;
    table_ = 0;
    width_ = height_ = "35";
    setTableTexts();
    tableChosen();
    UpdateData(false);
    return true;
}

void TwoByteCodeDialog::DoDataExchange(ui::DataExchange& dx) {
    dx.CBIndex(IDC_TB_TABLE, table_);
    dx.Text(IDC_TB_START, start_);
    dx.Text(IDC_TB_END, end_);
    dx.Text(IDC_TB_AREA, area_);
    dx.Check(IDC_TB_ALL, all_);
    dx.Text(IDC_TB_WIDTH, width_);
    dx.Text(IDC_TB_HEIGHT, height_);
}

const TwoByteTable& TwoByteCodeDialog::table() const {
    const auto tables = twoByteTables();
    return tables[static_cast<std::size_t>(std::clamp<int>(table_, 0, static_cast<int>(tables.size()) - 1))];
}

void TwoByteCodeDialog::setTableTexts() {
    area_ = table().area;
    start_ = table().start;
    end_ = table().end;
}

void TwoByteCodeDialog::OnSelchangeTable() {
    UpdateData(true);
    setTableTexts();
    tableChosen();
    UpdateData(false);
}

void TwoByteCodeDialog::OnAllBlocks() {
    UpdateData(true);
    if (all_) setTableTexts();
    control(IDC_TB_START).enable(!all_);
    control(IDC_TB_END).enable(!all_);
    UpdateData(false);
}

void TwoByteCodeDialog::OnPrintCharacters() {
    labelsWritten_ = 0;
    if (!UpdateData(true)) return;
    TwoBytePrintRequest request;
    request.table = table_;
    request.all = all_;
    request.start = start_;
    request.end = end_;
    request.width = width_;
    request.height = height_;
    fillRequest(request);
    ui::WaitCursor wait(host());
    const app::Outcome outcome = printTwoByteChart(ctx_.comm, request);
    labelsWritten_ = labelsPrinted(outcome);
    if (outcome.result.where == "width") SetFocus(IDC_TB_WIDTH);
    if (outcome.result.where == "height") SetFocus(IDC_TB_HEIGHT);
    if (outcome.result.messageId) app::ShowMessage(host(), outcome.result.messageId);
}

}  // namespace velmora::tester
