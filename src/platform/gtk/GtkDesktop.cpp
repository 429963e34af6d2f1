#include "platform/gtk/GtkDesktop.h"

#include <gtk/gtk.h>

namespace plat {

bool GtkDesktopReady()
{
    // The game's own C runtime calls keep the process's "C" locale; Pango
    // still picks the desktop's fonts for Hangul by their coverage.
    static const bool ready = [] {
        gtk_disable_setlocale();
        return gtk_init_check(nullptr, nullptr) != FALSE;
    }();
    return ready;
}

}  // namespace plat
