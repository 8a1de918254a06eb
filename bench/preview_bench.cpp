// Figures, not tests: label pictures rendered per second, for a 4 x 6 inch label of each language
// with text, a box, a Code 128 and a QR Code, against the printer's own time for that label at 6
// inches per second (1 s). Rendering only (the record is parsed once), then the whole offline
// path (text through the simulated printer to a PNG).
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <string>
#include <vector>

#include "processrun.h"

#include "preview/labelpng.h"
#include "preview/labeltext.h"
#include "sim/parser.h"
#include "sim/printer.h"

using namespace velmora;
using Clock = std::chrono::steady_clock;

namespace {

const std::string kNative =
    "SW812\r\nSL1218\r\n"
    "BD20,20,792,1198,B,6\r\n"
    "T60,60,5,1,1,0,0,N,N,'VELMORA 4 x 6 LABEL'\r\n"
    "V60,140,U,40,40,0,N,N,N,0,L,0,'Shipping from the simulated printer'\r\n"
    "B160,260,1,3,6,200,0,1,'VLM-000123456'\r\n"
    "B260,560,Q,2,M,8,0,'https://velmora.example/track/000123456'\r\n"
    "P1\r\n";

const std::string kZii =
    "^XA^PW812^LL1218"
    "^FO20,20^GB772,1178,6^FS"
    "^FO60,60^A0N,50,40^FDVELMORA 4 x 6 LABEL^FS"
    "^FO60,140^ADN,36,20^FDShipping from the simulated printer^FS"
    "^FO60,260^BY3^BCN,200,Y,N,N^FDVLM-000123456^FS"
    "^FO60,560^BQN,2,8^FDMA,https://velmora.example/track/000123456^FS"
    "^XZ\r\n";

double seconds(Clock::duration d) { return std::chrono::duration<double>(d).count(); }

void measure(const char* name, const std::string& text) {
    sim::Printer printer;
    sim::Parser parser(printer);
    parser.feed(text);
    const sim::LabelRecord record = printer.printedLabels().at(0);

    constexpr int kWarmUp = 5;
    for (int i = 0; i < kWarmUp; ++i) preview::renderLabel(record);
    int n = 0;
    const auto start = Clock::now();
    while (seconds(Clock::now() - start) < 2.0) {
        const preview::RenderedLabel label = preview::renderLabel(record);
        if (label.image.isNull()) std::abort();
        ++n;
    }
    const double rate = n / seconds(Clock::now() - start);

    int m = 0;
    std::size_t pngBytes = 0;
    const auto start2 = Clock::now();
    while (seconds(Clock::now() - start2) < 2.0) {
        const preview::LabelPictures pictures = preview::renderText(text);
        pngBytes = preview::pngBytes(pictures.labels.at(0).image).size();
        ++m;
    }
    const double fullRate = m / seconds(Clock::now() - start2);
    // The printer needs 6 inches at 6 inches per second: one label a second.
    std::printf("%-6s 812 x 1218 dots: %7.1f labels/s rendered, %6.1f labels/s text to PNG (%zu bytes); "
                "printer: 1.0 labels/s (%.0fx faster)\n",
                name, rate, fullRate, pngBytes, fullRate);
}

// `velmora-cli preview` of a small label as a whole process, against `velmora-cli --version`:
// what a picture costs beyond starting the program (CPU time, median of several runs).
void measureProcess(const std::string& binDir) {
    const std::string cli = binDir + "/velmora-cli";
    char dir[] = "/tmp/velmora-preview-bench-XXXXXX";
    if (!mkdtemp(dir)) return;
    const std::string label = std::string(dir) + "/small.zpl", png = std::string(dir) + "/small.png";
    FILE* f = std::fopen(label.c_str(), "w");
    if (!f) return;
    std::fputs(kZii.c_str(), f);
    std::fclose(f);
    double wall = 0;
    auto median = [&wall](std::vector<std::string> args) {
        std::vector<double> cpu, secs;
        Run last;
        for (int i = 0; i < 7; ++i) {
            cpu.push_back((last = runProgram(args)).cpuSecs);
            secs.push_back(last.secs);
        }
        std::sort(cpu.begin(), cpu.end());
        std::sort(secs.begin(), secs.end());
        wall = secs[secs.size() / 2];
        return std::make_pair(cpu[cpu.size() / 2], last);
    };
    const auto [version, v] = median({cli, "--version"});
    const auto [picture, p] = median({cli, "preview", label, "-o", png});
    std::printf("process: velmora-cli --version %.0f ms CPU; preview of one label %.0f ms CPU (%s), %.0f ms above "
                "--version (target: within 20 ms), peak %ld KiB\n",
                version * 1000, picture * 1000, p.status == 0 ? "ok" : "FAILED", (picture - version) * 1000,
                p.maxRssKiB);
    std::printf("process: one label a run, %.1f labels/s (target: at least 20), peak %.1f MB (target: at most 30 MB)\n",
                1 / wall, p.maxRssKiB * 1024 / 1e6);
    std::remove(png.c_str());
    std::remove(label.c_str());
    rmdir(dir);
}

}  // namespace

int main(int, char** argv) {
    preview::ensureGuiApplication();
    measure("native", kNative);
    measure("ZII", kZii);
    std::string binDir = argv[0];
    binDir = binDir.find('/') == std::string::npos ? "." : binDir.substr(0, binDir.rfind('/'));
    measureProcess(binDir);
    return 0;
}
