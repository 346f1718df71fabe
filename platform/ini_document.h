#pragma once
// An INI file held in memory between open() and save(), with the semantics of the
// original platform's private-profile functions:
// - section and key names compare without regard to case (Latin, Latin-1, Cyrillic)
//   and to surrounding blanks; the first matching section, and in it the first
//   matching key, wins;
// - a value loses surrounding blanks (codes up to 32) and one pair of enclosing double
//   or single quotation marks, and reads as at most kMaxValueChars characters;
// - a missing file reads as empty; writes replace a key's value in place, keep every
//   other line (comments, blank lines, unknown lines, order) as it was, and add the key
//   or section when it is missing;
// - lines starting with ';' are comments; keys before the first section are unreachable.
// Lookups take constant time, so a batch of reads and writes costs one parse and one
// write. The document keeps the file's text once, with its lines as places in it. The file is
// decoded as UTF-16 after its byte-order mark, as UTF-8 (a byte-order mark skipped) or, when it
// is not valid UTF-8, as windows-1251; it is saved as UTF-8 without a byte-order mark, keeping the
// file's CR LF line ends when it had them.
// Line breaks in written names and values become spaces, so a write never adds lines.
// A key that holds '=' cannot be read back as written.
#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <utility>
#include <vector>

namespace platform {

class IniDocument {
public:
    // The longest path the system takes (PATH_MAX less its terminating zero), so that any
    // path the program saves reads back whole.
    static constexpr std::size_t kMaxValueChars = 4095;

    IniDocument() = default;

    // Reads and parses `file`, which save() then writes. A missing file gives an empty
    // document and true; a file that exists but cannot be read gives an empty document
    // and false.
    bool open(const std::filesystem::path& file);
    // The text open() parses: the file decoded, empty when it is missing, nothing when it
    // exists but cannot be read.
    static std::optional<std::string> readText(const std::filesystem::path& file);
    // Replaces the document with the parsed UTF-8 text; the path stays.
    void parse(std::string_view text);
    // Writes the document to the path given to open(), atomically. False when it could
    // not be written; the old file is then left whole.
    bool save() const;
    const std::filesystem::path& path() const { return path_; }
    // The document as it would be saved.
    std::string text() const;

    // The key's value, cut to kMaxValueChars characters; nothing when the section or
    // the key is missing.
    std::optional<std::string> value(std::string_view section, std::string_view key) const;
    std::string readString(std::string_view section, std::string_view key,
                           std::string_view fallback = {}) const;
    // Decimal with an optional sign, or hexadecimal after "0x", "0X" or "$" (up to
    // 0xFFFFFFFF, taken as a 32-bit two's-complement value). Anything else, and a
    // number outside the range of int, gives `fallback`.
    int readInteger(std::string_view section, std::string_view key, int fallback) const;
    // A value read as readInteger reads it; nothing for what it does not take.
    static std::optional<int> toInteger(std::string_view value);
    // The n of a key `prefix`<n> (the prefix in any case, n in decimal without leading
    // zeros, taken as at most INT_MAX): the key a lookup of `prefix` + n finds.
    static std::optional<int> numberedKey(std::string_view key, std::string_view prefix);

    void writeString(std::string_view section, std::string_view key, std::string_view value);
    void writeInteger(std::string_view section, std::string_view key, int value);

    // A section by its place, for a writer that adds many keys to a few sections of its
    // own: no name is looked up again. Valid until open(), parse() or eraseSection().
    using SectionId = std::size_t;
    // A key line by its place; new keys never move it.
    struct KeyLine {
        SectionId section = 0;
        std::size_t line = 0;
    };
    std::optional<SectionId> findSectionId(std::string_view section) const;
    // Adds a key line that the section does not hold (the caller wrote every key of the
    // section itself), where writeString adds a missing key, without a lookup.
    KeyLine appendKey(SectionId section, std::string_view key, std::string_view value);
    // Replaces the line's value; the key keeps its spelling.
    void replaceValue(KeyLine line, std::string_view value);
    // The line's value as value() reads it.
    std::string_view valueAt(KeyLine line) const;

