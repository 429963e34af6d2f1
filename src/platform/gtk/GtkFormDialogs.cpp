#include "platform/gtk/GtkFormDialogs.h"

#include <gtk/gtk.h>
#ifdef GDK_WINDOWING_X11
#include <gdk/gdkx.h>
#endif
#include <sys/stat.h>

#include <algorithm>
#include <cctype>
#include <cstring>
#include <map>

#include "platform/Dialogs.h"
#include "platform/TextCodec.h"
#include "platform/gtk/GtkDesktop.h"

namespace plat {

struct CGtkFormDialogs::Form {
    int handle = 0;
    IMessageTarget* target = nullptr;
    GtkWidget* window = nullptr;
    // The game's window, the form's owner on the desktop (or null).
    GdkWindow* owner = nullptr;
    struct Field {
        GtkWidget* widget = nullptr;  // GtkEntry, GtkTextView or GtkButton
        FormControlKind kind = FormControlKind::Label;
        size_t maxBytes = 0;
        int id = 0;
        Form* form = nullptr;
    };
    // Stable addresses: the signal handlers hold them.
    std::map<int, std::unique_ptr<Field>> fields;
    bool inserting = false;
};

namespace {

// "&Open" -> "_Open"; "&&" -> "&"; a '_' of the text stays a '_'.
std::string GtkMnemonic(const std::string& utf8)
{
    std::string out;
    for (size_t i = 0; i < utf8.size(); ++i) {
        const char c = utf8[i];
        if (c == '&' && i + 1 < utf8.size() && utf8[i + 1] == '&') {
            out += '&';
            ++i;
        } else if (c == '&') {
            out += '_';
        } else if (c == '_') {
            out += "__";
        } else {
            out += c;
        }
    }
    return out;
}

// The desktop's line breaks (LF) and the edit control's (CR LF).
std::string ToCrLf(const std::string& text)
{
    std::string out;
    out.reserve(text.size() + text.size() / 16);
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '\n' && (i == 0 || text[i - 1] != '\r'))
            out += '\r';
        out += text[i];
    }
    return out;
}

std::string FromCrLf(const std::string& text)
{
    std::string out;
    out.reserve(text.size());
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n')
            continue;
        out += text[i];
    }
    return out;
}

std::string TextViewUtf8(GtkWidget* view)
{
    GtkTextBuffer* buffer = gtk_text_view_get_buffer(GTK_TEXT_VIEW(view));
    GtkTextIter start, end;
    gtk_text_buffer_get_bounds(buffer, &start, &end);
    gchar* text = gtk_text_buffer_get_text(buffer, &start, &end, FALSE);
    std::string out = text ? text : "";
    g_free(text);
    return out;
}

// CP949 bytes of a field's text as the game reads it.
size_t FieldBytes(const CGtkFormDialogs::Form::Field& f)
{
    if (f.kind == FormControlKind::MultiLineEdit)
        return Utf8ToCp949(ToCrLf(TextViewUtf8(f.widget))).size();
    return Utf8ToCp949(gtk_entry_get_text(GTK_ENTRY(f.widget))).size();
}

// An entry takes what fits of a typed or pasted text.
void OnEntryInsert(GtkEditable* editable, const gchar* text, gint length, gint* position, gpointer data)
{
    auto* f = static_cast<CGtkFormDialogs::Form::Field*>(data);
    if (f->maxBytes == 0 || f->form->inserting)
        return;
    const std::string added = Utf8ToCp949(std::string(text, length < 0 ? std::strlen(text) : size_t(length)));
    const size_t held = FieldBytes(*f);
    if (held + added.size() <= f->maxBytes)
        return;
    g_signal_stop_emission_by_name(editable, "insert-text");
    const size_t room = f->maxBytes > held ? f->maxBytes - held : 0;
    const size_t fit = Cp949Fit(added, room);
    if (fit == 0) {
        gtk_widget_error_bell(GTK_WIDGET(editable));
        return;
    }
    const std::string piece = Cp949ToUtf8(added.substr(0, fit));
    f->form->inserting = true;
    gtk_editable_insert_text(editable, piece.c_str(), -1, position);
    f->form->inserting = false;
}

