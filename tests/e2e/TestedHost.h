// The host this executable's cases run the program on: the same cases are
// built once for the Linux program and once for the Windows program.
#pragma once

#include "harness/ProgramSession.h"

#ifdef BRINDLEMOOR_TESTED_ON_WINDOWS
constexpr ProgramHost testedHost = ProgramHost::Windows;
#else
constexpr ProgramHost testedHost = ProgramHost::Linux;
#endif
