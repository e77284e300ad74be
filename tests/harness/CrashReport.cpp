// Linked into every Windows test program and into the substitute player (never into the plug-in):
// a crash on any thread ends the process with kCrashExitCode and one line on standard error that
// names the exception and the module it happened in, for example
//   crash: exception 0xC0000005 (access violation writing 0x0) at gen_sorvane.dll+0x1A2B on thread 0x114
//
// Two hooks, because neither Windows nor Wine lets every crash reach the process's end:
// - the unhandled-exception filter sees what no handler on the thread's stack took, on any thread;
// - a vectored handler sees a fault first, before the handlers on the stack. The system swallows
//   faults in the callbacks it makes from inside its own calls: a window procedure that faults on
//   the WM_WINDOWPOSCHANGED of a SetWindowPos (or a message of CreateWindow, ShowWindow...) just
//   returns, under Wine as under 64-bit Windows, and so does a faulting timer callback. A fault in
//   code of our own modules (not the system's) is never expected, so the vectored handler reports
//   it at once; faults inside the system's own modules are left to the system, which probes
//   memory on purpose (IsBadReadPtr and its like), and reach the filter when nothing handles them.
//
// The report is written with WriteFile from a buffer on the stack and the process ends with
// TerminateProcess: after a fault the C runtime's locks and heap may be in any state.
#include <windows.h>

#include <cstddef>
#include <cstdint>

namespace {

// The exit status of a crashed process, under Windows and under Wine (which keeps only the low
// byte of an exit code) alike.
constexpr UINT kCrashExitCode = 70;

// The Windows folder, where the system's modules lie; read once, before any crash.
wchar_t systemFolder[MAX_PATH];
size_t systemFolderLength = 0;

// Exceptions that only a fault in the code raises.
const char* faultName(DWORD code) {
    switch (code) {
    case EXCEPTION_ACCESS_VIOLATION: return "access violation";
    case EXCEPTION_IN_PAGE_ERROR: return "in-page error";
    case EXCEPTION_ILLEGAL_INSTRUCTION: return "illegal instruction";
    case EXCEPTION_PRIV_INSTRUCTION: return "privileged instruction";
    case EXCEPTION_INT_DIVIDE_BY_ZERO: return "integer division by zero";
    case EXCEPTION_INT_OVERFLOW: return "integer overflow";
    case EXCEPTION_STACK_OVERFLOW: return "stack overflow";
    case EXCEPTION_ARRAY_BOUNDS_EXCEEDED: return "array bounds exceeded";
    case EXCEPTION_DATATYPE_MISALIGNMENT: return "misaligned data";
    case 0xC0000374: return "heap corruption";
    case 0xC0000409: return "stack buffer overrun";
    default: return nullptr;
    }
}

const char* exceptionName(DWORD code) {
    if (const char* fault = faultName(code)) return fault;
    switch (code) {
    case EXCEPTION_BREAKPOINT: return "breakpoint";
    case 0x20474343: return "C++ exception";  // 'GCC': a throw that nothing caught
    case 0xE06D7363: return "C++ exception";  // 'msc'
    default: return "unknown exception";
    }
}

// A line built in a buffer on the stack.
struct Line {
    char text[512];
    size_t length = 0;

