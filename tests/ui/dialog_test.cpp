// The dialog framework: data exchange with its standard messages, user actions and enable
// rules, radio groups, and the test host's scripted answers.
#include <gtest/gtest.h>

#include "ui/dataexchange.h"
#include "ui/dialog.h"
#include "ui/testhost.h"

namespace velmora::ui {
namespace {

using namespace layout;

enum { IDC_COUNT = 100, IDC_RATIO, IDC_NAME, IDC_FLAG, IDC_R1, IDC_R2, IDC_R3, IDC_S1, IDC_S2, IDC_LIST, IDC_GO };

const DialogTemplate& formTemplate() {
    static const DialogTemplate t{
        500, "Form",
        column({
            edit(IDC_COUNT), edit(IDC_RATIO), edit(IDC_NAME), checkBox(IDC_FLAG, "Flag"),
            radio(IDC_R1, "One", true), radio(IDC_R2, "Two"), radio(IDC_R3, "Three"),
            radio(IDC_S1, "A", true), radio(IDC_S2, "B"),
            dropList(IDC_LIST, 10, {"x", "y", "z"}), button(IDC_GO, "Go"),
        })};
    return t;
}

class Form : public Dialog {
public:
    explicit Form(Host& host) : Dialog(host, formTemplate()) {}
    int count = 5;
    double ratio = 1.5;
    std::string name = "ab";
    int flag = 0;
    int choice = 1;
    int side = -1;
    int list = 2;
    int goClicks = 0;

protected:
    bool OnInitDialog() override {
        on(Event::Clicked, IDC_GO, [this] { ++goClicks; });
        return Dialog::OnInitDialog();
    }
    void DoDataExchange(DataExchange& dx) override {
        dx.Text(IDC_COUNT, count);
        dx.MinMaxInt(count, 0, 20);
        dx.Text(IDC_RATIO, ratio);
        dx.MinMaxDouble(ratio, 0.5, 2.5);
        dx.Text(IDC_NAME, name);
        dx.MaxChars(name, 4);
        dx.Check(IDC_FLAG, flag);
        dx.Radio(IDC_R1, choice);
        dx.Radio(IDC_S1, side);
        dx.CBIndex(IDC_LIST, list);
    }
};

TEST(DataExchange, LoadFillsControlsAndSetsLimits) {
    TestHost host;
    Form f(host);
    f.Create();
    EXPECT_EQ(f.control(IDC_COUNT).text(), "5");
    EXPECT_EQ(f.control(IDC_RATIO).text(), "1.5");
    EXPECT_EQ(f.control(IDC_NAME).limitText(), 4);
    EXPECT_EQ(f.control(IDC_R2).check(), 1);
    EXPECT_EQ(f.control(IDC_S1).check() + f.control(IDC_S2).check(), 0);
    EXPECT_EQ(f.control(IDC_LIST).text(), "z");
}

TEST(DataExchange, BadInputShowsTheStandardMessageAndKeepsTheField) {
    struct Case {
        int id;
        const char* text;
        const char* message;
    };
    const Case cases[] = {
        {IDC_COUNT, "abc", "Enter an integer."},
        {IDC_COUNT, "1.5", "Enter an integer."},
        {IDC_COUNT, "", "Enter an integer."},
        {IDC_COUNT, "21", "Enter an integer between 0 and 20."},
        {IDC_COUNT, "-1", "Enter an integer between 0 and 20."},
        {IDC_RATIO, "x1", "Enter a number."},
        {IDC_RATIO, "3", "Enter a number between 0.5 and 2.5."},
        {IDC_NAME, "abcde", "Enter no more than 4 characters."},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text);
        TestHost host;
        Form f(host);
        f.Create();
        f.control(c.id).setText(c.text);
        f.control(IDC_FLAG).setCheck(1);
        EXPECT_FALSE(f.UpdateData(true));
        EXPECT_EQ(host.messageTexts(), std::vector<std::string>{c.message});
        EXPECT_EQ(host.messages[0].icon, Icon::Exclamation);
        EXPECT_EQ(f.count, 5);
        EXPECT_EQ(f.ratio, 1.5);
        EXPECT_EQ(f.name, "ab");
        EXPECT_EQ(f.flag, 0);  // the exchange stopped at the bad field
        EXPECT_EQ(f.focusId(), c.id);
    }
}

TEST(DataExchange, GoodInputReachesFields) {
    TestHost host;
    Form f(host);
    f.Create();
    f.control(IDC_COUNT).setText(" 20 ");
    f.control(IDC_RATIO).setText("0.5");
    f.control(IDC_NAME).setText("w\xC3\xA9y\xC3\xA9");  // four characters in six bytes
    f.click(IDC_FLAG);
    f.click(IDC_R3);
    f.click(IDC_S2);
    f.chooseItem(IDC_LIST, 0);
    ASSERT_TRUE(f.UpdateData(true));
    EXPECT_TRUE(host.messages.empty());
    EXPECT_EQ(f.count, 20);
    EXPECT_EQ(f.ratio, 0.5);
    EXPECT_EQ(f.name, "w\xC3\xA9y\xC3\xA9");
    EXPECT_EQ(f.flag, 1);
    EXPECT_EQ(f.choice, 2);
    EXPECT_EQ(f.side, 1);
    EXPECT_EQ(f.list, 0);
    // A click in one radio group leaves the other group alone.
    EXPECT_EQ(f.control(IDC_R2).check(), 0);
    EXPECT_EQ(f.control(IDC_S2).check(), 1);
}

TEST(DialogActions, DisabledOrHiddenControlsIgnoreTheUser) {
    TestHost host;
    Form f(host);
    f.Create();
    f.control(IDC_GO).enable(false);
    f.click(IDC_GO);
    f.control(IDC_GO).enable(true);
    f.control(IDC_GO).show(false);
    f.click(IDC_GO);
    EXPECT_EQ(f.goClicks, 0);
    f.control(IDC_GO).show(true);
    f.click(IDC_GO);
    EXPECT_EQ(f.goClicks, 1);
}

TEST(DialogActions, TypingRespectsLimitsAndNumberOnlyEdits) {
    static const DialogTemplate t{501, "Typing", column({edit(1, 5, {.numberOnly = true}), edit(2)})};
    TestHost host;
    Dialog d(host, t);
    d.Create();
    d.control(2).setLimitText(3);
    d.typeText(2, "abcdef");
    EXPECT_EQ(d.control(2).text(), "abc");
    d.typeText(2, "\xC3\xA9t\xC3\xA9s");  // étés: the limit counts characters
    EXPECT_EQ(d.control(2).text(), "\xC3\xA9t\xC3\xA9");
    d.typeText(1, "12");
    d.typeText(1, "12a");
    EXPECT_EQ(d.control(1).text(), "12");
}

// An arrow steps from the number in the buddy edit, and at an end stops or goes on at the other.
TEST(DialogActions, SpinsStepFromTheirBuddyAndWrapOrStopAtTheirEnds) {
    static const DialogTemplate t{502, "Spin", row({edit(1, 5), control(2, ControlKind::Spin)})};
    struct Case {
        bool wraps;
        const char* buddy;
        int pos, steps, expected;
    };
    const Case cases[] = {
        {true, "10", 0, 1, 0},    {true, "0", 5, -1, 10},  {false, "10", 0, 1, 10}, {false, "0", 5, -1, 0},
        {true, "4", 9, 1, 5},     {true, "x", 9, 1, 10},   {true, "x", 10, 1, 0},   {true, "250", 0, 1, 0},
        {false, "-3", 0, -1, 0},  {true, "", 3, 1, 4},
    };
    for (const Case& c : cases) {
        TestHost host;
        Dialog d(host, t);
        d.Create();
        int scrolled = 0;
        d.on(Event::Scroll, 2, [&] { ++scrolled; });
        Control& spin = d.control(2);
        spin.setRange(0, 10);
        spin.setWrap(c.wraps);
        spin.setPos(c.pos);
        d.control(1).setText(c.buddy);
        d.stepSpin(2, c.steps);
        EXPECT_EQ(spin.pos(), c.expected) << c.buddy << " " << c.steps << (c.wraps ? " wrapping" : "");
        EXPECT_EQ(scrolled, 1);
    }
}

TEST(DialogActions, OkValidatesBeforeEndingAndCancelEnds) {
    TestHost host;
    Form f(host);
    f.Create();
    f.control(IDC_COUNT).setText("99");
    f.click(IDOK);
    EXPECT_FALSE(f.ended());
    f.control(IDC_COUNT).setText("9");
    f.click(IDOK);
    EXPECT_TRUE(f.ended());
    EXPECT_EQ(f.result(), IDOK);
    EXPECT_EQ(f.count, 9);
}

TEST(TestHostScript, ModalRunsAndFileDialogsFollowTheScript) {
    TestHost host;
    Form f(host);
    host.modalScripts.push_back([](Dialog& d) {
        d.control(IDC_COUNT).setText("7");
        d.click(IDOK);
        return IDOK;
    });
    EXPECT_EQ(f.DoModal(), IDOK);
    EXPECT_EQ(f.count, 7);
    EXPECT_EQ(host.modalTemplates, std::vector<int>{500});

    host.fileAnswers.push_back("/tmp/a.txt");
    EXPECT_EQ(host.fileDialog({}), "/tmp/a.txt");
    EXPECT_EQ(host.fileDialog({}), std::nullopt);
}

TEST(FilterStrings, SplitIntoDescriptionsAndPatterns) {
    const auto f = parseFilter("Text Files (*.txt)|*.txt|All Files (*.*)|*.*||");
    ASSERT_EQ(f.size(), 2u);
    EXPECT_EQ(f[0].description, "Text Files (*.txt)");
    EXPECT_EQ(f[1].patterns, "*.*");
}

}  // namespace
}  // namespace velmora::ui
