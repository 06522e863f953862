#include "procstat.h"

#include <cstdlib>
#include <vector>

namespace procstat {
namespace {

bool ReadWhole(const std::string& path, std::string* out) {
    HANDLE f = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
    if (f == INVALID_HANDLE_VALUE) return false;
    char buffer[4096];
    DWORD got = 0;
    out->clear();
    while (ReadFile(f, buffer, sizeof buffer, &got, nullptr) && got) out->append(buffer, got);
    CloseHandle(f);
    return !out->empty();
}

// The fields of /proc/N/stat after the command name: [0] is field 3 (state).
std::vector<std::string> StatFields(const std::string& stat) {
    std::vector<std::string> fields;
    const size_t close = stat.rfind(')');
    if (close == std::string::npos) return fields;
    size_t i = close + 2;
    while (i < stat.size()) {
        const size_t space = stat.find(' ', i);
        fields.push_back(stat.substr(i, space == std::string::npos ? std::string::npos : space - i));
        if (space == std::string::npos) break;
        i = space + 1;
    }
    return fields;
}

std::string PrefixVariable() {
    char prefix[MAX_PATH] = {};
    if (!GetEnvironmentVariableA("WINEPREFIX", prefix, sizeof prefix)) return "";
    return std::string("WINEPREFIX=") + prefix + '\0';
}

// Calls visit(directory, stat text) for each process of this Wine prefix whose stat names the
// command; stops when visit returns false.
template <typename Visit>
void ForEachProcess(const std::string& command, Visit visit) {
    const std::string wanted = PrefixVariable();
    if (wanted.empty()) return;
    WIN32_FIND_DATAA found;
    HANDLE search = FindFirstFileA("Z:\\proc\\*", &found);
    if (search == INVALID_HANDLE_VALUE) return;
    do {
        if (found.cFileName[0] < '1' || found.cFileName[0] > '9') continue;
        const std::string dir = std::string("Z:\\proc\\") + found.cFileName;
        std::string stat, env;
        if (!ReadWhole(dir + "\\stat", &stat) || stat.find(command) == std::string::npos) continue;
        if (!ReadWhole(dir + "\\environ", &env) || env.find(wanted) == std::string::npos) continue;
        if (!visit(dir, stat)) break;
    } while (FindNextFileA(search, &found));
    FindClose(search);
}

double FiletimeSeconds(const FILETIME& f) {
    return static_cast<double>((static_cast<ULONGLONG>(f.dwHighDateTime) << 32) | f.dwLowDateTime) / 1e7;
}

}  // namespace

std::string FindStat(const char* name) {
    std::string best;
    unsigned long long bestStart = 0;
    ForEachProcess(std::string("(") + name + ")", [&](const std::string& dir, const std::string& stat) {
        const std::vector<std::string> f = StatFields(stat);
        if (f.size() < 20) return true;
        const unsigned long long start = std::strtoull(f[19].c_str(), nullptr, 10);
        if (best.empty() || start > bestStart) best = dir + "\\stat", bestStart = start;
        return true;
    });
    return best;
}

std::string WineserverStat() {
    std::string result;
    ForEachProcess("(wineserver", [&](const std::string& dir, const std::string&) {
        result = dir + "\\stat";
        return false;
    });
    return result;
}

std::string XServerStat() {
    char pid[32] = {};
    if (!GetEnvironmentVariableA("PEERIX_XSERVER_PID", pid, sizeof pid) || !pid[0]) return "";
    const std::string path = std::string("Z:\\proc\\") + pid + "\\stat";
    std::string stat;
    return ReadWhole(path, &stat) ? path : "";
}

double CpuSeconds(HANDLE process, const std::string& stat) {
    // The scheduler's nanoseconds of each thread where the kernel keeps them: the stat file
    // counts in ticks of 10 ms, too coarse for an idle program over a few seconds.
    const std::string dir = stat.size() > 5 ? stat.substr(0, stat.size() - 4) : "";
    double threads = 0;
    bool any = false;
    WIN32_FIND_DATAA found;
    HANDLE search = dir.empty() ? INVALID_HANDLE_VALUE : FindFirstFileA((dir + "task\\*").c_str(), &found);
    if (search != INVALID_HANDLE_VALUE) {
        do {
            std::string text;
            if (found.cFileName[0] < '1' || found.cFileName[0] > '9' ||
                !ReadWhole(dir + "task\\" + found.cFileName + "\\schedstat", &text))
                continue;
            threads += std::strtod(text.c_str(), nullptr) / 1e9;
            any = true;
        } while (FindNextFileA(search, &found));
        FindClose(search);
    }
    if (any) return threads;
    std::string text;
    if (!stat.empty() && ReadWhole(stat, &text)) {
        const std::vector<std::string> f = StatFields(text);
        if (f.size() > 12) return (std::atof(f[11].c_str()) + std::atof(f[12].c_str())) / 100.0;  // USER_HZ
    }
    FILETIME created, exited, kernel, user;
    if (!process || !GetProcessTimes(process, &created, &exited, &kernel, &user)) return 0;
    return FiletimeSeconds(kernel) + FiletimeSeconds(user);
}

long ResidentKb(const std::string& stat) {
    if (stat.size() < 5) return 0;
    std::string status;
    if (!ReadWhole(stat.substr(0, stat.size() - 4) + "status", &status)) return 0;
    const size_t at = status.find("VmRSS:");
    return at == std::string::npos ? 0 : std::atol(status.c_str() + at + 6);
}

}  // namespace procstat
