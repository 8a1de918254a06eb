// Message boxes, file dialogs, modal windows, the wait cursor and the clipboard through Qt.
#include "gui/qthost.h"

#include <iostream>

#include "ui/consolehost.h"

#include <QApplication>
#include <QClipboard>
#include <QDialog>
#include <QFileDialog>
#include <QFileInfo>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>
#include <QMessageBox>
#include <QElapsedTimer>
#include <QPointer>
#include <QProgressBar>
#include <QRegularExpression>
#include <QStyle>
#include <QTimer>
#include <algorithm>

#include "gui/labelpreviewwindow.h"
#include "gui/qtrenderer.h"
#include "platform/clock.h"
#include "ui/dialog.h"

namespace velmora::gui {

namespace {

QString qs(const std::string& s) { return QString::fromUtf8(s.data(), static_cast<qsizetype>(s.size())); }

// Boxes and child dialogs open over the window the user is working in.
QWidget* activeParent() {
    if (QWidget* modal = QApplication::activeModalWidget()) return modal;
    return QApplication::activeWindow();
}

// The window a modal dialog runs in. Escape and the title-bar close press Cancel, so the
// dialog's own cancel handling decides whether and how it ends.
class ModalWindow final : public QDialog {
  public:
    ModalWindow(ui::Dialog& dialog, QWidget* parent) : QDialog(parent), dialog_(dialog) {}

    void reject() override {
        if (dialog_.ended()) {
            QDialog::reject();
            return;
        }
        dialog_.click(ui::IDCANCEL);
    }

