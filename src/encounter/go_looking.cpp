// Going out: the place menu, the crowd generated there, and the choice of
// whom to approach.
#include <array>
#include <vector>

#include "shell/game.hpp"

namespace tg {

namespace {

struct Place {
    const char* menuLine;
    int crowdBase;
    int crowdSpread;  // the crowd is crowdBase + rand() % crowdSpread
    int pointsLow;
    int pointsHigh;
    int strongGroup;
};

constexpr std::array<Place, 6> Places = {{
    {"\t\t1 - X/S Nightclub\n", 4, 5, 400, 500, group::Looks},
    {"\t\t2 - University of Michigan\n", 4, 5, 400, 500, group::Character},
    {"\t\t3 - Skytech Offices\n", 6, 4, 400, 500, group::Status},
    {"\t\t4 - Marmy's Pub\n", 1, 5, 250, 400, group::None},
    {"\t\t5 - St. John's Church\n", 4, 5, 400, 500, group::None},
    {"\t\t6 - Blue Martini Club\n", 1, 3, 500, 650, group::None},
}};

}  // namespace

Play Game::GoLooking() {
    AdvanceClock(0, 1);
    ShowClock();
    console.Write("\tWhere would you like to go?\n");
    console.SetForeground(colour::BrightWhite);
    for (const Place& place : Places) console.Write(place.menuLine);
    console.Write("\t\t0 - Back Home\n");
    console.SetForeground(colour::Grey);
    const std::optional<int> choice = console.GetChoice(static_cast<int>(Places.size()), 0);
    if (!choice) return Play::Over;
    if (*choice == 0) return Play::On;

    const Place& place = Places[*choice - 1];
    const int crowdSize = place.crowdBase + random.Below(place.crowdSpread);
    std::vector<Person> crowd;
    crowd.reserve(crowdSize);
    for (int k = 0; k < crowdSize; ++k) {
        crowd.push_back(Person::Generate(random, player.seeksMale, place.pointsLow, place.pointsHigh, place.strongGroup));
    }

    for (;;) {
        ShowClock();
        console.Write("\tWho would you like to approach?\n");
        console.SetForeground(colour::BrightWhite);
        for (int k = 1; k <= crowdSize; ++k) Line("\t\t" + std::to_string(k) + " - " + crowd[k - 1].knownAs);
        console.Write("\t\t0 - Return Home\n");
        const std::optional<int> k = console.GetChoice(crowdSize, 0);
        if (!k) return Play::Over;
        if (*k == 0) return Play::On;
        if (Encounter(crowd[*k - 1], true) == Play::Over) return Play::Over;
    }
}

}  // namespace tg
