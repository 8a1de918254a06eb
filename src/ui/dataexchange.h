// Moves values between controls and a dialog's fields and validates them with the framework's
// standard messages. Once an exchange fails, the rest of the pass is skipped.
#pragma once

#include <cstddef>
#include <functional>
#include <string>
#include <string_view>

namespace velmora::ui {

class Dialog;

// The framework's standard validation messages ("%1", "%2" stand for the bounds).
namespace ddx_text {
inline constexpr const char* kEnterInteger = "Enter an integer.";
inline constexpr const char* kEnterIntegerBetween = "Enter an integer between %1 and %2.";
inline constexpr const char* kEnterNumber = "Enter a number.";
inline constexpr const char* kEnterNumberBetween = "Enter a number between %1 and %2.";
inline constexpr const char* kEnterNoMoreThan = "Enter no more than %1 characters.";
}  // namespace ddx_text

class DataExchange {
public:
    DataExchange(Dialog& dialog, bool saveAndValidate);

    bool saving() const { return save_; }
    bool failed() const { return failed_; }
    Dialog& dialog() const { return dialog_; }

    void Text(int id, std::string& value);
    void Text(int id, int& value);
    void Text(int id, unsigned& value);
    void Text(int id, double& value);
    void Check(int id, int& value);
    void Check(int id, bool& value);
    void CBIndex(int id, int& index);  // list position, -1 for none
    void CBString(int id, std::string& text);
    // Radio group starting at firstId: the position of the ticked button, -1 for none.
    void Radio(int firstId, int& index);
    void SliderPos(int id, int& pos);

    // Validation of the value just exchanged; on failure the field gets its old value back.
    void MinMaxInt(int value, int min, int max);
    void MinMaxDouble(double value, double min, double max);
    void MaxChars(const std::string& value, int count);

    // Shows `text` for the control `id` and stops the exchange.
    void Fail(int id, const std::string& text);

private:
    bool skip() const { return failed_; }
    template <typename T>
    void wholeNumber(int id, T& value);
    Dialog& dialog_;
    bool save_;
    bool failed_ = false;
    int lastId_ = 0;
    std::function<void()> restore_;  // puts the last field back as it was
};

// Text parsing as the framework does it: surrounding blanks allowed, nothing else.
bool parseInteger(const std::string& text, long long& out);
bool parseNumber(const std::string& text, double& out);
// Formats a number the way the framework shows it in an edit (shortest, no trailing zeros).
std::string formatNumber(double value);
// "%1"/"%2" of a framework message filled in.
std::string fillMessage(std::string text, const std::string& a, const std::string& b = {});
// Characters of UTF-8 text, not bytes: what a text limit and its message count.
std::size_t characterCount(std::string_view utf8);
// The first `count` characters of UTF-8 text, never part of one.
std::string firstCharacters(std::string_view utf8, std::size_t count);
// What an int box bound with MinMaxInt(min, max) says of `text` (no range check when min > max);
// empty when it takes the text. The same checks as Text(int) and MinMaxInt, without a dialog.
std::string integerBoxMessage(const std::string& text, int min, int max);

}  // namespace velmora::ui
