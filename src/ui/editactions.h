// Clipboard copy, cut and paste on a multi-line edit control's selection, for dialogs whose
// buttons do what the editor's own keys do.
#pragma once

#include "ui/control.h"
#include "ui/host.h"

namespace velmora::ui {

void copySelection(Host& host, const Control& editor);
void cutSelection(Host& host, Control& editor);
// Pasted line breaks become CR LF, as typed ones do; the caret ends after the pasted text.
void pasteAtSelection(Host& host, Control& editor);

}  // namespace velmora::ui
