#include "ui/qt/form_window.h"

#include <QApplication>
#include <QCloseEvent>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QMenuBar>
#include <QScreen>
#include <QScrollArea>
#include <algorithm>
#include <array>
#include <cmath>
#include <map>

#include "ui/app.h"
#include "ui/qt/canvas.h"
#include "ui/qt/chart_view.h"
#include "ui/qt/combo_box.h"
#include "ui/qt/command_button.h"
#include "ui/qt/convert.h"
#include "ui/qt/option_button.h"
#include "ui/qt/picture_box.h"
#include "ui/qt/table_view.h"
#include "ui/qt/text_box.h"

namespace vk41::qt {

FormWindow::FormWindow(Form& form, std::function<void()> afterEvent)
    : form_(&form), afterEvent_(std::move(afterEvent)) {
    const FormDesign& design = form.design();
    // The client area stands centred on the window's background; zoomed
    // past the window's size, it scrolls.
    area_ = new QScrollArea(this);
    area_->setFrameShape(QFrame::NoFrame);
    area_->setAlignment(Qt::AlignCenter);
    area_->setBackgroundRole(QPalette::Base);
    QPalette palette = area_->palette();
    palette.setColor(QPalette::Base, toQColor(design.backColor));
    area_->setPalette(palette);
    area_->installEventFilter(this);
    client_ = new Canvas(form, nullptr, afterEvent_);
    area_->setWidget(client_);
    setCentralWidget(area_);
    if (design.border == Border::FixedDialog)
        setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                       Qt::WindowCloseButtonHint);
    buildMenu();
    buildZoomKeys();
    buildControls();
    applyScale();
    fitWindowTo(1.0);
    sync();
}

// A combo that loses the focus as its window goes may still report a typed
// entry; nothing of the window is left to act on it then.
FormWindow::~FormWindow() {
    for (const View& view : views_) view.widget->disconnect(this);
}

QSize FormWindow::clientSize(double scale) const {
    return pxSize(form_->design().width, form_->design().height, scale);
}

int FormWindow::menuHeight() const {
    return menuBar()->actions().isEmpty() ? 0 : menuBar()->sizeHint().height();
}

void FormWindow::setScale(double scale) {
    scale = std::clamp(scale, 0.2, 4.0);
    if (scale == scale_) return;
    scale_ = scale;
    applyScale();
}

void FormWindow::fitWindowTo(double scale) {
    setScale(scale);
    fittedArea_ = client_->size();
    const QSize wanted = fittedArea_ + QSize(0, menuHeight());
    if (form_->design().border == Border::FixedDialog)
        setFixedSize(wanted);
    else
        resize(wanted);
}

void FormWindow::fitToScreen() {
    const QScreen* screen = this->screen() ? this->screen() : QGuiApplication::primaryScreen();
    if (!screen) return;
    // The window manager's frame is not known before the window is shown:
    // room for a title bar and borders is left.
    const QSize frame(16, 40);
    const QSize room = screen->availableGeometry().size() - frame - QSize(0, menuHeight());
    const QSize full = clientSize(1.0);
    const double fit =
        std::min({1.0, double(room.width()) / full.width(), double(room.height()) / full.height()});
    fitWindowTo(std::floor(fit * 100) / 100);
}

// The user resized the window: the client area follows, its proportions kept.
void FormWindow::areaResized() {
    const QSize area = area_->size();
    if (area.isEmpty() || area == fittedArea_) return;
    fittedArea_ = area;
    const QSize full = clientSize(1.0);
    setScale(std::min(double(area.width()) / full.width(), double(area.height()) / full.height()));
}

bool FormWindow::eventFilter(QObject* watched, QEvent* event) {
    if (watched == area_ && event->type() == QEvent::Resize) areaResized();
    // A combo's line edit would take Ctrl+Z for its own undo: the window's
    // menu keys come first, so undo is the window's, over all its cells.
    const auto* widget = qobject_cast<QWidget*>(watched);
    if (event->type() == QEvent::ShortcutOverride && widget && widget->window() == this &&
        isMenuKey(*static_cast<QKeyEvent*>(event))) {
        event->ignore();
        return true;
    }
    return QMainWindow::eventFilter(watched, event);
}

