// The byte streams the simulator benchmark sends: shipping labels in ZII as label software and
// carriers' systems write them, native labels as the command tester's builders compose them, and
// random bytes. Each is a pool of distinct labels (or bytes) the benchmark sends over and over;
// every pool ends where a line ends, so the status query sent after it is answered.
#pragma once

#include <cstddef>
#include <string>

namespace velmora::bench {

// Shipping labels of about 3 to 6 KB, at least `bytes` of them: text, boxes and lines, Code 128,
// QR and MaxiCode, text blocks, hexadecimal escapes, logos as compressed hexadecimal and as
// zlib in base 64, now and then a whole-label raster, stored graphics and formats, and in some
// labels the decimal positions design programs write.
std::string ziiShippingLabels(std::size_t bytes);

// Native labels of the tester's builders (label and printing settings, bitmap and vector text,
// linear and two-dimensional barcodes, boxes, copies), lines ended by CR LF.
std::string nativeLabels(std::size_t bytes);

// `bytes` random bytes from a fixed seed, then CR LF.
std::string randomBytes(std::size_t bytes);

}  // namespace velmora::bench
