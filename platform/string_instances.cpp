// The strings every binary of the disk uses, made here rather than taken
// from the run-time's library: its copies come with their unwind tables,
// which keep every member alive at the link. Made here, without exceptions,
// the members no code reaches are dropped.
#include <string>

template class std::basic_string<char>;
template class std::basic_string<wchar_t>;
