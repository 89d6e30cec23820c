#pragma once
// The key numbers tools receive, from Qt's key events.

class QKeyEvent;

enum VirtualKey : int {
    VK_BACK = 8,
    VK_RETURN = 13,
    VK_SHIFT = 16,
    VK_CONTROL = 17,
    VK_ESCAPE = 27,
    VK_SPACE = 32,
    VK_LEFT = 37,
    VK_UP = 38,
    VK_RIGHT = 39,
    VK_DOWN = 40,
    VK_DELETE = 46,
};

// The virtual-key code of a key event (8 Backspace, 16 Shift, 17 Ctrl, 37-40 arrows,
// 46 Delete, letters and digits as their upper-case codes), or 0 for keys tools never see.
int VirtualKeyFor(const QKeyEvent& event);
