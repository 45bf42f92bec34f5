// Starts programs under test and measures them from outside, for bench/run.sh. Every figure
// comes from runs that alternate between the programs, so that whatever else the machine does
// meanwhile falls on all of them alike.
//
//   bench_driver startup <runs> <x,y,rrggbb> <name> <command line> [<name> <command line>]...
//   bench_driver apply   <runs> <x,y,rrggbb> <name> <command line> [...]
//   bench_driver memory  <runs> <x,y,rrggbb> <name> <command line> [...]
//   bench_driver hover   <runs> <x,y,rrggbb> <name> <command line> [...]
//   bench_driver scale   <runs> <x,y,rrggbb> <name> <command line> [...]
//
// startup: from CreateProcess to the program's window showing, on the screen, the colour
//          rrggbb at client pixel x,y (its background picture there, painted);
// apply:   from a click on its "Apply" button (once started) to its message box being shown;
// memory:  its private bytes once it has been idle for a second. Wine does not count them for
//          another process (it reports 0): there they are read as Linux counts the process's
//          private memory (RssAnon in /proc/<pid>/status, through drive Z:);
// hover:   the processor time it uses for 30,000 moves of the mouse back and forth between
//          client pixels x,y and x+1,y. The moves are WM_MOUSEMOVE messages posted to its
//          window, each of which it handles exactly once: real pointer moves (SendInput) merge
//          whenever one arrives before the last was taken, and under Wine, where the X server
//          echoes each of them, neither waiting for the program to be idle nor a message sent
//          after each move made them all arrive (a floor that counted them saw 40 to 100 of
//          every 100). What the system does for a real move (hit-testing, the cursor) costs
//          every program alike and is left out, so the ratio is stricter than for real moves;
// scale:   once started, from WM_DPICHANGED telling its window 144 DPI to the screen showing
//          the window painted at that scale: the background picture, stretched as the toolkit
//          stretches it, at client pixel x,y scaled, which lies outside the window's old size.
//          The message comes from a thread of the program itself, made by loading
//          bench_scale_change.dll (beside the driver) into it: see scale_change.cpp.
// Prints one line per program: its name, then the median, the lowest and the highest value,
// and for start-up the mean processor time the program had used by then (0 otherwise). For
// scale, lines named <name>.startup first: the same runs' start-up, measured as for startup.
// A start that fails (CreateProcess refuses, or the process ends before its window shows) is
// made again, at most twice more, each time with a line "started again: <name>, round <n>:
// <why>" printed as it happens.
#include "assets/pictures.h"
#include "bench/scale_change.h"
#include "toolkit/handle.h"
#include "toolkit/picture.h"
#include "toolkit/scale.h"

#include <windows.h>
#include <psapi.h>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cwchar>
#include <optional>
#include <sstream>
#include <string>
#include <vector>

