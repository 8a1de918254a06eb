// The transfers and the image commands.
#include "download/transferops.h"

#include "app/sent.h"
#include "download/transfer.h"
#include "resources/messages.h"

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
    const std::size_t size = source.size();
    const std::string head = source.head(app::kSentHeadBytes);
    std::size_t sent = 0;
    auto progress = [&](std::size_t done) {
        sent = done;
        if (steps) steps({app::Step::Kind::Progress, nullptr, nullptr, done, size});
    };
    progress(0);
    const bool ok = SendInChunks(comm, source, comm.traits().writesInChunks ? chunk : 0, progress);
    // The rest after the last whole chunk has gone too: the progress ends at every byte.
    if (ok && sent < size) progress(size);
    app::noteSent(written, key, ok ? size : sent, head);
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
    if (!source.open(path, true)) return out.fail(msg::kCantOpenFile, "file");
    bool ok = false;
    {
        UsbKeepOpen usb(comm);
        TransferTimeouts timeouts(comm);
        ok = sendBody(comm, source, kFileChunk, steps, out.written, "file");
    }
    // The port is not reopened after the transfer: reopening purges the device, and that would
    // throw away the end of the file still queued in the driver.
    if (!ok) return out.fail(source.changed() ? msg::kFileChanged : msg::kFileDownloadFailed, "file");
    return out.finish(msg::kDownloadCompleted);
}

app::Outcome storePcx(link::CComm& comm, const std::string& path, const std::string& name, const app::Steps& steps) {
    app::Outcome out;
    TransferSource source;
    if (!source.open(path, false)) return out.fail(msg::kCantOpenFile, "file");
    if (!IsUsableImageName(name)) return out.refuse(msg::kTypeImageName, {}, "name");
    bool ok = false;
    {
        UsbKeepOpen usb(comm);
        // The header announces exactly the bytes that follow, even when the path was edited
        // after the file was chosen; no recall follows a store that did not arrive whole.
        ok = comm.WriteText(PcxStoreHeader(source.size(), name)) != 0;
        if (ok) out.written.emplace_back("image", name);
        ok = ok && sendBody(comm, source, kPcxChunk, steps, out.written, "data") &&
             comm.WriteText(PcxRecallTrailer(name)) != 0;
    }
    if (!ok) return out.fail(source.changed() ? msg::kFileChanged : msg::kPcxDownloadFailed, "image");
    return out.finish(msg::kPcxCompleted);
}

std::string pcxImageProblem(std::string_view head, std::uint64_t fileSize) {
    constexpr std::size_t kHeaderBytes = 128;
    if (fileSize <= kHeaderBytes || head.size() < kHeaderBytes || static_cast<unsigned char>(head[0]) != 0x0A)
        return "not a PCX image";
    const auto byte = [&](std::size_t at) { return static_cast<unsigned char>(head[at]); };
    const auto u16 = [&](std::size_t at) { return byte(at) | (byte(at + 1) << 8); };
    const int width = u16(8) - u16(4) + 1;
    const int height = u16(10) - u16(6) + 1;
    const int bits = byte(3);
    if (byte(2) != 1 || byte(65) != 1 || (bits != 1 && bits != 8))
        return "a PCX image of " + std::to_string(byte(65)) + " planes of " + std::to_string(bits) +
               " bits; the printer takes one run-length encoded plane of 1 or 8 bits";
    if (width <= 0 || height <= 0 || width > kMaxPcxDots || height > kMaxPcxDots)
        return "a PCX image of " + std::to_string(width) + " x " + std::to_string(height) + " dots";
    if (u16(66) * 8 / bits < width) return "a PCX image whose scan lines are shorter than its width";
    if (fileSize > kMaxPcxBytes)
        return "a PCX image of " + std::to_string(fileSize) + " bytes, more than the printer keeps for one (" +
               std::to_string(kMaxPcxBytes) + ")";
    return {};
}

app::Outcome deletePcx(link::CComm& comm, const std::string& name) {
    if (!IsUsableImageName(name)) return app::Outcome{}.refuse(msg::kTypeImageName, {}, "name");
    return writeCommand(comm, "delete", PcxDeleteCommand(name), true);
}

app::Outcome deleteAllPcx(link::CComm& comm) { return writeCommand(comm, "delete", kPcxDeleteAll, false); }

app::Outcome pcxInformation(link::CComm& comm) { return writeCommand(comm, "information", kPcxInformation, false); }

app::Outcome recallPcx(link::CComm& comm, const std::string& name, int x, int y) {
    if (!IsUsableImageName(name)) return app::Outcome{}.refuse(msg::kTypeImageName, {}, "name");
    return writeCommand(comm, "recall", PcxRecallCommand(x, y, name), true);
}

}  // namespace velmora::download
