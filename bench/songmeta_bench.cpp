// Reading the tags of 3,000 MP3 files through GetSongInformation, as the player calls it
// (the library linked at load time). Each file has an ID3v2.3 tag of eight frames, some in
// UTF-16, some with padding, 4 KiB of stand-in audio and an ID3v1 block. With
// ZORVAN_BENCH_FIXTURES set, the files are made there and kept, so bench/run.sh can time
// a peer on them.
#include <benchmark/benchmark.h>

#include <cstdlib>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "songmeta/id3v1_tag.h"
#include "songmeta/id3v2_tag.h"
#include "songmeta/songmeta.h"
#include "testing/temp_dir.h"

namespace {

constexpr int kFiles = 3000;

std::filesystem::path fixtureFolder(std::optional<testing_support::TempDir>& temp) {
    if (const char* kept = std::getenv("ZORVAN_BENCH_FIXTURES")) return kept;
    return temp.emplace().path();
}

std::string songBytes(int i) {
    const char* titles[] = {"Song", "Песня", "Chanson d'été", "Lied"};
    const char* artists[] = {"Artist", "Исполнитель", "Björk"};
    const char* genres[] = {"Rock", "Pop", "(17)Rock", "Jazz"};
    using Item = songmeta::TID3v2::Item;
    songmeta::TID3v2 v2;
    const std::string title = titles[i % 4] + (" " + std::to_string(i));
    v2.SetText(Item::Title, title);
    v2.SetText(Item::Artist, artists[i % 3] + (" " + std::to_string(i % 97)));
    v2.SetText(Item::Album, "Album " + std::to_string(i % 31));
    v2.SetTrack(static_cast<std::uint8_t>(i % 12 + 1));
    v2.SetText(Item::Year, std::to_string(1960 + i % 60));
    v2.SetText(Item::Genre, genres[i % 4]);
    v2.SetText(Item::Encoder, "encoder 1.0");
    v2.SetText(Item::Comment, "generated file " + std::to_string(i));
    std::string tag = v2.TagBytes();
    // Padding after the frames, counted in the header's size.
    const std::size_t padding = (i % 3) * 512;
    std::uint32_t size = 0;
    for (int k = 6; k < 10; ++k) size = (size << 7) | static_cast<unsigned char>(tag[k]);
    size += static_cast<std::uint32_t>(padding);
    for (int k = 9; k >= 6; --k, size >>= 7) tag[k] = static_cast<char>(size & 0x7F);
    tag.append(padding, '\0');

    std::string audio(4096, '\0');
    for (std::size_t k = 0; k < audio.size(); ++k)
        audio[k] = static_cast<char>((k * 131 + i) & 0xFF);
    songmeta::TID3v1 v1;
    v1.SetTitle(title);
    v1.SetGenre("Rock");
    return tag + audio + v1.Block();
}

struct Fixture {
    std::optional<testing_support::TempDir> temp;
    std::filesystem::path dir = fixtureFolder(temp);
    std::vector<std::string> files;

    Fixture() {
        for (int i = 0; i < kFiles; ++i) {
            files.push_back((dir / ("song" + std::to_string(10000 + i) + ".mp3")).string());
            testing_support::writeFile(files.back(), songBytes(i));
        }
    }
};

Fixture& fixture() {
    static Fixture f;
    return f;
}

void BM_GetSongInformation(benchmark::State& state) {
    const auto& files = fixture().files;
    for (auto _ : state) {
        for (const auto& file : files) {
            SongInformation info{};
            GetSongInformation(&info, file.c_str());
            benchmark::DoNotOptimize(info.Title);
        }
    }
    state.SetItemsProcessed(state.iterations() * static_cast<std::int64_t>(files.size()));
}
BENCHMARK(BM_GetSongInformation)->Unit(benchmark::kMillisecond);

}  // namespace
