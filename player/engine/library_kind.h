#pragma once
// The three groupings of the music library, in the order of the library menu. The
// value of each is also the image index of its submenu items.

enum class LibraryKind { Albums = 0, Artists = 1, Genres = 2 };
