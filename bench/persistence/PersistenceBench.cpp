// Registry and record-database throughput. Every write is durable (one synced transaction), so the write
// figures are bound by the disk's flush time.
#include <benchmark/benchmark.h>

#include "LxEDB.h"
#include "LxRegistry.h"
#include <cehost/sim.h>

#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <string>

namespace {

// A scratch folder for the whole run, removed at exit.
const std::string& ScratchFolder() {
    static const std::string folder = [] {
        std::string pattern = (std::filesystem::temp_directory_path() / "lx-bench-XXXXXX").string();
        if (!mkdtemp(pattern.data())) std::abort();
        std::atexit([] {
            std::error_code ignored;
            std::filesystem::remove_all(ScratchFolder(), ignored);
        });
        CehostSetRegistryPath((pattern + "/registry.db").c_str());
        setenv("LXEDB_DIR", pattern.c_str(), 1);
        return pattern;
    }();
    return folder;
}

void RegistryWrite(benchmark::State& state) {
    ScratchFolder();
    HKEY key = nullptr;
    RegCreateKeyExW(HKEY_CURRENT_USER, u"bench\\write", 0, nullptr, 0, 0, nullptr, &key, nullptr);
    DWORD value = 0;
    for (auto _ : state) {
        ++value;
        if (RegSetValueExW(key, u"counter", 0, REG_DWORD, reinterpret_cast<BYTE*>(&value), 4) !=
            ERROR_SUCCESS)
            state.SkipWithError("write failed");
    }
    RegCloseKey(key);
    state.SetItemsProcessed(state.iterations());
}
BENCHMARK(RegistryWrite)->UseRealTime();

void RegistryRead(benchmark::State& state) {
    ScratchFolder();
    HKEY key = nullptr;
    RegCreateKeyExW(HKEY_CURRENT_USER, u"bench\\read", 0, nullptr, 0, 0, nullptr, &key, nullptr);
    const char16_t text[] = u"a setting of moderate length";
    RegSetValueExW(key, u"text", 0, REG_SZ, reinterpret_cast<const BYTE*>(text), sizeof(text));
    char16_t buffer[64];
    for (auto _ : state) {
        DWORD size = sizeof(buffer);
        if (RegQueryValueExW(key, u"TEXT", nullptr, nullptr, reinterpret_cast<BYTE*>(buffer), &size) !=
            ERROR_SUCCESS)
            state.SkipWithError("read failed");
    }
    RegCloseKey(key);
    state.SetItemsProcessed(state.iterations());
}
BENCHMARK(RegistryRead);

// The wrapper opens and closes the key around every call.
void LxRegistrySetInteger(benchmark::State& state) {
    ScratchFolder();
    LxRegistry registry(HKEY_CURRENT_USER, u"\\software\\lx\\bench", u"n");
    DWORD value = 0;
    for (auto _ : state)
        if (!registry.SetInteger(++value)) state.SkipWithError("write failed");
    state.SetItemsProcessed(state.iterations());
}
BENCHMARK(LxRegistrySetInteger)->UseRealTime();

void LxRegistryGetInteger(benchmark::State& state) {
    ScratchFolder();
    LxRegistry registry(HKEY_CURRENT_USER, u"\\software\\lx\\bench", u"m");
    registry.SetInteger(12345u);
    for (auto _ : state)
        benchmark::DoNotOptimize(registry.GetInteger());
    state.SetItemsProcessed(state.iterations());
}
BENCHMARK(LxRegistryGetInteger);

constexpr int kRecords = 10000;

LxEDBREC Field(int i) {
    LxEDBREC f{};
    f.dwPropId = 1;
    f.wType = EDB_FIELD_TEXT;
    std::u16string text = u"name ";
    for (int n = (i * 7919) % kRecords, d = 0; d < 5; ++d, n /= 10)
        text += char16_t(u'0' + n % 10);
    std::memcpy(f.szVal, text.c_str(), (text.size() + 1) * 2);
    return f;
}

// Adds 10,000 two-field records, each in its own durable transaction.
void EdbAdd10000(benchmark::State& state) {
    ScratchFolder();
    int round = 0;
    for (auto _ : state) {
        std::u16string table = u"add" + std::u16string(1, char16_t(u'a' + round++ % 26));
        LxEDB db(u"bench", table.c_str(), int(state.range(0)));
        db.Open();
        db.DeleteAll();
        for (int i = 0; i < kRecords; ++i) {
            LxEDBREC fields[2] = {Field(i), Field(i + 1)};
            if (!db.AddRecord(fields, 2)) state.SkipWithError("add failed");
        }
    }
    state.SetItemsProcessed(state.iterations() * kRecords);
}
BENCHMARK(EdbAdd10000)->Arg(0)->Arg(1)->Iterations(1)->UseRealTime()->Unit(benchmark::kMillisecond);

// Reads all 10,000 records by index; the first read after opening builds the order.
void EdbRead10000(benchmark::State& state) {
    ScratchFolder();
    {
        LxEDB db(u"bench", u"read", 0);
        db.Open();
        if (db.GetCount() != kRecords) {
            db.DeleteAll();
            for (int i = 0; i < kRecords; ++i) {
                LxEDBREC fields[2] = {Field(i), Field(i + 1)};
                db.AddRecord(fields, 2);
            }
        }
    }
    LxEDBREC out[EDB_MAX_FIELDS];
    for (auto _ : state) {
        LxEDB db(u"bench", u"read", int(state.range(0)));
        db.Open();
        for (int i = 0; i < kRecords; ++i)
            if (!db.GetRecord(out, UINT(i))) state.SkipWithError("read failed");
    }
    state.SetItemsProcessed(state.iterations() * kRecords);
}
BENCHMARK(EdbRead10000)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

} // namespace
