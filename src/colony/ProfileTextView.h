// Where a colony greeting received from the server is shown: the text child
// (27) of the profile window (26). The profile window installs itself here;
// until one does, the greeting is only kept by the colony.
#pragma once

class IProfileTextView {
public:
    virtual ~IProfileTextView() = default;
    virtual void SetProfileText(const char* text) = 0;
};

IProfileTextView& ProfileTextView();
// Null puts the default (which shows nothing) back.
void SetProfileTextView(IProfileTextView* view);
