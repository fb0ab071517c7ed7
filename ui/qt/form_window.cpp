#include "ui/qt/form_window.h"

#include <QCloseEvent>
#include <QComboBox>
#include <QGuiApplication>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScreen>
#include <QScrollArea>
#include <algorithm>
#include <array>
#include <cmath>
#include <map>

#include "ui/app.h"
#include "ui/qt/canvas.h"
#include "ui/qt/combo_style.h"
#include "ui/qt/command_button.h"
#include "ui/qt/convert.h"
#include "ui/qt/option_button.h"
#include "ui/qt/picture_box.h"
#include "ui/qt/pictures.h"

namespace vk41::qt {
namespace {

QString qs(const std::string& s) {
    return QString::fromStdString(s);
}

Qt::ScrollBarPolicy policy(ScrollBars bars, bool vertical) {
    const bool on = bars == ScrollBars::Both ||
                    bars == (vertical ? ScrollBars::Vertical : ScrollBars::Horizontal);
    return on ? Qt::ScrollBarAlwaysOn : Qt::ScrollBarAlwaysOff;
}

QStringList qItems(const std::vector<std::string>& items) {
    QStringList list;
    for (const std::string& item : items) list << qs(item);
    return list;
}

}  // namespace

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
    return QMainWindow::eventFilter(watched, event);
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
            QMenu* menu = menuBar()->addMenu(qs(caption));
            submenus[item.name] = menu;
            continue;
        }
        QAction* action = item.parent.empty() ? menuBar()->addAction(qs(caption))
                                              : submenus.at(item.parent)->addAction(qs(caption));
        connect(action, &QAction::triggered, this,
                [this, caption] { act([&] { form_->chooseMenu(caption); }); });
    }
}

void FormWindow::buildControls() {
    canvases_[nullptr] = client_;
    for (Control& c : form_->controls()) {
        QWidget* parent = canvases_.at(c.container());
        if (QWidget* widget = makeWidget(c, parent)) {
            // Named as the script driver names it: "ContNum", "Комбо1(5)".
            widget->setObjectName(c.index() < 0
                                      ? qs(c.name())
                                      : QStringLiteral("%1(%2)").arg(qs(c.name())).arg(c.index()));
            views_.push_back({&c, widget});
            if (c.kind() == ControlKind::Frame) canvases_[&c] = static_cast<Canvas*>(widget);
        }
    }
}

QWidget* FormWindow::makeWidget(Control& c, QWidget* parent) {
    switch (c.kind()) {
        case ControlKind::Button: {
            auto* button = new CommandButton(parent);
            connect(button, &CommandButton::clicked, this,
                    [this, &c] { act([&] { form_->click(c); }); });
            return button;
        }
        case ControlKind::Option: {
            auto* option = new OptionButton(parent);
            connect(option, &OptionButton::clicked, this,
                    [this, &c] { act([&] { form_->click(c); }); });
            return option;
        }
        case ControlKind::Frame:
            return new Canvas(*form_, &c, afterEvent_, parent);
        case ControlKind::Combo: {
            auto* combo = new QComboBox(parent);
            combo->setStyle(ComboStyle::instance());
            combo->setEditable(true);
            combo->setInsertPolicy(QComboBox::NoInsert);
            // What is typed stays as typed: no inline completion from the list.
            combo->setCompleter(nullptr);
            connect(combo, &QComboBox::editTextChanged, this, [this, &c](const QString& text) {
                if (text.toStdString() == c.text()) return;  // our own sync
                act([&] { form_->typeText(c, text.toStdString()); });
            });
            connect(combo, &QComboBox::activated, this, [this, &c, combo](int row) {
                act([&] { form_->pickItem(c, combo->itemText(row).toStdString()); });
            });
            return combo;
        }
        case ControlKind::TextBox: {
            auto* box = new QPlainTextEdit(parent);
            box->setReadOnly(true);
            return box;
        }
        case ControlKind::Picture:
            return new PictureBox(parent);
        default:
            return nullptr;
    }
}

void FormWindow::syncView(const View& view) {
    const Control& c = *view.control;
    QWidget* w = view.widget;
    // A combo lays its edit field out at its scale when it is resized.
    if (c.kind() == ControlKind::Combo) w->setProperty("designScale", scale_);
    w->setGeometry(qt::rect(c, scale_));
    w->setVisible(c.visible());
    w->setEnabled(c.enabled());
    w->setToolTip(qs(c.toolTip()));
    // Widgets that paint themselves do it at the design size, scaled; the
    // native ones get their font at the scale.
    const bool native = c.kind() == ControlKind::Combo || c.kind() == ControlKind::TextBox;
    const QFont font = native ? toQFont(c.font(), scale_, w->logicalDpiY()) : toQFont(c.font());
    if (w->font() != font) w->setFont(font);
    const DesignScale scale{scale_, pxSize(c.width(), c.height())};
    if (auto* button = dynamic_cast<CommandButton*>(w)) {
        button->setText(qs(c.caption()));
        button->setPicture(embeddedPixmap(c.props().picture));
        button->setScale(scale);
    } else if (auto* option = dynamic_cast<OptionButton*>(w)) {
        option->setText(qs(c.caption()));
        option->setChecked(c.value());
        option->setBackground(toQColor(c.backColor()));
        option->setScale(scale);
    } else if (auto* frame = dynamic_cast<Canvas*>(w)) {
        frame->setScale(scale);
        frame->redrawAll();  // its caption, colour or font may have changed
    } else if (auto* combo = qobject_cast<QComboBox*>(w)) {
        const QStringList items = qItems(c.items());
        if (combo->count() != items.size() ||
            std::any_of(items.begin(), items.end(), [&, i = 0](const QString& s) mutable {
                return combo->itemText(i++) != s;
            })) {
            const QSignalBlocker block(combo);
            combo->clear();
            combo->addItems(items);
        }
        if (combo->currentText().toStdString() != c.text()) {
            const QSignalBlocker block(combo);
            combo->setEditText(qs(c.text()));
        }
    } else if (auto* box = qobject_cast<QPlainTextEdit*>(w)) {
        if (box->toPlainText().toStdString() != c.text()) box->setPlainText(qs(c.text()));
        // A classic text box sets its tab stops eight average characters apart.
        box->setTabStopDistance(8.0 * QFontMetricsF(font).averageCharWidth());
        box->setVerticalScrollBarPolicy(policy(c.props().scrollBars, true));
        box->setHorizontalScrollBarPolicy(policy(c.props().scrollBars, false));
        box->setLineWrapMode(policy(c.props().scrollBars, false) == Qt::ScrollBarAlwaysOn
                                 ? QPlainTextEdit::NoWrap
                                 : QPlainTextEdit::WidgetWidth);
    } else if (auto* picture = dynamic_cast<PictureBox*>(w)) {
        picture->setPicture(c.props().picture);
        picture->setScale(scale);
    }
    w->update();
}

void FormWindow::sync() {
    if (form_->revision() == syncedRevision_) return;
    const bool everything = syncedRevision_ == kNever;
    setWindowTitle(qs(form_->caption()));
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
