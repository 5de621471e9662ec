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

TEST(HangulComposer, KeyScripts) {
    const std::vector<Script> scripts = {
        {"one syllable", {{'r', u"", u"ㄱ"}, {'k', u"", u"가"}, {'r', u"", u"각"}}},
        {"final consonant moves to the next syllable",
         {{'r', u"", u"ㄱ"}, {'k', u"", u"가"}, {'r', u"", u"각"}, {'k', u"가", u"가"}}},
        {"consonant that cannot be a final starts a syllable",
         {{'g', u"", u"ㅎ"}, {'k', u"", u"하"}, {'Q', u"하", u"ㅃ"}, {'k', u"하", u"빠"}}},
        {"final cluster splits before a vowel",
         {{'d', u"", u"ㅇ"}, {'k', u"", u"아"}, {'f', u"", u"알"}, {'r', u"", u"앍"}, {'k', u"알", u"가"}}},
        {"compound vowel", {{'d', u"", u"ㅇ"}, {'h', u"", u"오"}, {'k', u"", u"와"}, {'s', u"", u"완"}}},
        {"two words", {{'g', u"", u"ㅎ"}, {'k', u"", u"하"}, {'s', u"", u"한"}, {'r', u"한", u"ㄱ"},
                       {'m', u"한", u"그"}, {'f', u"한", u"글"}}},
        {"lone vowel then consonant", {{'k', u"", u"ㅏ"}, {'r', u"ㅏ", u"ㄱ"}}},
        {"shift letters", {{'R', u"", u"ㄲ"}, {'O', u"", u"꺠"}, {'T', u"", u"꺴"}}},
        {"backspace removes one jamo",
         {{'r', u"", u"ㄱ"}, {'k', u"", u"가"}, {'r', u"", u"각"}, {'<', u"", u"가"}, {'<', u"", u"ㄱ"},
          {'<', u"", u""}}},
        {"backspace inside a compound vowel and cluster",
         {{'d', u"", u"ㅇ"}, {'h', u"", u"오"}, {'k', u"", u"와"}, {'<', u"", u"오"}, {'<', u"", u"ㅇ"}}},
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

TEST(HangulComposer, BackspaceWithNothingComposingIsNotConsumedAndSyllableCodes) {
    HangulComposer composer;
    EXPECT_FALSE(composer.Backspace().consumed);
    composer.Key('r');
    EXPECT_TRUE(composer.Backspace().consumed);
    EXPECT_FALSE(composer.IsComposing());
    EXPECT_FALSE(composer.Backspace().consumed);

    // Syllable codes follow 0xAC00 + (L*21 + V)*28 + T: ㅎ L=18, ㅢ V=19, ㅎ T=27 is the block's last syllable.
    for (char key : {'g', 'm', 'l', 'g'}) composer.Key(key);
    ASSERT_EQ(composer.Composing().size(), 1u);
    EXPECT_EQ(composer.Composing()[0], char16_t(0xAC00 + (18 * 21 + 19) * 28 + 27));
}

TEST(HangulComposer, Utf16ConversionKeepsAstralCharacters) {
    const unsigned int text[] = {0x41, 0xAC00, 0x1F600, 0};
    EXPECT_EQ(cehost::imm::Utf16FromUcs4(text), std::u16string(u"A가\U0001F600"));
    EXPECT_EQ(cehost::imm::Utf16FromUcs4(nullptr), std::u16string());
}
