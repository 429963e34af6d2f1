// Arbitrary text as script source: the compiler accepts or refuses it with
// a message, and what it accepts loads back to the same tree and bytes.
#include <cstdint>
#include <cstdlib>
#include <fstream>
#include <string>
#include <string_view>
#include <vector>

#include "core/ByteWriter.h"
#include "core/MemStream.h"
#include "script/ScriptNode.h"
#include "scriptc/ScriptCompiler.h"

namespace {

const char* const kSeeds[] = {
    "proc Main() { } ;",
    ("/* c */ proc F(a, b) { string s; s = \"t\\tq\\\\\" + %a; if (a >= b || !a) return; else break; }\n"
     "proc Main() { int i; i = 0x1F; while (i > 0) { i = i - 1; call F(i, 2); } // end\n } ;"),
    "proc Main() { int x; x = (1 + 2) * 3 / 4 - -5 == 6 && 7 != 8; call ShowText(x, \"y\"); } ;",
};

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***)
{
    if (const char* dir = std::getenv("QUORVEL_FUZZ_SEED_DIR")) {
        int n = 0;
        for (const char* source : kSeeds) {
            std::ofstream out(std::string(dir) + "/seed" + std::to_string(n++), std::ios::binary);
            out << source;
        }
    }
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    CScriptCompiler compiler;
    if (!compiler.Compile(std::string_view(reinterpret_cast<const char*>(data), size))) {
        if (compiler.Error().empty())
            __builtin_trap();
        return 0;
    }
    std::vector<uint8_t> bytes = compiler.Bytes();
    CMemStream stream(bytes.data(), bytes.size());
    std::unique_ptr<CProgramNode> tree = CProgramNode::Load(stream);
    if (!tree || DumpScriptTree(*tree) != DumpScriptTree(*compiler.Tree()))
        __builtin_trap();
    CByteWriter out;
    tree->Save(out);
    if (out.Buffer() != compiler.Bytes())
        __builtin_trap();
    return 0;
}
