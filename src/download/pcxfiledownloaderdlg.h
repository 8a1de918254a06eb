// The PCX image manager: stores a PCX file in the printer under a name (and prints it once as a
// check), deletes one or all images, has the printer print its image list, and recalls an image
// at a position. The file's bytes go unchanged after a short text header.
#pragma once

#include <string>

#include "app/toolcontext.h"
#include "ui/dialog.h"

namespace velmora::download {

class CPcxFileDownloaderDlg : public ui::Dialog {
public:
    explicit CPcxFileDownloaderDlg(app::ToolContext& ctx);

    void OnBrowse();
    // True when the header, every byte and the trailer were written.
    bool OnDownLoad();
    void OnDeleteImage();
    void OnDeleteAllImages();
    void OnImageInformation();
    void OnImageRecall();

    // Bound fields.
    std::string path;
    std::string fileName = "None";
    std::string sizeText = "0 Byte";
    std::string storeName;
    std::string deleteName;
    std::string recallName;
    // Texts as typed: only Image Recall reads them as whole numbers.
    std::string recallX = "0";
    std::string recallY = "0";
    bool fileChosen() const { return fileChosen_; }

protected:
    bool OnInitDialog() override;
    void DoDataExchange(ui::DataExchange& dx) override;

private:
    app::ToolContext& ctx_;
    bool fileChosen_ = false;
};

}  // namespace velmora::download
