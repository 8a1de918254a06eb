// A control of a dialog, addressed by its id. All visible state lives here, so tests read
// every text, tick, selection and enable rule without a window, and the window renderer only
// mirrors it.
#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace velmora::ui {

class Control;
class Dialog;

// What a Custom control carries for the window program to paint (the title banner's colours and
// texts, a chart's samples). This layer only holds it; the painter knows the concrete type.
class CustomContent {
public:
    CustomContent() = default;
    virtual ~CustomContent() = default;
    CustomContent(const CustomContent&) = delete;
    CustomContent& operator=(const CustomContent&) = delete;

    // The control that carries this content, or null while it is not attached.
    Control* control() const { return control_; }
    // Asks the window to paint the control again after the content changed.
    void invalidate();

private:
    friend class Control;
    Control* control_ = nullptr;
};

// Standard command ids.
constexpr int IDOK = 1;
constexpr int IDCANCEL = 2;
constexpr int IDABORT = 3;
constexpr int IDRETRY = 4;
constexpr int IDIGNORE = 5;
constexpr int IDYES = 6;
constexpr int IDNO = 7;
// Labels without a meaningful id are given fresh negative ids by the template.
constexpr int IDC_STATIC = -1;

enum class ControlKind {
    Static,        // label text
    GroupBox,      // frame with a caption around other controls
    PushButton,
    CheckBox,
    RadioButton,
    Edit,
    DropDownList,  // combo box whose text is one of its items
    ComboBox,      // combo box with an editable text
    ListBox,
    Tab,           // tab strip with a display area for child pages
    Progress,
    Slider,
    Spin,          // up-down buddy of the edit before it
    DateTime,
    IpAddress,     // four-field dotted address
    Custom,        // painted by the window program (banner, charts)
    Frame,         // area that shows the child pages set for it (the main window's menu view)
};

struct ControlStyle {
    bool numberOnly = false;   // edit accepts digits only
    bool readOnly = false;
    bool multiline = false;
    bool password = false;
    bool uppercase = false;
    bool defaultButton = false;
    bool groupStart = false;   // first radio button of a group
    bool monospace = false;
    bool sorted = false;       // list keeps its items sorted
    bool hidden = false;       // starts invisible
    bool disabled = false;     // starts disabled
    int widthChars = 0;        // preferred width in average characters (0 = natural)
    int heightLines = 0;       // preferred height in text lines for multi-line controls
    bool movesWindow = false;  // pressing and dragging it moves its window (caption-less windows)
    const char* shortcuts = nullptr;  // push button: keys that press it anywhere in its window, "Ctrl+H;Ctrl+F"
};

class Control {
public:
    Control(Dialog* owner, int id, ControlKind kind, std::string text, ControlStyle style);
    ~Control();
    Control(const Control&) = delete;
    Control& operator=(const Control&) = delete;

    int id() const { return id_; }
    ControlKind kind() const { return kind_; }
    const ControlStyle& style() const { return style_; }

    const std::string& text() const { return text_; }
    void setText(const std::string& text);

    int check() const { return check_; }  // 0 clear, 1 ticked, 2 indeterminate
    void setCheck(int state);
    bool checked() const { return check_ == 1; }

    // Lists (drop-down, combo, list box, tab captions).
    const std::vector<std::string>& items() const { return items_; }
    int addItem(const std::string& item);  // the new item's position
    void resetContent();
    int count() const { return static_cast<int>(items_.size()); }
    int curSel() const { return curSel_; }  // -1 when none
    // Selects the item at pos (-1 clears); false (and selection cleared) when pos is out of range.
    bool setCurSel(int pos);
    // Position of the first item whose text equals `text` exactly, or -1.
    int findExact(const std::string& text) const;
    std::string itemText(int pos) const;
    // A list item's tool tip (what the entry stands for); "" when it has none. Tips move with
    // their items when items are inserted or deleted.
    void setItemTip(int pos, const std::string& tip);
    std::string itemTip(int pos) const;

    bool enabled() const { return enabled_; }
    void enable(bool on = true);
    bool visible() const { return visible_; }
    void show(bool on = true);

    int limitText() const { return limitText_; }  // 0 = no limit
    void setLimitText(int chars);
    // An edit the user cannot type into; a check box or radio button the user cannot tick: an
    // indicator that shows only what the program sets.
    bool readOnly() const { return readOnly_; }
    void setReadOnly(bool on);

    // Progress, slider and spin.
    int rangeMin() const { return rangeMin_; }
    int rangeMax() const { return rangeMax_; }
    void setRange(int lo, int hi);
    int pos() const { return pos_; }
    void setPos(int pos);
    // A spin that wraps goes from its last value to its first one (and back) instead of stopping.
    bool wraps() const { return wraps_; }
    void setWrap(bool on);

    std::optional<std::uint32_t> textColor() const { return textColor_; }  // 0xRRGGBB
    std::optional<std::uint32_t> backColor() const { return backColor_; }
    void setColors(std::optional<std::uint32_t> text, std::optional<std::uint32_t> back);

    // Selection inside an edit (start, end); used to append and scroll.
    void setSel(int start, int end);
    int selStart() const { return selStart_; }
    int selEnd() const { return selEnd_; }

    // Custom controls: what the window program paints. Attaching content detaches it from any
    // control it was on before; the control shares ownership with whoever else holds it.
    void setCustom(std::shared_ptr<CustomContent> content);
    CustomContent* custom() const { return custom_.get(); }
    // Tells the observer the control must be shown again, though no state of its own changed.
    void invalidate() { changed(); }

private:
    void changed();

    Dialog* owner_;
    int id_;
    ControlKind kind_;
    ControlStyle style_;
    std::string text_;
    int check_ = 0;
    std::vector<std::string> items_;
    std::vector<std::string> itemTips_;  // by item position; may be shorter than items_
    int curSel_ = -1;
    bool enabled_ = true;
    bool visible_ = true;
    bool readOnly_ = false;
    int limitText_ = 0;
    int rangeMin_ = 0;
    int rangeMax_ = 100;
    int pos_ = 0;
    bool wraps_ = false;
    int selStart_ = 0;
    int selEnd_ = 0;
    std::optional<std::uint32_t> textColor_;
    std::optional<std::uint32_t> backColor_;
    std::shared_ptr<CustomContent> custom_;
};

}  // namespace velmora::ui
