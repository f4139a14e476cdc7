// One meeting between the player and a person, turn by turn.
#pragma once

#include <string>

#include "shell/game.hpp"

namespace tg {

// One meeting between the player and a person: the values fixed at its
// start and the turns played on them.
class Meeting {
public:
    Meeting(Game& game, Person& person);

    tg::Play Play(bool mayIntroduce);

private:
    // After a turn: the meeting goes on, it has ended, the person has
    // stepped up (which ends it too), or the whole game is over.
    enum class Outcome { GoesOn, Ended, SteppedUp, GameOver };

    // Whether the meeting goes on after the first impression.
    Outcome Introduce();
    Outcome PlayTurn();
    Outcome PlayersMove();
    Outcome OpinionTopic();
    Outcome MoneyTalk();
    void LightCompliment();
    void Wooing();
    void LikesInPersonality();
    void DatingStandards();
    Outcome StepUp();
    void SomethingDumb();
    void PutIntoBook();
    Outcome EndOfTurn();
    bool SeesThrough();

    int Scaled(int base) const;
    void React(int change) { game_.React(person_, change); }
    void Say(const std::string& text) { game_.console.PrintHeading(text); }
    void Narrate(const std::string& text) { game_.console.Write(text); }
    // The single 0 option that ends a scene; GameOver when the game ended
    // there instead, else `then`.
    Outcome PauseForZero(const std::string& option, bool backToGrey, Outcome then);
    std::string She() const;
    std::string Her() const;

    Game& game_;
    Person& person_;
    int playerLooks_ = 0;
    int personLooks_ = 0;
    float rapport_ = 0.0f;
};

}  // namespace tg
