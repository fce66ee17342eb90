#pragma once
// The plug-in's images as PNG files, rendered from the SVG sources of ui/resources/art at build time.
#include <cstddef>

struct ArtPng {
    const char* name;  // the file's name without ".png", e.g. "small_cards"
    const unsigned char* data;
    size_t size;
};

extern const ArtPng kArtPngs[];
extern const size_t kArtPngCount;
