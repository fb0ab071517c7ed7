#pragma once

#include <QMainWindow>
#include <QRect>
#include <cstdint>
#include <functional>
#include <map>
#include <vector>

#include "ui/form.h"

namespace vk41::qt {

class Canvas;

// The top-level Qt window of one form: its menu bar, the client area at 15
// twips to a pixel with the lightweight controls painted on it, and the
// windowed controls as child widgets above them. It only shows the model and
// passes the user's actions to it; `afterEvent` then syncs every window.
class FormWindow : public QMainWindow {
  public:
    FormWindow(Form& form, std::function<void()> afterEvent);
    ~FormWindow() override;

    Form& form() const { return *form_; }
    QWidget* clientArea() const;
    // Brings the widgets in line with the model, if the form changed since.
    void sync();

  protected:
    void closeEvent(QCloseEvent* event) override;

  private:
    struct View {
        Control* control;
        QWidget* widget;
    };
    void buildMenu();
    void fitToScreen(bool fixed);
    void buildControls();
    QWidget* makeWidget(Control& control, QWidget* parent);
    void syncView(const View& view);
    void act(const std::function<void()>& action);
    void repaintChanged(bool everything);

    Form* form_;
    std::function<void()> afterEvent_;
    Canvas* client_{nullptr};
    std::vector<View> views_;
    std::map<const Control*, QWidget*> canvases_;  // by container; the window's is null
    std::map<const Control*, QRect> painted_;      // where each lightweight control was drawn
    static constexpr std::uint64_t kNever = ~0ull;
    std::uint64_t syncedRevision_{kNever};
};

}  // namespace vk41::qt