  private:
    ui::Dialog& dialog_;
};

QMessageBox::Icon boxIcon(ui::Icon icon) {
    switch (icon) {
        case ui::Icon::Exclamation:
            return QMessageBox::Warning;
        case ui::Icon::Information:
            return QMessageBox::Information;
        case ui::Icon::Question:
            return QMessageBox::Question;
        case ui::Icon::Error:
            return QMessageBox::Critical;
        case ui::Icon::None:
            break;
    }
    return QMessageBox::NoIcon;
}

QMessageBox::StandardButtons boxButtons(ui::Buttons buttons) {
    switch (buttons) {
        case ui::Buttons::Ok:
            return QMessageBox::Ok;
        case ui::Buttons::OkCancel:
            return QMessageBox::Ok | QMessageBox::Cancel;
        case ui::Buttons::YesNo:
            return QMessageBox::Yes | QMessageBox::No;
        case ui::Buttons::YesNoCancel:
            return QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel;
    }
    return QMessageBox::Ok;
}

// The progress of the long action under way (one at a time; nested actions count as one).
struct ActionProgress {
    QPointer<QProgressBar> bar;
    QElapsedTimer since;
    unsigned totalMs = 0;
    int depth = 0;
};
ActionProgress& progress() {
    static ActionProgress p;
    return p;
}

void advanceProgress() {
    ActionProgress& p = progress();
    if (!p.bar) return;
    p.bar->setValue(static_cast<int>(std::min<qint64>(p.since.elapsed(), p.totalMs)));
}

// The busy cursor of blocking waits: on at the first wait, off once no wait has run for a while
// (the program is back in its event loop).
void busyWhileWaiting() {
    static bool shown = false;
    static QElapsedTimer lastWait;
    static QTimer* idle = nullptr;
    lastWait.start();
    if (shown) return;
    if (!idle) {
        idle = new QTimer(QCoreApplication::instance());
        idle->setInterval(60);
        QObject::connect(idle, &QTimer::timeout, [] {
            if (lastWait.elapsed() < 50) return;
            idle->stop();
            shown = false;
            QApplication::restoreOverrideCursor();
        });
    }
    shown = true;
    QApplication::setOverrideCursor(Qt::WaitCursor);
    idle->start();
}

}  // namespace

int QtHost::messageBox(const std::string& text, const std::string& caption, ui::Icon icon,
                       ui::Buttons buttons) {
    if (messageWatcher) messageWatcher(text);
    if (unattended_) {
        std::cerr << ui::consoleLine(caption, text) << std::endl;
        return (buttons == ui::Buttons::YesNo || buttons == ui::Buttons::YesNoCancel) ? ui::IDYES : ui::IDOK;
    }
    QMessageBox box(boxIcon(icon), qs(caption), qs(text), boxButtons(buttons), activeParent());
    box.setTextFormat(Qt::PlainText);
    switch (box.exec()) {
        case QMessageBox::Ok:
            return ui::IDOK;
        case QMessageBox::Cancel:
            return ui::IDCANCEL;
        case QMessageBox::Yes:
            return ui::IDYES;
        case QMessageBox::No:
            return ui::IDNO;
        default:
            return buttons == ui::Buttons::Ok ? ui::IDOK : ui::IDCANCEL;
    }
}

std::optional<std::string> QtHost::fileDialog(const ui::FileDialogRequest& request) {
    QString title = qs(request.title);
    if (title.isEmpty()) title = request.open ? QStringLiteral("Open") : QStringLiteral("Save As");
    QFileDialog dialog(activeParent(), title);
    dialog.setAcceptMode(request.open ? QFileDialog::AcceptOpen : QFileDialog::AcceptSave);
    dialog.setFileMode(request.open ? QFileDialog::ExistingFile : QFileDialog::AnyFile);
    const QStringList filters = nameFilters(request.filter);
    if (!filters.isEmpty()) dialog.setNameFilters(filters);
    // Only a name being saved gets the extension: a file to open is taken as it is named (firmware
    // and font files often have no dot), and "*.*" asks for no extension at all.
    const std::string ext = request.open ? std::string() : fileExtension(request.defaultExt);
    if (!ext.empty()) dialog.setDefaultSuffix(qs(ext));
    if (!request.open && !request.overwritePrompt) dialog.setOption(QFileDialog::DontConfirmOverwrite);
    if (!request.fileName.empty()) dialog.selectFile(qs(request.fileName));
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return std::nullopt;
    // A native dialog may ignore the default suffix.
    return withDefaultExtension(dialog.selectedFiles().first().toStdString(), ext);
}

int QtHost::runModal(ui::Dialog& dialog) {
    dialog.Create();
    if (dialog.ended()) return dialog.result();  // ended while it initialised
    ModalWindow window(dialog, activeParent());
    if (dialog.dialogTemplate().captionless) window.setWindowFlag(Qt::FramelessWindowHint);
    QtRenderer renderer(dialog, &window);
    if (!dialog.ended()) window.exec();
    if (!dialog.ended()) dialog.EndDialog(ui::IDCANCEL);  // the event loop was left from outside
    return dialog.result();
}

void QtHost::setWaitCursor(bool on) {
    if (on) {
        if (waitDepth_++ == 0) QApplication::setOverrideCursor(Qt::WaitCursor);
    } else if (waitDepth_ > 0 && --waitDepth_ == 0) {
        QApplication::restoreOverrideCursor();
    }
}

void QtHost::beginAction(unsigned expectedMs) {
    setWaitCursor(true);
    ActionProgress& p = progress();
    if (p.depth++ > 0) return;
    p.totalMs = std::max(1u, expectedMs);
    p.since.start();
    QWidget* window = activeParent();
    if (!window) return;
    // Over the window's bottom-left corner, where dialogs keep room beside their closing buttons.
    auto* bar = new QProgressBar(window);
    bar->setRange(0, static_cast<int>(p.totalMs));
    bar->setTextVisible(false);
    const int margin = window->style()->pixelMetric(QStyle::PM_LayoutLeftMargin);
    const int height = QFontMetrics(bar->font()).height();
    bar->setGeometry(margin, window->height() - margin - height, std::max(80, window->width() / 3), height);
    bar->raise();
    bar->show();
    p.bar = bar;
}

void QtHost::endAction() {
    ActionProgress& p = progress();
    if (p.depth > 0 && --p.depth == 0 && p.bar) delete p.bar.data();
    setWaitCursor(false);
}

void QtHost::setClipboardText(const std::string& text) { QGuiApplication::clipboard()->setText(qs(text)); }

std::string QtHost::clipboardText() { return QGuiApplication::clipboard()->text().toStdString(); }

bool QtHost::openFindReplace(ui::FindReplaceClient& client) {
    if (findDialog_) return false;
    auto* dialog = new QDialog(activeParent());
    dialog->setWindowTitle(QStringLiteral("Replace"));
    dialog->setAttribute(Qt::WA_DeleteOnClose);
    auto* what = new QLineEdit(dialog);
    auto* with = new QLineEdit(dialog);
    auto* form = new QFormLayout;
    form->addRow(QStringLiteral("Find what:"), what);
    form->addRow(QStringLiteral("Replace with:"), with);
    auto* buttons = new QVBoxLayout;
    auto* findNext = new QPushButton(QStringLiteral("Find Next"), dialog);
    auto* replace = new QPushButton(QStringLiteral("Replace"), dialog);
    auto* replaceAll = new QPushButton(QStringLiteral("Replace All"), dialog);
    auto* cancel = new QPushButton(QStringLiteral("Cancel"), dialog);
    findNext->setDefault(true);
    for (QPushButton* b : {findNext, replace, replaceAll, cancel}) buttons->addWidget(b);
    buttons->addStretch();
    auto* layout = new QHBoxLayout(dialog);
    layout->addLayout(form, 1);
    layout->addLayout(buttons);
    // The buttons that act wait for a search text, as the system's dialog does.
    auto enable = [=] {
        for (QPushButton* b : {findNext, replace, replaceAll}) b->setEnabled(!what->text().isEmpty());
    };
    enable();
    QObject::connect(what, &QLineEdit::textChanged, dialog, enable);
    QObject::connect(findNext, &QPushButton::clicked, dialog, [&client, what] { client.findNext(what->text().toStdString()); });
    QObject::connect(replace, &QPushButton::clicked, dialog,
                     [&client, what, with] { client.replace(what->text().toStdString(), with->text().toStdString()); });
    QObject::connect(replaceAll, &QPushButton::clicked, dialog, [&client, what, with] {
        client.replaceAll(what->text().toStdString(), with->text().toStdString());
    });
    QObject::connect(cancel, &QPushButton::clicked, dialog, &QDialog::reject);
    QObject::connect(dialog, &QDialog::finished, dialog, [this, &client] {
        findClient_ = nullptr;
        client.findReplaceClosed();
    });
    findDialog_ = dialog;
    findClient_ = &client;
    dialog->show();
    return true;
}

void QtHost::closeFindReplace(ui::FindReplaceClient& client) {
    if (findClient_ != &client) return;
    findClient_ = nullptr;
    // Gone already when it was a child of the window that closed.
    if (QDialog* dialog = findDialog_.data()) {
        QObject::disconnect(dialog, &QDialog::finished, nullptr, nullptr);
        delete dialog;
    }
}

QStringList nameFilters(const std::string& filter) {
    static const QRegularExpression trailingPatterns(QStringLiteral("\\s*\\([^()]*\\)\\s*$"));
    QStringList out;
    for (const ui::FilterEntry& entry : ui::parseFilter(filter)) {
        QStringList patterns;
        for (const QString& p : qs(entry.patterns).split(u';', Qt::SkipEmptyParts)) {
            const QString pattern = p.trimmed();
            // "*.*" means every file there; on Linux many names have no dot.
            patterns << (pattern == QStringLiteral("*.*") ? QStringLiteral("*") : pattern);
        }
        QString description = qs(entry.description).remove(trailingPatterns).trimmed();
        if (description.isEmpty()) description = patterns.join(u' ');
        out << description + QStringLiteral(" (") + patterns.join(u' ') + u')';
    }
    return out;
}

std::string fileExtension(const std::string& defaultExt) {
    return defaultExt.find_first_of("*?") == std::string::npos ? defaultExt : std::string();
}

std::string withDefaultExtension(const std::string& path, const std::string& ext) {
    if (ext.empty() || path.empty()) return path;
    if (QFileInfo(qs(path)).fileName().contains(u'.')) return path;
    return path + "." + ext;
}

void installPaintingWaitHook() {
    platform::setWaitHook([] {
        busyWhileWaiting();
        advanceProgress();
        QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
    });
}

bool QtHost::showLabelPreview(const std::string& text) {
    gui::showLabelPreview(text, QApplication::activeWindow());
    return true;
}

}  // namespace velmora::gui
