// Shared checks of the string tests.
#pragma once

#include "LxString.h"

#include <gtest/gtest.h>
#include <cstddef>
#include <string>

// The test program replaces the global operator new/delete (CountingAllocator.cpp): every block carries its
// requested size, so a test can read the exact size of a string's block, count live blocks, and make an
// allocation fail on purpose.
namespace counting {
// The size requested for a block from operator new; 0 for a pointer that is not the start of such a block.
size_t BlockSize(const void* block);
// Blocks allocated and not yet released, by anyone in the process.
long LiveBlocks();
// The allocation after the next `skip` ones throws std::bad_alloc (once).
void FailAllocationAfter(int skip);
} // namespace counting

// Three Korean syllables and their two-byte forms in the ANSI code page.
#define KO_GA u"\uAC00"
#define KO_NA u"\uB098"
#define KO_DA u"\uB2E4"
#define ANSI_GA "\xB0\xA1"
#define ANSI_NA "\xB3\xAA"
#define ANSI_DA "\xB4\xD9"

// The bytes of the string, `length` of them, whatever zeros they hold.
inline std::string Bytes(const LxString& s) {
    return s.GetString() ? std::string(s.GetString(), static_cast<size_t>(s.GetLength())) : std::string();
}

inline bool IsAbsent(const LxString& s) { return s.GetString() == nullptr; }

// The storage rules: an absent string has length 0; a present one lives in a block of exactly length + 1
// bytes that ends in the terminator.
inline ::testing::AssertionResult Exact(const LxString& s) {
    if (!s.GetString()) {
        if (s.GetLength() != 0) return ::testing::AssertionFailure() << "absent with length " << s.GetLength();
        return ::testing::AssertionSuccess();
    }
    const size_t block = counting::BlockSize(s.GetString());
    if (block != static_cast<size_t>(s.GetLength()) + 1)
        return ::testing::AssertionFailure() << "block of " << block << " bytes for length " << s.GetLength();
    if (s.GetString()[s.GetLength()] != 0) return ::testing::AssertionFailure() << "no terminator";
    return ::testing::AssertionSuccess();
}

// Present text equal to `text`, stored by the rules. `s` is evaluated once.
#define EXPECT_TEXT(s, text)                                                                                   \
    do {                                                                                                       \
        const LxString& checked_ = (s);                                                                        \
        EXPECT_FALSE(IsAbsent(checked_));                                                                      \
        EXPECT_EQ(Bytes(checked_), std::string(text));                                                         \
        EXPECT_TRUE(Exact(checked_));                                                                          \
    } while (0)
