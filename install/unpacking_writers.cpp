#include "install/unzip_entries.h"

int UnpackingWriters()
{
    return 2;
}
