// The communication window and its entry in the dialog catalog.
#include "terminal/communicationdlg.h"

#include "app/dialogcatalog.h"
#include "app/toolnames.h"
#include "platform/codepage.h"
#include "platform/userfiles.h"
#include "resources/messages.h"
#include "resources/templates_terminal.h"
#include "terminal/findreplace.h"
#include "terminal/terminalops.h"
#include "tester/testerbuilder.h"
#include "tester/testerformat.h"
#include "tester/testerops.h"
#include "ui/dataexchange.h"
#include "ui/editactions.h"

namespace velmora::terminal {

using namespace resources;

CCommunicationDlg::CCommunicationDlg(app::ToolContext& ctx) : ui::Dialog(ctx.host, CommunicationTemplate()), ctx_(ctx) {}

CCommunicationDlg::~CCommunicationDlg() {
    if (findOpen_) host().closeFindReplace(*this);
    if (ctx_.comm.traits().closesAfterTool) ctx_.comm.Close();
}

bool CCommunicationDlg::OnInitDialog() {
    on(ui::Event::Clicked, IDC_CW_FILE_OPEN, [this] { OnFileOpen(); });
    on(ui::Event::Clicked, IDC_CW_SAVE, [this] { OnSaveToFile(); });
    on(ui::Event::Clicked, IDC_CW_CLEAR, [this] { OnClearData(); });
    on(ui::Event::Clicked, IDC_CW_COPY, [this] { OnCopy(); });
    on(ui::Event::Clicked, IDC_CW_CUT, [this] { OnCut(); });
    on(ui::Event::Clicked, IDC_CW_PASTE, [this] { OnPaste(); });
    on(ui::Event::Clicked, IDC_CW_REPLACE, [this] { OnReplaceDialog(); });
    on(ui::Event::Clicked, IDC_CW_SEND, [this] { OnSendToPrinter(); });
    on(ui::Event::Clicked, IDC_CW_PREVIEW, [this] { OnPreview(); });
    on(ui::Event::Clicked, IDC_CW_READ, [this] { OnReadFromPrinter(); });
    on(ui::Event::Clicked, IDC_CW_CLEAR_RECEIVE, [this] { OnClearReceive(); });
    on(ui::Event::Clicked, IDC_CW_HEX, [this] { renderView(); });
    on(ui::Event::Clicked, IDC_CW_ASCII, [this] { renderView(); });
    on(ui::Event::Clicked, IDC_CW_PRINT_CODES, [this] { OnPrintCodes(); });
    control(IDC_CW_ASCII).setCheck(1);
    UpdateData(false);
    return true;
}

void CCommunicationDlg::DoDataExchange(ui::DataExchange& dx) { dx.Text(IDC_CW_EDITOR, text_); }

void CCommunicationDlg::OnFileOpen() {
    text_.clear();
    UpdateData(false);
    ui::FileDialogRequest request;
    request.open = true;
    request.filter = "All files(*.*)|*.*|Text files(*.txt)|*.txt|Binary files(*.bin)|*.bin||";
    const auto path = host().fileDialog(request);
    if (!path) {
        app::ShowMessage(host(), msg::kNoLoadFile);
        return;
    }
    std::string problem;
    const auto text = tester::loadCommandFile(*path, problem);
    if (!text) {
        host().message(problem);
        return;
    }
    text_ = *text;
    UpdateData(false);
}

void CCommunicationDlg::OnSaveToFile() {
    ui::FileDialogRequest request;
    request.open = false;
    request.filter = "All files(*.*)|*.*|Text files(*.txt)|*.txt||";
    const auto path = host().fileDialog(request);
    if (!path) {
        app::ShowMessage(host(), msg::kNoSaveFile);
        return;
    }
    UpdateData(true);
    if (!platform::writeUserFile(*path, tester::encodeCommandFile(text_)))
        host().message(tester::cannotWriteMessage(*path));
}

void CCommunicationDlg::OnClearData() {
    text_.clear();
    UpdateData(false);
}

void CCommunicationDlg::OnCopy() { ui::copySelection(host(), control(IDC_CW_EDITOR)); }

void CCommunicationDlg::OnCut() { ui::cutSelection(host(), control(IDC_CW_EDITOR)); }

void CCommunicationDlg::OnPaste() { ui::pasteAtSelection(host(), control(IDC_CW_EDITOR)); }

void CCommunicationDlg::OnReplaceDialog() {
    if (findOpen_) return;  // one at a time
    findOpen_ = host().openFindReplace(*this);
}

void CCommunicationDlg::selectInEditor(std::size_t start, std::size_t end) {
    SetFocus(IDC_CW_EDITOR);
    control(IDC_CW_EDITOR).setSel(static_cast<int>(start), static_cast<int>(end));
}

void CCommunicationDlg::findNext(const std::string& what) {
    const ui::Control& editor = control(IDC_CW_EDITOR);
    const auto end = static_cast<std::size_t>(std::max(editor.selEnd(), 0));
    if (const auto match = terminal::findNext(editor.text(), what, end)) selectInEditor(match->start, match->end);
}

void CCommunicationDlg::replace(const std::string& what, const std::string& with) {
    ui::Control& editor = control(IDC_CW_EDITOR);
    const Selection sel{static_cast<std::size_t>(std::max(editor.selStart(), 0)),
                        static_cast<std::size_t>(std::max(editor.selEnd(), 0))};
    ReplaceResult r = replaceSelection(editor.text(), sel, what, with);
    if (r.replaced) {
        editor.setText(r.text);
        // Without a next match the caret stays after the replacement.
        const std::size_t caret = std::min(sel.start, r.text.size()) + with.size();
        editor.setSel(static_cast<int>(caret), static_cast<int>(caret));
        UpdateData(true);
    }
    if (r.next) selectInEditor(r.next->start, r.next->end);
}

void CCommunicationDlg::replaceAll(const std::string& what, const std::string& with) {
    ui::Control& editor = control(IDC_CW_EDITOR);
    ReplaceAllResult r = terminal::replaceAll(editor.text(), what, with);
    if (r.count == 0) return;
    editor.setText(r.text);
    UpdateData(true);
    selectInEditor(r.last->start, r.last->end);
}

void CCommunicationDlg::OnSendToPrinter() {
    UpdateData(true);
    ui::WaitCursor wait(host());
    const app::Outcome sent = sendToPrinter(ctx_.comm, text_);
    // A failed write was reported by the port object; a refusal says why here.
    if (!sent.result.message.empty()) host().message(sent.result.message);
}

void CCommunicationDlg::OnPreview() {
    UpdateData(true);
    // The bytes Send to Printer would write, so the pictures show what it prints.
    if (!host().showLabelPreview(platform::toCodePage(text_))) app::ShowMessage(host(), msg::kNoPreview);
}

void CCommunicationDlg::OnReadFromPrinter() {
    const app::Outcome outcome = tester::readFromPrinter(ctx_.comm);
    if (!outcome.done()) return;  // nothing came: the buffer and the view stay as they were
    receive_ += outcome.values.front().raw;
    renderView();
}

void CCommunicationDlg::OnClearReceive() {
    control(IDC_CW_RECEIVE_VIEW).setText("");
    receive_.clear();
}

void CCommunicationDlg::renderView() {
    if (receive_.empty()) return;
    control(IDC_CW_RECEIVE_VIEW).setText(tester::renderReceiveView(receive_, control(IDC_CW_HEX).checked()));
}

void CCommunicationDlg::OnPrintCodes() {
    const app::DialogEntry* entry = app::findDialog("zii-twobytes-code");
    if (!entry) return;
    UpdateData(true);
    entry->make(ctx_)->DoModal();
}

namespace {
const bool registered = app::registerDialog({
    app::kToolCommunication,
    [](app::ToolContext& ctx) { return std::make_unique<CCommunicationDlg>(ctx); },
    {{"received",
      [](ui::Dialog& d) {
          // A status query sent and its reply read, twice, in the view as hexadecimal.
          d.typeText(IDC_CW_EDITOR, "^cp\r");
          d.click(IDC_CW_SEND);
          d.click(IDC_CW_READ);
          d.click(IDC_CW_SEND);
          d.click(IDC_CW_READ);
          d.click(IDC_CW_HEX);
      }}},
    {},
});
}  // namespace

}  // namespace velmora::terminal
