#pragma once
// The target folder of one installation, made once and handed down: the
// unpacking, the settings file and the registration take it as it is and
// neither trim nor check it again. No <windows.h> here.

#include "platform/fixed_text.h"

class InstallFolder {
public:
    // Keeps the folder as typed. It is usable when, trimmed and with a final
    // backslash, it is not empty, has at most kMaxInstallFolderChars
    // characters (so every text built from it, and every product path below
    // it, fits) and lies below the root of a drive or share: not relative to
    // a current folder, which is nothing to register, and not a root, which
    // would get the whole product spilled into it.
    explicit InstallFolder(const wchar_t* typed);

    bool Usable() const { return !path_.Empty(); }
    // As typed: the log names it so.
    const wchar_t* Typed() const { return typed_; }
    // Trimmed and ending in "\"; after Create, the folder as created. Empty
    // when not usable.
    const wchar_t* Path() const { return path_; }

    // Creates every folder of it; a blank before an inner backslash is gone
    // from Path() then, also when some part could not be made. True when the
    // folder exists.
    bool Create();

private:
    PathText typed_;
    PathText path_;
};
