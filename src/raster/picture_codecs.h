// Reading and writing pictures: PNG (libpng), JPEG (libjpeg-turbo) and
// Windows bitmaps (the game's own reader and writer).
//
// Every reader treats its input as hostile: sizes are checked before any
// allocation, a truncated or malformed file gives false with a message in
// *error, and the target DIB_P is only replaced on success.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "raster/dib.h"

namespace varlo {

enum class PictureFormat { Unknown, Bmp, Jpeg, Png };

PictureFormat SniffPicture(const uint8_t* data, size_t size);

// PNG with an alpha channel gives a 32-bit bitmap, otherwise 24-bit.
bool DibLoadPng(DIB_P& d, const uint8_t* data, size_t size, std::string* error);
// Loads "<resource folder>/<name>.png" from the installation tree.
bool DibLoadPngResource(DIB_P& d, const std::string& resourceDir, const std::string& name,
                        std::string* error);
bool DibSavePng(const DIB_P& d, std::vector<uint8_t>& out, std::string* error);

// JPEG to 24 bits (greyscale is expanded). A premature end of the data is an
// error, not a picture with grey rows.
bool DibLoadJpeg(DIB_P& d, const uint8_t* data, size_t size, std::string* error);
bool DibSaveJpeg(const DIB_P& d, int quality, std::vector<uint8_t>& out, std::string* error);

// Windows bitmaps of 1, 4, 8, 24 and 32 bits, bottom-up or top-down, with or
// without palette, to 24 bits.
bool DibLoadBmp(DIB_P& d, const uint8_t* data, size_t size, std::string* error);
// 24-bit bottom-up bitmap of a 24- or 32-bit DIB_P.
bool DibSaveBmp(const DIB_P& d, std::vector<uint8_t>& out, std::string* error);

// The generic picture loader of packs and saved games: BMP, JPEG or PNG by
// their signatures, always to 24 bits.
bool DibLoadPicture(DIB_P& d, const uint8_t* data, size_t size, std::string* error);

// Whole files.
bool ReadWholeFile(const std::string& path, std::vector<uint8_t>& out, std::string* error);
bool DibLoadPictureFile(DIB_P& d, const std::string& path, std::string* error);

}  // namespace varlo
