#pragma once
// Pictures of the screen: saved as BMP files, or read as pixels to check
// the colours a control was drawn in.

#include <windows.h>

#include <string>
#include <vector>

// The whole screen as a 24-bit bottom-up BMP file.
bool SaveScreen(const std::wstring& path);

// The pixels of a screen rectangle, top row first, as COLORREF values.
struct ScreenPixels {
    int width = 0;
    int height = 0;
    std::vector<COLORREF> pixels;
    COLORREF At(int x, int y) const { return pixels[static_cast<size_t>(y) * width + x]; }
    // How many pixels have exactly this colour.
    int Count(COLORREF colour) const;
    // True when some row has at least three quarters of its pixels in colour
    // (an underline).
    bool HasLineOf(COLORREF colour) const;
};
ScreenPixels CaptureScreenRect(const RECT& rect);
// The client area of a window, from the screen.
ScreenPixels CaptureClient(HWND window);

// Puts a top-level window above all others at a lower corner of the screen,
// where the centred windows of tests running beside it do not reach, so that
// what it shows can be read off the screen.
enum class ScreenCorner { kBottomLeft, kBottomRight };
void PinToCorner(HWND window, ScreenCorner corner);
