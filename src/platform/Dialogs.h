// Modal message boxes. Texts are CP949 bytes, as the game holds them; the
// backend converts them for the desktop.
#pragma once
#include <string>

namespace plat {

class IDialogs {
public:
    virtual ~IDialogs() = default;
    // A modal box with one OK button.
    virtual void ShowMessage(const std::string& caption, const std::string& text) = 0;
    // A modal box with two buttons; true when the first (yes) was chosen.
    virtual bool AskYesNo(const std::string& caption, const std::string& text,
                          const std::string& yes, const std::string& no) = 0;
};

IDialogs& Dialogs();
void SetDialogs(IDialogs* dialogs);  // null restores the stderr fallback

// The game's calls. While one of them is up the game frame is frozen and the
// application does not count as having lost the focus.
void MessageBox(const std::string& caption, const std::string& text);
bool AskYesNo(const std::string& caption, const std::string& text,
              const std::string& yes, const std::string& no);

// Non-zero while one of our own modal boxes is open.
int ModalDepth();

// Keeps ModalDepth raised for the lifetime of a dialog of our own.
class CModalScope {
public:
    CModalScope();
    ~CModalScope();
    CModalScope(const CModalScope&) = delete;
    CModalScope& operator=(const CModalScope&) = delete;
};

// Writes the box to stderr (UTF-8) and answers no; used when no desktop
// dialog can be shown.
class CStderrDialogs : public IDialogs {
public:
    void ShowMessage(const std::string& caption, const std::string& text) override;
    bool AskYesNo(const std::string& caption, const std::string& text,
                  const std::string& yes, const std::string& no) override;
};

}  // namespace plat
