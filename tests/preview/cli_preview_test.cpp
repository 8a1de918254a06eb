// velmora-cli "preview": the command tester builders' defaults, a ZII format and a file of several
// labels become PNG files that read back with their sizes and barcodes; bad arguments and files
// are refused.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "previewsupport.h"
#include "support/clirun.h"
#include "support/json.h"

namespace velmora::preview::test {
namespace {

class CliPreview : public velmora::testing::CliRun {
  protected:
    void SetUp() override {
        ensureGuiApplication();
        dir = std::filesystem::temp_directory_path() / ("velmora-preview-" + std::to_string(::getpid()));
        std::filesystem::create_directories(dir);
    }
    void TearDown() override { std::filesystem::remove_all(dir); }
    std::string file(const std::string& name, const std::string& text) {
        const std::string path = (dir / name).string();
        std::ofstream(path, std::ios::binary) << text;
        return path;
    }
    std::string built(const std::string& builder) {
        EXPECT_EQ(run({"build", builder}), 0) << err.str();
        return out.str();
    }
    std::filesystem::path dir;
};

TEST_F(CliPreview, BuilderDefaultsRenderAndScan) {
    const std::string text = "SW812\r\nSL1218\r\n" + built("text") + built("vector") + built("box") +
                             built("barcode1d") + "P1\r\n" + built("barcode2d") + "P1\r\n";
    const std::string out1 = (dir / "builders.png").string();
    ASSERT_EQ(run({"preview", file("builders.tavl", text), "-o", out1}), 0) << err.str();
    EXPECT_EQ(out.str().find("not drawn"), std::string::npos) << out.str();
    std::vector<Scan> found;
    for (const char* name : {"builders-1.png", "builders-2.png"}) {
        const QImage image(QString::fromStdString((dir / name).string()));
        ASSERT_EQ(image.size(), QSize(812, 1218)) << name;
        for (const Scan& s : scan(image)) found.push_back(s);
    }
    // The 1D builder's default Code 39 reads; the 2D default (MaxiCode) is read in its own test.
    ASSERT_FALSE(found.empty());
    EXPECT_EQ(found[0].format, ZXing::BarcodeFormat::Code39);
}

TEST_F(CliPreview, ZiiIsDetectedAndOneLabelKeepsTheName) {
    const std::string out1 = (dir / "zii.png").string();
    ASSERT_EQ(run({"preview", file("label.zpl", "^XA^PW400^LL300^FO40,40^BY2^BCN,80,N^FDZII^FS^XZ"), "-o", out1}), 0)
        << err.str();
    const QImage image(QString::fromStdString(out1));
    EXPECT_EQ(image.size(), QSize(400, 300));
    const auto found = scan(image);
    ASSERT_EQ(found.size(), 1u);
    EXPECT_EQ(found[0].text, "ZII");
    // With --json the pictures' lines are the output of one object.
    ASSERT_EQ(run({"--json", "preview", file("label.zpl", "^XA^PW400^LL300^FO40,40^GB10,10,10^FS^XZ"), "-o", out1}), 0);
    std::string error;
    const auto json = velmora::testing::parseJson(out.str(), error);
    ASSERT_TRUE(json) << error << ": " << out.str();
    EXPECT_EQ((*json)["command"].text, "preview");
    ASSERT_EQ((*json)["output"].items.size(), 1u);
    EXPECT_EQ((*json)["output"].items[0].text, out1 + ": 400 x 300 dots");
    // Forced to the native language the file prints nothing.
    EXPECT_EQ(run({"preview", file("label.zpl", "^XA^FO40,40^GB10,10,10^FS^XZ"), "--lang", "tavl"}), 1);
    EXPECT_NE(err.str().find("prints no label"), std::string::npos);
}

TEST_F(CliPreview, BadArgumentsAndFilesAreRefused) {
    for (const std::vector<std::string>& args :
         {std::vector<std::string>{"preview"}, {"preview", "a", "b"}, {"preview", "a", "--lang", "pcl"}, {"preview", "a", "-o"}}) {
        EXPECT_NE(run(args), 0) << args.size();
    }
    EXPECT_EQ(run({"preview", (dir / "missing.tavl").string()}), 1);
    EXPECT_NE(err.str().find("no such file"), std::string::npos);
}

// An output path that names a device or a FIFO is written into, never replaced by a picture; one
// that cannot be written is found before anything is drawn.
TEST_F(CliPreview, OutputsThatAreNotFilesAreWrittenIntoOrRefused) {
    const std::string label = file("ok.zpl", "^XA^FO10,10^GB20,20,2^FS^XZ");
    const std::string link = (dir / "null.png").string();
    std::filesystem::create_symlink("/dev/null", link);
    ASSERT_EQ(run({"preview", label, "-o", link}), 0) << err.str();
    EXPECT_TRUE(std::filesystem::is_symlink(link));
    EXPECT_TRUE(std::filesystem::is_character_file("/dev/null"));

    EXPECT_EQ(run({"preview", label, "-o", dir.string()}), 1);
    EXPECT_NE(err.str().find("is a directory; nothing was done"), std::string::npos) << err.str();
    EXPECT_EQ(run({"preview", label, "-o", (dir / "no" / "such.png").string()}), 1);
    EXPECT_EQ(out.str(), "");
}

}  // namespace
}  // namespace velmora::preview::test
