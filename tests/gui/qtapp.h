// The one QApplication of the window tests, drawn off screen, and keyboard input sent the way the
// window system would deliver it.
#pragma once

#include <QApplication>
#include <QKeyEvent>
#include <QTimer>
#include <QWidget>
#include <functional>

namespace velmora::testing {

inline QApplication& qtApp() {
    static int argc = 1;
    static char name[] = "gui_tests";
    static char* argv[] = {name, nullptr};
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
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
