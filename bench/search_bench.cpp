// The song search over a playlist of 10,000 generated tagged MP3 files, as the search
// window runs it after each keystroke:
//  - FirstLyricsSearch: the first search by a word of the lyrics, which reads every
//    file's tag, in the window's 15 ms slices; the counter is the longest slice;
//  - Keystroke/Lyrics: a later keystroke in the lyrics, no file changed;
//  - Keystroke/Title and Keystroke/FileName: a keystroke in the titles and in the paths.
// The peer (bench/peers/search_peer.py) does the same work with python3-mutagen, reading
// every file's lyrics again on each keystroke as a search without a cache does.
#include <benchmark/benchmark.h>

#include <QDeadlineTimer>
#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <optional>

#include "bench/tagged_mp3_folder.h"
#include "player/engine/audio_object.h"
#include "player/engine/song_search.h"
#include "player/engine/tests/recording_view.h"
#include "testing/temp_dir.h"

namespace {

constexpr int kFiles = 10000;
constexpr int kSliceMs = 15;

struct Fixture {
    std::optional<testing_support::TempDir> temp;
    RecordingView view;
    std::optional<TAudioObject> audio;

    Fixture() {
        const char* kept = std::getenv("ZORVAN_BENCH_FIXTURES");
        const std::filesystem::path dir =
            kept ? std::filesystem::path(kept) : temp.emplace().path();
        audio.emplace(view, dir / "AllMusik.aml");
        int n = 0;
        for (const auto& path : bench::makeTaggedMp3Folder(dir / "music", kFiles))
            audio->Playlist.AddEntry(QString::fromStdString(path),
                                     QStringLiteral("Song number %1").arg(n++), 1000);
    }
};

Fixture& fixture() {
    static Fixture f;
    return f;
}

// The whole search after one keystroke; the longest slice in ms.
double search(SongSearch& search, SongSearch::Category category, const QString& word) {
    double longest = 0;
    search.start(category, word);
    while (!search.finished()) {
        const auto start = std::chrono::steady_clock::now();
        benchmark::DoNotOptimize(search.proceed(QDeadlineTimer(kSliceMs)));
        longest = std::max(longest, std::chrono::duration<double, std::milli>(
                                        std::chrono::steady_clock::now() - start)
                                        .count());
    }
    return longest;
}

void FirstLyricsSearch(benchmark::State& state) {
    Fixture& f = fixture();
    for (auto _ : state) {
        SongSearch fresh(*f.audio);
        state.counters["longest_slice_ms"] = search(fresh, SongSearch::Category::ByLyrics, "love");
    }
}
BENCHMARK(FirstLyricsSearch)->Unit(benchmark::kMillisecond);

void Keystroke(benchmark::State& state, SongSearch::Category category) {
    Fixture& f = fixture();
    SongSearch warm(*f.audio);
    search(warm, category, "lov");
    for (auto _ : state) state.counters["longest_slice_ms"] = search(warm, category, "love");
}
BENCHMARK_CAPTURE(Keystroke, Lyrics, SongSearch::Category::ByLyrics)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(Keystroke, Title, SongSearch::Category::ByTitle)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(Keystroke, FileName, SongSearch::Category::ByFileName)
    ->Unit(benchmark::kMillisecond);

}  // namespace
