// Draws every dialog of the catalog, as it opens (each tab page in its display area) and in each
// of its scenes, into renders/<name>.png, <name>-tab<n>.png and <name>-<scene>.png, and checks
// each picture has something in it.
#include <gtest/gtest.h>

#include <QCheckBox>
#include <QDir>
#include <QFontMetrics>
#include <QGroupBox>
#include <QGuiApplication>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QScrollBar>
#include <QSet>
#include <QWidget>
#include <algorithm>
#include <cstdlib>

#include "app/dialogcatalog.h"
#include "app/menumode.h"
#include "gui/qtrenderer.h"
#include "gui/screenfit.h"
#include "qtapp.h"
#include "resources/templates_settings.h"
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
    bool grows;         // a multi-line editor: its own row, sized by the room it is given
    bool rightAligned;  // the caption's text ends at its field
    bool box;           // the field is a check box of its own, without text
    bool ticks;         // the caption is a check box's text, after its box
};

// Checks one dialog or page as drawn: every caption ends close to its field, the first fields of
// the rows of one column share their left edge and their height, captions of fields that share
// an edge share their alignment, spin arrows sit against their field, and button captions keep a
// margin.
void expectLaidOut(gui::QtRenderer& renderer, const std::string& where) {
    SCOPED_TRACE(where + " page " + std::to_string(renderer.dialog().dialogTemplate().resourceId));
    const ui::Dialog& d = renderer.dialog();
    const auto& controls = d.controls();
    std::vector<Pair> pairs;
    for (std::size_t i = 0; i + 1 < controls.size(); ++i) {
        const ui::Control& c = *controls[i];
        const ui::Control& next = *controls[i + 1];
        QWidget* cw = renderer.widgetFor(c.id());
        QWidget* fw = renderer.widgetFor(next.id());
        if (!cw || !fw || !shown(cw) || !shown(fw)) continue;
        if (c.kind() == ui::ControlKind::Edit && next.kind() == ui::ControlKind::Spin) {
            EXPECT_LE(inWindow(fw).left() - inWindow(cw).right() - 1, 1) << "spin arrows stand apart from their field";
            continue;
        }
        const bool box = next.kind() == ui::ControlKind::CheckBox && next.text().empty();
        const bool boxFirst = c.kind() == ui::ControlKind::CheckBox && c.text().empty();
        if (boxFirst && next.kind() == ui::ControlKind::CheckBox && !next.text().empty()) {
            const QRect first = inWindow(cw), second = inWindow(fw);
            EXPECT_FALSE(second.top() <= first.center().y() && first.center().y() <= second.bottom())
                << "two check boxes in front of " << next.text();
        }
        const bool caption = (c.kind() == ui::ControlKind::Static || c.kind() == ui::ControlKind::CheckBox) &&
                             !c.text().empty();
        if (!caption || !(inputKind(next.kind()) || box)) continue;
        const QRect cr = inWindow(cw), fr = inWindow(fw);
        if (cr.center().y() < fr.top() || cr.center().y() > fr.bottom()) continue;  // not on one line
        // Where the caption's text ends: a label's own text, or the width a box is given.
        int end = cr.left() + std::max(cw->sizeHint().width(), cw->minimumWidth());
        auto* label = qobject_cast<QLabel*>(cw);
        const bool right = label && (label->alignment() & Qt::AlignRight);
        if (right) end = cr.right();
        const int tolerance = 3 * QFontMetrics(cw->font()).averageCharWidth();
        EXPECT_GE(fr.left(), cr.right()) << c.text() << " overlaps its field";
        EXPECT_LE(fr.left() - end, tolerance) << c.text() << " ends at " << end << ", its field starts at "
                                              << fr.left();
        pairs.push_back({cr, fr, qobject_cast<QPlainTextEdit*>(fw) != nullptr, right, box, label == nullptr});
    }
    std::vector<const Pair*> leading;  // the first field of each line
    for (const Pair& p : pairs) {
        const bool first = std::none_of(pairs.begin(), pairs.end(), [&](const Pair& o) {
            return o.field.right() < p.caption.left() && o.field.top() <= p.caption.center().y() &&
                   p.caption.center().y() <= o.field.bottom();
        });
        if (first && !p.grows) leading.push_back(&p);
    }
    for (const Pair& p : pairs)
        for (const Pair& o : pairs) {
            EXPECT_TRUE(&p == &o || !p.field.intersects(o.field)) << "fields overlap: rows squeezed";
            // A label's alignment; a box's caption always follows its box.
            if (std::abs(p.field.left() - o.field.left()) <= 1 && !p.box && !o.box && !p.ticks && !o.ticks) {
                EXPECT_EQ(p.rightAligned, o.rightAligned) << "captions of one column differ in alignment";
            }
        }
    const Pair* firstField = nullptr;
    for (const Pair* f : leading) {
        if (f->box) continue;
        if (!firstField) firstField = f;
        EXPECT_NEAR(f->field.height(), firstField->field.height(), 1) << "fields of one page differ in height";
        for (const Pair* o : leading)  // rows of one column: their captions overlap
            if (!o->box && o->caption.left() <= f->caption.right() && f->caption.left() <= o->caption.right()) {
                EXPECT_NEAR(f->field.left(), o->field.left(), 1) << "fields do not share their left edge";
            }
    }
    for (QPushButton* button : renderer.widget()->findChildren<QPushButton*>()) {
        if (!shown(button) || button->text().isEmpty()) continue;
        const QFontMetrics fm(button->font());
        EXPECT_GE(button->width(), fm.horizontalAdvance(button->text()) + 2 * fm.averageCharWidth())
            << button->text().toStdString() << " touches its edges";
    }
    for (ui::Dialog* page : d.children())
        if (gui::QtRenderer* pr = renderer.pageRenderer(*page); pr && page->visible()) expectLaidOut(*pr, where);
    // A page in a tab's display area uses its height: what it shows reaches two thirds down.
    for (const auto& c : controls) {
        if (c->kind() != ui::ControlKind::Tab) continue;
        for (ui::Dialog* page : d.tabPages(c->id())) {
            gui::QtRenderer* pr = page ? renderer.pageRenderer(*page) : nullptr;
            if (!pr || !page->visible() || !shown(pr->widget())) continue;
            const QWidget* area = pr->widget();
            int lowest = 0;
            for (const QWidget* w : area->findChildren<QWidget*>())
                if (shown(w) && w->parentWidget() == area) lowest = std::max(lowest, w->geometry().bottom());
            EXPECT_GE(lowest, area->height() * 2 / 3) << "the page uses " << lowest << " of its " << area->height()
                                                      << " pixels' height";
        }
    }
}

