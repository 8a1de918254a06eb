// The PCX image manager: stores a PCX file in the printer under a name (and prints it once as a
// check), deletes one or all images, has the printer print its image list, and recalls an image
// at a position. The file's bytes go unchanged after a short text header.
#pragma once

#include <string>

#include "app/toolcontext.h"
#include "ui/dialog.h"

namespace velmora::download {

// Message shown when a write of the store fails midway.
inline constexpr int kPcxDownloadFailed = 461;

// The command texts, CR and LF included.
std::string PcxStoreHeader(std::size_t size, const std::string& name);   // IS<size>,'<name>'
std::string PcxRecallTrailer(const std::string& name);                   // CR CR IR100,100,'<name>' CR P1 CR
std::string PcxDeleteCommand(const std::string& name);                   // ID'<name>' CR LF II CR LF
std::string PcxRecallCommand(int x, int y, const std::string& name);     // IR<x>,<y>,'<name>' CR P1 CR
inline constexpr char kPcxDeleteAll[] = "ID*\r\nII\r\n";
inline constexpr char kPcxInformation[] = "II\r\n";
// Whether a name can go between the apostrophes of a command: an apostrophe, CR or LF would end
// the command early and turn what follows (the image's bytes) into commands.
bool IsUsableImageName(const std::string& name);
// The file name without its last four characters (the ".pcx"); empty for four or fewer.
std::string ImageNameFromFile(const std::string& fileName);

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
    int recallX = 0;
    int recallY = 0;
    bool fileChosen() const { return fileChosen_; }

protected:
    bool OnInitDialog() override;
    void DoDataExchange(ui::DataExchange& dx) override;

private:
    bool sendStore();

    app::ToolContext& ctx_;
    bool fileChosen_ = false;
};

}  // namespace velmora::download
