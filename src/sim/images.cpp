// The image store and the "IS", "ID", "II" and "IR" commands.
#include "sim/images.h"

#include <algorithm>
#include <charconv>
#include <memory>

#include "sim/native.h"
#include "sim/parser.h"

namespace velmora::sim {

namespace {
// An image arrives in pieces of at most this size, so a large one is never held twice.
constexpr std::size_t kPiece = 1u << 20;

std::optional<long long> wholeNumber(std::string_view text) {
    long long value = 0;
    const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (ec != std::errc() || end != text.data() + text.size() || text.empty()) return std::nullopt;
    return value;
}

// The name between the apostrophes that end a command, or nothing.
std::optional<std::string> quotedName(std::string_view text) {
    if (text.size() < 2 || text.front() != '\'' || text.back() != '\'') return std::nullopt;
    const std::string_view name = text.substr(1, text.size() - 2);
    if (name.empty() || name.find('\'') != std::string_view::npos) return std::nullopt;
    return std::string(name);
}

struct Receiving {
    std::string name;
    std::uint64_t left = 0;
    bool keep = true;
    std::string bytes;
};

void receivePiece(Parser& parser, const std::shared_ptr<Receiving>& image) {
    const auto piece = static_cast<std::size_t>(std::min<std::uint64_t>(image->left, kPiece));
    parser.expectRaw(piece, [image](Parser& p, std::string_view bytes) {
        if (image->keep) image->bytes.append(bytes);
        image->left -= bytes.size();
        if (image->left > 0) {
            receivePiece(p, image);
            return;
        }
        const std::string header = "IS'" + image->name + "'";
        if (!image->keep) {
            p.printer().editLabels([&](LabelBook& book) { book.addError(header, "image too large to store"); });
        } else if (!p.printer().images().store(image->name, std::move(image->bytes))) {
            p.printer().editLabels([&](LabelBook& book) { book.addError(header, "image store full"); });
        }
    });
}

void runStore(Parser& parser, std::string_view command) {
    const auto header = parseStoreHeader(command);
    if (!header) {
        parser.printer().editLabels([&](LabelBook& book) { book.addError(command, "malformed image header"); });
        return;
    }
    auto image = std::make_shared<Receiving>();
    image->name = header->name;
    image->left = header->size;
    image->keep = header->size <= ImageStore::kMaxImageBytes;
    if (image->keep) image->bytes.reserve(static_cast<std::size_t>(header->size));
    if (header->size == 0) {
        parser.printer().images().store(image->name, {});
        return;
    }
    receivePiece(parser, image);
}

void runDelete(Parser& parser, std::string_view line) {
    const std::string_view rest = line.substr(2);
    if (rest == "*") {
        parser.printer().images().clear();
        return;
    }
    const auto name = quotedName(rest);
    if (!name || !parser.printer().images().remove(*name)) {
        parser.printer().editLabels([&](LabelBook& book) { book.addError(line, "no such image"); });
    }
}

void runInformation(Parser& parser, std::string_view) {
    const auto images = parser.printer().images().list();
    parser.printer().editLabels([&](LabelBook& book) {
        int y = 10;
        book.addField(TextField{.x = 10, .y = y, .data = "IMAGES " + std::to_string(images.size())});
        for (const auto& [name, size] : images) {
            y += 30;
            book.addField(TextField{.x = 10, .y = y, .data = name + " " + std::to_string(size)});
        }
    });
    parser.printer().printLabel(1, 1);
}

void runRecall(Parser& parser, std::string_view line) {
    // IR<x>,<y>,'<name>'
    const std::string_view rest = line.substr(2);
    const auto comma1 = rest.find(',');
    const auto comma2 = comma1 == std::string_view::npos ? comma1 : rest.find(',', comma1 + 1);
    std::optional<long long> x, y;
    std::optional<std::string> name;
    if (comma2 != std::string_view::npos) {
        x = wholeNumber(rest.substr(0, comma1));
        y = wholeNumber(rest.substr(comma1 + 1, comma2 - comma1 - 1));
        name = quotedName(rest.substr(comma2 + 1));
    }
    if (!x || !y || !name) {
        parser.printer().editLabels([&](LabelBook& book) { book.addError(line, "malformed image recall"); });
        return;
    }
    const auto image = parser.printer().images().image(*name);
    parser.printer().editLabels([&](LabelBook& book) {
        if (!image) {
            book.addError(line, "no such image");
            return;
        }
        book.addField(ImageField{static_cast<int>(*x), static_cast<int>(*y), *name, image->size()});
    });
}
}  // namespace

bool ImageStore::store(const std::string& name, std::string bytes) {
    Sink sink;
    {
        std::lock_guard lock(mutex_);
        const auto old = images_.find(name);
        const std::size_t freed = old == images_.end() ? 0 : old->second.size();
        if (bytes.size() > kMaxImageBytes || totalBytes_ - freed + bytes.size() > kMaxTotalBytes ||
            (old == images_.end() && images_.size() >= kMaxImages)) {
            return false;
        }
        totalBytes_ = totalBytes_ - freed + bytes.size();
        images_[name] = std::move(bytes);
        sink = sink_;
    }
    if (sink) {
        const auto stored = image(name);
        if (stored) sink(name, *stored);
    }
    return true;
}

bool ImageStore::remove(const std::string& name) {
    std::lock_guard lock(mutex_);
    const auto it = images_.find(name);
    if (it == images_.end()) return false;
    totalBytes_ -= it->second.size();
    images_.erase(it);
    return true;
}

void ImageStore::clear() {
    std::lock_guard lock(mutex_);
    images_.clear();
    totalBytes_ = 0;
}

std::optional<std::string> ImageStore::image(const std::string& name) const {
    std::lock_guard lock(mutex_);
    const auto it = images_.find(name);
    if (it == images_.end()) return std::nullopt;
    return it->second;
}

std::vector<std::pair<std::string, std::size_t>> ImageStore::list() const {
    std::lock_guard lock(mutex_);
    std::vector<std::pair<std::string, std::size_t>> out;
    for (const auto& [name, bytes] : images_) out.emplace_back(name, bytes.size());
    return out;
}

void ImageStore::setSink(Sink sink) {
    std::lock_guard lock(mutex_);
    sink_ = std::move(sink);
}

std::optional<StoreHeader> parseStoreHeader(std::string_view command) {
    if (!command.starts_with("IS")) return std::nullopt;
    const std::string_view rest = command.substr(2);
    const auto comma = rest.find(',');
    if (comma == std::string_view::npos) return std::nullopt;
    const auto size = wholeNumber(rest.substr(0, comma));
    const auto name = quotedName(rest.substr(comma + 1));
    if (!size || *size < 0 || !name) return std::nullopt;
    return StoreHeader{static_cast<std::uint64_t>(*size), *name};
}

void addImageCommands(CommandSet& commands) {
    commands.onQuoted("IS", runStore);
    commands.onLine("ID", runDelete);
    commands.onLine("II", runInformation);
    commands.onLine("IR", runRecall);
}

std::string imageFileName(const std::string& name) {
    std::string file = name;
    for (char& c : file) {
        if (c == '/' || c == '\0') c = '_';
    }
    if (file.empty() || file[0] == '.') file.insert(file.begin(), '_');
    return file;
}

}  // namespace velmora::sim
