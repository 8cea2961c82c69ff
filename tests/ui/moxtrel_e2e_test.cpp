// End-to-end tests of Moxtrel.exe: each test starts the real program, drives it with keyboard
// and mouse input (SendInput) the way a user would, and reads what the user would see: the
// window, its controls, the focus, the boxes and the files on disk.
// clang-format off
#include <windows.h>
#include <commctrl.h>  // after windows.h, whose types it uses
// clang-format on
#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace {

std::string g_program;  // Moxtrel.exe, as a Windows path

// The controls as the user sees them, in focus order.
enum : int {
    kPathBox = 101,
    kChooseButton,
    kRadio1,
    kRadio2,
    kRadio3,
    kRadio4,
    kStartButton,
    kExitButton,
    kDeleteCheck,
    kHelpButton,
};
const int kFocusOrder[] = {kPathBox, kChooseButton, kRadio1,     kRadio2,      kRadio3,
                           kRadio4,  kStartButton,  kExitButton, kDeleteCheck, kHelpButton};

bool WaitFor(const std::function<bool()>& condition, int milliseconds = 10000) {
    for (int waited = 0; waited < milliseconds; waited += 20) {
        if (condition())
            return true;
        Sleep(20);
    }
    return condition();
}

// The text the window shows. GetWindowTextA does not ask a window of another process, and so
// misses what an edit box holds: the message does.
std::string TextOf(HWND window) {
    char text[1024] = {};
    SendMessageA(window, WM_GETTEXT, sizeof text, reinterpret_cast<LPARAM>(text));
    return text;
}

std::string ClassOf(HWND window) {
    char name[64] = {};
    GetClassNameA(window, name, sizeof name);
    return name;
}

// ---- input, as the user makes it

void Send(std::vector<INPUT> inputs) {
    SendInput(static_cast<UINT>(inputs.size()), inputs.data(), sizeof(INPUT));
}

INPUT KeyInput(WORD key, bool up) {
    INPUT input{};
    input.type = INPUT_KEYBOARD;
    input.ki.wVk = key;
    input.ki.wScan = static_cast<WORD>(MapVirtualKeyA(key, MAPVK_VK_TO_VSC));
    input.ki.dwFlags = up ? KEYEVENTF_KEYUP : 0;
    return input;
}

// Presses a key while holding the modifiers.
void Press(WORD key, std::vector<WORD> modifiers = {}) {
    std::vector<INPUT> inputs;
    for (WORD m : modifiers) inputs.push_back(KeyInput(m, false));
    inputs.push_back(KeyInput(key, false));
    inputs.push_back(KeyInput(key, true));
    for (auto m = modifiers.rbegin(); m != modifiers.rend(); ++m)
        inputs.push_back(KeyInput(*m, true));
    Send(inputs);
}

// Types ASCII text on the keyboard, with Shift where the layout needs it.
void Type(const std::string& ascii) {
    for (char c : ascii) {
        const SHORT key = VkKeyScanA(c);
        ASSERT_NE(key, -1) << "no key for " << c;
        std::vector<WORD> modifiers;
        if (key & 0x100)
            modifiers.push_back(VK_SHIFT);
        Press(LOBYTE(key), modifiers);
    }
}

INPUT MouseInput(DWORD flags, POINT at = {}) {
    INPUT input{};
    input.type = INPUT_MOUSE;
    input.mi.dwFlags = flags;
    if (flags & MOUSEEVENTF_ABSOLUTE) {
        input.mi.dx = MulDiv(at.x, 65536, GetSystemMetrics(SM_CXSCREEN)) + 1;
        input.mi.dy = MulDiv(at.y, 65536, GetSystemMetrics(SM_CYSCREEN)) + 1;
    }
    return input;
}

void MoveMouse(POINT to) {
    Send({MouseInput(MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE, to)});
    WaitFor(
        [&] {
            POINT now;
            GetCursorPos(&now);
            return now.x == to.x && now.y == to.y;
        },
        2000);
}

void Click(POINT at) {
    MoveMouse(at);
    Send({MouseInput(MOUSEEVENTF_LEFTDOWN), MouseInput(MOUSEEVENTF_LEFTUP)});
}

void Drag(POINT from, POINT to) {
    MoveMouse(from);
    Send({MouseInput(MOUSEEVENTF_LEFTDOWN)});
    Sleep(200);
    for (int step = 1; step <= 4; ++step) {
        MoveMouse({from.x + (to.x - from.x) * step / 4, from.y + (to.y - from.y) * step / 4});
        Sleep(50);
    }
    Send({MouseInput(MOUSEEVENTF_LEFTUP)});
}

