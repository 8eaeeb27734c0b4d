#pragma once
// Names of our own beside the files we replace (the fresh files, the
// temporary archive) that another program cannot take ahead of us.

// 64 bits for a name of ours that nobody can guess ahead.
unsigned long long FreshNameBits();
