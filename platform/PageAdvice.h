// Advice to the host's virtual memory about the large arrays the model
// loader fills in one go.
#pragma once

#include <cstddef>

// Asks for huge pages under the whole 2 MiB pages of [first, first + bytes)
// before they are first touched: an array of many megabytes filled at once
// then takes hundreds of times fewer page faults, which otherwise cost more
// than filling it. Nothing where the host offers no such pages to a user
// program (Windows gives large pages only to privileged accounts).
void adviseHugePages(void* first, std::size_t bytes);
