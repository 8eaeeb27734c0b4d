// Native build of the extraction's entry-name rules: prints "SAFE ICONS" (1
// or 0) for each line of standard input, for comparing the product check.
#include "install/entry_name.h"

#include <cstdio>
#include <cstring>

int main()
{
    char line[kEntryNameBytes + 2];
    while (std::fgets(line, sizeof(line), stdin)) {
        line[std::strcspn(line, "\n")] = '\0';
        std::printf("%d %d\n", IsSafeEntryName(line) ? 1 : 0, NamesIconLibrary(line) ? 1 : 0);
    }
    return 0;
}
