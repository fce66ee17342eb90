#pragma once
// The plug-in's images (bitmap strips and icons), compiled into the program and found by their fixed
// identifiers (Resource.h). These two functions are the only way the user interface gets an image.
#include <wx/bitmap.h>
#include <wx/icon.h>

// The bitmap with identifier id (with its mask); an invalid bitmap (!IsOk()) when there is none.
wxBitmap LoadBitmapRes(unsigned id);

// The icon with identifier id; an invalid icon (!IsOk()) when there is none.
wxIcon LoadIconRes(unsigned id);
