#pragma once

#include <QKeySequence>
#include <QMainWindow>
#include <QRect>
#include <cstdint>
#include <functional>
#include <map>
#include <vector>

#include "ui/form.h"
#include "ui/qt/canvas.h"
#include "ui/qt/control_view.h"

class QScrollArea;

class QKeyEvent;

namespace vk41::qt {

// The top-level Qt window of one form: its menu bar, the client area with
// the lightweight controls painted on it, and the windowed controls as child
// widgets above them. It only shows the model and passes the user's actions
// to it; `afterEvent` then syncs every window.
//
// The client area is drawn at a scale of the design (1: 15 twips to a
// pixel), everything in it together. It follows the window's size, keeping
// its proportions; Ctrl+Plus, Ctrl+Minus and Ctrl+0 zoom it, scrolling past
// the window's size.
class FormWindow : public QMainWindow {
  public:
    FormWindow(Form& form, std::function<void()> afterEvent);
    ~FormWindow() override;

    Form& form() const { return *form_; }
    Canvas* clientArea() const;
    // Brings the widgets in line with the model, if the form changed since.
    void sync();

    double scale() const { return scale_; }
    // The client area at that scale, the window as it is.
    void setScale(double scale);
    // The client area at that scale, and the window sized to hold it.
    void fitWindowTo(double scale);
    // The largest scale at or below 1 at which the window fits its screen.
    void fitToScreen();
    void zoomIn();
    void zoomOut();

  protected:
    void closeEvent(QCloseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;
    bool isMenuKey(const QKeyEvent& key) const;

  private:
    // A windowed control's widget; it updates itself from its control.
    struct View {
        Control* control;
        QWidget* widget;
        ControlView* view;
    };
    void buildMenu();
    void buildZoomKeys();
    void buildControls();
    QSize clientSize(double scale) const;
    int menuHeight() const;
    void areaResized();
    void applyScale();
    View makeView(Control& control, QWidget* parent);
    void syncView(const View& view);
    void act(const std::function<void()>& action);
    void repaintChanged(bool everything);

    Form* form_;
    std::function<void()> afterEvent_;
    QScrollArea* area_{nullptr};
    Canvas* client_{nullptr};
    double scale_{1.0};
    QSize fittedArea_;  // the area's size the scale was last fitted to
    std::vector<View> views_;
    std::map<const Control*, Canvas*> canvases_;  // by container; the window's is null
    std::map<const Control*, QRect> painted_;     // where each lightweight control was drawn
    static constexpr std::uint64_t kNever = ~0ull;
    std::uint64_t syncedRevision_{kNever};
    std::vector<QKeySequence> menuKeys_;  // the menu items' keys
};

}  // namespace vk41::qt
