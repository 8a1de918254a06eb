// The one QApplication of the window tests, drawn off screen, and keyboard input sent the way the
// window system would deliver it.
#pragma once

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QKeyEvent>
#include <QTimer>
#include <QWidget>
#include <functional>

namespace velmora::testing {

// The screen the off-screen platform pretends to be: VELMORA_TEST_SCREEN ("1280x1024"), else the
// smallest screen the window program must fit, 1024x768. Windows open and are checked against it.
inline void offscreenScreen() {
    const QString platform = qEnvironmentVariable("QT_QPA_PLATFORM");
    if (!platform.isEmpty() && platform != QStringLiteral("offscreen")) return;  // a real display
    QStringList size = qEnvironmentVariable("VELMORA_TEST_SCREEN").split(u'x');
    if (size.size() != 2) size = QStringList{QStringLiteral("1024"), QStringLiteral("768")};
    // One file per process: the suites run side by side.
    const QString path = QDir::temp().filePath(
        QStringLiteral("velmora-screen-%1.json").arg(QCoreApplication::applicationPid()));
    QFile file(path);
    if (file.open(QIODevice::WriteOnly | QIODevice::Truncate))
        file.write(QStringLiteral(R"({"screens": [{"name": "test", "x": 0, "y": 0, "width": %1, "height": %2,
                                     "logicalDpi": 96, "logicalBaseDpi": 96, "dpr": 1}]})")
                       .arg(size[0], size[1])
                       .toUtf8());
    file.close();
    qputenv("QT_QPA_PLATFORM", ("offscreen:configfile=" + path).toUtf8());
}

inline QApplication& qtApp() {
    static int argc = 1;
    static char name[] = "gui_tests";
    static char* argv[] = {name, nullptr};
    if (!qApp) offscreenScreen();
    // The off-screen platform says so each time a window is sized; nothing to see in a test log.
    static const QtMessageHandler previous =
        qInstallMessageHandler([](QtMsgType type, const QMessageLogContext& context, const QString& message) {
            if (!message.contains(QStringLiteral("propagateSizeHints"))) previous(type, context, message);
        });
    // Never destroyed: widgets of static objects may outlive main().
    static QApplication* app = new QApplication(argc, argv);
    return *app;
}

inline void pressKey(QWidget* w, int key, const QString& text = {}) {
    QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier, text);
    QApplication::sendEvent(w, &press);
    QKeyEvent release(QEvent::KeyRelease, key, Qt::NoModifier, text);
    QApplication::sendEvent(w, &release);
}

inline void typeKeys(QWidget* w, const QString& text) {
    for (QChar ch : text) pressKey(w, ch.toUpper().unicode(), QString(ch));
}

// Acts on the next modal window once it is up (a message box, a file dialog, a dialog run);
// gives up and closes every dialog if none appears, so a broken test fails instead of hanging.
inline void whenModal(std::function<void(QWidget*)> action, int triesLeft = 200) {
    QTimer::singleShot(0, [action = std::move(action), triesLeft]() mutable {
        if (QWidget* modal = QApplication::activeModalWidget()) {
            action(modal);
        } else if (triesLeft > 0) {
            whenModal(std::move(action), triesLeft - 1);
        } else {
            for (QWidget* w : QApplication::topLevelWidgets())
                if (w->isVisible()) w->close();
        }
    });
}

}  // namespace velmora::testing