// The text view refuses an insertion that does not fit whole.
void OnBufferInsert(GtkTextBuffer* buffer, GtkTextIter*, gchar* text, gint length, gpointer data)
{
    auto* f = static_cast<CGtkFormDialogs::Form::Field*>(data);
    if (f->maxBytes == 0 || f->form->inserting)
        return;
    const std::string added =
        Utf8ToCp949(ToCrLf(std::string(text, length < 0 ? std::strlen(text) : size_t(length))));
    if (FieldBytes(*f) + added.size() > f->maxBytes) {
        g_signal_stop_emission_by_name(buffer, "insert-text");
        gtk_widget_error_bell(f->widget);
    }
}

void OnButtonClicked(GtkButton*, gpointer data)
{
    auto* f = static_cast<CGtkFormDialogs::Form::Field*>(data);
    if (f->form->target)
        Loop().PostMessage(f->form->target, kWmFormCommand, static_cast<uintptr_t>(f->id));
}

// The close box asks; the form's owner decides and destroys the form.
gboolean OnDeleteEvent(GtkWidget*, GdkEvent*, gpointer data)
{
    auto* form = static_cast<CGtkFormDialogs::Form*>(data);
    if (form->target)
        Loop().PostMessage(form->target, kWmClose);
    return TRUE;
}

void AddPatterns(GtkFileFilter* filter, const std::string& patterns)
{
    size_t start = 0;
    while (start <= patterns.size()) {
        size_t end = patterns.find(';', start);
        if (end == std::string::npos)
            end = patterns.size();
        std::string p = patterns.substr(start, end - start);
        if (!p.empty()) {
            // The desktop's file names are case-sensitive; the patterns were not.
            std::string lower = p, upper = p;
            std::transform(lower.begin(), lower.end(), lower.begin(), [](unsigned char c) { return std::tolower(c); });
            std::transform(upper.begin(), upper.end(), upper.begin(), [](unsigned char c) { return std::toupper(c); });
            gtk_file_filter_add_pattern(filter, p.c_str());
            gtk_file_filter_add_pattern(filter, lower.c_str());
            gtk_file_filter_add_pattern(filter, upper.c_str());
        }
        start = end + 1;
    }
}

bool HasExtension(const std::string& path)
{
    const size_t slash = path.rfind('/');
    const size_t dot = path.rfind('.');
    return dot != std::string::npos && (slash == std::string::npos || dot > slash);
}

bool FileExists(const std::string& path)
{
    struct stat st {};
    return ::stat(path.c_str(), &st) == 0;
}

}  // namespace

CGtkFormDialogs::CGtkFormDialogs() = default;

CGtkFormDialogs::~CGtkFormDialogs()
{
    while (!m_forms.empty())
        Destroy(m_forms.back()->handle);
    if (m_registered)
        Loop().RemoveEventSource(this);
}

bool CGtkFormDialogs::Available() { return GtkDesktopReady(); }

CGtkFormDialogs::Form* CGtkFormDialogs::Find(int handle)
{
    for (auto& f : m_forms)
        if (f->handle == handle)
            return f.get();
    return nullptr;
}

