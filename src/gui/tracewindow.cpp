// The live trace window and its application-wide Ctrl+T.
#include "gui/tracewindow.h"

#include <QApplication>
#include <QComboBox>
#include <QFileDialog>
#include <QFile>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QPlainTextEdit>
#include <QPointer>
#include <QPushButton>
#include <QScrollBar>
#include <QTextCursor>
#include <QTimer>
#include <QVBoxLayout>

#include "gui/screenfit.h"

namespace velmora::gui {

namespace {

constexpr int kRefreshMs = 200;
QPointer<TraceWindow> openWindow;

// Ctrl+T in any window of the program, modal ones included.
class TraceShortcut final : public QObject {
  public:
    explicit TraceShortcut(link::SessionTrace& trace) : trace_(trace) {}
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::KeyPress) {
            auto* key = static_cast<QKeyEvent*>(event);
            if (key->key() == Qt::Key_T && key->modifiers() == Qt::ControlModifier && watched->isWidgetType()) {
                showTraceWindow(trace_);
                return true;
            }
        }
        return QObject::eventFilter(watched, event);
    }

  private:
    link::SessionTrace& trace_;
};

}  // namespace

TraceWindow::TraceWindow(link::SessionTrace& trace, QWidget* parent)
    : QWidget(parent, Qt::Window), trace_(trace) {
    setWindowTitle("Session Trace");
    filter_ = new QComboBox(this);
    filter_->addItems({"All", "Written", "Read", "Pauses and messages"});
    pause_ = new QPushButton("Pause", this);
    pause_->setCheckable(true);
    auto* clear = new QPushButton("Clear", this);
    auto* save = new QPushButton("Save...", this);
    view_ = new QPlainTextEdit(this);
    view_->setReadOnly(true);
    view_->setLineWrapMode(QPlainTextEdit::NoWrap);
    view_->setFont(QFont("Monospace"));
    view_->setMaximumBlockCount(20000);  // the window is bounded like the ring it shows
    auto* bar = new QHBoxLayout;
    bar->addWidget(filter_);
    bar->addWidget(pause_);
    bar->addWidget(clear);
    bar->addStretch(1);
    bar->addWidget(save);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(bar);
    layout->addWidget(view_, 1);
    resize(720, 480);

    connect(filter_, &QComboBox::currentIndexChanged, this, [this](int i) { setFilter(i); });
    connect(pause_, &QPushButton::toggled, this, [this](bool on) { setPaused(on); });
    connect(clear, &QPushButton::clicked, this, [this] {
        trace_.clear();
        view_->clear();
    });
    connect(save, &QPushButton::clicked, this, [this] { this->save(); });
    timer_ = new QTimer(this);
    connect(timer_, &QTimer::timeout, this, [this] { refresh(); });
    timer_->start(kRefreshMs);
    refresh();
}

bool TraceWindow::passes(const link::TraceEntry& e) const {
    switch (filter_->currentIndex()) {
        case 1:
            return e.kind == link::TraceEntry::Kind::Write;
        case 2:
            return e.kind == link::TraceEntry::Kind::Read;
        case 3:
            return e.kind == link::TraceEntry::Kind::Pause || e.kind == link::TraceEntry::Kind::Message;
        default:
            return true;
    }
}

void TraceWindow::setFilter(int index) {
    if (filter_->currentIndex() != index) filter_->setCurrentIndex(index);
    rebuild();
}

void TraceWindow::setPaused(bool paused) {
    paused_ = paused;
    if (pause_->isChecked() != paused) pause_->setChecked(paused);
    pause_->setText(paused ? "Resume" : "Pause");
    if (!paused) refresh();
}

void TraceWindow::refresh() {
    if (paused_) return;
    std::vector<link::TraceEntry> shown;
    const auto fresh = trace_.entries(lastSeq_);
    if (fresh.empty()) return;
    lastSeq_ = fresh.back().seq;
    for (const auto& e : fresh)
        if (passes(e)) shown.push_back(e);
    if (shown.empty()) return;
    QString text = QString::fromStdString(link::formatTraceText(shown, 0));
    if (text.endsWith('\n')) text.chop(1);
    view_->appendPlainText(text);
    // The cursor at the start of the newest line: the view follows the new entries and keeps the
    // time column in sight.
    QTextCursor cursor = view_->textCursor();
    cursor.movePosition(QTextCursor::End);
    cursor.movePosition(QTextCursor::StartOfBlock);
    view_->setTextCursor(cursor);
    view_->horizontalScrollBar()->setValue(0);
}

void TraceWindow::rebuild() {
    view_->clear();
    lastSeq_ = 0;
    const bool wasPaused = paused_;
    paused_ = false;
    refresh();
    paused_ = wasPaused;
}

QString TraceWindow::shownText() const { return view_->toPlainText(); }

void TraceWindow::save() {
    const QString path = QFileDialog::getSaveFileName(this, "Save Trace", "velmora-trace.txt",
                                                      "Trace Files (*.txt);;JSON Lines (*.jsonl);;All Files (*)");
    if (path.isEmpty()) return;
    const auto entries = trace_.entries();
    const std::string text = path.endsWith(".jsonl") ? link::formatTraceJsonl(entries, trace_.dropped())
                                                     : link::formatTraceText(entries, trace_.dropped());
    QFile file(path);
    if (file.open(QIODevice::WriteOnly | QIODevice::Truncate)) file.write(text.data(), static_cast<qint64>(text.size()));
}

void showTraceWindow(link::SessionTrace& trace) {
    if (!openWindow) {
        // A child of the window in front, so a modal dialog running now does not block it.
        QWidget* front = QApplication::activeModalWidget() ? QApplication::activeModalWidget()
                                                            : QApplication::activeWindow();
        openWindow = new TraceWindow(trace, front);
        openWindow->setAttribute(Qt::WA_DeleteOnClose);
        // Beside the window in front where the screen has room, and whole on the screen.
        openWindow->resize(openWindow->size().boundedTo(windowRoom(openWindow)));
        openWindow->move(placeBeside(openWindow, front ? front->window() : nullptr));
    }
    openWindow->show();
    openWindow->raise();
    openWindow->activateWindow();
}

void installTraceShortcut(link::SessionTrace& trace) {
    qApp->installEventFilter(new TraceShortcut(trace));
}

}  // namespace velmora::gui
