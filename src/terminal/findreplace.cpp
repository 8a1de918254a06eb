// Find, replace and replace all on plain text.
#include "terminal/findreplace.h"

namespace velmora::terminal {

std::optional<Selection> findNext(std::string_view text, std::string_view what, std::size_t from) {
    if (what.empty() || from > text.size()) return std::nullopt;
    const std::size_t at = text.find(what, from);
    if (at == std::string_view::npos) return std::nullopt;
    return Selection{at, at + what.size()};
}

ReplaceResult replaceSelection(std::string_view text, Selection selection, std::string_view what,
                               std::string_view with) {
    ReplaceResult r;
    r.text = std::string(text);
    if (what.empty()) return r;
    const std::size_t start = std::min(selection.start, text.size());
    const std::size_t end = std::min(std::max(selection.end, start), text.size());
    if (text.substr(start, end - start) != what) {
        r.next = findNext(text, what, end);
        return r;
    }
    r.text.replace(start, end - start, with);
    r.replaced = true;
    // Found in the text as it was, then moved by what the replacement added or took away.
    if (auto next = findNext(text, what, end)) {
        next->start = next->start - what.size() + with.size();
        next->end = next->start + what.size();
        r.next = next;
    }
    return r;
}

ReplaceAllResult replaceAll(std::string_view text, std::string_view what, std::string_view with) {
    ReplaceAllResult r;
    if (what.empty()) {
        r.text = std::string(text);
        return r;
    }
    std::size_t from = 0;
    while (auto match = findNext(text, what, from)) {
        r.text.append(text.substr(from, match->start - from));
        r.last = Selection{r.text.size(), r.text.size() + with.size()};
        r.text.append(with);
        ++r.count;
        from = match->end;
    }
    r.text.append(text.substr(from));
    return r;
}

}  // namespace velmora::terminal
