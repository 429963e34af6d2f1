// scriptc: compiles a script source file into the form the game loads from
// the archive ("NAME.scr" or "NAME%04X.scr").
#include <cstdio>
#include <cstring>
#include <fstream>
#include <iterator>
#include <string>

#include "scriptc/ScriptCompiler.h"

namespace {

void Usage(FILE* out)
{
    std::fprintf(out,
                 "usage: scriptc SOURCE [-o OUTPUT]\n"
                 "Compiles SOURCE (default output: SOURCE with the extension .scr).\n"
                 "The last procedure is the one the script starts with.\n\n"
                 "Native actions (call NAME(args);) and system variables:\n");
    for (const ScriptBuiltinName& b : kBuiltinNames)
        std::fprintf(out, "  %-18s %5u  %s\n", b.name, b.id, b.what);
}

}  // namespace

int main(int argc, char** argv)
{
    std::string source, output;
    for (int i = 1; i < argc; ++i) {
        if (!std::strcmp(argv[i], "-h") || !std::strcmp(argv[i], "--help")) {
            Usage(stdout);
            return 0;
        }
        if (!std::strcmp(argv[i], "-o") && i + 1 < argc)
            output = argv[++i];
        else if (source.empty())
            source = argv[i];
        else {
            Usage(stderr);
            return 2;
        }
    }
    if (source.empty()) {
        Usage(stderr);
        return 2;
    }
    if (output.empty())
        output = source.substr(0, source.rfind('.')) + ".scr";
    std::ifstream in(source, std::ios::binary);
    if (!in) {
        std::fprintf(stderr, "scriptc: cannot read %s\n", source.c_str());
        return 1;
    }
    const std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    CScriptCompiler compiler;
    if (!compiler.Compile(text)) {
        std::fprintf(stderr, "%s: %s\n", source.c_str(), compiler.Error().c_str());
        return 1;
    }
    std::ofstream out(output, std::ios::binary);
    out.write(reinterpret_cast<const char*>(compiler.Bytes().data()),
              static_cast<std::streamsize>(compiler.Bytes().size()));
    if (!out) {
        std::fprintf(stderr, "scriptc: cannot write %s\n", output.c_str());
        return 1;
    }
    return 0;
}
