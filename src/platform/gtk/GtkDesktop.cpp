#include "platform/gtk/GtkDesktop.h"

#include <gtk/gtk.h>

#include "platform/Loop.h"

namespace plat {

namespace {

// How often the loop is pumped while a box is up.
constexpr unsigned kBoxPumpMs = 10;

gboolean PumpLoop(gpointer)
{
    Loop().PumpDuringBox();
    return G_SOURCE_CONTINUE;
}

}  // namespace

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

unsigned StartBoxPump() { return g_timeout_add(kBoxPumpMs, PumpLoop, nullptr); }

void StopBoxPump(unsigned pump)
{
    if (pump != 0)
        g_source_remove(pump);
}

}  // namespace plat
