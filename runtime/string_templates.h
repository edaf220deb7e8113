// Read before every C++ source of the Windows builds (CMakeLists.txt).
//
// libstdc++ declares std::string's members extern and keeps them, all of
// them, in one object per string ABI. A PE link keeps every function of an
// object it takes, since the object's unwind table is kept whole and points
// at each of them: one call to an out-of-line member brought all of
// std::string's members and their tables into the exe. -1 is libstdc++'s own
// setting that drops those extern declarations for std::string alone (as
// C++20 does), so the program compiles just the members it uses.
#pragma once

#include <bits/c++config.h>

#undef _GLIBCXX_EXTERN_TEMPLATE
#define _GLIBCXX_EXTERN_TEMPLATE -1
