// The native print and page settings as operations: one table of keys (value numbers, queries,
// switch bits, ranges, messages) and the Get, Set and Initialize of each, used by the page's
// dialog, the command line and profiles alike.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "app/operation.h"
#include "platform/clock.h"

namespace velmora::settings {

enum class PageKind {
    Numeric,     // a user value: "^MBU" n to set, "^PI" g "," n to read
    Switch,      // bits of a memory switch, a list of choices
    Signed,      // offset and tear-off: a sign and up to three digits
    LabelCheck,  // the label length check: set only, no message
};

struct PageKey {
    const char* name;  // "paper-width", as the command line and profiles name it
    PageKind kind;
    int min, max;                    // Numeric, Signed: the range a Set takes; min > max: any int
    std::vector<std::string> words;  // Switch, LabelCheck: the word of each choice
    int valueNumber;                 // Numeric: "^MBU" n
    int queryGroup, queryNumber;     // Numeric: "^PI" g "," n
    int switchNumber;                // Switch
    const char* query;               // Signed: the query's bytes
    const char* command;             // Signed: the Set's command letters
    int getOk, getFailed, setOk, setFailed;
};

// In the order the page reads them (label-length-check, which has no Get, last).
const std::vector<PageKey>& printerPageKeys();
const PageKey* findPrinterPageKey(const std::string& name);

// The switch settings' value bytes and their decoding (nothing for a byte the table lacks).
std::uint8_t strobeByte(int choice);           // 0, 1, 2 -> 0x00, 0x40, 0x80
std::optional<int> decodeStrobe(std::uint8_t byte);
std::uint8_t gapDetectByte(int choice);        // 0, 1 -> 0x00, 0x20
std::optional<int> decodeGapDetect(std::uint8_t byte);
std::uint8_t speedByte(int choice);            // choice * 0x20 for 1..6, else 0x00
int decodeSpeed(std::uint8_t byte);            // bits 5..7; 7 reads as 0

// What a Set sends.
struct PageValue {
    int number = 0;           // Numeric
    int choice = -1;          // Switch, LabelCheck: position in the key's words; -1 none
    bool negative = false;    // Signed
    std::string magnitude;    // Signed: the digits as typed, sent as they are
};

// A value as the command line and profiles write it ("640", "7ips", "-12", "enable"); nothing,
// with what the page would say in `refusal`, when the page does not take it.
std::optional<PageValue> parsePageValue(const PageKey& key, const std::string& text, std::string& refusal);

// The Get of one setting: query, pause, reply (the caller begins the action). The value's text is what the page shows (a
// numeric reply normalised as the page does, a choice by its word, "" for a byte that is none).
app::Outcome getPageSetting(link::CComm& comm, platform::Clock& clock, const PageKey& key);
// The Set of one setting. A switch with no choice sends nothing and fails.
app::Outcome setPageSetting(link::CComm& comm, platform::Clock& clock, const PageKey& key, const PageValue& value);
// "Initialize": every user setting back to the printer's own.
app::Outcome initializeUserSettings(link::CComm& comm);

}  // namespace velmora::settings
