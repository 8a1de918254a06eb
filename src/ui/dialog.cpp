// Dialog life, controls by id, user actions and the handler map.
#include "ui/dialog.h"

#include <algorithm>
#include <iterator>
#include <stdexcept>

#include "ui/dataexchange.h"

namespace velmora::ui {

Dialog::Dialog(Host& host, const DialogTemplate& tmpl) : host_(host), tmpl_(tmpl), caption_(tmpl.caption) {}

Dialog::~Dialog() = default;

void Dialog::build(const LayoutNode& node) {
    const bool isControl = node.kind == LayoutNode::Kind::Control;
    const bool isGroup = node.kind == LayoutNode::Kind::Group;
    if (isControl || isGroup) {
        const ControlSpec& desc = node.control;
        int id = desc.id;
        // Labels and frames without an id of their own still get one, so every control can
        // be found and rendered.
        if (id == IDC_STATIC) id = nextStaticId_--;
        auto c = std::make_unique<Control>(this, id, desc.kind, desc.text, desc.style);
        for (const auto& item : desc.items) c->addItem(item);
        byId_[id] = c.get();
        controls_.push_back(std::move(c));
    }
    for (const auto& child : node.children) build(child);
}

bool Dialog::Create() {
    if (created_) return true;
    build(tmpl_.root);
    created_ = true;
    return OnInitDialog();
}

bool Dialog::CreateAsChild(Dialog& parent) {
    parent_ = &parent;
    parent.children_.push_back(this);
    visible_ = false;
    return Create();
}

int Dialog::DoModal() {
    ended_ = false;
    return host_.runModal(*this);
}

void Dialog::EndDialog(int result) {
    ended_ = true;
    result_ = result;
    if (observer_) observer_->dialogChanged();
}

Control& Dialog::control(int id) {
    auto it = byId_.find(id);
    if (it == byId_.end()) throw std::out_of_range("no control with id " + std::to_string(id));
    return *it->second;
}

const Control& Dialog::control(int id) const { return const_cast<Dialog*>(this)->control(id); }

bool Dialog::hasControl(int id) const { return byId_.count(id) != 0; }

bool Dialog::UpdateData(bool saveAndValidate) {
    DataExchange dx(*this, saveAndValidate);
    DoDataExchange(dx);
    return !dx.failed();
}

void Dialog::SetWindowText(const std::string& caption) {
    caption_ = caption;
    if (observer_) observer_->dialogChanged();
}

void Dialog::ShowWindow(bool show) {
    if (visible_ == show) return;
    visible_ = show;
    if (observer_) observer_->dialogChanged();
}

void Dialog::setTabPages(int tabId, std::vector<Dialog*> pages) {
    tabPages_[tabId] = std::move(pages);
    if (observer_) observer_->dialogChanged();
}

const std::vector<Dialog*>& Dialog::tabPages(int tabId) const {
    static const std::vector<Dialog*> none;
    auto it = tabPages_.find(tabId);
    return it == tabPages_.end() ? none : it->second;
}

void Dialog::SetFocus(int id) {
    focusId_ = id;
    if (observer_) observer_->focusChanged();
}

void Dialog::notifyControlChanged(Control& control) {
    if (observer_) observer_->controlChanged(control);
}

void Dialog::on(Event event, int id, std::function<void()> handler) { handlers_[{event, id}] = std::move(handler); }

void Dialog::dispatch(Event event, int id) {
    auto it = handlers_.find({event, id});
    if (it != handlers_.end()) {
        // Copy: a handler may replace itself.
        auto handler = it->second;
        handler();
        return;
    }
    if (event == Event::Clicked && id == IDOK) OnOK();
    if (event == Event::Clicked && id == IDCANCEL) OnCancel();
}

void Dialog::click(int id) {
    if (hasControl(id)) {
        Control& c = control(id);
        if (!c.enabled() || !c.visible()) return;  // a user cannot press what is disabled or hidden
        const bool tickable = c.kind() == ControlKind::CheckBox || c.kind() == ControlKind::RadioButton;
        if (tickable && c.readOnly()) return;  // an indicator shows what the program says, nothing else
        if (c.kind() == ControlKind::CheckBox) c.setCheck(c.check() ? 0 : 1);
        if (c.kind() == ControlKind::RadioButton) {
            // Clear the other buttons of the same group: from the group start to the next one.
            size_t first = 0;
            for (size_t i = 0; i < controls_.size(); ++i) {
                auto& k = *controls_[i];
                if (k.kind() == ControlKind::RadioButton && k.style().groupStart) first = i;
                if (&k == &c) break;
            }
            for (size_t i = first; i < controls_.size(); ++i) {
                auto& k = *controls_[i];
                if (k.kind() != ControlKind::RadioButton) continue;
                if (i != first && k.style().groupStart) break;
                k.setCheck(&k == &c ? 1 : 0);
            }
        }
        focusId_ = id;
    } else if (id != IDOK && id != IDCANCEL) {
        return;
    }
    dispatch(Event::Clicked, id);
}

void Dialog::chooseItem(int id, int pos) {
    Control& c = control(id);
    if (!c.enabled() || !c.visible()) return;
    c.setCurSel(pos);
    focusId_ = id;
    dispatch(Event::SelChange, id);
}

void Dialog::typeText(int id, const std::string& text) {
    Control& c = control(id);
    if (!c.enabled() || !c.visible() || c.readOnly()) return;
    // The limit counts characters, as the window's edits do: a character is never cut in two.
    std::string t = c.limitText() > 0 ? firstCharacters(text, static_cast<std::size_t>(c.limitText())) : text;
    if (c.style().numberOnly) {
        for (char ch : t)
            if (ch < '0' || ch > '9') return;  // the edit refuses the keystroke
    }
    c.setText(t);
    focusId_ = id;
    dispatch(Event::EditChange, id);
}

void Dialog::selectTab(int id, int pos) {
    Control& c = control(id);
    if (!c.enabled() || pos < 0 || pos >= c.count()) return;
    c.setCurSel(pos);
    dispatch(Event::TabChange, id);
}

void Dialog::moveSlider(int id, int pos) {
    Control& c = control(id);
    if (!c.enabled()) return;
    c.setPos(std::max(c.rangeMin(), std::min(c.rangeMax(), pos)));
    dispatch(Event::Scroll, id);
}

void Dialog::stepSpin(int id, int steps) {
    Control& spin = control(id);
    if (!spin.enabled() || steps == 0) return;
    const long long lo = std::min(spin.rangeMin(), spin.rangeMax());
    const long long hi = std::max(spin.rangeMin(), spin.rangeMax());
    long long from = spin.pos();
    const auto at = std::find_if(controls_.begin(), controls_.end(), [&](const auto& c) { return c.get() == &spin; });
    if (at != controls_.begin() && (*std::prev(at))->kind() == ControlKind::Edit) {
        long long typed = 0;
        if (parseInteger((*std::prev(at))->text(), typed)) from = std::clamp(typed, lo, hi);
    }
    long long next = from + steps;
    if (next > hi) next = spin.wraps() ? lo : hi;
    if (next < lo) next = spin.wraps() ? hi : lo;
    spin.setPos(static_cast<int>(next));
    dispatch(Event::Scroll, id);
}

void Dialog::leaveControl(int id) {
    if (focusId_ == id) focusId_ = 0;
    dispatch(Event::KillFocus, id);
}

bool Dialog::OnInitDialog() { return UpdateData(false); }

void Dialog::DoDataExchange(DataExchange&) {}

void Dialog::OnOK() {
    if (!UpdateData(true)) return;
    EndDialog(IDOK);
}

void Dialog::OnCancel() { EndDialog(IDCANCEL); }

}  // namespace velmora::ui
