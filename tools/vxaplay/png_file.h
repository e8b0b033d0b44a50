#pragma once
#include <cstdint>
#include <string>

// 8-bit RGB rows from the top, without padding.
bool writePng(const std::string& path, int width, int height, const uint8_t* rgb);
