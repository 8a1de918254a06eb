// The command tester and its entry in the dialog catalog.
#include "tester/tavl_cmdtesterdlg.h"

#include <cstring>

#include "app/dialogcatalog.h"
#include "app/toolnames.h"
#include "platform/codepage.h"
#include "platform/userfiles.h"
#include "resources/messages.h"
#include "resources/stringtable.h"
#include "resources/templates_tester.h"
#include "tester/testerbuilder.h"
#include "tester/testerformat.h"
#include "tester/testerops.h"
#include "ui/editactions.h"

namespace velmora::tester {

using namespace resources;

namespace {

// The tools behind the launcher buttons, by their dialog-catalog names.
struct Launcher {
    int id;
    const char* tool;
};
constexpr Launcher kLaunchers[] = {
    {IDC_TT_PRINTING_SETTING, "tavl-printing-setting"},
    {IDC_TT_LABEL_SETTING, "tavl-label-setting"},
    {IDC_TT_COPIES, "tavl-copies"},
    {IDC_TT_BITMAP_TEXT, "tavl-text"},
    {IDC_TT_VECTOR_TEXT, "tavl-vector-text"},
    {IDC_TT_LINE_BOX, "tavl-block-draw"},
    {IDC_TT_BARCODE_1D, "tavl-barcode-1d"},
    {IDC_TT_BARCODE_2D, "tavl-barcode-2d"},
    {IDC_TT_CHARSET, "tavl-character-set"},
    {IDC_TT_PRINT_CODES, "twobytes-code"},
    {IDC_TT_RFID_WRITE, "tavl-rfid-write"},
    {IDC_TT_RFID_READ, "tavl-rfid-read"},
    {IDC_TT_RFID_PASSWORD, "tavl-rfid-password"},
    {IDC_TT_RFID_SECURITY, "tavl-rfid-security"},
    {IDC_TT_RFID_KILL, "tavl-rfid-kill"},
    {IDC_TT_CHECK_STATUS, "status"},
    {IDC_TT_CONVERT, "convert-unit"},
};

}  // namespace

CTAVL_CmdTesterDlg::CTAVL_CmdTesterDlg(app::ToolContext& ctx) : ui::Dialog(ctx.host, TavlCmdTesterTemplate()), ctx_(ctx) {}

CTAVL_CmdTesterDlg::~CTAVL_CmdTesterDlg() {
    if (ctx_.comm.traits().closesAfterTool) ctx_.comm.Close();
}

bool CTAVL_CmdTesterDlg::OnInitDialog() {
    on(ui::Event::Clicked, IDC_TT_COPY, [this] { OnCopy(); });
    on(ui::Event::Clicked, IDC_TT_CUT, [this] { OnCut(); });
    on(ui::Event::Clicked, IDC_TT_PASTE, [this] { OnPaste(); });
    on(ui::Event::Clicked, IDC_TT_CLEAN, [this] { OnClean(); });
    on(ui::Event::Clicked, IDC_TT_MULTI_SEND, [this] { OnMultiSend(); });
    on(ui::Event::Clicked, IDC_TT_PREVIEW, [this] { OnPreview(); });
    on(ui::Event::Clicked, IDC_TT_READ, [this] { OnReadFromPrinter(); });
    on(ui::Event::Clicked, IDC_TT_CLEAR_RECEIVE, [this] { OnClearReceive(); });
    on(ui::Event::Clicked, IDC_TT_HEX, [this] { renderView(); });
    on(ui::Event::Clicked, IDC_TT_ASCII, [this] { renderView(); });
    on(ui::Event::Clicked, IDC_TT_LOAD, [this] { OnLoad(); });
    on(ui::Event::Clicked, IDC_TT_SAVE, [this] { OnSave(); });
    on(ui::Event::Clicked, IDC_TT_CLOSE, [this] { EndDialog(ui::IDOK); });
    on(ui::Event::Scroll, IDC_TT_SEND_SPIN,
       [this] { control(IDC_TT_SEND_COUNT).setText(std::to_string(control(IDC_TT_SEND_SPIN).pos())); });
    for (const Launcher& l : kLaunchers) on(ui::Event::Clicked, l.id, [this, &l] { OpenTool(l.tool); });
    control(IDC_TT_ASCII).setCheck(1);
    control(IDC_TT_SEND_SPIN).setRange(0, kMaxSendCount);
    control(IDC_TT_SEND_SPIN).setWrap(true);
    control(IDC_TT_SEND_SPIN).setPos(1);
    sendCount_ = 1;
    sentCounter_.clear();
    UpdateData(false);
    return true;
}

void CTAVL_CmdTesterDlg::DoDataExchange(ui::DataExchange& dx) {
    dx.Text(IDC_TT_EDITOR, text_);
    exchangeInt(dx, IDC_TT_SEND_COUNT, sendCount_, 0, kMaxSendCount);
    dx.Text(IDC_TT_SENT_COUNTER, sentCounter_);
}

void CTAVL_CmdTesterDlg::OnCopy() {
    ui::copySelection(host(), control(IDC_TT_EDITOR));
    UpdateData(true);
}

void CTAVL_CmdTesterDlg::OnCut() {
    ui::cutSelection(host(), control(IDC_TT_EDITOR));
    UpdateData(true);
}

void CTAVL_CmdTesterDlg::OnPaste() {
    ui::pasteAtSelection(host(), control(IDC_TT_EDITOR));
    UpdateData(true);
}

void CTAVL_CmdTesterDlg::OnClean() {
    text_.clear();
    UpdateData(false);
}

void CTAVL_CmdTesterDlg::OnMultiSend() {
    // A count that is refused says why; the count of the last send is used (the text was taken).
    UpdateData(true);
    // The counter shows each send as it is done, and goes blank when one fails.
    const app::Outcome outcome = multiSend(ctx_.comm, ctx_.clock, text_, sendCount_, [this](const app::Step& step) {
        sentCounter_ = std::to_string(step.done);
        UpdateData(false);
    });
    if (outcome.done()) return;
    if (!outcome.result.message.empty()) host().message(outcome.result.message);  // refused: why
    sentCounter_.clear();
    UpdateData(false);
}

void CTAVL_CmdTesterDlg::OnPreview() {
    UpdateData(true);
    // The bytes the printer would receive, so the picture shows what Multi Send prints.
    if (!host().showLabelPreview(platform::toCodePage(text_))) app::ShowMessage(host(), msg::kNoPreview);
}

void CTAVL_CmdTesterDlg::OnReadFromPrinter() {
    const app::Outcome outcome = readFromPrinter(ctx_.comm);
    if (!outcome.done()) return;  // nothing came: the buffer and the view stay as they were
    receive_ += outcome.values.front().raw;
    renderView();
}

void CTAVL_CmdTesterDlg::OnClearReceive() {
    control(IDC_TT_RECEIVE_VIEW).setText("");
    receive_.clear();
    UpdateData(false);
}

void CTAVL_CmdTesterDlg::renderView() {
    if (receive_.empty()) return;
    control(IDC_TT_RECEIVE_VIEW).setText(renderReceiveView(receive_, control(IDC_TT_HEX).checked()));
}

void CTAVL_CmdTesterDlg::OnLoad() {
    text_.clear();
    UpdateData(false);
    UpdateData(true);
    ui::FileDialogRequest request;
    request.open = true;
    request.filter = "All files(*.*)|*.*|Text files(*.txt)|*.txt|Binary files(*.bin)|*.bin||";
    const auto path = host().fileDialog(request);
    if (!path) {
        app::ShowMessage(host(), msg::kNoLoadFile);
        return;
    }
    std::string problem;
    const auto text = loadCommandFile(*path, problem);
    if (!text) {
        host().message(problem);
        return;
    }
    text_ = *text;
    UpdateData(false);
}

void CTAVL_CmdTesterDlg::OnSave() {
    ui::FileDialogRequest request;
    request.open = false;
    request.fileName = "TAVL.txt";
    request.filter = "All files(*.*)|*.*|Text files(*.txt)|*.txt||";
    const auto path = host().fileDialog(request);
    if (!path) {
        app::ShowMessage(host(), msg::kNoSaveFile);
        return;
    }
    UpdateData(true);
    if (!platform::writeUserFile(*path, encodeCommandFile(text_))) host().message(cannotWriteMessage(*path));
}

void CTAVL_CmdTesterDlg::OpenTool(const std::string& name) {
    const app::DialogEntry* entry = app::findDialog(name);
    if (!entry) return;  // a tool not built yet opens nothing
    std::unique_ptr<ui::Dialog> tool = entry->make(ctx_);
    if (auto* builder = dynamic_cast<TesterBuilder*>(tool.get()))
        RunInsertLoop(*builder);
    else
        tool->DoModal();
}

void CTAVL_CmdTesterDlg::RunInsertLoop(TesterBuilder& builder) {
    while (true) {
        const int result = builder.ShowModal();
        // Only the editor is taken back: its text is what the lines are appended to.
        text_ = control(IDC_TT_EDITOR).text();
        if (!builder.insertRequested()) return;
        text_ += builder.InsertText();
        builder.clearInsertRequest();
        // Only the editor: a count typed but not used yet stays as typed.
        control(IDC_TT_EDITOR).setText(text_);
        if (result == ui::IDOK) return;
    }
}

namespace {
const bool registered = app::registerDialog({
    app::kToolTavlTester,
    [](app::ToolContext& ctx) { return std::make_unique<CTAVL_CmdTesterDlg>(ctx); },
    {{"received",
      [](ui::Dialog& d) {
          auto& t = static_cast<CTAVL_CmdTesterDlg&>(d);
          // A status query sent and its reply read, in the view as hexadecimal.
          t.typeText(IDC_TT_EDITOR, "^cp\r");
          t.click(IDC_TT_MULTI_SEND);
          t.click(IDC_TT_READ);
          t.click(IDC_TT_HEX);
      }}},
    {},
});
}  // namespace

}  // namespace velmora::tester
