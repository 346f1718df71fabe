#pragma once
// The music library index "AllMusik.aml": an INI file that lists the files of every
// artist, album and genre the player has read tags of.
//
//   [AllMusik]  TotalArtist, Artist1..n, TotalAlbum, Album1..n, TotalGenre, Genre1..n
//   [<artist>]  Number<artist>, File1..k, FileTit1..k, FileLen1..k (length in ms)
//   [A<album>]  Number<album>, File1..k
//   [<genre>]   Number<genre>, File1..k
//
// Section and key names compare without regard to case, so an artist and a genre of
// the same name share one section, one count and one file list.
//
// Every reading or writing call needs an open Batch. The first Batch parses the file;
// when the last one closes, whatever the batch changed is saved once, atomically, so a
// batch costs one parse and one write and a crash loses at most the batch. A save that
// fails (a full disk, a folder that cannot be written) loses the batch's changes; the
// owner hears of it once, not at every batch, until a save succeeds again.
#include <QHash>
#include <QString>
#include <QStringList>
#include <array>
#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <unordered_map>
#include <vector>

#include "platform/ini_document.h"
#include "player/engine/library_kind.h"

class LibraryIndex {
public:
    struct Entry {
        QString file;
        QString title;
        int lengthMs = 0;
    };

    class Batch {
    public:
        explicit Batch(LibraryIndex& index);
        ~Batch();
        Batch(const Batch&) = delete;
        Batch& operator=(const Batch&) = delete;

    private:
        LibraryIndex& index_;
    };

    // `saveFailed` runs when a batch could not be saved after the previous save succeeded.
    explicit LibraryIndex(std::filesystem::path file, std::function<void()> saveFailed = {})
        : file_(std::move(file)), saveFailed_(std::move(saveFailed)) {}
    const std::filesystem::path& File() const { return file_; }

    // "TotalArtist", "TotalAlbum" or "TotalGenre"; 0 when missing. A total, like a file
    // count, is taken as at most the number of keys its section holds, so a number
    // written in the file cannot make a reader loop or allocate beyond the file's size.
    int Total(LibraryKind kind) const;
    // The listed names in key order; nothing when the total is negative.
    std::optional<QStringList> Names(LibraryKind kind) const;
    // The file count of a name's section ("Number" + name); 0 when missing.
    int FileCount(LibraryKind kind, const QString& name) const;
    // "File1" to "File" + FileCount of the name's section.
    QStringList Files(LibraryKind kind, const QString& name) const;
    // Every file of every listed artist with its title and length ("Error", "Error", 0
    // for missing keys); nothing when the artist total is negative.
    std::optional<std::vector<Entry>> ArtistEntries() const;

    // Enters a file under one name: unless the name's section already lists the path
    // (exactly, case-sensitive), the file is appended to the section (with title and
    // length for an artist) and the name to the list of names unless it is there.
    // Returns false when the path was listed and nothing was written. Line breaks in the
    // name count as spaces, as the file keeps them.
    bool EnterFile(LibraryKind kind, const QString& name, const QString& path, const QString& title,
                   int lengthMs);

private:
    // The values of Prefix1..PrefixN of one section, read as far as asked and kept up to
    // date with the index's own writes, so a lookup costs no scan.
    struct NumberedValues {
        int loaded = 0;
        std::unordered_map<std::string, int> firstIndex;  // value -> lowest n
    };

    // A section entered into during the batch.
    struct SectionState {
        platform::IniDocument::SectionId id = 0;
        // Made in this batch and entered into under one count key only: its keys are all
        // known here, so files are appended without looking a key up.
        bool own = false;
        std::string ownCountKey;                   // folded
        int count = 0;                             // of an own section
        platform::IniDocument::KeyLine countLine;  // of an own section holding files
        NumberedValues files;                      // of a section that is not own
    };
    // A name entered under during the batch.
    struct NameState {
        std::string name;  // as listed
        std::string section;
        std::string countKey;
        SectionState* state = nullptr;
        bool listed = false;  // known to be among the kind's names
    };

    NameState& nameState(LibraryKind kind, const QString& name);
    // Returns the path as a read gives it back.
    std::string_view appendToOwnSection(LibraryKind kind, SectionState& section,
                                        const NameState& entry, const std::string& file,
                                        const QString& title, int lengthMs);
    // The own sections listing the path; null when none does.
    std::vector<platform::IniDocument::SectionId>* ownSectionsListing(const std::string& path);
    void enterName(LibraryKind kind, NameState& entry);
    // The path in UTF-8: a file is entered under its artist, album and genre in a row, and
    // converted once.
    const std::string& pathText(const QString& path);
    // Whether one of Prefix1..Prefix<count> holds the value.
    bool contains(NumberedValues& cache, const std::string& section, const char* prefix, int count,
                  const std::string& value);
    void writeNumbered(NumberedValues& cache, const std::string& section, const char* prefix, int n,
                       const std::string& value);

    std::filesystem::path file_;
    std::function<void()> saveFailed_;
    platform::IniDocument doc_;
    int depth_ = 0;
    bool dirty_ = false;
    bool saveFailing_ = false;
    std::unordered_map<platform::IniDocument::SectionId, SectionState> sections_;
    std::array<QHash<QString, NameState>, 3> nameStates_;  // by kind
    std::unordered_map<int, NumberedValues> names_;        // kind -> listed names
    // Paths listed in own sections, as a read gives them back, with those sections: a file
    // entered under its artist, album and genre is looked up once, not in each section.
    std::unordered_map<std::string, std::vector<platform::IniDocument::SectionId>> ownListed_;
    QString lastEntered_;  // the path pathText gave last, and its text
    std::string lastEnteredText_;
    std::string lastPath_;  // the path last looked up there, and what it found
    std::vector<platform::IniDocument::SectionId>* lastListed_ = nullptr;
};
