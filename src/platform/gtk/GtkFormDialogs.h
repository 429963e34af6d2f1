// The GTK 3 form dialogs: a top-level window of labels, entries, a text
// view and a row of buttons, in which the desktop's input method types.
// GTK's events are pumped from the message loop's pass while a form is up,
// so the game goes on beside it. GTK is started on first use and only if
// it can reach the desktop.
#pragma once
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "platform/FormDialog.h"
#include "platform/Loop.h"

namespace plat {

class CGtkFormDialogs : public IFormDialogs, public IEventSource {
public:
    CGtkFormDialogs();
    ~CGtkFormDialogs() override;
    CGtkFormDialogs(const CGtkFormDialogs&) = delete;
    CGtkFormDialogs& operator=(const CGtkFormDialogs&) = delete;

    // The game's window as the desktop knows it (an X11 window id; 0 for
    // none): a form stays above it, as the dialog the game's window owned
    // did, also while the game's full-screen window has the focus.
    void SetOwner(std::function<unsigned long()> nativeWindow) { m_owner = std::move(nativeWindow); }

    bool Available() override;
    int Open(const FormTemplate& form, IMessageTarget* target) override;
    void Destroy(int handle) override;
    void SetFieldText(int handle, int id, const std::string& text) override;
    std::string GetFieldText(int handle, int id) override;
    void EnableButton(int handle, int id, bool enable) override;
    std::optional<std::string> ChooseFile(int handle, const FileChoice& choice) override;
    int OpenCount() override { return static_cast<int>(m_forms.size()); }

    // IEventSource: GTK's pending events.
    void Pump() override;

    // For the smoke test: the button's press as a click on it, the close
    // box, and GTK's pending events handled now.
    bool ClickButton(int handle, int id);
    bool CloseBox(int handle);
    void PumpNow() { Pump(); }

    struct Form;

private:
    Form* Find(int handle);
    void SetOwnerWindow(Form& form);

    std::function<unsigned long()> m_owner;
    std::vector<std::unique_ptr<Form>> m_forms;
    int m_nextHandle = 1;
    bool m_registered = false;
};

}  // namespace plat
