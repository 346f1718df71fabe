#pragma once
// A test's paths as the file names the program's Qt layers take: the bytes of the path
// decoded as Qt decodes file names.
#include <QFile>
#include <QString>
#include <filesystem>

namespace testing_support {

inline QString q(const std::filesystem::path& p) {
    return QFile::decodeName(p.c_str());
}

}  // namespace testing_support
