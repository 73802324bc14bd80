// Preloaded into the game under test: replaces the C library's rand and srand so that every
// deal is predictable. Every block of every level weighs 4 and is dealt to the left column, so
// a player who steers the blocks left and right in turn always keeps the balance (the difference
// is 4 or 0, within every level's limit) and can play a level to its end with real key input.
//
// A deal draws twice per block, weight first, all at once; a pause of more than 100 ms between
// two draws therefore starts a new deal. The first block's weight is 3 + r % span (span 5, 4 or
// 3), every other block's 1 + r % 10: r = 1 gives the first block 4, r = 3 every other block 4.
#include <time.h>

namespace {

constexpr long long NewDealGapNanoseconds = 100'000'000;

struct DealDraws {
    long long lastDraw = -1;
    int drawsInDeal = 0;
};
DealDraws dealDraws;

long long monotonicNanoseconds() {
    timespec now{};
    clock_gettime(CLOCK_MONOTONIC, &now);
    return static_cast<long long>(now.tv_sec) * 1'000'000'000 + now.tv_nsec;
}

} // namespace

extern "C" int rand() {
    const long long now = monotonicNanoseconds();
    if (dealDraws.lastDraw < 0 || now - dealDraws.lastDraw > NewDealGapNanoseconds) {
        dealDraws.drawsInDeal = 0;
    }
    dealDraws.lastDraw = now;
    const int draw = dealDraws.drawsInDeal++;
    if (draw % 2 == 1) {
        return 0; // column: left
    }
    return draw == 0 ? 1 : 3; // weight 4
}

extern "C" void srand(unsigned int) {}
