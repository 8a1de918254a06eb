// The title banner on screen, drawn to renders/banner.png: a gradient from nearly black to the
// banner colour, the title light on the left, the subtitle embossed on the right; and dragging the
// banner moves its window.
#include <gtest/gtest.h>

#include <QDir>
#include <QImage>
#include <QMouseEvent>
#include <QWidget>

#include "gui/qtrenderer.h"
#include "qtapp.h"
#include "shell/prefsstatic.h"
#include "ui/testhost.h"

namespace velmora::testing {
namespace {

constexpr int kBanner = 1005;

const ui::DialogTemplate& bannerTemplate() {
    static const ui::DialogTemplate t = [] {
        using namespace ui::layout;
        const ui::ControlStyle handle{.widthChars = 70, .heightLines = 2, .movesWindow = true};
        ui::DialogTemplate d;
        d.resourceId = 902;
        d.caption = "Banner";
        d.root = column({control(kBanner, ui::ControlKind::Custom, "", handle),
                         row({stretch(), button(ui::IDOK, "OK")})});
        return d;
    }();
    return t;
}

// Sets the banner up as the main window does.
class BannerDialog : public ui::Dialog {
  public:
    explicit BannerDialog(ui::Host& host) : ui::Dialog(host, bannerTemplate()) {}

  protected:
    bool OnInitDialog() override {
        auto banner = std::make_shared<shell::CPrefsStatic>();
        banner->faceName = "Verdana";
        banner->fontHeight = 14;
        banner->fontWeight = 700;
        banner->textColor = shell::kButtonFaceColor;
        banner->gradientColor = 0x8080EC;
        banner->subtitle = "Bar Code Printer Norvik";
        control(kBanner).setCustom(banner);
        banner->setTitle("Velmora-II (Version 1.0.0)");
        return ui::Dialog::OnInitDialog();
    }
};

bool near(QRgb p, int r, int g, int b, int tolerance) {
    return std::abs(qRed(p) - r) <= tolerance && std::abs(qGreen(p) - g) <= tolerance &&
           std::abs(qBlue(p) - b) <= tolerance;
}

// How many pixels of `area` satisfy `test`.
template <class Test>
int count(const QImage& image, const QRect& area, Test test) {
    int n = 0;
    for (int y = area.top(); y <= area.bottom(); ++y)
        for (int x = area.left(); x <= area.right(); ++x) n += test(image.pixel(x, y)) ? 1 : 0;
    return n;
}

TEST(Banner, DrawsGradientTitleAndEmbossedSubtitle) {
    qtApp();
    ui::TestHost host;
    BannerDialog dialog(host);
    gui::QtRenderer renderer(dialog);
    const QString dir = QStringLiteral(VELMORA_RENDER_DIR);
    ASSERT_TRUE(QDir().mkpath(dir));
    const std::string path = dir.toStdString() + "/banner.png";
    ASSERT_TRUE(gui::saveImage(renderer, path));

    QWidget* w = renderer.widgetFor(kBanner);
    const QRect r(w->mapTo(w->window(), QPoint(0, 0)), w->size());
    QImage image(QString::fromStdString(path));
    ASSERT_FALSE(image.isNull());
    image = image.copy(r);
    ASSERT_GT(image.width(), 300);

    // Top row, clear of the texts: dark at the left, the banner colour at the right.
    EXPECT_TRUE(near(image.pixel(1, 1), 0, 0, 0, 8)) << std::hex << image.pixel(1, 1);
    EXPECT_TRUE(near(image.pixel(image.width() - 1, 1), 0x80, 0x80, 0xEC, 4))
        << std::hex << image.pixel(image.width() - 1, 1);

    const QRect left(0, 0, image.width() / 3, image.height());
    const QRect right(image.width() / 2, 0, image.width() / 2, image.height());
    // The title in the button-face colour on the left; nothing of it on the right.
    auto title = [](QRgb p) { return near(p, 0xF0, 0xF0, 0xF0, 0); };
    EXPECT_GT(count(image, left, title), 40);
    EXPECT_EQ(count(image, right, title), 0);
    // The subtitle's shadow and its highlight, both on the right.
    EXPECT_GT(count(image, right, [](QRgb p) { return near(p, 0xA0, 0xA0, 0xA0, 0); }), 40);
    EXPECT_GT(count(image, right, [](QRgb p) { return near(p, 0xFF, 0xFF, 0xFF, 0); }), 10);
}

TEST(Banner, DraggingItMovesTheWindow) {
    qtApp();
    ui::TestHost host;
    BannerDialog dialog(host);
    gui::QtRenderer renderer(dialog);
    QWidget* window = renderer.widget()->window();
    window->move(100, 100);
    window->show();
    const QPoint start = window->pos();
    QWidget* banner = renderer.widgetFor(kBanner);

    // The off-screen platform has no window-system move, so the window follows the mouse.
    const QPoint at(10, 10);
    auto send = [&](QEvent::Type type, QPoint offset, Qt::MouseButton button, Qt::MouseButtons held) {
        QMouseEvent e(type, QPointF(at + offset), QPointF(banner->mapToGlobal(at) + offset), button, held,
                      Qt::NoModifier);
        QApplication::sendEvent(banner, &e);
    };
    send(QEvent::MouseButtonPress, {}, Qt::LeftButton, Qt::LeftButton);
    send(QEvent::MouseMove, {30, 20}, Qt::NoButton, Qt::LeftButton);
    send(QEvent::MouseButtonRelease, {30, 20}, Qt::LeftButton, Qt::NoButton);
    EXPECT_EQ(window->pos(), start + QPoint(30, 20));

    // After the release the mouse moves on its own.
    send(QEvent::MouseMove, {60, 60}, Qt::NoButton, Qt::NoButton);
    EXPECT_EQ(window->pos(), start + QPoint(30, 20));
    window->hide();
}

}  // namespace
}  // namespace velmora::testing
