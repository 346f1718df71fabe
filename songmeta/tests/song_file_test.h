#pragma once
// A test with the built library and a fresh folder for song files.
#include <gtest/gtest.h>

#include <string>

#include "songmeta/tests/songmeta_library.h"
#include "songmeta/tests/tag_fixtures.h"
#include "testing/temp_dir.h"

class SongFileTest : public ::testing::Test {
protected:
    // The record GetSongInformation gives for a file name.
    fixtures::Record read(const std::string& fileName) {
        SongInformation info{};
        lib.get(&info, fileName.c_str());
        return fixtures::record(info);
    }
    // Writes `bytes` as the song file `name` in the folder and reads it.
    fixtures::Record readBytes(const std::string& bytes, const std::string& name = "t.mp3") {
        testing_support::writeFile(dir / name, bytes);
        return read(path(name));
    }
    std::string path(const std::string& name) const { return (dir / name).string(); }
    std::string file() const { return path("t.mp3"); }

    SongmetaLibrary lib;
    testing_support::TempDir dir;
};
