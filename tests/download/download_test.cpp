// The file transfer and the PCX image manager over a scripted link: chunk sequences per link
// kind, byte-order marks, the command texts, refusals, and a write that fails midway.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include "download/filetransferdlg.h"
#include "download/pcxfiledownloaderdlg.h"
#include "download/transfer.h"
#include "download_fixture.h"
#include "resources/templates_download.h"
#include "ui/dataexchange.h"

namespace velmora::testing {
namespace {

using namespace resources;
using download::CFileTransferDlg;
using download::CPcxFileDownloaderDlg;

// Records every position the progress bar takes.
class BarWatch : public ui::DialogObserver {
public:
    explicit BarWatch(int id) : id_(id) {}
    void controlChanged(ui::Control& c) override {
        if (c.id() == id_ && (positions.empty() || positions.back() != c.pos())) positions.push_back(c.pos());
    }
    std::vector<int> positions;

private:
    int id_;
};

class FileTransfer : public DownloadFixture {
protected:
    void choose(const std::string& path) {
        host.fileAnswers.push_back(path);
        dlg.click(IDC_FT_BROWSE);
    }
    CFileTransferDlg dlg{ctx};
};

class PcxManager : public DownloadFixture {
protected:
    void choose(const std::string& path) {
        host.fileAnswers.push_back(path);
        dlg.click(IDC_PCX_BROWSE);
    }
    CPcxFileDownloaderDlg dlg{ctx};
};

TEST_F(FileTransfer, ChunksPerLinkKind) {
    struct Case {
        std::string port;
        std::size_t size;
        std::vector<std::size_t> writes;
    };
    const Case cases[] = {
        {"COM1:", 8192, {4096, 4096, 0}},
        {"COM1:", 5000, {4096, 904}},
        {"COM1:", 0, {0}},
        {"USB", 8192, {4096, 4096, 0}},
        {"ETHERNET", 8192, {8192}},
        // One write all the same, handed to the socket a few MiB at a time.
        {"ETHERNET", 2 * download::kOneWritePiece + 5, {download::kOneWritePiece, download::kOneWritePiece, 5}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.port + " " + std::to_string(c.size));
        ScriptedLink fresh;
        ui::TestHost h;
        app::ToolContext context{fresh.comm, fresh.clock, h};
        fresh.comm.portName = c.port;
        fresh.comm.baudRate = 115200;
        if (c.port == "ETHERNET") fresh.comm.socket.SetTarget("127.0.0.1", 9100);
        ASSERT_NE(fresh.comm.Open(), 0);
        if (c.port == "USB") fresh.comm.Close();  // a USB link is open only while it is used
        const int opensBefore = fresh.script.opens;
        fresh.script.writeSizes.clear();
        fresh.script.writeTimeoutMsPerByte.reset();
        CFileTransferDlg d(context);
        d.Create();
        std::string bytes(c.size, '\0');
        for (std::size_t i = 0; i < bytes.size(); ++i) bytes[i] = static_cast<char>(i * 7);
        h.fileAnswers.push_back(makeFile("f" + std::to_string(c.size), bytes));
        d.click(IDC_FT_BROWSE);
        EXPECT_EQ(d.control(IDC_FT_SIZE).text(), std::to_string(c.size) + " Bytes");
        d.click(IDC_FT_DOWNLOAD);
        EXPECT_EQ(fresh.script.writeSizes, c.writes);
        EXPECT_TRUE(fresh.script.written() == bytes);
        EXPECT_EQ(h.messageTexts(), std::vector<std::string>{"File download is completed."});
        // USB: opened once for the whole transfer, and closed after.
        if (c.port == "USB") {
            EXPECT_EQ(fresh.script.opens - opensBefore, 1);
            EXPECT_FALSE(fresh.comm.isOpen());
            EXPECT_FALSE(fresh.comm.keepOpen);
        }
        // Serial: the port is not reopened, which would purge the end of the file; the transfer
        // runs with 20 s time-outs, its end may take 3 s to leave, then the port's own come back.
        if (c.port == "COM1:") {
            EXPECT_EQ(fresh.script.opens - opensBefore, 0);
            EXPECT_EQ(fresh.script.purges, 1);  // the one of the connect
            EXPECT_EQ(fresh.script.timeouts, (std::vector<platform::Timeouts>{{0, 1, 20000, 1, 20000},
                                                                              {0, 1, 3000, 1, 3000}}));
            EXPECT_EQ(fresh.script.drains, 1);
            EXPECT_EQ(fresh.script.writeTimeoutMsPerByte, 0u);
        }
        // Ethernet: one pause, after the last byte, however many pieces the write took.
        if (c.port == "ETHERNET") {
            EXPECT_EQ(fresh.clock.pauses(), std::vector<unsigned>{50});
        }
    }
}

TEST_F(FileTransfer, CompleteByteOrderMarksAreRemovedPartialOnesKept) {
    connect("COM1:");
    dlg.Create();
    const std::pair<std::string, std::string> cases[] = {
        {"\xEF\xBB\xBFPRINT\r", "PRINT\r"},
        {std::string("\xFF\xFE" "A\0B\0", 6), "AB"},
        {std::string("\xFE\xFF\0A\0B", 6), "AB"},
        {std::string("\xFF\xFE" "A\0\0\0B\0", 8), "A"},  // ends at its first NUL unit
        {"\xEF\xBB", "\xEF\xBB"},
        {"\xEF\x01\x02\x03", "\xEF\x01\x02\x03"},
        {"\xFF\xD8\xFF\xE0", "\xFF\xD8\xFF\xE0"},  // a firmware or JPEG image
        {"\xFE", "\xFE"},
        {"\xFF", "\xFF"},
    };
    int n = 0;
    for (const auto& [content, sent] : cases) {
        SCOPED_TRACE(n);
        l.script.writes.clear();
        choose(makeFile("bom" + std::to_string(n++), content));
        dlg.click(IDC_FT_DOWNLOAD);
        EXPECT_EQ(l.script.written(), sent);
    }
}

TEST_F(FileTransfer, ProgressRangeDoesNotWrapAndTheBarSteps) {
    EXPECT_EQ(download::ProgressRange(5000), 2);
    EXPECT_EQ(download::ProgressRange(std::uint64_t{1} << 30), 524288);
    EXPECT_EQ(download::ProgressRange(std::uint64_t{1} << 50), INT_MAX);
    connect("COM1:");
    dlg.Create();
    BarWatch watch(IDC_FT_PROGRESS);
    dlg.setObserver(&watch);
    choose(makeFile("f", std::string(5000, 'x')));
    // The window gets to repaint while the bar is moved.
    std::vector<int> paintedAt;
    platform::setWaitHook([&] { paintedAt.push_back(dlg.control(IDC_FT_PROGRESS).pos()); });
    dlg.click(IDC_FT_DOWNLOAD);
    platform::setWaitHook(nullptr);
    EXPECT_EQ(paintedAt, (std::vector<int>{0, 1}));
    EXPECT_EQ(dlg.control(IDC_FT_PROGRESS).rangeMax(), 2);
    // The share sent after the first chunk, full when the rest went, then back to the start.
    EXPECT_EQ(watch.positions, (std::vector<int>{0, 1, 2, 0}));
}

TEST_F(FileTransfer, StopsAtTheFirstFailedWrite) {
    connect("COM1:");
    dlg.Create();
    choose(makeFile("f", std::string(3 * 4096, 'x')));
    l.script.writeSizes.clear();
    l.script.writeScript = {4096, -1, -1, -1, -1};  // the second chunk never goes
    dlg.click(IDC_FT_DOWNLOAD);
    EXPECT_EQ(l.script.writeSizes, (std::vector<std::size_t>{4096, 4096, 4096, 4096, 4096}));
    EXPECT_EQ(l.messages.shown, std::vector<int>{111});
    EXPECT_EQ(host.messageTexts(), std::vector<std::string>{"File download failed."});
}

TEST_F(FileTransfer, RefusesNoChoiceAndWhatIsNotARegularFile) {
    connect("COM1:");
    dlg.Create();
    dlg.click(IDC_FT_DOWNLOAD);
    const std::string fifo = (dir / "fifo").string();
    ASSERT_EQ(mkfifo(fifo.c_str(), 0600), 0);
    choose(fifo);
    choose(dir.string());
    EXPECT_FALSE(dlg.fileChosen());
    EXPECT_EQ(dlg.control(IDC_FT_NAME).text(), "None");
    // A path typed over a chosen one that names a FIFO is refused at download, without blocking.
    choose(makeFile("ok", "x"));
    dlg.typeText(IDC_FT_PATH, fifo);
    dlg.click(IDC_FT_DOWNLOAD);
    EXPECT_EQ(host.messageTexts(), (std::vector<std::string>{"Please, select a file!", "Can't open file!",
                                                             "Can't open file!", "Can't open file!"}));
    EXPECT_TRUE(l.script.written().empty());
}

TEST_F(PcxManager, StoreSendsHeaderBytesAndRecallTrailer) {
    connect("COM1:");
    dlg.Create();
    const std::string image(1234, '\x0A');
    choose(makeFile("LOGO.PCX", image));
    for (int id : {IDC_PCX_STORE_NAME, IDC_PCX_DELETE_NAME, IDC_PCX_RECALL_NAME})
        EXPECT_EQ(dlg.control(id).text(), "LOGO");
    l.script.writes.clear();
    l.script.writeSizes.clear();
    dlg.click(IDC_PCX_DOWNLOAD);
    EXPECT_EQ(l.script.written(), "IS1234,'LOGO'" + image + "\r\rIR100,100,'LOGO'\rP1\r");
    EXPECT_EQ(l.script.writes.front(), "IS1234,'LOGO'");
    EXPECT_EQ(host.messageTexts(), std::vector<std::string>{"PCX file download is completed."});
    EXPECT_TRUE(l.script.timeouts.empty());  // a store leaves the port's time-outs alone

    // A typed name replaces the file's in the header and in the trailer.
    l.script.writes.clear();
    dlg.typeText(IDC_PCX_STORE_NAME, "SIGN");
    dlg.click(IDC_PCX_DOWNLOAD);
    EXPECT_EQ(l.script.writes.front(), "IS1234,'SIGN'");
    EXPECT_EQ(l.script.writes.back(), "\r\rIR100,100,'SIGN'\rP1\r");
}

TEST_F(PcxManager, ChunksOnUsbAndHeaderCarriesTheBytesSent) {
    connect("USB");
    dlg.Create();
    choose(makeFile("A.pcx", std::string(4096, 'p')));
    // The path edited after choosing: the other file's bytes go, with their own size.
    dlg.typeText(IDC_PCX_PATH, makeFile("B.pcx", std::string(10, 'q')));
    dlg.click(IDC_PCX_DOWNLOAD);
    EXPECT_EQ(l.script.writes.front(), "IS10,'A'");
    l.script.writes.clear();
    l.script.writeSizes.clear();
    const int opens = l.script.opens;
    dlg.typeText(IDC_PCX_PATH, makeFile("C.pcx", std::string(4096, 'p')));
    dlg.click(IDC_PCX_DOWNLOAD);
    const std::string trailer = "\r\rIR100,100,'A'\rP1\r";
    EXPECT_EQ(l.script.writeSizes, (std::vector<std::size_t>{10, 2048, 2048, 0, trailer.size()}));
    EXPECT_EQ(l.script.opens - opens, 1);
}

TEST_F(PcxManager, FailedStoreSendsNoTrailerAndSaysSo) {
    connect("COM1:");
    dlg.Create();
    choose(makeFile("LOGO.pcx", std::string(5000, 'x')));
    l.script.writes.clear();
    l.script.writeScript = {-1, 100, 2048, -1, -1, -1, -1};  // the header goes, the second chunk does not
    dlg.click(IDC_PCX_DOWNLOAD);
    EXPECT_EQ(l.script.written().find("IR100"), std::string::npos);
    EXPECT_EQ(host.messageTexts(), std::vector<std::string>{"PCX file download failed."});
}

TEST_F(PcxManager, DeleteInformationAndRecallTexts) {
    connect("COM1:");
    dlg.Create();
    struct Case {
        std::function<void()> act;
        std::string sent;
    };
    const Case cases[] = {
        {[&] {
             dlg.typeText(IDC_PCX_DELETE_NAME, "A");
             dlg.click(IDC_PCX_DELETE);
         },
         "ID'A'\r\nII\r\n"},
        {[&] { dlg.click(IDC_PCX_DELETE_ALL); }, "ID*\r\nII\r\n"},
        {[&] { dlg.click(IDC_PCX_INFORMATION); }, "II\r\n"},
        {[&] {
             dlg.typeText(IDC_PCX_RECALL_NAME, "A");
             dlg.typeText(IDC_PCX_RECALL_X, "30");
             dlg.typeText(IDC_PCX_RECALL_Y, "40");
             dlg.click(IDC_PCX_RECALL);
         },
         "IR30,40,'A'\rP1\r"},
    };
    for (const auto& c : cases) {
        l.script.writes.clear();
        c.act();
        EXPECT_EQ(l.script.written(), c.sent);
    }
    EXPECT_TRUE(host.messages.empty());
}

TEST_F(PcxManager, RefusesNamesThatWouldEndTheCommandAndPositionsThatAreNoNumbers) {
    connect("COM1:");
    dlg.Create();
    dlg.click(IDC_PCX_DOWNLOAD);  // no file
    for (const char* name : {"", "A'B", "A\rB", "A\nB"}) {
        dlg.typeText(IDC_PCX_DELETE_NAME, name);
        dlg.click(IDC_PCX_DELETE);
        dlg.typeText(IDC_PCX_RECALL_NAME, name);
        dlg.click(IDC_PCX_RECALL);
    }
    dlg.typeText(IDC_PCX_RECALL_NAME, "A");
    dlg.typeText(IDC_PCX_RECALL_X, "1.5");
    dlg.click(IDC_PCX_RECALL);
    // A file name too short to give an image name asks for one.
    choose(makeFile("a.b", "x"));
    l.script.writes.clear();
    dlg.typeText(IDC_PCX_RECALL_X, "0");
    dlg.click(IDC_PCX_DOWNLOAD);
    std::vector<std::string> expected{"Please, Select PCX files!"};
    expected.insert(expected.end(), 8, "Please, type image name!");
    expected.push_back(ui::ddx_text::kEnterInteger);
    expected.push_back("Please, type image name!");
    EXPECT_EQ(host.messageTexts(), expected);
    EXPECT_TRUE(l.script.written().empty());
}

}  // namespace
}  // namespace velmora::testing