int CGtkFormDialogs::Open(const FormTemplate& form, IMessageTarget* target)
{
    if (!Available())
        return 0;
    auto f = std::make_unique<Form>();
    f->handle = m_nextHandle++;
    f->target = target;
    GtkWidget* window = gtk_window_new(GTK_WINDOW_TOPLEVEL);
    f->window = window;
    gtk_window_set_title(GTK_WINDOW(window), Cp949ToUtf8(form.title).c_str());
    gtk_window_set_resizable(GTK_WINDOW(window), FALSE);
    gtk_window_set_keep_above(GTK_WINDOW(window), TRUE);
    gtk_window_move(GTK_WINDOW(window), 0, 0);
    gtk_container_set_border_width(GTK_CONTAINER(window), 8);
    g_signal_connect(window, "delete-event", G_CALLBACK(OnDeleteEvent), f.get());

    GtkWidget* box = gtk_box_new(GTK_ORIENTATION_VERTICAL, 6);
    gtk_container_add(GTK_CONTAINER(window), box);
    GtkWidget* grid = gtk_grid_new();
    gtk_grid_set_row_spacing(GTK_GRID(grid), 4);
    gtk_grid_set_column_spacing(GTK_GRID(grid), 6);
    gtk_box_pack_start(GTK_BOX(box), grid, TRUE, TRUE, 0);
    GtkWidget* buttons = gtk_button_box_new(GTK_ORIENTATION_HORIZONTAL);
    gtk_button_box_set_layout(GTK_BUTTON_BOX(buttons), GTK_BUTTONBOX_END);
    gtk_box_set_spacing(GTK_BOX(buttons), 6);
    gtk_box_pack_end(GTK_BOX(box), buttons, FALSE, FALSE, 0);

    int row = 0;
    GtkWidget* pendingLabel = nullptr;
    for (const FormControl& c : form.controls) {
        const std::string text = Cp949ToUtf8(c.text);
        GtkWidget* w = nullptr;
        switch (c.kind) {
        case FormControlKind::Label:
            pendingLabel = gtk_label_new(text.c_str());
            gtk_widget_set_halign(pendingLabel, GTK_ALIGN_START);
            continue;
        case FormControlKind::Button:
            w = gtk_button_new_with_mnemonic(GtkMnemonic(text).c_str());
            gtk_container_add(GTK_CONTAINER(buttons), w);
            break;
        case FormControlKind::Edit:
            w = gtk_entry_new();
            gtk_entry_set_text(GTK_ENTRY(w), text.c_str());
            gtk_widget_set_hexpand(w, TRUE);
            break;
        case FormControlKind::MultiLineEdit: {
            w = gtk_text_view_new();
            gtk_text_view_set_wrap_mode(GTK_TEXT_VIEW(w), GTK_WRAP_WORD_CHAR);
            gtk_text_buffer_set_text(gtk_text_view_get_buffer(GTK_TEXT_VIEW(w)), FromCrLf(text).c_str(), -1);
            break;
        }
        }
        auto field = std::make_unique<Form::Field>();
        field->widget = w;
        field->kind = c.kind;
        field->maxBytes = c.maxBytes;
        field->id = c.id;
        field->form = f.get();
        if (c.kind == FormControlKind::Button) {
            g_signal_connect(w, "clicked", G_CALLBACK(OnButtonClicked), field.get());
        } else {
            GtkWidget* placed = w;
            if (c.kind == FormControlKind::MultiLineEdit) {
                g_signal_connect(gtk_text_view_get_buffer(GTK_TEXT_VIEW(w)), "insert-text",
                                 G_CALLBACK(OnBufferInsert), field.get());
                placed = gtk_scrolled_window_new(nullptr, nullptr);
                gtk_scrolled_window_set_policy(GTK_SCROLLED_WINDOW(placed), GTK_POLICY_AUTOMATIC,
                                               GTK_POLICY_AUTOMATIC);
                gtk_widget_set_size_request(placed, 480, 320);
                gtk_widget_set_hexpand(placed, TRUE);
                gtk_widget_set_vexpand(placed, TRUE);
                gtk_container_add(GTK_CONTAINER(placed), w);
            } else {
                g_signal_connect(w, "insert-text", G_CALLBACK(OnEntryInsert), field.get());
            }
            if (pendingLabel) {
                gtk_grid_attach(GTK_GRID(grid), pendingLabel, 0, row, 1, 1);
                gtk_grid_attach(GTK_GRID(grid), placed, 1, row, 1, 1);
            } else {
                gtk_grid_attach(GTK_GRID(grid), placed, 0, row, 2, 1);
            }
            if (c.hidden) {
                gtk_widget_set_no_show_all(placed, TRUE);
                if (pendingLabel)
                    gtk_widget_set_no_show_all(pendingLabel, TRUE);
            }
            pendingLabel = nullptr;
            ++row;
        }
        if (c.hidden)
            gtk_widget_set_no_show_all(w, TRUE);
        f->fields[c.id] = std::move(field);
    }
    if (pendingLabel)
        gtk_grid_attach(GTK_GRID(grid), pendingLabel, 0, row, 2, 1);

    SetOwnerWindow(*f);
    gtk_widget_show_all(window);
    gtk_window_present(GTK_WINDOW(window));
    m_forms.push_back(std::move(f));
    if (!m_registered) {
        Loop().AddEventSource(this);
        m_registered = true;
    }
    return m_forms.back()->handle;
}

