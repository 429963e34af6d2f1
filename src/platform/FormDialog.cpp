#include "platform/FormDialog.h"

namespace plat {

namespace {

// Without a desktop backend nothing can be shown.
class CNoFormDialogs : public IFormDialogs {
public:
    bool Available() override { return false; }
    int Open(const FormTemplate&, IMessageTarget*) override { return 0; }
    void Destroy(int) override {}
    void SetFieldText(int, int, const std::string&) override {}
    std::string GetFieldText(int, int) override { return {}; }
    void EnableButton(int, int, bool) override {}
    std::optional<std::string> ChooseFile(int, const FileChoice&) override { return std::nullopt; }
    int OpenCount() override { return 0; }
};

CNoFormDialogs g_noForms;
IFormDialogs* g_forms = &g_noForms;

}  // namespace

IFormDialogs& FormDialogs() { return *g_forms; }
void SetFormDialogs(IFormDialogs* dialogs) { g_forms = dialogs ? dialogs : &g_noForms; }
int FormsOpen() { return g_forms->OpenCount(); }

size_t Cp949Fit(const std::string& text, size_t maxBytes)
{
    if (maxBytes == 0 || text.size() <= maxBytes)
        return text.size();
    size_t n = 0;
    while (n < text.size()) {
        const size_t w = static_cast<uint8_t>(text[n]) >= 0x80 && n + 1 < text.size() ? 2 : 1;
        if (n + w > maxBytes)
            break;
        n += w;
    }
    return n;
}

}  // namespace plat
