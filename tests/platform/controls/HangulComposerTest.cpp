// The dubeolsik engine, key by key: what is final and what is still composing after each key.
#include "imm/HangulComposer.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

using cehost::imm::HangulComposer;

namespace {

// One key of a script: a layout letter, '<' for Backspace, '!' for complete, '~' for cancel, or any
// other character for a key the layout does not know. After it, all text committed so far and the
// composition must be as given.
struct Step {
    char key;
    const char16_t* committed;
    const char16_t* composing;
};

struct Script {
    const char* name;
    std::vector<Step> steps;
};

void Play(const Script& script) {
    HangulComposer composer;
    std::u16string committed;
    int index = 0;
    for (const Step& step : script.steps) {
        switch (step.key) {
        case '<':
            composer.Backspace();
            break;
        case '!':
            committed += composer.Complete();
            break;
        case '~':
            composer.Cancel();
            break;
        default: {
            auto result = composer.Key(step.key);
            EXPECT_EQ(result.consumed, HangulComposer::IsLayoutKey(step.key)) << script.name << " step " << index;
            EXPECT_EQ(result.composing, composer.Composing());
            committed += result.committed;
        }
        }
        EXPECT_EQ(committed, std::u16string(step.committed)) << script.name << " after step " << index;
        EXPECT_EQ(composer.Composing(), std::u16string(step.composing)) << script.name << " after step " << index;
        ++index;
    }
}

} // namespace

// The jamo automaton itself (clusters, double vowels, splitting before a vowel) is the hangul library's; these
// scripts check what the engine makes of it: what is final, what still composes, and the keys it takes.
TEST(HangulComposer, KeyScripts) {
    const std::vector<Script> scripts = {
        {"final consonant moves to the next syllable",
         {{'r', u"", u"ㄱ"}, {'k', u"", u"가"}, {'r', u"", u"각"}, {'k', u"가", u"가"}}},
        {"lone vowel then consonant", {{'k', u"", u"ㅏ"}, {'r', u"ㅏ", u"ㄱ"}}},
        {"shift letters", {{'R', u"", u"ㄲ"}, {'O', u"", u"꺠"}, {'T', u"", u"꺴"}}},
        {"backspace removes one jamo",
         {{'r', u"", u"ㄱ"}, {'k', u"", u"가"}, {'r', u"", u"각"}, {'<', u"", u"가"}, {'<', u"", u"ㄱ"},
          {'<', u"", u""}}},
        {"backspace after a split touches only the new syllable",
         {{'r', u"", u"ㄱ"}, {'k', u"", u"가"}, {'r', u"", u"각"}, {'k', u"가", u"가"}, {'<', u"가", u"ㄱ"},
          {'<', u"가", u""}}},
        {"complete and cancel", {{'r', u"", u"ㄱ"}, {'k', u"", u"가"}, {'!', u"가", u""}, {'s', u"가", u"ㄴ"},
                                 {'~', u"가", u""}, {'!', u"가", u""}}},
        {"non-layout key finishes the syllable", {{'r', u"", u"ㄱ"}, {'k', u"", u"가"}, {'1', u"가", u""},
                                                  {'1', u"가", u""}, {'k', u"가", u"ㅏ"}}},
    };
    for (const Script& script : scripts) Play(script);
}

TEST(HangulComposer, BackspaceWithNothingComposingIsNotConsumedAndUtf16KeepsAstralCharacters) {
    HangulComposer composer;
    EXPECT_FALSE(composer.Backspace().consumed);
    composer.Key('r');
    EXPECT_TRUE(composer.Backspace().consumed);
    EXPECT_FALSE(composer.IsComposing());
    EXPECT_FALSE(composer.Backspace().consumed);

    const unsigned int text[] = {0x41, 0xAC00, 0x1F600, 0};
    EXPECT_EQ(cehost::imm::Utf16FromUcs4(text), std::u16string(u"A가\U0001F600"));
    EXPECT_EQ(cehost::imm::Utf16FromUcs4(nullptr), std::u16string());
}
