// The run report and its JSON.
#include "cli/report.h"

#include <algorithm>
#include <cstdio>
#include <ostream>

#include "app/sent.h"
#include "cli/cli.h"
#include "cli/commands.h"
#include "cli/escapes.h"
#include "platform/codepage.h"
#include "resources/stringtable.h"

namespace velmora::cli {

void noteOutcome(RunReport& report, const app::Outcome& outcome) {
    report.values.insert(report.values.end(), outcome.values.begin(), outcome.values.end());
    report.written.insert(report.written.end(), outcome.written.begin(), outcome.written.end());
    report.result = outcome.result;
}

namespace {

// One object on one line, member by member.
class Json {
public:
    Json& key(std::string_view name) {
        comma();
        platform::appendJsonString(out_, name);
        out_ += ':';
        fresh_ = true;  // the value follows without a comma
        return *this;
    }
    Json& text(std::string_view value) {
        comma();
        platform::appendJsonString(out_, value);
        return *this;
    }
    Json& number(long long value) {
        comma();
        out_ += std::to_string(value);
        return *this;
    }
    Json& decimal(double value) {
        comma();
        char text[32];
        std::snprintf(text, sizeof text, "%.3f", value);
        out_ += text;
        return *this;
    }
    Json& boolean(bool value) {
        comma();
        out_ += value ? "true" : "false";
        return *this;
    }
    Json& null() {
        comma();
        out_ += "null";
        return *this;
    }
    Json& open(char bracket) {
        comma();
        out_ += bracket;
        fresh_ = true;
        return *this;
    }
    Json& close(char bracket) {
        out_ += bracket;
        fresh_ = false;
        return *this;
    }
    Json& lines(std::string_view name, const std::vector<std::string>& items) {
        key(name).open('[');
        for (const auto& item : items) text(item);
        return close(']');
    }
    std::string take() { return std::move(out_); }

private:
    void comma() {
        if (!fresh_) out_ += ',';
        fresh_ = false;
    }
    std::string out_;
    bool fresh_ = true;
};

const char* statusName(app::Status status) {
    switch (status) {
        case app::Status::Done:
            return "done";
        case app::Status::Refused:
            return "refused";
        case app::Status::Failed:
            break;
    }
    return "failed";
}

const char* connectionName(const CliOptions& o) {
    switch (o.connection) {
        case CliOptions::Connection::Tcp:
            return "tcp";
        case CliOptions::Connection::Serial:
            return "serial";
        case CliOptions::Connection::Lpt:
            return "lpt";
        case CliOptions::Connection::Usb:
            break;
    }
    return "usb";
}

void printer(Json& json, const CliOptions& o) {
    json.key("printer").open('{').key("connection").text(connectionName(o));
    switch (o.connection) {
        case CliOptions::Connection::Tcp:
            json.key("host").text(o.host).key("port").number(o.port);
            break;
        case CliOptions::Connection::Serial: {
            static const char* const parities[] = {"none", "odd", "even"};
            static const char* const stops[] = {"1", "1.5", "2"};
            json.key("device").text(o.device).key("baud").number(o.baud).key("dataBits").number(o.dataBits);
            json.key("parity").text(parities[o.parity]).key("stopBits").text(stops[o.stopBits]);
            break;
        }
        case CliOptions::Connection::Lpt:
            json.key("device").text(o.device);
            break;
        case CliOptions::Connection::Usb:
            break;
    }
    json.close('}');
}

void values(Json& json, const std::vector<app::ReadValue>& values) {
    json.key("values").open('[');
    for (const auto& v : values) {
        json.open('{').key("key").text(v.key).key("valid").boolean(v.valid);
        // A value whose reply was not valid is never given as one: what came is.
        if (v.valid)
            json.key("value").text(v.text);
        else
            json.key("replied").boolean(v.replied).key("reply").text(hexBytes(v.raw)).key("why").text(v.why);
        json.close('}');
    }
    json.close(']');
}

void sent(Json& json, const app::KeyValues& written) {
    json.key("sent").open('[');
    for (std::size_t i = 0; i < written.size(); ++i) {
        const auto& [key, value] = written[i];
        json.open('{').key("key").text(key);
        if (const auto length = app::sentLength(value)) {
            json.key("length").number(static_cast<long long>(*length));
            if (i + 1 < written.size() && written[i + 1].first == key + app::kSentHeadSuffix)
                json.key("head").text(written[++i].second);
        } else {
            json.key("value").text(value);
        }
        json.close('}');
    }
    json.close(']');
}

// The last line a command wrote on standard error, without the program's prefix.
std::string lastMessage(const std::vector<std::string>& messages) {
    if (messages.empty()) return {};
    std::string line = messages.back();
    if (line.rfind("velmora-cli: ", 0) == 0) line.erase(0, 13);
    return line;
}

void result(Json& json, const RunReport& report, int status) {
    json.key("result").open('{');
    if (report.result) {
        const app::Result& r = *report.result;
        json.key("status").text(statusName(r.status)).key("messageId").number(r.messageId);
        // A failure the operation gave no text for is told by the line the command wrote.
        std::string message = r.messageId ? resources::LoadString(r.messageId) : r.message;
        if (message.empty() && r.status != app::Status::Done) message = lastMessage(report.messages);
        json.key("message").text(message);
        if (r.messageId && !r.message.empty()) json.key("detail").text(r.message);
        json.key("where").text(r.where);
    } else {
        // A command that reported no operation: its exit status and what it said last.
        const app::Status s = status == kExitOk      ? app::Status::Done
                              : status == kExitUsage ? app::Status::Refused
                                                     : app::Status::Failed;
        json.key("status").text(statusName(s)).key("messageId").number(0);
        json.key("message").text(status == kExitOk ? std::string() : lastMessage(report.messages));
        json.key("where").text("");
    }
    json.close('}');
}

void commandWords(Json& json, const std::vector<std::string>& words, std::size_t nameWords) {
    std::string name;
    for (std::size_t i = 0; i < nameWords && i < words.size(); ++i) name += (i ? " " : "") + words[i];
    json.key("command").text(name);
    json.key("arguments").open('[');
    for (std::size_t i = nameWords; i < words.size(); ++i) json.text(words[i]);
    json.close(']');
}

std::size_t nameWordsOf(const std::vector<std::string>& words) {
    std::size_t used = 0;
    return findCommand(words, used) ? used : std::min<std::size_t>(words.size(), 1);
}

}  // namespace

std::string reportJson(const CliOptions& options, const RunReport& report, int status, int keysChanged,
                       const std::optional<FleetPlace>& place) {
    Json json;
    json.open('{');
    commandWords(json, options.command, nameWordsOf(options.command));
    printer(json, options);
    if (place) json.key("name").text(place->name).key("line").number(place->line).key("seconds").decimal(place->seconds);
    values(json, report.values);
    sent(json, report.written);
    result(json, report, status);
    json.lines("output", report.output).lines("messages", report.messages);
    if (!report.found.empty()) {
        json.key("found").open('[');
        for (const Fields& fields : report.found) {
            json.open('{');
            for (const auto& [name, value] : fields) json.key(name).text(value);
            json.close('}');
        }
        json.close(']');
    }
    json.key("keysChanged");
    if (keysChanged >= 0)
        json.number(keysChanged);
    else
        json.null();
    json.key("exit").number(status);
    return json.close('}').take();
}

std::string changeJson(const CliOptions& printerOptions, const FleetPlace& place, const std::string& time,
                       const std::string& key, const std::string& value, const std::string& detail) {
    Json json;
    json.open('{');
    commandWords(json, printerOptions.command, nameWordsOf(printerOptions.command));
    printer(json, printerOptions);
    json.key("name").text(place.name).key("line").number(place.line).key("time").text(time);
    json.key("change").open('{').key("key").text(key).key("value").text(value).key("detail").text(detail);
    return json.close('}').close('}').take();
}

std::string usageErrorJson(const std::vector<std::string>& command, const std::string& error, int status) {
    Json json;
    json.open('{');
    commandWords(json, command, nameWordsOf(command));
    json.key("printer").null();
    RunReport report;
    report.messages.push_back("velmora-cli: " + error);
    values(json, report.values);
    sent(json, report.written);
    result(json, report, status);
    json.lines("output", report.output).lines("messages", report.messages);
    json.key("keysChanged").null().key("exit").number(status);
    return json.close('}').take();
}

std::string fleetSummaryJson(const CliOptions& options, std::size_t printers, std::size_t failed, int status) {
    Json json;
    json.open('{');
    commandWords(json, options.command, nameWordsOf(options.command));
    json.key("summary").open('{');
    json.key("printers").number(static_cast<long long>(printers));
    json.key("ok").number(static_cast<long long>(printers - failed));
    json.key("failed").number(static_cast<long long>(failed));
    json.close('}').key("exit").number(status);
    return json.close('}').take();
}

LineRecorder::LineRecorder(std::ostream& target, std::vector<std::string>& lines) : target_(target), lines_(lines) {}

LineRecorder::~LineRecorder() {
    if (!line_.empty()) lines_.push_back(line_);
}

void LineRecorder::take(char c) {
    if (c == '\n') {
        if (!line_.empty()) lines_.push_back(line_);
        line_.clear();
    } else if (c == '\r') {
        line_.clear();  // the line is drawn again
    } else {
        line_ += c;
    }
}

LineRecorder::int_type LineRecorder::overflow(int_type c) {
    if (traits_type::eq_int_type(c, traits_type::eof())) return traits_type::not_eof(c);
    take(traits_type::to_char_type(c));
    target_.put(traits_type::to_char_type(c));
    return target_ ? c : traits_type::eof();
}

std::streamsize LineRecorder::xsputn(const char* s, std::streamsize n) {
    for (std::streamsize i = 0; i < n; ++i) take(s[i]);
    target_.write(s, n);
    return target_ ? n : 0;
}

int LineRecorder::sync() {
    target_.flush();
    return target_ ? 0 : -1;
}

std::vector<std::string> textLines(const std::string& text) {
    std::vector<std::string> lines;
    std::string line;
    for (const char c : text) {
        if (c == '\n') {
            lines.push_back(line);
            line.clear();
        } else {
            line += c;
        }
    }
    if (!line.empty()) lines.push_back(line);
    return lines;
}

}  // namespace velmora::cli
