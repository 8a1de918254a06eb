// velmora-cli --json: every command, run against the in-process printer, prints one JSON object
// of the published shape on standard output and nothing else; with --printers one object a
// printer and a summary.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <map>
#include <set>
#include <unistd.h>

#include "cli/commands.h"
#include "support/clirun.h"
#include "support/json.h"

namespace velmora::testing {
namespace {

namespace fs = std::filesystem;

class JsonCli : public CliRun {
protected:
    void SetUp() override {
        dir_ = fs::temp_directory_path() / ("velmora-json-" + std::to_string(::getpid()));
        fs::create_directories(dir_);
        std::ofstream(path("label.txt"), std::ios::binary) << "^XA^FO10,10^FDHello^FS^XZ\r\n";
    }
    void TearDown() override { fs::remove_all(dir_); }
    std::string path(const std::string& name) const { return (dir_ / name).string(); }

    // Runs one command with --json and returns its one object, after checking the shape every
    // object has.
    Json runJson(std::vector<std::string> args, int& status) {
        args.insert(args.begin(), "--json");
        status = run(args);
        const std::string text = out.str();
        EXPECT_TRUE(!text.empty() && text.back() == '\n' && text.find('\n') == text.size() - 1)
            << "not one line: " << text;
        std::string error;
        const auto json = parseJson(text, error);
        EXPECT_TRUE(json) << error << ": " << text;
        if (!json) return {};
        checkShape(*json, status);
        return *json;
    }

    static void checkShape(const Json& j, int status) {
        ASSERT_EQ(j.kind, Json::Kind::Object);
        EXPECT_EQ(j["command"].kind, Json::Kind::String);
        EXPECT_EQ(j["arguments"].kind, Json::Kind::Array);
        EXPECT_TRUE(j.has("printer"));
        EXPECT_EQ(j["exit"].number, status);
        for (const char* list : {"values", "sent", "output", "messages"}) EXPECT_EQ(j[list].kind, Json::Kind::Array) << list;
        const Json& result = j["result"];
        EXPECT_TRUE(result["status"].text == "done" || result["status"].text == "refused" || result["status"].text == "failed");
        EXPECT_EQ(result["messageId"].kind, Json::Kind::Number);
        EXPECT_EQ(result["message"].kind, Json::Kind::String);
        for (const Json& v : j["values"].items) {
            EXPECT_EQ(v["key"].kind, Json::Kind::String);
            // A value whose reply was not valid is never given as one.
            EXPECT_EQ(v.has("value"), v["valid"].boolean) << v["key"].text;
            if (!v["valid"].boolean) {
                EXPECT_TRUE(v.has("reply")) << v["key"].text;
            }
        }
        for (const Json& s : j["sent"].items) EXPECT_TRUE(s.has("value") || s.has("length")) << s["key"].text;
    }

