// Feeding label text to a private simulated printer and rendering what it printed.
#include "preview/labeltext.h"

#include "sim/parser.h"
#include "sim/printer.h"
#include "sim/zii.h"

namespace velmora::preview {

Language detectLanguage(std::string_view text) {
    for (std::size_t at = text.find('^'); at != std::string_view::npos; at = text.find('^', at + 1)) {
        if (at + 2 < text.size() && (text[at + 1] == 'X' || text[at + 1] == 'x') && (text[at + 2] == 'A' || text[at + 2] == 'a'))
            return Language::Zii;
    }
    return Language::Native;
}

LabelPictures renderText(std::string_view text, Language language) {
    if (language == Language::Auto) language = detectLanguage(text);
    sim::Printer printer;
    sim::Parser parser(printer);
    parser.feed(text);
    // A last line without its line end still counts.
    if (!text.empty() && text.back() != '\n' && text.back() != '\r') parser.feed("\r\n");
    // A ZII format left open at the end is shown as it stands.
    const std::uint64_t printed = printer.totalPrintedLabels();
    const bool open = parser.connectionState<sim::ZiiFormat>().open;
    if (open) parser.feed("^XZ\r\n");
    const bool closedHere = open && printer.totalPrintedLabels() > printed;

    std::vector<sim::LabelRecord> records = printer.printedLabels();
    if (closedHere && !records.empty()) records.back().errors.push_back("the label was not printed: no ^XZ at its end");
    LabelPictures out;
    out.notShown = printer.totalPrintedLabels() - records.size();
    const sim::LabelRecord pending = printer.pendingLabel();
    if (!pending.fields.empty()) {
        sim::LabelRecord last = pending;
        last.format = printer.labelFormat();
        last.number = printer.totalPrintedLabels() + 1;
        last.errors.push_back("the label was not printed: no \"P\" after its fields");
        records.push_back(std::move(last));
    }
    const auto images = [&printer](const std::string& name) { return printer.images().image(name); };
    for (const sim::LabelRecord& record : records) {
        const bool zii = record.language == sim::LabelLanguage::Zii;
        if ((language == Language::Zii) != zii) continue;
        out.labels.push_back(renderLabel(record, images));
    }
    return out;
}

}  // namespace velmora::preview
