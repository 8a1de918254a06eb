// The command tester: a scratch pad for native label command text. The user types, loads or
// composes text with the builders, sends it any number of times, reads what the printer sends
// back, and saves it.
#pragma once

#include <string>

#include "app/toolcontext.h"
#include "ui/dialog.h"

namespace velmora::tester {

class TesterBuilder;

class CTAVL_CmdTesterDlg : public ui::Dialog {
public:
    explicit CTAVL_CmdTesterDlg(app::ToolContext& ctx);
    ~CTAVL_CmdTesterDlg() override;

    const std::string& commandText() const { return text_; }
    const std::string& receiveBuffer() const { return receive_; }

    void OnCopy();
    void OnCut();
    void OnPaste();
    void OnClean();
    void OnMultiSend();
    // The labels of the editor's text as pictures; nothing is sent.
    void OnPreview();
    void OnReadFromPrinter();
    void OnClearReceive();
    void OnLoad();
    void OnSave();
    // Opens a tool by its dialog-catalog name; a builder runs the insert loop.
    void OpenTool(const std::string& name);
    // The insert loop: the builder reopens with its values until the user closes it, and each
    // "Insert to label" appends its lines to the editor.
    void RunInsertLoop(TesterBuilder& builder);

protected:
    bool OnInitDialog() override;
    void DoDataExchange(ui::DataExchange& dx) override;

private:
    void renderView();

    app::ToolContext& ctx_;
    std::string text_;
    int sendCount_ = 1;
    std::string sentCounter_;
    std::string receive_;
};

}  // namespace velmora::tester
