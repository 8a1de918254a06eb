// The label-picture module velmora-cli loads for "preview": label text through an in-process
// simulated printer to one PNG per label.
#include "cli/previewmodule.h"
#include "preview/labelpng.h"
#include "preview/labeltext.h"

extern "C" __attribute__((visibility("default"))) void velmoraRenderPngs(const std::string& text,
                                                                         velmora::cli::PreviewLanguage language,
                                                                         velmora::cli::PngLabels& out) {
    using velmora::cli::PreviewLanguage;
    namespace preview = velmora::preview;
    preview::ensureGuiApplication();
    const preview::Language lang = language == PreviewLanguage::Native ? preview::Language::Native
                                   : language == PreviewLanguage::Zii  ? preview::Language::Zii
                                                                       : preview::Language::Auto;
    const preview::LabelPictures pictures = preview::renderText(text, lang);
    for (const preview::RenderedLabel& label : pictures.labels)
        out.labels.push_back({preview::pngBytes(label.image), label.image.width(), label.image.height(), label.notDrawn});
    out.notShown = pictures.notShown;
}