namespace {

constexpr DWORD kTimeoutMs = 30000;
constexpr int kHoverMoves = 30000;
// Moves posted at a time: far fewer than the 10,000 messages Windows lets a queue hold.
constexpr int kHoverBatch = 1000;
// Now and then Wine cannot lay out a new process's memory ("failed to map the shared user
// data"): CreateProcess fails or the process ends at once. Another start does not meet the same
// layout; a program that fails this often does not start at all.
constexpr int kStartAttempts = 3;
// The scale a change of scale goes to: 150 %, a laptop's screen beside an external monitor.
constexpr UINT kChangedDpi = 144;
constexpr wchar_t kScaleChangeDll[] = L"bench_scale_change.dll";

struct Target {
    int x = 0;
    int y = 0;
    COLORREF color = 0;
};

struct Candidate {
    std::wstring name;
    std::wstring commandLine;
    std::vector<double> values;
    std::vector<double> processorMs;  // start-up: the processor time the program used
    std::vector<double> startUpMs;    // change of scale: the start-up of the same run
};

double Now() {
    static const double ticksPerMs = [] {
        LARGE_INTEGER frequency;
        QueryPerformanceFrequency(&frequency);
        return static_cast<double>(frequency.QuadPart) / 1000.0;
    }();
    LARGE_INTEGER counter;
    QueryPerformanceCounter(&counter);
    return static_cast<double>(counter.QuadPart) / ticksPerMs;
}

struct WindowSearch {
    DWORD processId;
    const wchar_t* className;  // null: any class but a message box's
    HWND found;
};

BOOL CALLBACK MatchWindow(HWND window, LPARAM lParam) {
    auto& search = *reinterpret_cast<WindowSearch*>(lParam);
    DWORD owner = 0;
    GetWindowThreadProcessId(window, &owner);
    if (owner != search.processId || !IsWindowVisible(window)) {
        return TRUE;
    }
    wchar_t name[64] = L"";
    GetClassNameW(window, name, 64);
    const bool isBox = std::wcscmp(name, L"#32770") == 0;
    if (search.className != nullptr ? std::wcscmp(name, search.className) == 0 : !isBox) {
        search.found = window;
        return FALSE;
    }
    return TRUE;
}

HWND VisibleWindowOf(DWORD processId, const wchar_t* className) {
    WindowSearch search{processId, className, nullptr};
    EnumWindows(MatchWindow, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

bool ShowsTarget(HWND window, const Target& target) {
    RECT bounds{};
    GetWindowRect(window, &bounds);
    const toolkit::WindowDc screen(nullptr);
    return GetPixel(screen.get(), bounds.left + target.x, bounds.top + target.y) == target.color;
}

// Polls every millisecond or so; a tighter loop would take a core from the program measured.
template <typename Condition>
bool WaitFor(const Condition& condition) {
    const double deadline = Now() + kTimeoutMs;
    while (!condition()) {
        if (Now() > deadline) {
            return false;
        }
        Sleep(1);
    }
    return true;
}

std::string ReadWholeFile(const std::wstring& path) {
    const toolkit::UniqueKernelHandle file(CreateFileW(path.c_str(), GENERIC_READ,
                                                       FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                                       OPEN_EXISTING, 0, nullptr));
    std::string text;
    if (file.get() == INVALID_HANDLE_VALUE) {
        return text;
    }
    char buffer[4096];
    DWORD read = 0;
    while (ReadFile(file.get(), buffer, sizeof buffer, &read, nullptr) && read != 0) {
        text.append(buffer, read);
    }
    return text;
}

// The path of the program a command line starts ("Z:\\...\\bench_floor.exe").
std::string ProgramPath(const std::wstring& commandLine) {
    const std::wstring program = commandLine.substr(0, commandLine.find(L' '));
    return std::string(program.begin(), program.end());
}

// The /proc folder (through drive Z:) of the Linux process that runs the program at path
// `program`; empty if there is none. Wine gives it the Windows command line as its own, so its
// first word is that path: the whole path, since another copy of the program may be running
// meanwhile from another folder (a test suite's), and a file name would find that one too.
std::wstring LinuxProcessFolder(const std::string& program) {
    WIN32_FIND_DATAW entry;
    const HANDLE search = FindFirstFileW(L"Z:\\proc\\*", &entry);
    if (search == INVALID_HANDLE_VALUE) {
        return {};
    }
    std::wstring found;
    do {
        const std::wstring pid = entry.cFileName;
        if (pid.find_first_not_of(L"0123456789") != std::wstring::npos) {
            continue;
        }
        const std::wstring folder = L"Z:\\proc\\" + pid + L"\\";
        const std::string commandLine = ReadWholeFile(folder + L"cmdline");
        // Its words are separated by null characters.
        if (commandLine.substr(0, commandLine.find('\0')) == program) {
            found = folder;
        }
    } while (found.empty() && FindNextFileW(search, &entry));
    FindClose(search);
    return found;
}

// RssAnon of the Linux process running `program`, in KiB; -1 if there is none.
double LinuxPrivateKiB(const std::string& program) {
    const std::wstring folder = LinuxProcessFolder(program);
    const std::string status = folder.empty() ? std::string() : ReadWholeFile(folder + L"status");
    const std::size_t field = status.find("RssAnon:");
    return field == std::string::npos ? -1 : std::atof(status.c_str() + field + 8);
}

// The processor time, user and system, that the Linux process running `program` has used, in
// milliseconds (10 ms steps); -1 if there is none. Other work on the machine hardly changes it,
// unlike the time on the clock. Wine's GetProcessTimes does not give it for another process.
double LinuxProcessorMs(const std::string& program) {
    const std::wstring folder = LinuxProcessFolder(program);
    const std::string stat = folder.empty() ? std::string() : ReadWholeFile(folder + L"stat");
    // Fields after the parenthesised name: state is the 3rd, utime the 14th, stime the 15th.
    const std::size_t nameEnd = stat.rfind(')');
    if (nameEnd == std::string::npos) {
        return -1;
    }
    std::istringstream fields(stat.substr(nameEnd + 1));
    std::string field;
    double ticks = 0;
    for (int number = 3; number <= 15 && fields >> field; ++number) {
        if (number >= 14) {
            ticks += std::atof(field.c_str());
        }
    }
    return ticks * 10.0;  // Linux counts these in 1/100 s on every architecture
}

// The target that shows a window painted at `dpi`: the pixel of the background picture at the
// target's client pixel scaled, as the toolkit makes the picture for that scale.
Target TargetAtScale(const Target& target, UINT dpi) {
    const toolkit::Scale scale(dpi);
    toolkit::Picture picture(assets::kBackground);
    picture.ScaleTo(scale);
    const toolkit::WindowDc screen(nullptr);
    const toolkit::UniqueMemoryDc memory(CreateCompatibleDC(screen.get()));
    const toolkit::UniqueBitmap canvas(
        CreateCompatibleBitmap(screen.get(), picture.Size().cx, picture.Size().cy));
    const toolkit::SelectionGuard select(memory.get(), canvas.get());
    picture.Draw(memory.get(), 0, 0);
    const int x = scale.FromDesignPixels(target.x);
    const int y = scale.FromDesignPixels(target.y);
    return {x, y, GetPixel(memory.get(), x, y)};
}

// The folder the driver was started from, with its closing backslash.
std::wstring DriverFolder() {
    wchar_t path[MAX_PATH] = L"";
    const DWORD length = GetModuleFileNameW(nullptr, path, MAX_PATH);
    const std::wstring driver(path, length);
    return driver.substr(0, driver.find_last_of(L'\\') + 1);
}

// A copy of some bytes in another process's memory, freed with the copy.
class RemoteCopy {
  public:
    RemoteCopy(HANDLE process, const void* bytes, SIZE_T size)
        : process_(process),
          address_(
              VirtualAllocEx(process, nullptr, size, MEM_COMMIT | MEM_RESERVE, PAGE_READWRITE)) {
        if (address_ != nullptr && !WriteProcessMemory(process, address_, bytes, size, nullptr)) {
            VirtualFreeEx(process_, address_, 0, MEM_RELEASE);
            address_ = nullptr;
        }
    }
    RemoteCopy(const RemoteCopy&) = delete;
    RemoteCopy& operator=(const RemoteCopy&) = delete;
    ~RemoteCopy() {
        if (address_ != nullptr) {
            VirtualFreeEx(process_, address_, 0, MEM_RELEASE);
        }
    }

    void* address() const noexcept { return address_; }

  private:
    HANDLE process_;
    void* address_;
};

// The address in another process of a procedure exported by a module both processes have
// loaded: that module's base there plus the procedure's offset in the module here, since a
// module may be loaded at another address in each process. Null if either lacks it.
LPTHREAD_START_ROUTINE RemoteProcedure(HANDLE process, HMODULE module, const char* name) {
    const FARPROC procedure = GetProcAddress(module, name);
    wchar_t moduleName[MAX_PATH] = L"";
    if (procedure == nullptr ||
        GetModuleBaseNameW(GetCurrentProcess(), module, moduleName, MAX_PATH) == 0) {
        return nullptr;
    }
    HMODULE modules[512];
    DWORD bytes = 0;
    if (!EnumProcessModulesEx(process, modules, sizeof modules, &bytes, LIST_MODULES_ALL)) {
        return nullptr;
    }
    const DWORD count = std::min<DWORD>(bytes / sizeof(HMODULE), ARRAYSIZE(modules));
    for (DWORD index = 0; index < count; ++index) {
        wchar_t remoteName[MAX_PATH] = L"";
        if (GetModuleBaseNameW(process, modules[index], remoteName, MAX_PATH) != 0 &&
            _wcsicmp(remoteName, moduleName) == 0) {
            const std::uintptr_t offset = reinterpret_cast<std::uintptr_t>(procedure) -
                                          reinterpret_cast<std::uintptr_t>(module);
            return reinterpret_cast<LPTHREAD_START_ROUTINE>(
                reinterpret_cast<std::uintptr_t>(modules[index]) + offset);
        }
    }
    return nullptr;
}

// Runs a procedure of another process in a thread of its own there and returns the thread's
// exit code; nothing if it could not start or did not end in time.
std::optional<DWORD> RunRemoteThread(HANDLE process, LPTHREAD_START_ROUTINE procedure,
                                     void* parameter) {
    if (procedure == nullptr || parameter == nullptr) {
        return std::nullopt;
    }
    const toolkit::UniqueKernelHandle thread(
        CreateRemoteThread(process, nullptr, 0, procedure, parameter, 0, nullptr));
    DWORD exitCode = 0;
    if (!thread || WaitForSingleObject(thread.get(), kTimeoutMs) != WAIT_OBJECT_0 ||
        !GetExitCodeThread(thread.get(), &exitCode)) {
        return std::nullopt;
    }
    return exitCode;
}

class Run {
  public:
    explicit Run(const std::wstring& commandLine) {
        STARTUPINFOW startup{};
        startup.cb = sizeof startup;
        PROCESS_INFORMATION info{};
        std::wstring line = commandLine;
        started_ = Now();
        if (CreateProcessW(nullptr, line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                           &startup, &info)) {
            process_.reset(info.hProcess);
            CloseHandle(info.hThread);
            id_ = info.dwProcessId;
        } else {
            failedStart_ = L"CreateProcess failed with error " + std::to_wstring(GetLastError());
        }
    }
    Run(const Run&) = delete;
    Run& operator=(const Run&) = delete;
    ~Run() {
        if (process_) {
            TerminateProcess(process_.get(), 0);
            WaitForSingleObject(process_.get(), kTimeoutMs);
        }
    }

    // Milliseconds from process creation to the painted window; negative if it never came.
    double WaitForPaintedWindow(const Target& target) {
        if (!process_) {
            return -1;
        }
        bool ended = false;
        const bool shown = WaitFor([&] {
            window_ = VisibleWindowOf(id_, nullptr);
            if (window_ != nullptr && ShowsTarget(window_, target)) {
                return true;
            }
            ended = WaitForSingleObject(process_.get(), 0) == WAIT_OBJECT_0;
            return ended;
        });
        if (ended) {
            DWORD exitCode = 0;
            GetExitCodeProcess(process_.get(), &exitCode);
            failedStart_ = L"the process ended with exit code " + std::to_wstring(exitCode) +
                           L" before its window showed";
            return -1;
        }
        return shown ? Now() - started_ : -1;
    }

    // Why the program did not start: CreateProcess refused it, or it ended before its window
    // showed. Empty if it started, whether or not its window then showed in time.
    const std::wstring& FailedStart() const noexcept { return failedStart_; }

    // Milliseconds from a click on the Apply button to a message box of the program.
    double TimeApply() const {
        const HWND button = FindWindowExW(window_, nullptr, L"Button", L"Apply");
        if (button == nullptr) {
            return -1;
        }
        const double clicked = Now();
        PostMessageW(button, BM_CLICK, 0, 0);
        const bool boxShown = WaitFor([&] { return VisibleWindowOf(id_, L"#32770") != nullptr; });
        return boxShown ? Now() - clicked : -1;
    }

    // The processor time in milliseconds that the program uses for the mouse moving back and
    // forth between `target` and the pixel right of it.
    double HoverProcessorMs(const std::wstring& commandLine, const Target& target) const {
        const std::string program = ProgramPath(commandLine);
        const double before = LinuxProcessorMs(program);
        for (int batch = 0; batch < kHoverMoves / kHoverBatch; ++batch) {
            for (int move = 0; move < kHoverBatch; ++move) {
                if (!PostMessageW(window_, WM_MOUSEMOVE, 0,
                                  MAKELPARAM(target.x + move % 2, target.y))) {
                    return -1;
                }
            }
            // Posted messages are handled in order: once the window, told after the batch to
            // stop or resume redrawing itself, shows it in its WS_VISIBLE style, it has
            // handled every move of the batch.
            const bool redraw = batch % 2 != 0;
            if (!PostMessageW(window_, WM_SETREDRAW, redraw, 0) || !WaitFor([&] {
                    return ((GetWindowLongW(window_, GWL_STYLE) & WS_VISIBLE) != 0) == redraw;
                })) {
                return -1;
            }
        }
        return LinuxProcessorMs(program) - before;
    }

    // Milliseconds from WM_DPICHANGED telling the window kChangedDpi to the screen showing it
    // painted at that scale, timed inside the program by bench_scale_change.dll's ChangeScale;
    // negative if the DLL could not be loaded there or the window did not show the new scale.
    double TimeScaleChange(const Target& target) const {
        // Whatever the program does once its window is painted comes before the change.
        WaitForInputIdle(process_.get(), kTimeoutMs);
        const std::wstring dll = DriverFolder() + kScaleChangeDll;
        const toolkit::UniqueModule here(LoadLibraryW(dll.c_str()));
        if (!here) {
            return -1;
        }
        // LoadLibraryW, run as a thread of the program, loads the DLL there too.
        const RemoteCopy path(process_.get(), dll.c_str(), (dll.size() + 1) * sizeof(wchar_t));
        const std::optional<DWORD> loaded = RunRemoteThread(
            process_.get(),
            RemoteProcedure(process_.get(), GetModuleHandleW(L"kernel32.dll"), "LoadLibraryW"),
            path.address());
        if (!loaded || *loaded == 0) {
            return -1;
        }
        const Target changed = TargetAtScale(target, kChangedDpi);
        const ScaleChangeRequest request{
            window_, kChangedDpi, {changed.x, changed.y}, changed.color};
        const RemoteCopy remoteRequest(process_.get(), &request, sizeof request);
        const std::optional<DWORD> microseconds = RunRemoteThread(
            process_.get(), RemoteProcedure(process_.get(), here.get(), kChangeScaleExport),
            remoteRequest.address());
        if (!microseconds || *microseconds == kNotRepainted) {
            return -1;
        }
        return static_cast<double>(*microseconds) / 1000.0;
    }

    // Private bytes in KiB once the program has been idle for a second.
    double IdlePrivateKiB(const std::wstring& commandLine) const {
        Sleep(1000);
        PROCESS_MEMORY_COUNTERS_EX counters{};
        counters.cb = sizeof counters;
        if (GetProcessMemoryInfo(process_.get(),
                                 reinterpret_cast<PROCESS_MEMORY_COUNTERS*>(&counters),
                                 sizeof counters) &&
            counters.PrivateUsage != 0) {
            return static_cast<double>(counters.PrivateUsage) / 1024.0;
        }
        return LinuxPrivateKiB(ProgramPath(commandLine));
    }

  private:
    toolkit::UniqueKernelHandle process_;
    DWORD id_ = 0;
    double started_ = 0;
    HWND window_ = nullptr;
    std::wstring failedStart_;
};

// The figure of one run of the candidate, started again if its start fails; negative if it
// could not be measured.
double Measure(const std::wstring& mode, Candidate& candidate, const Target& target, int round) {
    for (int attempt = 1;; ++attempt) {
        Run run(candidate.commandLine);
        const double startUp = run.WaitForPaintedWindow(target);
        if (!run.FailedStart().empty()) {
            if (attempt == kStartAttempts) {
                std::fwprintf(stderr,
                              L"bench_driver: %ls: round %d: %d starts failed, the last: %ls\n",
                              candidate.name.c_str(), round, attempt, run.FailedStart().c_str());
                return -1;
            }
            std::wprintf(L"started again: %ls, round %d: %ls\n", candidate.name.c_str(), round,
                         run.FailedStart().c_str());
            Sleep(100);
            continue;
        }
        if (startUp < 0 || mode == L"startup") {
            candidate.processorMs.push_back(LinuxProcessorMs(ProgramPath(candidate.commandLine)));
            return startUp;
        }
        if (mode == L"apply") {
            return run.TimeApply();
        }
        if (mode == L"hover") {
            return run.HoverProcessorMs(candidate.commandLine, target);
        }
        if (mode == L"scale") {
            candidate.startUpMs.push_back(startUp);
            return run.TimeScaleChange(target);
        }
        return run.IdlePrivateKiB(candidate.commandLine);
    }
}

// The mean, for figures counted in coarse steps, where it sees differences a median cannot.
double Mean(const std::vector<double>& values) {
    double sum = 0;
    for (const double value : values) {
        sum += value;
    }
    return values.empty() ? 0.0 : sum / static_cast<double>(values.size());
}

double Median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    const std::size_t middle = values.size() / 2;
    return values.size() % 2 != 0 ? values[middle] : (values[middle - 1] + values[middle]) / 2;
}

void PrintFigures(const std::wstring& name, const std::vector<double>& values,
                  const std::vector<double>& processorMs) {
    const auto [lowest, highest] = std::minmax_element(values.begin(), values.end());
    std::wprintf(L"%ls %.1f %.1f %.1f %.1f\n", name.c_str(), Median(values), *lowest, *highest,
                 Mean(processorMs));
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
    if (argc < 6 || (argc - 4) % 2 != 0) {
        std::fwprintf(stderr,
                      L"usage: bench_driver startup|apply|memory|hover|scale <runs> <x,y,rrggbb> "
                      L"<name> <command line> [<name> <command line>]...\n");
        return 2;
    }
    const std::wstring mode = argv[1];
    const int runs = std::max(1, _wtoi(argv[2]));
    Target target;
    unsigned int rgb = 0;
    if (swscanf(argv[3], L"%d,%d,%x", &target.x, &target.y, &rgb) != 3) {
        std::fwprintf(stderr, L"bench_driver: no pixel in %ls\n", argv[3]);
        return 2;
    }
    target.color = RGB((rgb >> 16) & 0xFF, (rgb >> 8) & 0xFF, rgb & 0xFF);
    std::vector<Candidate> candidates;
    for (int i = 4; i + 1 < argc; i += 2) {
        candidates.push_back({argv[i], argv[i + 1], {}, {}, {}});
    }

    for (int round = 1; round <= runs; ++round) {
        for (auto& candidate : candidates) {
            const double value = Measure(mode, candidate, target, round);
            if (value < 0) {
                std::fwprintf(stderr, L"bench_driver: %ls: nothing to measure in round %d\n",
                              candidate.name.c_str(), round);
                return 1;
            }
            candidate.values.push_back(value);
            Sleep(100);  // lets the ended process's clean-up pass before the next one starts
        }
    }
    for (const auto& candidate : candidates) {
        if (!candidate.startUpMs.empty()) {
            PrintFigures(candidate.name + L".startup", candidate.startUpMs, {});
        }
    }
    for (const auto& candidate : candidates) {
        PrintFigures(candidate.name, candidate.values, candidate.processorMs);
    }
    return 0;
}
