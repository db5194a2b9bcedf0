// The catalogue of every picture the program loads from its resources.
#pragma once

#include "formats.h"

#include <string>
#include <vector>

enum class Kind { Bitmap, Icon, Cursor };

struct Picture {
    Kind kind;
    int id;
    const char* name;   // the id's name in res/resource.h
    Bytes (*make)();
};

const std::vector<Picture>& catalogue();

// "bmp135.bmp", "ico128.ico", "cur133.cur".
std::string fileName(Kind kind, int id);

// The resource script's image part: one line a picture, by name.
std::string resourceScript();
