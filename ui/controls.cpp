#include "controls.h"

namespace {

constexpr DWORD kChild = WS_CHILD | WS_TABSTOP | WS_CLIPSIBLINGS;
constexpr DWORD kEdit = kChild | ES_LEFT | ES_AUTOHSCROLL;
constexpr DWORD kPush = kChild | BS_PUSHBUTTON | BS_CENTER | BS_VCENTER | BS_MULTILINE;
constexpr DWORD kCheck = kChild | BS_AUTOCHECKBOX | BS_LEFT | BS_VCENTER | BS_MULTILINE;
constexpr DWORD kRadio = kChild | BS_AUTORADIOBUTTON | BS_LEFT | BS_VCENTER | BS_MULTILINE;

}  // namespace

const ControlTemplate kControls[kControlCount] = {
    {kPathBox, "EDIT", "", 72, 8, 224, 24, kEdit, WS_EX_CLIENTEDGE},
    {kChooseButton, "BUTTON", "选择文件", 8, 8, 56, 24, kPush, 0},
    {kRadioTwoFiles, "BUTTON", "平均分成二个文件", 8, 48, 128, 18, kRadio, 0},
    {kRadioThreeFiles, "BUTTON", "平均分成三个文件", 8, 72, 144, 18, kRadio, 0},
    {kRadioPieces500000, "BUTTON", "平均分成500KB的文件", 8, 96, 136, 18, kRadio, 0},
    {kRadioPieces1000000, "BUTTON", "平均分成1MB的文件", 8, 120, 144, 18, kRadio, 0},
    {kStartButton, "BUTTON", "开始", 168, 64, 56, 32, kPush, 0},
    {kExitButton, "BUTTON", "退出", 248, 64, 56, 32, kPush, 0},
    {kDeleteCheck, "BUTTON", "完成后删除原文件", 184, 40, 120, 16, kCheck, 0},
    {kHelpButton, "BUTTON", "帮助", 168, 112, 136, 32, kPush, 0},
};
