// The headless form dialogs: forms are kept in memory and a test plays the
// user: it types into fields, presses buttons, asks to close and answers
// the file chooser. Presses and close requests are posted to the form's
// target as a desktop form would post them.
#pragma once
#include <deque>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "platform/FormDialog.h"

namespace plat {

struct ScriptedForm {
    int handle = 0;
    FormTemplate form;
    IMessageTarget* target = nullptr;
    std::map<int, std::string> fields;
    std::map<int, bool> disabled;
};

class CScriptedFormDialogs : public IFormDialogs {
public:
    bool Available() override { return available; }
    int Open(const FormTemplate& form, IMessageTarget* target) override;
    void Destroy(int handle) override;
    void SetFieldText(int handle, int id, const std::string& text) override;
    std::string GetFieldText(int handle, int id) override;
    void EnableButton(int handle, int id, bool enable) override;
    std::optional<std::string> ChooseFile(int handle, const FileChoice& choice) override;
    int OpenCount() override { return static_cast<int>(m_forms.size()); }

    // ---- the user's side; forms are named by their template id ----
    // The form shown with that template, or null.
    const ScriptedForm* Shown(int templateId) const;
    // Types text into a field as the user would: the field keeps what its
    // limit allows. False when there is no such form or field.
    bool Type(int templateId, int fieldId, const std::string& text);
    std::string Field(int templateId, int fieldId) const;
    // Presses a shown, enabled button: its press is posted. False otherwise.
    bool Press(int templateId, int buttonId);
    bool IsEnabled(int templateId, int buttonId) const;
    // The desktop's close request (the title bar's close box).
    bool RequestClose(int templateId);

    bool available = true;
    // Answers of ChooseFile, taken in order; nothing when empty.
    std::deque<std::optional<std::string>> fileAnswers;
    std::vector<FileChoice> fileRequests;
    // The template ids of every Open, in order.
    std::vector<int> opened;

private:
    ScriptedForm* Find(int handle);
    ScriptedForm* FindShown(int templateId);
    static const FormControl* Control(const ScriptedForm& f, int id);

    std::vector<ScriptedForm> m_forms;
    int m_nextHandle = 1;
};

}  // namespace plat
