#include "screen_capture.h"

namespace {

// The screen rectangle as 24-bit rows, bottom row first, in BGR order.
std::vector<BYTE> GrabRows(const RECT& rect, BITMAPINFOHEADER* info)
{
    int width = rect.right - rect.left;
    int height = rect.bottom - rect.top;
    HDC screen = GetDC(nullptr);
    HDC memory = CreateCompatibleDC(screen);
    HBITMAP bitmap = CreateCompatibleBitmap(screen, width, height);
    HGDIOBJ old = SelectObject(memory, bitmap);
    BitBlt(memory, 0, 0, width, height, screen, rect.left, rect.top, SRCCOPY);
    SelectObject(memory, old);

    *info = {};
    info->biSize = sizeof(*info);
    info->biWidth = width;
    info->biHeight = height;
    info->biPlanes = 1;
    info->biBitCount = 24;
    info->biCompression = BI_RGB;
    int stride = (width * 3 + 3) & ~3;
    std::vector<BYTE> rows(static_cast<size_t>(stride) * height);
    GetDIBits(memory, bitmap, 0, height, rows.data(), reinterpret_cast<BITMAPINFO*>(info),
              DIB_RGB_COLORS);
    DeleteObject(bitmap);
    DeleteDC(memory);
    ReleaseDC(nullptr, screen);
    return rows;
}

}  // namespace

bool SaveScreen(const std::wstring& path)
{
    RECT all = {0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
    BITMAPINFOHEADER info;
    std::vector<BYTE> rows = GrabRows(all, &info);
    BITMAPFILEHEADER file = {};
    file.bfType = 0x4D42;
    file.bfOffBits = sizeof(file) + sizeof(info);
    file.bfSize = file.bfOffBits + static_cast<DWORD>(rows.size());
    HANDLE out = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    if (out == INVALID_HANDLE_VALUE)
        return false;
    DWORD written = 0;
    WriteFile(out, &file, sizeof(file), &written, nullptr);
    WriteFile(out, &info, sizeof(info), &written, nullptr);
    WriteFile(out, rows.data(), static_cast<DWORD>(rows.size()), &written, nullptr);
    CloseHandle(out);
    return true;
}

ScreenPixels CaptureScreenRect(const RECT& rect)
{
    ScreenPixels result;
    if (rect.right <= rect.left || rect.bottom <= rect.top)
        return result;
    BITMAPINFOHEADER info;
    std::vector<BYTE> rows = GrabRows(rect, &info);
    result.width = rect.right - rect.left;
    result.height = rect.bottom - rect.top;
    int stride = (result.width * 3 + 3) & ~3;
    result.pixels.resize(static_cast<size_t>(result.width) * result.height);
    for (int y = 0; y < result.height; ++y) {
        const BYTE* row = rows.data() + static_cast<size_t>(result.height - 1 - y) * stride;
        for (int x = 0; x < result.width; ++x)
            result.pixels[static_cast<size_t>(y) * result.width + x] =
                RGB(row[3 * x + 2], row[3 * x + 1], row[3 * x]);
    }
    return result;
}

ScreenPixels CaptureClient(HWND window)
{
    RECT client = {};
    GetClientRect(window, &client);
    MapWindowPoints(window, nullptr, reinterpret_cast<POINT*>(&client), 2);
    return CaptureScreenRect(client);
}

int ScreenPixels::Count(COLORREF colour) const
{
    int count = 0;
    for (COLORREF pixel : pixels)
        count += pixel == colour ? 1 : 0;
    return count;
}

bool ScreenPixels::HasLineOf(COLORREF colour) const
{
    for (int y = 0; y < height; ++y) {
        int count = 0;
        for (int x = 0; x < width; ++x)
            count += At(x, y) == colour ? 1 : 0;
        if (width > 0 && count * 4 >= width * 3)
            return true;
    }
    return false;
}

void PinToCorner(HWND window, ScreenCorner corner)
{
    RECT rect = {};
    GetWindowRect(window, &rect);
    int width = rect.right - rect.left;
    int height = rect.bottom - rect.top;
    int x = corner == ScreenCorner::kBottomLeft ? 0 : GetSystemMetrics(SM_CXSCREEN) - width;
    int y = GetSystemMetrics(SM_CYSCREEN) - height;
    SetWindowPos(window, HWND_TOPMOST, x, y, 0, 0, SWP_NOSIZE | SWP_NOACTIVATE);
}
