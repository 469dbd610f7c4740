// The few pieces of the C++ runtime that tessaly.exe brings itself, built without exceptions:
// libstdc++'s own copies throw, and a single throw links in its whole exception machinery (the
// unwinder, the exception classes, the terminate handler's demangler), four fifths of the program.
//
// Nothing in the program catches an exception, so each of these ends it as an uncaught exception
// did: std::terminate called abort(). The C runtime's abort reports an abnormal program
// termination and ends the process with exit code 3. Should a newer libstdc++ call a helper that
// is missing here, the link fails with a multiple definition; should it pull in anything else,
// the size ceiling of tests/check-shipped fails.
#include <cstdlib>
#include <new>
#include <string>

// Allocation failure: the replaceable global operator new, which otherwise throws std::bad_alloc.
void* operator new(std::size_t size) {
    // malloc(0) may return null, which new must not.
    if (void* block = std::malloc(size != 0 ? size : 1)) return block;
    std::abort();
}
void operator delete(void* block) noexcept { std::free(block); }
void operator delete(void* block, std::size_t) noexcept { std::free(block); }

// Where std::string and std::vector throw (a length beyond their maximum, a position out of range).
namespace std {
void __throw_bad_alloc() { abort(); }
void __throw_bad_array_new_length() { abort(); }
void __throw_length_error(const char*) { abort(); }
void __throw_logic_error(const char*) { abort(); }
void __throw_out_of_range_fmt(const char*, ...) { abort(); }
}  // namespace std

// libstdc++ ships std::string's members ready-made, compiled with exceptions, and every program
// would use that copy; made here, they are compiled as the rest of this program is.
template class std::basic_string<char>;
// The same for the UTF-16 text handed to the wide Windows functions.
template class std::basic_string<wchar_t>;
