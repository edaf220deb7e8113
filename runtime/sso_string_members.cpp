// The two members of std::string that libstdc++'s own exception support
// calls (its message buffers), defined here for the reason
// runtime/cow_string_members.cpp gives: a call the program's code inlines
// everywhere would otherwise bring in the library's object with every member.
#include <string>

template char* std::string::_M_create(size_type&, size_type);
template void std::string::_M_assign(const std::string&);
