// The block range, the sizes and the print series of the two-byte code page prints.
#include "tester/twobytecodedialog.h"

#include <algorithm>

#include "platform/codepage.h"
#include "resources/templates_terminal.h"
#include "ui/dataexchange.h"

namespace velmora::tester {

using namespace resources;

namespace {
constexpr std::size_t kMaxSizeBytes = 32;
}

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

std::optional<std::string> TwoByteCodeDialog::sizeBytes(const std::string& text, int id) {
    std::string bytes = platform::toCodePage(text);
    if (bytes.empty() || bytes.size() > kMaxSizeBytes ||
        !std::all_of(bytes.begin(), bytes.end(), [](char c) { return c >= '0' && c <= '9'; })) {
        SetFocus(id);
        app::ShowMessage(host(), kMsgFontSizeDigits);
        return std::nullopt;
    }
    return bytes;
}

void TwoByteCodeDialog::OnPrintCharacters() {
    labelsWritten_ = 0;
    if (!UpdateData(true)) return;
    int first = table().leadFirst, last = table().leadLast;
    if (!all_) {
        const auto start = parseBlock(start_);
        if (!start) {
            app::ShowMessage(host(), kMsgStartBlockWrong);
            return;
        }
        const auto end = parseBlock(end_);
        if (!end) {
            app::ShowMessage(host(), kMsgEndBlockWrong);
            return;
        }
        first = *start;
        last = *end;
    }
    if (first > last) return;
    if (!rangeAllowed(first, last)) return;
    std::string width, height;
    if (sizesUsed()) {
        const auto w = sizeBytes(width_, IDC_TB_WIDTH);
        if (!w) return;
        const auto h = sizeBytes(height_, IDC_TB_HEIGHT);
        if (!h) return;
        width = *w;
        height = *h;
    }
    ui::WaitCursor wait(host());
    for (int lead = first; lead <= last; ++lead) {
        const std::string text = label(lead, width, height);
        // The port object has reported a failed write; the rest of the series would fail too.
        if (ctx_.comm.WriteBytes(reinterpret_cast<const std::uint8_t*>(text.data()), text.size()) <= 0) return;
        ++labelsWritten_;
    }
}

}  // namespace velmora::tester