POINT CentreOf(HWND window) {
    RECT r;
    GetWindowRect(window, &r);
    return {(r.left + r.right) / 2, (r.top + r.bottom) / 2};
}

void ClickOn(HWND window) {
    Click(CentreOf(window));
}

// ---- the program

// The visible top-level windows of a process with the given class (and title, when given).
std::vector<HWND> TopWindows(DWORD process, const char* className, const char* title = nullptr) {
    struct Search {
        DWORD process;
        const char* className;
        const char* title;
        std::vector<HWND> found;
    } search{process, className, title, {}};
    EnumWindows(
        [](HWND window, LPARAM p) -> BOOL {
            auto& s = *reinterpret_cast<Search*>(p);
            DWORD owner = 0;
            GetWindowThreadProcessId(window, &owner);
            if (owner == s.process && IsWindowVisible(window) && ClassOf(window) == s.className &&
                (s.title == nullptr || TextOf(window) == s.title)) {
                s.found.push_back(window);
            }
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&search));
    return search.found;
}

// One run of Moxtrel.exe, ended at the end of the test if it is still running.
class Program {
  public:
    Program() {
        STARTUPINFOA startup{};
        startup.cb = sizeof startup;
        std::string commandLine = "\"" + g_program + "\"";
        if (!CreateProcessA(nullptr, commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr,
                            nullptr, &startup, &process_)) {
            ADD_FAILURE() << "cannot start " << g_program;
            return;
        }
        WaitFor([&] {
            const auto windows = TopWindows(process_.dwProcessId, "MoxtrelMainWindow");
            window_ = windows.empty() ? nullptr : windows.front();
            return window_ != nullptr && GetForegroundWindow() == window_ &&
                   Focus() == Control(kPathBox);
        });
        if (window_ == nullptr)
            ADD_FAILURE() << "the main window did not appear";
    }
    ~Program() {
        if (process_.hProcess == nullptr)
            return;
        if (WaitForSingleObject(process_.hProcess, 0) == WAIT_TIMEOUT) {
            TerminateProcess(process_.hProcess, 99);
            WaitForSingleObject(process_.hProcess, 5000);
        }
        CloseHandle(process_.hThread);
        CloseHandle(process_.hProcess);
    }
    Program(const Program&) = delete;
    Program& operator=(const Program&) = delete;

    HWND Window() const { return window_; }
    HWND Control(int id) const { return GetDlgItem(window_, id); }
    DWORD Id() const { return process_.dwProcessId; }

    HWND Focus() const {
        GUITHREADINFO info{};
        info.cbSize = sizeof info;
        return GetGUIThreadInfo(process_.dwThreadId, &info) ? info.hwndFocus : nullptr;
    }
    int FocusId() const {
        const HWND focus = Focus();
        return focus != nullptr && GetParent(focus) == window_ ? GetDlgCtrlID(focus) : 0;
    }
    bool WaitFocus(int id) const {
        return WaitFor([&] { return FocusId() == id; }, 5000);
    }
    bool Checked(int id) const {
        return SendMessageA(Control(id), BM_GETCHECK, 0, 0) == BST_CHECKED;
    }
    std::vector<int> CheckedRadios() const {
        std::vector<int> checked;
        for (int id = kRadio1; id <= kRadio4; ++id) {
            if (Checked(id))
                checked.push_back(id);
        }
        return checked;
    }
    std::string PathText() const { return TextOf(Control(kPathBox)); }
    RECT WindowRect() const {
        RECT r{};
        GetWindowRect(window_, &r);
        return r;
    }
    POINT ClientPoint(int x, int y) const {
        POINT p{x, y};
        ClientToScreen(window_, &p);
        return p;
    }

    // The exit code once the program has ended, or nothing if it is still running.
    std::optional<DWORD> WaitExit(int milliseconds = 10000) const {
        if (WaitForSingleObject(process_.hProcess, milliseconds) != WAIT_OBJECT_0)
            return std::nullopt;
        DWORD code = 0;
        GetExitCodeProcess(process_.hProcess, &code);
        return code;
    }

    // A visible box or dialog of the program's, waited for.
    HWND WaitBox(const char* title) const {
        HWND box = nullptr;
        WaitFor([&] {
            const auto boxes = TopWindows(Id(), "#32770", title);
            box = boxes.empty() ? nullptr : boxes.front();
            return box != nullptr;
        });
        return box;
    }
    bool NoBoxOpen() const { return TopWindows(Id(), "#32770").empty(); }

  private:
    PROCESS_INFORMATION process_{};
    HWND window_ = nullptr;
};

struct BoxContents {
    std::string text;
    bool icon = false;
    std::vector<HWND> buttons;
};

