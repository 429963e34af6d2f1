#include "colony/ProfileTextView.h"

namespace {

class CNoProfileWindow : public IProfileTextView {
public:
    void SetProfileText(const char* /*text*/) override {}
};

CNoProfileWindow g_noProfileWindow;
IProfileTextView* g_view = nullptr;

}  // namespace

IProfileTextView& ProfileTextView() { return g_view ? *g_view : g_noProfileWindow; }

void SetProfileTextView(IProfileTextView* view) { g_view = view; }
