// A stand-in help file written for one test at a given last-write time. A file already at that
// place (the real Peerix.hlp beside the program) is moved aside first and put back afterwards,
// whatever happens in between.
#ifndef PEERIX_TEST_HELP_FILE_H
#define PEERIX_TEST_HELP_FILE_H

#include <windows.h>

#include <string>

class ScopedHelpFile {
public:
    ScopedHelpFile(const std::string& path, ULONGLONG writeTime);
    // Only moves a file at that place aside: no help file there for the test.
    explicit ScopedHelpFile(const std::string& path);
    ~ScopedHelpFile();
    ScopedHelpFile(const ScopedHelpFile&) = delete;
    ScopedHelpFile& operator=(const ScopedHelpFile&) = delete;
    // Rewrites the stand-in with another last-write time.
    bool Touch(ULONGLONG writeTime);

private:
    std::string path;
    bool keptAside;
};

#endif
