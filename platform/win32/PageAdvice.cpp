// Windows gives large pages only to accounts granted the right to lock
// memory, which a desktop program cannot count on: no advice.
#include "platform/PageAdvice.h"

void adviseHugePages(void*, std::size_t) {}
