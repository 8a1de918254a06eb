// Multi-line edits between the control and Qt's editor. The control holds the bytes the printer
// gets, with whatever line ends they have (CR LF, a lone CR, a lone LF); Qt's editor shows each of
// them as one line break and gives LF back. An edit must not rewrite the line ends the user never
// touched, so what comes back from the editor is merged into the control's text: only the part
// that changed is new, and its line breaks are CR LF.
#pragma once

#include <QString>
#include <string>
#include <vector>

namespace velmora::gui::detail {

// The editor's text for a control's text: every line end (CR LF, CR, LF) one LF; bytes that are no
// UTF-8 one U+FFFD each.
QString toEditor(const std::string& text);
// Text typed anew: each LF becomes CR LF.
std::string fromEditor(const QString& text);
// The control's text after the editor changed from `shown` (what it showed for `before`) to
// `edited`: the bytes of `before` kept where the editor's text did not change.
std::string mergeEdit(const QString& edited, const std::string& before, const QString& shown);
// A position in the control's text (bytes) as a position in the editor.
int editorPos(const std::string& text, int pos);
// A position in the editor as a position in the control's text: the inverse of editorPos.
int controlPos(const std::string& text, int pos);

}  // namespace velmora::gui::detail
