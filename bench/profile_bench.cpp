// Native benchmark of the profile reads the catalog makes, on generated
// catalogs of about 2 MB:
//   build/native/bin/profile_bench
// - the 500 category names into 8192 characters (the list is cut there),
// - one category into 31165 characters: a 4 KB one of the 500-category
//   catalog and a 29 KB one of a 70-category catalog of 700 entries each,
// - one link into 256 characters,
// each from a file already read once (the usual case: the catalog is read
// at start-up and then on every choice), and the first read of a file.
#include "catalog/profile.h"
#include "catalog/synthetic.h"

#include <benchmark/benchmark.h>

#include <chrono>
#include <filesystem>
#include <string>
#include <vector>

namespace fs = std::filesystem;

namespace {

struct Catalogs {
    std::string wide; // 500 categories of 100 entries
    std::string deep; // 70 categories of 700 entries
    std::string wideCategory, deepCategory, entry;
    fs::path dir;

    Catalogs() {
        dir = fs::temp_directory_path() / "fl_profile_bench";
        fs::create_directories(dir);
        wide = (dir / "wide.def").string();
        deep = (dir / "deep.def").string();
        catalog::writeSyntheticCatalog(wide, 500, 100, 1);
        catalog::writeSyntheticCatalog(deep, 70, 700, 2);
        // Files that have been left alone for a while, as catalogs are.
        for (const auto& p : {wide, deep})
            fs::last_write_time(p, fs::file_time_type::clock::now() - std::chrono::hours(1));
        wideCategory = profile::sectionNames(wide, 65536)[250];
        deepCategory = profile::sectionNames(deep, 65536)[35];
        const auto line = profile::sectionLines(wide, wideCategory, 31165)[50];
        entry = line.substr(0, line.find('='));
    }
    ~Catalogs() {
        std::error_code ec;
        fs::remove_all(dir, ec);
    }
};

const Catalogs& catalogs() {
    static const Catalogs c;
    return c;
}

void BM_SectionNames8192(benchmark::State& state) {
    const auto& c = catalogs();
    std::vector<char> buf(8192);
    for (auto _ : state)
        benchmark::DoNotOptimize(
            profile::GetPrivateProfileSectionNames(buf.data(), 8192, c.wide.c_str()));
}
BENCHMARK(BM_SectionNames8192);

void BM_Section31165_4KB(benchmark::State& state) {
    const auto& c = catalogs();
    std::vector<char> buf(31165);
    for (auto _ : state)
        benchmark::DoNotOptimize(profile::GetPrivateProfileSection(
            c.wideCategory.c_str(), buf.data(), 31165, c.wide.c_str()));
}
BENCHMARK(BM_Section31165_4KB);

void BM_Section31165_29KB(benchmark::State& state) {
    const auto& c = catalogs();
    std::vector<char> buf(31165);
    for (auto _ : state)
        benchmark::DoNotOptimize(profile::GetPrivateProfileSection(
            c.deepCategory.c_str(), buf.data(), 31165, c.deep.c_str()));
}
BENCHMARK(BM_Section31165_29KB);

void BM_Value256(benchmark::State& state) {
    const auto& c = catalogs();
    char buf[256];
    for (auto _ : state)
        benchmark::DoNotOptimize(profile::GetPrivateProfileString(
            c.wideCategory.c_str(), c.entry.c_str(), nullptr, buf, 256, c.wide.c_str()));
}
BENCHMARK(BM_Value256);

// The first read of a catalog: a fresh copy each time, so nothing is cached.
void BM_FirstRead_SectionNames8192(benchmark::State& state) {
    const auto& c = catalogs();
    std::vector<char> buf(8192);
    int n = 0;
    for (auto _ : state) {
        state.PauseTiming();
        const auto copy = (c.dir / ("copy" + std::to_string(n++ % 16) + ".def")).string();
        fs::copy_file(c.wide, copy, fs::copy_options::overwrite_existing);
        state.ResumeTiming();
        benchmark::DoNotOptimize(
            profile::GetPrivateProfileSectionNames(buf.data(), 8192, copy.c_str()));
    }
}
BENCHMARK(BM_FirstRead_SectionNames8192);

} // namespace

BENCHMARK_MAIN();
