#pragma once
// The three messages the mouse-hook library posts to the main window,
// registered by name so that the library and the program agree on their
// numbers. Registered at start-up; the first call registers them.

struct MouseHookMessages {
    unsigned down = 0; // "WM_USER_MOUSEDOWN_MSG": the button went down
    unsigned up = 0;   // "WM_USER_MOUSEUP_MSG": the button went up
    unsigned move = 0; // "WM_USER_MOUSEMOVE_MSG": the mouse moved
};

const MouseHookMessages& RegisterMouseHookMessages();

// Each message's number, for message-table entries of registered messages.
unsigned MouseDownMessage();
unsigned MouseUpMessage();
unsigned MouseMoveMessage();
