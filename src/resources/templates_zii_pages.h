// Templates and control ids of three ZII setting pages of the user-setting manager: advanced
// settings (media handling, feed at power-up, mirror image), serial interface, real-time clock.
#pragma once

#include "ui/layout.h"

namespace velmora::resources {

enum ZiiAdvancedControlId {
    IDC_ZADV_USE_MEDIA_HANDLING = 1300,  // "use" boxes in front of each row
    IDC_ZADV_USE_MEDIA_FEED,
    IDC_ZADV_USE_BACKFEED,
    IDC_ZADV_USE_MIRROR,
    IDC_ZADV_MEDIA_HANDLING = 1310,
    IDC_ZADV_MEDIA_FEED,
    IDC_ZADV_BACKFEED,
    IDC_ZADV_MIRROR,
    IDC_ZADV_EVERY_LABEL = 1320,  // hidden "Every ... label(s)" box and its captions
    IDC_ZADV_EVERY_CAPTION,
    IDC_ZADV_LABELS_CAPTION,
    IDC_ZADV_GET = 1330,
    IDC_ZADV_SET,
};

enum ZiiSerialControlId {
    IDC_ZSER_BAUD = 1400,
    IDC_ZSER_DATA_LENGTH,
    IDC_ZSER_PARITY,
    IDC_ZSER_STOP_BIT,
    IDC_ZSER_PROTOCOL,
    IDC_ZSER_GET = 1410,
    IDC_ZSER_SET,
    IDC_ZSER_DEFAULT,
    IDC_ZSER_BLUETOOTH_GROUP = 1420,  // never shown
};

enum ZiiClockControlId {
    IDC_ZRTC_SET_CLOCK = 1500,  // "Set Real Time Clock"
    IDC_ZRTC_TO_COMPUTER,       // radio: the computer's clock
    IDC_ZRTC_TO_CHOSEN,         // radio: the date and time picked below
    IDC_ZRTC_DATE,              // date picker, text "yyyy-MM-dd"
    IDC_ZRTC_TIME,              // time picker, text "HH:mm:ss"
    IDC_ZRTC_SET = 1510,
};

const ui::DialogTemplate& ZiiAdvancedTabTemplate();  // 203
const ui::DialogTemplate& ZiiSerialTabTemplate();    // 144
const ui::DialogTemplate& ZiiTimeTabTemplate();      // 137

}  // namespace velmora::resources