    // Section names, and the keys of a section, in file order; each name once (its first
    // spelling).
    std::vector<std::string> sections() const;
    std::vector<std::string> keys(std::string_view section) const;
    // Calls `visit` with every key line of the section in file order, duplicates included
    // (the first of a name is the one value() finds), with its value as value() reads it.
    // Needs no lookup, so reading a large section whole costs no index of its keys.
    void forEachEntry(
        std::string_view section,
        const std::function<void(std::string_view key, std::string_view value)>& visit) const;
    // What forEachEntry gives for the document parse(text) makes, without making it: a large
    // file read through once needs no list of its lines.
    static void forEachEntryIn(
        std::string_view text, std::string_view section,
        const std::function<void(std::string_view key, std::string_view value)>& visit);
    // How many key lines the section holds (0 when it is missing), at least its distinct
    // keys, in constant time: a bound for counts written in the file, which no honest file
    // exceeds.
    std::size_t keyCount(std::string_view section) const;
    bool hasSection(std::string_view section) const;
    // Adds an empty section at the end when none matches; the section's place.
    SectionId ensureSection(std::string_view section);
    // Remove the first matching section (header and every line up to the next header)
    // or key line; a later duplicate, if any, becomes the one found. False when missing.
    bool eraseSection(std::string_view section);
    bool eraseKey(std::string_view section, std::string_view key);

private:
    // A line as a place in the text read (text_) or in the text of later writes
    // (written_, its block and the place in it: writtenPlace), so that a document costs
    // little more than its own bytes.
    struct Line {
        std::uint64_t at : 62 = 0;
        std::uint64_t written : 1 = 0;
        std::uint64_t erased : 1 = 0;
        std::uint32_t size = 0;
        std::uint32_t eq = 0;  // a key line: 1 + the place of its '=' in the line; else 0
    };
    struct Section {
        std::string name;
        Line header;  // empty for the lines before the first header
        std::vector<Line> lines;
        std::size_t keyLines = 0;  // not erased
        // Folded key -> first line, made when the section is first searched: a section
        // only read through (a playlist) never needs it.
        mutable std::optional<std::unordered_map<std::string, std::size_t>> index;
        mutable bool hasDuplicateKeys = false;
        bool erased = false;
    };

    void parseText();
    std::string_view lineText(const Line& line) const;
    std::string_view keyOf(const Line& line) const;
    std::string_view valueOf(const Line& line) const;
    // A written line of `size` bytes, its key `eq` bytes long with its "=", and the block
    // whose end its bytes are to be appended to (room for them is made).
    std::pair<Line, std::string*> startWritten(std::size_t size, std::size_t eq);
    Line appendWritten(std::string_view text, std::size_t eq);
    Line appendKeyValue(std::string_view key, std::string_view value);
    std::size_t addKeyLine(Section& section, std::string_view key, std::string_view value,
                           std::string folded);
    std::unordered_map<std::string, std::size_t>& keyIndex(const Section& section) const;
    const Line* findLine(std::string_view section, std::string_view key) const;
    Section* findSection(std::string_view section);
    const Section* findSection(std::string_view section) const;
    std::size_t sectionAt(std::string_view section) const;
    Section& addSection(std::string name, Line header);
    void reindexKey(Section& section, const std::string& folded, std::size_t from);

    // The place of written text `at` bytes into its block `block`, as a Line keeps it.
    static std::uint64_t writtenPlace(std::size_t block, std::size_t at) {
        return (static_cast<std::uint64_t>(block) << 32) | at;
    }

    std::filesystem::path path_;
    std::string text_;
    // The text of later writes, in blocks that are never reallocated: a document that grows
    // by many lines copies none of them again.
    std::vector<std::string> written_;
    std::vector<Section> sections_;
    std::unordered_map<std::string, std::size_t> index_;  // folded name -> first section
    // The section found last and the name it was asked by: a run of calls on one section,
    // the usual way of using a document, skips folding and hashing the name each time.
    mutable std::string lastAsked_;
    mutable std::size_t lastFound_ = kNone;
    static constexpr std::size_t kNone = static_cast<std::size_t>(-1);
    bool hasDuplicateSections_ = false;
    std::string lineEnd_ = "\n";
};

}  // namespace platform
