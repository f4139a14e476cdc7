// The player's move: compliments, wooing, questions, stepping up, and
// something dumb.
#include <algorithm>

#include "encounter/meeting.hpp"
#include "encounter/rapport.hpp"
#include "people/description.hpp"

namespace tg {

Meeting::Outcome Meeting::PlayersMove() {
    Narrate("\tFinding an opportunity, you...\n");
    game_.console.SetForeground(colour::BrightWhite);
    Narrate("\t\t1 - Give " + Her() + " a light compliment.\n");
    Narrate("\t\t2 - Speak some serious lovey dovey wooing.\n");
    Narrate("\t\t3 - Ask " + Her() + " what " + She() + " likes in a personality.\n");
    Narrate("\t\t4 - Probe " + Her() + " on dating standards.\n");
    Narrate("\t\t5 - Ask to take things to the next level.\n");
    Narrate("\t\t6 - Do something really dumb and embarassing.\n");
    game_.console.SetForeground(colour::Grey);
    const std::optional<int> move = game_.console.GetChoice(6, 1);
    if (!move) return Outcome::GameOver;
    switch (*move) {
        case 1: LightCompliment(); break;
        case 2: Wooing(); break;
        case 3: LikesInPersonality(); break;
        case 4: DatingStandards(); break;
        case 5: return StepUp();
        default: SomethingDumb(); break;
    }
    return Outcome::GoesOn;
}

void Meeting::LightCompliment() {
    if (game_.random.Below(10) > 4 - person_.stage) {
        Narrate("\t" + She() + " is delighted.\n");
        React(Scaled(25));
    } else {
        Narrate("\t" + She() + " is embarassed.\n");
        React(Scaled(-10));
    }
}

void Meeting::Wooing() {
    if (game_.random.Below(6) > 4 - person_.stage) {
        Narrate("\t" + She() + " is overjoyed.\n");
        React(Scaled(50));
    } else {
        Narrate("\t" + She() + " is annoyed.\n");
        React(Scaled(-20));
    }
}

// Reveals how the person feels about one trait word.
void Meeting::LikesInPersonality() {
    const int t = game_.random.Below(20);
    const bool lowEnd = t < PersonalityCount;
    const int value = person_.personality[lowEnd ? t : t - PersonalityCount];
    const int feeling = lowEnd ? 20 - value / 5 : value / 5;
    Say("Well... I " + std::string(FeelingVerbs[feeling]) + " people who are " + std::string(TraitWords[t]) + ".");
}

// Reveals the level of one of the person's stats.
void Meeting::DatingStandards() {
    const int s = game_.random.Below(StatCount);
    Say("I need someone with at least " + std::string(LevelWord(person_.stat[s])) + " " +
        std::string(StatNames[s]) + ".");
}

Meeting::Outcome Meeting::StepUp() {
    const int threshold = 100 * (person_.stage + 1) - 20 + game_.random.Below(40);
    Narrate("\t" + She() + " contemplates it for a moment, then-\n");
    if (person_.interest < threshold) {
        Say("No, I'm not ready for that yet...");
        person_.interest = AddInterest(person_.interest, -20);
        return Outcome::GoesOn;
    }
    // Past the last offer there is nothing more to say: the last row speaks.
    const int row = std::min(person_.stage, static_cast<int>(OfferLines.size()) - 1);
    Say(std::string(OfferLines[row]));
    person_.stage += 1;
    if (person_.stage == stage::NumberGiven && !person_.gaveNumber) PutIntoBook();
    Narrate("\tNow to plan the next phase...\n");
    return PauseForZero("\t\t0 - Plan smchlan, give me fresh meat!.\n", true, Outcome::SteppedUp);
}

// The first time a person gives the number, a copy goes into the book.
void Meeting::PutIntoBook() {
    person_.gaveNumber = true;
    if (game_.contactCount >= BookSize) {
        Narrate("\tYour book is full: you lose the number.\n");
        return;
    }
    game_.contacts[game_.contactCount] = person_;
    game_.contactCount += 1;
}

void Meeting::SomethingDumb() {
    Narrate("... k. You manage to knock something over and look like an idiot.\n");
    React(Scaled(-40));
}

}  // namespace tg
