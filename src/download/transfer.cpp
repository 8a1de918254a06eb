// The shared transfer pieces: byte-order marks, UTF-16 text, chunked writes, USB keep-open.
#include "download/transfer.h"

#include <algorithm>
#include <climits>

#include "app/toolcontext.h"
#include "download/transferops.h"
#include "platform/codepage.h"
#include "resources/messages.h"

namespace velmora::download {

namespace {
// The file's pages already sent are handed back in steps of this many bytes.
constexpr std::size_t kReleaseStep = 4u << 20;

void appendUtf8(std::string& out, std::uint32_t cp) {
    if (cp < 0x80) {
        out.push_back(static_cast<char>(cp));
    } else if (cp < 0x800) {
        out.push_back(static_cast<char>(0xC0 | (cp >> 6)));
        out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
    } else if (cp < 0x10000) {
        out.push_back(static_cast<char>(0xE0 | (cp >> 12)));
        out.push_back(static_cast<char>(0x80 | ((cp >> 6) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
    } else {
        out.push_back(static_cast<char>(0xF0 | (cp >> 18)));
        out.push_back(static_cast<char>(0x80 | ((cp >> 12) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | ((cp >> 6) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
    }
}
}  // namespace

std::size_t ByteOrderMarkLength(std::span<const std::uint8_t> head) {
    if (head.size() >= 3 && head[0] == 0xEF && head[1] == 0xBB && head[2] == 0xBF) return 3;
    if (head.size() >= 2 && ((head[0] == 0xFF && head[1] == 0xFE) || (head[0] == 0xFE && head[1] == 0xFF))) {
        return 2;
    }
    return 0;
}

std::string Utf16ToCodePage(std::span<const std::uint8_t> units, bool bigEndian) {
    std::string utf8;
    const std::size_t count = units.size() / 2;
    auto unit = [&](std::size_t i) -> std::uint32_t {
        const std::uint32_t a = units[2 * i], b = units[2 * i + 1];
        return bigEndian ? (a << 8 | b) : (b << 8 | a);
    };
    for (std::size_t i = 0; i < count; ++i) {
        std::uint32_t cp = unit(i);
        if (cp == 0) break;
        if (cp >= 0xD800 && cp < 0xDC00 && i + 1 < count) {
            const std::uint32_t low = unit(i + 1);
            if (low >= 0xDC00 && low < 0xE000) {
                cp = 0x10000 + ((cp - 0xD800) << 10) + (low - 0xDC00);
                ++i;
            }
        }
        if (cp >= 0xD800 && cp < 0xE000) cp = 0xFFFD;  // a lone surrogate
        appendUtf8(utf8, cp);
    }
    return platform::toCodePage(utf8);
}

int ProgressRange(std::uint64_t n) {
    return static_cast<int>(std::min<std::uint64_t>(n / kProgressUnit, INT_MAX));
}

bool TransferSource::open(const std::string& path, bool removeMark) {
    converted_.clear();
    useConverted_ = false;
    skip_ = 0;
    released_ = 0;
    if (!file_.open(path)) return false;
    if (!removeMark) return true;
    std::uint8_t mark[3] = {};
    const std::size_t markBytes = std::min<std::uint64_t>(file_.size(), sizeof mark);
    if (!file_.read(0, mark, markBytes)) return false;
    skip_ = ByteOrderMarkLength({mark, markBytes});
    if (skip_ == 2) {
        // UTF-16 text: the printer gets it in the code page, as a text file would be sent. Text
        // is read whole to be converted; a file changed meanwhile is as if it could not be read.
        std::vector<std::uint8_t> units(file_.size() - 2);
        if (!file_.read(2, units.data(), units.size())) return false;
        converted_ = Utf16ToCodePage(units, mark[0] == 0xFE);
        useConverted_ = true;
    }
    return true;
}

std::size_t TransferSource::size() const {
    if (useConverted_) return converted_.size();
    return static_cast<std::size_t>(file_.size() - std::min<std::uint64_t>(skip_, file_.size()));
}

std::span<const std::uint8_t> TransferSource::piece(std::size_t offset, std::size_t n) {
    if (useConverted_) {
        if (offset > converted_.size() || n > converted_.size() - offset) return {};
        return {reinterpret_cast<const std::uint8_t*>(converted_.data()) + offset, n};
    }
    buffer_.resize(n);
    if (!file_.read(skip_ + offset, buffer_.data(), n)) return {};
    releaseSent(offset);
    return {buffer_.data(), n};
}

void TransferSource::releaseSent(std::size_t sent) {
    // A 2 GiB firmware image is read once.
    if (!useConverted_ && skip_ + sent >= released_ + kReleaseStep) {
        file_.release(skip_ + sent);
        released_ = skip_ + sent;
    }
}

std::string TransferSource::head(std::size_t n) {
    const std::size_t k = std::min(n, size());
    const auto bytes = piece(0, k);
    return {reinterpret_cast<const char*>(bytes.data()), bytes.size()};
}

bool SendInChunks(link::CComm& comm, TransferSource& source, std::size_t chunk,
                  const std::function<void(std::size_t sent)>& afterChunk) {
    const std::size_t size = source.size();
    if (chunk == 0) {
        // The port object answers a write of no bytes with 0 on Ethernet: nothing failed.
        if (platform::FileReader* file = source.plainFile()) {
            const auto afterPiece = [&](std::size_t sent) {
                source.releaseSent(sent);
                if (afterChunk) afterChunk(sent);
            };
            return comm.WriteFromFile(*file, source.skip(), size, kOneWritePiece, afterPiece) != 0 || size == 0;
        }
        return comm.WriteFromSource(size, kOneWritePiece,
                                    [&source](std::size_t offset, std::size_t n) { return source.piece(offset, n); },
                                    afterChunk) != 0 ||
               size == 0;
    }
    auto write = [&](std::size_t offset, std::size_t n) {
        if (n == 0) {
            comm.WriteBytes(nullptr, 0);  // the printer has always been sent the rest, even none
            return true;
        }
        const auto bytes = source.piece(offset, n);
        return bytes.size() == n && comm.WriteBytes(bytes.data(), n) != 0;
    };
    std::size_t offset = 0;
    while (size - offset >= chunk) {
        if (!write(offset, chunk)) return false;
        offset += chunk;
        if (afterChunk) afterChunk(offset);
    }
    return write(offset, size - offset);
}

UsbKeepOpen::UsbKeepOpen(link::CComm& comm) : comm_(comm), active_(comm.traits().reopensPerTransfer) {
    if (!active_) return;
    comm_.keepOpen = true;
    comm_.Open();
}

UsbKeepOpen::~UsbKeepOpen() {
    if (!active_) return;
    comm_.keepOpen = false;
    comm_.Close();
}

TransferTimeouts::TransferTimeouts(link::CComm& comm) : comm_(comm) { comm_.SetTimeouts(kDuring); }

TransferTimeouts::~TransferTimeouts() {
    comm_.SetTimeouts(kAfter);
    comm_.DrainOutput();
    comm_.RestoreTimeouts();
}

void RepaintPacer::tick() {
    const std::uint64_t now = clock_.nowMs();
    if (painted_ && now - last_ < kIntervalMs) return;
    painted_ = true;
    last_ = now;
    platform::runWaitHook();
}

app::Steps progressBarSteps(ui::Control& bar, RepaintPacer& repaint) {
    return [&bar, &repaint](const app::Step& step) {
        if (step.kind != app::Step::Kind::Progress) return;
        const int range = std::max(1, ProgressRange(step.total));
        if (step.done == 0) {
            bar.setRange(0, range);
            bar.setPos(0);
            platform::runWaitHook();
            return;
        }
        const double share = step.total ? static_cast<double>(step.done) / static_cast<double>(step.total) : 1.0;
        bar.setPos(step.done >= step.total ? range : std::min(range, static_cast<int>(share * range)));
        repaint.tick();  // the window repaints the bar between chunks
    };
}

std::string BaseName(const std::string& path) {
    const auto slash = path.find_last_of('/');
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

FileChoice ChooseFileToSend(ui::Host& host, const ui::FileDialogRequest& request) {
    FileChoice choice;
    const auto chosen = host.fileDialog(request);
    if (!chosen) return choice;
    const long long length = platform::regularFileSize(*chosen);
    if (length < 0) {
        app::ShowMessage(host, msg::kCantOpenFile);
        choice.outcome = FileChoice::Outcome::Refused;
        return choice;
    }
    choice.outcome = FileChoice::Outcome::Chosen;
    choice.path = *chosen;
    choice.name = BaseName(*chosen);
    choice.sizeText = std::to_string(length) + " Bytes";
    return choice;
}

}  // namespace velmora::download
