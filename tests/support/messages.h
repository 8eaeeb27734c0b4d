#pragma once
// The setup program's texts as a user meets them, byte for byte: the message
// boxes' caption, the string table's messages and the notes of the log.

#include <string>

inline constexpr wchar_t kCaption[] = L"Photarium 64-bit Installation";
inline constexpr wchar_t kMessage5[] = L"Ungültiges Zielverzeichnis!";
inline constexpr wchar_t kMessage7[] =
    L"Fehler beim Installieren!\n\nÜberprüfen Sie bitte ob Photarium läuft, das Zielverzeichnis "
    L"voll ist oder keine Schreibrechte vorhanden sind!\n\n(Der Installer sollte im ADMIN-Modus "
    L"gestartet werden, z.B. den Installer mit der rechten Maustaste anklicken)";
inline constexpr wchar_t kMessage9[] =
    L"Sie möchten die aktuellen Verknüpfungen ändern und einen oder mehrere Dateitypen mit "
    L"Photarium verknüpfen!\n\nSind Sie sicher!?";
inline constexpr wchar_t kMessage10[] =
    L"Warnung: Photarium läuft!\nBeenden Sie bitte Photarium bevor Sie mit der Installation fortsetzen!";
inline constexpr wchar_t kMessage11[] =
    L"Kann Zielverzeichnis nicht erstellen!\n\nBitte überprüfen Sie Ihre Schreibrechte und "
    L"System-Policies!\n\nVersuchen Sie das Zielverzeichnis zuerst händisch zu erstellen.";
// the wizard sheet's: the question before leaving early, the cancel button's labels
inline constexpr wchar_t kCancelQuestion[] = L"Installation beenden?";
inline constexpr wchar_t kExitButton[] = L"&Beenden";
inline constexpr wchar_t kFinishButton[] = L"&Fertig stellen";
// a silent run's notes, each ahead of the folder or file it names
inline const std::wstring kTooLong =
    L"Einstellungsordner zu lang, die Einstellungen bleiben im Zielverzeichnis: ";
inline const std::wstring kNotReplaced = L"Datei konnte nicht ersetzt werden und bleibt unverändert: ";
inline const std::wstring kOtherAccount = L"Einstellungsordner im Profil eines anderen Kontos, die Einstellungen bleiben im Zielverzeichnis: ";
inline const std::wstring kLogUnusable = L"Protokolldatei nicht verwendbar, das Protokoll bleibt am üblichen Ort: ";
// the closing lines of a run given "/log=", the refusals of a busy machine and a hidden desktop
inline const std::wstring kInstalledIn = L"Photarium 4.53 installiert in ";
inline const std::wstring kNotInstalled = L"Photarium 4.53 nicht installiert, Exit-Code ";
inline constexpr wchar_t kBusyMessage[] = L"Eine andere Installation läuft bereits, nichts wurde "
    L"geändert.\n\nBitte versuchen Sie es erneut, sobald sie beendet ist.";
inline constexpr wchar_t kNoVisibleDesktop[] = L"Keine sichtbare Oberfläche: Installation nur mit /silent möglich.";
