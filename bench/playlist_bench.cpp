// Loading and saving a 10,000-entry playlist in both formats. Half the entries are
// absolute paths of existing files (each checked on load), half are relative names
// resolved against the playlist's folder; titles are Cyrillic. With ZORVAN_BENCH_FIXTURES
// set, the files are made there and kept, so bench/run.sh can time a peer on them.
#include <benchmark/benchmark.h>

#include <QString>

#include <cstdlib>
#include <filesystem>
#include <optional>
#include <string>

#include "player/playlist/playlist.h"
#include "testing/temp_dir.h"

namespace {

constexpr int kEntries = 10000;

std::filesystem::path fixtureFolder(std::optional<testing_support::TempDir>& temp) {
    if (const char* kept = std::getenv("ZORVAN_BENCH_FIXTURES")) return kept;
    return temp.emplace().path();
}

struct Fixture {
    std::optional<testing_support::TempDir> temp;
    std::filesystem::path dir = fixtureFolder(temp);
    QString pls;
    QString m3u;
    TPlaylist loaded;

    Fixture() {
        std::string pls = "[playlist]\n";
        std::string m3u = "#EXTM3U\n";
        for (int k = 1; k <= kEntries; ++k) {
            const std::string name = "media/" + std::to_string(k) + ".mp3";
            testing_support::writeFile(dir / name, "");
            const std::string file = k % 2 ? (dir / name).string() : name;
            const std::string title = "Исполнитель " + std::to_string(k) + " - Песня";
            const std::string length = std::to_string(180000 + k);
            const std::string n = std::to_string(k);
            pls += "File" + n + "=" + file + "\nTitle" + n + "=" + title + "\nLength" + n + "=" +
                   length + "\n";
            m3u += "#EXTINF:" + length + "," + title + "\n" + file + "\n";
        }
        pls += "NumberOfEntries=" + std::to_string(kEntries) + "\nVersion=2\n";
        testing_support::writeFile(dir / "list.pls", pls);
        testing_support::writeFile(dir / "list.m3u", m3u);
        this->pls = QString::fromStdString((dir / "list.pls").string());
        this->m3u = QString::fromStdString((dir / "list.m3u").string());
        loaded.LoadFromPls(this->pls, true);
    }
};

Fixture& fixture() {
    static Fixture f;
    return f;
}

void BM_LoadPls(benchmark::State& state) {
    const Fixture& f = fixture();
    for (auto _ : state) {
        TPlaylist list;
        list.LoadFromPls(f.pls, true);
        if (list.Count() != kEntries) state.SkipWithError("wrong entry count");
    }
}

void BM_LoadM3u(benchmark::State& state) {
    const Fixture& f = fixture();
    for (auto _ : state) {
        TPlaylist list;
        list.LoadFromM3u(f.m3u, true);
        if (list.Count() != kEntries) state.SkipWithError("wrong entry count");
    }
}

// Saving over the previous file, as the kept playlist is saved at every exit.
void BM_SavePls(benchmark::State& state) {
    const Fixture& f = fixture();
    const QString out = QString::fromStdString((f.dir / "saved.pls").string());
    for (auto _ : state)
        if (!f.loaded.SaveToPls(out)) state.SkipWithError("save failed");
}

void BM_SaveM3u(benchmark::State& state) {
    const Fixture& f = fixture();
    const QString out = QString::fromStdString((f.dir / "saved.m3u").string());
    for (auto _ : state)
        if (!f.loaded.SaveToM3u(out)) state.SkipWithError("save failed");
}

// Filling the playlist one file at a time, as adding a folder or the whole music
// library does; every addition checks that the file is not there yet.
void BM_AddEntries(benchmark::State& state) {
    const Fixture& f = fixture();
    for (auto _ : state) {
        TPlaylist list;
        for (int i = 0; i < f.loaded.Count(); ++i)
            list.AddEntry(f.loaded.FileAt(i), f.loaded.TitleAt(i), f.loaded.LengthAt(i));
        if (list.Count() != kEntries) state.SkipWithError("wrong entry count");
    }
}

}  // namespace

BENCHMARK(BM_AddEntries)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_LoadPls)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_LoadM3u)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_SavePls)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_SaveM3u)->Unit(benchmark::kMillisecond);
