// Desktop form dialogs: a window built from a template of labels, text
// fields and buttons, in which the desktop's input method types. Texts at
// this interface are CP949 bytes, as the game holds them; a backend converts
// them for the desktop. Button presses and the close request are posted to
// the form's target through the message loop, so the game frame, the
// sockets and the timers go on while a form is up, and the game's window
// still takes the mouse and the keys beside it.
#pragma once
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "platform/Loop.h"

namespace plat {

// Posted to a form's target: a button was pressed (wParam = its id), or the
// desktop asked to close the form (kWmClose, wParam 0).
constexpr uint32_t kWmFormCommand = 0x0111;

enum class FormControlKind : uint8_t { Label, Edit, MultiLineEdit, Button };

struct FormControl {
    FormControlKind kind = FormControlKind::Label;
    int id = 0;
    // A label's or a button's caption ('&' marks the mnemonic, "&&" is a
    // plain '&'), or a field's first text.
    std::string text;
    // The most CP949 bytes a field takes; 0: no limit.
    size_t maxBytes = 0;
    bool hidden = false;
};

// A template: its controls in tab order. The layout is the backend's: a
// label stands before the field that follows it, buttons form a row.
struct FormTemplate {
    int id = 0;
    std::string title;
    std::vector<FormControl> controls;
};

struct FileChoice {
    bool save = false;
    std::string defaultExtension;
    // The name the chooser starts with; a name of patterns ("*.Txt;*.Doc")
    // filters by them instead.
    std::string initialName;
    std::string filterName;
};

class IFormDialogs {
public:
    virtual ~IFormDialogs() = default;
    // Whether a form can be shown on this desktop at all.
    virtual bool Available() = 0;
    // Shows a form; a handle above 0, or 0 when it cannot be shown.
    virtual int Open(const FormTemplate& form, IMessageTarget* target) = 0;
    // Takes the form down; nothing more is posted for it.
    virtual void Destroy(int handle) = 0;
    // A field's text; in a multi-line field lines end in CR LF, as a
    // desktop edit control gives them. A field takes at most its maxBytes.
    virtual void SetFieldText(int handle, int id, const std::string& text) = 0;
    virtual std::string GetFieldText(int handle, int id) = 0;
    virtual void EnableButton(int handle, int id, bool enable) = 0;
    // A modal file chooser over the form: the path, or nothing.
    virtual std::optional<std::string> ChooseFile(int handle, const FileChoice& choice) = 0;
    // Forms shown now.
    virtual int OpenCount() = 0;
};

IFormDialogs& FormDialogs();
// null restores the default, which has no desktop to show forms on.
void SetFormDialogs(IFormDialogs* dialogs);

// Forms shown now; while there are any, the focus going to one of them is
// not the game losing it.
int FormsOpen();

// The longest start of text that fits in maxBytes CP949 bytes without
// splitting a double-byte character; 0 maxBytes: all of it.
size_t Cp949Fit(const std::string& text, size_t maxBytes);

}  // namespace plat
