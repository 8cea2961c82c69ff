// What the four push buttons do. The handlers see the window only through WindowOperations,
// so their logic runs in a test without a window.
#pragma once

#include "byte_text.h"
#include "controls.h"
#include "split_job.h"

// The few things the click handlers need of the main window and its dialogs.
class WindowOperations {
  public:
    virtual ~WindowOperations() = default;
    // The path box's current text.
    virtual ByteText PathText() = 0;
    // Replaces the whole text of the path box.
    virtual void SetPathText(const ByteText& text) = 0;
    // Whether a radio button or the check box is checked now.
    virtual bool IsChecked(ControlId control) = 0;
    // Asks for the window to be destroyed once the current message has been handled.
    virtual void RequestDestruction() = 0;
    // An information box; the empty title stands for the default one. Returns once closed.
    virtual void ShowInformation(const ByteText& text, const ByteText& title) = 0;
    // Opens the file chooser; true when a file was chosen.
    virtual bool ChooseFile() = 0;
    // The full path the file chooser returned last.
    virtual ByteText ChosenFileName() = 0;
};

// The help box's title and its three lines, CR LF between them.
extern const char* const kHelpTitle;
extern const char* const kHelpText;

// The mode of the radio button that is checked; TwoFiles if, against the group's rule, none is.
SplitMode SelectedMode(WindowOperations& window);

// 按钮1: a chosen file's full path replaces the path box; a cancelled choice changes nothing.
void OnChooseFileClick(WindowOperations& window);
// 按钮2: runs the split job on the controls as they are now; its messages go to information
// boxes with the default title.
void OnStartClick(WindowOperations& window);
// 按钮3: the window goes once this click has been handled.
void OnExitClick(WindowOperations& window);
// 按钮4: the help box.
void OnHelpClick(WindowOperations& window);
