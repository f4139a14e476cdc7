#pragma once

#include <string>

#include "shell/game.hpp"

namespace tg {

// One meeting between the player and a person: the values fixed at its
// start and the turns played on them.
class Meeting {
public:
    Meeting(Game& game, Person& person);

    void Play(bool mayIntroduce);

private:
    enum class Outcome { GoesOn, Ended, SteppedUp };

    bool Introduce();
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
    bool EndOfTurnExit();
    bool SeesThrough();

    int Scaled(int base) const;
    void React(int change) { game_.React(person_, change); }
    void Say(const std::string& text) { game_.console.PrintHeading(text); }
    void Narrate(const std::string& text) { game_.console.Write(text); }
    void PauseForZero(const std::string& option, bool backToGrey);
    std::string She() const;
    std::string Her() const;

    Game& game_;
    Person& person_;
    int playerLooks_ = 0;
    int personLooks_ = 0;
    float rapport_ = 0.0f;
};

}  // namespace tg
