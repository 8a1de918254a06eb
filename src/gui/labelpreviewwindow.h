// The label preview window: the pictures of the labels that label text prints (drawn by
// src/preview/ through an in-process simulated printer), one at a time, with zoom, previous and
// next, and the list of what each label does not show. Opened by QtHost::showLabelPreview, so any
// tool opens it with one call: host.showLabelPreview(text).
#pragma once

#include <QDialog>
#include <string>
#include <vector>

#include "preview/labelrenderer.h"

class QLabel;
class QPlainTextEdit;
class QPushButton;
class QComboBox;

namespace velmora::gui {

class LabelPreviewWindow : public QDialog {
  public:
    LabelPreviewWindow(std::vector<preview::RenderedLabel> labels, QWidget* parent = nullptr);

    int current() const { return current_; }
    double zoom() const { return zoom_; }
    void showLabel(int index);
    void setZoom(double zoom);

  private:
    void refresh();

    std::vector<preview::RenderedLabel> labels_;
    int current_ = 0;
    double zoom_ = 1.0;
    QLabel* picture_ = nullptr;
    QLabel* position_ = nullptr;
    QPlainTextEdit* notDrawn_ = nullptr;
    QPushButton* previous_ = nullptr;
    QPushButton* next_ = nullptr;
    QComboBox* zoomList_ = nullptr;
};

// Renders the labels of `text` and shows them modally; a text that prints no label shows a
// message instead.
void showLabelPreview(const std::string& text, QWidget* parent);

}  // namespace velmora::gui
