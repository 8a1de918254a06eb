// The builders worked from their keys: choices first (a value no list offers stops there), then
// the typed values taken in the dialog's order with its checks, then the quoted text.
#include "tester/builderforms.h"

#include <algorithm>
#include <cctype>
#include <climits>
#include <cmath>

#include "app/typedtext.h"
#include "resources/combo.h"
#include "resources/messages.h"
#include "resources/stringtable.h"
#include "resources/templates_tester.h"
#include "resources/templates_tester_parts.h"
#include "tester/tavlcommands.h"
#include "ui/dataexchange.h"

namespace velmora::tester {

namespace {

using resources::kRotations;

std::string normalised(std::string text) {
    for (char& c : text) c = c == ' ' ? '-' : static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return text;
}

const ui::ControlSpec* findSpec(const ui::LayoutNode& node, int id) {
    if (node.kind == ui::LayoutNode::Kind::Control && node.control.id == id) return &node.control;
    for (const auto& child : node.children)
        if (const ui::ControlSpec* found = findSpec(child, id)) return found;
    return nullptr;
}

// The items a template gives a list, and those a string-table entry fills it with.
std::vector<std::string> templateItems(const ui::DialogTemplate& t, int id) {
    const ui::ControlSpec* list = findSpec(t.root, id);
    return list ? list->items : std::vector<std::string>{};
}
std::vector<std::string> stringItems(int id) { return resources::splitItems(resources::LoadString(id)); }

bool signedDigits(const std::string& text) {
    const auto b = text.find_first_not_of(" \t");
    const auto e = text.find_last_not_of(" \t");
    if (b == std::string::npos) return false;
    std::size_t i = b + ((text[b] == '-' || text[b] == '+') ? 1 : 0);
    if (i > e) return false;
    for (; i <= e; ++i)
        if (text[i] < '0' || text[i] > '9') return false;
    return true;
}

// The keys given, the choices made from them, and the first problem.
class Form {
public:
    explicit Form(const std::vector<std::pair<std::string, std::string>>& keys) : keys_(keys) {}

    const std::string* value(const std::string& key) const {
        for (const auto& [k, v] : keys_)
            if (k == key) return &v;
        return nullptr;
    }
    bool ok() const { return result.status == Build::Status::Ok; }

    // A field with a box: "off" clears the box and gives no value, anything else ticks it.
    const std::string* toggled(const std::string& key, bool& on) const {
        const std::string* v = value(key);
        if (!v) return nullptr;
        on = normalised(*v) != "off";
        return on ? v : nullptr;
    }

    // Choices. False (and the form has failed) for a value not offered.
    bool choose(const std::string& key, const std::vector<std::string>& items, int& position) {
        const std::string* v = value(key);
        if (!v) return true;
        const int at = itemPosition(items, *v);
        if (at < 0) return badValue(key, *v);
        position = at;
        return true;
    }
    bool chooseText(const std::string& key, const std::vector<std::string>& items, std::string& text) {
        int at = -1;
        if (!choose(key, items, at)) return false;
        if (at >= 0) text = items[static_cast<std::size_t>(at)];
        return true;
    }
    bool radio(const std::string& key, const std::string* v, const std::vector<std::string>& words, int& position) {
        if (!v) return true;
        const auto it = std::find(words.begin(), words.end(), normalised(*v));
        if (it == words.end()) return badValue(key, *v);
        position = static_cast<int>(it - words.begin());
        return true;
    }
    bool check(const std::string& key, bool& on) {
        const std::string* v = value(key);
        if (!v) return true;
        const std::string word = normalised(*v);
        if (word != "on" && word != "off") return badValue(key, *v);
        on = word == "on";
        return true;
    }

    // Typed values, taken with the box's check; after the first problem nothing more is taken.
    void real(const std::string& key, double& out, double lo, double hi) { take(value(key), out, lo, hi); }
    void take(const std::string* text, double& out, double lo, double hi) {
        if (text && ok()) refuse(realNumberProblem(*text, lo, hi, out));
    }
    void whole(const std::string& key, int& out, int lo = INT_MIN, int hi = INT_MAX) { take(value(key), out, lo, hi); }
    void take(const std::string* text, int& out, int lo, int hi) {
        if (text && ok()) refuse(wholeNumberProblem(*text, lo, hi, out));
    }
    void text(const std::string& key, std::string& out) {
        if (const std::string* v = value(key)) out = *v;
    }
    // Quoted text that would end its command.
    void quoted(const std::string& text) {
        if (ok() && app::breaksQuotedField(text)) refuse(resources::LoadString(msg::kQuotedFieldBreaks));
    }

