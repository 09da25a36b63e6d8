// The frame's native window: a child of the host's window that shows the frame's pixels
// with GDI, redraws only what was invalidated, and turns mouse, wheel and key messages
// into the frame's input. WM_PRINTCLIENT draws the whole frame into the given DC.
#include "vstgui/CFrame.h"
#include "vstgui/COptionMenu.h"
#include "vstgui/IPlatformFrame.h"
#include "vstgui/Win32Text.h"

#include <windows.h>
#include <windowsx.h>

#include <string>
#include <utility>
#include <vector>

namespace VSTGUI {
namespace {

const wchar_t kWindowClass[] = L"SorvEditorFrame";
// The class goes with the last window that the frame closes, so that no class outlives the
// module's code.
int liveWindows = 0;

using MenuCommands = std::vector<std::pair<COptionMenu*, int32>>;

// A native pop-up menu of the entries; command ids are 1 + the index into commands.
HMENU buildMenu(COptionMenu* menu, MenuCommands& commands) {
    HMENU handle = CreatePopupMenu();
    if (!handle)
        return nullptr;
    for (int32 i = 0; i < menu->getNbEntries(); ++i) {
        CMenuItem* item = menu->getEntry(i);
        if (item->isSeparator()) {
            AppendMenuW(handle, MF_SEPARATOR, 0, nullptr);
            continue;
        }
        std::wstring title = win32Wide(item->getTitle());
        UINT flags = MF_STRING | (item->isChecked() ? MF_CHECKED : 0u) |
                     (item->isEnabled() ? 0u : MF_GRAYED);
        if (COptionMenu* submenu = item->getSubmenu()) {
            HMENU sub = buildMenu(submenu, commands);
            AppendMenuW(handle, flags | MF_POPUP, reinterpret_cast<UINT_PTR>(sub), title.c_str());
        } else {
            commands.emplace_back(menu, i);
            AppendMenuW(handle, flags, commands.size(), title.c_str());
        }
    }
    return handle;
}

int32 buttonState(WPARAM keys) {
    int32 state = 0;
    if (keys & MK_LBUTTON)
        state |= kLButton;
    if (keys & MK_RBUTTON)
        state |= kRButton;
    if (keys & MK_MBUTTON)
        state |= kMButton;
    if (keys & MK_XBUTTON1)
        state |= kButton4;
    if (keys & MK_XBUTTON2)
        state |= kButton5;
    if (keys & MK_SHIFT)
        state |= kShift;
    if (keys & MK_CONTROL)
        state |= kControl;
    if (GetKeyState(VK_MENU) < 0)
        state |= kAlt;
    return state;
}

// Copies a part of the frame's pixels to a device context.
void present(const PixelBuffer& buffer, HDC dc, const RECT& area) {
    int left = area.left < 0 ? 0 : area.left;
    int top = area.top < 0 ? 0 : area.top;
    int right = area.right > buffer.width ? buffer.width : area.right;
    int bottom = area.bottom > buffer.height ? buffer.height : area.bottom;
    int w = right - left, h = bottom - top;
    if (w <= 0 || h <= 0)
        return;
    std::vector<uint32_t> part(size_t(w) * h);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            part[size_t(y) * w + x] = buffer.at(left + x, top + y);
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    info.bmiHeader.biWidth = w;
    info.bmiHeader.biHeight = -h; // rows top to bottom
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    SetDIBitsToDevice(dc, left, top, static_cast<DWORD>(w), static_cast<DWORD>(h), 0, 0, 0,
                      static_cast<UINT>(h), part.data(), &info, DIB_RGB_COLORS);
}

class Win32Frame : public IPlatformFrame {
public:
    Win32Frame(CFrame* frame, HWND window) : frame(frame), window(window) {
        SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
        ++liveWindows;
    }
    ~Win32Frame() override { close(); }

    void* getPlatformRepresentation() const override { return window; }

    void invalidRect(const PixelRect& r) override {
        if (!window)
            return;
        RECT area{r.left, r.top, r.right, r.bottom};
        InvalidateRect(window, &area, FALSE);
    }

    bool setSize(int width, int height) override {
        return window && SetWindowPos(window, nullptr, 0, 0, width, height,
                                      SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    }

    void close() override {
        if (!window)
            return;
        HWND closing = window;
        forgetWindow();
        DestroyWindow(closing);
        if (liveWindows == 0)
            UnregisterClassW(kWindowClass, win32ThisModule());
    }

    bool popupMenu(COptionMenu* menu, const CPoint& where, COptionMenu*& chosenMenu,
                   int32& chosenIndex) override {
        if (!window || !frame || !menu)
            return false;
        MenuCommands commands;
        HMENU handle = buildMenu(menu, commands);
        if (!handle)
            return false;
        POINT p{static_cast<LONG>(where.x * frame->getZoom()),
                static_cast<LONG>(where.y * frame->getZoom())};
        ClientToScreen(window, &p);
        UINT id = static_cast<UINT>(
            TrackPopupMenu(handle, TPM_RETURNCMD | TPM_NONOTIFY, p.x, p.y, 0, window, nullptr));
        DestroyMenu(handle);
        if (id == 0 || id > commands.size())
            return false;
        chosenMenu = commands[id - 1].first;
        chosenIndex = commands[id - 1].second;
        return true;
    }

    static LRESULT CALLBACK windowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
        auto* self = reinterpret_cast<Win32Frame*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
        // The host destroyed its window, and ours with it, before removing the view.
        if (self && message == WM_NCDESTROY) {
            self->forgetWindow();
            return DefWindowProcW(hwnd, message, wParam, lParam);
        }
        if (!self || !self->frame)
            return DefWindowProcW(hwnd, message, wParam, lParam);
        try {
            LRESULT result = 0;
            if (self->handle(message, wParam, lParam, result))
                return result;
        } catch (...) {
            // Nothing may unwind into the host's message loop.
        }
        return DefWindowProcW(hwnd, message, wParam, lParam);
    }

private:
    void forgetWindow() {
        if (!window)
            return;
        SetWindowLongPtrW(window, GWLP_USERDATA, 0);
        window = nullptr;
        frame = nullptr;
        --liveWindows;
    }

