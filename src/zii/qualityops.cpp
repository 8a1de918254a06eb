// The print quality series, its labels and its writes.
#include "zii/qualityops.h"

#include <cstdio>
#include <cstdlib>

#include "platform/userfiles.h"
#include "resources/messages.h"
#include "resources/stringtable.h"
#include "tester/testerformat.h"

namespace velmora::zii {

namespace {

std::string twoDigits(int value) {
    char text[16];
    std::snprintf(text, sizeof text, "%02d", value);
    return text;
}
}  // namespace

const std::vector<std::string>& qualitySpeedTexts() {
    static const std::vector<std::string> texts = {"2.0", "3.0", "4.0", "5.0", "6.0", "7.0"};
    return texts;
}

int speedValue(int speedEntry) {
    const auto& texts = qualitySpeedTexts();
    if (speedEntry < 0 || speedEntry >= static_cast<int>(texts.size())) return 0;
    return std::atoi(texts[static_cast<std::size_t>(speedEntry)].c_str());
}

int speedEntryOf(int speed) {
    for (int e = 0; e < static_cast<int>(qualitySpeedTexts().size()); ++e)
        if (speedValue(e) == speed) return e;
    return -1;
}

const std::vector<std::string>& qualityLabelCounts() {
    static const std::vector<std::string> counts = [] {
        std::vector<std::string> c = {std::to_string(2 * qualitySpeedTexts().size())};
        for (const char* more : {"18", "24", "30", "36"}) c.push_back(more);
        return c;
    }();
    return counts;
}

int labelCount(int countPos) {
    const auto& counts = qualityLabelCounts();
    if (countPos < 0 || countPos >= static_cast<int>(counts.size())) countPos = 0;
    return std::atoi(counts[static_cast<std::size_t>(countPos)].c_str());
}

int samplesPerSpeed(int countPos) { return labelCount(countPos) / static_cast<int>(qualitySpeedTexts().size()); }

DarknessSeries darknessSeries(int countPos) {
    static constexpr DarknessSeries kSeries[] = {{8, 9}, {9, 5}, {7, 4}, {8, 3}, {7, 2}};
    return countPos >= 0 && countPos < 5 ? kSeries[countPos] : kSeries[0];
}

std::string labelIdentifier(int number) {
    return {static_cast<char>('A' + number / 26), static_cast<char>('A' + number % 26)};
}

QualitySample seriesSample(int countPos, int number) {
    const int per = samplesPerSpeed(countPos);
    const DarknessSeries series = darknessSeries(countPos);
    return {labelIdentifier(number), series.base + number % per * series.step, number / per};
}

int identifierNumber(const std::string& id, int countPos) {
    for (int j = 0; j < labelCount(countPos); ++j)
        if (labelIdentifier(j) == id) return j;
    return -1;
}

std::string sampleLabel(const std::string& identifier, int darkness, const std::string& speedText) {
    const std::string speed = std::to_string(std::atoi(speedText.c_str()));
    std::string t;
    for (const std::string& line : {
             "~SD" + twoDigits(darkness),
             std::string("^XA"),
             std::string("^LH0,0"),
             "^PR" + speed,
             std::string("^FO36,36^BY3^BCN,120,Y,N,N^FDABCDEFG^FS"),
             std::string("^FO500,36,^BY3^BCR,120,Y,N,N^FDABCDEFGHI^FS"),
             std::string("^FO36,240^A0N,60,60^FDIdentifier:^FS"),
             "^FO330,240^A0N,90,90^FD" + identifier + "^FS",
             std::string("^FO36,345^A0N,60,60^FDDarkness:^FS"),
             "^FO330,345^A0N,90,90^FD" + std::to_string(darkness) + "^FS",
             std::string("^FO36,450^A0N,60,60^FDSpeed:^FS"),
             "^FO330,450^A0N,90,90^FD" + speedText + "^FS",
             std::string("^PQ1,0,1,Y"),
             std::string("^XZ"),
         })
        t += line + "\r\n";
    return t;
}

std::string qualitySettingsText(int darkness, int speed) {
    const std::string s = std::to_string(speed);
    return "~SD" + twoDigits(darkness) + "\r\n^XA\r\n^PR" + s + "," + s + "\r\n^XZ\r\n^XA^JUS^XZ\r\n";
}

app::Outcome printSampleSeries(link::CComm& comm, platform::Clock& clock, int countPos, const app::Steps& steps) {
    app::Outcome out;
    const std::size_t total = static_cast<std::size_t>(labelCount(countPos));
    out.written.reserve(total);
    for (std::size_t j = 0; j < total; ++j) {
        const QualitySample sample = seriesSample(countPos, static_cast<int>(j));
        const std::string& speedText = qualitySpeedTexts()[static_cast<std::size_t>(sample.speedEntry)];
        // The rest of the series would fail too; the port object has said why.
        if (comm.WriteText(sampleLabel(sample.identifier, sample.darkness, speedText)) == 0)
            return out.fail(0, sample.identifier);
        out.written.emplace_back(sample.identifier, "speed " + speedText + " darkness " + std::to_string(sample.darkness));
        if (steps) {
            app::Step wrote;
            wrote.kind = app::Step::Kind::Wrote;
            wrote.written = &out.written.back();
            steps(wrote);
            app::Step progress;
            progress.done = j + 1;
            progress.total = total;
            steps(progress);
        }
        clock.sleepMs(kSamplePauseMs);
    }
    return out.finish(0);
}

app::Outcome printManualSample(link::CComm& comm, int darkness, int speedEntry) {
    app::Outcome out;
    if (speedEntry < 0 || speedEntry >= static_cast<int>(qualitySpeedTexts().size())) return out.fail(0, "speed");
    const std::string& speedText = qualitySpeedTexts()[static_cast<std::size_t>(speedEntry)];
    if (comm.WriteText(sampleLabel("", darkness, speedText)) == 0) return out.fail(0, "sample");
    out.written.emplace_back("sample", "speed " + speedText + " darkness " + std::to_string(darkness));
    return out.finish(0);
}

app::Outcome setPrintQuality(link::CComm& comm, const QualitySetting& setting) {
    app::Outcome out;
    const std::string text = qualitySettingsText(setting.darkness, setting.speed);
    if (setting.file) {
        if (!platform::writeUserFile(*setting.file, tester::encodeCommandFile(text))) {
            // The printer is not set as if the file had been saved.
            std::string message = resources::LoadString(msg::kCannotWriteFile);
            if (const auto p = message.find("%1"); p != std::string::npos) message.replace(p, 2, *setting.file);
            out.fail(0, "file");
            out.result.message = std::move(message);
            return out;
        }
        out.written.emplace_back("file", *setting.file);
    }
    if (comm.WriteText(text) == 0) return out.fail(0, "settings");
    out.written.emplace_back("darkness", std::to_string(setting.darkness));
    out.written.emplace_back("speed", std::to_string(setting.speed));
    return out.finish(0);
}

}  // namespace velmora::zii
