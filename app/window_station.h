#pragma once
// Whether anybody can see a window this process shows.

// False when the process's window station is not the interactive one
// (WSF_VISIBLE off): a service's, or a deployment agent's in session 0. A
// window station that cannot be asked counts as visible.
bool IsWindowStationVisible();
