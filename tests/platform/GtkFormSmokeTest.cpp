// The GTK form dialogs on a desktop: run on the virtual display of their
// CTest entry (tests/support/run-on-xvfb), skipped anywhere else.
#include <gtest/gtest.h>

#if defined(QUORVEL_HAVE_GTK)
#include <cstdlib>
#include <string>
#include <vector>

#include "platform/Loop.h"
#include "platform/gtk/GtkFormDialogs.h"

namespace {

class CFormProbe : public plat::IMessageTarget {
public:
    void OnMessage(uint32_t msg, uintptr_t wParam, intptr_t) override
    {
        log.push_back(std::to_string(msg) + ":" + std::to_string(wParam));
    }
    std::vector<std::string> log;
};

bool PumpUntil(plat::CGtkFormDialogs& forms, const std::function<bool()>& pred)
{
    for (int i = 0; i < 2000 && !pred(); ++i) {
        forms.PumpNow();
        plat::Loop().Step();
    }
    return pred();
}

TEST(GtkForms, FieldsKeepCp949TextAndPressesReachTheTarget)
{
    if (!std::getenv("QUORVEL_TEST_DISPLAY"))
        GTEST_SKIP() << "runs on the virtual display of its CTest entry";
    plat::CGtkFormDialogs forms;
    ASSERT_TRUE(forms.Available()) << "GTK cannot open the virtual display";

    using plat::FormControl;
    using plat::FormControlKind;
    plat::FormTemplate t;
    t.id = 131;
    t.title = "편지보내기 (Send Mail)";
    t.controls = {FormControl{FormControlKind::Label, 0, "받을사람.\n(Receiver)", 0, false},
                  FormControl{FormControlKind::Edit, 1012, "", 180, false},
                  FormControl{FormControlKind::Edit, 1010, "", 36, false},
                  FormControl{FormControlKind::MultiLineEdit, 1011, "", 65535, false},
                  FormControl{FormControlKind::Button, 1001, "보내기Sen&ding", 0, false},
                  FormControl{FormControlKind::Edit, 1099, "", 10, true}};
    CFormProbe probe;
    const int h = forms.Open(t, &probe);
    ASSERT_GT(h, 0);
    EXPECT_EQ(forms.OpenCount(), 1);

    forms.SetFieldText(h, 1010, "한글 제목");
    EXPECT_EQ(forms.GetFieldText(h, 1010), "한글 제목");
    // The title keeps 36 bytes, never half a character.
    std::string long_title;
    for (int i = 0; i < 20; ++i)
        long_title += "가";
    forms.SetFieldText(h, 1010, "x" + long_title);
    EXPECT_EQ(forms.GetFieldText(h, 1010), "x" + long_title.substr(0, 34));
    // Lines end in CR LF at the interface.
    forms.SetFieldText(h, 1011, "one\r\n둘\r\nthree");
    EXPECT_EQ(forms.GetFieldText(h, 1011), "one\r\n둘\r\nthree");
    forms.SetFieldText(h, 1099, "hidden");
    EXPECT_EQ(forms.GetFieldText(h, 1099), "hidden");

    ASSERT_TRUE(forms.ClickButton(h, 1001));
    ASSERT_TRUE(forms.CloseBox(h));
    ASSERT_TRUE(PumpUntil(forms, [&] { return probe.log.size() >= 2; }));
    EXPECT_EQ(probe.log, (std::vector<std::string>{std::to_string(plat::kWmFormCommand) + ":1001",
                                                   std::to_string(plat::kWmClose) + ":0"}));
    // The close box only asks: the form is still there until destroyed.
    EXPECT_EQ(forms.OpenCount(), 1);
    forms.Destroy(h);
    EXPECT_EQ(forms.OpenCount(), 0);
    EXPECT_EQ(forms.GetFieldText(h, 1010), "");
    plat::Loop().Reset();
}

}  // namespace
#endif