BoxContents ReadBox(HWND box) {
    BoxContents contents;
    EnumChildWindows(
        box,
        [](HWND child, LPARAM p) -> BOOL {
            auto& c = *reinterpret_cast<BoxContents*>(p);
            const std::string name = ClassOf(child);
            if (!IsWindowVisible(child))
                return TRUE;
            if (lstrcmpiA(name.c_str(), "Button") == 0) {
                c.buttons.push_back(child);
            } else if (lstrcmpiA(name.c_str(), "Static") == 0) {
                if ((GetWindowLongA(child, GWL_STYLE) & SS_TYPEMASK) == SS_ICON) {
                    c.icon = c.icon || SendMessageA(child, STM_GETICON, 0, 0) != 0;
                } else if (!TextOf(child).empty()) {
                    c.text = TextOf(child);
                }
            }
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&contents));
    return contents;
}

// ---- files

class TempFolder {
  public:
    TempFolder() {
        char base[MAX_PATH];
        GetTempPathA(MAX_PATH, base);
        path_ = std::string(base) + "moxtrel_e2e_" + std::to_string(GetCurrentProcessId()) + "_" +
                std::to_string(GetTickCount());
        CreateDirectoryA(path_.c_str(), nullptr);
    }
    ~TempFolder() {
        for (const std::string& name : Names()) DeleteFileA((path_ + "\\" + name).c_str());
        RemoveDirectoryA(path_.c_str());
    }
    std::string operator/(const std::string& name) const { return path_ + "\\" + name; }
    std::vector<std::string> Names() const {
        std::vector<std::string> names;
        WIN32_FIND_DATAA data;
        const HANDLE search = FindFirstFileA((path_ + "\\*").c_str(), &data);
        if (search == INVALID_HANDLE_VALUE)
            return names;
        do {
            const std::string name = data.cFileName;
            if (name != "." && name != "..")
                names.push_back(name);
        } while (FindNextFileA(search, &data));
        FindClose(search);
        std::sort(names.begin(), names.end());
        return names;
    }

  private:
    std::string path_;
};

void WriteFile(const std::string& path, const std::string& bytes) {
    const HANDLE file =
        CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    DWORD written = 0;
    ::WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
    CloseHandle(file);
}

std::string ReadFile(const std::string& path) {
    const HANDLE file = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                                    OPEN_EXISTING, 0, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return "<missing>";
    std::string bytes(GetFileSize(file, nullptr), '\0');
    DWORD read = 0;
    ::ReadFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &read, nullptr);
    CloseHandle(file);
    return bytes;
}

// ---- tests

