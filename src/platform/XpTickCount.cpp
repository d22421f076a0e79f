// GetTickCount64 for Windows XP, which lacks it. The toolchain's static winpthreads (mingw-w64 10)
// imports it from kernel32 for its timed waits, so the executable would not even start on XP.
// Defining the import's own pointer here, in an object of the executable, satisfies that reference
// before the linker reaches kernel32's import library: the executable no longer imports it.
#include <windows.h>

namespace {

ULONGLONG WINAPI TickCount64() {
    using Function = ULONGLONG(WINAPI*)();
    // Vista and later: the system's own.
    if (auto real = reinterpret_cast<Function>(
            reinterpret_cast<void*>(GetProcAddress(GetModuleHandleW(L"kernel32.dll"), "GetTickCount64"))))
        return real();
    // XP: the 32-bit count, carried across its wrap every 49.7 days (Morvane runs one thread).
    static DWORD last = 0, wraps = 0;
    const DWORD now = GetTickCount();
    if (now < last) ++wraps;
    last = now;
    return (static_cast<ULONGLONG>(wraps) << 32) | now;
}

}  // namespace

#if defined(_WIN64)
#define MORVANE_IMPORT_NAME "__imp_GetTickCount64"
#else
#define MORVANE_IMPORT_NAME "__imp__GetTickCount64@0"
#endif
extern "C" {
extern ULONGLONG(WINAPI* const morvaneGetTickCount64)() __asm__(MORVANE_IMPORT_NAME);
__attribute__((used)) ULONGLONG(WINAPI* const morvaneGetTickCount64)() = TickCount64;
}
