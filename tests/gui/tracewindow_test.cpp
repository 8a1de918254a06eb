// The live trace window: it shows what a session recorded, filters by direction, holds still while
// paused, and draws into renders/trace-window.png.
#include <gtest/gtest.h>

#include <QDir>
#include <QGuiApplication>
#include <QScreen>

#include "app/handshake.h"
#include "gui/tracewindow.h"
#include "link/sessiontrace.h"
#include "qtapp.h"
#include "support/simdevice.h"

namespace velmora::testing {
namespace {

TEST(TraceWindow, ShowsFiltersAndPauses) {
    qtApp();
    SimLink link("ETHERNET");
    link.comm.socket.SetTarget("127.0.0.1", 9100);
    link::SessionTrace trace([&link] { return link.clock.nowMs() * 1000; });
    link::TracingClock clock(link.clock, trace);
    link.comm.observer = &trace;
    ASSERT_TRUE(app::OpenAndHandshake(link.comm, clock));
    trace.recordMessage("Success open port.");

    gui::TraceWindow window(trace, nullptr);
    window.refresh();
    const QString all = window.shownText();
    EXPECT_TRUE(all.contains(" W ETHERNET 127.0.0.1:9100 5e 63 70 0d")) << all.toStdString();
    EXPECT_TRUE(all.contains(" R ETHERNET")) << all.toStdString();
    EXPECT_TRUE(all.contains(" P 50 ms"));
    EXPECT_TRUE(all.contains("Success open port."));

    const struct {
        int filter;
        const char* kept;
        const char* gone;
    } filters[] = {{1, " W ", " R "}, {2, " R ", " W "}, {3, " P ", " W "}};
    for (const auto& f : filters) {
        window.setFilter(f.filter);
        EXPECT_TRUE(window.shownText().contains(f.kept)) << f.filter;
        EXPECT_FALSE(window.shownText().contains(f.gone)) << f.filter;
    }
    window.setFilter(0);
    window.setPaused(true);
    const QString before = window.shownText();
    link.comm.WriteText("~HS\r\n");
    window.refresh();
    EXPECT_EQ(window.shownText(), before);
    window.setPaused(false);
    EXPECT_TRUE(window.shownText().contains("7e 48 53 0d 0a")) << window.shownText().toStdString();

    window.show();
    const QString dir = qEnvironmentVariableIsEmpty("VELMORA_RENDER_DIR") ? QStringLiteral(VELMORA_RENDER_DIR)
                                                                           : qEnvironmentVariable("VELMORA_RENDER_DIR");
    ASSERT_TRUE(QDir().mkpath(dir));
    EXPECT_TRUE(window.grab().save(dir + "/trace-window.png"));
}

// Ctrl+T opens the window beside the window in front, on whichever side the screen has room, and
// never past the screen's edge.
TEST(TraceWindow, OpensBesideTheFrontWindowOnTheScreen) {
    qtApp();
    link::SessionTrace trace([] { return std::uint64_t{0}; });
    const QRect screen = QGuiApplication::primaryScreen()->availableGeometry();
    for (int x : {screen.left(), screen.center().x() - 300, screen.right() - 600}) {
        SCOPED_TRACE(x);
        QWidget front;
        front.resize(600, 400);
        front.move(x, screen.top() + 40);
        front.show();
        QApplication::setActiveWindow(&front);
        gui::showTraceWindow(trace);
        QList<QWidget*> opened;  // the trace window: a window of its own, owned by the one in front
        for (QWidget* w : front.findChildren<QWidget*>(Qt::FindDirectChildrenOnly))
            if (w->isWindow()) opened << w;
        ASSERT_EQ(opened.size(), 1);
        EXPECT_TRUE(screen.contains(opened.front()->frameGeometry()))
            << "opens at " << opened.front()->x() << "," << opened.front()->y() << " size "
            << opened.front()->width() << "x" << opened.front()->height();
        delete opened.front();
    }
}

}  // namespace
}  // namespace velmora::testing
