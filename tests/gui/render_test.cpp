// Draws every dialog of the catalog, as it opens (each tab page in its display area) and in each
// of its scenes, into renders/<name>.png, <name>-tab<n>.png and <name>-<scene>.png, and checks
// each picture has something in it.
#include <gtest/gtest.h>

#include <QDir>
#include <QFontMetrics>
#include <QImage>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSet>
#include <QWidget>
#include <algorithm>

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

bool inputKind(ui::ControlKind kind) {
    using K = ui::ControlKind;
    return kind == K::Edit || kind == K::DropDownList || kind == K::ComboBox || kind == K::ListBox ||
           kind == K::IpAddress || kind == K::DateTime;
}

// Shown in its window (the window itself is closed again once its picture is taken).
bool shown(const QWidget* w) { return w->isVisibleTo(w->window()); }

QRect inWindow(const QWidget* w) { return QRect(w->mapTo(w->window(), QPoint(0, 0)), w->size()); }

// A caption (a label or a box with text) and the field after it in the template, on one line.
struct Pair {
    QRect caption;
    QRect field;
    bool grows;  // a multi-line editor: its own row, sized by the room it is given
};

// Checks one dialog or page as drawn: every caption ends close to its field, the first fields of
// the rows share their left edge and their height, and button captions keep a margin.
void expectLaidOut(gui::QtRenderer& renderer, const std::string& where) {
    SCOPED_TRACE(where + " page " + std::to_string(renderer.dialog().dialogTemplate().resourceId));
    const ui::Dialog& d = renderer.dialog();
    const auto& controls = d.controls();
    std::vector<Pair> pairs;
    for (std::size_t i = 0; i + 1 < controls.size(); ++i) {
        const ui::Control& c = *controls[i];
        const ui::Control& next = *controls[i + 1];
        const bool caption = (c.kind() == ui::ControlKind::Static || c.kind() == ui::ControlKind::CheckBox) &&
                             !c.text().empty();
        QWidget* cw = renderer.widgetFor(c.id());
        QWidget* fw = renderer.widgetFor(next.id());
        if (!caption || !inputKind(next.kind()) || !cw || !fw || !shown(cw) || !shown(fw)) continue;
        const QRect cr = inWindow(cw), fr = inWindow(fw);
        if (cr.center().y() < fr.top() || cr.center().y() > fr.bottom()) continue;  // not on one line
        // Where the caption's text ends: a label's own text, or the width a box is given.
        int end = cr.left() + std::max(cw->sizeHint().width(), cw->minimumWidth());
        if (auto* label = qobject_cast<QLabel*>(cw); label && (label->alignment() & Qt::AlignRight))
            end = cr.right();
        const int tolerance = 3 * QFontMetrics(cw->font()).averageCharWidth();
        EXPECT_GE(fr.left(), cr.right()) << c.text() << " overlaps its field";
        EXPECT_LE(fr.left() - end, tolerance) << c.text() << " ends at " << end << ", its field starts at "
                                              << fr.left();
        pairs.push_back({cr, fr, qobject_cast<QPlainTextEdit*>(fw) != nullptr});
    }
    std::vector<QRect> leading;  // the first field of each line
    for (const Pair& p : pairs) {
        const bool first = std::none_of(pairs.begin(), pairs.end(), [&](const Pair& o) {
            return o.field.right() < p.caption.left() && o.field.top() <= p.caption.center().y() &&
                   p.caption.center().y() <= o.field.bottom();
        });
        if (first && !p.grows) leading.push_back(p.field);
    }
    for (const Pair& p : pairs)
        for (const Pair& o : pairs)
            EXPECT_TRUE(&p == &o || !p.field.intersects(o.field)) << "fields overlap: rows squeezed";
    for (const QRect& f : leading) {
        EXPECT_NEAR(f.left(), leading.front().left(), 1) << "fields do not share their left edge";
        EXPECT_NEAR(f.height(), leading.front().height(), 1) << "fields of one page differ in height";
    }
    for (QPushButton* button : renderer.widget()->findChildren<QPushButton*>()) {
        if (!shown(button) || button->text().isEmpty()) continue;
        const QFontMetrics fm(button->font());
        EXPECT_GE(button->width(), fm.horizontalAdvance(button->text()) + 2 * fm.averageCharWidth())
            << button->text().toStdString() << " touches its edges";
    }
    for (ui::Dialog* page : d.children())
        if (gui::QtRenderer* pr = renderer.pageRenderer(*page); pr && page->visible()) expectLaidOut(*pr, where);
}

// Where the pictures go: the build's renders/, or another folder (pictures at another font size).
QString renderDir() {
    const QString other = qEnvironmentVariable("VELMORA_RENDER_DIR");
    return other.isEmpty() ? QStringLiteral(VELMORA_RENDER_DIR) : other;
}

TEST(RenderCatalog, EveryDialogAndSceneMakesAPicture) {
    qtApp();
    const QString dir = renderDir();
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
                expectLaidOut(*opened.renderer, base);
                // Each page of a tab, in the display area it opens in.
                for (const auto& control : opened.dialog->controls()) {
                    if (control->kind() != ui::ControlKind::Tab) continue;
                    for (int page = 1; page < control->count(); ++page) {
                        opened.dialog->selectTab(control->id(), page);
                        const std::string path = base + "-tab" + std::to_string(page) + ".png";
                        ASSERT_TRUE(gui::saveImage(*opened.renderer, path));
                        expectPicture(path);
                        expectLaidOut(*opened.renderer, path);
                    }
                }
            }
            for (const auto& [scene, act] : entry->scenes) {
                SCOPED_TRACE(scene);
                OpenedDialog opened(*entry);
                act(*opened.dialog);

                const std::string path = base + "-" + scene + ".png";
                ASSERT_TRUE(gui::saveImage(*opened.renderer, path));
                expectPicture(path);
                expectLaidOut(*opened.renderer, path);
            }
            app::MenuMode = saved;
        }
    }
}

}  // namespace
}  // namespace velmora::testing
