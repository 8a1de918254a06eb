// The font finder: the bitmap font and multipliers closest to a wanted character size, and a
// label that prints both results side by side.
#pragma once

#include <optional>
#include <string>

#include "tester/tavlcommands.h"
#include "tester/testerbuilder.h"

namespace velmora::tester {

class CFontFinder : public ui::Dialog {
public:
    explicit CFontFinder(app::ToolContext& ctx);

    void OnFindSimilar();
    void OnFindRound();
    void OnPrintComparison();

protected:
    bool OnInitDialog() override;
    void DoDataExchange(ui::DataExchange& dx) override;

private:
    // The result statics as they stand; nothing when any of the three is empty.
    std::optional<FontChoice> shown(int fontId, int xId, int yId) const;

    app::ToolContext& ctx_;
    double width_ = 3, height_ = 5;
    std::string similar_[3], round_[3];
};

}  // namespace velmora::tester
