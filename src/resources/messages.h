// Every numbered text of the string table by name: the message boxes, the main window's bottom
// line, tab captions and the item lists of drop-down lists. Code names a text only through this
// header, so an id is written once; the texts themselves are in stringtable.cpp.
#pragma once

#include <array>

namespace velmora::msg {

// The link and the connection.
inline constexpr int kSocketsFailed = 103;    // cannot happen on Linux; kept with its text
inline constexpr int kSerialPortError = 110;  // a serial read call failed
inline constexpr int kPortError = 111;        // a write still failed after its retries
inline constexpr int kCreateSocket = 149;
inline constexpr int kConnectFailed = 150;
inline constexpr int kCannotOpenPort = 216;
inline constexpr int kPortOpened = 217;
inline constexpr int kBadAddress = 300;  // a part of the IP address above 255
inline constexpr int kNoCalibrationOnEthernet = 219;
inline constexpr int kNotOnEthernet = 272;

// The main window's bottom line while it connects, and what came of it ("%s": the link, the reason).
inline constexpr int kLineConnecting = 330;
inline constexpr int kLineConnected = 331;
inline constexpr int kLineNoAnswer = 332;
inline constexpr int kLinePermission = 333;
inline constexpr int kLineCannotOpenBecause = 334;
inline constexpr int kLineCannotOpen = 335;
inline constexpr int kLineDisconnected = 336;
// The bottom line after an action that shows no box.
inline constexpr int kStatusSettingsSent = 337;  // "Settings sent to the printer"
inline constexpr int kStatusToolSent = 338;      // "Sent to the printer: %s" (the button's caption)
inline constexpr int kStatusSamplesSent = 339;   // "%s sample label(s) sent to the printer"
inline constexpr int kStatusReadingTag = 340;
inline constexpr int kStatusTagRead = 341;
inline constexpr int kStatusTagNotRead = 342;

// Files and typed text.
inline constexpr int kCantOpenFile = 107;
inline constexpr int kNoSaveFile = 214;
inline constexpr int kNoLoadFile = 215;
inline constexpr int kCannotReadFile = 361;   // "%1": the path
inline constexpr int kCannotWriteFile = 362;  // "%1": the path
inline constexpr int kQuotedFieldBreaks = 360;
inline constexpr int kNoFontFound = 364;
inline constexpr int kCodePageCannotHold = 365;  // "%1": the code page, "%2": how many characters
inline constexpr int kNoPreview = 590;           // label pictures are the window's
inline constexpr int kPrintsNoLabel = 591;

// Status.
inline constexpr int kStatusReadFail = 112;
inline constexpr int kCpCaption = 233;
inline constexpr int kCuCaption = 234;

// File transfer and PCX images.
inline constexpr int kPcxCompleted = 146;
inline constexpr int kSelectPcx = 147;
inline constexpr int kTypeImageName = 148;
inline constexpr int kDownloadCompleted = 237;
inline constexpr int kSelectFile = 238;
inline constexpr int kFileDownloadFailed = 460;  // a write failed midway
inline constexpr int kPcxDownloadFailed = 461;
inline constexpr int kFileChanged = 462;  // shrank or was rewritten while it was sent

// Sensing calibration.
inline constexpr int kSelectLevel = 105;
inline constexpr int kSensingReadFail = 106;
inline constexpr int kCalibrationTab = 248;  // the single tab's caption: two blanks

// Hardware identity: per string its shown prefix ("H/W version is "), empty, set, initialize and
// too-long texts.
inline constexpr int kVersionIs = 119, kVersionEmpty = 120, kVersionSetOk = 121, kVersionSetFailed = 122;
inline constexpr int kVersionInitOk = 123, kVersionInitFailed = 124, kVersionTooLong = 137;
inline constexpr int kSerialNumberIs = 125, kSerialNumberEmpty = 126, kSerialNumberSetOk = 127;
inline constexpr int kSerialNumberSetFailed = 128, kSerialNumberInitOk = 129, kSerialNumberInitFailed = 130;
inline constexpr int kSerialNumberTooLong = 138;
inline constexpr int kPrinterIdIs = 131, kPrinterIdEmpty = 132, kPrinterIdSetOk = 133, kPrinterIdSetFailed = 134;
inline constexpr int kPrinterIdInitOk = 135, kPrinterIdInitFailed = 136, kPrinterIdTooLong = 139;

// Printer information.
inline constexpr int kInfoGetOk = 151;
inline constexpr int kInfoGetFailed = 152;
inline constexpr int kUsbSerialNot13Digits = 270;

// Print and page: per setting its set and get texts.
inline constexpr int kPaperWidthSetOk = 153, kPaperWidthSetFailed = 154, kPaperWidthGetOk = 155, kPaperWidthGetFailed = 156;
inline constexpr int kPaperLengthSetOk = 157, kPaperLengthSetFailed = 158, kPaperLengthGetOk = 159, kPaperLengthGetFailed = 160;
inline constexpr int kHMarginSetOk = 161, kHMarginSetFailed = 162, kHMarginGetOk = 163, kHMarginGetFailed = 164;
inline constexpr int kVMarginSetOk = 165, kVMarginSetFailed = 166, kVMarginGetOk = 167, kVMarginGetFailed = 168;
inline constexpr int kDensitySetOk = 169, kDensitySetFailed = 170, kDensityGetOk = 171, kDensityGetFailed = 172;
inline constexpr int kStrobeSetOk = 173, kStrobeSetFailed = 174, kStrobeGetOk = 175, kStrobeGetFailed = 176;
inline constexpr int kInitializeAllOk = 177, kInitializeAllFailed = 178;
inline constexpr int kGapLengthSetOk = 179, kGapLengthSetFailed = 180, kGapLengthGetOk = 181, kGapLengthGetFailed = 182;
inline constexpr int kGapDetectSetOk = 183, kGapDetectSetFailed = 184, kGapDetectGetOk = 185, kGapDetectGetFailed = 186;
inline constexpr int kSpeedGetOk = 187, kSpeedGetFailed = 188, kSpeedSetOk = 189, kSpeedSetFailed = 190;
inline constexpr int kOffsetGetOk = 191, kOffsetGetFailed = 192, kOffsetSetOk = 193, kOffsetSetFailed = 194;
inline constexpr int kTearOffSetOk = 195, kTearOffSetFailed = 196, kTearOffGetOk = 197, kTearOffGetFailed = 198;

// RFID.
inline constexpr int kRfidBadRange = 199;
inline constexpr int kRfidReadOk = 200, kRfidReadFailed = 201;
inline constexpr int kRfidSetOk = 202, kRfidSetFailed = 203, kRfidGetOk = 204, kRfidGetFailed = 205;
inline constexpr int kRfidCalibrationOk = 206, kRfidCalibrationFailed = 207;
inline constexpr int kRfidUnlockFailed = 208, kRfidDataFailed = 209, kRfidLockFailed = 210, kRfidWriteOk = 211;
inline constexpr int kRfidBadAccess = 212, kRfidBadKill = 213;
inline constexpr int kRfidChooseTagKind = 560;
inline constexpr int kRfidCellNotOneByte = 561;

// Serial interface settings (native and ZII).
inline constexpr int kSerialGetOk = 220, kSerialGetFailed = 221, kSerialSetOk = 222;
inline constexpr int kRestartPrinter = 223, kReconnectPrinter = 224, kSerialSetFailed = 225;
inline constexpr std::array<int, 5> kSelectSerialField = {276, 277, 278, 279, 280};  // baud ... protocol

// Two-byte code pages.
inline constexpr int kStartBlockWrong = 229;
inline constexpr int kEndBlockWrong = 230;
inline constexpr int kFontSizeDigits = 530;

// Settings profiles.
inline constexpr int kProfileNoDifference = 620;
inline constexpr int kProfileDifferences = 621;
inline constexpr int kProfileResults = 622;

// The window's printer search ("%s": how many addresses, the network, the port).
inline constexpr int kFindAsk = 630;
inline constexpr int kFindBadPort = 631;
inline constexpr int kFindNoNetwork = 632;
inline constexpr int kFindChoose = 633;

// Tab captions of the user-setting manager.
inline constexpr int kTabInterface = 240, kTabLanguage = 241, kTabPrintPage = 242, kTabHardwareInfo = 243;
inline constexpr int kTabPrinterInfo = 244, kTabBasic = 245, kTabAdvanced = 246, kTabClock = 247, kTabOthers = 271;

// ";"-separated item lists of drop-down lists.
inline constexpr int kGapDetectItems = 250;
inline constexpr int kOrientationItems = 251;
inline constexpr int kPrintModeItems = 252;
inline constexpr int kMediaTypeItems = 253;
inline constexpr int kMediaHandlingItems = 254;
inline constexpr int kMediaFeedItems = 255;
inline constexpr int kBackfeedItems = 256;
inline constexpr int kList2DCompression = 257;
inline constexpr int kList2DOrigin = 258;
inline constexpr int kListVectorBold = 259;
inline constexpr int kListVectorReverse = 260;
inline constexpr int kListVectorItalic = 261;
inline constexpr int kListJustification = 262;
inline constexpr int kListTextDirection = 263;
inline constexpr int kBaudItems = 264;
inline constexpr int kParityItems = 266;
inline constexpr int kStopBitItems = 267;
inline constexpr int kProtocolItems = 268;

}  // namespace velmora::msg
