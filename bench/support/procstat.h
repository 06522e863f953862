// What Wine processes cost, read from the Linux side. Under Wine, GetProcessTimes of another
// process is not kept up to date (it stayed constant over seconds of activity), so the benchmarks
// read /proc, which Wine shows as drive Z:.
#ifndef PEERIX_BENCH_PROCSTAT_H
#define PEERIX_BENCH_PROCSTAT_H

#include <windows.h>

#include <string>

namespace procstat {

// The /proc stat file of the newest process of this Wine prefix whose command is name (as Linux
// shows it, e.g. "Peerix.exe"); empty when there is none.
std::string FindStat(const char* name);

// The stat file of this prefix's wineserver, which answers the system calls of every program;
// empty when not found.
std::string WineserverStat();

// The stat file of the X server the programs draw on: the process named by the environment
// variable PEERIX_XSERVER_PID (scripts/bench.sh sets it); empty when not set or not readable.
std::string XServerStat();

// CPU seconds of a process, from the /proc folder of its stat file: the threads' scheduler times
// where the kernel keeps them, else the stat file's user + system ticks; without a readable stat
// file, GetProcessTimes of process (0 without one).
double CpuSeconds(HANDLE process, const std::string& stat);

// The resident memory of the process of a stat file, in kilobytes; 0 when unknown.
long ResidentKb(const std::string& stat);

}  // namespace procstat

#endif
