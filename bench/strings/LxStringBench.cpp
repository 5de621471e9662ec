// The common LxString operations next to std::string doing the same work. Each pair has the same name with
// an LxString or StdString suffix; the ratio of their times is the cost of the exact-size rule (every change
// of length allocates a new block) and of the conversion at the wide boundary.
#include "LxString.h"

#include <benchmark/benchmark.h>

#include <algorithm>
#include <string>

namespace {

std::string Text(size_t length) {
    std::string text;
    while (text.size() < length) text += "banana split ";
    text.resize(length);
    return text;
}

void BM_Construct_LxString(benchmark::State& state) {
    const std::string text = Text(size_t(state.range(0)));
    for (auto _ : state) {
        LxString s(text.c_str());
        benchmark::DoNotOptimize(s.GetString());
    }
}
void BM_Construct_StdString(benchmark::State& state) {
    const std::string text = Text(size_t(state.range(0)));
    for (auto _ : state) {
        std::string s(text.c_str());
        benchmark::DoNotOptimize(s.data());
    }
}
BENCHMARK(BM_Construct_LxString)->Arg(8)->Arg(100);
BENCHMARK(BM_Construct_StdString)->Arg(8)->Arg(100);

void BM_Copy_LxString(benchmark::State& state) {
    const LxString text(Text(size_t(state.range(0))).c_str());
    for (auto _ : state) {
        LxString s(text);
        benchmark::DoNotOptimize(s.GetString());
    }
}
void BM_Copy_StdString(benchmark::State& state) {
    const std::string text = Text(size_t(state.range(0)));
    for (auto _ : state) {
        std::string s(text);
        benchmark::DoNotOptimize(s.data());
    }
}
BENCHMARK(BM_Copy_LxString)->Arg(100);
BENCHMARK(BM_Copy_StdString)->Arg(100);

// Building a text piece by piece: n appends of two bytes.
void BM_AppendLoop_LxString(benchmark::State& state) {
    for (auto _ : state) {
        LxString s("");
        for (int64_t i = 0; i < state.range(0); ++i) s += "ab";
        benchmark::DoNotOptimize(s.GetString());
    }
}
void BM_AppendLoop_StdString(benchmark::State& state) {
    for (auto _ : state) {
        std::string s;
        for (int64_t i = 0; i < state.range(0); ++i) s += "ab";
        benchmark::DoNotOptimize(s.data());
    }
}
BENCHMARK(BM_AppendLoop_LxString)->Arg(10)->Arg(100)->Arg(1000);
BENCHMARK(BM_AppendLoop_StdString)->Arg(10)->Arg(100)->Arg(1000);

void BM_Concat_LxString(benchmark::State& state) {
    const LxString a("first part ");
    const LxString b("second part");
    for (auto _ : state) {
        LxString c = a + b;
        benchmark::DoNotOptimize(c.GetString());
    }
}
void BM_Concat_StdString(benchmark::State& state) {
    const std::string a("first part ");
    const std::string b("second part");
    for (auto _ : state) {
        std::string c = a + b;
        benchmark::DoNotOptimize(c.data());
    }
}
BENCHMARK(BM_Concat_LxString);
BENCHMARK(BM_Concat_StdString);

void BM_Find_LxString(benchmark::State& state) {
    const LxString text((Text(1000) + "needle").c_str());
    for (auto _ : state) benchmark::DoNotOptimize(text.Find("needle"));
}
void BM_Find_StdString(benchmark::State& state) {
    const std::string text = Text(1000) + "needle";
    for (auto _ : state) benchmark::DoNotOptimize(text.find("needle"));
}
BENCHMARK(BM_Find_LxString);
BENCHMARK(BM_Find_StdString);

void BM_Replace_LxString(benchmark::State& state) {
    const LxString text(Text(1000).c_str());
    for (auto _ : state) {
        LxString s(text);
        benchmark::DoNotOptimize(s.Replace("an", "AN!"));
    }
}
void BM_Replace_StdString(benchmark::State& state) {
    const std::string text = Text(1000);
    for (auto _ : state) {
        std::string s(text);
        std::string out;
        size_t pos = 0;
        for (size_t p = s.find("an"); p != std::string::npos; p = s.find("an", pos)) {
            out.append(s, pos, p - pos).append("AN!");
            pos = p + 2;
        }
        out.append(s, pos);
        s.swap(out);
        benchmark::DoNotOptimize(s.data());
    }
}
BENCHMARK(BM_Replace_LxString);
BENCHMARK(BM_Replace_StdString);

void BM_Mid_LxString(benchmark::State& state) {
    const LxString text(Text(200).c_str());
    for (auto _ : state) {
        LxString part = text.Mid(50, 40);
        benchmark::DoNotOptimize(part.GetString());
    }
}
void BM_Mid_StdString(benchmark::State& state) {
    const std::string text = Text(200);
    for (auto _ : state) {
        std::string part = text.substr(50, 40);
        benchmark::DoNotOptimize(part.data());
    }
}
BENCHMARK(BM_Mid_LxString);
BENCHMARK(BM_Mid_StdString);

void BM_InsertRemove_LxString(benchmark::State& state) {
    LxString s(Text(200).c_str());
    const LxString piece("inserted");
    for (auto _ : state) {
        s.Insert(piece, 100);
        s.Remove(100, 107);
        benchmark::DoNotOptimize(s.GetString());
    }
}
void BM_InsertRemove_StdString(benchmark::State& state) {
    std::string s = Text(200);
    const std::string piece("inserted");
    for (auto _ : state) {
        s.insert(100, piece);
        s.erase(100, 8);
        benchmark::DoNotOptimize(s.data());
    }
}
BENCHMARK(BM_InsertRemove_LxString);
BENCHMARK(BM_InsertRemove_StdString);

void BM_Trim_LxString(benchmark::State& state) {
    for (auto _ : state) {
        LxString s("      padded text      ");
        s.Trim(' ');
        benchmark::DoNotOptimize(s.GetString());
    }
}
void BM_Trim_StdString(benchmark::State& state) {
    for (auto _ : state) {
        std::string s("      padded text      ");
        s.erase(0, s.find_first_not_of(' '));
        s.erase(s.find_last_not_of(' ') + 1);
        benchmark::DoNotOptimize(s.data());
    }
}
BENCHMARK(BM_Trim_LxString);
BENCHMARK(BM_Trim_StdString);

void BM_Compare_LxString(benchmark::State& state) {
    const LxString a(Text(100).c_str());
    const LxString b(Text(100).c_str());
    for (auto _ : state) benchmark::DoNotOptimize(a == b);
}
void BM_Compare_StdString(benchmark::State& state) {
    const std::string a = Text(100);
    const std::string b = Text(100);
    for (auto _ : state) benchmark::DoNotOptimize(a == b);
}
BENCHMARK(BM_Compare_LxString);
BENCHMARK(BM_Compare_StdString);

void BM_FormatInt_LxString(benchmark::State& state) {
    int n = 123456;
    for (auto _ : state) {
        LxString s(n++);
        benchmark::DoNotOptimize(s.GetString());
    }
}
void BM_FormatInt_StdString(benchmark::State& state) {
    int n = 123456;
    for (auto _ : state) {
        std::string s = std::to_string(n++);
        benchmark::DoNotOptimize(s.data());
    }
}
BENCHMARK(BM_FormatInt_LxString);
BENCHMARK(BM_FormatInt_StdString);

// Wide (Korean) text in: LxString converts through wcstombs; the std::string side does the same conversion
// with WideCharToMultiByte into its own buffer, so the pair shows what LxString adds to the conversion.
void BM_WideIn_LxString(benchmark::State& state) {
    const std::u16string wide(size_t(state.range(0)), u'\uD55C');
    for (auto _ : state) {
        LxString s(wide.c_str());
        benchmark::DoNotOptimize(s.GetString());
    }
}
void BM_WideIn_StdString(benchmark::State& state) {
    const std::u16string wide(size_t(state.range(0)), u'\uD55C');
    for (auto _ : state) {
        std::string s(wide.size() * 2, '\0');
        const int n = WideCharToMultiByte(CP_ACP, 0, wide.data(), int(wide.size()), s.data(), int(s.size()),
                                          nullptr, nullptr);
        s.resize(size_t(n));
        benchmark::DoNotOptimize(s.data());
    }
}
BENCHMARK(BM_WideIn_LxString)->Arg(20);
BENCHMARK(BM_WideIn_StdString)->Arg(20);

void BM_CaseUpper_LxString(benchmark::State& state) {
    LxString s(Text(100).c_str());
    for (auto _ : state) {
        s.MakeUpper();
        s.MakeLower();
        benchmark::DoNotOptimize(s.GetString());
    }
}
void BM_CaseUpper_StdString(benchmark::State& state) {
    std::string s = Text(100);
    for (auto _ : state) {
        std::transform(s.begin(), s.end(), s.begin(), [](char c) { return (c >= 'a' && c <= 'z') ? char(c - 32) : c; });
        std::transform(s.begin(), s.end(), s.begin(), [](char c) { return (c >= 'A' && c <= 'Z') ? char(c + 32) : c; });
        benchmark::DoNotOptimize(s.data());
    }
}
BENCHMARK(BM_CaseUpper_LxString);
BENCHMARK(BM_CaseUpper_StdString);

} // namespace
