#pragma once
// The playlist: three parallel lists (file path or internet address, display title,
// length in milliseconds as decimal text) and its PLS and M3U files.
//
// Contracts kept by every operation:
// - the three lists always have the same count;
// - entries added one by one are unique by file, compared without regard to case
//   (Cyrillic included); entries loaded from a file are taken as they come;
// - relative file lines are resolved against the folder of the playlist file that holds
//   them and stored as full paths, so a playlist saved elsewhere still finds them;
// - loaded lengths are decimal integers ("0" where the file held anything else);
// - files are read as UTF-16 after its byte-order mark, as UTF-8 (a byte-order mark
//   skipped) or, when not valid UTF-8, as windows-1251, and written as UTF-8 without a
//   byte-order mark, atomically.
// Out-of-range indices are ignored (removal) or give an empty value.
#include <QHash>
#include <QString>
#include <QStringList>
#include <string>

namespace platform {
class IniDocument;
}

class TPlaylist {
public:
    TPlaylist() = default;

    // How many entries a PLS file yields: every k up to NumberOfEntries is an entry, also
    // one that no key names, but never beyond the highest entry number of a key the file
    // holds, never more than kMaxUnnamedPlsEntries entries that no key names, and never
    // more than kMaxPlsEntries in all. So the numbers written in a file cannot make the
    // reader allocate beyond what the file holds.
    static constexpr int kMaxPlsEntries = 2'000'000;
    static constexpr int kMaxUnnamedPlsEntries = 1'000;

    // Loads a PLS file. A missing file loads nothing and succeeds; false when the file
    // exists but cannot be read. ListFileName is set to `path` in every case.
    bool LoadFromPls(const QString& path, bool clearFirst);
    // Loads an M3U file: "#EXTINF:length,title" gives the next file line its title and
    // length, a file line without one gets the PLS defaults, other "#" lines and blank
    // lines are skipped. False when the file cannot be read.
    bool LoadFromM3u(const QString& path, bool clearFirst);
    // Writes every entry as PLS into `path` (".pls" appended when the path does not
    // contain ".pls" in any case), keeping the other keys and sections of an existing
    // file. False when the file could not be read or written; the old file then stays.
    bool SaveToPls(const QString& path) const;
    // The list as a PLS file of its own, without keys of any existing file.
    std::string PlsText() const;
    // Writes "#EXTM3U" and an "#EXTINF:" line and a file line per entry, CR LF ended,
    // replacing the file. False when it could not be written; the old file then stays.
    bool SaveToM3u(const QString& path) const;

    int Count() const { return static_cast<int>(files_.size()); }
    QString FileAt(int index) const;
    QString TitleAt(int index) const;
    // The length in milliseconds; 0 for a length text that is not a decimal integer.
    int LengthAt(int index) const;

    // Appends the entry unless FindFile(file) finds it already; constant time, so
    // filling a playlist of thousands of files one by one stays fast.
    void AddEntry(const QString& file, const QString& title, int lengthMs);
    void RemoveAt(int index);
    void ClearAll();
    // A title that arrived after its entry was added; an index out of range is ignored.
    void SetTitleAt(int index, const QString& title);
    // Index of the first entry whose title equals the argument without regard to case;
    // -1 when there is none.
    int FindTitle(const QString& title) const;
    // Index of the first entry of this file: a local path compared exactly, an internet
    // address without regard to case; -1 when there is none.
    int FindFile(const QString& file) const;

    // The stored file value for a file line of a playlist held in `folder` (the current
    // directory when empty): blanks and control characters trimmed; "http://",
    // "https://" and "ftp://" addresses (any case), existing absolute paths and drive-letter paths
    // of the original platform unchanged; a "file:" URL the local path it names; anything else
    // made a full, cleaned path against the folder, with backslashes read as folder separators
    // when only that form exists.
    static QString ResolveEntryPath(const QString& text, const QString& folder = QString());
    // The name of the last file a load was asked for, without folder and extension;
    // empty before the first load.
    QString ListName() const;
    // Sorts the entries by title, stable, in the order of windows-1251 byte values with
    // case significant; characters that code page cannot hold come after all others, in
    // code-point order; a title that is a prefix of another comes first.
    void SortTitles();

    const QStringList& Files() const { return files_; }
    const QStringList& Titles() const { return titles_; }
    const QStringList& Lengths() const { return lengths_; }
    const QString& ListFileName() const { return listFileName_; }

private:
    void append(const QString& file, const QString& title, const QString& length);
    void writeEntries(platform::IniDocument& doc) const;

    QStringList files_;
    // How many entries hold a file of each hash (of the path, of an address case-folded):
    // a quick "not there" without a scan, and no second copy of every path.
    static std::size_t fileKey(const QString& file);
    QHash<std::size_t, int> fileCounts_;
    QStringList titles_;
    QStringList lengths_;
    QString listFileName_;
};
