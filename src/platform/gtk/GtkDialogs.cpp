#include "platform/gtk/GtkDialogs.h"

#include <gtk/gtk.h>

#include <utility>

#include "platform/TextCodec.h"
#include "platform/gtk/GtkDesktop.h"

namespace plat {

CGtkDialogs::CGtkDialogs(IDialogs& fallback, std::function<void()> afterBox)
    : m_fallback(fallback), m_afterBox(std::move(afterBox))
{
}

int CGtkDialogs::Run(const std::string& caption, const std::string& text, bool question,
                     std::initializer_list<std::pair<std::string, int>> buttons)
{
    GtkWidget* box = gtk_message_dialog_new(nullptr, GTK_DIALOG_MODAL,
                                            question ? GTK_MESSAGE_QUESTION : GTK_MESSAGE_OTHER,
                                            GTK_BUTTONS_NONE, nullptr);
    // As a property, not a format: the text is shown as it stands.
    g_object_set(box, "text", Cp949ToUtf8(text).c_str(), nullptr);
    gtk_window_set_title(GTK_WINDOW(box), Cp949ToUtf8(caption).c_str());
    for (const auto& [label, response] : buttons)
        gtk_dialog_add_button(GTK_DIALOG(box), Cp949ToUtf8(label).c_str(), response);
    // The first button answers Enter, as the desktop's box did.
    gtk_dialog_set_default_response(GTK_DIALOG(box), buttons.begin()->second);
    gtk_window_set_position(GTK_WINDOW(box), GTK_WIN_POS_CENTER);
    gtk_window_set_keep_above(GTK_WINDOW(box), TRUE);

    const unsigned pump = StartBoxPump();
    const int response = gtk_dialog_run(GTK_DIALOG(box));
    StopBoxPump(pump);
    gtk_widget_destroy(box);
    while (gtk_events_pending())
        gtk_main_iteration_do(FALSE);
    if (m_afterBox)
        m_afterBox();
    return response;
}

void CGtkDialogs::ShowMessage(const std::string& caption, const std::string& text)
{
    if (!GtkDesktopReady()) {
        m_fallback.ShowMessage(caption, text);
        return;
    }
    // The terminal always gets the text too: a box may not be visible.
    m_terminal.ShowMessage(caption, text);
    Run(caption, text, false, {{"OK", GTK_RESPONSE_OK}});
}

bool CGtkDialogs::AskYesNo(const std::string& caption, const std::string& text,
                           const std::string& yes, const std::string& no)
{
    if (!GtkDesktopReady())
        return m_fallback.AskYesNo(caption, text, yes, no);
    // Escape or the close box answers no.
    return Run(caption, text, true, {{yes, GTK_RESPONSE_YES}, {no, GTK_RESPONSE_NO}}) == GTK_RESPONSE_YES;
}

}  // namespace plat
