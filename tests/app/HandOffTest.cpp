#include <gtest/gtest.h>

#include <optional>
#include <string>

#include "app/HandOff.h"

namespace {

// Atom 300 holds "sesame"; every other atom is unknown.
std::optional<std::string> Atoms(uint16_t atom)
{
    if (atom == 300)
        return std::string("sesame");
    return std::nullopt;
}

std::string Line(const std::string& t1 = "sesame", const std::string& t8 = "ombrix",
                 const std::string& t9 = "300", const std::string& t10 = "1000")
{
    return "tolmar " + t1 + " game.example.org 9100 a b c d " + t8 + " " + t9 + " " + t10;
}

struct Case {
    const char* name;
    std::string line;
    HandOffRefusal refusal;
    const char* message;
};

}  // namespace

TEST(HandOffParser, RefusesEachBadLineWithItsMessage)
{
    const std::string longToken(25, 'x');
    const Case cases[] = {
        {"token 0 wrong", "tolmor sesame h 1 a b c d ombrix 300 1000", HandOffRefusal::Silent, ""},
        {"only separators", " ,\t", HandOffRefusal::Silent, ""},
        {"ten tokens", "tolmar sesame h 1 a b c ombrix 300 1000", HandOffRefusal::Count,
         "전달된 정보의 갯수가 올바르지 않습니다."},
        {"twelve tokens", Line() + " extra", HandOffRefusal::Count,
         "전달된 정보의 갯수가 올바르지 않습니다."},
        {"a 25-character token", Line(longToken), HandOffRefusal::Count,
         "전달된 정보의 갯수가 올바르지 않습니다."},
        {"unknown atom", Line("sesame", "ombrix", "301"), HandOffRefusal::Atom,
         "ATOM 값이 잘못되었습니다."},
        {"atom 0", Line("sesame", "ombrix", "0"), HandOffRefusal::Atom, "ATOM 값이 잘못되었습니다."},
        {"atom beyond 16 bits", Line("sesame", "ombrix", "65836"), HandOffRefusal::Atom,
         "ATOM 값이 잘못되었습니다."},
        {"token 8 wrong", Line("sesame", "ombrox"), HandOffRefusal::Content,
         "전달된 정보의 내용이 잘못 되었습니다."},
        {"atom text differs in case", Line("Sesame"), HandOffRefusal::Browser,
         "Ombrix 전용 브라우저를 통해서만 본 서비스를 이용할 수 있습니다."},
        {"version 999", Line("sesame", "ombrix", "300", "999"), HandOffRefusal::Version,
         "상위 버전(1.0 이상)의 Ombrix 전용 브라우저를 통해서만 본 서비스를 이용할 수 있습니다."},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const HandOffResult r = ParseHandOff(c.line, "/opt/quorvel/bin/quorvel", Atoms);
        EXPECT_EQ(r.refusal, c.refusal);
        EXPECT_STREQ(HandOffMessage(r.refusal), c.message);
        EXPECT_TRUE(r.data.marker.empty());
        EXPECT_TRUE(r.data.text.empty());
    }
}

TEST(HandOffParser, AcceptsAValidLineWithAnySeparators)
{
    const std::string lines[] = {
        Line(),
        "tolmar,sesame,game.example.org,9100,a,b,c,d,ombrix,300,1000",
        "tolmar\tsesame\tgame.example.org\t9100 a\nb c  d ombrix 300 1000",
    };
    for (const std::string& line : lines) {
        SCOPED_TRACE(line);
        const HandOffResult r = ParseHandOff(line, "/opt/quorvel/bin/quorvel", Atoms);
        ASSERT_EQ(r.refusal, HandOffRefusal::None);
        EXPECT_EQ(r.data.marker, "tolmar");
        EXPECT_EQ(r.data.host, "game.example.org");
        EXPECT_EQ(r.data.port, 9100);
        EXPECT_EQ(r.data.text, "/opt/quorvel/bin/Tolmar.exe " + line);
    }
}

TEST(HandOffParser, ShortProgramPathsGiveAWholeText)
{
    // The program's own name used to be overwritten in place: a path shorter
    // than that name has to work too.
    HandOffResult r = ParseHandOff(Line(), "/q", Atoms);
    ASSERT_EQ(r.refusal, HandOffRefusal::None);
    EXPECT_EQ(r.data.text, "/Tolmar.exe " + Line());
    r = ParseHandOff(Line(), "", Atoms);
    ASSERT_EQ(r.refusal, HandOffRefusal::None);
    EXPECT_EQ(r.data.text, "Tolmar.exe " + Line());
}

TEST(HandOffParser, TokensUpToNineteenCharactersPass)
{
    const std::string host(19, 'h');
    const std::string line = "tolmar sesame " + host + " 9100 a b c d ombrix 300 2000";
    const HandOffResult r = ParseHandOff(line, "/x/y", Atoms);
    ASSERT_EQ(r.refusal, HandOffRefusal::None);
    EXPECT_EQ(r.data.host, host);
}
