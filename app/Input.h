// Keyboard and mouse state, written by the window procedure as messages
// arrive and polled once per frame. Zero-initialised, so it is valid before
// any code runs, including messages sent while the window is created.
#pragma once

class Input {
public:
    static constexpr int keyCount = 256; // virtual-key codes 0 to 255

    // Codes outside 0 to 255 are ignored (and read as up).
    void keyDown(int key);
    void keyUp(int key);
    bool isKeyDown(int key) const;

    // A step is the previous position minus the new one, so moving right or
    // down gives a negative step. Each move overwrites the step.
    void setMouseX(int x);
    void setMouseY(int y);
    int getMouseX() const { return mouseX; }
    int getMouseY() const { return mouseY; }
    // returns the last x step and clears it
    int getMouseDeltaX();
    // returns the last y step and clears it
    int getMouseDeltaY();

    void setLeftMouseButton(bool down) { leftMouseButton = down; }
    bool isLeftMouseButtonDown() const { return leftMouseButton; }

private:
    static bool isValidKey(int key) { return key >= 0 && key < keyCount; }

    bool keys[keyCount] = {};
    int mouseX = 0;
    int mouseY = 0;
    int mouseDeltaX = 0;
    int mouseDeltaY = 0;
    bool leftMouseButton = false;
};
