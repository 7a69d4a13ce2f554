#pragma once

// What the input layer hands to the frame listener for one key or mouse event: the same values
// the engine's former buffered input events carried, so the listener stays independent of the
// input library.

struct KeyEvent {
    int key = 0;      // DirectInput keyboard scan code
    char keyChar = 0; // the 8-bit character the key press produced, 0 for none
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
