// velmora-sim --labels DIR: each printed label, native or ZII, gets its picture beside its record,
// and the barcodes in it scan.
#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <thread>

#include "previewsupport.h"
#include "support/processes.h"

namespace velmora::preview::test {
namespace {

TEST(SimPictures, EachPrintedLabelGetsItsPng) {
    ensureGuiApplication();
    const std::filesystem::path dir =
        std::filesystem::temp_directory_path() / ("velmora-sim-pictures-" + std::to_string(::getpid()));
    std::filesystem::create_directories(dir);
    const std::string file = (dir / "labels.txt").string();
    std::ofstream(file, std::ios::binary) << "SW400\r\nSL300\r\nB140,40,1,2,4,100,0,0,'NATIVE'\r\nP1\r\n"
                                          << "^XA^PW400^LL300^FO40,40^BY2^BCN,100,N^FDZII^FS^XZ\r\n";
    const std::filesystem::path labels = dir / "labels";
    {
        velmora::testing::SimProcess sim({"--labels", labels.string()});
        ASSERT_FALSE(sim.address.empty());
        const velmora::testing::ProcessResult r = velmora::testing::runCliProcess("--tcp " + sim.address + " tester send " + file);
        ASSERT_EQ(r.status, 0) << r.output;
        // The simulator writes the files once the print commands have arrived; allow it a moment.
        const std::filesystem::path last = labels / "label-0002.png";
        for (int i = 0; i < 100 && !std::filesystem::exists(last); ++i)
            std::this_thread::sleep_for(std::chrono::milliseconds(50));
    }
    const struct {
        const char* name;
        const char* data;
    } expected[] = {{"label-0001", "NATIVE"}, {"label-0002", "ZII"}};
    for (const auto& e : expected) {
        EXPECT_TRUE(std::filesystem::exists(labels / (std::string(e.name) + ".json"))) << e.name;
        const QImage image(QString::fromStdString((labels / (std::string(e.name) + ".png")).string()));
        ASSERT_EQ(image.size(), QSize(400, 300)) << e.name;
        const std::vector<Scan> found = scan(image);
        ASSERT_EQ(found.size(), 1u) << e.name;
        EXPECT_EQ(found[0].text, e.data);
    }
    std::filesystem::remove_all(dir);
}

}  // namespace
}  // namespace velmora::preview::test
