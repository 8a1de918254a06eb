// PNG encoding and files of label pictures.
#include "preview/labelpng.h"

#include <QBuffer>
#include <QGuiApplication>

#include "platform/files.h"

namespace velmora::preview {

std::string pngBytes(const QImage& image) {
    QByteArray png;
    QBuffer buffer(&png);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "PNG");
    return png.toStdString();
}

bool writeLabelPng(const sim::LabelRecord& record, const ImageLookup& images, const std::string& path,
                   std::string& error) {
    return platform::writeOutputFile(path, pngBytes(renderLabel(record, images).image), error);
}

void ensureGuiApplication() {
    if (QGuiApplication::instance()) return;
    static int argc = 3;
    static char arg0[] = "velmora", arg1[] = "-platform", arg2[] = "offscreen";
    static char* argv[] = {arg0, arg1, arg2, nullptr};
    static QGuiApplication app(argc, argv);
}

}  // namespace velmora::preview
