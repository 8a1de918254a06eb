// Copy, cut and paste on an edit control's selection.
#include "ui/editactions.h"

#include <algorithm>
#include <string>

namespace velmora::ui {

namespace {
struct Range {
    std::size_t start, end;
};

Range selection(const Control& editor) {
    const std::size_t size = editor.text().size();
    const std::size_t a = std::min<std::size_t>(static_cast<std::size_t>(std::max(editor.selStart(), 0)), size);
    const std::size_t b = std::min<std::size_t>(static_cast<std::size_t>(std::max(editor.selEnd(), 0)), size);
    return {a, std::max(a, b)};
}

std::string typedLineBreaks(const std::string& text) {
    std::string out;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '\n' && (i == 0 || text[i - 1] != '\r')) out += '\r';
        out += text[i];
    }
    return out;
}
}  // namespace

void copySelection(Host& host, const Control& editor) {
    const Range r = selection(editor);
    if (r.end > r.start) host.setClipboardText(editor.text().substr(r.start, r.end - r.start));
}

void cutSelection(Host& host, Control& editor) {
    const Range r = selection(editor);
    if (r.end <= r.start) return;
    std::string t = editor.text();
    host.setClipboardText(t.substr(r.start, r.end - r.start));
    t.erase(r.start, r.end - r.start);
    editor.setText(t);
    editor.setSel(static_cast<int>(r.start), static_cast<int>(r.start));
}

void pasteAtSelection(Host& host, Control& editor) {
    const std::string pasted = typedLineBreaks(host.clipboardText());
    const Range r = selection(editor);
    std::string t = editor.text();
    t.replace(r.start, r.end - r.start, pasted);
    editor.setText(t);
    const int caret = static_cast<int>(r.start + pasted.size());
    editor.setSel(caret, caret);
}

}  // namespace velmora::ui
