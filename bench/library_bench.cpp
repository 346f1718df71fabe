// The library work of a big collection, timed on generated tagged MP3 files:
//  - AddSources of every file into an empty playlist and index (the whole call, and the
//    time per file over the first and the last 500 files);
//  - a fresh start building the three name lists from that index;
//  - "all music" from it.
// Usage: zorvan_library_bench [file count, default 10000] [folder to keep the files in]
// With a folder given the files stay there, for timing a peer on the same folder.
#include <QString>
#include <QStringList>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <unistd.h>
#include <vector>

#include "audio_object.h"
#include "soundlib/soundlib.h"
#include "tagged_mp3_folder.h"

namespace {

using Clock = std::chrono::steady_clock;

double msSince(Clock::time_point start) {
    return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
}

// Shows nothing; notes the moment each added file reaches the playlist.
class TTimingView : public TAudioView {
public:
    std::vector<Clock::time_point> added;

    void SetListCaption(const QString&) override { added.push_back(Clock::now()); }
    void SetSpeedPosition(int) override {}
    void SetSeekMaximum(int) override {}
    void RepaintPlaylist() override {}
    void SelectPlaylistRow(int) override {}
    void ClearPlaylistView() override {}
    void RefreshPlaylistView() override {}
    void SetTotalTimeText(const QString&) override {}
    void SetFormatText(const QString&) override {}
    void SetPlayButtonGlyph(int) override {}
    void ShowTrayBalloon(const QString&, const QString&, int, int) override {}
    void ShowTrackInfo(const TTrackInfoTexts&) override {}
    void ReapplyEffects() override {}
    void LibraryMenuItemInserted(TLibraryKind, int, const QString&) override {}
};

double meanStep(const std::vector<Clock::time_point>& times, std::size_t from, std::size_t to) {
    return std::chrono::duration<double, std::milli>(times[to] - times[from]).count() /
           static_cast<double>(to - from);
}

}  // namespace

int main(int argc, char** argv) {
    const int count = argc > 1 ? std::atoi(argv[1]) : 10000;
    const bool keep = argc > 2;
    const std::filesystem::path folder = keep ? std::filesystem::path(argv[2])
                                              : std::filesystem::temp_directory_path() /
                                                    ("zorvan-bench-" + std::to_string(getpid()));
    const auto paths = bench::makeTaggedMp3Folder(folder / "music", count);
    QStringList files;
    for (const auto& path : paths) files << QString::fromStdString(path);
    const auto indexFile = folder / "AllMusik.aml";
    std::filesystem::remove(indexFile);

    if (BASS_Init(0, 44100, 0, nullptr, nullptr) == 0) return 1;
    {
        TTimingView view;
        TAudioObject audio(view, indexFile);
        const auto start = Clock::now();
        audio.AddSources(files);
        const double total = msSince(start);
        const std::size_t n = view.added.size();
        const std::size_t window = std::min<std::size_t>(500, n / 2);
        std::printf("AddSources of %d files: %.0f ms (%.3f ms per file)\n", count, total,
                    total / count);
        if (window > 1) {
            std::printf("  per file, first %zu: %.3f ms, last %zu: %.3f ms\n", window,
                        meanStep(view.added, 0, window - 1), window,
                        meanStep(view.added, n - window, n - 1));
        }
    }
    {
        TTimingView view;
        TAudioObject audio(view, indexFile);
        auto start = Clock::now();
        audio.BuildLibraryMenus();
        std::printf(
            "Building the three name lists: %.1f ms (%lld artists, %lld albums, %lld "
            "genres)\n",
            msSince(start),
            static_cast<long long>(audio.LibraryMenus().Captions(TLibraryKind::Artists).size()),
            static_cast<long long>(audio.LibraryMenus().Captions(TLibraryKind::Albums).size()),
            static_cast<long long>(audio.LibraryMenus().Captions(TLibraryKind::Genres).size()));
        start = Clock::now();
        audio.PlayAllMusic();
        std::printf("All music: %.1f ms (%d entries)\n", msSince(start), audio.EntryCount());
    }
    BASS_Free();
    if (!keep) std::filesystem::remove_all(folder);
    return 0;
}
