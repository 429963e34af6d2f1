// Arbitrary bytes as a compiled script: the loader refuses or builds a tree
// that saves back to the bytes it read, and up to 1,000 steps of it run in
// a slot without a fault.
#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <fstream>
#include <memory>
#include <string>
#include <vector>

#include "core/ByteWriter.h"
#include "core/MemStream.h"
#include "fixtures/ArchiveBuilder.h"
#include "script/ScriptManager.h"
#include "scriptc/ScriptCompiler.h"

namespace {

const char* const kSeeds[] = {
    "proc Main() { } ;",
    ("proc P(a, b) { int r; r = a / b - 3 * -a; call PushCommand(r); return; }"
     "proc Main() { int i; i = 0; while (i < 5) { i = i + 1; if (i == 2) continue; call P(i, 2); } } ;"),
    ("proc Main() { string s; s = %7 + \"x\" + \"$$id$$\"; call ShowText(s, 1); call Dialogue(s);"
     " call HasItem(5); call GiveItem(sys_ListFlag); call StampTimer(); call StartScript(\"Other\"); } ;"),
    "proc A() { call B(); } proc B() { call A(); break; } proc Main() { call A(); sys_AddMoney = 1 && sys_Random; } ;",
};

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***)
{
    CArchiveBuilder b = CArchiveBuilder::MinimalGame();
    b.Add("Other.scr", CompileScript(kSeeds[0]));
    // Made here, so it goes before the archive code's own statics at exit.
    static CTestArchive archive(b);
    if (const char* dir = std::getenv("QUORVEL_FUZZ_SEED_DIR")) {
        int n = 0;
        for (const char* source : kSeeds) {
            const std::vector<uint8_t> bytes = CompileScript(source);
            std::ofstream out(std::string(dir) + "/seed" + std::to_string(n++), std::ios::binary);
            out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
        }
    }
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    std::vector<uint8_t> bytes(data, data + size);
    {
        CMemStream stream(bytes.data(), bytes.size());
        std::unique_ptr<CProgramNode> tree = CProgramNode::Load(stream);
        if (!tree)
            return 0;
        CByteWriter out;
        tree->Save(out);
        const size_t read = static_cast<size_t>(stream.Position() - bytes.data());
        if (out.Size() != read || !std::equal(out.Buffer().begin(), out.Buffer().end(), bytes.begin()))
            __builtin_trap();
    }
    CMemStream stream(bytes.data(), bytes.size());
    if (g_scriptManager.StartInFreeSlot(stream, "Fuzz"))
        for (int i = 0; i < 1000 && g_scriptManager.CountRunning() > 0; ++i)
            CScriptManager::StepAll();
    CScriptManager::Reset();
    return 0;
}
