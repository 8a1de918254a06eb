// The label preview window: paging and zoom over the pictures, the not-drawn list, and its picture
// in the renders folder.
#include <gtest/gtest.h>

#include <QComboBox>
#include <QDir>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>

#include "gui/labelpreviewwindow.h"
#include "preview/labeltext.h"
#include "qtapp.h"

namespace velmora {
namespace {

using testing::qtApp;

QPushButton* button(QWidget& w, const QString& text) {
    for (QPushButton* b : w.findChildren<QPushButton*>())
        if (b->text() == text) return b;
    return nullptr;
}

TEST(LabelPreviewWindow, PagesZoomsAndListsWhatIsNotDrawn) {
    qtApp();
    preview::LabelPictures pictures = preview::renderText(
        "SW400\r\nSL300\r\nBD20,20,380,280,B,4\r\nT40,40,3,1,1,0,0,N,N,'FIRST'\r\nP1\r\n"
        "SW400\r\nSL300\r\nT40,40,3,1,1,0,0,N,N,'SECOND'\r\nT0,0,z,1,1,0,0,N,N,'x'\r\nP1\r\n");
    ASSERT_EQ(pictures.labels.size(), 2u);
    gui::LabelPreviewWindow window(std::move(pictures.labels));
    window.show();
    QPushButton* previous = button(window, QStringLiteral("Previous"));
    QPushButton* next = button(window, QStringLiteral("Next"));
    ASSERT_TRUE(previous && next);
    EXPECT_FALSE(previous->isEnabled());
    EXPECT_TRUE(next->isEnabled());
    auto* list = window.findChild<QPlainTextEdit*>();
    EXPECT_FALSE(list->isVisibleTo(&window));

    next->click();
    EXPECT_EQ(window.current(), 1);
    EXPECT_FALSE(next->isEnabled());
    EXPECT_TRUE(list->isVisibleTo(&window));
    EXPECT_TRUE(list->toPlainText().contains(QStringLiteral("font z")));

    // At 200 % a dot is two pixels.
    window.setZoom(2.0);
    const QLabel* picture = nullptr;
    for (const QLabel* l : window.findChildren<QLabel*>())
        if (!l->pixmap().isNull()) picture = l;
    ASSERT_NE(picture, nullptr);
    EXPECT_EQ(picture->pixmap().size(), QSize(800, 600));
    window.setZoom(100.0);  // beyond the largest: the largest
    EXPECT_EQ(window.zoom(), 4.0);
    EXPECT_EQ(window.findChild<QComboBox*>()->currentText(), QStringLiteral("400%"));

    previous->click();
    window.setZoom(1.0);
    const QString dir = QStringLiteral(VELMORA_RENDER_DIR);
    ASSERT_TRUE(QDir().mkpath(dir));
    EXPECT_TRUE(window.grab().save(dir + QStringLiteral("/label-preview.png")));
}

}  // namespace
}  // namespace velmora