    bool badValue(const std::string& key, const std::string& v) {
        result = {Build::Status::BadValue, {}, key + " cannot be " + v};
        return false;
    }

    Build result;

private:
    void refuse(const std::string& message) {
        if (!message.empty()) result = {Build::Status::Refused, {}, message};
    }
    const std::vector<std::pair<std::string, std::string>>& keys_;
};

Build done(Form& f, const std::string& text) {
    if (f.ok()) f.result.text = text;
    return f.result;
}

Build buildText(Form& f, bool testPrint) {
    BitmapText v;
    const auto& t = resources::TextCommandTemplate();
    if (!f.chooseText("font", templateItems(t, resources::IDC_BT_FONT), v.font) ||
        !f.choose("rotation", kRotations, v.rotation) ||
        !f.chooseText("reverse", templateItems(t, resources::IDC_BT_REVERSE), v.reverse) ||
        !f.chooseText("bold", templateItems(t, resources::IDC_BT_BOLD), v.bold))
        return f.result;
    f.real("x", v.x, 0, kTextPositionMax);
    f.real("y", v.y, 0, kTextPositionMax);
    f.whole("h-multi", v.hMulti);
    f.whole("v-multi", v.vMulti);
    f.whole("space-r", v.rightSpace);
    f.text("text", v.text);
    f.quoted(v.text);
    const std::string line = composeBitmapText(v);
    return done(f, testPrint ? testPrintText(line) : line + "\r\n");
}

Build buildVector(Form& f, bool testPrint) {
    VectorText v;
    if (!f.choose("bold", stringItems(msg::kListVectorBold), v.bold) ||
        !f.choose("reverse", stringItems(msg::kListVectorReverse), v.reverse) ||
        !f.choose("italic", stringItems(msg::kListVectorItalic), v.italic) || !f.choose("rotation", kRotations, v.rotation) ||
        !f.choose("justification", stringItems(msg::kListJustification), v.justification) ||
        !f.choose("text-direction", stringItems(msg::kListTextDirection), v.direction))
        return f.result;
    f.real("x", v.x, INT_MIN, INT_MAX);
    f.real("y", v.y, INT_MIN, INT_MAX);
    f.whole("width", v.width);
    f.whole("height", v.height);
    f.whole("space", v.fontSpace);
    f.text("text", v.text);
    f.quoted(v.text);
    const std::string line = composeVectorText(v);
    return done(f, testPrint ? testPrintText(line) : line + "\r\n");
}

Build buildBarcode1D(Form& f, bool testPrint) {
    Barcode1D v;
    if (!f.choose("type", resources::kBarcode1DTypes, v.type) || !f.choose("rotation", kRotations, v.rotation) ||
        !f.choose("hri", templateItems(resources::Barcode1DCommandTemplate(), resources::IDC_B1_HRI), v.hri))
        return f.result;
    const std::string* quietZone = f.toggled("q-zone", v.quietZoneOn);
    f.real("x", v.x, INT_MIN, INT_MAX);
    f.real("y", v.y, INT_MIN, INT_MAX);
    f.whole("n-bar-w", v.narrow);
    f.whole("w-bar-w", v.wide);
    f.whole("height", v.height);
    f.take(quietZone, v.quietZone, INT_MIN, INT_MAX);
    f.text("data", v.data);
    f.quoted(v.data);
    const std::string line = composeBarcode1D(v);
    return done(f, testPrint ? testPrintText(line) : line + "\r\n");
}

Build buildBarcode2D(Form& f, bool testPrint) {
    Barcode2D v;
    v.data = kMaxicodeOpeningData;
    const auto& t = resources::Barcode2DCommandTemplate();
    int symbology = 0, mode = -1, ecc = -1, rotation = 0;
    if (!f.choose("type", templateItems(t, resources::IDC_B2_SYMBOLOGY), symbology)) return f.result;
    const auto s = static_cast<Symbology>(symbology);
    if (s != v.symbology) chooseSymbology(v, s);
    // PDF417 keeps the modes it was shown with; Maxicode has no error correction list.
    const std::vector<std::string>& modes = s == Symbology::QrCode ? kQrModels : kMaxicodeModes;
    const std::vector<std::string> none;
    const std::vector<std::string>& levels =
        s == Symbology::Pdf417 ? kPdf417EccLevels : s == Symbology::QrCode ? kQrEccLevels : none;
    if (!f.choose("mode", modes, mode) || !f.choose("ecc", levels, ecc) ||
        !f.choose("compress", stringItems(msg::kList2DCompression), v.compression) ||
        !f.choose("hri", templateItems(t, resources::IDC_B2_HRI), v.hri) ||
        !f.choose("origin", stringItems(msg::kList2DOrigin), v.origin) || !f.choose("rotation", kRotations, rotation))
        return f.result;
    if (mode >= 0) chooseMode(v, mode);
    if (ecc >= 0) v.eccIndex = ecc;
    f.real("x", v.x, INT_MIN, INT_MAX);
    f.real("y", v.y, INT_MIN, INT_MAX);
    f.whole("max-row", v.maxRows);
    f.whole("max-col", v.maxCols);
    f.whole("module-w", v.moduleWidth);
    f.whole("bar-height", v.barHeight);
    f.text("data", v.data);
    f.quoted(v.data);
    // The rotation and error correction shown are taken as the label is made; Maxicode has
    // neither.
    if (s != Symbology::Maxicode || testPrint) v.rotation = rotation;
    if (s != Symbology::Maxicode && v.eccIndex >= 0 && v.eccIndex < static_cast<int>(levels.size()))
        v.eccText = levels[static_cast<std::size_t>(v.eccIndex)];
    const std::string line = composeBarcode2D(v);
    return done(f, testPrint ? testPrintText(line) : line + "\r\n");
}

Build buildBox(Form& f, bool testPrint) {
    BlockDraw v;
    int type = v.type;
    if (!f.choose("type", templateItems(resources::BlockDrawCommandTemplate(), resources::IDC_BD_TYPE), type))
        return f.result;
    if (f.value("type")) chooseBlockType(v, type);
    f.real("start-x", v.startX, INT_MIN, INT_MAX);
    f.real("start-y", v.startY, INT_MIN, INT_MAX);
    f.real("end-x", v.endX, INT_MIN, INT_MAX);
    f.real("end-y", v.endY, INT_MIN, INT_MAX);
    f.whole("optional", v.optional);
    const std::string line = composeBlockDraw(v);
    return done(f, testPrint ? testPrintText(line) : line + "\r\n");
}

Build buildLabel(Form& f, bool) {
    LabelSettingValues v;
    int unit = 0;
    const std::string* width = f.toggled("width", v.widthOn);
    const std::string* length = f.toggled("length", v.lengthOn);
    if (!f.radio("unit", f.value("unit"), {"inch", "mm", "dots"}, unit) ||
        !f.radio("media", f.value("media"), {"gap", "continuous", "blackmark"}, v.media) || !f.check("margin", v.marginsOn))
        return f.result;
    if (unit != 0) {
        chooseUnit(v, static_cast<Unit>(unit));
        // The boxes show the converted values, and the builder takes them back as shown.
        for (double* value : {&v.width, &v.length, &v.xMargin, &v.yMargin}) ui::parseNumber(ui::formatNumber(*value), *value);
    }
    // Each value must come out as a whole number of dots the command can carry.
    const double most = INT_MAX / dotsPerUnit(v.unit);
    f.take(width, v.width, -most, most);
    f.take(length, v.length, -most, most);
    f.real("x-margin", v.xMargin, -most, most);
    f.real("y-margin", v.yMargin, -most, most);
    return done(f, joinLines(composeLabelSetting(v), "\r\n"));
}

Build buildPrinting(Form& f, bool testPrint) {
    PrintingSettingValues v;
    const std::string* speed = f.toggled("speed", v.speedOn);
    const std::string* density = f.toggled("density", v.densityOn);
    const std::string* direction = f.toggled("direction", v.directionOn);
    if (!f.radio("speed", speed, {"2.5", "3.0", "4.0", "5.0", "6.0"}, v.speed)) return f.result;
    // The slider's positions: the density is 20 less the position, 0 to 20.
    if (density) {
        const std::string& d = *density;
        const bool digits = !d.empty() && d.size() <= 2 && std::all_of(d.begin(), d.end(), ::isdigit);
        if (!digits || std::stoi(d) > 20) return f.badValue("density", d), f.result;
        v.density = std::stoi(d);
    }
    if (!f.radio("direction", direction, {"top", "bottom"}, v.direction)) return f.result;
    return done(f, testPrint ? printingSettingTestPrint(v) : joinLines(composePrintingSetting(v), "\r\n"));
}

Build buildCopies(Form& f, bool) {
    int quantity = 1, copies = 1;
    f.whole("quantity", quantity);
    f.whole("copies", copies);
    return done(f, composeCopies(quantity, copies) + "\r\n");
}

}  // namespace

const std::vector<BuilderForm>& builderForms() {
    static const std::vector<BuilderForm> forms = {
        {"text", true, {"x", "y", "font", "h-multi", "v-multi", "space-r", "rotation", "reverse", "bold", "text"}},
        {"vector",
         true,
         {"x", "y", "width", "height", "space", "bold", "reverse", "italic", "rotation", "justification",
          "text-direction", "text"}},
        {"barcode1d", true, {"x", "y", "type", "n-bar-w", "w-bar-w", "height", "rotation", "hri", "q-zone", "data"}},
        {"barcode2d",
         true,
         {"type", "x", "y", "mode", "max-row", "max-col", "ecc", "compress", "hri", "origin", "module-w", "bar-height",
          "rotation", "data"}},
        {"box", true, {"type", "start-x", "start-y", "end-x", "end-y", "optional"}},
        {"label", false, {"unit", "width", "length", "media", "margin", "x-margin", "y-margin"}},
        {"printing", true, {"speed", "density", "direction"}},
        {"copies", false, {"quantity", "copies"}},
    };
    return forms;
}

const BuilderForm* findBuilderForm(const std::string& name) {
    for (const BuilderForm& f : builderForms())
        if (name == f.name) return &f;
    return nullptr;
}

Build buildFromKeys(const BuilderForm& form, const std::vector<std::pair<std::string, std::string>>& keys,
                    bool testPrint) {
    using Builder = Build (*)(Form&, bool);
    static const std::pair<const char*, Builder> builders[] = {
        {"text", buildText},   {"vector", buildVector}, {"barcode1d", buildBarcode1D}, {"barcode2d", buildBarcode2D},
        {"box", buildBox},     {"label", buildLabel},   {"printing", buildPrinting},   {"copies", buildCopies},
    };
    Form f(keys);
    for (const auto& [name, build] : builders)
        if (std::string(form.name) == name) return build(f, testPrint);
    return {Build::Status::BadValue, {}, std::string("no builder ") + form.name};
}

int itemPosition(const std::vector<std::string>& items, const std::string& value) {
    const std::string wanted = normalised(value);
    for (std::size_t i = 0; i < items.size(); ++i) {
        const std::string item = normalised(items[i]);
        const auto dash = item.rfind('-');
        if (item == wanted || (dash != std::string::npos && item.substr(dash + 1) == wanted)) return static_cast<int>(i);
    }
    return -1;
}

std::string wholeNumberProblem(const std::string& text, int lo, int hi, int& out) {
    const std::string range =
        ui::fillMessage(ui::ddx_text::kEnterIntegerBetween, std::to_string(lo), std::to_string(hi));
    long long v = 0;
    // Digits too many for any integer are out of range, not "not a number".
    if (!ui::parseInteger(text, v)) return signedDigits(text) ? range : ui::ddx_text::kEnterInteger;
    if (v < lo || v > hi) return range;
    out = static_cast<int>(v);
    return {};
}

std::string realNumberProblem(const std::string& text, double lo, double hi, double& out) {
    double v = 0;
    if (!ui::parseNumber(text, v)) return ui::ddx_text::kEnterNumber;
    if (v < lo || v > hi)
        return ui::fillMessage(ui::ddx_text::kEnterNumberBetween, ui::formatNumber(lo), ui::formatNumber(hi));
    out = v;
    return {};
}

}  // namespace velmora::tester
