// The GTK message boxes on a desktop: run on the virtual display of their
// CTest entry (tests/support/run-on-xvfb), skipped anywhere else so that no
// test opens a box on a real desktop.
#include <gtest/gtest.h>

#if defined(QUORVEL_HAVE_GTK)
#include <gtk/gtk.h>

#include <cstdlib>
#include <functional>
#include <string>

#include "app/FatalError.h"
#include "app/StringTable.h"
#include "net/MySocket.h"
#include "platform/Dialogs.h"
#include "platform/Loop.h"
#include "platform/gtk/GtkDesktop.h"
#include "platform/gtk/GtkDialogs.h"
#include "support/FakeServer.h"

namespace {

// The message box on the screen, or null.
GtkDialog* OpenBox()
{
    GtkDialog* found = nullptr;
    GList* all = gtk_window_list_toplevels();
    for (GList* w = all; w; w = w->next)
        if (GTK_IS_MESSAGE_DIALOG(w->data) && gtk_widget_get_visible(GTK_WIDGET(w->data)))
            found = GTK_DIALOG(w->data);
    g_list_free(all);
    return found;
}

// The box's first label, or null.
GtkLabel* FirstLabel(GtkDialog* box)
{
    GtkLabel* label = nullptr;
    GtkWidget* area = gtk_message_dialog_get_message_area(GTK_MESSAGE_DIALOG(box));
    GList* children = gtk_container_get_children(GTK_CONTAINER(area));
    for (GList* c = children; c && !label; c = c->next)
        if (GTK_IS_LABEL(c->data))
            label = GTK_LABEL(c->data);
    g_list_free(children);
    return label;
}

// Calls act every few milliseconds while a box is up, until it returns
// true; gives up after about two seconds.
class CBoxDriver {
public:
    explicit CBoxDriver(std::function<bool(GtkDialog*, int tick)> act) : m_act(std::move(act))
    {
        m_timer = g_timeout_add(5, Tick, this);
    }
    ~CBoxDriver() { g_source_remove(m_timer); }

private:
    static gboolean Tick(gpointer self)
    {
        auto* d = static_cast<CBoxDriver*>(self);
        GtkDialog* box = OpenBox();
        if (box && (d->m_act(box, d->m_ticks++) || d->m_ticks > 400))
            gtk_dialog_response(box, GTK_RESPONSE_DELETE_EVENT);
        return G_SOURCE_CONTINUE;
    }
    std::function<bool(GtkDialog*, int)> m_act;
    guint m_timer = 0;
    int m_ticks = 0;
};

class GtkDialogs : public ::testing::Test {
protected:
    void SetUp() override
    {
        if (!std::getenv("QUORVEL_TEST_DISPLAY"))
            GTEST_SKIP() << "runs on the virtual display of its CTest entry";
        ASSERT_TRUE(plat::GtkDesktopReady()) << "GTK cannot open the virtual display";
        plat::SetDialogs(&boxes);
    }
    void TearDown() override
    {
        plat::SetDialogs(nullptr);
        plat::Loop().Reset();
    }
    plat::CStderrDialogs fallback;
    plat::CGtkDialogs boxes{fallback};
};

TEST_F(GtkDialogs, AFatalMessageShowsItsHangulWhileTheSocketsKeepReceiving)
{
    CFakeServer server;
    server.Register();
    CMySocket socket;
    ASSERT_EQ(socket.CreateSocket(), 1);
    ASSERT_GE(socket.Connect("127.0.0.1", server.Port()), 0);
    for (int i = 0; i < 100000 && !(socket.CanSend() && server.Accepted()); ++i)
        plat::Loop().Step();
    ASSERT_TRUE(socket.CanSend() && server.Accepted());

    // The server speaks while the box is up; the box closes once the bytes
    // are in the socket's receive list (or gives up).
    const Bytes sent = {54, 1, 2, 3};
    std::string label;
    int missingGlyphs = -1;
    CBoxDriver driver([&](GtkDialog* box, int tick) {
        if (tick == 0) {
            if (GtkLabel* l = FirstLabel(box)) {
                label = gtk_label_get_text(l);
                // The desktop's fonts have every syllable (fonts-nanum).
                missingGlyphs = pango_layout_get_unknown_glyphs_count(gtk_label_get_layout(l));
            }
            server.Send(sent);
        }
        return socket.ReceiveListSize() > 0;
    });
    ShowFatalError(GetGameString(IDS_CONNECTION_LOST));

    EXPECT_EQ(label, reinterpret_cast<const char*>(u8"접속이 끊어졌습니다. 다시 접속하십시오."));
    EXPECT_EQ(missingGlyphs, 0);
    uint8_t got[8] = {};
    int n = sizeof got;
    ASSERT_EQ(socket.Read(got, n), 4);
    EXPECT_EQ(Bytes(got, got + 4), sent);
    EXPECT_TRUE(plat::Loop().QuitPosted());
}

TEST_F(GtkDialogs, AQuestionShowsItsOwnButtonsAndTheSecondAnswersNo)
{
    std::string yes, no;
    auto answer = [&](GtkResponseType response) {
        return [&, response](GtkDialog* box, int) {
            yes = gtk_button_get_label(GTK_BUTTON(gtk_dialog_get_widget_for_response(box, GTK_RESPONSE_YES)));
            no = gtk_button_get_label(GTK_BUTTON(gtk_dialog_get_widget_for_response(box, GTK_RESPONSE_NO)));
            gtk_button_clicked(GTK_BUTTON(gtk_dialog_get_widget_for_response(box, response)));
            return false;
        };
    };
    {
        CBoxDriver driver(answer(GTK_RESPONSE_NO));
        EXPECT_FALSE(plat::AskYesNo("☞ 확인 ☜", "그래도 하시겠습니까?", "예", "아니오"));
    }
    EXPECT_EQ(yes, reinterpret_cast<const char*>(u8"예"));
    EXPECT_EQ(no, reinterpret_cast<const char*>(u8"아니오"));
    {
        CBoxDriver driver(answer(GTK_RESPONSE_YES));
        EXPECT_TRUE(plat::AskYesNo("☞ 확인 ☜", "그래도 하시겠습니까?", "예", "아니오"));
    }
}

// Tells what the loop handed it, and whether a box was up then.
class CLoopProbe : public plat::IMessageTarget {
public:
    void OnMessage(uint32_t msg, uintptr_t, intptr_t) override
    {
        log += msg == plat::kWmClose ? "close" : msg == plat::kMmMciNotify ? "notice" : "other";
        log += plat::ModalDepth() > 0 ? "(box) " : " ";
    }
    std::string log;
};

TEST_F(GtkDialogs, WhileABoxIsUpItsLoopRunsTheTimersAndTheNoticesButNoClose)
{
    CLoopProbe probe;
    int ticks = 0, inside = 0, reentered = 0;
    // A timer that wants a box of its own on its second tick.
    plat::Loop().SetTimer(&probe, 16, 20, [&](uint32_t) {
        reentered += inside;
        ++inside;
        if (++ticks == 2)
            plat::MessageBox("", "nested");
        --inside;
    });
    plat::Loop().PostMessage(&probe, plat::kWmClose);
    plat::Loop().PostMessage(&probe, plat::kMmMciNotify, plat::kMciNotifySuccessful, 1);
    int nested = 0;
    CBoxDriver driver([&](GtkDialog* box, int) {
        GtkLabel* l = FirstLabel(box);
        if (l && std::string(gtk_label_get_text(l)) == "nested")
            return ++nested > 0;
        return ticks >= 5;
    });
    plat::MessageBox("", "outer");
    EXPECT_GE(ticks, 5);
    EXPECT_EQ(nested, 1);
    EXPECT_EQ(reentered, 0);
    EXPECT_EQ(probe.log, "notice(box) ");
    plat::Loop().Step();
    EXPECT_EQ(probe.log, "notice(box) close ");
    plat::Loop().KillTimer(&probe, 16);
}

}  // namespace
#endif
