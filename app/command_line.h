#pragma once
// The silent command line. Nothing here includes <windows.h>, so that it can
// be compiled natively and fuzzed.

#include "platform/fixed_text.h"

#include <cstddef>

struct InstallRequest;

constexpr int kCommandLineUnits = 520;  // at most 519 characters are examined
constexpr int kSwitchValueUnits = 264;  // scratch buffer of one switch value
using SwitchValue = FixedText<kSwitchValueUnits>;

// True when "/silent" occurs anywhere in the line (case-sensitive).
bool IsSilentCommandLine(const wchar_t* commandLine);

// Finds the first occurrence of switchText in line and copies its value into
// value. The value ends before the first "/", the end of the line, or 260
// characters counted from the switch's first character.
// Returns true when the switch occurs; value is then set (maybe empty).
bool FindSwitchValue(const wchar_t* line, const wchar_t* switchText, SwitchValue& value);

// True when the switch's value, as FindSwitchValue takes it from the first
// 519 characters of commandLine, ends at the switch window or at the end of
// that copy while the whole line goes on with more than blanks before the
// next "/": the value was cut before its end.
bool IsSwitchValueCut(const wchar_t* commandLine, const wchar_t* switchText);

// The standard decimal conversion: leading white space, optional sign, digits
// up to the first non-digit; no digits gives 0. Saturates instead of overflowing.
long ParseSwitchNumber(const wchar_t* value);

// Removes trailing spaces, one closing and one opening double quote, then
// trailing spaces again. Leading spaces stay.
void StripQuotes(wchar_t* text);

// The "/log=" value of the command line, read as "/ini=" is, into logFile
// (empty when the switch is absent). Returns false when it is
// absent, empty or was cut; *cut tells the last.
bool ReadLogSwitch(const wchar_t* commandLine, PathText& logFile, bool* cut);

// Copies the command line into a 520-unit buffer and applies every switch to
// the request, each independently, first occurrence only. A cut "/ini=" value
// sets settingsFolderCut. Returns 0 when the "/folder=" value was cut (the
// request is then not to be installed), 1 otherwise.
int ApplySilentSwitches(const wchar_t* commandLine, InstallRequest& request);
