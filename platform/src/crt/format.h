// The printf engine behind the C runtime's formatters and NKDbgPrintfW.
#pragma once

#include <windows.h>

#include <cstdarg>
#include <string>

namespace cehost::crt {

// Where formatted text goes: the first `capacity` units into `buffer`, or everything into `grow` when set.
// `length` counts every unit produced, stored or not.
template <class Ch> struct FormatSink {
    Ch* buffer = nullptr;
    size_t capacity = 0;
    std::basic_string<Ch>* grow = nullptr;
    size_t length = 0;

    void Put(Ch c) {
        if (grow)
            grow->push_back(c);
        else if (length < capacity)
            buffer[length] = c;
        ++length;
    }
};

// Both return the number of units the text has (sink.length).
size_t Format(FormatSink<char>& sink, const char* format, va_list args);
size_t Format(FormatSink<WCHAR>& sink, const WCHAR* format, va_list args);

std::u16string FormatToString(const WCHAR* format, va_list args);

} // namespace cehost::crt
