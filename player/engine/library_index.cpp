#include "player/engine/library_index.h"

#include <algorithm>

#include "platform/text.h"

namespace {

constexpr const char* kMain = "AllMusik";

const char* totalKey(LibraryKind kind) {
    switch (kind) {
        case LibraryKind::Albums:
            return "TotalAlbum";
        case LibraryKind::Artists:
            return "TotalArtist";
        case LibraryKind::Genres:
            return "TotalGenre";
    }
    return "";
}

const char* nameKey(LibraryKind kind) {
    switch (kind) {
        case LibraryKind::Albums:
            return "Album";
        case LibraryKind::Artists:
            return "Artist";
        case LibraryKind::Genres:
            return "Genre";
    }
    return "";
}

std::string utf8(const QString& s) {
    return s.toStdString();
}
QString qstr(const std::string& s) {
    return QString::fromStdString(s);
}

std::string sectionOf(LibraryKind kind, const QString& name) {
    return kind == LibraryKind::Albums ? "A" + utf8(name) : utf8(name);
}

std::string numbered(const char* prefix, int n) {
    return prefix + std::to_string(n);
}

// "Number" + name. A key cannot hold "=" (it would end the key on reading), so the
// count of a name with one would never be found and its files would overwrite each other.
std::string countKey(const QString& name) {
    std::string key = "Number" + utf8(name);
    std::replace(key.begin(), key.end(), '=', '_');
    return key;
}

// A count read from the file, taken as at most the keys of its section; a negative
// count stays as it is.
int boundedCount(const platform::IniDocument& doc, const std::string& section,
                 const std::string& key) {
    const int count = doc.readInteger(section, key, 0);
    if (count <= 0) return count;
    return static_cast<int>(std::min<std::size_t>(count, doc.keyCount(section)));
}

}  // namespace

LibraryIndex::Batch::Batch(LibraryIndex& index) : index_(index) {
    if (index_.depth_++ == 0) {
        index_.doc_.open(index_.file_);
        index_.dirty_ = false;
        index_.files_.clear();
        index_.names_.clear();
    }
}

LibraryIndex::Batch::~Batch() {
    if (--index_.depth_ != 0 || !index_.dirty_) return;
    const bool saved = index_.doc_.save();
    if (!saved && !index_.saveFailing_ && index_.saveFailed_) index_.saveFailed_();
    index_.saveFailing_ = !saved;
}

int LibraryIndex::Total(LibraryKind kind) const {
    return boundedCount(doc_, kMain, totalKey(kind));
}

std::optional<QStringList> LibraryIndex::Names(LibraryKind kind) const {
    const int total = Total(kind);
    if (total < 0) return std::nullopt;
    QStringList names;
    for (int n = 1; n <= total; ++n)
        names << qstr(doc_.readString(kMain, numbered(nameKey(kind), n)));
    return names;
}

int LibraryIndex::FileCount(LibraryKind kind, const QString& name) const {
    return boundedCount(doc_, sectionOf(kind, name), countKey(name));
}

QStringList LibraryIndex::Files(LibraryKind kind, const QString& name) const {
    const std::string section = sectionOf(kind, name);
    QStringList files;
    const int count = FileCount(kind, name);
    for (int k = 1; k <= count; ++k) files << qstr(doc_.readString(section, numbered("File", k)));
    return files;
}

std::optional<std::vector<LibraryIndex::Entry>> LibraryIndex::ArtistEntries() const {
    const auto artists = Names(LibraryKind::Artists);
    if (!artists) return std::nullopt;
    std::vector<Entry> entries;
    for (const QString& artist : *artists) {
        const std::string section = sectionOf(LibraryKind::Artists, artist);
        const int count = FileCount(LibraryKind::Artists, artist);
        for (int k = 1; k <= count; ++k) {
            entries.push_back({qstr(doc_.readString(section, numbered("File", k), "Error")),
                               qstr(doc_.readString(section, numbered("FileTit", k), "Error")),
                               doc_.readInteger(section, numbered("FileLen", k), 0)});
        }
    }
    return entries;
}

bool LibraryIndex::contains(NumberedValues& cache, const std::string& section, const char* prefix,
                            int count, const std::string& value) {
    for (; cache.loaded < count; ++cache.loaded) {
        const int n = cache.loaded + 1;
        cache.firstIndex.try_emplace(doc_.readString(section, numbered(prefix, n)), n);
    }
    const auto found = cache.firstIndex.find(value);
    return found != cache.firstIndex.end() && found->second <= count;
}

void LibraryIndex::writeNumbered(NumberedValues& cache, const std::string& section,
                                 const char* prefix, int n, const std::string& value) {
    const std::string key = numbered(prefix, n);
    doc_.writeString(section, key, value);
    if (n == cache.loaded + 1) {
        // Kept as a later read gives it back (blanks and quotation marks dropped).
        cache.firstIndex.try_emplace(doc_.readString(section, key), n);
        cache.loaded = n;
    } else if (n <= cache.loaded) {
        cache = {};  // an earlier value was replaced: read the keys again when next asked
    }
}

LibraryIndex::NumberedValues& LibraryIndex::filesCache(const std::string& section) {
    return files_[platform::text::foldCase(section)];
}

bool LibraryIndex::EnterFile(LibraryKind kind, const QString& name, const QString& path,
                             const QString& title, int lengthMs) {
    const std::string section = sectionOf(kind, name);
    const std::string file = utf8(path);
    const int count = FileCount(kind, name);
    NumberedValues& files = filesCache(section);
    if (contains(files, section, "File", count, file)) return false;

    const int k = count + 1;
    writeNumbered(files, section, "File", k, file);
    if (kind == LibraryKind::Artists) {
        doc_.writeString(section, numbered("FileTit", k), utf8(title));
        doc_.writeInteger(section, numbered("FileLen", k), lengthMs);
    }
    doc_.writeInteger(section, countKey(name), k);

    const int total = Total(kind);
    const std::string listedName = utf8(name);
    NumberedValues& names = names_[static_cast<int>(kind)];
    if (!contains(names, kMain, nameKey(kind), total, listedName)) {
        writeNumbered(names, kMain, nameKey(kind), total + 1, listedName);
        doc_.writeInteger(kMain, totalKey(kind), total + 1);
    }
    dirty_ = true;
    return true;
}
