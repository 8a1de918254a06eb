// The ZII real-time clock: picker texts and the "^ST" block.
#include "zii/ziiclockops.h"

#include <cstdio>

#include "zii/ziiprotocol.h"

namespace velmora::zii {

namespace {

bool leapYear(int y) { return (y % 4 == 0 && y % 100 != 0) || y % 400 == 0; }

int daysInMonth(int year, int month) {
    static constexpr int kDays[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    return month == 2 && leapYear(year) ? 29 : kDays[month - 1];
}

// Reads `count` digits at `pos` of `text`.
bool digits(const std::string& text, std::size_t pos, std::size_t count, int& out) {
    if (pos + count > text.size()) return false;
    out = 0;
    for (std::size_t i = pos; i < pos + count; ++i) {
        if (text[i] < '0' || text[i] > '9') return false;
        out = out * 10 + (text[i] - '0');
    }
    return true;
}

}  // namespace

std::string formatPickerDate(const platform::LocalTime& t) {
    char buf[32];
    std::snprintf(buf, sizeof buf, "%04d-%02d-%02d", t.year, t.month, t.day);
    return buf;
}

std::string formatPickerTime(const platform::LocalTime& t) {
    char buf[32];
    std::snprintf(buf, sizeof buf, "%02d:%02d:%02d", t.hour, t.minute, t.second);
    return buf;
}

bool parsePickerDate(const std::string& text, platform::LocalTime& into) {
    int y = 0, m = 0, d = 0;
    if (text.size() != 10 || text[4] != '-' || text[7] != '-') return false;
    if (!digits(text, 0, 4, y) || !digits(text, 5, 2, m) || !digits(text, 8, 2, d)) return false;
    if (y < 1 || m < 1 || m > 12 || d < 1 || d > daysInMonth(y, m)) return false;
    into.year = y;
    into.month = m;
    into.day = d;
    return true;
}

bool parsePickerTime(const std::string& text, platform::LocalTime& into) {
    int h = 0, m = 0, s = 0;
    if (text.size() != 8 || text[2] != ':' || text[5] != ':') return false;
    if (!digits(text, 0, 2, h) || !digits(text, 3, 2, m) || !digits(text, 6, 2, s)) return false;
    if (h > 23 || m > 59 || s > 59) return false;
    into.hour = h;
    into.minute = m;
    into.second = s;
    return true;
}

std::string clockLine(const platform::LocalTime& t) {
    char buf[64];
    std::snprintf(buf, sizeof buf, "^ST%02d,%02d,%04d,%02d,%02d,%02d,M", t.month, t.day, t.year, t.hour,
                  t.minute, t.second);
    return buf;
}

app::Outcome setPrinterClock(link::CComm& comm, const platform::LocalTime& t) {
    app::Outcome out;
    CommandText text;
    const std::string line = clockLine(t);
    text.beginBlock().line(line).endBlockAndSave();
    if (!text.send(comm)) return out.fail(0, kLinkStep);
    out.written.emplace_back("clock", line.substr(3));
    return out.finish(0);
}

}  // namespace velmora::zii
