// The standard exception classes keep their message in the reference-counted
// string of the old ABI, whose members libstdc++ keeps in one object with all
// the others (runtime/string_templates.h says why that costs). These are the
// members the exception classes call; defined here, the link takes them from
// this object and never the library's. Compiled with the old ABI
// (CMakeLists.txt).
#include <string>

static_assert(!_GLIBCXX_USE_CXX11_ABI, "this file is compiled for the old string ABI");

using CowString = std::basic_string<char>;

template CowString::size_type CowString::_Rep::_S_empty_rep_storage[];
template CowString::_Rep* CowString::_Rep::_S_create(size_type, size_type,
                                                     const std::allocator<char>&);
template char* CowString::_Rep::_M_clone(const std::allocator<char>&, size_type);
template void CowString::_Rep::_M_dispose(const std::allocator<char>&);
template void CowString::_Rep::_M_destroy(const std::allocator<char>&);
template char* CowString::_S_construct(size_type, char, const std::allocator<char>&);
template CowString& CowString::assign(const CowString&);
template void CowString::swap(CowString&);
