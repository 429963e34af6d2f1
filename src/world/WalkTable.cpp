#include "world/WalkTable.h"

#include <algorithm>

namespace {

struct WalkRow {
    const char* dx;  // one digit per tick: 32 over 16 - s ticks, 64 over twice that
    const char* dy;  // 16 over 16 - s ticks, 32 over twice that
};

constexpr WalkRow kRows[kSpeedClasses] = {
    {"22222222222222222222222222222222", "11111111111111111111111111111111"},
    {"222322222223222222322222223222", "111111121111111111111121111111"},
    {"2322232232223223222322322232", "1112111111211111121111112111"},
    {"23232323232322323232323232", "11211121112111121112111211"},
    {"323323323323323323323323", "121121121121121121121121"},
    {"3333323333333333233333", "1212121212112121212121"},
    {"33433334333343333433", "21212212122121221212"},
    {"434343434434343434", "221222122221222122"},
    {"4444444444444444", "2222222222222222"},
    {"54545455454545", "23222322322232"},
    {"565565565565", "323323323323"},
    {"6767667676", "3343333433"},
    {"88888888", "44444444"},
};

}  // namespace

int ClampSpeedClass(long long value)
{
    return static_cast<int>(std::clamp<long long>(value, 0, kSpeedClasses - 1));
}

int WalkStepCount(int s, int dir)
{
    const int n = 16 - ClampSpeedClass(s);
    return (dir == 3 || dir == 7) ? 2 * n : n;
}

void WalkDelta(int s, int dir, int i, int& dx, int& dy)
{
    dx = dy = 0;
    const int cls = ClampSpeedClass(s);
    if (i < 0 || i >= WalkStepCount(cls, dir))
        return;
    const int a = kRows[cls].dx[i] - '0';
    const int b = kRows[cls].dy[i] - '0';
    switch (dir & 7) {
    case 0: dx = -a; dy = -b; break;
    case 1: dy = -a; break;
    case 2: dx = a; dy = -b; break;
    case 3: dx = a; break;
    case 4: dx = a; dy = b; break;
    case 5: dy = a; break;
    case 6: dx = -a; dy = b; break;
    default: dx = -a; break;
    }
}