bool FormWindow::isMenuKey(const QKeyEvent& key) const {
    const QKeySequence pressed(key.keyCombination());
    return std::any_of(menuKeys_.begin(), menuKeys_.end(),
                       [&](const QKeySequence& k) { return k == pressed; });
}

namespace {

// The steps of the keyboard zoom.
constexpr std::array kZoomSteps = {0.5, 0.6, 0.75, 0.9, 1.0, 1.25, 1.5, 1.75, 2.0, 2.5, 3.0};

}  // namespace

void FormWindow::zoomIn() {
    for (double step : kZoomSteps)
        if (step > scale_ + 1e-6) return setScale(step);
}

void FormWindow::zoomOut() {
    for (auto it = kZoomSteps.rbegin(); it != kZoomSteps.rend(); ++it)
        if (*it < scale_ - 1e-6) return setScale(*it);
}

void FormWindow::buildZoomKeys() {
    struct Key {
        QKeySequence keys;
        void (FormWindow::*zoom)();
    };
    const Key keys[] = {{QKeySequence::ZoomIn, &FormWindow::zoomIn},
                        {QKeySequence(Qt::CTRL | Qt::Key_Equal), &FormWindow::zoomIn},
                        {QKeySequence::ZoomOut, &FormWindow::zoomOut},
                        {QKeySequence(Qt::CTRL | Qt::Key_0), nullptr}};
    for (const Key& key : keys) {
        auto* action = new QAction(this);
        action->setShortcut(key.keys);
        action->setShortcutContext(Qt::WindowShortcut);
        connect(action, &QAction::triggered, this, [this, zoom = key.zoom] {
            if (zoom)
                (this->*zoom)();
            else
                setScale(1.0);
        });
        addAction(action);
    }
}

// Lays every widget out anew at the scale in force and repaints it all.
void FormWindow::applyScale() {
    client_->setFixedSize(clientSize(scale_));
    client_->setScale({scale_, clientSize(1.0)});
    for (const View& view : views_) syncView(view);
    for (auto& [container, canvas] : canvases_) canvas->redrawAll();
}

Canvas* FormWindow::clientArea() const {
    return client_;
}

void FormWindow::act(const std::function<void()>& action) {
    action();
    if (afterEvent_) afterEvent_();
}

void FormWindow::buildMenu() {
    const auto& items = form_->design().menu;
    if (items.empty()) return;
    std::map<std::string, QMenu*> submenus;
    for (const MenuDesign& item : items) {
        const bool hasChildren = std::any_of(
            items.begin(), items.end(), [&](const MenuDesign& m) { return m.parent == item.name; });
        const std::string caption = item.caption;
        if (hasChildren) {
            QMenu* menu = menuBar()->addMenu(toQString(caption));
            submenus[item.name] = menu;
            continue;
        }
        QAction* action = item.parent.empty()
                              ? menuBar()->addAction(toQString(caption))
                              : submenus.at(item.parent)->addAction(toQString(caption));
        connect(action, &QAction::triggered, this,
                [this, caption] { act([&] { form_->chooseMenu(caption); }); });
        if (item.key.empty()) continue;
        const QKeySequence keys(toQString(item.key));
        action->setShortcut(keys);
        action->setShortcutContext(Qt::WindowShortcut);
        menuKeys_.push_back(keys);
    }
    // The keys reach the window from whichever of its widgets has the focus.
    if (!menuKeys_.empty()) qApp->installEventFilter(this);
}

void FormWindow::buildControls() {
    canvases_[nullptr] = client_;
    for (Control& c : form_->controls()) {
        const View view = makeView(c, canvases_.at(c.container()));
        if (!view.widget) continue;
        // Named as the script driver names it: "ContNum", "Комбо1(5)".
        view.widget->setObjectName(
            c.index() < 0 ? toQString(c.name())
                          : QStringLiteral("%1(%2)").arg(toQString(c.name())).arg(c.index()));
        views_.push_back(view);
        if (c.kind() == ControlKind::Frame) canvases_[&c] = static_cast<Canvas*>(view.widget);
    }
}

