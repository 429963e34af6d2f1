// Message boxes on the desktop through GTK 3: caption, text and buttons in
// UTF-8, drawn by Pango with the desktop's fonts, so Hangul reads as Hangul.
// While a box is up the message loop's event sources (the sockets), its
// services' notices and its timers still run, as the modal box's own loop
// dispatched them; no game frame runs and the game's window takes no input.
// Where GTK cannot reach the desktop the fallback shows the box.
#pragma once
#include <functional>
#include <string>

#include "platform/Dialogs.h"

namespace plat {

class CGtkDialogs : public IDialogs {
public:
    // afterBox runs once a box has closed: the game window's backend puts
    // its cursor back and drops the focus changes the box caused.
    explicit CGtkDialogs(IDialogs& fallback, std::function<void()> afterBox = {});

    void ShowMessage(const std::string& caption, const std::string& text) override;
    bool AskYesNo(const std::string& caption, const std::string& text,
                  const std::string& yes, const std::string& no) override;

private:
    // Runs a box with the given buttons (CP949 label, response id) until it
    // is answered or closed; the response.
    int Run(const std::string& caption, const std::string& text, bool question,
            std::initializer_list<std::pair<std::string, int>> buttons);

    IDialogs& m_fallback;
    std::function<void()> m_afterBox;
    CStderrDialogs m_terminal;
};

}  // namespace plat
