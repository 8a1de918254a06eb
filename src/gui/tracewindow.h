// The live trace window (Ctrl+T): the session trace as it grows, beside the main window, with a
// direction filter, pause, clear and save.
#pragma once

#include <QWidget>
#include <cstdint>

#include "link/sessiontrace.h"

class QComboBox;
class QPlainTextEdit;
class QPushButton;
class QTimer;

namespace velmora::gui {

class TraceWindow final : public QWidget {
  public:
    TraceWindow(link::SessionTrace& trace, QWidget* parent);

    // What the filter lets through: 0 everything, 1 written, 2 read, 3 pauses and messages.
    void setFilter(int index);
    void setPaused(bool paused);
    // Takes the entries recorded since the last call (the timer calls it).
    void refresh();
    QString shownText() const;

  private:
    bool passes(const link::TraceEntry& e) const;
    void rebuild();
    void save();

    link::SessionTrace& trace_;
    QComboBox* filter_;
    QPushButton* pause_;
    QPlainTextEdit* view_;
    QTimer* timer_;
    std::uint64_t lastSeq_ = 0;
    bool paused_ = false;
};

// Opens (or raises) the trace window beside the active window; Ctrl+T anywhere in the program
// calls it once installTraceShortcut has run.
void showTraceWindow(link::SessionTrace& trace);
void installTraceShortcut(link::SessionTrace& trace);

}  // namespace velmora::gui
