// The model catalog: the printer models the program knows, with their USB product id, names,
// print speeds and model code. Read once at start-up from VQTLABEL.VQT in the working directory,
// or built from the table in this program when that file is absent; read-only afterwards.
//
// File layout (section and key names in any letter case):
//
//     [SUPPORT]
//     PRINTER_LIST=VL-2405, VL-3403
//
//     [VL-2405]
//     ID=0a08
//     SECONDNAME=VM2405
//     SPEED=inch/s, 3, 4, 5, 6, 7
//     MODELTYPE=8
#pragma once

#include <array>
#include <cstddef>
#include <memory>
#include <string>
#include <unordered_map>

#include "platform/inifile.h"

namespace velmora::app {

constexpr std::size_t kModelSpeedSlots = 24;
constexpr const char* kModelCatalogFileName = "VQTLABEL.VQT";

struct ModelRecord {
    std::string id;          // USB product id, four hexadecimal digits
    std::string name;        // key of the catalog and section name in the file
    std::string shortName;   // the name after its first "-", or the whole name without one
    std::string secondName;  // alternative name
    std::array<std::string, kModelSpeedSlots> speeds;  // print speed texts in file order; unused slots empty
    std::string speedUnit;   // shown after each speed, e.g. "inch/s"
    int modelType = -1;      // same code space as the USB model table
};

// Name (case-sensitive) to record. Records are held by pointer so a reader may keep one.
using ModelCatalog = std::unordered_map<std::string, std::unique_ptr<ModelRecord>>;

inline ModelCatalog theModelCatalog;

// Fills theModelCatalog from directory + "/VQTLABEL.VQT", or from the built-in table when no
// such file exists (or the directory is unknown, i.e. empty). Replaces any earlier contents.
void LoadModelCatalog(const std::string& directory);
// Empties theModelCatalog.
void FreeModelCatalog();

// The catalog that an initialisation file describes. Models come from [SUPPORT] PRINTER_LIST;
// a listed model without a section gets the defaults (ID "0000", no second name, speeds
// "inch/s, 3, 4, 5, 6, 7, 8", model code 0). Each value counts up to its 127th character only.
ModelCatalog modelCatalogFromIni(const platform::IniFile& ini);

// The catalog used when there is no file: 21 models.
ModelCatalog builtInModelCatalog();

// Pieces of the reading rules, exposed for their tests.

// The name after its first "-"; the whole name when it has none.
std::string shortNameOf(const std::string& name);
// Fills unit and speeds from "unit, speed, speed, ...": items trimmed, empty ones skipped,
// speeds past the 24th dropped. The previous unit and speeds are replaced.
void applySpeedText(ModelRecord& record, const std::string& speedText);
// An integer as the Windows profile reader takes it: optional blanks and sign, then the leading
// decimal digits (wrapping at 32 bits); anything else ends the number, no digits give 0.
int profileInteger(const std::string& text);

}  // namespace velmora::app
