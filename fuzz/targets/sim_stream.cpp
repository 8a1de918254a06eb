// The simulator's whole byte-stream input: the stream is fed to sim::Parser in chunks whose sizes
// come from the input, and then again in one piece to a second printer. Where the stream is cut
// must not matter: both printers end with the same replies, commands and settings.
#include <string>

#include "fuzzcheck.h"
#include "fuzztargets.h"
#include "sim/parser.h"
#include "sim/printer.h"

namespace velmora::fuzz {

int fuzzOneSimStream(const std::uint8_t* data, std::size_t size) {
    InputReader in(data, size);
    // The first byte sets the reply faults and the status bytes the printers report.
    const std::uint8_t options = in.frontByte();
    sim::Faults faults;
    faults.silent = options & 1;
    faults.shortReplies = options & 2;

    // Two printers kept for the life of the process and set back to power-on for each input: a
    // new printer allocates its megabyte of journal, which would cost more than the parsing.
    static sim::Printer chunked;
    static sim::Printer whole;
    for (sim::Printer* printer : {&chunked, &whole}) {
        printer->setZii(sim::ZiiState{});
        printer->journal().clear();
        printer->setFaults(faults);
        printer->setStatusBytes(options & 0xF0, static_cast<std::uint8_t>(options << 4));
    }

    // Chunk sizes are taken from the back of the input; what is left in front is the stream.
    sim::Parser parser(chunked);
    std::string stream;
    std::string replies;
    while (!in.empty()) {
        const std::uint8_t sizeByte = in.backByte();
        // 255 feeds the rest at once; otherwise 1 to 255 bytes.
        const std::string_view chunk = in.front(sizeByte == 255 ? in.left() : sizeByte + 1u);
        stream += chunk;
        parser.feed(chunk);
        const std::string reply = parser.takeReplies();
        fuzzCheck(!faults.silent || reply.empty(), "a silent printer answered");
        replies += reply;
    }

    sim::Parser oneGo(whole);
    oneGo.feed(stream);
    fuzzCheck(oneGo.takeReplies() == replies, "replies depend on where the stream was cut");
    fuzzCheck(whole.zii() == chunked.zii(), "settings depend on where the stream was cut");
    fuzzCheck(whole.journal().commands() == chunked.journal().commands(),
              "commands depend on where the stream was cut");
    fuzzCheck(whole.journal().totalBytes() == stream.size(), "the journal lost bytes");
    return 0;
}

}  // namespace velmora::fuzz
