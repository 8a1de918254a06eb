// Templates and control ids of the file transfer and the PCX image manager.
#pragma once

#include "ui/layout.h"

namespace velmora::resources {

enum DownloadControlId {
    IDC_FT_PATH = 1500,
    IDC_FT_BROWSE,
    IDC_FT_NAME,
    IDC_FT_SIZE,
    IDC_FT_PROGRESS,
    IDC_FT_DOWNLOAD,

    IDC_PCX_PATH = 1520,
    IDC_PCX_BROWSE,
    IDC_PCX_STORE_NAME,
    IDC_PCX_NAME,
    IDC_PCX_SIZE,
    IDC_PCX_PROGRESS,
    IDC_PCX_DOWNLOAD,
    IDC_PCX_DELETE_NAME,
    IDC_PCX_DELETE,
    IDC_PCX_DELETE_ALL,
    IDC_PCX_INFORMATION,
    IDC_PCX_RECALL_NAME,
    IDC_PCX_RECALL_X,
    IDC_PCX_RECALL_Y,
    IDC_PCX_RECALL,
};

const ui::DialogTemplate& FileTransferTemplate();       // 134
const ui::DialogTemplate& PcxFileDownloaderTemplate();  // 132

}  // namespace velmora::resources
