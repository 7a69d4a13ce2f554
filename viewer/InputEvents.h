#pragma once

// What the input layer hands to the frame listener for one key or mouse event: the same values
// the engine's former buffered input events carried, so the listener stays independent of the
// input library.

// The key codes the viewer acts on: DirectInput keyboard scan codes, as the input layer
// delivers them. Other keys arrive with their own codes and only reach the GUI.
namespace Key {
enum Code : int {
    Escape = 1,
    Q = 16,
    W = 17,
    E = 18,
    P = 25,
    Return = 28,
    A = 30,
    S = 31,
    D = 32,
    F = 33,
    N = 49,
    F12 = 88,
    Up = 200,
    PageUp = 201,
    Left = 203,
    Right = 205,
    Down = 208,
    PageDown = 209,
};
} // namespace Key

struct KeyEvent {
    int key = 0;          // DirectInput keyboard scan code
    char keyChar = 0;     // the 8-bit character the key press produced, 0 for none
    bool control = false; // a Ctrl key was held
};

// Button IDs of the former engine input events; other buttons carry higher bits.
constexpr int firstMouseButton = 16;
constexpr int secondMouseButton = 32;
constexpr int thirdMouseButton = 64;
constexpr int fourthMouseButton = 128;

struct MouseEvent {
    int buttonId = 0;
    // Motion since the previous event, as fractions of the window's width and height.
    float relX = 0.0f;
    float relY = 0.0f;
    // Where the system pointer is, as fractions of the window's width and height.
    float x = 0.0f;
    float y = 0.0f;
};
