// A download dialog over a scripted link, with files made in a directory of its own.
#pragma once

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <string>

#include "app/toolcontext.h"
#include "support/linkfixture.h"
#include "ui/testhost.h"

namespace velmora::testing {

class DownloadFixture : public ::testing::Test {
protected:
    DownloadFixture() {
        dir = std::filesystem::path(::testing::TempDir()) /
              ("velmora_download_" + std::to_string(getpid()) + "_" +
               ::testing::UnitTest::GetInstance()->current_test_info()->name());
        std::filesystem::create_directories(dir);
    }
    ~DownloadFixture() override { std::filesystem::remove_all(dir); }

    std::string makeFile(const std::string& name, const std::string& bytes) {
        const auto path = (dir / name).string();
        std::ofstream(path, std::ios::binary) << bytes;
        return path;
    }
    // Opens the link of the named port ("COM1:", "USB", "ETHERNET").
    void connect(const std::string& port) {
        l.comm.portName = port;
        l.comm.baudRate = 115200;
        l.comm.dataBits = 8;
        if (port == "ETHERNET") l.comm.socket.SetTarget("127.0.0.1", 9100);
        ASSERT_NE(l.comm.Open(), 0);
        if (port == "USB") l.comm.Close();  // a USB link is open only while it is used
    }
    // The bytes offered to each write since the link opened.
    std::vector<std::size_t> writeSizes() const { return l.script.writeSizes; }

    std::filesystem::path dir;
    ScriptedLink l;
    ui::TestHost host;
    app::ToolContext ctx{l.comm, l.clock, host};
};

}  // namespace velmora::testing
