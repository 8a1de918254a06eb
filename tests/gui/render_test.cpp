// Draws every dialog of the catalog, as it opens and in each of its scenes, into
// renders/<name>.png and renders/<name>-<scene>.png, and checks each picture has something in it.
#include <gtest/gtest.h>

#include <QDir>
#include <QImage>
#include <QSet>

#include "app/dialogcatalog.h"
#include "app/menumode.h"
#include "gui/qtrenderer.h"
#include "qtapp.h"
#include "support/simdevice.h"
#include "ui/testhost.h"

namespace velmora::testing {
namespace {

// A dialog on its own simulated printer, clock and host: scenes show what a printer answers,
// and never reach a real device or wait.
struct OpenedDialog {
    explicit OpenedDialog(const app::DialogEntry& entry) {
        link.comm.Open();
        dialog = entry.make(ctx);
        renderer = std::make_unique<gui::QtRenderer>(*dialog);
    }
    SimLink link;
    ui::TestHost host;
    app::ToolContext ctx{link.comm, link.clock, host};
    std::unique_ptr<ui::Dialog> dialog;
    std::unique_ptr<gui::QtRenderer> renderer;
};

// A blank picture has one or two colours; a dialog has frames, texts and buttons.
void expectPicture(const std::string& path) {
    const QImage image(QString::fromStdString(path));
    ASSERT_FALSE(image.isNull()) << path;
    EXPECT_GT(image.width(), 100) << path;
    EXPECT_GT(image.height(), 50) << path;
    QSet<QRgb> colours;
    for (int y = 0; y < image.height() && colours.size() < 8; y += 2)
        for (int x = 0; x < image.width() && colours.size() < 8; x += 2) colours.insert(image.pixel(x, y));
    EXPECT_GE(colours.size(), 8) << path << " looks blank";
}

TEST(RenderCatalog, EveryDialogAndSceneMakesAPicture) {
    qtApp();
    const QString dir = QStringLiteral(VELMORA_RENDER_DIR);
    ASSERT_TRUE(QDir().mkpath(dir));
    for (const app::DialogEntry* entry : app::dialogCatalog()) {
        SCOPED_TRACE(entry->name);
        const std::vector<int> modes = entry->menuModes.empty() ? std::vector<int>{-1} : entry->menuModes;
        for (int mode : modes) {
            const int saved = app::MenuMode;
            if (mode >= 0) app::MenuMode = mode;
            const std::string base =
                dir.toStdString() + "/" + entry->name + (mode >= 0 ? "-mode" + std::to_string(mode) : "");
            {
                OpenedDialog opened(*entry);
                ASSERT_TRUE(gui::saveImage(*opened.renderer, base + ".png"));
                expectPicture(base + ".png");
            }
            for (const auto& [scene, act] : entry->scenes) {
                SCOPED_TRACE(scene);
                OpenedDialog opened(*entry);
                act(*opened.dialog);
                const std::string path = base + "-" + scene + ".png";
                ASSERT_TRUE(gui::saveImage(*opened.renderer, path));
                expectPicture(path);
            }
            app::MenuMode = saved;
        }
    }
}

}  // namespace
}  // namespace velmora::testing