    fs::path dir_;
};

// One run of every registered command; a command added later fails here until it is listed.
TEST_F(JsonCli, EveryCommandPrintsOneObject) {
    const std::map<std::string, std::vector<std::string>> runs = {
        {"build", {"build", "text", "x=10", "y=20", "text=Hi"}},
        {"calibrate", {"--serial", "/dev/ttyS0", "calibrate"}},
        {"charset", {"charset", "under80"}},
        {"codepage get", {"codepage", "get"}},
        {"codepage set", {"codepage", "set", "lock=1"}},
        {"connect", {"connect"}},
        {"discover", {"discover"}},
        {"convert", {"convert", "1", "--from", "inch"}},
        {"doctor", {"doctor"}},
        {"identity get", {"identity", "get"}},
        {"identity init", {"identity", "init", "id"}},
        {"identity set", {"identity", "set", "id=ABC"}},
        {"info", {"info"}},
        {"info reset", {"info", "reset", "motor"}},
        {"info usb-serial", {"info", "usb-serial", "1234567890123"}},
        {"native get", {"native", "get"}},
        {"native init", {"native", "init"}},
        {"native interface get", {"native", "interface", "get"}},
        {"native interface set", {"native", "interface", "set", "parity=even"}},
        {"native set", {"native", "set", "density=10"}},
        {"pcx delete", {"pcx", "delete", "LOGO"}},
        {"pcx info", {"pcx", "info"}},
        {"pcx recall", {"pcx", "recall", "LOGO", "--x", "1", "--y", "2"}},
        {"pcx store", {"pcx", "store", path("label.txt"), "--name", "LOGO", "--raw"}},
        {"profile save", {"profile", "save", path("p.ini")}},
        {"profile diff", {"profile", "diff", path("p.ini")}},
        {"profile apply", {"profile", "apply", path("p.ini")}},
        // Without a printer list the monitor says what it needs; its lines are in its own tests.
        {"monitor", {"monitor"}},
        {"read", {"read", "4"}},
        {"rfid calibrate", {"rfid", "calibrate"}},
        {"rfid get", {"rfid", "get"}},
        {"rfid read", {"rfid", "read", "--start", "0", "--count", "4"}},
        {"rfid reset-counters", {"rfid", "reset-counters"}},
        {"rfid set", {"rfid", "set", "power=20"}},
        {"rfid write", {"rfid", "write", "--start", "0", "--data", "A1B2"}},
        {"send", {"send", "~HS\\r\\n"}},
        {"send-file", {"send-file", path("label.txt")}},
        {"status", {"status"}},
        {"terminal read", {"terminal", "read"}},
        {"terminal send", {"terminal", "send", "--text", "~HI\\r\\n"}},
        {"tester read", {"tester", "read", "--hex"}},
        {"tester send", {"tester", "send", path("label.txt"), "--count", "2"}},
        {"twobyte print", {"twobyte", "print", "--table", "big5", "--start", "A4", "--end", "A5"}},
        {"zii advanced get", {"zii", "advanced", "get"}},
        {"zii advanced set", {"zii", "advanced", "set", "mirror=1"}},
        {"zii clock set", {"zii", "clock", "set", "2024-05-06T07:08:09"}},
        {"zii get", {"zii", "get"}},
        {"zii quality auto", {"zii", "quality", "auto"}},
        {"zii quality manual", {"zii", "quality", "manual", "--darkness", "10", "--speed", "4"}},
        {"zii quality pick", {"zii", "quality", "pick", "AB"}},
        {"zii serial get", {"zii", "serial", "get"}},
        {"zii serial set", {"zii", "serial", "set", "baud=9600"}},
        {"zii set", {"zii", "set", "darkness=20"}},
        {"zii tool", {"zii", "tool", "feed"}},
    };
    std::set<std::string> listed;
    for (const auto& [name, args] : runs) listed.insert(name);
    for (const cli::Command* c : cli::allCommands()) {
        // The label pictures are a module built only where Qt is; their run is in the preview tests.
        if (c->name == "preview") continue;
        EXPECT_TRUE(listed.count(c->name)) << c->name << " has no --json run here";
    }
    // In the order of a session: the profile is saved before it is compared and applied.
    std::vector<std::string> order = {"profile save"};
    for (const auto& [name, args] : runs)
        if (name != "profile save") order.push_back(name);
    for (const auto& name : order) {
        SCOPED_TRACE(name);
        int status = 0;
        const Json j = runJson(runs.at(name), status);
        EXPECT_EQ(j["command"].text, name);
        // Only the JSON object is on standard output; what the command prints is in "output".
        if (name == "build" || name == "convert" || name == "status" || name == "profile save" || name == "discover") {
            EXPECT_FALSE(j["output"].items.empty());
        }
    }
}

// The facts a script reads: values with their validity, bulk data by its length and head, the
// result's message id and text, the connection.
TEST_F(JsonCli, ValuesSentAndResult) {
    int status = 0;
    Json j = runJson({"native", "get", "paper-width"}, status);
    ASSERT_EQ(status, 0);
    ASSERT_EQ(j["values"].items.size(), 1u);
    EXPECT_EQ(j["values"].items[0]["key"].text, "paper-width");
    EXPECT_TRUE(j["values"].items[0]["valid"].boolean);
    EXPECT_EQ(j["printer"]["connection"].text, "tcp");
    EXPECT_EQ(j["printer"]["port"].number, 9100);

    j = runJson({"send-file", path("label.txt")}, status);
    ASSERT_EQ(status, 0);
    ASSERT_EQ(j["sent"].items.size(), 1u);
    EXPECT_EQ(j["sent"].items[0]["length"].number, 27);
    EXPECT_EQ(j["sent"].items[0]["head"].text.substr(0, 8), "5e 58 41");
    EXPECT_EQ(j["result"]["messageId"].number, 237);
    EXPECT_EQ(j["result"]["message"].text, "File download is completed.");
    // Messages still go to standard error, and the report has them.
    EXPECT_EQ(err.str(), "Velmora: File download is completed.\n");
    EXPECT_EQ(j["messages"].items[0].text, "Velmora: File download is completed.");

    j = runJson({"--serial", "/dev/ttyS1", "--baud", "9600", "connect"}, status);
    EXPECT_EQ(j["printer"]["device"].text, "/dev/ttyS1");
    EXPECT_EQ(j["printer"]["baud"].number, 9600);
    EXPECT_EQ(j["result"]["messageId"].number, 217);
}

TEST_F(JsonCli, FailuresAreObjectsToo) {
    int status = 0;
    // A printer that answers nonsense: the value is named with what came, never given.
    sim::Faults garbage;
    garbage.garbage = true;
    printer.setFaults(garbage);
    Json j = runJson({"native", "get", "paper-width"}, status);
    EXPECT_EQ(status, 1);
    ASSERT_EQ(j["values"].items.size(), 1u);
    EXPECT_FALSE(j["values"].items[0]["valid"].boolean);
    EXPECT_EQ(j["values"].items[0]["reply"].text.substr(0, 5), "7A 7A");
    printer.setFaults({});

    // No printer: the open's message.
    printer.setSilent(true);
    j = runJson({"status"}, status);
    EXPECT_EQ(status, 1);
    EXPECT_EQ(j["result"]["status"].text, "failed");
    EXPECT_EQ(j["result"]["messageId"].number, 216);
    printer.setSilent(false);

    // A usage error: no command ran, and the object says why.
    const auto before = printer.journal().totalBytes();
    j = runJson({"zii", "set", "darkness=99"}, status);
    EXPECT_EQ(status, 2);
    EXPECT_EQ(j["result"]["status"].text, "refused");
    EXPECT_EQ(j["result"]["message"].text, "bad arguments for zii set");
    EXPECT_EQ(printer.journal().totalBytes(), before);

    // Text a command cannot send: refused, and said so.
    j = runJson({"send", "\xD0\x96"}, status);
    EXPECT_EQ(status, 2);
    EXPECT_EQ(j["result"]["status"].text, "refused");
    EXPECT_NE(j["result"]["message"].text.find("cannot hold"), std::string::npos);
}

// --printers: one object a line per printer, then the summary.
TEST_F(JsonCli, FleetPrintsOneObjectAPrinterAndASummary) {
    std::ofstream(path("printers.txt")) << "--tcp 10.0.0.1\n--serial /dev/ttyS3 --baud 9600\n";
    const int status = run({"--json", "--printers", path("printers.txt"), "status"});
    EXPECT_EQ(status, 0);
    std::vector<Json> lines;
    std::istringstream in(out.str());
    for (std::string line; std::getline(in, line);) {
        std::string error;
        auto j = parseJson(line, error);
        ASSERT_TRUE(j) << error << ": " << line;
        lines.push_back(*j);
    }
    ASSERT_EQ(lines.size(), 3u);
    EXPECT_EQ(lines[0]["name"].text, "10.0.0.1:9100");
    EXPECT_EQ(lines[0]["line"].number, 1);
    EXPECT_EQ(lines[1]["printer"]["device"].text, "/dev/ttyS3");
    EXPECT_EQ(lines[1]["output"].items[0].text, "Status OK");
    EXPECT_EQ(lines[2]["summary"]["printers"].number, 2);
    EXPECT_EQ(lines[2]["summary"]["failed"].number, 0);
    EXPECT_EQ(lines[2]["exit"].number, 0);
}

}  // namespace
}  // namespace velmora::testing
