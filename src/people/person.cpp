// People: the placeholder and the generated stranger.
#include "people/person.hpp"

#include "people/description.hpp"

namespace tg {

namespace {

constexpr int PlaceholderBudget = 450;
constexpr int NormalStep = 5;
constexpr int StrongStep = 10;

void DrawPersonality(Person& person, Random& random) {
    for (int& value : person.personality) value = random.Below(100);
}

// Spends the budget on random stats, step by step; the last step may be short.
void SpendBudget(Person& person, Random& random, int budget, const std::array<int, StatCount>& steps) {
    while (budget > 0) {
        const int s = random.Below(StatCount);
        const int step = steps[s] > budget ? budget : steps[s];
        person.stat[s] += step;
        budget -= step;
    }
}

}  // namespace

Person Person::Placeholder(Random& random) {
    Person person;
    person.firstName = FemaleFirstNames[random.Below(NameChoices)];
    person.lastName = Surnames[random.Below(NameChoices)];
    DrawPersonality(person, random);
    std::array<int, StatCount> steps;
    steps.fill(NormalStep);
    SpendBudget(person, random, PlaceholderBudget, steps);
    person.knownAs = "an unremarkable individual";
    return person;
}

Person Person::Generate(Random& random, bool male, int pointsLow, int pointsHigh, int strongGroup) {
    Person person;
    // The divisor is negative for every caller, so the remainder keeps the
    // draw's sign and the budget lands above pointsHigh.
    const int budget = pointsHigh + 1 + random.Below(pointsLow - pointsHigh + 1);
    person.male = male;
    person.firstName = male ? MaleFirstNames[random.Below(NameChoices)] : FemaleFirstNames[random.Below(NameChoices)];
    person.lastName = Surnames[random.Below(NameChoices)];
    DrawPersonality(person, random);
    std::array<int, StatCount> steps;
    steps.fill(NormalStep);
    if (strongGroup >= group::Looks && strongGroup <= group::Status) {
        for (int k = 0; k < 3; ++k) steps[3 * strongGroup + k] = StrongStep;
    }
    SpendBudget(person, random, budget, steps);
    person.knownAs = DescribeAppearance(person, random);
    return person;
}

}  // namespace tg
