// Layouts of the file transfer and the PCX image manager.
#include "resources/templates_download.h"

namespace velmora::resources {

using namespace ui::layout;

namespace {
ui::LayoutNode pathRow(int pathId, int browseId) {
    return row({edit(pathId, 40), button(browseId, "...", {.widthChars = 3})});
}
ui::LayoutNode fileInformation(const char* caption, int nameId, int sizeId) {
    return group(caption, {grid(2, {
                                       label("File Name: "),
                                       label("None", nameId),
                                       label("File Size: "),
                                       label("0 Byte", sizeId),
                                   })});
}
}  // namespace

const ui::DialogTemplate& FileTransferTemplate() {
    static const ui::DialogTemplate t = [] {
        ui::DialogTemplate d;
        d.resourceId = 134;
        d.caption = "File Transfer";
        d.minWidth = 420;
        d.root = column({
            pathRow(IDC_FT_PATH, IDC_FT_BROWSE),
            fileInformation("File Information", IDC_FT_NAME, IDC_FT_SIZE),
            row({progress(IDC_FT_PROGRESS), button(IDC_FT_DOWNLOAD, "DownLoad", {.defaultButton = true}),
                 button(ui::IDCANCEL, "Close")}),
        });
        return d;
    }();
    return t;
}

const ui::DialogTemplate& PcxFileDownloaderTemplate() {
    static const ui::DialogTemplate t = [] {
        ui::DialogTemplate d;
        d.resourceId = 132;
        d.caption = "PCX File Downloader";
        d.minWidth = 460;
        d.root = column({
            group("Image Store (IS)",
                  {
                      pathRow(IDC_PCX_PATH, IDC_PCX_BROWSE),
                      grid(2, {label("Image Name :"), edit(IDC_PCX_STORE_NAME, 16)}),
                      fileInformation("PCX File Information", IDC_PCX_NAME, IDC_PCX_SIZE),
                      row({progress(IDC_PCX_PROGRESS), button(IDC_PCX_DOWNLOAD, "DownLoad")}),
                  }),
            group("Image Delete (ID)",
                  {
                      grid(2, {label("Image Name :"), edit(IDC_PCX_DELETE_NAME, 16)}),
                      row({button(IDC_PCX_DELETE, "Delete Image"), button(IDC_PCX_DELETE_ALL, "Delete All Images"),
                           stretch()}),
                  }),
            group("Image Information (II)", {row({button(IDC_PCX_INFORMATION, "Image Information"), stretch()})}),
            group("Image Recall (IR)",
                  {
                      // Every caption and field of the window in grids of two columns: the
                      // fields start at one edge and the captions end there.
                      grid(2, {label("Image Name :"), edit(IDC_PCX_RECALL_NAME, 16), label("X Position :"),
                               edit(IDC_PCX_RECALL_X, 6), label("Y Position :"), edit(IDC_PCX_RECALL_Y, 6)}),
                      row({button(IDC_PCX_RECALL, "Image Recall"), stretch()}),
                  }),
            row({stretch(), button(ui::IDCANCEL, "CLOSE")}),
        });
        return d;
    }();
    return t;
}

}  // namespace velmora::resources
