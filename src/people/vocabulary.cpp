// The game's fixed vocabulary: the thirteen string tables.
#include "people/vocabulary.hpp"

namespace tg {

const std::array<std::string_view, 9> StatNames = {
    "beauty", "strength", "sex appeal", "humor", "intelligence", "confidence", "goals", "money", "power",
};

const std::array<std::string_view, 20> TraitWords = {
    "safe", "scheduled", "nonreligious", "sedentary", "conservative",
    "self-centered", "logical", "uninterested in animals", "good at listening", "pessimistic",
    "wild", "spontaneous", "religious", "active", "giving",
    "a dreamer", "animal lover", "good at talking", "optimistic", "",
};

const std::array<std::string_view, 21> FemaleFirstNames = {
    "Anna", "Kiera", "Cymone", "Sonja", "Elizaveta", "Muadhnait", "Mariana",
    "Sallie", "Lyndi", "Vikki", "Parvati", "Jessie", "Lulu", "Lateefah",
    "Tilda", "Cass", "Eavan", "Hailee", "Luvenia", "Ora", "April",
};

const std::array<std::string_view, 21> MaleFirstNames = {
    "Tad", "Brad", "Paul", "John", "Mike", "August", "Nimbus",
    "Vijay", "Humphrey", "Minoru", "Martin", "Oran", "Jakob", "Hagan",
    "Tilda", "Nicodemus", "Geoff", "Savio", "Achim", "Leopoldo", "Rick",
};

const std::array<std::string_view, 21> Surnames = {
    "Harwick", "Garcia", "Pitt", "Meyers", "Smith", "Hunter", "Hart",
    "Ducan", "Humphrey", "Ayami", "Little", "Bryant", "Miller", "Ralsto",
    "Hilte", "Aurellius", "Brasseaux", "Picard", "Legato", "Morimoto", "O'Neal",
};

const std::array<std::string_view, 14> LevelWords = {
    "nonexistent", "terrible", "pitiful", "low", "subpar", "average", "remarkable",
    "high", "impressive", "stunning", "incredible", "awe-inspiring", "impossible", "perfect",
};

const std::array<std::string_view, 2> SubjectPronouns = {"she", "he"};
const std::array<std::string_view, 2> ObjectPronouns = {"her", "him"};

const std::array<std::string_view, 21> ReplyLines = {
    "You are the most horriffic person I have ever met!",
    "I can't stand people like you!",
    "I can't believe you!",
    "We really have nothing in common.",
    "You're so ignorant.",
    "I see it completely different from you.",
    "I totally disagree.",
    "Not at all.",
    "I think you're wrong.",
    "Not so.",
    "Hm.",
    "Yeah.",
    "I think so too.",
    "Definitely.",
    "You're totally right.",
    "That's just what I was thinking.",
    "You're so smart!",
    "That's awesome!",
    "We are like two peas in a pod!",
    "We must be soulmates!",
    "You are the most incredible person I have ever met!",
};

const std::array<std::string_view, 21> FeelingVerbs = {
    "loathe", "despise", "hate", "detest", "can't stand", "am really bothered by",
    "am offended by", "dislike", "am annoyed by", "slightly dislike", "am neutral towards",
    "am slightly inclined towards", "appreciate", "like", "enjoy", "groove with",
    "take comfort in", "really admire", "adore", "love", "am obsessed with",
};

const std::array<std::string_view, 5> OfferLines = {
    "Sure, call me sometime.",
    "I wouldn't mind a friendly date...",
    "You're the one, lets get exclusive.",
    "Oh sweetie, I love you!",
    "",
};

const std::array<std::string_view, 6> MoneyTopics = {
    "personal future", "goals", "financial situation", "assets", "authority at work", "job influence",
};

const std::array<std::string_view, 40> OpinionTopics = {
    "Motorcycles", "Recreational Drugs", "Seatbelts", "Insurance",
    "Surprises", "New things", "Schedules", "Planning",
    "Church Worship", "Religious Beliefs", "a Higher Power", "Life after death",
    "Playing Sports", "Being Outdoors", "Sleeping", "Watching TV",
    "Gay Rights", "Saving the Environment", "Abortion", "Capital Punishment",
    "Volunteerism", "Helping the poor", "Career over  Family", "Personal Independance",
    "the Paranormal", "Love at first sight", "Law and Politics", "Advancing Technology",
    "Having Pets", "Vegetarianism", "Animal Testing", "Fur Clothing",
    "Public Speaking", "Socialites", "Analyzing Others", "Listening to others problems",
    "the Glass is Half Full", "a Bright Future", "Society is Rotten", "Life is Pointless",
};

}  // namespace tg
