// The builders' fields as the command line names them, worked without a dialog: each key sets
// what its control would (an edit typed into, a list item, a radio word, a tick), with the
// builder's rules when a choice resets others (a symbology, a type, a unit), and the values are
// then taken with the builder's checks and composed as "Insert to label" or "Test Print" does.
#pragma once

#include <string>
#include <utility>
#include <vector>

namespace velmora::tester {

struct BuilderForm {
    const char* name;               // "text"
    bool testPrint;                 // the builder has "Test Print"
    std::vector<std::string> keys;  // in the order they are applied
};
const std::vector<BuilderForm>& builderForms();
const BuilderForm* findBuilderForm(const std::string& name);

struct Build {
    enum class Status {
        Ok,        // `text` holds the lines (each ended by CR LF) or the test label (UTF-8)
        BadValue,  // a value the builder does not offer: `message` says which
        Refused,   // the builder's own message for the values: `message`
    };
    Status status = Status::Ok;
    std::string text;
    std::string message;
};

// `keys` in any order, each a key of the builder at most once.
Build buildFromKeys(const BuilderForm& form, const std::vector<std::pair<std::string, std::string>>& keys,
                    bool testPrint);

// The position of the item that is `value` by its text or its last word (any case, blanks as
// "-"); -1 for none.
int itemPosition(const std::vector<std::string>& items, const std::string& value);

// What a builder's whole-number box says of `text` when it takes lo..hi (empty when it takes
// it, and `out` gets the value): digits too many for any integer are out of range.
std::string wholeNumberProblem(const std::string& text, int lo, int hi, int& out);
// The same for a real-number box.
std::string realNumberProblem(const std::string& text, double lo, double hi, double& out);

}  // namespace velmora::tester
