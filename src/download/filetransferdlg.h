// The file transfer: sends one file to the printer exactly as stored (a complete byte-order mark
// aside), in chunks with a progress bar, and says whether all of it went.
#pragma once

#include <string>

#include "app/toolcontext.h"
#include "ui/dialog.h"

namespace velmora::download {

class CFileTransferDlg : public ui::Dialog {
public:
    explicit CFileTransferDlg(app::ToolContext& ctx);

    void OnBrowse();
    // True when every byte was written.
    bool OnDownLoad();

    // Bound fields.
    std::string path;
    std::string name = "None";
    std::string size = "0 Byte";
    bool fileChosen() const { return fileChosen_; }

protected:
    bool OnInitDialog() override;
    void DoDataExchange(ui::DataExchange& dx) override;

private:
    app::ToolContext& ctx_;
    bool fileChosen_ = false;
};

}  // namespace velmora::download
