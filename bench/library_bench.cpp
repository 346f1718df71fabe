// The library work of a big collection, on 10,000 generated tagged MP3 files:
//  - AddSources of every file into an empty playlist and index; the counters give the
//    time per file over the first and over the last 500 files, which must stay level;
//  - a fresh start building the three name lists from that index;
//  - "all music" from it.
// With ZORVAN_BENCH_FIXTURES set, the files are made in its "music" folder and kept, so
// bench/run.sh can time a peer adding the same folder.
#include <benchmark/benchmark.h>

#include <QString>
#include <QStringList>
#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <optional>
#include <vector>

#include "bench/tagged_mp3_folder.h"
#include "player/engine/audio_object.h"
#include "soundlib/soundlib.h"
#include "testing/temp_dir.h"

namespace {

constexpr int kFiles = 10000;
constexpr std::size_t kWindow = 500;
using Clock = std::chrono::steady_clock;

// Shows nothing; notes the moment each added file reaches the playlist.
class TimingView : public AudioView {
public:
    std::vector<Clock::time_point> added;

    void SetListCaption(const QString&) override { added.push_back(Clock::now()); }
    void SetSpeedPosition(int) override {}
    void SetSeekMaximum(int) override {}
    void RepaintPlaylist() override {}
    void SelectPlaylistRow(int) override {}
    void ClearPlaylistView() override {}
    void RefreshPlaylistView() override {}
    void EntryTitleArrived() override {}
    void SetTotalTimeText(const QString&) override {}
    void ShowAddingProgress(int, int) override {}
    void AddingChanged(bool) override {}
    void SetFormatText(const QString&) override {}
    void SetPlayButtonGlyph(PlayGlyph) override {}
    void ShowTrayBalloon(const QString&, const QString&, int, int) override {}
    void ShowTrackInfo(const TrackInfoTexts&) override {}
    void ReapplyEffects() override {}
    void LibraryMenuItemInserted(LibraryKind, int, const QString&) override {}
    void LibraryMenuFilled(LibraryKind, const LibraryMenus&) override {}
    void SaveFailed(const QString&) override {}
};

struct Fixture {
    std::optional<testing_support::TempDir> temp;
    std::filesystem::path dir;
    std::filesystem::path index;
    QStringList files;

    Fixture() {
        const char* kept = std::getenv("ZORVAN_BENCH_FIXTURES");
        dir = kept ? std::filesystem::path(kept) : temp.emplace().path();
        index = dir / "AllMusik.aml";
        for (const auto& path : bench::makeTaggedMp3Folder(dir / "music", kFiles))
            files << QString::fromStdString(path);
        BASS_Init(0, 44100, 0, nullptr, nullptr);  // no sound: only files are opened
    }
    ~Fixture() { BASS_Free(); }

    // The index of every file, as AddSources leaves it.
    void ensureIndex() {
        if (std::filesystem::exists(index)) return;
        TimingView view;
        TAudioObject(view, index).AddSources(files);
    }
};

Fixture& fixture() {
    static Fixture f;
    return f;
}

double msPerFile(const std::vector<Clock::time_point>& times, std::size_t from, std::size_t to) {
    return std::chrono::duration<double, std::milli>(times[to] - times[from]).count() /
           static_cast<double>(to - from);
}

void AddSources(benchmark::State& state) {
    Fixture& f = fixture();
    for (auto _ : state) {
        state.PauseTiming();
        std::filesystem::remove(f.index);
        TimingView view;
        TAudioObject audio(view, f.index);
        state.ResumeTiming();
        audio.AddSources(f.files);
        state.PauseTiming();
        const std::size_t n = view.added.size();
        state.counters["first500_ms_per_file"] = msPerFile(view.added, 0, kWindow - 1);
        state.counters["last500_ms_per_file"] = msPerFile(view.added, n - kWindow, n - 1);
        state.ResumeTiming();
    }
}
// The workers' processor time counts too.
BENCHMARK(AddSources)
    ->Iterations(1)
    ->MeasureProcessCPUTime()
    ->UseRealTime()
    ->Unit(benchmark::kMillisecond);

void BuildNameLists(benchmark::State& state) {
    Fixture& f = fixture();
    f.ensureIndex();
    for (auto _ : state) {
        TimingView view;
        TAudioObject audio(view, f.index);
        audio.BuildLibraryMenus();
        benchmark::DoNotOptimize(audio.libraryMenus().Captions(LibraryKind::Albums).size());
    }
}
BENCHMARK(BuildNameLists)->Unit(benchmark::kMillisecond);

void AllMusic(benchmark::State& state) {
    Fixture& f = fixture();
    f.ensureIndex();
    for (auto _ : state) {
        TimingView view;
        TAudioObject audio(view, f.index);
        audio.PlayAllMusic();
        if (audio.EntryCount() != kFiles) state.SkipWithError("not every file was listed");
    }
}
BENCHMARK(AllMusic)->Unit(benchmark::kMillisecond);

}  // namespace
