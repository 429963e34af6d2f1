#include "platform/headless/ScriptedFormDialogs.h"

#include <algorithm>

namespace plat {

int CScriptedFormDialogs::Open(const FormTemplate& form, IMessageTarget* target)
{
    opened.push_back(form.id);
    if (!available)
        return 0;
    ScriptedForm f;
    f.handle = m_nextHandle++;
    f.form = form;
    f.target = target;
    for (const FormControl& c : form.controls) {
        if (c.kind == FormControlKind::Edit || c.kind == FormControlKind::MultiLineEdit)
            f.fields[c.id] = c.text.substr(0, Cp949Fit(c.text, c.maxBytes));
    }
    m_forms.push_back(std::move(f));
    return m_forms.back().handle;
}

void CScriptedFormDialogs::Destroy(int handle)
{
    m_forms.erase(std::remove_if(m_forms.begin(), m_forms.end(),
                                 [handle](const ScriptedForm& f) { return f.handle == handle; }),
                  m_forms.end());
}

ScriptedForm* CScriptedFormDialogs::Find(int handle)
{
    for (ScriptedForm& f : m_forms)
        if (f.handle == handle)
            return &f;
    return nullptr;
}

ScriptedForm* CScriptedFormDialogs::FindShown(int templateId)
{
    for (ScriptedForm& f : m_forms)
        if (f.form.id == templateId)
            return &f;
    return nullptr;
}

const ScriptedForm* CScriptedFormDialogs::Shown(int templateId) const
{
    return const_cast<CScriptedFormDialogs*>(this)->FindShown(templateId);
}

const FormControl* CScriptedFormDialogs::Control(const ScriptedForm& f, int id)
{
    for (const FormControl& c : f.form.controls)
        if (c.id == id)
            return &c;
    return nullptr;
}

void CScriptedFormDialogs::SetFieldText(int handle, int id, const std::string& text)
{
    ScriptedForm* f = Find(handle);
    const FormControl* c = f ? Control(*f, id) : nullptr;
    if (c && c->kind != FormControlKind::Button && c->kind != FormControlKind::Label)
        f->fields[id] = text.substr(0, Cp949Fit(text, c->maxBytes));
}

std::string CScriptedFormDialogs::GetFieldText(int handle, int id)
{
    ScriptedForm* f = Find(handle);
    if (!f)
        return {};
    auto it = f->fields.find(id);
    return it == f->fields.end() ? std::string() : it->second;
}

void CScriptedFormDialogs::EnableButton(int handle, int id, bool enable)
{
    if (ScriptedForm* f = Find(handle))
        f->disabled[id] = !enable;
}

std::optional<std::string> CScriptedFormDialogs::ChooseFile(int, const FileChoice& choice)
{
    fileRequests.push_back(choice);
    if (fileAnswers.empty())
        return std::nullopt;
    std::optional<std::string> answer = fileAnswers.front();
    fileAnswers.pop_front();
    return answer;
}

bool CScriptedFormDialogs::Type(int templateId, int fieldId, const std::string& text)
{
    ScriptedForm* f = FindShown(templateId);
    const FormControl* c = f ? Control(*f, fieldId) : nullptr;
    if (!c || c->kind == FormControlKind::Button || c->kind == FormControlKind::Label || c->hidden)
        return false;
    SetFieldText(f->handle, fieldId, text);
    return true;
}

std::string CScriptedFormDialogs::Field(int templateId, int fieldId) const
{
    const ScriptedForm* f = Shown(templateId);
    if (!f)
        return {};
    auto it = f->fields.find(fieldId);
    return it == f->fields.end() ? std::string() : it->second;
}

bool CScriptedFormDialogs::IsEnabled(int templateId, int buttonId) const
{
    const ScriptedForm* f = Shown(templateId);
    if (!f)
        return false;
    auto it = f->disabled.find(buttonId);
    return it == f->disabled.end() || !it->second;
}

bool CScriptedFormDialogs::Press(int templateId, int buttonId)
{
    ScriptedForm* f = FindShown(templateId);
    const FormControl* c = f ? Control(*f, buttonId) : nullptr;
    if (!c || c->kind != FormControlKind::Button || c->hidden || !IsEnabled(templateId, buttonId))
        return false;
    if (f->target)
        Loop().PostMessage(f->target, kWmFormCommand, static_cast<uintptr_t>(buttonId));
    return true;
}

bool CScriptedFormDialogs::RequestClose(int templateId)
{
    ScriptedForm* f = FindShown(templateId);
    if (!f)
        return false;
    if (f->target)
        Loop().PostMessage(f->target, kWmClose);
    return true;
}

}  // namespace plat