// The window fits the screen it opens on, title bar included, and lies on it: as opened, and
// at the least size its contents accept, so no control is ever out of reach.
void expectOnScreen(const QWidget* window, const std::string& where) {
    SCOPED_TRACE(where);
    const QSize room = gui::windowRoom(window);
    const QSize least = window->minimumSizeHint().expandedTo(window->minimumSize());
    EXPECT_TRUE(least.width() <= room.width() && least.height() <= room.height())
        << "needs " << least.width() << "x" << least.height() << ", the screen has room for " << room.width()
        << "x" << room.height();
    EXPECT_TRUE(window->width() <= room.width() && window->height() <= room.height())
        << "opens at " << window->width() << "x" << window->height() << ", the screen has room for "
        << room.width() << "x" << room.height();
    const QRect screen = window->screen()->availableGeometry();
    EXPECT_TRUE(screen.contains(window->geometry())) << "opens off the screen";
}

// Whether a one-line text fits the width it has, and its height.
bool lineFits(const QFontMetrics& fm, const QString& text, const QRect& box) {
    return fm.horizontalAdvance(text) <= box.width() && fm.height() <= box.height() + 1;
}

// Every caption, label and read-only field shows its text whole: nothing cut at the side or half
// a line shown, and no read-only view that needs scrolling sideways to read a line.
void expectTextsWhole(const QWidget* root, const std::string& where) {
    SCOPED_TRACE(where);
    for (const QLabel* label : root->findChildren<QLabel*>()) {
        if (!shown(label) || label->text().isEmpty()) continue;
        const QFontMetrics fm(label->font());
        const QRect box = label->contentsRect();
        const QString text = label->text();
        if (label->wordWrap()) {
            EXPECT_LE(label->heightForWidth(label->width()), label->height() + 1)
                << text.toStdString() << " is cut off below";
            continue;
        }
        const QStringList lines = text.split(u'\n');
        int widest = 0;
        for (const QString& line : lines) widest = std::max(widest, fm.horizontalAdvance(line));
        EXPECT_LE(widest, box.width()) << text.toStdString() << " is cut off at the side";
        EXPECT_LE(fm.lineSpacing() * (lines.size() - 1) + fm.height(), box.height() + 1)
            << text.toStdString() << " is cut off below";
    }
    for (const QAbstractButton* box : root->findChildren<QAbstractButton*>()) {
        if (!shown(box) || box->text().isEmpty() || qobject_cast<const QPushButton*>(box)) continue;
        EXPECT_LE(box->sizeHint().width(), box->width()) << box->text().toStdString() << " is cut off";
    }
    for (const QGroupBox* frame : root->findChildren<QGroupBox*>()) {
        if (!shown(frame) || frame->title().isEmpty()) continue;
        EXPECT_LE(QFontMetrics(frame->font()).horizontalAdvance(frame->title()), frame->width())
            << frame->title().toStdString() << " is cut off";
    }
    for (const QLineEdit* field : root->findChildren<QLineEdit*>()) {
        if (!shown(field) || !field->isReadOnly() || field->text().isEmpty()) continue;
        const QRect inside = field->contentsRect().marginsRemoved(field->textMargins());
        EXPECT_TRUE(lineFits(QFontMetrics(field->font()), field->displayText(), inside.adjusted(0, 0, -4, 0)))
            << field->text().toStdString() << " is cut off";
    }
    for (const QPlainTextEdit* view : root->findChildren<QPlainTextEdit*>()) {
        if (!shown(view) || !view->isReadOnly()) continue;
        EXPECT_EQ(view->horizontalScrollBar()->maximum(), 0)
            << view->toPlainText().left(60).toStdString() << "... needs scrolling sideways";
    }
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
                expectTextsWhole(opened.renderer->widget()->window(), base);
                expectOnScreen(opened.renderer->widget()->window(), base);
                // Each page of a tab, in the display area it opens in.
                for (const auto& control : opened.dialog->controls()) {
                    if (control->kind() != ui::ControlKind::Tab) continue;
                    for (int page = 1; page < control->count(); ++page) {
                        opened.dialog->selectTab(control->id(), page);
                        const std::string path = base + "-tab" + std::to_string(page) + ".png";
                        ASSERT_TRUE(gui::saveImage(*opened.renderer, path));
                        expectPicture(path);
                        expectLaidOut(*opened.renderer, path);
                        expectTextsWhole(opened.renderer->widget()->window(), path);
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
                expectTextsWhole(opened.renderer->widget()->window(), path);
            }
            app::MenuMode = saved;
        }
    }
}

