#pragma once
// The learning cards' words: where they come from (Setting.LrnSource) and what a card shows.
#include <cstdint>
#include <string>
#include <vector>

namespace parlavent {

class Appl;
struct LearnCard;

/// The words of the list sources: 1 the user's "learner.txt", 2 the last LrnNL words of the
/// statistics, 3 the LrnNM most frequent. Source 0 (random words of the dictionary) has no list.
std::vector<std::u16string> LearnSourceWords(Appl& app, std::int32_t source);
/// The next card's word and translation: a random dictionary word, or the next (or a random)
/// word of the list. False when the source gives none.
bool NextLearnCard(Appl& app, LearnCard& card);

}  // namespace parlavent
