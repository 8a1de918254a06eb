// Section providers over the page commands: a read runs the page's get command and takes its
// KEY=VALUE lines, a write runs its set command with the keys that differ.
#include "cli/profilepages.h"

#include <sstream>

#include "app/menumode.h"
#include "app/profileservice.h"
#include "platform/files.h"
#include "profile/pageprovider.h"
#include "ui/consolehost.h"

namespace velmora::cli {

namespace {

Args words(const char* name) {
    Args out;
    std::istringstream in(name);
    for (std::string w; in >> w;) out.push_back(w);
    return out;
}

// Runs a registered command on the session's link with its output captured.
struct Captured {
    int status = kExitFailure;
    std::string out;
    bool messageShown = false;
};

Captured runCaptured(Session& s, const char* name, const Args& args) {
    Captured c;
    std::size_t used = 0;
    const Args w = words(name);
    const Command* command = findCommand(w, used);
    if (!command || used != w.size()) return c;
    std::ostringstream out;
    Session sub{s.comm, s.clock, s.host, out, s.err};
    const int before = s.host.messageCount();
    s.comm.BeginAction();
    c.status = command->run(sub, args);
    c.out = out.str();
    c.messageShown = s.host.messageCount() != before;
    return c;
}

profile::KeyValues keyValueLines(const std::string& text) {
    profile::KeyValues out;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);) {
        const auto eq = line.find('=');
        if (eq != std::string::npos) out.emplace_back(line.substr(0, eq), line.substr(eq + 1));
    }
    return out;
}

class CommandPage final : public profile::SectionProvider {
public:
    CommandPage(Session& s, const ProfilePage& page) : s_(s), page_(page) {
        std::size_t used = 0;
        const Args w = words(page.setCommand);
        set_ = findCommand(w, used);
        if (set_ && used != w.size()) set_ = nullptr;
    }
    std::string section() const override { return page_.section; }
    bool forMenuMode(int menuMode) const override { return menuMode == 0 ? page_.native : page_.zii; }
    bool identity() const override { return page_.identity; }

    std::optional<profile::PageValues> read() override {
        const Captured c = runCaptured(s_, page_.getCommand, {});
        auto values = keyValueLines(c.out);
        const std::string readOnly = std::string(" ") + page_.readOnly + " ";
        std::erase_if(values, [&](const auto& kv) { return readOnly.find(" " + kv.first + " ") != std::string::npos; });
        // A page that failed with a message (the link, or the page's own "failed") did not answer.
        if (values.empty() || (c.status != kExitOk && c.messageShown)) return std::nullopt;
        return profile::PageValues{values, {}};
    }

    std::string check(const std::string& key, const std::string& value) const override {
        if (set_ && set_->accepts({key + "=" + value})) return {};
        return std::string("[") + page_.section + "] has no setting " + key + " that takes " + profile::quotedValue(value);
    }

    bool write(const profile::KeyValues& changes) override {
        Args args;
        for (const auto& [k, v] : changes) args.push_back(k + "=" + v);
        return runCaptured(s_, page_.setCommand, args).status == kExitOk;
    }

private:
    Session& s_;
    const ProfilePage& page_;
    const Command* set_ = nullptr;
};

bool registered(const char* name) {
    std::size_t used = 0;
    const Args w = words(name);
    return findCommand(w, used) && used == w.size();
}

}  // namespace

const std::vector<ProfilePage>& profilePageTable() {
    static const std::vector<ProfilePage> pages = {
        {"zii.basic", false, true, "zii get", "zii set"},
        {"zii.advanced", false, true, "zii advanced get", "zii advanced set"},
        {"native.page", true, false, "native get", "native set"},
        {"codepage", true, true, "codepage get", "codepage set"},
        {"identity", true, false, "identity get", "identity set", true},
        {"rfid", true, true, "rfid get", "rfid set", false, "valid void"},
        {"zii.serial", false, true, "zii serial get", "zii serial set"},
        {"native.interface", true, false, "native interface get", "native interface set"},
    };
    return pages;
}

profile::Providers profilePages(Session& s) {
    profile::Providers out;
    for (const auto& page : profilePageTable()) {
        if (const app::SettingsPage* operations = app::findSettingsPage(page.section))
            out.push_back(profile::pageProvider(*operations, s.comm, s.clock));
        else if (registered(page.getCommand) && registered(page.setCommand))
            out.push_back(std::make_unique<CommandPage>(s, page));
    }
    return out;
}

