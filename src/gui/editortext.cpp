// The control's text in Qt's editor and back, line ends kept.
#include "gui/editortext.h"

#include <algorithm>

namespace velmora::gui::detail {

namespace {

// The editor's text with, for each of its units, the byte of the control's text where that
// unit's character starts; one more entry at the end for the text's length.
struct Mapped {
    QString text;
    std::vector<int> at;
};

bool continuation(unsigned char c) { return (c & 0xC0) == 0x80; }

// The code point of the UTF-8 sequence at `i` and its length; 0 length for no valid sequence.
char32_t decode(const std::string& s, std::size_t i, std::size_t& len) {
    const auto b = [&](std::size_t k) { return static_cast<unsigned char>(s[i + k]); };
    const unsigned char c = b(0);
    len = 0;
    if (c < 0x80) {
        len = 1;
        return c;
    }
    std::size_t n = c >= 0xC2 && c <= 0xDF ? 2 : c >= 0xE0 && c <= 0xEF ? 3 : c >= 0xF0 && c <= 0xF4 ? 4 : 0;
    if (n == 0 || i + n > s.size()) return 0;
    for (std::size_t k = 1; k < n; ++k)
        if (!continuation(b(k))) return 0;
    // No overlong forms, no surrogates, nothing past U+10FFFF.
    if ((c == 0xE0 && b(1) < 0xA0) || (c == 0xED && b(1) > 0x9F) || (c == 0xF0 && b(1) < 0x90) ||
        (c == 0xF4 && b(1) > 0x8F))
        return 0;
    char32_t cp = n == 2 ? c & 0x1F : n == 3 ? c & 0x0F : c & 0x07;
    for (std::size_t k = 1; k < n; ++k) cp = (cp << 6) | (b(k) & 0x3F);
    len = n;
    return cp;
}

Mapped mapped(const std::string& text) {
    Mapped m;
    m.text.reserve(static_cast<qsizetype>(text.size()));
    m.at.reserve(text.size() + 1);
    std::size_t i = 0;
    while (i < text.size()) {
        const int start = static_cast<int>(i);
        if (text[i] == '\r' || text[i] == '\n') {
            i += text.compare(i, 2, "\r\n") == 0 ? 2 : 1;
            m.text += u'\n';
            m.at.push_back(start);
            continue;
        }
        std::size_t len = 0;
        const char32_t cp = decode(text, i, len);
        if (len == 0) {
            m.text += QChar(QChar::ReplacementCharacter);
            m.at.push_back(start);
            ++i;
            continue;
        }
        const char32_t one[] = {cp};
        const QString units = QString::fromUcs4(one, 1);
        m.text += units;
        for (qsizetype k = 0; k < units.size(); ++k) m.at.push_back(start);
        i += len;
    }
    m.at.push_back(static_cast<int>(text.size()));
    return m;
}

}  // namespace

QString toEditor(const std::string& text) { return mapped(text).text; }

std::string fromEditor(const QString& text) {
    QString s = text;
    s.replace(u'\n', QStringLiteral("\r\n"));
    return s.toStdString();
}

std::string mergeEdit(const QString& edited, const std::string& before, const QString& shown) {
    const Mapped m = mapped(before);
    // The editor shows each unit of the text as one unit; anything else is no edit of this text.
    if (shown.size() != m.text.size()) return fromEditor(edited);
    const qsizetype most = std::min(edited.size(), shown.size());
    qsizetype head = 0;
    while (head < most && edited[head] == shown[head]) ++head;
    qsizetype tail = 0;
    while (tail < most - head && edited[edited.size() - 1 - tail] == shown[shown.size() - 1 - tail]) ++tail;
    // Never between the two halves of a surrogate pair.
    if (head > 0 && shown[head - 1].isHighSurrogate()) --head;
    if (tail > 0 && shown[shown.size() - tail].isLowSurrogate()) --tail;
    const auto keptHead = static_cast<std::size_t>(m.at[static_cast<std::size_t>(head)]);
    const auto keptTail = static_cast<std::size_t>(m.at[static_cast<std::size_t>(shown.size() - tail)]);
    return before.substr(0, keptHead) + fromEditor(edited.mid(head, edited.size() - head - tail)) +
           before.substr(keptTail);
}

int editorPos(const std::string& text, int pos) {
    const Mapped m = mapped(text);
    if (pos < 0 || pos > static_cast<int>(text.size())) pos = static_cast<int>(text.size());
    // The first unit that starts at or after the byte.
    const auto units = m.at.end() - 1;
    return static_cast<int>(std::lower_bound(m.at.begin(), units, pos) - m.at.begin());
}

int controlPos(const std::string& text, int pos) {
    const Mapped m = mapped(text);
    const int units = static_cast<int>(m.text.size());
    return m.at[static_cast<std::size_t>(std::clamp(pos, 0, units))];
}

}  // namespace velmora::gui::detail