TEST(MainWindow, StartsCentredWithItsControlsInTheirInitialStates) {
    Program program;
    ASSERT_NE(program.Window(), nullptr);
    const RECT r = program.WindowRect();
    const int screenWidth = GetSystemMetrics(SM_CXSCREEN),
              screenHeight = GetSystemMetrics(SM_CYSCREEN);
    EXPECT_EQ(r.left, (screenWidth - 316) / 2);
    EXPECT_EQ(r.top, (screenHeight - 183) / 2);
    if (screenWidth == 1024 && screenHeight == 768) {
        EXPECT_EQ(r.left, 354);
        EXPECT_EQ(r.top, 292);
    }
    EXPECT_EQ(r.right - r.left, 316);
    EXPECT_EQ(r.bottom - r.top, 183);
    EXPECT_EQ(TextOf(program.Window()), "Moxtrel0.1版");
    const LONG style = GetWindowLongA(program.Window(), GWL_STYLE);
    EXPECT_EQ(style & (WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX | WS_CLIPCHILDREN),
              WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX | WS_CLIPCHILDREN);
    EXPECT_EQ(style & (WS_THICKFRAME | WS_MAXIMIZEBOX), 0);
    EXPECT_EQ(GetWindowLongA(program.Window(), GWL_EXSTYLE) & ~WS_EX_WINDOWEDGE, 0);
    EXPECT_EQ(GetWindow(program.Window(), GW_OWNER), nullptr);
    EXPECT_EQ(GetMenu(program.Window()), nullptr);

    struct Expected {
        int id;
        const char* className;
        const char* caption;
        int left, top, width, height;
        LONG kind;  // the BS_ type, or -1 for the edit box
        bool checked;
    };
    const Expected controls[] = {
        {kPathBox, "Edit", "", 72, 8, 224, 24, -1, false},
        {kChooseButton, "Button", "选择文件", 8, 8, 56, 24, BS_PUSHBUTTON, false},
        {kRadio1, "Button", "平均分成二个文件", 8, 48, 128, 18, BS_AUTORADIOBUTTON, true},
        {kRadio2, "Button", "平均分成三个文件", 8, 72, 144, 18, BS_AUTORADIOBUTTON, false},
        {kRadio3, "Button", "平均分成500KB的文件", 8, 96, 136, 18, BS_AUTORADIOBUTTON, false},
        {kRadio4, "Button", "平均分成1MB的文件", 8, 120, 144, 18, BS_AUTORADIOBUTTON, false},
        {kStartButton, "Button", "开始", 168, 64, 56, 32, BS_PUSHBUTTON, false},
        {kExitButton, "Button", "退出", 248, 64, 56, 32, BS_PUSHBUTTON, false},
        {kDeleteCheck, "Button", "完成后删除原文件", 184, 40, 120, 16, BS_AUTOCHECKBOX, true},
        {kHelpButton, "Button", "帮助", 168, 112, 136, 32, BS_PUSHBUTTON, false},
    };
    for (const Expected& c : controls) {
        SCOPED_TRACE(c.caption);
        const HWND control = program.Control(c.id);
        ASSERT_NE(control, nullptr);
        EXPECT_EQ(lstrcmpiA(ClassOf(control).c_str(), c.className), 0) << ClassOf(control);
        EXPECT_EQ(TextOf(control), c.caption);
        RECT place;
        GetWindowRect(control, &place);
        MapWindowPoints(nullptr, program.Window(), reinterpret_cast<POINT*>(&place), 2);
        EXPECT_EQ(place.left, c.left);
        EXPECT_EQ(place.top, c.top);
        EXPECT_EQ(place.right - place.left, c.width);
        EXPECT_EQ(place.bottom - place.top, c.height);
        const LONG controlStyle = GetWindowLongA(control, GWL_STYLE);
        EXPECT_TRUE(controlStyle & WS_VISIBLE);
        EXPECT_TRUE(controlStyle & WS_TABSTOP);
        EXPECT_TRUE(IsWindowEnabled(control));
        if (c.kind >= 0) {
            EXPECT_EQ(controlStyle & BS_TYPEMASK, c.kind);
            EXPECT_EQ(program.Checked(c.id), c.checked);
        } else {
            EXPECT_TRUE(GetWindowLongA(control, GWL_EXSTYLE) & WS_EX_CLIENTEDGE);
            EXPECT_EQ(controlStyle & (ES_PASSWORD | ES_UPPERCASE | ES_LOWERCASE | ES_READONLY), 0);
        }
    }
    EXPECT_EQ(program.FocusId(), kPathBox);
    EXPECT_EQ(program.PathText(), "");
}

