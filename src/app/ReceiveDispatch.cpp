#include "app/ReceiveDispatch.h"

#include "app/QuillonView.h"

uint16_t g_myId;

void CQuillonView::ReceiveDispatch()
{
    // The receive framing and the command handlers attach here.
}
