#pragma once
// One installation from a request.

#include "platform/fixed_text.h"

struct InstallRequest;

// Creates the target folder, unpacks the product, writes the settings file,
// registers the viewer and converts the settings file.
// Returns 1 when the installation ran, 0 when it stopped at a failure
// (empty folder, folder not creatable, unpacking failed), which it reports:
// a message box in wizard mode, the install log in silent mode. A relative
// folder, the root of a drive or share, and an unpacking that left no viewer
// program count as failures too. installedFolder, when given, receives the
// folder as created, ending in "\"; associated, when given,
// 1 when formats were associated (ticked, and confirmed in the wizard).
// Only one installation runs at a time on the machine: when another holds
// the lock, nothing is changed, the refusal is reported (a message box, or
// the log) and the result is kInstallBusy.
constexpr int kInstallBusy = -1;
int RunInstall(const InstallRequest& request, PathText* installedFolder = nullptr,
               int* associated = nullptr);

// Refuses request's target folder as invalid, reported as RunInstall
// reports it: "message: folder" in the install log of a silent run, the
// message in an error box of the wizard.
void ReportInvalidFolder(const InstallRequest& request);
