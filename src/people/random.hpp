// The game's one random generator.
#pragma once

#include <cstdint>

namespace tg {

// The game's one random generator: a linear congruential generator with the
// same sequence as the classic C library `rand`, so a seed replays a game.
class Random {
public:
    static constexpr int Max = 0x7FFF;

    explicit Random(std::uint32_t seed = 1) : state_(seed) {}

    void Seed(std::uint32_t seed) { state_ = seed; }

    // A value from 0 to 32767.
    int Next() {
        state_ = state_ * 214013u + 2531011u;
        return static_cast<int>((state_ >> 16) & 0x7FFF);
    }

    // One draw taken modulo `choices` (which may be negative: the remainder
    // then keeps the sign of the draw, as C++ division does).
    int Below(int choices) { return Next() % choices; }

private:
    std::uint32_t state_;
};

}  // namespace tg
