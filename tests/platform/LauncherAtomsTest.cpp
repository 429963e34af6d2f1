#include <gtest/gtest.h>

#include <sys/stat.h>

#include <cstdio>
#include <cstdlib>
#include <string>

#include "fixtures/TempDir.h"
#include "platform/LauncherAtoms.h"

namespace {

// Sets an environment variable for the life of the object.
struct EnvVar {
    std::string name;
    std::string old;
    bool had;
    EnvVar(const std::string& n, const char* value) : name(n)
    {
        const char* o = std::getenv(n.c_str());
        had = o != nullptr;
        if (o)
            old = o;
        if (value)
            ::setenv(n.c_str(), value, 1);
        else
            ::unsetenv(n.c_str());
    }
    ~EnvVar()
    {
        if (had)
            ::setenv(name.c_str(), old.c_str(), 1);
        else
            ::unsetenv(name.c_str());
    }
};

void WriteFile(const std::string& path, const std::string& text)
{
    std::FILE* f = std::fopen(path.c_str(), "wb");
    ASSERT_NE(f, nullptr);
    std::fwrite(text.data(), 1, text.size(), f);
    std::fclose(f);
}

}  // namespace

TEST(LauncherAtoms, ReadsTheVariableThenTheRuntimeFile)
{
    CTempDir dir;
    ::mkdir((dir.Path() + "/quorvel-atoms").c_str(), 0700);
    WriteFile(dir.Path() + "/quorvel-atoms/77", "from-file\r\nsecond line");
    WriteFile(dir.Path() + "/quorvel-atoms/78", std::string(400, 'k'));
    EnvVar runtime("XDG_RUNTIME_DIR", dir.Path().c_str());
    EnvVar var76("QUORVEL_ATOM_76", "from-env");
    EnvVar var77("QUORVEL_ATOM_77", nullptr);
    EnvVar var78("QUORVEL_ATOM_78", nullptr);

    plat::CEnvLauncherAtoms atoms;
    EXPECT_EQ(atoms.Lookup(76).value_or("-"), "from-env");
    EXPECT_EQ(atoms.Lookup(77).value_or("-"), "from-file");
    EXPECT_EQ(atoms.Lookup(78).value_or("-").size(), 255u);
    EXPECT_FALSE(atoms.Lookup(79).has_value());
    EXPECT_FALSE(atoms.Lookup(0).has_value());
}

TEST(LauncherAtoms, NoRuntimeDirectoryMeansOnlyTheEnvironment)
{
    EnvVar runtime("XDG_RUNTIME_DIR", nullptr);
    EnvVar var("QUORVEL_ATOM_91", nullptr);
    plat::CEnvLauncherAtoms atoms;
    EXPECT_FALSE(atoms.Lookup(91).has_value());
}