std::optional<profile::PrinterFacts> readPrinterFacts(Session& s) {
    const Captured c = runCaptured(s, "info", {});
    profile::PrinterFacts facts;
    for (const auto& [k, v] : keyValueLines(c.out)) {
        if (k == "model") facts.model = v;
        if (k == "firmware") facts.firmware = v;
    }
    if (c.status != kExitOk || facts.model.empty()) return std::nullopt;
    return facts;
}

std::optional<profile::Profile> loadCheckedProfile(Session& s, const std::string& path, profile::Providers& pages,
                                                   std::string& error) {
    constexpr std::size_t kMaxProfileBytes = 1u << 20;
    using Outcome = platform::TextFileRead::Outcome;
    const auto read = platform::readTextFile(path, kMaxProfileBytes);
    if (read.outcome != Outcome::Read) {
        error = "cannot read the profile " + path + ": " +
                (read.outcome == Outcome::Cut            ? "it is larger than 1 MiB"
                 : read.outcome == Outcome::Missing      ? "it does not exist"
                 : read.outcome == Outcome::NotRegularFile ? "it is not a regular file"
                                                           : read.reason);
        return std::nullopt;
    }
    profile::ProfileError problem;
    auto p = profile::parseProfile(read.text, problem);
    if (!p) {
        error = path + ": " + problem.text();
        return std::nullopt;
    }
    const auto facts = readPrinterFacts(s);
    if (!facts) {
        error = "the printer did not report its model";
        return std::nullopt;
    }
    if (const auto refused = profile::checkProfile(*p, pages, *facts, app::MenuMode)) {
        error = path + ": " + refused->text();
        return std::nullopt;
    }
    return p;
}

namespace {

// The window's profile buttons over the same pages; what the pages say goes into a buffer
// instead of one message box per page.
class CliProfileService final : public app::ProfileService {
public:
    std::optional<std::string> save(app::ToolContext& ctx, const std::string& path, std::string& error) override {
        Quiet q(ctx);
        const auto facts = readPrinterFacts(q.session);
        if (!facts) {
            error = "The printer did not report its model; no profile was saved.";
            return std::nullopt;
        }
        auto pages = profilePages(q.session);
        const auto p = profile::saveProfile(pages, *facts, app::MenuMode, error);
        if (!p) {
            error = "No profile was saved: " + error + ".";
            return std::nullopt;
        }
        if (!platform::writeOutputFile(path, profile::formatProfile(*p), error)) return std::nullopt;
        std::size_t keys = 0;
        for (const auto& section : p->sections) keys += section.values.size();
        return "Saved " + std::to_string(keys) + " settings in " + std::to_string(p->sections.size()) +
               " sections to " + path + ".";
    }

    std::optional<std::vector<app::ProfileRow>> compare(app::ToolContext& ctx, const std::string& path,
                                                        std::string& error) override {
        Quiet q(ctx);
        auto pages = profilePages(q.session);
        const auto p = loadCheckedProfile(q.session, path, pages, error);
        if (!p) return refused(error);
        std::vector<app::ProfileRow> rows;
        for (const auto& d : profile::diffProfile(*p, pages, app::MenuMode))
            rows.push_back({d.section + "." + d.key, d.printer, d.profile, ""});
        return rows;
    }

    std::optional<std::vector<app::ProfileRow>> apply(app::ToolContext& ctx, const std::string& path,
                                                      std::string& error) override {
        Quiet q(ctx);
        auto pages = profilePages(q.session);
        const auto p = loadCheckedProfile(q.session, path, pages, error);
        if (!p) return refused(error);
        std::vector<app::ProfileRow> rows;
        for (const auto& k : profile::applyProfile(*p, pages, app::MenuMode, false).keys) {
            std::string result = profile::outcomeName(k.outcome);
            if (!k.detail.empty()) result += " (" + k.detail + ")";
            const auto* section = p->find(k.section);
            std::string wanted;
            for (const auto& [key, value] : section->values)
                if (key == k.key) wanted = value;
            rows.push_back({k.section + "." + k.key, "", wanted, result});
        }
        return rows;
    }

private:
    struct Quiet {
        explicit Quiet(app::ToolContext& ctx) : host(err), session{ctx.comm, ctx.clock, host, out, err} {}
        std::ostringstream out, err;
        ui::ConsoleHost host;
        Session session;
    };
    static std::nullopt_t refused(std::string& error) {
        error = "The profile was refused; nothing was written.\n" + error;
        return std::nullopt;
    }
};

}  // namespace

void installProfileService() {
    static CliProfileService service;
    app::setProfileService(&service);
}

}  // namespace velmora::cli
