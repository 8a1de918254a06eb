// The preview window's widgets and its paging and zoom.
#include "gui/labelpreviewwindow.h"

#include <QComboBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QMessageBox>
#include <QPixmap>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScrollArea>
#include <QSignalBlocker>
#include <QVBoxLayout>
#include <algorithm>

#include "preview/labeltext.h"
#include "resources/messages.h"
#include "resources/stringtable.h"

namespace velmora::gui {

namespace {

constexpr double kZooms[] = {0.25, 0.5, 1.0, 2.0, 4.0};

}  // namespace

LabelPreviewWindow::LabelPreviewWindow(std::vector<preview::RenderedLabel> labels, QWidget* parent)
    : QDialog(parent), labels_(std::move(labels)) {
    setWindowTitle(QStringLiteral("Label Preview"));
    auto* layout = new QVBoxLayout(this);
    auto* bar = new QHBoxLayout;
    previous_ = new QPushButton(QStringLiteral("Previous"), this);
    next_ = new QPushButton(QStringLiteral("Next"), this);
    position_ = new QLabel(this);
    zoomList_ = new QComboBox(this);
    for (const double z : kZooms) zoomList_->addItem(QStringLiteral("%1%").arg(z * 100));
    zoomList_->setCurrentIndex(1);
    zoom_ = 0.5;
    bar->addWidget(previous_);
    bar->addWidget(next_);
    bar->addWidget(position_);
    bar->addStretch();
    bar->addWidget(new QLabel(QStringLiteral("Zoom:"), this));
    bar->addWidget(zoomList_);
    layout->addLayout(bar);

    auto* scroll = new QScrollArea(this);
    picture_ = new QLabel;
    picture_->setAlignment(Qt::AlignCenter);
    scroll->setWidget(picture_);
    scroll->setWidgetResizable(true);
    scroll->setBackgroundRole(QPalette::Dark);
    layout->addWidget(scroll, 1);

    notDrawn_ = new QPlainTextEdit(this);
    notDrawn_->setReadOnly(true);
    notDrawn_->setMaximumHeight(90);
    layout->addWidget(notDrawn_);
    auto* close = new QPushButton(QStringLiteral("Close"), this);
    auto* foot = new QHBoxLayout;
    foot->addStretch();
    foot->addWidget(close);
    layout->addLayout(foot);

    connect(previous_, &QPushButton::clicked, this, [this] { showLabel(current_ - 1); });
    connect(next_, &QPushButton::clicked, this, [this] { showLabel(current_ + 1); });
    connect(zoomList_, &QComboBox::currentIndexChanged, this, [this](int i) {
        if (i >= 0 && i < static_cast<int>(std::size(kZooms))) setZoom(kZooms[i]);
    });
    connect(close, &QPushButton::clicked, this, &QDialog::accept);
    resize(560, 760);
    refresh();
}

void LabelPreviewWindow::showLabel(int index) {
    if (labels_.empty()) return;
    current_ = std::clamp(index, 0, static_cast<int>(labels_.size()) - 1);
    refresh();
}

void LabelPreviewWindow::setZoom(double zoom) {
    zoom_ = std::clamp(zoom, kZooms[0], kZooms[std::size(kZooms) - 1]);
    const QSignalBlocker quiet(zoomList_);
    for (std::size_t i = 0; i < std::size(kZooms); ++i)
        if (kZooms[i] == zoom_) zoomList_->setCurrentIndex(static_cast<int>(i));
    refresh();
}

void LabelPreviewWindow::refresh() {
    const int count = static_cast<int>(labels_.size());
    previous_->setEnabled(current_ > 0);
    next_->setEnabled(current_ + 1 < count);
    if (count == 0) return;
    const preview::RenderedLabel& label = labels_[current_];
    position_->setText(QStringLiteral("Label %1 of %2 (%3 x %4 dots)")
                           .arg(current_ + 1)
                           .arg(count)
                           .arg(label.image.width())
                           .arg(label.image.height()));
    const QSize size(std::max(1, static_cast<int>(label.image.width() * zoom_)),
                     std::max(1, static_cast<int>(label.image.height() * zoom_)));
    // Shrinking smooths (a dot is less than a pixel); enlarging keeps the dots square.
    const QImage shown = label.image.convertToFormat(QImage::Format_RGB32)
                             .scaled(size, Qt::IgnoreAspectRatio, zoom_ < 1 ? Qt::SmoothTransformation : Qt::FastTransformation);
    picture_->setPixmap(QPixmap::fromImage(shown));
    QString list;
    for (const std::string& line : label.notDrawn) list += QStringLiteral("Not drawn: ") + QString::fromStdString(line) + '\n';
    notDrawn_->setPlainText(list);
    notDrawn_->setVisible(!label.notDrawn.empty());
}

void showLabelPreview(const std::string& text, QWidget* parent) {
    preview::LabelPictures pictures = preview::renderText(text);
    if (pictures.labels.empty()) {
        QMessageBox::information(parent, QStringLiteral("Label Preview"), QString::fromStdString(resources::LoadString(msg::kPrintsNoLabel)));
        return;
    }
    LabelPreviewWindow window(std::move(pictures.labels), parent);
    window.exec();
}

}  // namespace velmora::gui