void CGtkFormDialogs::SetOwnerWindow(Form& form)
{
    const unsigned long native = m_owner ? m_owner() : 0;
    if (native == 0)
        return;
#ifdef GDK_WINDOWING_X11
    GdkDisplay* display = gtk_widget_get_display(form.window);
    if (!GDK_IS_X11_DISPLAY(display))
        return;
    gtk_widget_realize(form.window);
    form.owner = gdk_x11_window_foreign_new_for_display(display, static_cast<Window>(native));
    if (form.owner)
        gdk_window_set_transient_for(gtk_widget_get_window(form.window), form.owner);
#endif
}

void CGtkFormDialogs::Destroy(int handle)
{
    auto it = std::find_if(m_forms.begin(), m_forms.end(), [handle](const auto& f) { return f->handle == handle; });
    if (it == m_forms.end())
        return;
    std::unique_ptr<Form> form = std::move(*it);
    m_forms.erase(it);
    // No handler may see the form once it is gone.
    form->target = nullptr;
    gtk_widget_destroy(form->window);
    if (form->owner)
        g_object_unref(form->owner);
    while (gtk_events_pending())
        gtk_main_iteration_do(FALSE);
    if (m_forms.empty() && m_registered) {
        Loop().RemoveEventSource(this);
        m_registered = false;
    }
}

void CGtkFormDialogs::SetFieldText(int handle, int id, const std::string& text)
{
    Form* f = Find(handle);
    if (!f)
        return;
    auto it = f->fields.find(id);
    if (it == f->fields.end())
        return;
    Form::Field& field = *it->second;
    const std::string fitted = text.substr(0, Cp949Fit(text, field.maxBytes));
    f->inserting = true;
    if (field.kind == FormControlKind::Edit)
        gtk_entry_set_text(GTK_ENTRY(field.widget), Cp949ToUtf8(fitted).c_str());
    else if (field.kind == FormControlKind::MultiLineEdit)
        gtk_text_buffer_set_text(gtk_text_view_get_buffer(GTK_TEXT_VIEW(field.widget)),
                                 FromCrLf(Cp949ToUtf8(fitted)).c_str(), -1);
    f->inserting = false;
}

std::string CGtkFormDialogs::GetFieldText(int handle, int id)
{
    Form* f = Find(handle);
    if (!f)
        return {};
    auto it = f->fields.find(id);
    if (it == f->fields.end())
        return {};
    const Form::Field& field = *it->second;
    std::string text;
    if (field.kind == FormControlKind::Edit)
        text = Utf8ToCp949(gtk_entry_get_text(GTK_ENTRY(field.widget)));
    else if (field.kind == FormControlKind::MultiLineEdit)
        text = Utf8ToCp949(ToCrLf(TextViewUtf8(field.widget)));
    return text.substr(0, Cp949Fit(text, field.maxBytes));
}

