// The simulator's non-volatile memory on disk: what ^JUS saves survives a restart through the
// state file, and a file with bad values starts the printer with what of it is valid.
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
        EXPECT_TRUE(errors.empty()) << errors.front();
    }
    const std::string text = fileText(path);
    EXPECT_NE(text.find("\nlabel-width=500\n"), std::string::npos) << text;
    EXPECT_NE(text.find("\nserial=9600,7,E,2,X,A\n"), std::string::npos) << text;

    Printer restarted;
    EXPECT_TRUE(state.load(restarted).empty());
    const ZiiState zii = restarted.zii();
    EXPECT_EQ(zii.saved, expected);
    EXPECT_EQ(zii.current, expected);
    EXPECT_EQ(zii.activeSerial, expected.serial);
    std::remove(path.c_str());
}

TEST(StateFile, BadValuesAndUnknownKeysAreIgnoredAndNamed) {
    std::vector<std::string> notes;
    const ZiiSettings read = readStateText(
        "[ZII]\nlabel-width=400\ndarkness=31\nprint-speed=5,7\nmedia-type=Y\nmirror=\ncolour=red\n"
        "label-length=12^PW9\n[Other]\ndarkness=3\n",
        notes);
    ZiiSettings expected;
    expected.labelWidth = 400;
    EXPECT_EQ(read, expected);
    EXPECT_EQ(notes, (std::vector<std::string>{
                         "darkness=31 is not a valid value; ignored",
                         "print-speed=5,7 is not a valid value; ignored",
                         "media-type=Y is not a valid value; ignored",
                         "mirror= is not a valid value; ignored",
                         "unknown key colour; ignored",
                         "label-length=12^PW9 is not a valid value; ignored",
                     }));
    // Every setting the file writes reads back as itself.
    notes.clear();
    ZiiSettings changed = expected;
    changed.inverted = true, changed.printMode = 'D', changed.mediaType = 'M', changed.printOffset = 120;
    changed.mediaHandling = 'P', changed.headCloseAction = 'S', changed.labelLength = 32000;
    EXPECT_EQ(readStateText(stateFileText(changed), notes), changed);
    EXPECT_TRUE(notes.empty());
}

}  // namespace
}  // namespace velmora::sim
