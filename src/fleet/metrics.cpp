// The metric families, in a fixed order, each with its help and type.
#include "fleet/metrics.h"

#include <cstdio>
#include <functional>

namespace velmora::fleet {

namespace {

std::string labels(const PrinterWatch& p, const std::string& more = {}) {
    return "{line=\"" + std::to_string(p.line()) + "\",printer=\"" + labelValue(p.name()) + "\"" +
           (more.empty() ? "" : "," + more) + "}";
}

std::string seconds(double value) {
    char text[48];
    std::snprintf(text, sizeof text, "%.3f", value);
    return text;
}

struct Family {
    const char* name;
    const char* type;
    const char* help;
    // The samples of one printer: labels beyond the printer's and the value, as lines.
    std::function<void(const PrinterWatch&, const PollReading&, std::string&)> samples;
};

void sample(std::string& out, const char* name, const PrinterWatch& p, const std::string& more,
            const std::string& value) {
    out += std::string(name) + labels(p, more) + " " + value + "\n";
}

}  // namespace

std::string labelValue(const std::string& text) {
    std::string out;
    for (char c : text) {
        if (c == '\\' || c == '"')
            out += std::string("\\") + c;
        else if (c == '\n')
            out += "\\n";
        else
            out += c;
    }
    return out;
}

std::string renderMetrics(const std::vector<PrinterWatch>& printers) {
    static const Family families[] = {
        {"velmora_printer_up", "gauge", "1 when the printer answered its last status query, else 0.",
         [](const PrinterWatch& p, const PollReading& r, std::string& out) {
             sample(out, "velmora_printer_up", p, {}, r.up ? "1" : "0");
         }},
        {"velmora_printer_status", "gauge",
         "Each status bit of the printer's last valid status reply (1 set, 0 clear).",
         [](const PrinterWatch& p, const PollReading& r, std::string& out) {
             if (!r.up || !r.statusValid) return;
             for (const StatusFlag& f : r.flags)
                 sample(out, "velmora_printer_status", p, "bit=\"" + labelValue(f.name) + "\"",
                        f.set ? "1" : "0");
         }},
        {"velmora_printer_info", "gauge", "The model and firmware the printer reports (always 1).",
         [](const PrinterWatch& p, const PollReading& r, std::string& out) {
             if (!r.up || !p.model()) return;
             sample(out, "velmora_printer_info", p,
                    "model=\"" + labelValue(*p.model()) + "\",firmware=\"" +
                        labelValue(p.firmware().value_or("")) + "\"",
                    "1");
         }},
        {"velmora_printer_usage_meters_total", "counter",
         "Meters the motor fed and the print head printed, since their counters were reset and in all.",
         [](const PrinterWatch& p, const PollReading& r, std::string& out) {
             if (!r.up) return;
             for (const UsageCounter& c : r.counters)
                 if (c.unit == "meter")
                     sample(out, "velmora_printer_usage_meters_total", p,
                            "counter=\"" + labelValue(c.name) + "\"", std::to_string(c.value));
         }},
        {"velmora_printer_usage_total", "counter",
         "Cuts the cutter made, since its counter was reset and in all.",
         [](const PrinterWatch& p, const PollReading& r, std::string& out) {
             if (!r.up) return;
             for (const UsageCounter& c : r.counters)
                 if (c.unit != "meter")
                     sample(out, "velmora_printer_usage_total", p, "counter=\"" + labelValue(c.name) + "\"",
                            std::to_string(c.value));
         }},
        {"velmora_printer_last_poll_timestamp_seconds", "gauge",
         "When the last poll of the printer started (Unix time).",
         [](const PrinterWatch& p, const PollReading& r, std::string& out) {
             const auto ms =
                 std::chrono::duration_cast<std::chrono::milliseconds>(r.time.time_since_epoch()).count();
             sample(out, "velmora_printer_last_poll_timestamp_seconds", p, {},
                    seconds(static_cast<double>(ms) / 1000.0));
         }},
        {"velmora_printer_last_poll_duration_seconds", "gauge", "How long the last poll of the printer took.",
         [](const PrinterWatch& p, const PollReading& r, std::string& out) {
             sample(out, "velmora_printer_last_poll_duration_seconds", p, {},
                    seconds(static_cast<double>(r.took.count()) / 1000.0));
         }},
        {"velmora_printer_polls_total", "counter", "Polls of the printer since the monitor started.",
         [](const PrinterWatch& p, const PollReading&, std::string& out) {
             sample(out, "velmora_printer_polls_total", p, {}, std::to_string(p.polls()));
         }},
    };
    std::string out;
    for (const Family& family : families) {
        out += std::string("# HELP ") + family.name + " " + family.help + "\n";
        out += std::string("# TYPE ") + family.name + " " + family.type + "\n";
        for (const PrinterWatch& p : printers)
            if (p.last()) family.samples(p, *p.last(), out);
    }
    return out;
}

}  // namespace velmora::fleet
