// The simulator's non-volatile memory on disk: what ^JUS saves and the native settings survive a
// restart through the state file, and a file with bad values starts the printer with what of it is
// valid.
#include "sim/statefile.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdio>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "sim/parser.h"
#include "sim/printer.h"

namespace velmora::sim {
namespace {

std::string tempPath(const std::string& name) {
    return ::testing::TempDir() + "velmora_state_" + std::to_string(getpid()) + "_" + name;
}

std::string fileText(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

TEST(StateFile, WhatThePrinterSavesSurvivesARestart) {
    const std::string path = tempPath("roundtrip.ini");
    std::remove(path.c_str());
    const StateFile state(path);
    ZiiSettings expected;
    expected.labelWidth = 500, expected.printSpeed = 6, expected.slewSpeed = 3, expected.darkness = 22;
    expected.mediaType = 'C', expected.tearOff = -7, expected.mirror = true, expected.powerUpAction = 'C';
    expected.serial = {9600, 7, 'E', 2, 'X', 'A'};
    NativeState native;
    {
        Printer printer;
        EXPECT_TRUE(state.load(printer).empty());  // no file yet: factory settings, nothing to say
        std::vector<std::string> errors;
        printer.setSaveHook([&](const Printer& p) {
            std::string error;
            if (!state.save(p, error)) errors.push_back(error);
        });
        Parser parser(printer);
        parser.feed("~SD22\r\n~TA-7\r\n^XA\r\n^PW500\r\n^PR6,3\r\n^MNN\r\n^PMY\r\n^MFC,N\r\n^SC9600,7,E,2,X,A\r\n^XZ\r\n");
        EXPECT_EQ(fileText(path), "") << "nothing saved yet";
        parser.feed("^XA^JUS^XZ\r\n^XA^LL100^XZ\r\n");  // the label length is not saved
        // Native commits save too; the USB serial number's raw bytes must come back as they were.
        parser.feed(std::string("^MBS2,\x7c^MBA\x02\r^MBY1,SN 42\r^MBY2,LINE\r^MBU2,1000\r") +
                    "\x1b\x1c\x1d" + "AB\\CD\nEF 123 ");
        native = printer.native();
        EXPECT_EQ(native.switches[1], 0x7c);
        EXPECT_EQ(native.usbSerial, "AB\\CD\nEF 123 ");
        EXPECT_TRUE(errors.empty()) << errors.front();
    }
    const std::string text = fileText(path);
    for (const char* line : {"\nlabel-width=500\n", "\nserial=9600,7,E,2,X,A\n", "\n[Native]\nswitch-1=06\nswitch-2=7C\n",
                             "\nserial-number=SN 42\n", "\nusb-serial=AB\\x5CCD\\x0AEF 123\\x20\n"})
        EXPECT_NE(text.find(line), std::string::npos) << line << " in\n" << text;

    Printer restarted;
    EXPECT_TRUE(state.load(restarted).empty());
    const ZiiState zii = restarted.zii();
    EXPECT_EQ(zii.saved, expected);
    EXPECT_EQ(zii.current, expected);
    EXPECT_EQ(zii.activeSerial, expected.serial);
    EXPECT_EQ(restarted.native(), native);
    std::remove(path.c_str());
}

TEST(StateFile, BadValuesAndUnknownKeysAreIgnoredAndNamed) {
    std::vector<std::string> notes;
    const SavedState read = readStateText(
        "[ZII]\nlabel-width=400\ndarkness=31\nprint-speed=5,7\nmedia-type=Y\nmirror=\ncolour=red\n"
        "label-length=12^PW9\n[Other]\ndarkness=3\n",
        notes);
    ZiiSettings expected;
    expected.labelWidth = 400;
    EXPECT_EQ(read.zii, expected);
    EXPECT_EQ(read.native, NativeState{}) << "a file from before the native settings were kept";
    EXPECT_EQ(notes, (std::vector<std::string>{
                         "darkness=31 is not a valid value; ignored",
                         "print-speed=5,7 is not a valid value; ignored",
                         "media-type=Y is not a valid value; ignored",
                         "mirror= is not a valid value; ignored",
                         "unknown key colour; ignored",
                         "label-length=12^PW9 is not a valid value; ignored",
                     }));
    notes.clear();
    NativeState native;
    native.switches[2] = 0xA0;
    EXPECT_EQ(readStateText("[Native]\nswitch-1=6\nswitch-2=0G\nswitch-3=a0\npaper-width=833\ndensity=x\n"
                            "printer-id=TOOLONG1\nhardware-version=1\\x4\nusb-serial=123\nmotor-count=-1\n"
                            "head-total=4294967296\nlabel-length-check=1\n",
                            notes)
                  .native,
              native);
    EXPECT_EQ(notes, (std::vector<std::string>{
                         "switch-1=6 is not a valid value; ignored",
                         "switch-2=0G is not a valid value; ignored",
                         "paper-width=833 is not a valid value; ignored",
                         "density=x is not a valid value; ignored",
                         "printer-id=TOOLONG1 is not a valid value; ignored",
                         "hardware-version=1\\x4 is not a valid value; ignored",
                         "usb-serial=123 is not a valid value; ignored",
                         "motor-count=-1 is not a valid value; ignored",
                         "head-total=4294967296 is not a valid value; ignored",
                         "label-length-check=1 is not a valid value; ignored",
                     }));
    // Every setting the file writes reads back as itself.
    notes.clear();
    SavedState changed{expected, native};
    changed.zii.inverted = true, changed.zii.printMode = 'D', changed.zii.mediaType = 'M';
    changed.zii.printOffset = 120, changed.zii.mediaHandling = 'P', changed.zii.headCloseAction = 'S';
    changed.zii.labelLength = 32000;
    changed.native.values = {0, 20, 2432, 832, 1, -9999, -100, 100};
    changed.native.labelLengthCheck = true, changed.native.identity = {" \\ ", "", "\x01\xff"};
    changed.native.counters = {{{0, 4294967295u}, {1, 2}, {3, 4}}};
    const SavedState back = readStateText(stateFileText(changed), notes);
    EXPECT_EQ(back.zii, changed.zii);
    EXPECT_EQ(back.native, changed.native);
    EXPECT_TRUE(notes.empty()) << notes.front();
}

}  // namespace
}  // namespace velmora::sim
