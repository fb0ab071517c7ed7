#pragma once

#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QMenuBar>
#include <QString>

#include "ui/qt/form_window.h"

namespace vk41::testing {

// The Qt window the shell shows for a form, by the form's name; null when
// there is none yet.
inline qt::FormWindow* windowOf(const char* name) {
    for (QWidget* w : QApplication::topLevelWidgets())
        if (auto* window = dynamic_cast<qt::FormWindow*>(w);
            window && window->form().name() == name)
            return window;
    return nullptr;
}

// Chooses a menu-bar item of a shown window, as a click on it does.
inline void chooseMenu(const char* window, const QString& caption) {
    qt::FormWindow* w = windowOf(window);
    ASSERT_NE(w, nullptr) << window;
    for (QAction* a : w->menuBar()->actions())
        if (a->text() == caption) return a->trigger();
    FAIL() << "no menu item " << caption.toStdString();
}

}  // namespace vk41::testing
