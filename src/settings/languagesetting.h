// The native "Language" page (both menu modes): the printer's default code page and
// international character set, whole bytes in memory switches 1 and 3, and the setting lock of
// lock code 8, through the operations of languageops.h. It shows no message.
#pragma once

#include "app/toolcontext.h"
#include "ui/dialog.h"

namespace velmora::settings {

class CLanguageSetting : public ui::Dialog {
  public:
    explicit CLanguageSetting(app::ToolContext& ctx);

    int codePage = -1;
    int ics = -1;

    void OnGet();
    void OnSet();

  protected:
    bool OnInitDialog() override;
    void DoDataExchange(ui::DataExchange& dx) override;

  private:
    app::ToolContext& ctx_;
};

}  // namespace velmora::settings
