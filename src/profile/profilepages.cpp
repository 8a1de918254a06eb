// Settings pages as profile sections, the header's facts, the checked profile file, and the
// window's profile service over them.
#include "profile/profilepages.h"

#include "app/menumode.h"
#include "app/profileservice.h"
#include "app/settingspage.h"
#include "platform/files.h"
#include "profile/pageprovider.h"
#include "settings/printerinfoops.h"

namespace velmora::profile {

Providers settingsProviders(link::CComm& comm, platform::Clock& clock) {
    Providers out;
    for (const app::SettingsPage* page : app::settingsPages()) out.push_back(pageProvider(*page, comm, clock));
    return out;
}

std::optional<PrinterFacts> readPrinterFacts(link::CComm& comm, platform::Clock& clock, std::string& why) {
    const app::Outcome got = settings::readPrinterFacts(comm, clock);
    PrinterFacts facts;
    for (const auto& v : got.values) {
        if (!v.valid) {
            why += (why.empty() ? "" : "; ") + v.key + " (" + describeReply(v) + ")";
            continue;
        }
        if (v.key == "model") facts.model = v.text;
        if (v.key == "firmware") facts.firmware = v.text;
    }
    if (!why.empty() || facts.model.empty()) {
        why = "the printer did not report its model and firmware" + (why.empty() ? std::string() : ": " + why);
        return std::nullopt;
    }
    return facts;
}

std::optional<Profile> loadCheckedProfile(link::CComm& comm, platform::Clock& clock, const std::string& path,
                                          Providers& pages, int menuMode, std::string& error) {
    constexpr std::size_t kMaxProfileBytes = 1u << 20;
    using Read = platform::TextFileRead::Outcome;
    const auto read = platform::readTextFile(path, kMaxProfileBytes);
    if (read.outcome != Read::Read) {
        error = "cannot read the profile " + path + ": " +
                (read.outcome == Read::Cut              ? "it is larger than 1 MiB"
                 : read.outcome == Read::Missing        ? "it does not exist"
                 : read.outcome == Read::NotRegularFile ? "it is not a regular file"
                                                        : read.reason);
        return std::nullopt;
    }
    ProfileError problem;
    auto p = parseProfile(read.text, problem);
    if (!p) {
        error = path + ": " + problem.text();
        return std::nullopt;
    }
    const auto facts = readPrinterFacts(comm, clock, error);
    if (!facts) return std::nullopt;
    if (const auto refused = checkProfile(*p, pages, *facts, menuMode)) {
        error = path + ": " + refused->text();
        return std::nullopt;
    }
    return p;
}

namespace {

// The window's profile buttons. The pages show no message boxes of their own here: what came of
// the whole is the summary, the table or the error the manager shows.
class PageProfileService final : public app::ProfileService {
public:
    std::optional<std::string> save(app::ToolContext& ctx, const std::string& path, std::string& error) override {
        const auto facts = readPrinterFacts(ctx.comm, ctx.clock, error);
        if (!facts) {
            error = "No profile was saved: " + error + ".";
            return std::nullopt;
        }
        auto pages = settingsProviders(ctx.comm, ctx.clock);
        const auto p = saveProfile(pages, *facts, app::MenuMode, error);
        if (!p) {
            error = "No profile was saved: " + error + ".";
            return std::nullopt;
        }
        if (!platform::writeOutputFile(path, formatProfile(*p), error)) return std::nullopt;
        std::size_t keys = 0;
        for (const auto& section : p->sections) keys += section.values.size();
        return "Saved " + std::to_string(keys) + " settings in " + std::to_string(p->sections.size()) +
               " sections to " + path + ".";
    }

    std::optional<std::vector<app::ProfileRow>> compare(app::ToolContext& ctx, const std::string& path,
                                                        std::string& error) override {
        auto pages = settingsProviders(ctx.comm, ctx.clock);
        const auto p = loadCheckedProfile(ctx.comm, ctx.clock, path, pages, app::MenuMode, error);
        if (!p) return refused(error);
        std::vector<app::ProfileRow> rows;
        for (const auto& d : diffProfile(*p, pages, app::MenuMode))
            rows.push_back({d.section + "." + d.key, d.printer, d.profile, ""});
        return rows;
    }

    std::optional<std::vector<app::ProfileRow>> apply(app::ToolContext& ctx, const std::string& path,
                                                      std::string& error) override {
        auto pages = settingsProviders(ctx.comm, ctx.clock);
        const auto p = loadCheckedProfile(ctx.comm, ctx.clock, path, pages, app::MenuMode, error);
        if (!p) return refused(error);
        std::vector<app::ProfileRow> rows;
        for (const auto& k : applyProfile(*p, pages, app::MenuMode, false).keys) {
            std::string result = outcomeName(k.outcome);
            if (!k.detail.empty()) result += " (" + k.detail + ")";
            std::string wanted;
            if (const auto* section = p->find(k.section))
                for (const auto& [key, value] : section->values)
                    if (key == k.key) wanted = value;
            rows.push_back({k.section + "." + k.key, "", wanted, result});
        }
        return rows;
    }

private:
    static std::nullopt_t refused(std::string& error) {
        error = "The profile was refused; nothing was written.\n" + error;
        return std::nullopt;
    }
};

}  // namespace

void installProfileService() {
    static PageProfileService service;
    app::setProfileService(&service);
}

}  // namespace velmora::profile
