#include "main_window.h"

#include <memory>

#include "click_handlers.h"
#include "controls.h"
#include "dialogs.h"
#include "file_ops.h"

namespace {

constexpr DWORD kWindowStyle =
    WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX | WS_CLIPCHILDREN;
constexpr int kIconResource = 1;

// Everything the window keeps; reached from the HWND through GWLP_USERDATA.
struct MainWindowState {
    HWND window = nullptr;
    FileChooser chooser;             // 通用对话框1
    HWND rememberedFocus = nullptr;  // the control that had the focus at the last deactivation
    bool destructionMarked = false;
    bool created = false;  // fully made: from then on the window owns this state
};

MainWindowState* StateOf(HWND window) {
    return reinterpret_cast<MainWindowState*>(GetWindowLongPtrA(window, GWLP_USERDATA));
}

// The click handlers' view of the live window.
class LiveWindow : public WindowOperations {
  public:
    explicit LiveWindow(MainWindowState& state) : state_(state) {}

    ByteText PathText() override {
        const HWND box = GetDlgItem(state_.window, kPathBox);
        const int length = GetWindowTextLengthA(box);
        if (length <= 0)
            return ByteText();
        std::string text(static_cast<size_t>(length) + 1, '\0');
        const int copied = GetWindowTextA(box, text.data(), length + 1);
        return ByteText(std::string_view(text.data(), copied > 0 ? copied : 0));
    }
    void SetPathText(const ByteText& text) override {
        SetWindowTextA(GetDlgItem(state_.window, kPathBox), text.CString().c_str());
    }
    bool IsChecked(ControlId control) override {
        return SendDlgItemMessageA(state_.window, control, BM_GETCHECK, 0, 0) == BST_CHECKED;
    }
    void RequestDestruction() override {
        state_.destructionMarked = true;
        PostMessageA(state_.window, kRequestDestruction, 0, 0);
    }
    void ShowInformation(const ByteText& text, const ByteText& title) override {
        ::ShowInformation(text, title);
    }
    bool ChooseFile() override { return state_.chooser.ChooseFile(); }
    ByteText ChosenFileName() override { return state_.chooser.FileName(); }

  private:
    MainWindowState& state_;
};

// The creation handler: the chooser's filter, and the program's folder as its first folder.
void OnCreated(MainWindowState& state) {
    state.chooser.SetFilter("文本文件|*.TXT");
    state.chooser.SetInitialDirectory(RunDirectory());
}

void OnCommand(MainWindowState& state, int control, int notification) {
    if (notification != BN_CLICKED)
        return;
    LiveWindow window(state);
    switch (control) {
        case kChooseButton:
            OnChooseFileClick(window);
            break;
        case kStartButton:
            OnStartClick(window);
            break;
        case kExitButton:
            OnExitClick(window);
            break;
        case kHelpButton:
            OnHelpClick(window);
            break;
        default:
            break;
    }
}

void OnRequestDestruction(MainWindowState& state) {
    if (!state.destructionMarked)
        return;
    state.destructionMarked = false;
    DestroyWindow(state.window);
}

// The window got the keyboard focus: pass it on to the control that had it when the window
// was last deactivated, or to the path box.
void OnSetFocus(MainWindowState& state) {
    HWND target = state.rememberedFocus;
    if (target == nullptr || !IsWindow(target) || !IsChild(state.window, target)) {
        target = GetDlgItem(state.window, kPathBox);
    }
    SetFocus(target);
}

void OnDeactivate(MainWindowState& state) {
    const HWND focus = GetFocus();
    if (focus != nullptr && IsChild(state.window, focus))
        state.rememberedFocus = focus;
}

// Check boxes and radio buttons: black text on the button face, like the window around them.
LRESULT OnControlColour(HDC dc, bool editBox) {
    SetTextColor(dc, RGB(0, 0, 0));
    const int background = editBox ? COLOR_WINDOW : COLOR_BTNFACE;
    SetBkColor(dc, GetSysColor(background));
    return reinterpret_cast<LRESULT>(GetSysColorBrush(background));
}

LRESULT CALLBACK MainWindowProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_NCCREATE) {
        auto* state =
            static_cast<MainWindowState*>(reinterpret_cast<CREATESTRUCTA*>(lParam)->lpCreateParams);
        state->window = window;
        SetWindowLongPtrA(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(state));
    }
    MainWindowState* state = StateOf(window);
    if (state == nullptr)
        return DefWindowProcA(window, message, wParam, lParam);
    switch (message) {
        case WM_COMMAND:
            OnCommand(*state, LOWORD(wParam), HIWORD(wParam));
            return 0;
        case kRequestDestruction:
            OnRequestDestruction(*state);
            return 0;
        case WM_SETFOCUS:
            OnSetFocus(*state);
            return 0;
        case WM_ACTIVATE:
            if (LOWORD(wParam) == WA_INACTIVE)
                OnDeactivate(*state);
            break;
        case WM_CTLCOLORSTATIC:
        case WM_CTLCOLORBTN:
            return OnControlColour(reinterpret_cast<HDC>(wParam), false);
        case WM_CTLCOLOREDIT:
            return OnControlColour(reinterpret_cast<HDC>(wParam), true);
        case WM_NCDESTROY:
            // The program ends with its window. A window that failed half-way through its
            // creation leaves its state to CreateMainWindow and posts no quit, which would
            // otherwise close the error box at once.
            SetWindowLongPtrA(window, GWLP_USERDATA, 0);
            if (state->created) {
                delete state;
                PostQuitMessage(0);
            }
            return 0;
        default:
            break;
    }
    return DefWindowProcA(window, message, wParam, lParam);
}

