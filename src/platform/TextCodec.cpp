#include "platform/TextCodec.h"

#include <iconv.h>

#include <cerrno>

namespace plat {

namespace {

std::string Convert(std::string_view in, const char* from, const char* to, std::string_view bad)
{
    std::string out;
    iconv_t cd = iconv_open(to, from);
    if (cd == reinterpret_cast<iconv_t>(-1)) {
        out.assign(in.begin(), in.end());
        return out;
    }
    out.reserve(in.size() * 2);
    char* src = const_cast<char*>(in.data());
    size_t srcLeft = in.size();
    char buf[256];
    while (srcLeft > 0) {
        char* dst = buf;
        size_t dstLeft = sizeof buf;
        size_t r = iconv(cd, &src, &srcLeft, &dst, &dstLeft);
        out.append(buf, static_cast<size_t>(dst - buf));
        if (r == static_cast<size_t>(-1)) {
            if (errno == E2BIG)
                continue;
            // EILSEQ or EINVAL: skip one byte of input.
            out.append(bad);
            ++src;
            --srcLeft;
        }
    }
    iconv_close(cd);
    return out;
}

}  // namespace

std::string Cp949ToUtf8(std::string_view cp949)
{
    return Convert(cp949, "CP949", "UTF-8", "\xEF\xBF\xBD");
}

std::string Utf8ToCp949(std::string_view utf8)
{
    return Convert(utf8, "UTF-8", "CP949", "?");
}

}  // namespace plat
