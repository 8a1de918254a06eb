// The simulator's image store: a header and its raw bytes in any chunks, delete, list and recall.
#include <gtest/gtest.h>

#include <string>

#include "sim/images.h"
#include "sim/parser.h"
#include "sim/printer.h"

namespace velmora::sim {
namespace {

// Every byte value, with the line ends, apostrophes and command letters that must not act.
std::string binaryImage(std::size_t size) {
    std::string bytes(size, '\0');
    for (std::size_t i = 0; i < size; ++i) bytes[i] = static_cast<char>((i * 131 + i / 256) & 0xFF);
    return bytes + "\rP1\r'IS1,'X'\r\n";
}

TEST(Images, StoreTakesExactlyTheAnnouncedBytesInAnyChunks) {
    const std::string image = binaryImage(600);
    const std::string stream = "IS" + std::to_string(image.size()) + ",'LOGO'" + image + "\r\rIR100,100,'LOGO'\rP1\r";
    for (std::size_t chunk : {std::size_t{1}, std::size_t{2}, std::size_t{5}, std::size_t{64}, stream.size()}) {
        SCOPED_TRACE(chunk);
        Printer printer;
        Parser parser(printer);
        for (std::size_t at = 0; at < stream.size(); at += chunk) parser.feed(stream.substr(at, chunk));
        const auto stored = printer.images().image("LOGO");
        ASSERT_TRUE(stored);
        EXPECT_TRUE(*stored == image);
        EXPECT_EQ(printer.images().list().size(), 1u);  // the bytes held no second store
        // The image's own "P1" printed nothing; the trailer's recall printed one label with it.
        const auto labels = printer.printedLabels();
        ASSERT_EQ(labels.size(), 1u);
        ASSERT_EQ(labels[0].fields.size(), 1u);
        EXPECT_EQ(std::get<ImageField>(labels[0].fields[0]), (ImageField{100, 100, "LOGO", image.size()}));
        EXPECT_TRUE(labels[0].errors.empty());
    }
}

TEST(Images, DeleteListAndRecall) {
    Printer printer;
    Parser parser(printer);
    parser.feed("IS3,'A'abcIS2,'B'xyII\r\n");
    auto labels = printer.printedLabels();
    ASSERT_EQ(labels.size(), 1u);
    std::vector<std::string> lines;
    for (const auto& f : labels.back().fields) lines.push_back(std::get<TextField>(f).data);
    EXPECT_EQ(lines, (std::vector<std::string>{"IMAGES 2", "A 3", "B 2"}));

    parser.feed("ID'A'\r\nII\r\n");
    EXPECT_EQ(printer.images().list(), (std::vector<std::pair<std::string, std::size_t>>{{"B", 2}}));
    parser.feed("IR30,40,'A'\rIR1,2,'B'\rIRx,2,'B'\rP1\r");
    labels = printer.printedLabels();
    const auto& recalled = labels.back();
    ASSERT_EQ(recalled.fields.size(), 1u);
    EXPECT_EQ(std::get<ImageField>(recalled.fields[0]), (ImageField{1, 2, "B", 2}));
    EXPECT_EQ(recalled.errors.size(), 2u);  // no image A; a position that is no number

    parser.feed("ID*\r\n");
    EXPECT_TRUE(printer.images().list().empty());
}

TEST(Images, AnImageTooLargeIsReceivedAndDroppedNotParsed) {
    Printer printer;
    Parser parser(printer);
    const std::size_t size = ImageStore::kMaxImageBytes + 1;
    // Bytes that would place a text field if they were parsed.
    const std::string field = "\rT1,1,0,1,1,0,0,N,N,'A'\r";
    std::string body = field + std::string(size - field.size(), 'x');
    parser.feed("IS" + std::to_string(size) + ",'BIG'");
    for (std::size_t at = 0; at < size; at += 1 << 20) parser.feed(body.substr(at, 1 << 20));
    parser.feed("P1\r");
    EXPECT_TRUE(printer.images().list().empty());
    const auto labels = printer.printedLabels();
    ASSERT_EQ(labels.size(), 1u);
    EXPECT_TRUE(labels[0].fields.empty());
    ASSERT_EQ(labels[0].errors.size(), 1u);
    EXPECT_NE(labels[0].errors[0].find("too large"), std::string::npos);
}

TEST(Images, MalformedHeadersAndFileNames) {
    EXPECT_FALSE(parseStoreHeader("IS-1,'A'"));
    EXPECT_FALSE(parseStoreHeader("ISx,'A'"));
    EXPECT_FALSE(parseStoreHeader("IS1,''"));
    ASSERT_TRUE(parseStoreHeader("IS12,'A B'"));
    EXPECT_EQ(parseStoreHeader("IS12,'A B'")->size, 12u);
    EXPECT_EQ(imageFileName("../x/y"), "_.._x_y");
    EXPECT_EQ(imageFileName("LOGO"), "LOGO");
}

}  // namespace
}  // namespace velmora::sim
