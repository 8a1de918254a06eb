// The font finder and its entry in the dialog catalog.
#include "tester/fontfinder.h"

#include "app/dialogcatalog.h"
#include "resources/messages.h"
#include "resources/templates_tester.h"

namespace velmora::tester {

using namespace resources;

namespace {
constexpr double kDotsPerMm = 8;
// A far-out size reaches beyond every font; the range keeps the squares finite.
constexpr double kMaxMm = 1e6;

void show(std::string (&out)[3], const std::optional<FontChoice>& c) {
    if (!c) {
        out[0] = out[1] = out[2] = "";
        return;
    }
    out[0] = std::to_string(c->font);
    out[1] = std::to_string(c->xMulti);
    out[2] = std::to_string(c->yMulti);
}
}  // namespace

CFontFinder::CFontFinder(app::ToolContext& ctx) : ui::Dialog(ctx.host, FontFinderTemplate()), ctx_(ctx) {}

bool CFontFinder::OnInitDialog() {
    on(ui::Event::Clicked, IDC_FF_FIND_SIMILAR, [this] { OnFindSimilar(); });
    on(ui::Event::Clicked, IDC_FF_FIND_ROUND, [this] { OnFindRound(); });
    on(ui::Event::Clicked, IDC_FF_PRINT, [this] { OnPrintComparison(); });
    width_ = 3;
    height_ = 5;
    show(similar_, FontChoice{3, 1, 1});
    show(round_, FontChoice{3, 1, 1});
    UpdateData(false);
    return true;
}

void CFontFinder::DoDataExchange(ui::DataExchange& dx) {
    exchangeReal(dx, IDC_FF_WIDTH, width_, -kMaxMm, kMaxMm);
    exchangeReal(dx, IDC_FF_HEIGHT, height_, -kMaxMm, kMaxMm);
    dx.Text(IDC_FF_SIMILAR_FONT, similar_[0]);
    dx.Text(IDC_FF_SIMILAR_X, similar_[1]);
    dx.Text(IDC_FF_SIMILAR_Y, similar_[2]);
    dx.Text(IDC_FF_ROUND_FONT, round_[0]);
    dx.Text(IDC_FF_ROUND_X, round_[1]);
    dx.Text(IDC_FF_ROUND_Y, round_[2]);
}

void CFontFinder::OnFindSimilar() {
    if (!UpdateData(true)) return;
    show(similar_, findMostSimilarFont(width_ * kDotsPerMm, height_ * kDotsPerMm));
    UpdateData(false);
}

void CFontFinder::OnFindRound() {
    if (!UpdateData(true)) return;
    // With no candidate the results stay empty rather than showing a stale or made-up font.
    show(round_, findSimilarRoundFont(width_ * kDotsPerMm, height_ * kDotsPerMm));
    UpdateData(false);
}

std::optional<FontChoice> CFontFinder::shown(int fontId, int xId, int yId) const {
    auto digit = [this](int id) -> std::optional<int> {
        const std::string& t = control(id).text();
        if (t.size() != 1 || t[0] < '0' || t[0] > '9') return std::nullopt;
        return t[0] - '0';
    };
    const auto f = digit(fontId), x = digit(xId), y = digit(yId);
    if (!f || !x || !y) return std::nullopt;
    return FontChoice{*f, *x, *y};
}

void CFontFinder::OnPrintComparison() {
    const auto similar = shown(IDC_FF_SIMILAR_FONT, IDC_FF_SIMILAR_X, IDC_FF_SIMILAR_Y);
    const auto round = shown(IDC_FF_ROUND_FONT, IDC_FF_ROUND_X, IDC_FF_ROUND_Y);
    if (!similar || !round) {
        app::ShowMessage(host(), msg::kNoFontFound);
        return;
    }
    ctx_.comm.WriteText(fontComparisonText(*similar, *round));
}

namespace {
const bool registered = app::registerDialog({
    "font-finder",
    [](app::ToolContext& ctx) { return std::make_unique<CFontFinder>(ctx); },
    {{"found",
      [](ui::Dialog& d) {
          d.click(IDC_FF_FIND_SIMILAR);
          d.click(IDC_FF_FIND_ROUND);
      }}},
    {},
});
}  // namespace

}  // namespace velmora::tester
