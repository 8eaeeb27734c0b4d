#pragma once
// How long an installation folder may be: every text built from it and every
// product file below it must fit a Windows path. No <windows.h> here.

#include "product_facts.h"

#include <cstddef>

// The longest paths of a product file and of a product folder below the
// target folder: the build measures the product it packs (these defaults are
// the stand-in product's: "Toolbars\gnome-colors-human_48.png", "Languages").
#ifndef PHOTARIUM_LONGEST_FILE_PATH
#define PHOTARIUM_LONGEST_FILE_PATH 34
#endif
#ifndef PHOTARIUM_LONGEST_FOLDER_PATH
#define PHOTARIUM_LONGEST_FOLDER_PATH 9
#endif

constexpr size_t kMaxPathChars = 259;  // 260 units with the terminator
// a folder leaves room for an 8.3 name below it
constexpr size_t kMaxFolderPathChars = kMaxPathChars - 12;
// What the help shortcut's target adds to the folder (the longest text built
// from it).
constexpr size_t kHelpTargetChars = sizeof("\\help\\photar32_deutsch.chm") - 1;
// The longest installation folder, final backslash included, for which every
// text built from it fits its buffer and every file and folder of the product
// fits a Windows path.
constexpr size_t kMaxInstallFolderChars =
    [](size_t help, size_t file, size_t folder) {
        size_t limit = help < file ? help : file;
        return limit < folder ? limit : folder;
    }(kMaxPathChars - kHelpTargetChars, kMaxPathChars - PHOTARIUM_LONGEST_FILE_PATH,
      kMaxFolderPathChars - PHOTARIUM_LONGEST_FOLDER_PATH);
// Every product is checked to leave at least this much room (product/check_product.py).
constexpr size_t kMinInstallFolderChars = PHOTARIUM_MIN_INSTALL_FOLDER_CHARS;
static_assert(kMaxInstallFolderChars >= kMinInstallFolderChars,
              "the product's paths leave too little room for the target folder");