void CGtkFormDialogs::EnableButton(int handle, int id, bool enable)
{
    Form* f = Find(handle);
    if (!f)
        return;
    auto it = f->fields.find(id);
    if (it != f->fields.end() && it->second->kind == FormControlKind::Button)
        gtk_widget_set_sensitive(it->second->widget, enable ? TRUE : FALSE);
}

std::optional<std::string> CGtkFormDialogs::ChooseFile(int handle, const FileChoice& choice)
{
    Form* f = Find(handle);
    if (!f)
        return std::nullopt;
    GtkWidget* dialog = gtk_file_chooser_dialog_new(
        nullptr, GTK_WINDOW(f->window), choice.save ? GTK_FILE_CHOOSER_ACTION_SAVE : GTK_FILE_CHOOSER_ACTION_OPEN,
        "_Cancel", GTK_RESPONSE_CANCEL, choice.save ? "_Save" : "_Open", GTK_RESPONSE_ACCEPT, nullptr);
    GtkFileChooser* chooser = GTK_FILE_CHOOSER(dialog);
    const bool patterns = choice.initialName.find('*') != std::string::npos;
    if (patterns || !choice.filterName.empty()) {
        GtkFileFilter* filter = gtk_file_filter_new();
        gtk_file_filter_set_name(filter, Cp949ToUtf8(choice.filterName).c_str());
        AddPatterns(filter, patterns ? choice.initialName : "*");
        gtk_file_chooser_add_filter(chooser, filter);
    }
    if (choice.save) {
        gtk_file_chooser_set_do_overwrite_confirmation(chooser, TRUE);
        if (!patterns)
            gtk_file_chooser_set_current_name(chooser, Cp949ToUtf8(choice.initialName).c_str());
    }
    std::optional<std::string> path;
    {
        // The chooser runs its own loop, as the desktop's common dialog did.
        CModalScope modal;
        // The loop goes on while the chooser runs, as under a message box.
        const unsigned pump = StartBoxPump();
        if (gtk_dialog_run(GTK_DIALOG(dialog)) == GTK_RESPONSE_ACCEPT) {
            if (gchar* name = gtk_file_chooser_get_filename(chooser)) {
                path = name;
                g_free(name);
            }
        }
        StopBoxPump(pump);
    }
    gtk_widget_destroy(dialog);
    while (gtk_events_pending())
        gtk_main_iteration_do(FALSE);
    // The default extension goes on a bare name, as the common dialog did.
    if (path && !HasExtension(*path) && !choice.defaultExtension.empty() && (choice.save || !FileExists(*path)))
        *path += "." + choice.defaultExtension;
    return path;
}

void CGtkFormDialogs::Pump()
{
    // A box of our own runs GTK's loop itself meanwhile.
    if (ModalDepth() > 0)
        return;
    // A bounded number: a flood of events must not hold up the frame.
    for (int i = 0; i < 256 && gtk_events_pending(); ++i)
        gtk_main_iteration_do(FALSE);
}

bool CGtkFormDialogs::ClickButton(int handle, int id)
{
    Form* f = Find(handle);
    if (!f)
        return false;
    auto it = f->fields.find(id);
    if (it == f->fields.end() || it->second->kind != FormControlKind::Button)
        return false;
    gtk_button_clicked(GTK_BUTTON(it->second->widget));
    return true;
}

bool CGtkFormDialogs::CloseBox(int handle)
{
    Form* f = Find(handle);
    if (!f)
        return false;
    GdkEvent* event = gdk_event_new(GDK_DELETE);
    event->any.window = GDK_WINDOW(g_object_ref(gtk_widget_get_window(f->window)));
    event->any.send_event = TRUE;
    gtk_main_do_event(event);
    gdk_event_free(event);
    return true;
}

}  // namespace plat
