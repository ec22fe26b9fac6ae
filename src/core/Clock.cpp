#include "Clock.h"

namespace pipeloop
{

namespace
{
const Clock*& installed()
{
    static const Clock* clock = nullptr;
    return clock;
}
} // namespace

const Clock& Clock::current()
{
    static const SystemClock system;
    const Clock* clock = installed();
    return clock ? *clock : system;
}

void Clock::install(const Clock* clock)
{
    installed() = clock;
}

} // namespace pipeloop
