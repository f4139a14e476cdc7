// Opinion topics: a subject comes up and the player takes a side.
#include <cstdlib>

#include "encounter/meeting.hpp"
#include "encounter/rapport.hpp"

namespace tg {

namespace {
constexpr int TopicsPerDimension = 4;
}

// A subject comes up; the answer is scored against the person's leaning on
// the subject's personality dimension. Excusing oneself ends the meeting.
Meeting::Outcome Meeting::OpinionTopic() {
    const int t = game_.random.Below(static_cast<int>(OpinionTopics.size()));
    const int leaning = person_.personality[t / TopicsPerDimension];
    Narrate("\tThe conversation reaches the subject of " + std::string(OpinionTopics[t]) + ". Do you...\n");
    game_.console.SetForeground(colour::BrightWhite);
    Narrate("\t\t1 - Respond Very Affirmatively\n");
    Narrate("\t\t2 - Respond Affirmatively\n");
    Narrate("\t\t3 - Respond Neutrally\n");
    Narrate("\t\t4 - Respond Negatively\n");
    Narrate("\t\t5 - Respond Very Negatively\n");
    Narrate("\t\t0 - Excuse yourself from the conversation\n");
    game_.console.SetForeground(colour::Grey);
    const std::optional<int> chosen = game_.console.GetChoice(5, 0);
    if (!chosen) return Outcome::GameOver;
    const int answer = *chosen;
    if (answer == 0) {
        person_.interest = AddInterest(person_.interest, Scaled(-5));
        return Outcome::Ended;
    }
    const int idealLeaning = 110 - 20 * answer;
    React(Scaled(40 - std::abs(leaning - idealLeaning)));
    return Outcome::GoesOn;
}

}  // namespace tg
