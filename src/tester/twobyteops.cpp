// The checks and the series of the two-byte code page prints.
#include "tester/twobyteops.h"

#include <algorithm>
#include <cstring>

#include "app/sent.h"
#include "platform/codepage.h"
#include "resources/messages.h"
#include "tester/twobytecodes.h"

namespace velmora::tester {

namespace {

constexpr std::size_t kMaxSizeBytes = 32;

// A size as bytes the printer takes: one to 32 digits in the code page.
bool sizeFits(const std::string& bytes) {
    return !bytes.empty() && bytes.size() <= kMaxSizeBytes &&
           std::all_of(bytes.begin(), bytes.end(), [](char c) { return c >= '0' && c <= '9'; });
}

}  // namespace

int labelsPrinted(const app::Outcome& outcome) {
    for (const auto& [key, value] : outcome.written)
        if (key == "labels") return std::stoi(value);
    return 0;
}

app::Outcome printTwoByteChart(link::CComm& comm, const TwoBytePrintRequest& r, const app::Steps& steps) {
    app::Outcome out;
    const auto tables = twoByteTables();
    if (r.table < 0 || r.table >= static_cast<int>(tables.size()))
        return out.refuse(0, "choose a code table", "table");
    const TwoByteTable& table = tables[static_cast<std::size_t>(r.table)];
    int first = table.leadFirst, last = table.leadLast;
    if (!r.all) {
        const auto start = parseBlock(r.start);
        if (!start) return out.refuse(msg::kStartBlockWrong, {}, "start");
        const auto end = parseBlock(r.end);
        if (!end) return out.refuse(msg::kEndBlockWrong, {}, "end");
        first = *start;
        last = *end;
    }
    out.written.emplace_back("labels", "0");
    if (first > last) return out.finish(0);
    if (!r.zii) {
        // The lead bytes go inside the quoted text, where one below 0x20 or an apostrophe would
        // end the command and run the rest of the row as commands.
        if (unsafeNativeLead(first)) return out.refuse(msg::kStartBlockWrong, {}, "start");
        for (int lead = first; lead <= last; ++lead)
            if (unsafeNativeLead(lead)) return out.refuse(msg::kEndBlockWrong, {}, "end");
    }
    std::string width, height;
    if (r.zii || r.vector) {
        width = platform::toCodePage(r.width);
        if (!sizeFits(width)) return out.refuse(msg::kFontSizeDigits, {}, "width");
        height = platform::toCodePage(r.height);
        if (!sizeFits(height)) return out.refuse(msg::kFontSizeDigits, {}, "height");
    }
    const std::size_t fonts = std::strlen(table.bitmapFonts);
    const int fontAt = r.bitmapFont < 0 ? table.bitmapFontChosen : r.bitmapFont;
    const char font = table.bitmapFonts[fontAt >= 0 && static_cast<std::size_t>(fontAt) < fonts ? fontAt : 0];
    const std::size_t total = static_cast<std::size_t>(last - first + 1);
    std::size_t labels = 0, bytes = 0;
    std::string head;
    for (int lead = first; lead <= last; ++lead) {
        const std::string text = r.zii ? ziiTwoByteLabel(table, lead, height, width)
                                       : nativeTwoByteLabel(table, lead, r.vector, font, width, height);
        // The port object has reported a failed write; the rest of the series would fail too.
        if (comm.WriteBytes(reinterpret_cast<const std::uint8_t*>(text.data()), text.size()) <= 0) break;
        if (head.empty()) head = text.substr(0, app::kSentHeadBytes);
        bytes += text.size();
        ++labels;
        if (steps) steps({app::Step::Kind::Progress, nullptr, nullptr, labels, total});
    }
    out.written.front().second = std::to_string(labels);
    app::noteSent(out.written, "chart", bytes, head);
    if (labels < total) return out.fail(0, "labels");
    return out.finish(0);
}

}  // namespace velmora::tester
