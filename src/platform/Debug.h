// Debug output (the game's OutputDebugString) and debug assertions.
#pragma once
#include <functional>
#include <string_view>

namespace plat {

// Writes one piece of debug text. By default it goes to stderr only when the
// environment variable QUORVEL_TRACE is set to something other than "0".
void DebugOut(std::string_view text);
void DebugPrintf(const char* format, ...) __attribute__((format(printf, 1, 2)));

// Replaces the destination of debug text (tests capture it); an empty
// function restores the default.
void SetDebugSink(std::function<void(std::string_view)> sink);

// Reports a broken invariant with its source position. It never aborts: the
// program goes on as the original's release build did.
void ReportAssert(const char* expr, const char* file, int line);

}  // namespace plat

#define QASSERT(cond) \
    do { if (!(cond)) ::plat::ReportAssert(#cond, __FILE__, __LINE__); } while (0)
