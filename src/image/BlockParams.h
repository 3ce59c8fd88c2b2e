#pragma once
#include <string>

#include "image/ImageWriter.h"

namespace pixmond {

// What the save-block dialog asks for: a grid of icons written as one picture.
struct BlockParams {
    std::string path;     // picture to write; its extension picks the format
    int first = 0;        // icons are taken from number first + 1 on
    int count = 0;        // icons to take
    int rows = 0;
    int columns = 0;
    int cellWidth = 0;
    int cellHeight = 0;
    bool lines = false;   // one-pixel grid lines after every cell
    ImageWriteOptions write;  // how the picture is written (a batch writes new files without a flush each)
};

}  // namespace pixmond