bool RegisterMainWindowClass(HINSTANCE instance, HICON icon) {
    WNDCLASSEXA windowClass{};
    windowClass.cbSize = sizeof windowClass;
    windowClass.lpfnWndProc = MainWindowProcedure;
    windowClass.hInstance = instance;
    windowClass.hIcon = icon;
    windowClass.hIconSm = icon;
    windowClass.hCursor = LoadCursorA(nullptr, reinterpret_cast<LPCSTR>(IDC_ARROW));
    windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    windowClass.lpszClassName = kMainWindowClass;
    WNDCLASSEXA existing{};
    return RegisterClassExA(&windowClass) != 0 ||
           GetClassInfoExA(instance, kMainWindowClass, &existing);
}

// The controls, hidden until all exist, then shown without activating anything.
bool CreateControls(HWND window, HINSTANCE instance, HFONT font) {
    for (const ControlTemplate& item : kControls) {
        const HWND control = CreateWindowExA(item.exStyle, item.className, item.caption, item.style,
                                             item.left, item.top, item.width, item.height, window,
                                             reinterpret_cast<HMENU>(static_cast<INT_PTR>(item.id)),
                                             instance, nullptr);
        if (control == nullptr)
            return false;
        SendMessageA(control, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
    }
    SendDlgItemMessageA(window, kRadioTwoFiles, BM_SETCHECK, BST_CHECKED, 0);
    SendDlgItemMessageA(window, kDeleteCheck, BM_SETCHECK, BST_CHECKED, 0);
    SendDlgItemMessageA(window, kPathBox, EM_SETSEL, 0, 0);
    for (const ControlTemplate& item : kControls)
        ShowWindow(GetDlgItem(window, item.id), SW_SHOWNA);
    return true;
}

}  // namespace

POINT CentredPosition(int screenWidth, int screenHeight) {
    return {(screenWidth - kMainWindowWidth) / 2, (screenHeight - kMainWindowHeight) / 2};
}

HWND CreateMainWindow(HINSTANCE instance) {
    const HICON icon = static_cast<HICON>(
        LoadImageA(instance, MAKEINTRESOURCEA(kIconResource), IMAGE_ICON, 32, 32, LR_DEFAULTCOLOR));
    if (!RegisterMainWindowClass(instance, icon))
        return nullptr;
    const POINT place =
        CentredPosition(GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN));
    auto state = std::make_unique<MainWindowState>();
    const HWND window = CreateWindowExA(0, kMainWindowClass, "Moxtrel0.1版", kWindowStyle, place.x,
                                        place.y, kMainWindowWidth, kMainWindowHeight, nullptr,
                                        nullptr, instance, state.get());
    if (window == nullptr)
        return nullptr;
    RECT outer;
    GetWindowRect(window, &outer);
    if (outer.right - outer.left != kMainWindowWidth ||
        outer.bottom - outer.top != kMainWindowHeight) {
        SetWindowPos(window, nullptr, place.x, place.y, kMainWindowWidth, kMainWindowHeight,
                     SWP_NOZORDER | SWP_NOACTIVATE);
    }
    SendMessageA(window, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(icon));
    SendMessageA(window, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(icon));
    const HFONT font = static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT));
    SendMessageA(window, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
    if (!CreateControls(window, instance, font)) {
        DestroyWindow(window);
        return nullptr;
    }
    OnCreated(*state);
    state->created = true;
    state.release();  // the window owns it now and frees it at WM_NCDESTROY
    return window;
}
