// The transfers and the image commands.
#include "download/transferops.h"

#include "app/sent.h"
#include "download/transfer.h"

namespace velmora::download {

std::string PcxStoreHeader(std::size_t size, const std::string& name) {
    return "IS" + std::to_string(size) + ",'" + name + "'";
}

std::string PcxRecallTrailer(const std::string& name) { return "\r\rIR100,100,'" + name + "'\rP1\r"; }

std::string PcxDeleteCommand(const std::string& name) { return "ID'" + name + "'\r\nII\r\n"; }

std::string PcxRecallCommand(int x, int y, const std::string& name) {
    return "IR" + std::to_string(x) + "," + std::to_string(y) + ",'" + name + "'\rP1\r";
}

bool IsUsableImageName(const std::string& name) {
    return !name.empty() && name.find_first_of("'\r\n") == std::string::npos;
}

std::string ImageNameFromFile(const std::string& fileName) {
    return fileName.size() > 4 ? fileName.substr(0, fileName.size() - 4) : std::string();
}

namespace {

// The one place a file's bytes go to the printer: chunk by chunk on the links written piece by
// piece, one write (let go in pieces) on Ethernet, with the progress as steps. Notes what went
// under `key`; false at the first write that failed.
bool sendBody(link::CComm& comm, TransferSource& source, std::size_t chunk, const app::Steps& steps,
              app::KeyValues& written, const std::string& key) {
    const auto bytes = source.bytes();
    std::size_t sent = 0;
    auto progress = [&](std::size_t done) {
        sent = done;
        if (steps) steps({app::Step::Kind::Progress, nullptr, nullptr, done, bytes.size()});
    };
    progress(0);
    const bool ok = SendInChunks(comm, bytes, comm.kind == link::kEthernet ? 0 : chunk, [&](std::size_t done) {
        source.release(done);
        progress(done);
    });
    // The rest after the last whole chunk has gone too: the progress ends at every byte.
    if (ok && sent < bytes.size()) progress(bytes.size());
    // The pages let go come back from the file for the head.
    app::noteSent(written, key, {reinterpret_cast<const char*>(bytes.data()), ok ? bytes.size() : sent});
    return ok;
}

app::Outcome writeCommand(link::CComm& comm, const std::string& key, const std::string& text, bool asText) {
    app::Outcome out;
    const int result = asText ? comm.WriteText(text)
                              : comm.WriteBytes(reinterpret_cast<const std::uint8_t*>(text.data()), text.size());
    // The port object has shown its message for a write that failed.
    if (result == 0) return out.fail(0, key);
    out.written.emplace_back(key, std::string(app::withoutLineEnd(text)));
    return out.finish(0);
}

}  // namespace

app::Outcome sendFile(link::CComm& comm, const std::string& path, const app::Steps& steps) {
    app::Outcome out;
    TransferSource source;
    if (!source.open(path, true)) return out.fail(kMsgCantOpenFile, "file");
    bool ok = false;
    {
        UsbKeepOpen usb(comm);
        TransferTimeouts timeouts(comm);
        ok = sendBody(comm, source, kFileChunk, steps, out.written, "file");
    }
    // The port is not reopened after the transfer: reopening purges the device, and that would
    // throw away the end of the file still queued in the driver.
    if (!ok) return out.fail(kFileDownloadFailed, "file");
    return out.finish(kMsgDownloadCompleted);
}

app::Outcome storePcx(link::CComm& comm, const std::string& path, const std::string& name, const app::Steps& steps) {
    app::Outcome out;
    TransferSource source;
    if (!source.open(path, false)) return out.fail(kMsgCantOpenFile, "file");
    if (!IsUsableImageName(name)) return out.refuse(kMsgTypeImageName, {}, "name");
    bool ok = false;
    {
        UsbKeepOpen usb(comm);
        // The header announces exactly the bytes that follow, even when the path was edited
        // after the file was chosen; no recall follows a store that did not arrive whole.
        ok = comm.WriteText(PcxStoreHeader(source.bytes().size(), name)) != 0;
        if (ok) out.written.emplace_back("image", name);
        ok = ok && sendBody(comm, source, kPcxChunk, steps, out.written, "data") &&
             comm.WriteText(PcxRecallTrailer(name)) != 0;
    }
    if (!ok) return out.fail(kPcxDownloadFailed, "image");
    return out.finish(kMsgPcxCompleted);
}

app::Outcome deletePcx(link::CComm& comm, const std::string& name) {
    if (!IsUsableImageName(name)) return app::Outcome{}.refuse(kMsgTypeImageName, {}, "name");
    return writeCommand(comm, "delete", PcxDeleteCommand(name), true);
}

app::Outcome deleteAllPcx(link::CComm& comm) { return writeCommand(comm, "delete", kPcxDeleteAll, false); }

app::Outcome pcxInformation(link::CComm& comm) { return writeCommand(comm, "information", kPcxInformation, false); }

app::Outcome recallPcx(link::CComm& comm, const std::string& name, int x, int y) {
    if (!IsUsableImageName(name)) return app::Outcome{}.refuse(kMsgTypeImageName, {}, "name");
    return writeCommand(comm, "recall", PcxRecallCommand(x, y, name), true);
}

}  // namespace velmora::download
