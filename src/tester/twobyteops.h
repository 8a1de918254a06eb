// The two-byte code page prints as one operation: the command tester's native chart and the
// communication window's ZII one take the same request, the same refusals and the same series.
#pragma once

#include <string>

#include "app/operation.h"

namespace velmora::tester {

struct TwoBytePrintRequest {
    int table = 0;             // position in twoByteTables()
    bool all = false;          // the table's whole lead-byte range
    std::string start, end;    // block texts as typed (without "all")
    bool zii = false;          // ZII formats with escapes; else native text commands
    bool vector = false;       // native: the vector font (it takes the sizes)
    int bitmapFont = -1;       // native bitmap font: position in the table's letters; -1 the table's own
    std::string width = "35", height = "35";  // as typed; the ZII print always takes them
};

// Checks the request (block values, native lead bytes that would end the quoted text, sizes of
// 1 to 32 digits) and writes one label per lead byte, stopping at the first failed write. A
// refusal names what it refused in `where` ("start", "end", "width", "height"); a start above
// the end prints nothing and is no failure. Steps: Progress with the labels written of all.
app::Outcome printTwoByteChart(link::CComm& comm, const TwoBytePrintRequest& request, const app::Steps& steps = {});

// The labels a done print wrote.
int labelsPrinted(const app::Outcome& outcome);

}  // namespace velmora::tester
