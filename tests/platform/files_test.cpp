// Output files as every program writes them: what the path names after its links decides how,
// and nothing that stands at the path is ever replaced by something of another kind. Bounded
// reads cost what the file holds.
#include <gtest/gtest.h>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <thread>

#include "platform/files.h"

namespace velmora::testing {
namespace {

namespace fs = std::filesystem;

class OutputFile : public ::testing::Test {
  protected:
    void SetUp() override {
        dir = fs::temp_directory_path() /
              ("velmora-files-" + std::to_string(::getpid()) + "-" +
               ::testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::create_directories(dir);
    }
    void TearDown() override { fs::remove_all(dir); }
    std::string path(const char* name) const { return (dir / name).string(); }
    static std::string slurp(const std::string& p) {
        std::ifstream in(p);
        std::stringstream s;
        s << in.rdbuf();
        return s.str();
    }
    fs::path dir;
};

TEST_F(OutputFile, ARegularFileIsReplacedWholeAndKeepsItsMode) {
    const std::string p = path("out.png");
    std::string error;
    ASSERT_TRUE(platform::writeOutputFile(p, "first", error)) << error;
    ::chmod(p.c_str(), 0640);
    ASSERT_TRUE(platform::writeOutputFile(p, "second", error)) << error;
    EXPECT_EQ(slurp(p), "second");
    struct stat info {};
    ASSERT_EQ(::stat(p.c_str(), &info), 0);
    EXPECT_EQ(info.st_mode & 07777, 0640u);
    // No temporary file is left beside it.
    EXPECT_EQ(std::distance(fs::directory_iterator(dir), fs::directory_iterator()), 1);
}

TEST_F(OutputFile, ALinkStaysALinkAndItsTargetIsWritten) {
    const std::string target = path("target.ini");
    const std::string link = path("link.ini");
    std::string error;
    ASSERT_TRUE(platform::writeOutputFile(target, "old", error));
    fs::create_symlink("target.ini", link);
    ASSERT_TRUE(platform::writeOutputFile(link, "new", error)) << error;
    EXPECT_TRUE(fs::is_symlink(link));
    EXPECT_EQ(slurp(target), "new");

    // A link to a device is written into, the device and the link left as they are.
    const std::string toNull = path("null");
    fs::create_symlink("/dev/null", toNull);
    ASSERT_TRUE(platform::writeOutputFile(toNull, "discarded", error)) << error;
    EXPECT_TRUE(fs::is_symlink(toNull));
    EXPECT_TRUE(fs::is_character_file("/dev/null"));
}

TEST_F(OutputFile, AFifoIsWrittenIntoNeverReplaced) {
    const std::string fifo = path("fifo");
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    std::string error;
    // Nobody reads it: refused at once rather than waiting forever.
    EXPECT_FALSE(platform::writeOutputFile(fifo, "x", error));
    EXPECT_NE(error.find("no program reads"), std::string::npos) << error;

    std::string got;
    std::thread reader([&] {
        const int fd = ::open(fifo.c_str(), O_RDONLY);
        char buf[64];
        for (ssize_t n; (n = ::read(fd, buf, sizeof buf)) > 0;) got.append(buf, static_cast<std::size_t>(n));
        ::close(fd);
    });
    bool written = false;
    for (int i = 0; i < 500 && !written; ++i) {  // until the reader has opened its end
        written = platform::writeOutputFile(fifo, "through the pipe", error);
        if (!written) std::this_thread::sleep_for(std::chrono::milliseconds(2));
    }
    reader.join();
    EXPECT_TRUE(written) << error;
    EXPECT_EQ(got, "through the pipe");
    EXPECT_TRUE(fs::is_fifo(fifo));
}

TEST_F(OutputFile, WhatCannotBeWrittenIsFoundBeforehand) {
    struct Case {
        std::string path;
        const char* says;
    };
    const Case cases[] = {
        {dir.string(), "is a directory"},
        {path("missing/out.png"), "cannot write in"},
        {"", "no file name"},
    };
    for (const auto& c : cases) {
        EXPECT_NE(platform::outputProblem(c.path).find(c.says), std::string::npos) << c.path;
        std::string error;
        EXPECT_FALSE(platform::writeOutputFile(c.path, "x", error)) << c.path;
    }
    EXPECT_EQ(platform::outputProblem(path("new.png")), "");
    EXPECT_EQ(platform::outputProblem("/dev/null"), "");
}

TEST_F(OutputFile, ABoundedReadOfASmallFileCostsItsSize) {
    const std::string p = path("small.zpl");
    std::ofstream(p) << "^XA^FDx^FS^XZ\n";
    const auto read = platform::readTextFile(p, 64u << 20);
    ASSERT_EQ(read.outcome, platform::TextFileRead::Outcome::Read);
    EXPECT_EQ(read.text, "^XA^FDx^FS^XZ\n");
    EXPECT_LT(read.text.capacity(), 4096u);
}

}  // namespace
}  // namespace velmora::testing