    bool handle(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) {
        SharedPointer<CFrame> keep(frame);
        CPoint where(GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam));
        switch (message) {
        case WM_ERASEBKGND:
            result = 1;
            return true;
        case WM_PAINT: {
            PAINTSTRUCT paint;
            HDC dc = BeginPaint(window, &paint);
            const RECT& r = paint.rcPaint;
            frame->drawPixels({static_cast<int>(r.left), static_cast<int>(r.top),
                               static_cast<int>(r.right), static_cast<int>(r.bottom)});
            present(frame->getBuffer(), dc, r);
            EndPaint(window, &paint);
            return true;
        }
        case WM_PRINTCLIENT: {
            frame->drawAll();
            RECT all{0, 0, frame->pixelWidth(), frame->pixelHeight()};
            present(frame->getBuffer(), reinterpret_cast<HDC>(wParam), all);
            return true;
        }
        case WM_LBUTTONDOWN:
        case WM_RBUTTONDOWN:
        case WM_MBUTTONDOWN:
        case WM_LBUTTONDBLCLK:
        case WM_RBUTTONDBLCLK: {
            SetFocus(window);
            int32 buttons = buttonState(wParam);
            if (message == WM_LBUTTONDBLCLK || message == WM_RBUTTONDBLCLK)
                buttons |= kDoubleClick;
            if (frame->platformMouseDown(where, buttons) == kMouseEventHandled)
                SetCapture(window);
            return true;
        }
        case WM_MOUSEMOVE:
            frame->platformMouseMoved(where, buttonState(wParam));
            return true;
        case WM_LBUTTONUP:
        case WM_RBUTTONUP:
        case WM_MBUTTONUP: {
            // The button that went up is still part of the state the control sees.
            int32 buttons = buttonState(wParam);
            buttons |= message == WM_LBUTTONUP   ? kLButton
                       : message == WM_RBUTTONUP ? kRButton
                                                 : kMButton;
            frame->platformMouseUp(where, buttons);
            if (GetCapture() == window)
                ReleaseCapture();
            return true;
        }
        case WM_MOUSEWHEEL: {
            POINT p{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
            ScreenToClient(window, &p);
            float distance = static_cast<float>(GET_WHEEL_DELTA_WPARAM(wParam)) / WHEEL_DELTA;
            frame->platformWheel(CPoint(p.x, p.y), distance,
                                 buttonState(GET_KEYSTATE_WPARAM(wParam)));
            return true;
        }
        case WM_KEYDOWN: {
            VstKeyCode key;
            if (wParam == VK_RETURN)
                key.virt = VKEY_RETURN;
            else if (wParam == VK_ESCAPE)
                key.virt = VKEY_ESCAPE;
            else if (wParam == VK_BACK)
                key.virt = VKEY_BACK;
            else
                return false;
            return frame->platformKeyDown(key);
        }
        case WM_CHAR: {
            if (wParam < 0x20)
                return true;
            VstKeyCode key;
            key.character = static_cast<int32>(wParam);
            return frame->platformKeyDown(key);
        }
        case WM_GETDLGCODE:
            result = DLGC_WANTALLKEYS | DLGC_WANTCHARS;
            return true;
        default:
            return false;
        }
    }

    CFrame* frame;
    HWND window;
};

bool registerWindowClass(HINSTANCE instance) {
    WNDCLASSW existing{};
    if (GetClassInfoW(instance, kWindowClass, &existing)) {
        if (existing.lpfnWndProc == &Win32Frame::windowProc)
            return true;
        // Left by an earlier load of the module whose windows were destroyed with a host
        // window: its procedure is gone.
        UnregisterClassW(kWindowClass, instance);
    }
    WNDCLASSW wc{};
    wc.style = CS_DBLCLKS;
    wc.lpfnWndProc = &Win32Frame::windowProc;
    wc.hInstance = instance;
    wc.hCursor = LoadCursorW(nullptr, reinterpret_cast<LPCWSTR>(IDC_ARROW));
    wc.lpszClassName = kWindowClass;
    return RegisterClassW(&wc) != 0;
}

} // namespace

IPlatformFrame* IPlatformFrame::create(CFrame* frame, int width, int height, void* parent,
                                       PlatformType type) {
    if (!frame || !parent || (type != PlatformType::kHWND && type != PlatformType::kDefaultNative))
        return nullptr;
    HWND parentWindow = static_cast<HWND>(parent);
    if (!IsWindow(parentWindow))
        return nullptr;
    HINSTANCE instance = win32ThisModule();
    if (!registerWindowClass(instance))
        return nullptr;
    HWND window = CreateWindowExW(0, kWindowClass, L"", WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS, 0,
                                  0, width, height, parentWindow, nullptr, instance, nullptr);
    if (!window)
        return nullptr;
    return new Win32Frame(frame, window);
}

} // namespace VSTGUI
