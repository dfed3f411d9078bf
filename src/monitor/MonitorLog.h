#pragma once
// The monitor's live log: every line written to a text file as it comes, CR LF after each.
// Lines are collected and written out at each Flush, so a full disk or a vanished drive is
// noticed within one batch.

#include <cstdio>
#include <memory>
#include <string>
#include <string_view>

class TMonitorLog {
public:
    // Starts a new file (an existing one is replaced); false with the system's reason.
    bool Open(const std::string& fileName, std::string& error);
    bool IsOpen() const { return File != nullptr; }
    // The file last asked for, open or not.
    const std::string& FileName() const { return Name; }
    // Buffers one line.
    void Write(std::string_view line);
    // Writes the buffered lines to the file; false with the system's reason (the log stays open).
    bool Flush(std::string& error);
    // Writes what is buffered and closes; false with the reason when that failed.
    bool Close(std::string& error);

private:
    struct TCloser {
        void operator()(std::FILE* f) const { std::fclose(f); }
    };
    std::unique_ptr<std::FILE, TCloser> File;
    std::string Name;
    std::string Pending;
};