// The icon of the program file: one 32 x 32 image whose mask leaves the corners clear and
// covers the page. (Wine answers WM_GETICON and WM_GETFONT from another process with
// nothing, so the window's own icon and fonts are checked inside the process by ui_tests.)
TEST(ProgramFile, CarriesItsIcon) {
    const HMODULE file = LoadLibraryExA(g_program.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
    ASSERT_NE(file, nullptr);
    const HICON icon =
        static_cast<HICON>(LoadImageA(file, MAKEINTRESOURCEA(1), IMAGE_ICON, 0, 0, LR_DEFAULTSIZE));
    ASSERT_NE(icon, nullptr);
    ICONINFO info{};
    ASSERT_TRUE(GetIconInfo(icon, &info));
    BITMAP mask{};
    GetObjectA(info.hbmMask, sizeof mask, &mask);
    EXPECT_EQ(mask.bmWidth, 32);
    EXPECT_EQ(mask.bmHeight, 32);
    const HDC dc = CreateCompatibleDC(nullptr);
    SelectObject(dc, info.hbmMask);
    EXPECT_EQ(GetPixel(dc, 0, 0), RGB(255, 255, 255)) << "a corner is transparent";
    EXPECT_EQ(GetPixel(dc, 31, 31), RGB(255, 255, 255));
    EXPECT_EQ(GetPixel(dc, 10, 8), RGB(0, 0, 0)) << "the page is opaque";
    DeleteDC(dc);
    DeleteObject(info.hbmMask);
    DeleteObject(info.hbmColor);
    DestroyIcon(icon);
    FreeLibrary(file);
}

TEST(Keyboard, TabAndShiftTabGoRoundTheTenControls) {
    Program program;
    ASSERT_NE(program.Window(), nullptr);
    for (int step = 1; step <= 10; ++step) {
        Press(VK_TAB);
        ASSERT_TRUE(program.WaitFocus(kFocusOrder[step % 10]))
            << "Tab " << step << " left the focus on " << program.FocusId();
    }
    for (int step = 1; step <= 10; ++step) {
        Press(VK_TAB, {VK_SHIFT});
        ASSERT_TRUE(program.WaitFocus(kFocusOrder[(10 - step) % 10]))
            << "Shift+Tab " << step << " left the focus on " << program.FocusId();
    }
    EXPECT_EQ(program.CheckedRadios(), std::vector<int>{kRadio1});
}

TEST(Keyboard, ArrowsMoveTheSelectionAroundTheRadioRing) {
    Program program;
    ASSERT_NE(program.Window(), nullptr);
    Press(VK_TAB);
    Press(VK_TAB);
    ASSERT_TRUE(program.WaitFocus(kRadio1));
    struct Step {
        WORD key;
        int selected;
    };
    const Step steps[] = {{VK_LEFT, kRadio4}, {VK_RIGHT, kRadio1}, {VK_DOWN, kRadio2},
                          {VK_DOWN, kRadio3}, {VK_DOWN, kRadio4},  {VK_DOWN, kRadio1},
                          {VK_UP, kRadio4},   {VK_UP, kRadio3}};
    for (const Step& s : steps) {
        Press(s.key);
        ASSERT_TRUE(program.WaitFocus(s.selected)) << "key " << s.key;
        EXPECT_EQ(program.CheckedRadios(), std::vector<int>{s.selected});
    }
    EXPECT_TRUE(program.Checked(kDeleteCheck));
}

TEST(Keyboard, ArrowsInThePathBoxMoveTheCaretOnly) {
    Program program;
    ASSERT_NE(program.Window(), nullptr);
    Type("abcd");
    ASSERT_TRUE(WaitFor([&] { return program.PathText() == "abcd"; }))
        << "[" << program.PathText() << "]" << program.FocusId();
    for (WORD key : {VK_LEFT, VK_LEFT, VK_UP, VK_DOWN, VK_RIGHT}) Press(key);
    Type("X");
    ASSERT_TRUE(WaitFor([&] { return program.PathText().size() == 5; }));
    EXPECT_EQ(program.PathText(), "abcXd");
    EXPECT_EQ(program.FocusId(), kPathBox);
    EXPECT_EQ(program.CheckedRadios(), std::vector<int>{kRadio1});
}

TEST(Keyboard, EnterEscF1AndAltLetterChangeNothing) {
    Program program;
    ASSERT_NE(program.Window(), nullptr);
    Type("C:\\none.txt");
    ASSERT_TRUE(WaitFor([&] { return program.PathText() == "C:\\none.txt"; }));
    // Each key is pressed on every control in turn; the Tab after it proves it was handled.
    struct Key {
        WORD key;
        std::vector<WORD> modifiers;
    };
    const Key keys[] = {
        {VK_RETURN, {}}, {VK_ESCAPE, {}}, {VK_F1, {}}, {'S', {VK_MENU}}, {'2', {VK_MENU}}};
    for (const Key& k : keys) {
        for (int i = 0; i < 10; ++i) {
            SCOPED_TRACE("key " + std::to_string(k.key) + " on control " +
                         std::to_string(kFocusOrder[i]));
            Press(k.key, k.modifiers);
            Press(VK_TAB);
            ASSERT_TRUE(program.WaitFocus(kFocusOrder[(i + 1) % 10]));
            EXPECT_TRUE(program.NoBoxOpen());
            EXPECT_TRUE(IsWindowVisible(program.Window()));
        }
    }
    EXPECT_FALSE(program.WaitExit(0).has_value());
    EXPECT_EQ(program.PathText(), "C:\\none.txt");
    EXPECT_EQ(program.CheckedRadios(), std::vector<int>{kRadio1});
    EXPECT_TRUE(program.Checked(kDeleteCheck));
    EXPECT_EQ(program.WindowRect().left, (GetSystemMetrics(SM_CXSCREEN) - 316) / 2);
}

TEST(Start, TypedPathIsSplitAndTheSourceGoesOnlyWhenTheBoxIsChecked) {
    struct Case {
        int radio;
        bool clearDeleteBox;
        std::vector<std::string> parts;
    };
    const Case cases[] = {
        {kRadio1, false, {"book_01.TXT", "book_02.TXT"}},
        {kRadio2, true, {"book_01.TXT", "book_02.TXT", "book_03.TXT"}},
        {kRadio3, true, {"book_1.TXT", "book_2.TXT", "book_3.TXT"}},
    };
    std::string content;
    for (int i = 0; content.size() < 1'100'000; ++i)
        content += "line " + std::to_string(i) + " 第" + "行\r\n";
    for (const Case& c : cases) {
        SCOPED_TRACE(c.radio);
        TempFolder folder;
        WriteFile(folder / "book.txt", content);
        Program program;
        ASSERT_NE(program.Window(), nullptr);
        Type(folder / "book.txt");
        ASSERT_TRUE(WaitFor([&] { return program.PathText() == folder / "book.txt"; }));
        if (c.radio != kRadio1)
            ClickOn(program.Control(c.radio));
        if (c.clearDeleteBox)
            ClickOn(program.Control(kDeleteCheck));
        ASSERT_TRUE(WaitFor([&] {
            return program.Checked(c.radio) && program.Checked(kDeleteCheck) != c.clearDeleteBox;
        }));
        ClickOn(program.Control(kStartButton));

        std::vector<std::string> expected = c.parts;
        if (c.clearDeleteBox)
            expected.push_back("book.txt");
        std::sort(expected.begin(), expected.end());
        EXPECT_TRUE(WaitFor([&] { return folder.Names() == expected; }))
            << "files: " << folder.Names().size();
        std::string joined;
        for (const std::string& part : c.parts) joined += ReadFile(folder / part);
        EXPECT_TRUE(joined == content) << "the parts do not give back the source";
        EXPECT_TRUE(program.NoBoxOpen());
        EXPECT_EQ(program.PathText(), folder / "book.txt");
    }
}

TEST(Start, MissingFileShowsTheInformationBoxUntilOk) {
    Program program;
    ASSERT_NE(program.Window(), nullptr);
    ClickOn(program.Control(kStartButton));
    const HWND box = program.WaitBox("信息：");
    ASSERT_NE(box, nullptr);
    const BoxContents contents = ReadBox(box);
    EXPECT_EQ(contents.text, "文件不存在！");
    EXPECT_FALSE(contents.icon);
    ASSERT_EQ(contents.buttons.size(), 1u);
    EXPECT_EQ(GetDlgCtrlID(contents.buttons[0]), IDOK);
    EXPECT_EQ(GetWindow(box, GW_OWNER), nullptr);
    EXPECT_FALSE(IsWindowEnabled(program.Window())) << "the box is task-modal";

    // A click on the main window meanwhile does nothing.
    ClickOn(program.Control(kHelpButton));
    Sleep(300);
    EXPECT_EQ(TopWindows(program.Id(), "#32770").size(), 1u);

    ClickOn(contents.buttons[0]);
    EXPECT_TRUE(WaitFor([&] { return program.NoBoxOpen(); }));
    EXPECT_TRUE(WaitFor([&] { return IsWindowEnabled(program.Window()) != FALSE; }));
    EXPECT_FALSE(program.WaitExit(0).has_value());
}

TEST(Help, ShowsTheHelpBox) {
    Program program;
    ASSERT_NE(program.Window(), nullptr);
    ClickOn(program.Control(kHelpButton));
    const HWND box = program.WaitBox("Moxtrel0.1测试版");
    ASSERT_NE(box, nullptr);
    const BoxContents contents = ReadBox(box);
    EXPECT_EQ(contents.text,
              "    看到别人有，自己也写来玩玩，很简单的几行代码。\r\n"
              "目标文件保存在原文件目录下。\r\n"
              "以：文件名_01   文件名_2....这样的样式存放。");
    EXPECT_FALSE(contents.icon);
    EXPECT_EQ(contents.buttons.size(), 1u);
    Press(VK_RETURN);
    EXPECT_TRUE(WaitFor([&] { return program.NoBoxOpen(); }));
}

// The open-file dialog's parts, found by the control identifiers of the standard template.
struct FileDialog {
    HWND dialog = nullptr;
    HWND typeBox = nullptr;  // cmb1: the file types
    HWND nameBox = nullptr;  // cmb13 or edt1: the file name
    HWND list = nullptr;     // the file list
};

FileDialog FindFileDialog(const Program& program) {
    FileDialog found;
    WaitFor([&] {
        for (HWND dialog : TopWindows(program.Id(), "#32770")) {
            if (GetDlgItem(dialog, 0x470) != nullptr)
                found.dialog = dialog;
        }
        return found.dialog != nullptr;
    });
    if (found.dialog == nullptr)
        return found;
    found.typeBox = GetDlgItem(found.dialog, 0x470);
    found.nameBox = GetDlgItem(found.dialog, 0x47c);
    if (found.nameBox == nullptr)
        found.nameBox = GetDlgItem(found.dialog, 0x480);
    EnumChildWindows(
        found.dialog,
        [](HWND child, LPARAM p) -> BOOL {
            if (ClassOf(child) == "SysListView32")
                *reinterpret_cast<HWND*>(p) = child;
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&found.list));
    return found;
}

TEST(ChooseFile, TheDialogFillsThePathBoxAndRemembersTheLastChoice) {
    // A file in the program's own folder, named without its folder: the dialog starts there.
    std::string programFolder = g_program.substr(0, g_program.find_last_of('\\'));
    const std::string probe = programFolder + "\\e2e_probe.txt";
    WriteFile(probe, "probe");
    TempFolder folder;
    WriteFile(folder / "a.txt", "a");
    WriteFile(folder / "b.TXT", "b");
    WriteFile(folder / "c.dat", "c");

    Program program;
    ASSERT_NE(program.Window(), nullptr);
    Type("typed first");
    ASSERT_TRUE(WaitFor([&] { return program.PathText() == "typed first"; }));

    ClickOn(program.Control(kChooseButton));
    FileDialog dialog = FindFileDialog(program);
    ASSERT_NE(dialog.dialog, nullptr);
    EXPECT_FALSE(IsWindowEnabled(program.Window()));
    EXPECT_EQ(TextOf(dialog.typeBox), "文本文件");
    EXPECT_EQ(SendMessageA(dialog.typeBox, CB_GETCOUNT, 0, 0), 1);
    EXPECT_EQ(TextOf(dialog.nameBox), "");
    Type("e2e_probe.txt");
    Press(VK_RETURN);
    EXPECT_TRUE(WaitFor([&] { return program.NoBoxOpen(); }));
    EXPECT_TRUE(WaitFor([&] { return lstrcmpiA(program.PathText().c_str(), probe.c_str()) == 0; }))
        << program.PathText();
    EXPECT_TRUE(program.WaitFocus(kChooseButton));

    // The next opening offers the chosen file again; a full path typed over it replaces the
    // whole path box.
    ClickOn(program.Control(kChooseButton));
    dialog = FindFileDialog(program);
    ASSERT_NE(dialog.dialog, nullptr);
    EXPECT_EQ(lstrcmpiA(TextOf(dialog.nameBox).c_str(), "e2e_probe.txt"), 0)
        << TextOf(dialog.nameBox);
    Press(VK_END);
    Press(VK_HOME, {VK_SHIFT});
    Type(folder / "b.TXT");
    Press(VK_RETURN);
    EXPECT_TRUE(WaitFor([&] { return program.PathText() == folder / "b.TXT"; }))
        << program.PathText();
    EXPECT_TRUE(program.WaitFocus(kChooseButton));

    // The next opening is in that folder with that name, shows *.TXT files whatever their case,
    // and a cancel leaves the path box as the user left it.
    Press(VK_TAB, {VK_SHIFT});
    ASSERT_TRUE(program.WaitFocus(kPathBox));
    Press(VK_END);
    Type(" and more");
    ASSERT_TRUE(WaitFor([&] { return program.PathText() == folder / "b.TXT" + " and more"; }));
    ClickOn(program.Control(kChooseButton));
    dialog = FindFileDialog(program);
    ASSERT_NE(dialog.dialog, nullptr);
    EXPECT_EQ(TextOf(dialog.nameBox), "b.TXT");
    if (dialog.list != nullptr) {
        EXPECT_TRUE(WaitFor([&] { return SendMessageA(dialog.list, LVM_GETITEMCOUNT, 0, 0) == 2; }))
            << "items listed: " << SendMessageA(dialog.list, LVM_GETITEMCOUNT, 0, 0);
    } else {
        ADD_FAILURE() << "no file list found in the dialog";
    }
    // A name that does not exist is refused with the system's warning; the dialog stays.
    Press(VK_END);
    Press(VK_HOME, {VK_SHIFT});
    Type("missing.txt");
    Press(VK_RETURN);
    EXPECT_TRUE(WaitFor([&] { return TopWindows(program.Id(), "#32770").size() == 2; }))
        << "no warning for a missing file";
    Press(VK_RETURN);
    EXPECT_TRUE(WaitFor([&] { return TopWindows(program.Id(), "#32770").size() == 1; }));
    EXPECT_TRUE(IsWindowVisible(dialog.dialog));
    EXPECT_EQ(program.PathText(), folder / "b.TXT" + " and more");
    Press(VK_ESCAPE);
    EXPECT_TRUE(WaitFor([&] { return program.NoBoxOpen(); }));
    EXPECT_EQ(program.PathText(), folder / "b.TXT" + " and more");
    DeleteFileA(probe.c_str());
}

TEST(Mouse, DraggingAFreeSpotMovesTheWindowAndAControlDoesNot) {
    Program program;
    ASSERT_NE(program.Window(), nullptr);
    const RECT before = program.WindowRect();
    // Between the radio buttons and the push buttons nothing covers the client area.
    Drag(program.ClientPoint(158, 100), program.ClientPoint(158 + 40, 100 + 30));
    RECT after{};
    EXPECT_TRUE(WaitFor([&] {
        after = program.WindowRect();
        return after.left == before.left + 40 && after.top == before.top + 30;
    })) << "window at "
        << after.left << "," << after.top << " from " << before.left << "," << before.top;
    EXPECT_EQ(after.right - after.left, 316);

    Drag(program.ClientPoint(100, 20), program.ClientPoint(160, 60));  // inside the path box
    Sleep(300);
    const RECT still = program.WindowRect();
    EXPECT_EQ(still.left, after.left);
    EXPECT_EQ(still.top, after.top);
    EXPECT_EQ(program.FocusId(), kPathBox);
}

TEST(Focus, ComesBackToItsControlAfterAnotherWindowWasActive) {
    Program program;
    ASSERT_NE(program.Window(), nullptr);
    for (int i = 0; i < 7; ++i) Press(VK_TAB);
    ASSERT_TRUE(program.WaitFocus(kExitButton));

    const HWND other =
        CreateWindowExA(0, "STATIC", "another program", WS_OVERLAPPED | WS_CAPTION | WS_VISIBLE, 0,
                        0, 200, 100, nullptr, nullptr, GetModuleHandleA(nullptr), nullptr);
    ASSERT_NE(other, nullptr);
    Click({100, 50});
    bool switched = WaitFor(
        [&] {
            MSG message;
            while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) DispatchMessageA(&message);
            return GetForegroundWindow() == other;
        },
        5000);
    EXPECT_TRUE(switched);
    const RECT r = program.WindowRect();
    Click({(r.left + r.right) / 2, r.top + 8});  // its title bar
    EXPECT_TRUE(WaitFor([&] {
        MSG message;
        while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) DispatchMessageA(&message);
        return GetForegroundWindow() == program.Window();
    }));
    EXPECT_TRUE(program.WaitFocus(kExitButton)) << "focus on " << program.FocusId();
    DestroyWindow(other);
}