// The code page page's two lists, one under the other, are as wide as each other.
TEST(RenderCatalog, CodePageListsShareTheirWidth) {
    qtApp();
    OpenedDialog opened(*app::findDialog("native-language"));
    ASSERT_TRUE(gui::saveImage(*opened.renderer, QDir::temp().filePath("velmora-language.png").toStdString()));
    const QWidget* codePage = opened.renderer->widgetFor(resources::IDC_LANG_CODEPAGE);
    const QWidget* ics = opened.renderer->widgetFor(resources::IDC_LANG_ICS);
    ASSERT_TRUE(codePage && ics);
    EXPECT_EQ(inWindow(codePage).left(), inWindow(ics).left());
    EXPECT_EQ(codePage->width(), ics->width());
}

// Each button of a menu view stands in a frame, as the view groups what its buttons open.
TEST(RenderCatalog, MenuButtonsStandInFrames) {
    qtApp();
    for (int mode : {0, 1}) {
        const int saved = app::MenuMode;
        app::MenuMode = mode;
        OpenedDialog opened(*app::findDialog("main"));
        app::MenuMode = saved;
        ASSERT_TRUE(gui::saveImage(*opened.renderer, QDir::temp().filePath("velmora-menu.png").toStdString()));
        int buttons = 0;
        for (ui::Dialog* page : opened.dialog->children()) {
            gui::QtRenderer* view = opened.renderer->pageRenderer(*page);
            if (!view || !page->visible()) continue;
            for (const QPushButton* button : view->widget()->findChildren<QPushButton*>()) {
                if (!shown(button)) continue;
                ++buttons;
                const QWidget* frame = button->parentWidget();
                while (frame && frame != view->widget() && !qobject_cast<const QGroupBox*>(frame))
                    frame = frame->parentWidget();
                EXPECT_TRUE(qobject_cast<const QGroupBox*>(frame))
                    << "mode " << mode << ": " << button->text().toStdString() << " stands outside any frame";
            }
        }
        EXPECT_GE(buttons, 7) << "mode " << mode;
    }
}

}  // namespace
}  // namespace velmora::testing
