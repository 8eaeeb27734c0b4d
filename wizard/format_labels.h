#pragma once
// The format table as the file-type page shows it: one label (the
// extensions) and one description per row. No <windows.h> here.

struct FormatLabel {
    const wchar_t* label;
    const wchar_t* description;
};

// kFormatCount rows (register/format_associations.h), in row order; rows 0 to 47 are
// the image formats.
extern const FormatLabel kFormatLabels[];
