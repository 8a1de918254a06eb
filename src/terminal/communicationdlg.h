// The communication window: a raw terminal on the open printer link. The user types or loads
// text, sends it unchanged, fetches what the printer sent back and views those bytes as
// hexadecimal or characters; find and replace work on the typed text through the host's
// find/replace dialog.
#pragma once

#include <string>

#include "app/toolcontext.h"
#include "ui/dialog.h"

namespace velmora::terminal {

class CCommunicationDlg : public ui::Dialog, private ui::FindReplaceClient {
public:
    explicit CCommunicationDlg(app::ToolContext& ctx);
    ~CCommunicationDlg() override;

    const std::string& receiveBuffer() const { return receive_; }
    bool findReplaceOpen() const { return findOpen_; }

    void OnFileOpen();
    void OnSaveToFile();
    void OnClearData();
    void OnCopy();
    void OnCut();
    void OnPaste();
    void OnReplaceDialog();
    void OnSendToPrinter();
    void OnPreview();
    void OnReadFromPrinter();
    void OnClearReceive();
    void OnPrintCodes();

protected:
    bool OnInitDialog() override;
    void DoDataExchange(ui::DataExchange& dx) override;

private:
    // The find/replace dialog's notifications, on the send text.
    void findNext(const std::string& what) override;
    void replace(const std::string& what, const std::string& with) override;
    void replaceAll(const std::string& what, const std::string& with) override;
    void findReplaceClosed() override { findOpen_ = false; }
    void selectInEditor(std::size_t start, std::size_t end);
    void renderView();

    app::ToolContext& ctx_;
    std::string text_;
    std::string receive_;
    bool findOpen_ = false;
};

}  // namespace velmora::terminal