// Where on the window the system puts a non-client part (its hit-test code).
std::optional<POINT> FindHit(HWND window, LRESULT part) {
    RECT r;
    GetWindowRect(window, &r);
    long sumX = 0, sumY = 0, count = 0;
    for (int y = r.top; y < r.top + 40; ++y) {
        for (int x = r.right - 80; x < r.right; ++x) {
            if (SendMessageA(window, WM_NCHITTEST, 0, MAKELPARAM(x, y)) == part) {
                sumX += x;
                sumY += y;
                ++count;
            }
        }
    }
    if (count == 0)
        return std::nullopt;
    return POINT{sumX / count, sumY / count};
}

TEST(Exit, EveryWayOfClosingEndsWithExitCodeZero) {
    struct Way {
        const char* name;
        std::function<void(Program&)> close;
    };
    const Way ways[] = {
        {"退出 button", [](Program& p) { ClickOn(p.Control(kExitButton)); }},
        {"Space on the focused 退出 button",
         [](Program& p) {
             for (int i = 0; i < 7; ++i) Press(VK_TAB);
             p.WaitFocus(kExitButton);
             Press(VK_SPACE);
         }},
        {"close button",
         [](Program& p) {
             const std::optional<POINT> close = FindHit(p.Window(), HTCLOSE);
             ASSERT_TRUE(close.has_value()) << "no close button on the title bar";
             Click(*close);
         }},
        {"Alt+F4", [](Program&) { Press(VK_F4, {VK_MENU}); }},
        {"Close in the system menu",
         [](Program& p) {
             Press(VK_SPACE, {VK_MENU});
             ASSERT_TRUE(WaitFor([&] { return !TopWindows(p.Id(), "#32768").empty(); }, 5000))
                 << "no system menu";
             Press('C');
         }},
    };
    for (const Way& way : ways) {
        SCOPED_TRACE(way.name);
        Program program;
        ASSERT_NE(program.Window(), nullptr);
        way.close(program);
        const std::optional<DWORD> code = program.WaitExit();
        ASSERT_TRUE(code.has_value()) << "the program is still running";
        EXPECT_EQ(*code, 0u);
    }
}

}  // namespace

int main(int argc, char** argv) {
    testing::InitGoogleTest(&argc, argv);
    if (argc != 2) {
        fprintf(stderr, "usage: ui_e2e PATH\\TO\\Moxtrel.exe\n");
        return 2;
    }
    // ctest hands over a Unix path; Wine shows the Unix file system as drive Z:.
    g_program = argv[1];
    if (!g_program.empty() && g_program[0] == '/')
        g_program = "Z:" + g_program;
    std::replace(g_program.begin(), g_program.end(), '/', '\\');
    return RUN_ALL_TESTS();
}