// A windowed control's widget, wired to pass the user's actions to the
// model; lightweight controls have none, their container's canvas draws them.
FormWindow::View FormWindow::makeView(Control& c, QWidget* parent) {
    switch (c.kind()) {
        case ControlKind::Button: {
            auto* button = new CommandButton(parent);
            connect(button, &CommandButton::clicked, this,
                    [this, &c] { act([&] { form_->click(c); }); });
            return {&c, button, button};
        }
        case ControlKind::Option: {
            auto* option = new OptionButton(parent);
            connect(option, &OptionButton::clicked, this,
                    [this, &c] { act([&] { form_->click(c); }); });
            return {&c, option, option};
        }
        case ControlKind::Frame: {
            auto* frame = new Canvas(*form_, &c, afterEvent_, parent);
            return {&c, frame, frame};
        }
        case ControlKind::Combo: {
            auto* combo = new ComboBox(parent);
            connect(combo, &QComboBox::editTextChanged, this, [this, &c](const QString& text) {
                if (text.toStdString() == c.text()) return;  // our own sync
                act([&] { form_->typeText(c, text.toStdString()); });
            });
            connect(combo, &QComboBox::activated, this, [this, &c, combo](int row) {
                act([&] { form_->pickItem(c, combo->itemText(row).toStdString()); });
            });
            return {&c, combo, combo};
        }
        case ControlKind::TextBox: {
            auto* box = new TextBox(parent);
            return {&c, box, box};
        }
        case ControlKind::Picture: {
            auto* picture = new PictureBox(parent);
            return {&c, picture, picture};
        }
        case ControlKind::Chart: {
            auto* chart = new ChartView(parent, [this, &c](std::optional<double> time) {
                act([&] {
                    if (c.chart()) c.chart()->pointAt(time);
                });
            });
            return {&c, chart, chart};
        }
        case ControlKind::Table: {
            auto* table = new TableView(parent, [this, &c](int row) {
                act([&] {
                    if (c.table()) c.table()->selectRow(row);
                });
            });
            return {&c, table, table};
        }
        default:
            return {&c, nullptr, nullptr};
    }
}

void FormWindow::syncView(const View& view) {
    view.view->showControl(*view.control, scale_);
    view.widget->update();
}

void FormWindow::sync() {
    if (form_->revision() == syncedRevision_) return;
    const bool everything = syncedRevision_ == kNever;
    setWindowTitle(toQString(form_->caption()));
    for (const View& view : views_)
        if (everything || view.control->changedAt() > syncedRevision_) syncView(view);
    repaintChanged(everything);
    syncedRevision_ = form_->revision();
}

// Repaints where each changed line, shape or label was and where it is now,
// not the whole scheme: most ticks move a handful of its six hundred parts.
void FormWindow::repaintChanged(bool everything) {
    std::map<Canvas*, QRegion> dirty;
    for (const Control& c : form_->controls()) {
        if (!isLightweight(c) || (!everything && c.changedAt() <= syncedRevision_)) continue;
        const QRect now = paintBounds(c);
        QRect& before = painted_[&c];
        QRegion& region = dirty[canvases_.at(c.container())];
        region += before;
        region += now;
        before = now;
    }
    if (everything) {
        for (auto& [container, canvas] : canvases_) canvas->redrawAll();
        return;
    }
    for (auto& [canvas, region] : dirty) {
        if (scale_ == 1.0) {
            canvas->redraw(region);
            continue;
        }
        QRegion scaled;
        for (const QRect& r : region) scaled += scaledOut(r, scale_);
        canvas->redraw(scaled);
    }
}

void FormWindow::closeEvent(QCloseEvent* event) {
    // The title-bar button unloads the window; the registry decides the rest.
    event->ignore();
    act([this] { form_->app().close(form_->name()); });
}

}  // namespace vk41::qt
