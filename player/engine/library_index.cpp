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
int bounded(int count, const platform::IniDocument& doc, const std::string& section) {
    if (count <= 0) return count;
    return static_cast<int>(std::min<std::size_t>(count, doc.keyCount(section)));
}

int boundedCount(const platform::IniDocument& doc, const std::string& section,
                 const std::string& key) {
    return bounded(doc.readInteger(section, key, 0), doc, section);
}

}  // namespace

LibraryIndex::Batch::Batch(LibraryIndex& index) : index_(index) {
    if (index_.depth_++ == 0) {
        index_.doc_.open(index_.file_);
        index_.dirty_ = false;
        index_.sections_.clear();
        index_.ownListed_.clear();
        index_.lastPath_.clear();
        index_.lastListed_ = nullptr;
        for (auto& names : index_.nameStates_) names.clear();
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
    // One pass through the main section in file order instead of a lookup per name, so a
    // library of 100,000 artists starts without indexing that section's keys. The first
    // key of a name counts, as a lookup would find it.
    std::optional<int> declared;
    std::vector<std::pair<int, std::string_view>> listed;
    doc_.forEachEntry(kMain, [&](std::string_view key, std::string_view value) {
        if (const auto n = platform::IniDocument::numberedKey(key, nameKey(kind))) {
            listed.emplace_back(*n, value);
        } else if (!declared && platform::text::equalsNoCase(key, totalKey(kind))) {
            declared = platform::IniDocument::toInteger(value).value_or(0);
        }
    });
    const int total = bounded(declared.value_or(0), doc_, kMain);
    if (total < 0) return std::nullopt;
    QStringList names(total);
    std::vector<bool> given(static_cast<std::size_t>(total));
    for (const auto& [n, value] : listed) {
        if (n > total || given[static_cast<std::size_t>(n - 1)]) continue;
        given[static_cast<std::size_t>(n - 1)] = true;
        names[n - 1] = QString::fromUtf8(value.data(), static_cast<qsizetype>(value.size()));
    }
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

LibraryIndex::NameState& LibraryIndex::nameState(LibraryKind kind, const QString& name) {
    auto& states = nameStates_[static_cast<std::size_t>(kind)];
    const auto found = states.find(name);
    if (found != states.end()) return *found;

    QString listed = name;
    listed.replace(QLatin1Char('\r'), QLatin1Char(' '))
        .replace(QLatin1Char('\n'), QLatin1Char(' '));
    NameState entry;
    entry.name = utf8(listed);
    entry.section = sectionOf(kind, listed);
    entry.countKey = countKey(listed);
    // A section that is not there yet is made now, where its first file would make it.
    const auto existing = doc_.findSectionId(entry.section);
    const auto id = existing ? *existing : doc_.ensureSection(entry.section);
    std::string folded = platform::text::foldCase(platform::text::trim(entry.countKey));
    const auto [at, made] = sections_.try_emplace(id);
    SectionState& section = at->second;
    if (made) {
        section.id = id;
        section.own = !existing;
        section.ownCountKey = std::move(folded);
    } else if (section.own && section.ownCountKey != folded) {
        // Two counts number the files of one section: they overwrite each other's keys.
        section.own = false;
    }
    entry.state = &section;
    return *states.insert(name, std::move(entry));
}

std::vector<platform::IniDocument::SectionId>* LibraryIndex::ownSectionsListing(
    const std::string& path) {
    if (lastListed_ && path == lastPath_) return lastListed_;
    const auto found = ownListed_.find(path);
    lastPath_ = path;
    lastListed_ = found == ownListed_.end() ? nullptr : &found->second;
    return lastListed_;
}

std::string_view LibraryIndex::appendToOwnSection(LibraryKind kind, SectionState& section,
                                                  const NameState& entry, const std::string& file,
                                                  const QString& title, int lengthMs) {
    const int k = ++section.count;
    const auto line = doc_.appendKey(section.id, numbered("File", k), file);
    if (kind == LibraryKind::Artists) {
        doc_.appendKey(section.id, numbered("FileTit", k), utf8(title));
        doc_.appendKey(section.id, numbered("FileLen", k), std::to_string(lengthMs));
    }
    if (k == 1) {
        section.countLine = doc_.appendKey(section.id, entry.countKey, "1");
    } else {
        doc_.replaceValue(section.countLine, std::to_string(k));
    }
    return doc_.valueAt(line);
}

void LibraryIndex::enterName(LibraryKind kind, NameState& entry) {
    // A listed name stays listed: names are only ever added after the last one.
    if (entry.listed) return;
    entry.listed = true;
    const int total = Total(kind);
    NumberedValues& names = names_[static_cast<int>(kind)];
    if (contains(names, kMain, nameKey(kind), total, entry.name)) return;
    writeNumbered(names, kMain, nameKey(kind), total + 1, entry.name);
    doc_.writeInteger(kMain, totalKey(kind), total + 1);
}

const std::string& LibraryIndex::pathText(const QString& path) {
    if (path != lastEntered_) {
        lastEntered_ = path;
        lastEnteredText_ = utf8(path);
    }
    return lastEnteredText_;
}

bool LibraryIndex::EnterFile(LibraryKind kind, const QString& name, const QString& path,
                             const QString& title, int lengthMs) {
    NameState& entry = nameState(kind, name);
    SectionState& section = *entry.state;
    const std::string& file = pathText(path);
    if (section.own) {
        auto* listing = ownSectionsListing(file);
        if (listing && std::find(listing->begin(), listing->end(), section.id) != listing->end())
            return false;
        // Kept as a later read gives it back (blanks and quotation marks dropped).
        const std::string_view listed =
            appendToOwnSection(kind, section, entry, file, title, lengthMs);
        if (listed != file) {
            ownListed_[std::string(listed)].push_back(section.id);
        } else {
            if (!listing) listing = lastListed_ = &ownListed_[file];
            listing->push_back(section.id);
        }
    } else {
        const int count = boundedCount(doc_, entry.section, entry.countKey);
        if (contains(section.files, entry.section, "File", count, file)) return false;
        const int k = count + 1;
        writeNumbered(section.files, entry.section, "File", k, file);
        if (kind == LibraryKind::Artists) {
            doc_.writeString(entry.section, numbered("FileTit", k), utf8(title));
            doc_.writeInteger(entry.section, numbered("FileLen", k), lengthMs);
        }
        doc_.writeInteger(entry.section, entry.countKey, k);
    }
    enterName(kind, entry);
    dirty_ = true;
    return true;
}
