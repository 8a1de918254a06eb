// What every tool action returns, so the window, the command line and profiles learn the same
// thing from it: each value read with whether its reply had the form the key takes (and the raw
// bytes that came), what was written, and how the action ended with the message the tool shows.
// An action reports its steps as it goes, so a dialog can show each state on the way (a field
// filled before the next query, a counter, a transfer's bar).
#pragma once

#include <cstddef>
#include <functional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "link/comm.h"

namespace velmora::app {

using KeyValues = std::vector<std::pair<std::string, std::string>>;

// One value an action read.
struct ReadValue {
    std::string key;      // "paper-width"
    std::string text;     // the value as it is printed; for a reply that is not valid, what the tool shows
    bool replied = false; // any byte came
    bool valid = false;   // the reply had the form the key's table gives
    std::string raw;      // the bytes that came, as received
    std::string why;      // when not valid: what was wrong ("not a number from 0 to 20")
};

enum class Status {
    Done,     // the action ran to its end and the printer's answers show it
    Refused,  // nothing was sent: a value the tool does not take
    Failed,   // a write failed, no reply came, or a reply was not valid
};

struct Result {
    Status status = Status::Done;
    int messageId = 0;    // the string-table message the tool shows for the result; 0: none
    std::string message;  // a message with no string-table entry (the framework's validation texts)
    std::string where;    // the key or step the result concerns
};

struct Outcome {
    std::vector<ReadValue> values;
    KeyValues written;  // what went to the printer, as key and value (bulk data: its size)
    Result result;

    bool done() const { return result.status == Status::Done; }
    const ReadValue* find(std::string_view key) const;
    // Every value read was valid.
    bool allValid() const;

    // Shorthands that end the action.
    Outcome& fail(int messageId, std::string where = {});
    Outcome& refuse(int messageId, std::string message = {}, std::string where = {});
    Outcome& finish(int messageId);
};

// A step of an action, as it happens.
struct Step {
    enum class Kind {
        ValueRead,  // `value` came (valid or not)
        Wrote,      // `written` went out
        Progress,   // `done` of `total` units
    };
    Kind kind = Kind::Progress;
    const ReadValue* value = nullptr;
    const std::pair<std::string, std::string>* written = nullptr;
    std::size_t done = 0;
    std::size_t total = 0;
};
using Steps = std::function<void(const Step&)>;

// The replies of one action, in order. Once a reply did not end as its form says (none came, or
// it stopped before its end), the rest of it may still be on the way, so no later reply of the
// action is taken as valid: it may be that query's late answer.
class ReplyOrder {
public:
    // `settled`: this reply ended as its form says.
    void take(ReadValue& value, bool settled);

private:
    bool unsettled_ = false;
};
inline constexpr const char* kMaybeLateReply =
    "it came after a query that got no complete reply, and may be that query's late answer";

// Of an action that read every key, the values of `keys` alone (all when empty), failing at the
// first of them that is not valid.
Outcome selectValues(Outcome all, const std::vector<std::string>& keys);

// Reads a reply that may come in more than one piece: reads until `complete` holds for what came,
// `limit` bytes came, or a read returns nothing. Bytes after a NUL are not part of the reply.
std::string readReply(link::CComm& comm, std::size_t limit,
                      const std::function<bool(std::string_view bytes)>& complete);

// Whether every byte is printable text (no control bytes; bytes of 0x80 and above are text in
// the code page).
bool printable(std::string_view bytes);
// Text ended by its line end: the body before a final run of CR and LF, which must be there.
bool endsWithLine(std::string_view bytes);
std::string_view withoutLineEnd(std::string_view bytes);
// Bytes as "41 42 0D": how a reply that is not a value is shown.
std::string hexBytes(std::string_view bytes);
// A whole number with an optional sign and nothing else; nothing outside the int range.
bool parseWhole(std::string_view text, int& out);

}  // namespace velmora::app
