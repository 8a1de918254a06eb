// The string table and its look-up by number.
#include "resources/stringtable.h"

#include <algorithm>
#include <span>

namespace velmora::resources {

namespace {

struct Entry {
    int id;
    std::string text;
};

// Sorted by id; numbers without an entry are simply absent.
std::span<const Entry> Table() {
    static const Entry kEntries[] = {
        {103, "Windows sockets initialization failed."},
        {105, "Select the Sensing Level."},
        {106, "Sensing Data Read Fail!"},
        {107, "Can't open file!"},
        {110, "Port error! Check setting of serial port, please."},
        {111, "Port error! Check printer's port, please."},
        {112, "Status Data Read Fail!"},
        {119, "H/W version is "},
        {120, "H/W version is NULL"},
        {121, "Set hardware version is successful"},
        {122, "Set hardware version is failed"},
        {123, "Initialize hardware version is successful"},
        {124, "Initialize hardware version is failed"},
        {125, "Serial Number is "},
        {126, "Serial Number is NULL"},
        {127, "Set serial number is successful"},
        {128, "Set serial number is failed"},
        {129, "Initialize serial number is successful"},
        {130, "Initialize serial number is failed"},
        {131, "Printer ID is "},
        {132, "Printer ID is NULL"},
        {133, "Set printer ID is successful"},
        {134, "Set printer ID is failed"},
        {135, "Initialize printer ID is successful"},
        {136, "Initialize printer ID is failed"},
        {137, "Hardware version string can't be more than 4 characters."},
        {138, "Serial number string can't be more than 16 characters."},
        {139, "Printer ID string can't be more than 7 character."},
        {146, "PCX file download is completed."},
        {147, "Please, Select PCX files!"},
        {148, "Please, type image name!"},
        {149, "Error : Failed to Create socket!"},
        {150, "Error : Failed to connect. Please, \ncheck IP port configuration in printer control pannel"},
        {151, "Get printer information is successful."},
        {152, "Get printer information is failed."},
        {153, "Setting paper width is successful"},
        {154, "Setting paper width is failed"},
        {155, "Getting paper width is successful"},
        {156, "Getting paper width is failed"},
        {157, "Setting paper length is successful"},
        {158, "Setting paper length is failed"},
        {159, "Getting paper length is successful"},
        {160, "Getting paper length is failed"},
        {161, "Setting paper horizontal margin is successful"},
        {162, "Setting paper horizontal margin is failed"},
        {163, "Getting paper horizontal margin is successful"},
        {164, "Getting paper horizontal margin is failed"},
        {165, "Setting paper vertical margin is successful"},
        {166, "Setting paper vertical margin is failed"},
        {167, "Getting paper vertical margin is successful"},
        {168, "Getting paper vertical margin is failed"},
        {169, "Setting print density is successful"},
        {170, "Setting print density is failed"},
        {171, "Getting print density is successful"},
        {172, "Getting print density is failed"},
        {173, "Setting strobe is successful"},
        {174, "Setting strobe is failed"},
        {175, "Getting strobe is successful"},
        {176, "Getting strobe is failed"},
        {177, "Initialize all user setting data is successful"},
        {178, "Initialize all user setting data is failed"},
        {179, "Setting gap length is successful"},
        {180, "Setting gap length is failed"},
        {181, "Getting gap length is successful"},
        {182, "Getting gap length is failed"},
        {183, "Setting gap detect position is successful"},
        {184, "Setting gap detect position is failed"},
        {185, "Getting gap detect position is successful"},
        {186, "Getting gap detect position is failed"},
        {187, "Getting speed is successful"},
        {188, "Getting speed is failed"},
        {189, "Setting speed is successful"},
        {190, "Setting speed is failed"},
        {191, "Getting offset is successful"},
        {192, "Getting offset is failed"},
        {193, "Setting offset is successful"},
        {194, "Setting offset is failed"},
        {195, "Setting Tear-Off/Cutting position is successful"},
        {196, "Setting Tear-Off/Cutting position is failed"},
        {197, "Getting tear-off/cutting position is successful"},
        {198, "Getting tear-off/cutting position is failed"},
        {199, "Invalid value!\nPlease check StartBlockNumber and Number of bytes."},
        {200, "Reading data is successful"},
        {201, "Reading data is failed"},
        {202, "Set RFID setting is successful"},
        {203, "Set RFID setting is failed"},
        {204, "Get RFID setting is successful"},
        {205, "Get RFID setting is failed"},
        {206, "Auto calibration is successful"},
        {207, "Auto calibration is failed"},
        {208, "Writing unlock-command is failed"},
        {209, "Writing data is failed"},
        {210, "Writing lock-command is failed"},
        {211, "Writing is success"},
        {212, "Value of access is invalid!"},
        {213, "Value of kill is invalid!"},
        {214, "Don't select save file"},
        {215, "Don't select load file"},
        {216, "Cannot open port! Please check printer and cable."},
        {217, "Success open port."},
        {219, "Calibration is not supported on Ethernet connection."},
        {220, "Get serial communication status is successful"},
        {221, "Get serial communication status is failed"},
        {222, "Set serial communication status is successful"},
        {223, "Please, turn off the printer and turn on the printer"},
        {224, "Please, close application and re-connect printer"},
        {225, "Set serial communication status is failed"},
        {229, "Start Block value is wrong!"},
        {230, "End Block value is wrong!"},
        {233, "^cp Command"},
        {234, "^cu Command"},
        {237, "File download is completed."},
        {238, "Please, select a file!"},
        {240, "Interface"},
        {241, "Language"},
        {242, "Print && Page"},
        {243, "Hardware Info"},
        {244, "Printer Info"},
        {245, "Basic"},
        {246, "Advanced"},
        {247, "Real-Time Clock"},
        {248, "  "},  // caption of the calibration dialog's single tab: two blanks
        {250, "Lower Position of Gap;Upper Position of Gap"},
        {251, "Top to Bottom;Bottom to Top"},
        {252, "Transfer;Direct"},
        {253, "Web Sensing;Continuous;Mark Sensing"},
        {254, "Tear Off;Peel Off;Cutter;"},
        {255, "Feed to Next Label;Calibrate Media;Set Label Length;No feed"},
        {256, "No Backfeed;Default settings;Before printing;After printing"},
        {257, "Text;Numeric;Binary"},
        {258, "Upper Left;Center"},
        {259, "None;Bold"},
        {260, "None;Reverse"},
        {261, "None;Italic"},
        {262, "Right;Center;Left"},
        {263, "Left to Right;Right to Left"},
        {264, "9600;14400;19200;28800;38400;57600;115200"},
        {266, "None;Even;Odd"},
        {267, "1;2"},
        {268, "Software;Hardware"},
        {270, "USB Serial Number must be 13 digit number"},
        {271, "Others"},
        {272, "Not supported on Ethernet connection."},
        {276, "Please, select the baudrate."},
        {277, "Please, select the data length."},
        {278, "Please, select the parity."},
        {279, "Please, select the stop bit."},
        {280, "Please, select the protocol mode."},
        {300, "Each part of the IP address must be a number from 0 to 255."},
        // The main window's bottom line while it connects, and what came of it.
        {330, "Connecting to %s…"},
        {331, "Connected (%s)"},
        {332, "No answer from the printer"},
        {333, "Permission denied on %s: %s"},
        {334, "Cannot open %s: %s"},
        {335, "Cannot open %s"},
        {336, "Disconnected"},
        // The bottom line after an action that shows no box.
        {337, "Settings sent to the printer"},
        {338, "Sent to the printer: %s"},
        {339, "%s sample label(s) sent to the printer"},
        {340, "Reading the RFID tag…"},
        {341, "RFID tag read"},
        {342, "The RFID tag was not read"},
        {360, "The printer would end the command early: write each apostrophe as \\' and a backslash at the end as \\\\, and leave out carriage returns and line feeds."},
        {361, "Cannot read the file %1."},
        {362, "Cannot write the file %1."},
        {364, "No font comes close to that size; nothing was printed."},
        {365, "code page %1 cannot hold %2 character(s) of the text; nothing was sent"},
        {460, "File download failed."},
        {461, "PCX file download failed."},
        {462, "The file changed while it was sent; the transfer was stopped."},
        {530, "The vector font width and height take 1 to 32 digits."},
        {560, "Choose the tag kind (Label or Metal) first."},
        {561, "Each data cell of the range must hold one byte: two hexadecimal digits for \"H\", one character for \"A\"."},
        {590, "Label pictures are shown by the window program; velmora-cli preview writes them as files."},
        {591, "The text prints no label."},
        {620, "The printer already has every setting of the profile."},
        {621, "These settings differ. Nothing has been written yet."},
        {622, "What the apply did, setting by setting (read back from the printer)."},
        {630, "Search %s of %s for printers on port %s? Printers of other makes may print what they receive on that port."},
        {631, "The port must be a number from 1 to 65535."},
        {632, "This computer has no network up. Type the network to search, as 192.168.1.0/24."},
        {633, "Choose a network (at most /22) and press Search."},
    };
    return kEntries;
}

const Entry* Find(int id) {
    const auto table = Table();
    const auto it = std::ranges::lower_bound(table, id, {}, &Entry::id);
    return (it != table.end() && it->id == id) ? &*it : nullptr;
}

}  // namespace

const std::string& LoadString(int id) {
    static const std::string kEmpty;
    const Entry* entry = Find(id);
    return entry ? entry->text : kEmpty;
}

bool HasString(int id) { return Find(id) != nullptr; }

std::vector<int> StringIds() {
    std::vector<int> ids;
    for (const Entry& entry : Table()) ids.push_back(entry.id);
    return ids;
}

}  // namespace velmora::resources
