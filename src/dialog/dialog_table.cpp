#include "dialog/dialog_table.h"

// Texts are kept exactly as the game has always shown them, slips of the pen included.
const DialogNode dialogTable[dialogNodeCount] = {
    // 0: a fresh game
    {{"Well, I see you have your chip.", "Do well to raise it.", nullptr, nullptr},
     {"Will do!", "Don't tell me want to do!", "Whatever", "I'll try."},
     {nextCloses, 1, 1, 2}},
    // 1
    {{"With an attitude like that...", nullptr, nullptr, nullptr},
     {"CLose", nullptr, nullptr, nullptr},
     {nextCloses, 0, 0, 0}},
    // 2
    {{"As long as you you give it your best!", nullptr, nullptr, nullptr},
     {"Close", nullptr, nullptr, nullptr},
     {nextCloses, 0, 0, 0}},
    // 3: entering phase 1
    {{"Empty Dialog", "Sorry to", "waste your", "time"},
     {"WTF?", "OMG!", "BBQ", "WUT?"},
     {4, 5, 6, 7}},
    // 4
    {{"Code created during Vospertun", "can be a major WTF", nullptr, nullptr},
     {"...", "WUT?", nullptr, nullptr},
     {nextCloses, 7, 0, 0}},
    // 5
    {{"Such indeed", nullptr, nullptr, nullptr},
     {"Close", nullptr, nullptr, nullptr},
     {nextCloses, 0, 0, 0}},
    // 6
    {{"BBQ is yummy!", nullptr, nullptr, nullptr},
     {"Close", nullptr, nullptr, nullptr},
     {nextCloses, 0, 0, 0}},
    // 7
    {{"WUT indeed", nullptr, nullptr, nullptr},
     {"Close", nullptr, nullptr, nullptr},
     {nextCloses, 0, 0, 0}},
    // 8: entering phase 3
    {{"Sorry about the particles", "Couldn't think of a better way",
      "to add them with the short time I had", nullptr},
     {"I hate you...", "Should of had flaming water", "Whatever", "Will there be more?"},
     {9, 10, nextCloses, 11}},
    // 9
    {{"You could stop playing", nullptr, nullptr, "the game"},
     {"Close", nullptr, nullptr, nullptr},
     {nextCloses, 0, 0, 0}},
    // 10
    {{"I wanted to!", "Then when the water burnt down,", "There would be particle based smoke!",
      nullptr},
     {"Close", nullptr, nullptr, nullptr},
     {nextCloses, 0, 0, 0}},
    // 11
    {{"Oh yes!", nullptr, nullptr, nullptr},
     {"Bring it!", nullptr, nullptr, nullptr},
     {nextCloses, 0, 0, 0}},
    // 12: a chip died
    {{"You killed your chip!", "Try again!", nullptr, nullptr},
     {"Ok", "No!", nullptr, nullptr},
     {nextCloses, 13, 0, 0}},
    // 13
    {{"Well too bad!", "Unless you quit the game", "You'll have to always be raising a chip",
      nullptr},
     {"Alright, whatever", "Bite me!", "...", nullptr},
     {1, 1, nextCloses, 0}},
    // 14: a chip was raised
    {{"Well done, you did a great job", "Raise another fine chip", nullptr, nullptr},
     {"Yes sir!", "Whatever", nullptr, nullptr},
     {nextCloses, 1, 0, 0}},
    // 15: raised enough chips
    {{"Alright, that's enough chips for now.", "Take a break", nullptr,
      "See you next time... maybe"},
     {"Quit", nullptr, nullptr, nullptr},
     {nextQuitsAndResets, 0, 0, 0}},
    // 16: killed too many chips
    {{"Alright, you're too much of a killer", "Get out of here!", nullptr,
      "Come back only if you care"},
     {"BYE!", nullptr, nullptr, nullptr},
     {nextQuitsAndResets, 0, 0, 0}},
};