    void add(const char* s) {
        while (*s && length < sizeof text - 1) text[length++] = *s++;
    }
    void addHex(uintptr_t value, int minDigits) {
        char digits[2 * sizeof value];
        int n = 0;
        do {
            digits[n++] = "0123456789ABCDEF"[value & 0xF];
            value >>= 4;
        } while (value || n < minDigits);
        add("0x");
        while (n && length < sizeof text - 1) text[length++] = digits[--n];
    }
    // A module's file name without its folder, its characters outside ASCII as '?'.
    void addFileName(const wchar_t* path) {
        const wchar_t* name = path;
        for (const wchar_t* p = path; *p; ++p)
            if (*p == L'\\' || *p == L'/') name = p + 1;
        for (; *name && length < sizeof text - 1; ++name)
            text[length++] = *name < 0x80 ? static_cast<char>(*name) : '?';
    }
};

// The module that holds an address: its base and path. 0 where the address lies in none.
int moduleAt(const void* address, uintptr_t& base, wchar_t (&path)[MAX_PATH]) {
    MEMORY_BASIC_INFORMATION region;
    if (!VirtualQuery(address, &region, sizeof region) || region.Type != MEM_IMAGE) return 0;
    base = reinterpret_cast<uintptr_t>(region.AllocationBase);
    DWORD n = GetModuleFileNameW(static_cast<HMODULE>(region.AllocationBase), path, MAX_PATH);
    if (!n || n >= MAX_PATH) return 0;
    return 1;
}

int isSystemModule(const wchar_t* path) {
    auto folded = [](wchar_t c) { return c >= L'a' && c <= L'z' ? static_cast<wchar_t>(c - L'a' + L'A') : c; };
    if (!systemFolderLength) return 0;
    for (size_t i = 0; i < systemFolderLength; ++i)
        if (folded(path[i]) != folded(systemFolder[i])) return 0;
    return path[systemFolderLength] == L'\\';
}

[[noreturn]] void reportAndEnd(const EXCEPTION_RECORD& record) {
    Line line;
    line.add("crash: exception ");
    line.addHex(record.ExceptionCode, 8);
    line.add(" (");
    line.add(exceptionName(record.ExceptionCode));
    if (record.ExceptionCode == EXCEPTION_ACCESS_VIOLATION && record.NumberParameters >= 2) {
        line.add(record.ExceptionInformation[0] == 8 ? " executing "
                 : record.ExceptionInformation[0]    ? " writing "
                                                     : " reading ");
        line.addHex(record.ExceptionInformation[1], 1);
    }
    line.add(") at ");
    uintptr_t base = 0;
    wchar_t path[MAX_PATH];
    const uintptr_t address = reinterpret_cast<uintptr_t>(record.ExceptionAddress);
    if (moduleAt(record.ExceptionAddress, base, path)) {
        line.addFileName(path);
        line.add("+");
        line.addHex(address - base, 1);
    } else {
        line.addHex(address, 1);
        line.add(" (in no module)");
    }
    line.add(" on thread ");
    line.addHex(GetCurrentThreadId(), 1);
    line.add("\r\n");
    DWORD written = 0;
    WriteFile(GetStdHandle(STD_ERROR_HANDLE), line.text, static_cast<DWORD>(line.length), &written, nullptr);
    TerminateProcess(GetCurrentProcess(), kCrashExitCode);
    ExitProcess(kCrashExitCode);  // not reached
}

LONG WINAPI onUnhandledException(EXCEPTION_POINTERS* exception) { reportAndEnd(*exception->ExceptionRecord); }

LONG WINAPI onFirstChance(EXCEPTION_POINTERS* exception) {
    const EXCEPTION_RECORD& record = *exception->ExceptionRecord;
    if (!faultName(record.ExceptionCode)) return EXCEPTION_CONTINUE_SEARCH;
    uintptr_t base = 0;
    wchar_t path[MAX_PATH];
    // A fault outside every module (a call through a wild pointer) is ours as well.
    if (moduleAt(record.ExceptionAddress, base, path) && isSystemModule(path)) return EXCEPTION_CONTINUE_SEARCH;
    reportAndEnd(record);
}

int install() {
    UINT n = GetSystemWindowsDirectoryW(systemFolder, MAX_PATH);
    systemFolderLength = n < MAX_PATH ? n : 0;
    // The Windows folder's root ("C:\") would end in the separator the comparison adds.
    if (systemFolderLength && systemFolder[systemFolderLength - 1] == L'\\') --systemFolderLength;
    SetUnhandledExceptionFilter(onUnhandledException);
    AddVectoredExceptionHandler(1, onFirstChance);
    return 1;
}

// Installed when the program starts, before main.
const int installed = install();

}  // namespace
