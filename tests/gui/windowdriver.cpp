// The window driver: widgets by control id, user actions, and modal windows answered in turn.
#include "windowdriver.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <QAbstractButton>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDialog>
#include <QElapsedTimer>
#include <QFileDialog>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPointer>
#include <QRadioButton>
#include <QTest>
#include <QTimer>
#include <deque>
#include <filesystem>
#include <fstream>

#include "app/menumode.h"
#include "platform/device.h"
#include "qtapp.h"
#include "resources/templates_main.h"

namespace velmora::testing {

QWidget* controlWidget(QWidget* window, int id) {
    QWidget* hidden = nullptr;
    for (QWidget* w : window->findChildren<QWidget*>()) {
        const QVariant v = w->property(gui::kControlIdProperty);
        if (!v.isValid() || v.toInt() != id) continue;
        if (w->isVisibleTo(window)) return w;
        if (!hidden) hidden = w;
    }
    return hidden;
}

std::string shownText(QWidget* window, int id) {
    QWidget* w = controlWidget(window, id);
    QString text;
    if (auto* label = qobject_cast<QLabel*>(w))
        text = label->text();
    else if (auto* line = qobject_cast<QLineEdit*>(w))
        text = line->text();
    else if (auto* edit = qobject_cast<QPlainTextEdit*>(w))
        text = edit->toPlainText();
    else if (auto* box = qobject_cast<QComboBox*>(w))
        text = box->currentText();
    else if (auto* button = qobject_cast<QAbstractButton*>(w))
        text = button->text();
    else if (auto* group = qobject_cast<QGroupBox*>(w))
        text = group->title();
    else
        ADD_FAILURE() << "no text shown by control " << id;
    return text.toStdString();
}

namespace {

QWidget* must(QWidget* window, int id) {
    QWidget* w = controlWidget(window, id);
    if (!w) ADD_FAILURE() << "no widget for control " << id;
    return w;
}

}  // namespace

void press(QWidget* window, int id) {
    QWidget* w = must(window, id);
    if (!w) return;
    EXPECT_TRUE(w->isEnabled()) << "control " << id << " is disabled";
    // A box or radio button takes a click on its mark, which sits at its left.
    const bool marked = qobject_cast<QCheckBox*>(w) || qobject_cast<QRadioButton*>(w);
    QTest::mouseClick(w, Qt::LeftButton, {},
                      marked ? QPoint(std::min(8, w->width() / 2), w->height() / 2) : QPoint());
}

void typeInto(QWidget* window, int id, const QString& text) {
    QWidget* w = must(window, id);
    if (!w) return;
    w->setFocus(Qt::MouseFocusReason);
    QTest::keyClick(w, Qt::Key_A, Qt::ControlModifier);
    if (text.isEmpty())
        QTest::keyClick(w, Qt::Key_Delete);
    else
        QTest::keyClicks(w, text);
}

void chooseItem(QWidget* window, int id, int index) {
    auto* box = qobject_cast<QComboBox*>(must(window, id));
    if (!box) return;
    box->setFocus(Qt::MouseFocusReason);
    while (box->currentIndex() > index) QTest::keyClick(box, Qt::Key_Up);
    while (box->currentIndex() < index) QTest::keyClick(box, Qt::Key_Down);
}

void typeAtFocus(const QString& text) {
    for (QChar ch : text) {
        QWidget* w = QApplication::focusWidget();
        if (!w) {
            ADD_FAILURE() << "no widget has the focus";
            return;
        }
        QTest::keyClicks(w, QString(ch));
    }
}

namespace {

enum class Kind { Tool, Message, File };

struct Answer {
    int serial;
    Kind kind;
    std::function<void(QWidget*)> act;
    QPointer<QWidget> openBefore;  // the modal window up when the answer was queued
    qint64 deadline;
};

constexpr int kPollMs = 5;
constexpr qint64 kPatienceMs = 8000;

QElapsedTimer& sinceStart() {
    static QElapsedTimer t = [] {
        QElapsedTimer e;
        e.start();
        return e;
    }();
    return t;
}

std::deque<Answer>& answers() {
    static std::deque<Answer> queue;
    return queue;
}
bool polling = false;
int guarding = 0;  // while a main window is up, a box no answer waits for is closed after a while

bool isKind(QWidget* w, Kind kind) {
    const bool box = qobject_cast<QMessageBox*>(w), file = qobject_cast<QFileDialog*>(w);
    switch (kind) {
        case Kind::Message:
            return box;
        case Kind::File:
            return file;
        case Kind::Tool:
            return !box && !file && qobject_cast<QDialog*>(w);
    }
    return false;
}

const char* kindName(Kind kind) {
    return kind == Kind::Message ? "message box" : kind == Kind::File ? "file dialog" : "tool window";
}

void poll();

// A message box or file dialog that no answer was queued for fails the test and is closed.
void closeUnexpected(QWidget* modal) {
    static QPointer<QWidget> seen;
    static qint64 since = 0;
    const bool box = qobject_cast<QMessageBox*>(modal) || qobject_cast<QFileDialog*>(modal);
    if (!box) {
        seen = nullptr;
        return;
    }
    if (seen != modal) {
        seen = modal;
        since = sinceStart().elapsed();
        return;
    }
    if (sinceStart().elapsed() - since < kPatienceMs / 4) return;
    std::string text = modal->windowTitle().toStdString();
    if (auto* b = qobject_cast<QMessageBox*>(modal)) text += ": " + b->text().toStdString();
    ADD_FAILURE() << "nothing answers " << text;
    static_cast<QDialog*>(modal)->reject();
}

void keepPolling() {
    if (polling || (answers().empty() && guarding == 0)) return;
    polling = true;
    QTimer::singleShot(kPollMs, [] {
        polling = false;
        poll();
    });
}

// Each poll is a timer of its own: the answer it runs may open modal windows whose event loops
// must go on answering.
void poll() {
    keepPolling();
    QWidget* modal = QApplication::activeModalWidget();
    if (answers().empty()) {
        closeUnexpected(modal);
        return;
    }
    Answer& next = answers().front();
    if (modal && modal != next.openBefore && isKind(modal, next.kind)) {
        Answer taken = std::move(next);
        answers().pop_front();
        taken.act(modal);
        return;
    }
    if (sinceStart().elapsed() < next.deadline) return;
    std::string up = modal ? modal->windowTitle().toStdString() : "none";
    if (auto* box = qobject_cast<QMessageBox*>(modal)) up += ": " + box->text().toStdString();
    ADD_FAILURE() << "no " << kindName(next.kind) << " came; the modal window up is " << up;
    answers().pop_front();
    if (modal && modal != next.openBefore)
        if (auto* d = qobject_cast<QDialog*>(modal)) d->reject();
}

int queue(Kind kind, std::function<void(QWidget*)> act, bool first = false) {
    static int serials = 0;
    Answer a{++serials, kind, std::move(act), QApplication::activeModalWidget(),
             sinceStart().elapsed() + kPatienceMs};
    if (first)
        answers().push_front(std::move(a));
    else
        answers().push_back(std::move(a));
    keepPolling();
    return serials;
}

void messageAnswer(std::string* text, QMessageBox::StandardButton button, bool first) {
    queue(
        Kind::Message,
        [text, button](QWidget* w) {
            auto* box = static_cast<QMessageBox*>(w);
            if (text) *text = box->text().toStdString();
            QAbstractButton* b = box->button(button);
            if (!b) {
                ADD_FAILURE() << "the box " << box->text().toStdString() << " has no such button";
                box->reject();
                return;
            }
            QTest::mouseClick(b, Qt::LeftButton);
        },
        first);
}

}  // namespace

void whenToolOpens(std::function<void(QWidget*)> use) {
    queue(Kind::Tool, [use = std::move(use)](QWidget* window) {
        QPointer<QWidget> w = window;
        window->activateWindow();
        EXPECT_TRUE(QTest::qWaitForWindowActive(window));
        use(window);
        if (w && w->isVisible()) static_cast<QDialog*>(w.data())->reject();
    });
}

void answerMessage(std::string* text, QMessageBox::StandardButton button) {
    messageAnswer(text, button, false);
}

void answerFile(const std::string& path) {
    queue(Kind::File, [path](QWidget* w) {
        auto* dialog = static_cast<QFileDialog*>(w);
        QPointer<QFileDialog> alive = dialog;
        auto* name = dialog->findChild<QLineEdit*>(QStringLiteral("fileNameEdit"));
        if (!name) {
            ADD_FAILURE() << "the file dialog has no name box";
            dialog->reject();
            return;
        }
        // The dialog may refuse the name with a box of its own: say what it said.
        std::string refusal;
        messageAnswer(&refusal, QMessageBox::Ok, true);
        const int refusalAnswer = answers().front().serial;
        name->setText(QString::fromStdString(path));
        QTest::keyClick(name, Qt::Key_Return);
        if (alive && alive->isVisible()) {
            ADD_FAILURE() << "the file dialog did not take " << path << ": " << refusal;
            alive->reject();
        }
        // A box that never came is not waited for.
        std::erase_if(answers(), [refusalAnswer](const Answer& a) { return a.serial == refusalAnswer; });
    });
}

bool allAnswered() {
    const bool done = QTest::qWaitFor([] { return answers().empty(); }, static_cast<int>(kPatienceMs + 1000));
    if (!done) ADD_FAILURE() << answers().size() << " answers were never taken";
    answers().clear();
    return done;
}

namespace {
link::CComm& tcpLink(std::unique_ptr<sim::Server>& server, std::unique_ptr<link::CComm>& comm, SimLink& sim) {
    server = std::make_unique<sim::Server>(sim.printer);
    comm = std::make_unique<link::CComm>(platform::systemDevices(), sim.clock, sim.messages);
    return *comm;
}
}  // namespace

MainWindowOnSim::MainWindowOnSim(int interface, Over over)
    : ctx{over == Over::Tcp ? tcpLink(server_, tcpComm_, link) : link.comm, link.clock, host} {
    qtApp();
    ++guarding;
    keepPolling();
    app::MenuMode = 1;
    dlg_ = std::make_unique<shell::CVelmoraDlg>(ctx, spooler_);
    if (server_) {
        const unsigned port = server_->startTcp(0);
        EXPECT_NE(port, 0u) << server_->error();
        dlg_->address = "127.0.0.1";
        dlg_->tcpPort = static_cast<int>(port);
    }
    dlg_->AddMenuViews();
    renderer_ = std::make_unique<gui::QtRenderer>(*dlg_);
    window()->show();
    window()->activateWindow();
    EXPECT_TRUE(QTest::qWaitForWindowActive(window()));
    press(window(), interface);
    std::string said;
    answerMessage(&said);
    press(window(), resources::IDC_MAIN_CONNECT);
    EXPECT_EQ(said, "Success open port.");
    received();  // the handshake
}

MainWindowOnSim::~MainWindowOnSim() {
    allAnswered();
    --guarding;
    renderer_.reset();
    dlg_.reset();
    if (tcpComm_) tcpComm_->CloseTcp();
}

void MainWindowOnSim::openTool(int menuButton, std::function<void(QWidget*)> use) {
    whenToolOpens(std::move(use));
    press(window(), menuButton);
}

std::string MainWindowOnSim::received() {
    const std::uint64_t total = link.printer.journal().totalBytes();
    const std::string tail = link.printer.journal().tail();
    const auto fresh = static_cast<std::size_t>(std::min<std::uint64_t>(total - seen_, tail.size()));
    seen_ = total;
    return tail.substr(tail.size() - fresh);
}

::testing::AssertionResult sameBytes(const std::string& got, const std::string& want) {
    if (got == want) return ::testing::AssertionSuccess();
    auto shown = [](const std::string& s) {
        std::string out;
        for (char c : s.substr(0, 120)) out += c == '\r' ? "\\r" : c == '\n' ? "\\n" : std::string(1, c);
        return out + (s.size() > 120 ? "... (" + std::to_string(s.size()) + " bytes)" : "");
    };
    return ::testing::AssertionFailure() << "got \"" << shown(got) << "\", want \"" << shown(want) << "\"";
}

std::string tempFile(const std::string& name, const std::string& bytes) {
    // One folder a process, gone when the process ends.
    static const struct Folder {
        std::filesystem::path path =
            std::filesystem::temp_directory_path() / ("velmora-window-" + std::to_string(::getpid()));
        ~Folder() {
            std::error_code ec;
            std::filesystem::remove_all(path, ec);
        }
    } folder;
    const auto& dir = folder.path;
    std::filesystem::create_directories(dir);
    const std::string path = (dir / name).string();
    std::ofstream(path, std::ios::binary) << bytes;
    return path;
}

}  // namespace velmora::testing
