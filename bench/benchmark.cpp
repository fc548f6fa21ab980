// Measures Verondel under Wine against the least a Win32 program can do,
// in the same run, and prints each figure beside its reference and goal.
// A miss is printed, never failed: this is a benchmark, not a test.
//   benchmark.exe [startup|folders|memory]   one figure only, for a quick look
// VERONDEL_OTHER_EXE (a Linux path) names a second exe, say the build of the
// commit before a change: it is measured the same way, interleaved with the
// first so that both see the same machine, and the two are compared.
#include <windows.h>
#include <psapi.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <string>
#include <utility>
#include <vector>

#include "driver.h"
#include "folder_scan.h"

namespace {

using Clock = std::chrono::steady_clock;

// Start-up runs; rounds of listings, each round a fresh instance of every
// exe listing the 100,000 files and opening the 20,000 subfolders once.
constexpr int kStartUps = 21, kListingRounds = 7;

constexpr double kStartUpGoal = 1.15, kFilesGoal = 1.15, kFoldersGoal = 1.15, kMemoryGoal = 1.25;

double Median(std::vector<double> values) {
    if (values.empty()) return 0;
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

double MillisecondsSince(Clock::time_point start) {
    return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
}

size_t WorkingSet(HANDLE process) {
    PROCESS_MEMORY_COUNTERS counters{};
    counters.cb = sizeof counters;
    GetProcessMemoryInfo(process, &counters, sizeof counters);
    return counters.WorkingSetSize;
}

// Polled every millisecond, as start-up is: the figures are meant to
// resolve a few ms. The program answers once it has handled the input.
template <class Condition>
bool WaitClosely(Condition done, double timeoutMs) {
    for (const auto start = Clock::now(); !done();) {
        if (MillisecondsSince(start) > timeoutMs) return false;
        Sleep(1);
    }
    return true;
}

struct Started {
    PROCESS_INFORMATION process{};
    ~Started() {
        TerminateProcess(process.hProcess, 0);
        WaitForSingleObject(process.hProcess, 5000);
        CloseHandle(process.hProcess);
        CloseHandle(process.hThread);
    }
};

// Starts exe (on E:\) and returns when its window of windowClass is visible
// with both lists filled; the time is in ms.
double TimeStart(const std::wstring& exe, const std::wstring& arguments, const wchar_t* windowClass, Started& started) {
    std::wstring commandLine = L"\"" + exe + L"\" " + arguments;
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    const auto start = Clock::now();
    CreateProcessW(exe.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, L"E:\\", &startup,
                   &started.process);
    WaitClosely([&] {
        HWND window = FindWindowW(windowClass, nullptr);
        if (!window || !IsWindowVisible(window)) return false;
        HWND first = GetDlgItem(window, 101), second = GetDlgItem(window, windowClass[0] == L'B' ? 102 : 103);
        return RowCount(first) > 0 && RowCount(second) > 0;
    }, 20000);
    return MillisecondsSince(start);
}

// The least work that can list a folder: enumerate, then sort in memory.
double TimeBareListing(const std::wstring& folder, bool folders) {
    const auto start = Clock::now();
    std::vector<std::wstring> names;
    WIN32_FIND_DATAW entry;
    HANDLE find = FindFirstFileW((folder + L"\\*").c_str(), &entry);
    do {
        if (((entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0) == folders && entry.cFileName[0] != L'.')
            names.emplace_back(entry.cFileName);
    } while (FindNextFileW(find, &entry));
    FindClose(find);
    std::sort(names.begin(), names.end());
    return MillisecondsSince(start);
}

// Processor time the process has used so far, user and kernel, in ms.
double ProcessorMs(HANDLE process) {
    FILETIME created, exited, kernel, user;
    GetProcessTimes(process, &created, &exited, &kernel, &user);
    const auto ms = [](const FILETIME& time) {
        return (static_cast<ULONGLONG>(time.dwHighDateTime) << 32 | time.dwLowDateTime) / 10000.0;
    };
    return ms(kernel) + ms(user);
}

// What copying into a big listed folder costs the program.
struct CopyFigures {
    double answerMs = 0;     // 95th percentile of the window's answers
    double processorMs = 0;  // the program's processor time, the copy and a second after
    bool listedInOrder = false;
};

const wchar_t kCopies[] = L"'Lessons/files/人教版三年级上册数学第六单元 新课件 '";

// Copies 2,000 files into the listed folder of 100,000, one every 5 ms or
// so, from the Linux side as a file manager would (through Wine, creating a
// file in a folder of 100,000 costs some 50 ms of its own), asking the
// window every 20 ms whether it answers. A second after the copy the list
// must hold exactly what a fresh read of the folder gives. The copies are
// removed after, so that the next exe measured finds the drive as it was.
CopyFigures CopyIntoAListedFolder(Verondel& program) {
    WriteBytes(L"E:\\copy source.pptx", std::string(4096, 'x'));
    CopyFigures figures;
    const double processorBefore = ProcessorMs(program.Process());
    std::vector<double> answers;
    const bool copied = ChangeOutsideWine(
        std::wstring(L"for i in $(seq 1 2000); do cp 'copy source.pptx' ") + kCopies + L"$i'课时.pptx'; sleep 0.005; done",
        [&] {
            const auto asked = Clock::now();
            DWORD_PTR answer = 0;
            SendMessageTimeoutW(program.Window(), WM_NULL, 0, 0, SMTO_NORMAL, 10000, &answer);
            answers.push_back(MillisecondsSince(asked));
        });
    Sleep(1000);
    figures.processorMs = ProcessorMs(program.Process()) - processorBefore;
    std::sort(answers.begin(), answers.end());
    figures.answerMs = answers.empty() ? 0 : answers[answers.size() * 95 / 100];

    HWND window = CreateWindowW(L"STATIC", L"", WS_POPUP, 0, 0, 1, 1, nullptr, nullptr, nullptr, nullptr);
    Win32FolderWatch watch(window);
    FolderScanner scanner(watch);
    std::vector<Listed> scanned;
    scanner.Scan(L"E:\\Lessons\\files", EntryKind::Files, scanned);
    std::vector<std::wstring> onDisk;
    for (const Listed& file : scanned) onDisk.push_back(file.name);
    figures.listedInOrder = copied && Entries(program.File1()) == onDisk;
    DestroyWindow(window);
    ChangeOutsideWine(std::wstring(L"rm -f ") + kCopies + L"*'课时.pptx'", [] {});
    return figures;
}

// One exe measured, and what it was measured against in the same run.
struct Program {
    Program(std::wstring exe, std::wstring startsFrom) : source(std::move(exe)), onDrive(std::move(startsFrom)) {}
    std::wstring source;   // the exe, as a Windows path
    std::wstring onDrive;  // where it starts from on E:
    std::vector<double> starts, files, bareFiles, folders, bareFolders;
    size_t memory = 0, emptyMemory = 0;
    double idleProcessorMs = 0, listingProcessorMs = 0;
    CopyFigures copy;
    double sizeKb = 0;
};

// What a run measures: everything, or one figure for a quick look.
struct Plan {
    bool startUp = true, files = true, folders = true, memory = true, others = true;
};

// A fresh instance of program lists the 100,000 files and opens the 20,000
// subfolders, each followed by the bare listing it is measured against. The
// first instance of a program also measures its memory and its idle processor.
void MeasureListings(Program& program, const Plan& plan, bool first) {
    Verondel instance(L"E:\\", program.source);
    HWND dir1 = instance.Dir1(), file1 = instance.File1();
    Sleep(500);
    if (first) program.emptyMemory = WorkingSet(instance.Process());
    const size_t rows = Entries(dir1).size();  // E:\, Lessons, files, folders
    if (plan.files || (first && plan.memory)) {
        const POINT files = RowCentre(dir1, 2);
        PointAt(dir1, files.x, files.y);
        const auto start = Clock::now();
        PressLeftButton();
        WaitClosely([&] { return RowCount(file1) == 100000; }, 60000);
        program.files.push_back(MillisecondsSince(start));
        if (first && plan.memory) {
            Sleep(500);
            program.memory = WorkingSet(instance.Process());
        }
        if (first && plan.others) {
            // Idle, with both lists' folders watched: the 100,000 files and E:\Lessons.
            const double before = ProcessorMs(instance.Process());
            program.listingProcessorMs = before;
            Sleep(5000);
            program.idleProcessorMs = ProcessorMs(instance.Process()) - before;
        }
        program.bareFiles.push_back(TimeBareListing(L"E:\\Lessons\\files", false));
        ClickRow(dir1, 1);  // back to a small folder
        WaitUntil([&] { return RowCount(file1) == 2; }, 60000);
    }
    if (plan.folders) {
        const POINT folders = RowCentre(dir1, 3);
        PointAt(dir1, folders.x, folders.y);
        const auto start = Clock::now();
        PressLeftButton(/*doubleClick=*/true);
        WaitClosely([&] { return RowCount(dir1) == 20000 + 3; }, 60000);
        program.folders.push_back(MillisecondsSince(start));
        program.bareFolders.push_back(TimeBareListing(L"E:\\Lessons\\folders", true));
        ClickRow(dir1, 1, /*doubleClick=*/true);  // back up to Lessons
        WaitUntil([&] { return RowCount(dir1) == static_cast<int>(rows); }, 60000);
    }
}

// The copy into the listed folder of 100,000, in an instance of its own.
void MeasureCopy(Program& program) {
    Verondel instance(L"E:\\", program.source);
    ClickRow(instance.Dir1(), 2);
    WaitUntil([&] { return RowCount(instance.File1()) == 100000; }, 60000);
    program.copy = CopyIntoAListedFolder(instance);
}

void PrintHeading(const char* whose) {
    std::printf("\n%-34s %13s %13s %7s  %-8s  %s\n", whose, "program", "reference", "ratio", "goal", "runs (ms)");
}

// A figure beside its reference and goal; runs: what each run gave, for the noise.
void PrintRow(const char* figure, double ours, double reference, const char* unit, double goal,
              const std::vector<double>& runs = {}) {
    const double ratio = ours / reference;
    std::printf("%-34s %10.1f %s %10.1f %s %7.2f  <= %.2f  %-6s", figure, ours, unit, reference, unit, ratio, goal,
                ratio <= goal ? "met" : "MISSED");
    if (!runs.empty()) std::printf("  %.0f-%.0f", *std::min_element(runs.begin(), runs.end()),
                                   *std::max_element(runs.begin(), runs.end()));
    std::printf("\n");
}

void PrintLimit(const char* figure, double value, const char* unit, const char* goal, bool met) {
    std::printf("%-34s %10.1f %s %30s  %-8s  %s\n", figure, value, unit, "", goal, met ? "met" : "MISSED");
}

constexpr double kMb = 1024.0 * 1024.0;

void PrintFigures(const char* whose, const Program& program, const Plan& plan, double referenceStart,
                  size_t referenceMemory, size_t referenceEmptyMemory) {
    PrintHeading(whose);
    if (plan.startUp)
        PrintRow("start-up to both lists (median)", Median(program.starts), referenceStart, "ms", kStartUpGoal,
                 program.starts);
    if (plan.files)
        PrintRow("100,000 files listed (median)", Median(program.files), Median(program.bareFiles), "ms", kFilesGoal,
                 program.files);
    if (plan.folders)
        PrintRow("20,000 subfolders opened (median)", Median(program.folders), Median(program.bareFolders), "ms",
                 kFoldersGoal, program.folders);
    if (plan.memory) {
        PrintRow("memory for 100,000 names", (program.memory - program.emptyMemory) / kMb,
                 (referenceMemory - referenceEmptyMemory) / kMb, "MB", kMemoryGoal);
        // The whole process, as the user's task manager shows it.
        PrintRow("working set, 100,000 files listed", program.memory / kMb, referenceMemory / kMb, "MB", kMemoryGoal);
    }
    if (plan.others) {
        PrintLimit("processor, 5 s idle watching them", program.idleProcessorMs, "ms", "<   50", program.idleProcessorMs < 50);
        PrintLimit("answers while 2,000 files come (p95)", program.copy.answerMs, "ms", "<=  100",
                   program.copy.answerMs <= 100);
        PrintLimit("processor for those 2,000 files", program.copy.processorMs, "ms", "< 2000",
                   program.copy.processorMs < 2000);
        std::printf("%-34s %13s %30s  %-8s  %s\n", "listed a second later, in order",
                    program.copy.listedInOrder ? "yes" : "no", "", "", program.copy.listedInOrder ? "met" : "MISSED");
        PrintLimit("Verondel.exe size", program.sizeKb, "KB", "<  400", program.sizeKb < 400);
    }
    if (plan.memory)
        std::printf("(working sets: %.1f MB listing 100,000 files, %.1f MB before; reference %.1f MB, %.1f MB)\n",
                    program.memory / kMb, program.emptyMemory / kMb, referenceMemory / kMb, referenceEmptyMemory / kMb);
    if (plan.others)
        std::printf("(processor: %.1f ms used by then, started and listing once)\n", program.listingProcessorMs);
}

// The two exes side by side: each figure's ratio to its reference, and the difference.
void PrintComparison(const Program& ours, const Program& other, const Plan& plan, double referenceStart) {
    std::printf("\n%-34s %13s %13s %9s %9s %6s\n", "this exe against the other", "this", "other", "this", "other",
                "diff");
    const auto row = [](const char* figure, double a, double b, double referenceA, double referenceB) {
        std::printf("%-34s %10.1f ms %10.1f ms %9.2f %9.2f %+6.2f\n", figure, a, b, a / referenceA, b / referenceB,
                    a / referenceA - b / referenceB);
    };
    if (plan.startUp) row("start-up to both lists (median)", Median(ours.starts), Median(other.starts), referenceStart,
                          referenceStart);
    if (plan.files) row("100,000 files listed (median)", Median(ours.files), Median(other.files),
                           Median(ours.bareFiles), Median(other.bareFiles));
    if (plan.folders) row("20,000 subfolders opened (median)", Median(ours.folders), Median(other.folders),
                                   Median(ours.bareFolders), Median(other.bareFolders));
    if (plan.memory)
        std::printf("%-34s %10.1f MB %10.1f MB\n", "memory for 100,000 names", (ours.memory - ours.emptyMemory) / kMb,
                    (other.memory - other.emptyMemory) / kMb);
}

}  // namespace

int main(int argc, char** argv) {
    const std::string only = argc > 1 ? argv[1] : "";
    if (!only.empty() && only != "startup" && only != "folders" && only != "memory") {
        std::printf("usage: benchmark.exe [startup|folders|memory]\n");
        return 2;
    }
    Plan plan;
    if (!only.empty()) plan = {only == "startup", false, only == "folders", only == "memory", false};

    // bench/make_drive.py has laid out drive E: before Wine started.
    // A window of our own keeps Wine's desktop process alive between runs,
    // so that no run pays for starting it again.
    CreateWindowW(L"STATIC", L"", WS_POPUP, 0, 0, 1, 1, nullptr, nullptr, nullptr, nullptr);
    std::vector<Program> programs;
    programs.emplace_back(WindowsPathFromEnvironment("VERONDEL_EXE"), L"E:\\Verondel.exe");
    if (const char* other = std::getenv("VERONDEL_OTHER_EXE"); other && *other)
        programs.emplace_back(WindowsPathFromEnvironment("VERONDEL_OTHER_EXE"), L"E:\\Verondel (other).exe");
    for (Program& program : programs) {
        CopyFileW(program.source.c_str(), program.onDrive.c_str(), FALSE);
        WIN32_FILE_ATTRIBUTE_DATA exe{};
        GetFileAttributesExW(program.onDrive.c_str(), GetFileExInfoStandard, &exe);
        program.sizeKb = exe.nFileSizeLow / 1024.0;
    }
    CopyFileW(WindowsPathFromEnvironment("VERONDEL_BASELINE").c_str(), L"E:\\baseline_window.exe", FALSE);
    const size_t count = programs.size();

    // Start-up, interleaved so that all see the same machine; the exes take turns going first.
    std::vector<double> referenceStarts;
    for (int run = 0; plan.startUp && run < kStartUps; ++run) {
        for (size_t turn = 0; turn < count; ++turn) {
            Program& program = programs[(run + turn) % count];
            Started s;
            program.starts.push_back(TimeStart(program.onDrive, L"", L"VerondelForm1", s));
        }
        Started s;
        referenceStarts.push_back(TimeStart(L"E:\\baseline_window.exe", L"", L"BaselineWindow", s));
    }

    // A folder click listing 100,000 files, and a double-click opening 20,000
    // subfolders, in rounds that take turns as start-up does.
    const int rounds = plan.files || plan.folders ? kListingRounds : plan.memory ? 1 : 0;
    for (int round = 0; round < rounds; ++round)
        for (size_t turn = 0; turn < count; ++turn) MeasureListings(programs[(round + turn) % count], plan, round == 0);
    if (plan.others)
        for (Program& program : programs) MeasureCopy(program);

    // The memory reference: the same 100,000 names in one standard list box.
    size_t referenceMemory = 0, referenceEmptyMemory = 0;
    if (plan.memory) {
        {
            Started s;
            TimeStart(L"E:\\baseline_window.exe", L"E:\\Lessons\\files", L"BaselineWindow", s);
            Sleep(500);
            referenceMemory = WorkingSet(s.process.hProcess);
        }
        Started s;
        TimeStart(L"E:\\baseline_window.exe", L"E:\\Lessons", L"BaselineWindow", s);
        Sleep(500);
        referenceEmptyMemory = WorkingSet(s.process.hProcess);
    }

    const double referenceStart = Median(referenceStarts);
    PrintFigures("Verondel", programs[0], plan, referenceStart, referenceMemory, referenceEmptyMemory);
    if (count > 1) {
        PrintFigures("the other exe", programs[1], plan, referenceStart, referenceMemory, referenceEmptyMemory);
        PrintComparison(programs[0], programs[1], plan, referenceStart);
    }
    return 0;
}
