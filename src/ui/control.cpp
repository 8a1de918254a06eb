// Control state and its change notifications.
#include "ui/control.h"

#include "ui/dialog.h"

namespace velmora::ui {

void CustomContent::invalidate() {
    if (control_) control_->invalidate();
}

Control::Control(Dialog* owner, int id, ControlKind kind, std::string text, ControlStyle style)
    : owner_(owner), id_(id), kind_(kind), style_(style), text_(std::move(text)) {
    enabled_ = !style.disabled;
    visible_ = !style.hidden;
    readOnly_ = style.readOnly;
}

Control::~Control() {
    // The content may live on elsewhere; it must not point at a control that is gone.
    if (custom_ && custom_->control_ == this) custom_->control_ = nullptr;
}

void Control::changed() {
    if (owner_) owner_->notifyControlChanged(*this);
}

void Control::setText(const std::string& text) {
    // A text limit stops typing only; texts the program sets are kept whole.
    if (text == text_) return;
    text_ = text;
    if (kind_ == ControlKind::ComboBox) curSel_ = findExact(text_);
    changed();
}

void Control::setCheck(int state) {
    if (state == check_) return;
    check_ = state;
    changed();
}

int Control::addItem(const std::string& item) {
    items_.push_back(item);
    changed();
    return static_cast<int>(items_.size()) - 1;
}

void Control::resetContent() {
    items_.clear();
    itemTips_.clear();
    curSel_ = -1;
    if (kind_ == ControlKind::DropDownList) text_.clear();
    changed();
}

bool Control::setCurSel(int pos) {
    const bool ok = pos >= 0 && pos < count();
    curSel_ = ok ? pos : -1;
    if (kind_ == ControlKind::DropDownList || kind_ == ControlKind::ComboBox || kind_ == ControlKind::Tab)
        text_ = ok ? items_[pos] : (kind_ == ControlKind::ComboBox ? text_ : std::string());
    changed();
    return ok;
}

int Control::findExact(const std::string& text) const {
    for (int i = 0; i < count(); ++i)
        if (items_[i] == text) return i;
    return -1;
}

std::string Control::itemText(int pos) const {
    return pos >= 0 && pos < count() ? items_[pos] : std::string();
}

void Control::setItemTip(int pos, const std::string& tip) {
    if (pos < 0 || pos >= count() || itemTip(pos) == tip) return;
    if (pos >= static_cast<int>(itemTips_.size())) itemTips_.resize(pos + 1);
    itemTips_[pos] = tip;
    changed();
}

std::string Control::itemTip(int pos) const {
    return pos >= 0 && pos < static_cast<int>(itemTips_.size()) ? itemTips_[pos] : std::string();
}

void Control::enable(bool on) {
    if (on == enabled_) return;
    enabled_ = on;
    changed();
}

void Control::show(bool on) {
    if (on == visible_) return;
    visible_ = on;
    changed();
}

void Control::setLimitText(int chars) {
    limitText_ = chars;
    changed();
}

void Control::setReadOnly(bool on) {
    readOnly_ = on;
    changed();
}

void Control::setRange(int lo, int hi) {
    rangeMin_ = lo;
    rangeMax_ = hi;
    changed();
}

void Control::setWrap(bool on) {
    if (on == wraps_) return;
    wraps_ = on;
    changed();
}

void Control::setPos(int pos) {
    pos_ = pos;
    changed();
}

void Control::setColors(std::optional<std::uint32_t> text, std::optional<std::uint32_t> back) {
    textColor_ = text;
    backColor_ = back;
    changed();
}

void Control::setSel(int start, int end) {
    selStart_ = start;
    selEnd_ = end;
    changed();
}

void Control::setCustom(std::shared_ptr<CustomContent> content) {
    if (content == custom_) return;
    if (custom_ && custom_->control_ == this) custom_->control_ = nullptr;
    if (content) {
        if (Control* previous = content->control_) {
            previous->custom_.reset();
            previous->changed();
        }
        content->control_ = this;
    }
    custom_ = std::move(content);
    changed();
}

}  // namespace velmora::ui
