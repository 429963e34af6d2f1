#include "platform/Debug.h"

#include <cstdarg>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

namespace plat {

namespace {

bool TraceEnabled()
{
    static const bool enabled = [] {
        const char* v = std::getenv("QUORVEL_TRACE");
        return v && *v && std::strcmp(v, "0") != 0;
    }();
    return enabled;
}

std::function<void(std::string_view)>& Sink()
{
    static std::function<void(std::string_view)> sink;
    return sink;
}

}  // namespace

void DebugOut(std::string_view text)
{
    if (Sink()) {
        Sink()(text);
        return;
    }
    if (TraceEnabled())
        std::fwrite(text.data(), 1, text.size(), stderr);
}

void DebugPrintf(const char* format, ...)
{
    char buf[1024];
    va_list ap;
    va_start(ap, format);
    int n = std::vsnprintf(buf, sizeof buf, format, ap);
    va_end(ap);
    if (n < 0)
        return;
    if (static_cast<size_t>(n) < sizeof buf) {
        DebugOut(std::string_view(buf, static_cast<size_t>(n)));
        return;
    }
    std::string big(static_cast<size_t>(n) + 1, '\0');
    va_start(ap, format);
    std::vsnprintf(big.data(), big.size(), format, ap);
    va_end(ap);
    big.resize(static_cast<size_t>(n));
    DebugOut(big);
}

void SetDebugSink(std::function<void(std::string_view)> sink) { Sink() = std::move(sink); }

void ReportAssert(const char* expr, const char* file, int line)
{
    DebugPrintf("Assertion failed: %s, %s(%d)\n", expr, file, line);
}

}  // namespace plat
