// Data exchange and validation with the framework's standard messages.
#include "ui/dataexchange.h"

#include <algorithm>
#include <cerrno>
#include <cmath>
#include <limits>
#include <cstdio>
#include <cstdlib>

#include "ui/dialog.h"

namespace velmora::ui {

namespace {
std::string trim(const std::string& s) {
    const char* ws = " \t\r\n";
    const auto b = s.find_first_not_of(ws);
    if (b == std::string::npos) return {};
    return s.substr(b, s.find_last_not_of(ws) - b + 1);
}

}  // namespace

std::size_t characterCount(std::string_view utf8) {
    std::size_t n = 0;
    for (char c : utf8) n += (static_cast<unsigned char>(c) & 0xC0) != 0x80;  // not a continuation byte
    return n;
}

std::string firstCharacters(std::string_view utf8, std::size_t count) {
    std::size_t seen = 0, end = 0;
    for (; end < utf8.size(); ++end)
        if ((static_cast<unsigned char>(utf8[end]) & 0xC0) != 0x80 && seen++ == count) break;
    return std::string(utf8.substr(0, end));
}

std::string fillMessage(std::string text, const std::string& a, const std::string& b) {
    if (auto p = text.find("%1"); p != std::string::npos) text.replace(p, 2, a);
    if (auto p = text.find("%2"); p != std::string::npos) text.replace(p, 2, b);
    return text;
}

std::string integerBoxMessage(const std::string& text, int min, int max) {
    long long v = 0;
    if (!parseInteger(text, v) || v < std::numeric_limits<int>::min() || v > std::numeric_limits<int>::max())
        return ddx_text::kEnterInteger;
    if (min <= max && (v < min || v > max))
        return fillMessage(ddx_text::kEnterIntegerBetween, std::to_string(min), std::to_string(max));
    return {};
}

bool parseInteger(const std::string& text, long long& out) {
    const std::string t = trim(text);
    if (t.empty()) return false;
    size_t i = (t[0] == '-' || t[0] == '+') ? 1 : 0;
    if (i == t.size()) return false;
    for (size_t k = i; k < t.size(); ++k)
        if (t[k] < '0' || t[k] > '9') return false;
    errno = 0;
    out = std::strtoll(t.c_str(), nullptr, 10);
    return errno == 0;
}

bool parseNumber(const std::string& text, double& out) {
    const std::string t = trim(text);
    if (t.empty()) return false;
    char* end = nullptr;
    errno = 0;
    out = std::strtod(t.c_str(), &end);
    return end && *end == '\0' && errno == 0 && std::isfinite(out);
}

std::string formatNumber(double value) {
    char buf[64];
    std::snprintf(buf, sizeof buf, "%.15g", value);
    return buf;
}

DataExchange::DataExchange(Dialog& dialog, bool saveAndValidate) : dialog_(dialog), save_(saveAndValidate) {}

void DataExchange::Fail(int id, const std::string& text) {
    if (failed_) return;
    failed_ = true;
    if (restore_) restore_();
    dialog_.host().message(text);
    if (id) dialog_.SetFocus(id);
}

void DataExchange::Text(int id, std::string& value) {
    if (skip()) return;
    lastId_ = id;
    Control& c = dialog_.control(id);
    if (save_) {
        restore_ = [&value, old = value] { value = old; };
        value = c.text();
    } else {
        restore_ = nullptr;
        c.setText(value);
    }
}

// Whole numbers of either signedness: the same parse, bounds of the field's type.
template <typename T>
void DataExchange::wholeNumber(int id, T& value) {
    if (skip()) return;
    lastId_ = id;
    Control& c = dialog_.control(id);
    if (!save_) {
        restore_ = nullptr;
        c.setText(std::to_string(value));
        return;
    }
    long long v = 0;
    if (!parseInteger(c.text(), v) || v < static_cast<long long>(std::numeric_limits<T>::min()) ||
        v > static_cast<long long>(std::numeric_limits<T>::max())) {
        restore_ = nullptr;
        Fail(id, ddx_text::kEnterInteger);
        return;
    }
    restore_ = [&value, old = value] { value = old; };
    value = static_cast<T>(v);
}

void DataExchange::Text(int id, int& value) { wholeNumber(id, value); }

void DataExchange::Text(int id, unsigned& value) { wholeNumber(id, value); }

void DataExchange::Text(int id, double& value) {
    if (skip()) return;
    lastId_ = id;
    Control& c = dialog_.control(id);
    if (!save_) {
        restore_ = nullptr;
        c.setText(formatNumber(value));
        return;
    }
    double v = 0;
    if (!parseNumber(c.text(), v)) {
        restore_ = nullptr;
        Fail(id, ddx_text::kEnterNumber);
        return;
    }
    restore_ = [&value, old = value] { value = old; };
    value = v;
}

void DataExchange::Check(int id, int& value) {
    if (skip()) return;
    lastId_ = id;
    restore_ = nullptr;
    Control& c = dialog_.control(id);
    if (save_)
        value = c.check();
    else
        c.setCheck(value);
}

void DataExchange::Check(int id, bool& value) {
    int v = value ? 1 : 0;
    Check(id, v);
    value = v != 0;
}

void DataExchange::CBIndex(int id, int& index) {
    if (skip()) return;
    lastId_ = id;
    restore_ = nullptr;
    Control& c = dialog_.control(id);
    if (save_)
        index = c.curSel();
    else
        c.setCurSel(index);
}

void DataExchange::CBString(int id, std::string& text) {
    if (skip()) return;
    lastId_ = id;
    restore_ = nullptr;
    Control& c = dialog_.control(id);
    if (save_) {
        text = c.text();
    } else if (int pos = c.findExact(text); pos >= 0 || c.kind() == ControlKind::DropDownList) {
        c.setCurSel(pos);
    } else {
        c.setText(text);
    }
}

void DataExchange::Radio(int firstId, int& index) {
    if (skip()) return;
    lastId_ = firstId;
    restore_ = nullptr;
    const auto& all = dialog_.controls();
    size_t start = 0;
    while (start < all.size() && all[start]->id() != firstId) ++start;
    if (save_) index = -1;
    int pos = 0;
    for (size_t i = start; i < all.size(); ++i) {
        Control& c = *all[i];
        if (c.kind() != ControlKind::RadioButton) continue;
        if (i != start && c.style().groupStart) break;
        if (save_) {
            if (c.checked() && index < 0) index = pos;
        } else {
            c.setCheck(pos == index ? 1 : 0);
        }
        ++pos;
    }
}

void DataExchange::SliderPos(int id, int& pos) {
    if (skip()) return;
    lastId_ = id;
    restore_ = nullptr;
    Control& c = dialog_.control(id);
    if (save_)
        pos = c.pos();
    else
        c.setPos(pos);
}

void DataExchange::MinMaxInt(int value, int min, int max) {
    if (skip() || !save_) return;
    if (value < min || value > max)
        Fail(lastId_, fillMessage(ddx_text::kEnterIntegerBetween, std::to_string(min), std::to_string(max)));
}

void DataExchange::MinMaxDouble(double value, double min, double max) {
    if (skip() || !save_) return;
    if (value < min || value > max)
        Fail(lastId_, fillMessage(ddx_text::kEnterNumberBetween, formatNumber(min), formatNumber(max)));
}

void DataExchange::MaxChars(const std::string& value, int count) {
    if (skip()) return;
    if (!save_) {
        // Loading sets the edit's limit so the user cannot type past it.
        if (lastId_ && dialog_.hasControl(lastId_)) dialog_.control(lastId_).setLimitText(count);
        return;
    }
    if (characterCount(value) > static_cast<std::size_t>(std::max(count, 0)))
        Fail(lastId_, fillMessage(ddx_text::kEnterNoMoreThan, std::to_string(count)));
}

}  // namespace velmora::ui
