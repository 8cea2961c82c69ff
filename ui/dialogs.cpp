#include "dialogs.h"

#include <commdlg.h>

#include <algorithm>

const char* const kInformationTitle = "信息：";

void ShowInformation(const ByteText& text, const ByteText& title) {
    // No owner: MB_TASKMODAL disables every top-level window of this thread instead.
    const std::string caption = title.Empty() ? kInformationTitle : title.CString();
    MessageBoxA(nullptr, text.CString().c_str(), caption.c_str(), MB_OK | MB_TASKMODAL);
}

std::string OpenFileFilter(const ByteText& filter) {
    std::string bytes(filter.View());
    while (!bytes.empty() &&
           (bytes.back() == ' ' || (bytes.back() >= '\t' && bytes.back() <= '\r'))) {
        bytes.pop_back();
    }
    if (bytes.size() < 2 || bytes.compare(bytes.size() - 2, 2, "||") != 0)
        bytes += "||";
    for (size_t i = 0; i < bytes.size(); ++i) {
        if (static_cast<unsigned char>(bytes[i]) >= 0x80) {
            ++i;  // a lead byte: its trail byte is part of the same character
        } else if (bytes[i] == '|') {
            bytes[i] = '\0';
        }
    }
    return bytes;
}

OPENFILENAMEA OpenFileRequest::Fill(HWND owner) {
    OPENFILENAMEA dialog{};
    dialog.lStructSize = sizeof dialog;
    dialog.hwndOwner = owner;
    dialog.lpstrFilter = filter.c_str();
    dialog.nFilterIndex = 1;
    dialog.lpstrFile = path.data();
    dialog.nMaxFile = kPathBufferSize;
    dialog.lpstrInitialDir = initialDirectory.empty() ? nullptr : initialDirectory.c_str();
    dialog.Flags = kOpenFileFlags;
    return dialog;
}

OpenFileRequest MakeOpenFileRequest(const ByteText& filter, const ByteText& initialDirectory,
                                    const ByteText& fileName) {
    OpenFileRequest request;
    request.filter = OpenFileFilter(filter);
    request.initialDirectory = initialDirectory.CString();
    const std::string_view name = fileName.View();
    std::copy_n(name.begin(), std::min<size_t>(name.size(), kPathBufferSize - 1),
                request.path.begin());
    return request;
}

bool FileChooser::ChooseFile() {
    OpenFileRequest request = MakeOpenFileRequest(filter_, initialDirectory_, fileName_);
    OPENFILENAMEA dialog = request.Fill(GetActiveWindow());
    const HWND focus = GetFocus();
    const BOOL chosen = GetOpenFileNameA(&dialog);
    if (focus != nullptr && IsWindow(focus))
        SetFocus(focus);
    if (!chosen)
        return false;
    fileName_ = ByteText(std::string_view(request.path.data(), request.path.size()));
    return true;
}
