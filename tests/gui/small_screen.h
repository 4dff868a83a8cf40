// What the small-screen tests share: a program's window, as the X server has it under a
// window manager (openbox), lies wholly on a screen of 1024 x 600.
#pragma once

#include "gui/gui_driver.h"

#include <QWidget>

#include <gtest/gtest.h>

namespace wv::gui {

// The window as X shows it lies inside the root window, its status row (or button) too.
inline void WhollyOnTheScreen(QWidget& window, QWidget* lowest) {
    ASSERT_TRUE(WaitFor([&] { return XFrameGeometry(&window).isValid(); }));
    Pump(150);  // the window manager's last word on the new window
    const QRect screen = XScreenGeometry();
    const QRect frame = XFrameGeometry(&window);
    EXPECT_TRUE(screen.contains(frame)) << "the window reaches off the screen: " << testing::PrintToString(frame);
    if (lowest) {
        const QPoint origin = XClientOrigin(&window) + lowest->mapTo(&window, QPoint(0, 0));
        EXPECT_TRUE(screen.contains(QRect(origin, lowest->size()))) << "cut off: " << lowest->metaObject()->className();
    }
}

inline void StartWindowManagerOrFail() {
    std::string why;
    ASSERT_TRUE(StartWindowManager(&why)) << why;
}

}  // namespace wv::gui
