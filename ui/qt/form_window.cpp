#include "ui/qt/form_window.h"

#include <QCloseEvent>
#include <QComboBox>
#include <QGuiApplication>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScreen>
#include <QScrollArea>
#include <map>

#include "ui/app.h"
#include "ui/qt/canvas.h"
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
    // The client area keeps its design size; on a screen too small for it
    // the window scrolls instead of running off the screen.
    auto* scroll = new QScrollArea(this);
    scroll->setFrameShape(QFrame::NoFrame);
    scroll->setBackgroundRole(QPalette::Base);
    QPalette palette = scroll->palette();
    palette.setColor(QPalette::Base, toQColor(design.backColor));
    scroll->setPalette(palette);
    client_ = new Canvas(form, nullptr, afterEvent_);
    client_->setFixedSize(pxRound(design.width), pxRound(design.height));
    scroll->setWidget(client_);
    setCentralWidget(scroll);
    if (design.border == Border::FixedDialog)
        setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                       Qt::WindowCloseButtonHint);
    buildMenu();
    buildControls();
    fitToScreen(design.border == Border::FixedDialog);
    sync();
}

// A combo that loses the focus as its window goes may still report a typed
// entry; nothing of the window is left to act on it then.
FormWindow::~FormWindow() {
    for (const View& view : views_) view.widget->disconnect(this);
}

// The design's size, or the screen's room if that is less.
void FormWindow::fitToScreen(bool fixed) {
    const int bar = menuBar()->isVisible() || !menuBar()->actions().isEmpty()
                        ? menuBar()->sizeHint().height()
                        : 0;
    QSize wanted(client_->width(), client_->height() + bar);
    if (const QScreen* screen = QGuiApplication::primaryScreen())
        wanted = wanted.boundedTo(screen->availableGeometry().size() * 0.95);
    if (fixed)
        setFixedSize(wanted);
    else
        resize(wanted);
}

QWidget* FormWindow::clientArea() const {
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
            if (c.kind() == ControlKind::Frame) canvases_[&c] = widget;
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
    w->setGeometry(qt::rect(c));
    w->setVisible(c.visible());
    w->setEnabled(c.enabled());
    w->setToolTip(qs(c.toolTip()));
    const QFont font = toQFont(c.font());
    if (w->font() != font) w->setFont(font);
    if (auto* button = dynamic_cast<CommandButton*>(w)) {
        button->setText(qs(c.caption()));
        button->setPicture(embeddedPixmap(c.props().picture));
    } else if (auto* option = dynamic_cast<OptionButton*>(w)) {
        option->setText(qs(c.caption()));
        option->setChecked(c.value());
        option->setBackground(toQColor(c.backColor()));
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
    std::map<QWidget*, QRegion> dirty;
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
        for (auto& [container, canvas] : canvases_) canvas->update();
        return;
    }
    for (auto& [canvas, region] : dirty) canvas->update(region);
}

void FormWindow::closeEvent(QCloseEvent* event) {
    // The title-bar button unloads the window; the registry decides the rest.
    event->ignore();
    act([this] { form_->app().close(form_->name()); });
}

}  // namespace vk41::qt
