// The program's dialogs besides the main window: the open-file chooser that fills the path
// box, and the information box that shows the split job's messages and the help text.
#pragma once

#include <windows.h>

#include <array>
#include <string>

#include "byte_text.h"

// The title of an information box when the caller gives none: "信息：".
extern const char* const kInformationTitle;

// Shows a task-modal box without owner, with one OK button and no icon, and returns once the
// user has closed it. The empty title stands for kInformationTitle.
void ShowInformation(const ByteText& text, const ByteText& title = ByteText());

// The lpstrFilter bytes for a "description|pattern|..." filter: white space cut from the end,
// "||" appended unless already there, and every "|" that begins a character made a NUL (a
// "|" that is the trail byte of a double-byte character stays).
std::string OpenFileFilter(const ByteText& filter);

constexpr int kPathBufferSize = 260;
constexpr DWORD kOpenFileFlags = OFN_HIDEREADONLY | OFN_FILEMUSTEXIST | OFN_OVERWRITEPROMPT |
                                 OFN_PATHMUSTEXIST | OFN_EXPLORER | OFN_ENABLESIZING;

// Everything one opening of the open-file dialog is given; it owns the memory that the
// OPENFILENAMEA it fills points into, so it must outlive the dialog.
struct OpenFileRequest {
    std::string filter;                        // from OpenFileFilter
    std::string initialDirectory;              // empty: none
    std::array<char, kPathBufferSize> path{};  // the name setting, cut to 259 bytes, NUL after

    OPENFILENAMEA Fill(HWND owner);
};

// The request for an opening with these settings; the name is cut to the buffer's 259 bytes.
OpenFileRequest MakeOpenFileRequest(const ByteText& filter, const ByteText& initialDirectory,
                                    const ByteText& fileName);

// The open-file chooser of the main window. Its three settings live as long as the window:
// the filter and initial directory are set once at creation, the file name is the full path
// chosen last and changes only when a choice succeeds.
class FileChooser {
  public:
    void SetFilter(const ByteText& filter) { filter_ = filter; }
    void SetInitialDirectory(const ByteText& directory) { initialDirectory_ = directory; }
    const ByteText& FileName() const { return fileName_; }

    // Shows the dialog, owned by the active window, and gives the focus back afterwards to
    // the control that had it. True when a file was chosen; its path is then FileName().
    // Cancel, Esc, closing the dialog and a failing dialog all give false and change nothing.
    bool ChooseFile();

  private:
    ByteText filter_;
    ByteText initialDirectory_;
    ByteText fileName_;
};
