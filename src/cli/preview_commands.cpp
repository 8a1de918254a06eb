// velmora-cli "preview": label text to PNG pictures, offline. The text goes through an in-process
// simulated printer (no printer, no simulator program), and each label it prints becomes one
// picture at the printer's 8 dots per millimetre. The pictures come from a module loaded here
// only (cli/previewmodule.h).
#include <ostream>

#include "cli/commands.h"
#include "cli/previewmodule.h"
#include "platform/files.h"
#include "platform/module.h"

namespace velmora::cli {

namespace {

// Label files with their stored images stay well within this.
constexpr std::size_t kMaxInputBytes = 64u << 20;

struct PreviewArgs {
    std::string file;
    std::string out;
    PreviewLanguage language = PreviewLanguage::Auto;
};

std::optional<PreviewArgs> parsePreview(const Args& args) {
    PreviewArgs p;
    for (std::size_t i = 0; i < args.size(); ++i) {
        if ((args[i] == "-o" || args[i] == "--lang") && i + 1 >= args.size()) return std::nullopt;
        if (args[i] == "-o") {
            p.out = args[++i];
        } else if (args[i] == "--lang") {
            const std::string& l = args[++i];
            if (l == "tavl") {
                p.language = PreviewLanguage::Native;
            } else if (l == "zii") {
                p.language = PreviewLanguage::Zii;
            } else {
                return std::nullopt;
            }
        } else if (p.file.empty() && !args[i].empty() && args[i][0] != '-') {
            p.file = args[i];
        } else {
            return std::nullopt;
        }
    }
    if (p.file.empty()) return std::nullopt;
    return p;
}

// "out.png" for one label; "out-1.png", "out-2.png", ... for several.
std::string pictureName(const std::string& out, std::size_t index, std::size_t count) {
    if (count == 1) return out;
    const std::string stem = out.size() > 4 && out.compare(out.size() - 4, 4, ".png") == 0 ? out.substr(0, out.size() - 4) : out;
    return stem + "-" + std::to_string(index + 1) + ".png";
}

std::string defaultOut(const std::string& file) {
    const std::size_t slash = file.find_last_of('/');
    const std::size_t dot = file.find_last_of('.');
    const std::string stem = dot != std::string::npos && (slash == std::string::npos || dot > slash) ? file.substr(0, dot) : file;
    return stem + ".png";
}

int runPreview(Session& s, const Args& args) {
    const PreviewArgs p = *parsePreview(args);
    const platform::TextFileRead read = platform::readTextFile(p.file, kMaxInputBytes);
    if (!read.hasText()) {
        s.err << "velmora-cli: cannot read " << p.file
              << (read.outcome == platform::TextFileRead::Outcome::Missing ? ": no such file" : ": " + read.reason) << '\n';
        return 1;
    }
    if (read.outcome == platform::TextFileRead::Outcome::Cut)
        s.err << "velmora-cli: " << platform::ignoredNote(read, p.file, kMaxInputBytes) << '\n';

    std::string error;
    const auto render = reinterpret_cast<RenderPngs>(platform::programModuleSymbol(kPreviewModule, kPreviewEntry, error));
    if (!render) {
        s.err << "velmora-cli: the label pictures cannot be loaded: " << error << '\n';
        return 1;
    }
    PngLabels pictures;
    render(read.text, p.language, pictures);
    if (pictures.labels.empty()) {
        s.err << "velmora-cli: " << p.file << " prints no label\n";
        return 1;
    }
    const std::string out = p.out.empty() ? defaultOut(p.file) : p.out;
    int status = 0;
    for (std::size_t i = 0; i < pictures.labels.size(); ++i) {
        const PngLabel& label = pictures.labels[i];
        const std::string path = pictureName(out, i, pictures.labels.size());
        if (!platform::writeOutputFile(path, label.png, error)) {
            s.err << "velmora-cli: " << path << ": " << error << '\n';
            status = 1;
            continue;
        }
        s.out << path << ": " << label.width << " x " << label.height << " dots\n";
        for (const std::string& line : label.notDrawn) s.out << "  not drawn: " << line << '\n';
    }
    if (pictures.notShown > 0) s.out << pictures.notShown << " earlier labels are not shown\n";
    return status;
}

const bool registered = [] {
    registerCommand({"preview",
                     "preview FILE [-o OUT.png] [--lang tavl|zii]\n"
                     "                         the labels FILE prints as PNG pictures, one per label (no printer needed)",
                     [](const Args& a) { return parsePreview(a).has_value(); }, runPreview,
                     [](const Args&) { return true; },
                     [](const Args& a) {
                         const PreviewArgs p = *parsePreview(a);
                         return std::vector<std::string>{p.out.empty() ? defaultOut(p.file) : p.out};
                     }});
    return true;
}();

}  // namespace

}  // namespace velmora::cli
